#include "tests/win32/support/DibCanvas.h"

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
