"""RGB pictures for the end-to-end suite: what the screen shows and the skin
bitmaps (24-bit BMP) the program draws it from.

Only the standard library: the suite runs with the system's python3."""

import struct


class Image:
    """A width x height RGB picture, rows top to bottom, 3 bytes a pixel."""

    def __init__(self, width, height, rgb):
        assert len(rgb) == width * height * 3, "pixel data does not fit the size"
        self.width = width
        self.height = height
        self.rgb = bytes(rgb)

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def crop(self, x, y, width, height):
        """The part at (x, y); whatever lies outside this picture is black."""
        out = bytearray(width * height * 3)
        for row in range(height):
            sy = y + row
            if not 0 <= sy < self.height:
                continue
            x0, x1 = max(x, 0), min(x + width, self.width)
            if x0 >= x1:
                continue
            src = (sy * self.width + x0) * 3
            dst = (row * width + (x0 - x)) * 3
            out[dst:dst + (x1 - x0) * 3] = self.rgb[src:src + (x1 - x0) * 3]
        return Image(width, height, out)

    def row_bytes(self, y, x=0, width=None):
        width = self.width - x if width is None else width
        i = (y * self.width + x) * 3
        return self.rgb[i:i + width * 3]

    def paste(self, other, x, y):
        """A copy with `other` drawn opaque at (x, y), clipped to this picture."""
        out = bytearray(self.rgb)
        for row in range(other.height):
            dy = y + row
            if not 0 <= dy < self.height:
                continue
            x0, x1 = max(x, 0), min(x + other.width, self.width)
            if x0 >= x1:
                continue
            src = (row * other.width + (x0 - x)) * 3
            dst = (dy * self.width + x0) * 3
            out[dst:dst + (x1 - x0) * 3] = other.rgb[src:src + (x1 - x0) * 3]
        return Image(self.width, self.height, out)

    def same_fraction(self, other):
        """Share of pixels equal in both pictures of one size (0..1)."""
        assert (self.width, self.height) == (other.width, other.height), "sizes differ"
        a, b = self.rgb, other.rgb
        same = sum(1 for i in range(0, len(a), 3) if a[i:i + 3] == b[i:i + 3])
        return same / (self.width * self.height) if self.width * self.height else 1.0

    def differing_pixels(self, other):
        """(x, y) of every pixel where the two pictures differ."""
        out = []
        for y in range(self.height):
            ra, rb = self.row_bytes(y), other.row_bytes(y)
            if ra == rb:
                continue
            for x in range(self.width):
                if ra[3 * x:3 * x + 3] != rb[3 * x:3 * x + 3]:
                    out.append((x, y))
        return out


def load_bmp(path):
    """An uncompressed 24-bit BMP, as the skin drawing program writes them."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"BM":
        raise ValueError(path + " is not a BMP")
    offset = struct.unpack_from("<I", data, 10)[0]
    _, width, height, _, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    if bits != 24 or compression != 0:
        raise ValueError(path + " is not an uncompressed 24-bit BMP")
    bottom_up = height > 0
    height = abs(height)
    stride = (width * 3 + 3) & ~3
    rgb = bytearray(width * height * 3)
    for row in range(height):
        src_row = height - 1 - row if bottom_up else row
        src = offset + src_row * stride
        line = data[src:src + width * 3]
        dst = row * width * 3
        rgb[dst:dst + width * 3:3] = line[2::3]
        rgb[dst + 1:dst + width * 3:3] = line[1::3]
        rgb[dst + 2:dst + width * 3:3] = line[0::3]
    return Image(width, height, rgb)
