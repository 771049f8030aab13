#include "tests/win32/support/SkinPixels.h"

#include <gtest/gtest.h>

#include <vector>

#include "framework/Gdi.h"
#include "tests/win32/support/DibCanvas.h"

Pixels SkinPixels(int id) {
    CBitmap bitmap;
    BITMAP size{};
    if (!bitmap.LoadBitmap(static_cast<UINT>(id)) || bitmap.GetBitmap(&size) == 0) {
        ADD_FAILURE() << "bitmap " << id;
        return Pixels{};
    }
    std::vector<std::uint32_t> bits(static_cast<size_t>(size.bmWidth) * size.bmHeight);
    BITMAPINFO info = TopDown32(size.bmWidth, size.bmHeight);
    HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, bitmap.Handle(), 0, static_cast<UINT>(size.bmHeight), bits.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return FromBits(bits.data(), size.bmWidth, size.bmHeight);
}
