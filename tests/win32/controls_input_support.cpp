#include "tests/win32/controls_input_support.h"

// The display is shared with other test programs, so the real pointer may move
// over a control holding the capture. Its input is dropped: the tests drive the
// mouse with sent messages only.
void PumpMessages() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

BEGIN_MESSAGE_MAP(CCommandParent, CTestParent)
    ON_MESSAGE(WM_COMMAND, CCommandParent::OnCommand)
END_MESSAGE_MAP()

LRESULT CCommandParent::OnCommand(WPARAM wParam, LPARAM lParam) {
    commands.emplace_back(wParam, lParam);
    return 0;
}

LRESULT Move(const CWnd& control, int x, int y) {
    return control.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
}

void PaintMarker(HWND hwnd, Colour colour) {
    ::UpdateWindow(hwnd);
    RECT client{};
    ::GetClientRect(hwnd, &client);
    HDC dc = ::GetDC(hwnd);
    HBRUSH brush = ::CreateSolidBrush(RGB((colour >> 16) & 0xff, (colour >> 8) & 0xff, colour & 0xff));
    ::FillRect(dc, &client, brush);
    ::DeleteObject(brush);
    ::ReleaseDC(hwnd, dc);
}

bool ShowsOnly(HWND hwnd, Colour colour) {
    const Pixels shown = CaptureClient(hwnd);
    for (Colour c : shown.colours) {
        if (c != colour) return false;
    }
    return !shown.colours.empty();
}
