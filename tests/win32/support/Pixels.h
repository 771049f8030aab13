#pragma once
// Pixels as the tests read them back: from the screen, from skin bitmaps and from
// off-screen drawings, compared whole or in parts.
#include <cstddef>
#include <cstdint>
#include <vector>

// Colours as 0xRRGGBB.
using Colour = std::uint32_t;
constexpr Colour Rgb(int r, int g, int b) {
    return (static_cast<Colour>(r) << 16) | (static_cast<Colour>(g) << 8) | static_cast<Colour>(b);
}

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<Colour> colours;  // rows top to bottom
    Colour At(int x, int y) const { return colours[static_cast<std::size_t>(y) * width + x]; }
    // The w x h part whose top-left corner is (x, y).
    Pixels Part(int x, int y, int w, int h) const;
    // The top-left w x h part.
    Pixels Crop(int w, int h) const { return Part(0, 0, w, h); }
};

bool operator==(const Pixels& a, const Pixels& b);
inline bool operator!=(const Pixels& a, const Pixels& b) { return !(a == b); }

// Rows of 32-bit pixels, top to bottom, as a DIB holds them (the top byte is not colour).
Pixels FromBits(const std::uint32_t* bits, int width, int height);
