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

Pixels CaptureScreen(const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    CDibCanvas canvas(width, height, 0);
    HDC screen = ::GetDC(nullptr);
    ::BitBlt(canvas.Hdc(), 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    ::ReleaseDC(nullptr, screen);
    return canvas.Read();
}

RECT ClientOnScreen(HWND hwnd) {
    RECT client{};
    ::GetClientRect(hwnd, &client);
    ::MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

void Repaint(HWND hwnd) { ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }
