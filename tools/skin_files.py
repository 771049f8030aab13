"""Writers for the two file formats the resource compiler takes: BMP and ICO."""

import struct


def bmp_bytes(image):
    """An uncompressed 24-bit bottom-up BMP of an RGB image."""
    width, height = image.size
    stride = (width * 3 + 3) & ~3
    pixels = image.load()
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixels[x, y][:3]
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    offset = 14 + len(info)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return header + info + data


def _icon_image(indices, opaque, size, palette):
    """One 4-bit icon image: header, 16-colour palette, colour bits, then the mask."""
    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor_rows = []
    and_rows = []
    for y in range(size - 1, -1, -1):
        xor_row = bytearray(xor_stride)
        and_row = bytearray(and_stride)
        for x in range(size):
            i = y * size + x
            index = indices[i] if opaque[i] else 0
            xor_row[x // 2] |= index << (4 if x % 2 == 0 else 0)
            if not opaque[i]:
                and_row[x // 8] |= 0x80 >> (x % 8)
        xor_rows.append(bytes(xor_row))
        and_rows.append(bytes(and_row))
    bits = b"".join(xor_rows) + b"".join(and_rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(bits), 0, 0, 16, 0)
    quads = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return header + quads + bits


def ico_bytes(images, palette):
    """An ICO of 16-colour images; images are (size, palette indices, opaque flags)."""
    assert len(palette) == 16
    bodies = [_icon_image(indices, opaque, size, palette) for size, indices, opaque in images]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for (size, _, _), body in zip(images, bodies):
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 16, 0, 1, 4, len(body), offset)
        offset += len(body)
    return directory + entries + b"".join(bodies)
