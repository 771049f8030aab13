#include "tests/win32/support/Mouse.h"

LRESULT Press(HWND control, int x, int y) {
    return ::SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
}

LRESULT Release(HWND control, int x, int y) { return ::SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }

LRESULT DoubleClick(HWND control, int x, int y) {
    return ::SendMessageA(control, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
}

LRESULT Move(HWND control, int x, int y) {
    return ::SendMessageA(control, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
}

void Click(HWND control, int x, int y) {
    Press(control, x, y);
    Release(control, x, y);
}
