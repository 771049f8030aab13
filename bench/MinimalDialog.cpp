// The smallest dialog program, to time a start under Wine beside the panel's: one
// empty dialog that sets the event kMinimalDialogPainted once its first paint is
// done, and ends on WM_CLOSE.
#include <windows.h>

#include "bench/MinimalDialog.h"

namespace {

HANDLE painted = nullptr;

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: return TRUE;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(hwnd, &ps);
            ::FillRect(dc, &ps.rcPaint, ::GetSysColorBrush(COLOR_BTNFACE));
            ::EndPaint(hwnd, &ps);
            if (painted != nullptr) ::SetEvent(painted);
            return TRUE;
        }
        case WM_CLOSE: ::EndDialog(hwnd, IDCANCEL); return TRUE;
        default: return FALSE;
    }
}

// A template with no controls: header, then no menu, the default class and a title.
struct Template {
    DLGTEMPLATE header;
    WORD menu;
    WORD windowClass;
    WCHAR title[sizeof kMinimalDialogTitle];
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    painted = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, kMinimalDialogPainted);
    alignas(DWORD) Template dialog = {};
    dialog.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME;
    dialog.header.cx = 200;
    dialog.header.cy = 100;
    for (int i = 0; kMinimalDialogTitle[i] != 0; ++i) dialog.title[i] = static_cast<WCHAR>(kMinimalDialogTitle[i]);
    ::DialogBoxIndirectParamA(instance, &dialog.header, nullptr, DialogProc, 0);
    if (painted != nullptr) ::CloseHandle(painted);
    return 0;
}
