#include "tests/win32/support/SkinPixels.h"

#include <gtest/gtest.h>

#include <vector>

#include "controls/BitmapCache.h"
#include "tests/win32/support/DibCanvas.h"

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
