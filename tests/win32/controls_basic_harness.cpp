#include "tests/win32/controls_basic_harness.h"

#include <gtest/gtest.h>

#include "controls/BitmapCache.h"

Pixels Pixels::Crop(int w, int h) const {
    Pixels part;
    part.width = w;
    part.height = h;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) part.colours.push_back(At(x, y));
    }
    return part;
}

bool operator==(const Pixels& a, const Pixels& b) {
    return a.width == b.width && a.height == b.height && a.colours == b.colours;
}

namespace {

BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

Pixels FromBits(const std::uint32_t* bits, int width, int height) {
    Pixels pixels;
    pixels.width = width;
    pixels.height = height;
    pixels.colours.reserve(static_cast<size_t>(width) * height);
    for (int i = 0; i < width * height; ++i) pixels.colours.push_back(bits[i] & 0xffffffu);
    return pixels;
}

}  // namespace

Pixels BitmapPixels(const CSkinBitmap& bitmap) {
    BITMAP size{};
    bitmap.GetBitmap(&size);
    std::vector<std::uint32_t> bits(static_cast<size_t>(size.bmWidth) * size.bmHeight);
    BITMAPINFO info = TopDown32(size.bmWidth, size.bmHeight);
    HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, bitmap.Handle(), 0, static_cast<UINT>(size.bmHeight), bits.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return FromBits(bits.data(), size.bmWidth, size.bmHeight);
}

Pixels SkinPixels(int id) {
    CSkinBitmap* bitmap = LoadSkinBitmap(id);
    EXPECT_NE(bitmap, nullptr) << "bitmap " << id;
    return bitmap != nullptr ? BitmapPixels(*bitmap) : Pixels{};
}

CDibCanvas::CDibCanvas(int width, int height, Colour fill) : width_(width), height_(height) {
    BITMAPINFO info = TopDown32(width, height);
    void* bits = nullptr;
    dc_ = ::CreateCompatibleDC(nullptr);
    dib_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<std::uint32_t*>(bits);
    previous_ = ::SelectObject(dc_, dib_);
    for (int i = 0; i < width * height; ++i) bits_[i] = fill;
}

CDibCanvas::~CDibCanvas() {
    ::SelectObject(dc_, previous_);
    ::DeleteObject(dib_);
    ::DeleteDC(dc_);
}

Pixels CDibCanvas::Read() const {
    ::GdiFlush();
    return FromBits(bits_, width_, height_);
}

Pixels CaptureClient(HWND hwnd) {
    ::UpdateWindow(hwnd);
    RECT client{};
    ::GetClientRect(hwnd, &client);
    CDibCanvas canvas(client.right, client.bottom, 0);
    HDC window = ::GetDC(hwnd);
    ::BitBlt(canvas.Hdc(), 0, 0, client.right, client.bottom, window, 0, 0, SRCCOPY);
    ::ReleaseDC(hwnd, window);
    return canvas.Read();
}

BEGIN_MESSAGE_MAP(CTestParent, CWnd)
    ON_MESSAGE(WM_USER, CTestParent::OnUser)
END_MESSAGE_MAP()

CTestParent::CTestParent() {
    const RECT rect = {0, 0, 400, 200};
    CreateEx(0, CWnd::DefaultClassName(), "", WS_POPUP | WS_VISIBLE, rect, nullptr, 0);
}

LRESULT CTestParent::OnUser(WPARAM wParam, LPARAM lParam) {
    notifications.emplace_back(wParam, lParam);
    return 0;
}

LRESULT Press(const CWnd& control, int x, int y) {
    return control.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
}

LRESULT Release(const CWnd& control, int x, int y) {
    return control.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

LRESULT DoubleClick(const CWnd& control, int x, int y) {
    return control.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
}
