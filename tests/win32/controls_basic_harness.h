#pragma once
// Test support for the skinned controls: a top-level parent that records what its
// children send it, with the shared pixel read-back and mouse messages.
#include <windows.h>

#include <utility>
#include <vector>

#include "framework/Wnd.h"
#include "tests/win32/support/Capture.h"
#include "tests/win32/support/DibCanvas.h"
#include "tests/win32/support/Mouse.h"
#include "tests/win32/support/SkinPixels.h"

// A visible top-level window at the screen's origin that records WM_USER from its children.
class CTestParent : public CWnd {
public:
    CTestParent();
    std::vector<std::pair<WPARAM, LPARAM>> notifications;
    HWND FirstChild() const { return ::GetWindow(m_hWnd, GW_CHILD); }

protected:
    LRESULT OnUser(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
