#pragma once
// Support for driving controls with the mouse: a parent that also records posted
// commands, and whether a window repaints.
#include <windows.h>

#include <utility>
#include <vector>

#include "tests/win32/controls_basic_harness.h"
#include "tests/win32/support/MessagePump.h"

// A test parent that records WM_COMMAND besides WM_USER.
class CCommandParent : public CTestParent {
public:
    std::vector<std::pair<WPARAM, LPARAM>> commands;

protected:
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// Whether the window still shows what was drawn over it: a window that is not
// repainted keeps the marker.
void PaintMarker(HWND hwnd, Colour colour);
bool ShowsOnly(HWND hwnd, Colour colour);
