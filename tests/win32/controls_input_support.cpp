#include "tests/win32/controls_input_support.h"

BEGIN_MESSAGE_MAP(CCommandParent, CTestParent)
    ON_MESSAGE(WM_COMMAND, CCommandParent::OnCommand)
END_MESSAGE_MAP()

LRESULT CCommandParent::OnCommand(WPARAM wParam, LPARAM lParam) {
    commands.emplace_back(wParam, lParam);
    return 0;
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
