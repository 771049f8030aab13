"""The application icon: the wave emblem at 32 x 32 and 16 x 16 in 16 colours."""

from PIL import Image

import skin_draw

# The icon's own 16 colours, chosen for the emblem: outline, the blue-grey field,
# the green wave with its glow, and the yellow band.
PALETTE = [
    (0, 0, 0), (38, 42, 50), (62, 74, 90), (89, 108, 132),
    (120, 140, 162), (64, 150, 100), (40, 200, 70), (100, 230, 110),
    (150, 255, 150), (120, 90, 10), (176, 130, 24), (214, 158, 18),
    (255, 226, 84), (255, 244, 170), (255, 255, 255), (96, 90, 60),
]


def _nearest(colour):
    best, best_d = 0, None
    for i, (r, g, b) in enumerate(PALETTE):
        d = 2 * (colour[0] - r) ** 2 + 4 * (colour[1] - g) ** 2 + 3 * (colour[2] - b) ** 2
        if best_d is None or d < best_d:
            best, best_d = i, d
    return best


def icon_image(size):
    """(palette indices, opaque flags) of one icon image, row by row from the top."""
    fn = skin_draw.emblem_shader(size, size, band_top=size * 0.72, wave_y=size * 0.36,
                                 amplitude=size * 0.17, cycles=1.0 if size < 24 else 1.25,
                                 thickness=max(1.6, size / 12.0), shaded=False)
    rgb = Image.new("RGB", (size, size), (0, 0, 0))
    alpha = Image.new("L", (size, size), 0)
    pix, apix = rgb.load(), alpha.load()
    samples = 6
    offsets = [(i + 0.5) / samples for i in range(samples)]
    for y in range(size):
        for x in range(size):
            r = g = b = a = 0.0
            for oy in offsets:
                for ox in offsets:
                    c = fn(x + ox, y + oy)
                    if c:
                        r, g, b, a = r + c[0] * c[3], g + c[1] * c[3], b + c[2] * c[3], a + c[3]
            if a > 0:
                pix[x, y] = (int(r / a), int(g / a), int(b / a))
            apix[x, y] = int(255 * a / (samples * samples))
    indices, opaque = [], []
    for y in range(size):
        for x in range(size):
            indices.append(_nearest(pix[x, y]))
            opaque.append(apix[x, y] >= 128)
    return indices, opaque


def icon_images():
    from skin_description import ICON_SIZES
    return [(size,) + icon_image(size) for size in ICON_SIZES]
