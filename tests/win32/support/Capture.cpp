#include "tests/win32/support/Capture.h"

#include "tests/win32/support/DibCanvas.h"

Pixels CaptureClient(HWND hwnd) {
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT client{};
    ::GetClientRect(hwnd, &client);
    CDibCanvas canvas(client.right, client.bottom, 0);
    HDC window = ::GetDC(hwnd);
    ::BitBlt(canvas.Hdc(), 0, 0, client.right, client.bottom, window, 0, 0, SRCCOPY);
    ::ReleaseDC(hwnd, window);
    return canvas.Read();
}

void Repaint(HWND hwnd) { ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }
