#pragma once
// Modal runs of dialogs with the test's steps inside the dialog's own message loop.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "framework/Dialog.h"

// Runs dialog modally; body runs inside its message loop once the window is shown
// and painted (the test fails when it never is). Afterwards the dialog is cancelled
// unless body ended it. Returns the modal result.
INT_PTR RunModal(CDialog& dialog, const std::function<void(HWND hwnd)>& body);

// The same, but after body the dialog is left to its own loop until something ends
// it (input that body queued, say); one that is still open after a generous
// deadline is ended with kEndedByDeadline.
INT_PTR RunModalLeftToItself(CDialog& dialog, const std::function<void(HWND hwnd)>& body);
constexpr INT_PTR kEndedByDeadline = -2;

// Runs open(), which opens a modal window titled title (a click on the button that
// opens it, say); body runs inside that window's message loop once it is shown and
// painted, and the window is cancelled afterwards. The test fails when no such
// window shows.
void RunInWindowOpenedBy(const char* title, const std::function<void()>& open,
                         const std::function<void(HWND hwnd)>& body);

// The framework object of the dialog's control id (the test fails when there is none).
template <typename T>
T& Control(HWND dialog, int id) {
    T* control = static_cast<T*>(CWnd::FromHandle(::GetDlgItem(dialog, id)));
    EXPECT_NE(control, nullptr) << "control " << id;
    return *control;
}
