#pragma once
// Attaches a CWnd to its window the moment the window is created (HCBT_CREATEWND),
// before the window's first message. This is what lets a dialog's message map see
// WM_CREATE: the dialog manager never passes it to a dialog procedure.
#include <windows.h>

class CWnd;

class CCreationHook {
public:
    // Hooks window creation on this thread until the first window of className
    // is created (or until destruction).
    CCreationHook(CWnd* wnd, const char* className);
    ~CCreationHook();
    CCreationHook(const CCreationHook&) = delete;
    CCreationHook& operator=(const CCreationHook&) = delete;

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
    void Unhook();

    CWnd* wnd_;
    const char* className_;
    HHOOK hook_;
    CCreationHook* outer_;  // the creation this one is nested in, if any
};
