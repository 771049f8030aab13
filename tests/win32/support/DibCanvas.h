#pragma once
// A 32-bit top-down DIB section selected into a memory device context: a surface
// to draw on or to copy the screen into, and read back as Pixels.
#include <windows.h>

#include <cstdint>

#include "tests/win32/support/Pixels.h"

// The header of a top-down 32-bit DIB of that size.
BITMAPINFO TopDown32(int width, int height);

class CDibCanvas {
public:
    CDibCanvas(int width, int height, Colour fill);
    ~CDibCanvas();
    CDibCanvas(const CDibCanvas&) = delete;
    CDibCanvas& operator=(const CDibCanvas&) = delete;
    HDC Hdc() const { return dc_; }
    Pixels Read() const;

private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP dib_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};
