#include "tests/win32/support/Pixels.h"

Pixels Pixels::Part(int x, int y, int w, int h) const {
    Pixels part;
    part.width = w;
    part.height = h;
    for (int row = y; row < y + h; ++row) {
        for (int column = x; column < x + w; ++column) part.colours.push_back(At(column, row));
    }
    return part;
}

bool operator==(const Pixels& a, const Pixels& b) {
    return a.width == b.width && a.height == b.height && a.colours == b.colours;
}

Pixels FromBits(const std::uint32_t* bits, int width, int height) {
    Pixels pixels;
    pixels.width = width;
    pixels.height = height;
    pixels.colours.reserve(static_cast<std::size_t>(width) * height);
    for (int i = 0; i < width * height; ++i) pixels.colours.push_back(bits[i] & 0xffffffu);
    return pixels;
}
