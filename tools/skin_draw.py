"""Painters for every look of the skin description.

All pictures share one light-grey stone panel look. Bevels are drawn pixel by
pixel so that their edges stay crisp; round shapes (lamps, knob, emblem) are
sampled several times per pixel so that they come out anti-aliased. Captions
are rendered by FreeType (through Pillow) from the DejaVu fonts, hinted, so
that small words stay sharp. Every random choice comes from a generator seeded
by the picture's identifier: the output is the same on every run.
"""

import math
import random

from PIL import Image, ImageDraw, ImageFont

from skin_description import RAISED, SUNKEN

FONT_DIR = "/usr/share/fonts/truetype/dejavu/"
FONT_REGULAR = FONT_DIR + "DejaVuSans.ttf"
FONT_BOLD = FONT_DIR + "DejaVuSans-Bold.ttf"

STONE = (201, 204, 208)
OUTLINE = (66, 70, 77)
HIGHLIGHT = (252, 252, 253)
SHADOW = (138, 142, 149)
DEEP_SHADOW = (112, 116, 123)
FACE_TOP = (235, 236, 238)
FACE_BOTTOM = (209, 211, 215)
HELD_TOP = (196, 199, 203)
HELD_BOTTOM = (214, 216, 220)
INK = (20, 22, 26)

# Lamp colours: the glowing colour, its hot core, and the unlit glass.
LAMPS = {
    "cyan": ((40, 215, 240), (215, 255, 255), (40, 76, 84)),
    "yellow": ((255, 208, 30), (255, 250, 200), (92, 80, 34)),
    "green": ((60, 225, 75), (220, 255, 210), (36, 78, 42)),
    "red": ((255, 58, 44), (255, 215, 190), (96, 38, 34)),
    "grey": ((150, 153, 158), (190, 193, 198), (102, 105, 110)),
}

# Captions: 10-pixel DejaVu Sans gives capitals 8 pixels high on the 18-pixel buttons.
CAPTION_SIZE = 10
OK_SIZE = 12
LAMP_SIZE = 8
SWITCH_TWO_LINE_SIZE = 9


class FitError(Exception):
    pass


def mix(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def clamp(v):
    return 0 if v < 0 else 255 if v > 255 else int(round(v))


def shifted(colour, delta):
    return tuple(clamp(c + delta) for c in colour)


# ----------------------------------------------------------------- textures

def _lattice(rng, nx, ny):
    return [[rng.random() * 2.0 - 1.0 for _ in range(nx)] for _ in range(ny)]


def _smooth(t):
    return t * t * (3.0 - 2.0 * t)


def periodic_noise(width, height, period_x, period_y, cells_x, cells_y, rng):
    """Value noise in -1..1 that repeats every period_x columns and period_y rows."""
    grid = _lattice(rng, cells_x, cells_y)
    out = []
    for y in range(height):
        gy = (y % period_y) * cells_y / period_y
        y0 = int(gy)
        fy = _smooth(gy - y0)
        row_a = grid[y0 % cells_y]
        row_b = grid[(y0 + 1) % cells_y]
        line = []
        for x in range(width):
            gx = (x % period_x) * cells_x / period_x
            x0 = int(gx)
            fx = _smooth(gx - x0)
            x1 = (x0 + 1) % cells_x
            x0 %= cells_x
            top = row_a[x0] + (row_a[x1] - row_a[x0]) * fx
            bottom = row_b[x0] + (row_b[x1] - row_b[x0]) * fx
            line.append(top + (bottom - top) * fy)
        out.append(line)
    return out


def stone(width, height, seed, base=STONE, period=None, strength=1.0):
    """Light-grey granite: soft mottling, fine grain and a sprinkle of specks.

    With a period (px, py) the texture repeats exactly every px columns and py rows,
    so tiles laid at that pitch meet without a seam.
    """
    rng = random.Random(seed)
    px, py = period if period else (width, height)
    octaves = [(3.0, 4), (2.2, 10), (1.6, 20)]
    layers = [(amp, periodic_noise(width, height, px, py, max(2, round(cells * px / 80)),
                                   max(2, round(cells * py / 80)), rng)) for amp, cells in octaves]
    grain = [[rng.gauss(0.0, 1.0) for _ in range(px)] for _ in range(py)]
    lum = [[sum(amp * layer[y][x] for amp, layer in layers) + 2.6 * grain[y % py][x % px]
            for x in range(width)] for y in range(height)]
    tint = [[0.0] * width for _ in range(height)]
    # Specks: small dark grains and a few bright flecks, wrapped around the period.
    for count, depth in ((px * py // 110, -15.0), (px * py // 160, 11.0)):
        for _ in range(count):
            sx, sy = rng.randrange(px), rng.randrange(py)
            d = depth * (0.6 + 0.4 * rng.random())
            warm = rng.uniform(-1.5, 1.5)
            for dx, dy, w in ((0, 0, 1.0), (1, 0, 0.45), (0, 1, 0.35), (1, 1, 0.2)):
                if w < 1.0 and rng.random() < 0.5:
                    continue
                for yy in range((sy + dy) % py, height, py):
                    for xx in range((sx + dx) % px, width, px):
                        lum[yy][xx] += d * w
                        tint[yy][xx] += warm * w
    img = Image.new("RGB", (width, height))
    pix = img.load()
    for y in range(height):
        for x in range(width):
            d = lum[y][x] * strength
            t = tint[y][x] * strength
            pix[x, y] = (clamp(base[0] + d + t), clamp(base[1] + d), clamp(base[2] + d - t))
    return img


def gradient_face(width, height, top, bottom, seed, grain=1.6):
    """A button face: a soft vertical gradient with a faint stone grain."""
    rng = random.Random(seed)
    mottle = periodic_noise(width, height, width, height, max(2, width // 12), 2, rng)
    img = Image.new("RGB", (width, height))
    pix = img.load()
    for y in range(height):
        t = y / max(1, height - 1)
        c = mix(top, bottom, t)
        for x in range(width):
            d = grain * rng.gauss(0.0, 1.0) * 0.8 + 1.2 * mottle[y][x]
            pix[x, y] = shifted(c, d)
    return img


# -------------------------------------------------------------- sampling

def shade(img, box, fn, samples=6):
    """Composites fn(x, y) -> (r, g, b, alpha) over img, averaged over sub-pixels.

    Coordinates given to fn are continuous: pixel (i, j) covers [i, i+1) x [j, j+1).
    """
    pix = img.load()
    x0, y0, x1, y1 = box
    step = 1.0 / samples
    offsets = [(i + 0.5) * step for i in range(samples)]
    n = samples * samples
    for y in range(max(0, y0), min(img.size[1], y1)):
        for x in range(max(0, x0), min(img.size[0], x1)):
            r = g = b = a = 0.0
            for oy in offsets:
                for ox in offsets:
                    c = fn(x + ox, y + oy)
                    if c is None:
                        continue
                    ca = c[3]
                    r += c[0] * ca
                    g += c[1] * ca
                    b += c[2] * ca
                    a += ca
            if a <= 0.0:
                continue
            cover = a / n
            under = pix[x, y]
            pix[x, y] = (clamp(under[0] * (1 - cover) + r / n),
                         clamp(under[1] * (1 - cover) + g / n),
                         clamp(under[2] * (1 - cover) + b / n))


def glow(img, box, cx, cy, radius, colour, strength):
    """Light thrown by a lamp onto the surface around it: a tint fading with distance."""
    pix = img.load()
    x0, y0, x1, y1 = box
    tint = mix(colour, (255, 255, 255), 0.2)
    for y in range(y0, y1):
        for x in range(x0, x1):
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            if d < radius:
                pix[x, y] = mix(pix[x, y], tint, strength * (1.0 - d / radius) ** 1.6)


def coverage(d):
    """1 inside (d < 0), 0 outside, a one-pixel ramp across the edge."""
    v = 0.5 - d
    return 0.0 if v <= 0 else 1.0 if v >= 1 else v


# ------------------------------------------------------------------ captions

def font(size, bold=False):
    return ImageFont.truetype(FONT_BOLD if bold else FONT_REGULAR, size)


def caption_lines(face, text, fnt, gap, shift=0):
    """Baseline positions of each line, centred on the capitals in face.

    Returns (x, baseline, ink box) per line; descenders hang below the centred capitals.
    """
    left, top, right, bottom = face
    cap = -fnt.getbbox("H", anchor="ls")[1]
    lines = text.split("\n")
    block = cap * len(lines) + gap * (len(lines) - 1)
    first = top + (bottom - top + 1 - block + 1) // 2 + cap
    placed = []
    for i, line in enumerate(lines):
        l, t, r, b = fnt.getbbox(line, anchor="ls")
        x = left + (right - left + 1 - (r - l) + 1) // 2 - l + shift
        base = first + i * (cap + gap) + shift
        placed.append((x, base, (x + l, base + t, x + r - 1, base + b - 1)))
    return placed


def check_fit(ident, ink, face):
    l, t, r, b = ink
    if l < face[0] or t < face[1] or r > face[2] or b > face[3]:
        raise FitError("bitmap %d: caption ink %s leaves the face %s" % (ident, ink, face))


def draw_caption(img, ident, face, text, fnt, colour, gap=3, shift=0):
    draw = ImageDraw.Draw(img)
    for line, (x, base, ink) in zip(text.split("\n"), caption_lines(face, text, fnt, gap, shift)):
        check_fit(ident, ink, face)
        draw.text((x, base), line, font=fnt, fill=colour, anchor="ls")


# -------------------------------------------------------------------- bevels

def soften_corners(img, box, under):
    """Rounds the outline's corners by blending them with what lies beneath."""
    pix = img.load()
    x0, y0, x1, y1 = box
    for x, y in ((x0, y0), (x1, y0), (x0, y1), (x1, y1)):
        pix[x, y] = mix(pix[x, y], under.getpixel((x, y)), 0.7)


def button_face(w, h, bevel, seed):
    """A button body in the visible (w-1) x (h-1) area; returns (image, inner face box)."""
    back = stone(w, h, seed + 7000)
    img = back.copy()
    x1, y1 = w - 2, h - 2
    if bevel == RAISED:
        body = gradient_face(w, h, FACE_TOP, FACE_BOTTOM, seed)
    else:
        body = gradient_face(w, h, HELD_TOP, HELD_BOTTOM, seed)
    img.paste(body.crop((1, 1, x1, y1)), (1, 1))
    draw = ImageDraw.Draw(img)
    draw.rectangle((0, 0, x1, y1), outline=OUTLINE)
    if bevel == RAISED:
        draw.line((1, 1, x1 - 1, 1), fill=HIGHLIGHT)
        draw.line((1, 1, 1, y1 - 1), fill=HIGHLIGHT)
        draw.line((2, y1 - 1, x1 - 1, y1 - 1), fill=SHADOW)
        draw.line((x1 - 1, 2, x1 - 1, y1 - 1), fill=SHADOW)
    else:
        draw.line((1, 1, x1 - 1, 1), fill=DEEP_SHADOW)
        draw.line((1, 1, 1, y1 - 1), fill=DEEP_SHADOW)
        draw.line((2, 2, x1 - 1, 2), fill=mix(DEEP_SHADOW, HELD_TOP, 0.55))
        draw.line((2, 2, 2, y1 - 1), fill=mix(DEEP_SHADOW, HELD_TOP, 0.55))
        draw.line((2, y1 - 1, x1 - 1, y1 - 1), fill=mix(HELD_BOTTOM, HIGHLIGHT, 0.5))
        draw.line((x1 - 1, 2, x1 - 1, y1 - 1), fill=mix(HELD_BOTTOM, HIGHLIGHT, 0.5))
    soften_corners(img, (0, 0, x1, y1), back)
    return img, (2, 2, x1 - 2, y1 - 2)


def paint_push(p):
    img, face = button_face(p.width, p.height, p.bevel, p.id)
    big = p.height > 20
    fnt = font(OK_SIZE if big else CAPTION_SIZE, bold=big)
    shift = 1 if p.bevel == SUNKEN else 0
    draw_caption(img, p.id, face, p.caption, fnt, INK, shift=shift)
    return img


# --------------------------------------------------------------------- lamps

def led(img, cx, cy, radius, colour, lit, clip):
    """A round lamp lens; lit lamps glow onto the face around them."""
    hot, core, dark = LAMPS[colour]
    if lit:
        glow(img, clip, cx, cy, radius + 6.5, hot, 0.7)

    def lens(x, y):
        d = math.hypot(x - cx, y - cy)
        a = coverage(d - radius - 0.9)
        if a <= 0.0:
            return None
        if d > radius:
            return (46, 48, 52, a)
        # Lit: a hot core fading to the lamp colour; dark: the glass lit from above.
        t = min(1.0, math.hypot(x - cx + 0.25 * radius, y - cy + 0.3 * radius) / (radius * 1.2))
        if lit:
            c = mix(core, hot, t ** 0.45)
        else:
            c = mix(shifted(dark, 34), dark, min(1.0, (y - cy + radius) / (1.6 * radius)))
        sx, sy = x - (cx - 0.35 * radius), y - (cy - 0.4 * radius)
        shine = max(0.0, 1.0 - math.hypot(sx * 1.2, sy * 1.6) / (0.42 * radius))
        c = mix(c, (255, 255, 255), shine * (0.85 if lit else 0.55))
        return c + (a,)

    r = int(radius + 2)
    shade(img, (int(cx) - r, int(cy) - r, int(cx) + r + 1, int(cy) + r + 1), lens)


def paint_switch(p):
    img, face = button_face(p.width, p.height, p.bevel, p.id)
    shift = 1 if p.bevel == SUNKEN else 0
    radius = 3.5
    cx = face[0] + 1.0 + radius + shift + 0.5
    cy = (face[1] + face[3] + 1) / 2.0 + shift
    clip = (face[0], face[1], face[2] + 1, face[3] + 1)
    led(img, cx, cy, radius, p.lamp, p.lit, clip)
    text_face = (int(cx + radius) + 2 - shift, face[1], face[2], face[3])
    size = SWITCH_TWO_LINE_SIZE if "\n" in p.caption else CAPTION_SIZE
    draw_caption(img, p.id, text_face, p.caption, font(size), INK, shift=shift)
    return img


def paint_lamp(p):
    """A flat label: lit ones glow in their colour with dark words, idle ones are dim.

    The words need every one of the nine shown rows, so the label has no dark frame:
    a slightly deeper shade of its own colour marks its edge instead.
    """
    w, h = p.width, p.height
    x1, y1 = w - 2, h - 2
    hot, core, dark = LAMPS[p.lamp]
    back = stone(w, h, p.id + 7000)
    img = back.copy()
    cx, cy = (x1 + 1) / 2.0, (y1 + 1) / 2.0
    pix = img.load()
    for y in range(0, y1 + 1):
        for x in range(0, x1 + 1):
            if p.lit:
                d = math.hypot((x + 0.5 - cx) / (x1 / 2.0), (y + 0.5 - cy) / (y1 / 1.2))
                c = mix(mix(hot, core, 0.5), hot, min(1.0, d))
            else:
                c = mix(shifted(dark, 18), dark, y / float(y1))
            if x in (0, x1) or y in (0, y1):
                c = mix(c, (0, 0, 0), 0.28 if p.lit else 0.22)
            pix[x, y] = c
    soften_corners(img, (0, 0, x1, y1), back)
    ink = mix(hot, (0, 0, 0), 0.82) if p.lit else (228, 230, 233)
    draw = ImageDraw.Draw(img)
    fnt = font(LAMP_SIZE)
    face = (0, 0, x1, y1)
    for x, base, box in caption_lines((0, 1, x1, 6), p.caption, fnt, 0):
        check_fit(p.id, box, face)
        draw.text((x, base), p.caption, font=fnt, fill=ink, anchor="ls")
    return img


# --------------------------------------------------------------------- fader

def faded(img, under, amount=0.55):
    return Image.blend(img, under, amount)


def paint_track(p):
    """Stone strip, engraved scale marks and a sunken groove (columns 5..9, rows 13..114)."""
    w, h = p.width, p.height
    back = stone(w, h, 155 + 7000)
    img = back.copy()
    pix = img.load()
    for k in range(11):
        y = 14 + round(k * 97 / 10)
        major = k in (0, 5, 10)
        for x in (list(range(0 if major else 1, 4)) + list(range(11, 14 if major else 13))):
            pix[x, y] = mix(pix[x, y], (96, 100, 107), 0.8)
            pix[x, y + 1] = mix(pix[x, y + 1], (246, 247, 249), 0.7)
    for y in range(13, 115):
        pix[5, y] = (118, 122, 129)
        pix[9, y] = (244, 245, 247)
    for x in range(5, 10):
        pix[x, 13] = (118, 122, 129)
        pix[x, 114] = (244, 245, 247)
    pix[9, 13] = mix((118, 122, 129), (244, 245, 247), 0.5)
    pix[5, 114] = mix((118, 122, 129), (244, 245, 247), 0.5)
    core = [(14, 15, 17), (24, 25, 28), (36, 38, 41)]
    for y in range(14, 114):
        for i, x in enumerate((6, 7, 8)):
            if y == 14:
                c = (58, 61, 66)
            elif y <= 111:
                c = core[i]
            elif y == 112:
                c = mix(core[i], (150, 154, 160), 0.45)
            else:
                c = (176, 179, 184)
            pix[x, y] = c
    return faded(img, back) if p.faded else img


def paint_thumb(p):
    """Dark ribbed cap: light top row and left column, two-pixel shadow, bright row 15."""
    w, h = p.width, p.height
    img = Image.new("RGB", (w, h))
    pix = img.load()
    for y in range(h):
        for x in range(w):
            t = (y - 1) / 28.0
            base = mix((84, 87, 93), (44, 46, 51), t)
            cyl = 10 - abs(x - 5) * 2.2 if 1 <= x <= 12 else 0
            phase = (y - 1) % 3
            rib = 20 if phase == 0 else -14 if phase == 2 else 0
            pix[x, y] = shifted(base, cyl + rib)
    for x in range(0, 13):
        pix[x, 14] = mix((20, 21, 24), pix[x, 14], 0.3)
        pix[x, 15] = (250, 250, 250) if x >= 1 else (210, 212, 216)
        pix[x, 16] = mix((20, 21, 24), pix[x, 16], 0.3)
    for x in range(0, 13):
        pix[x, 0] = (212, 214, 218)
    for y in range(0, 30):
        pix[0, y] = mix((212, 214, 218), (168, 171, 176), y / 29.0) if y != 15 else (232, 233, 236)
    for y in range(0, h):
        pix[13, y] = (26, 27, 30)
        pix[14, y] = (10, 10, 12)
    for x in range(0, 13):
        pix[x, 30] = (26, 27, 30)
        pix[x, 31] = (10, 10, 12)
    pix[13, 31] = (10, 10, 12)
    if p.faded:
        return faded(img, Image.new("RGB", (w, h), (196, 199, 203)), 0.6)
    return img


# ---------------------------------------------------------------------- knob

KNOB_CX = KNOB_CY = 12.5    # pixel (12, 12), where the pointer starts


def _knob_shader(x, y):
    dx, dy = x - KNOB_CX, y - KNOB_CY
    d = math.hypot(dx, dy)
    if d > 10.2:
        return None
    a = coverage(d - 9.6)
    if d > 9.0:
        return (40, 42, 46, a)
    # Lit from the top left: +1 facing the light, -1 away from it.
    light = -(dx + dy) / (max(d, 0.01) * 1.41421356)
    if d > 6.9:
        # Knurled metal skirt.
        angle = math.atan2(dy, dx)
        knurl = 14.0 * math.cos(angle * 24.0)
        return shifted((128, 132, 139), 62 * light + knurl) + (a,)
    if d > 6.0:
        # Rim of the dished cap: bright toward the light, dark away from it.
        return shifted((176, 179, 185), 58 * light) + (a,)
    # The cap, slightly dished: its far side catches a little more light.
    return shifted((228, 229, 232), -8 * light * d / 6.0) + (a,)


def _knob_shadow(x, y):
    d = math.hypot(x - KNOB_CX - 0.9, y - KNOB_CY - 1.1)
    if d > 11.2:
        return None
    return (30, 32, 36, 0.34 * coverage(d - 10.0) * min(1.0, (11.2 - d) / 1.2 + 0.2))


def _tick(angle_deg, r0, r1, width, colour):
    a = math.radians(angle_deg)
    ux, uy = math.cos(a), -math.sin(a)

    def fn(x, y):
        px, py = x - KNOB_CX, y - KNOB_CY
        along = px * ux + py * uy
        across = abs(-px * uy + py * ux)
        if along < r0 - 0.5 or along > r1 + 0.5 or across > width:
            return None
        cover = min(coverage(across - width / 2.0), coverage(r0 - along), coverage(along - r1))
        return colour + (cover,) if cover > 0 else None
    return fn


def paint_knob(p):
    back = stone(p.width, p.height, 158 + 7000)
    img = back.copy()
    box = (0, 0, p.width, p.height)
    for angle, long in ((225, True), (-45, True), (90, True), (157.5, False), (22.5, False)):
        shade(img, box, _tick(angle, 10.4, 11.9 if long else 11.2, 1.3 if long else 1.0,
                              (70, 73, 79) if long else (118, 122, 129)))
    shade(img, box, _knob_shadow, samples=4)
    shade(img, box, _knob_shader)
    return faded(img, back, 0.5) if p.faded else img


# ------------------------------------------------------------------ drop-down

def paint_dropdown(p):
    """Light bevelled box; the list's text is drawn over its top-left by the program."""
    w, h = p.width, p.height
    x1, y1 = w - 2, h - 2
    sunken = p.bevel == SUNKEN
    img = gradient_face(w, h, (240, 241, 243) if not sunken else (222, 224, 228),
                        (226, 228, 231) if not sunken else (234, 236, 239), p.id, grain=1.0)
    draw = ImageDraw.Draw(img)
    if not sunken:
        draw.line((0, 0, x1, 0), fill=HIGHLIGHT)
        draw.line((0, 0, 0, y1), fill=HIGHLIGHT)
        draw.line((0, y1, x1, y1), fill=OUTLINE)
        draw.line((x1, 0, x1, y1), fill=OUTLINE)
        draw.line((1, y1 - 1, x1 - 1, y1 - 1), fill=SHADOW)
        draw.line((x1 - 1, 1, x1 - 1, y1 - 1), fill=SHADOW)
    else:
        draw.line((0, 0, x1, 0), fill=DEEP_SHADOW)
        draw.line((0, 0, 0, y1), fill=DEEP_SHADOW)
        draw.line((1, 1, x1 - 1, 1), fill=SHADOW)
        draw.line((1, 1, 1, y1 - 1), fill=SHADOW)
        draw.line((0, y1, x1, y1), fill=HIGHLIGHT)
        draw.line((x1, 0, x1, y1), fill=HIGHLIGHT)
    shift = 1 if sunken else 0
    # The arrow stands alone at the right end, without a separator: the longest item
    # reaches within a few pixels of it.
    cx = x1 - 5 + shift
    top = 7 + shift
    for i in range(3):
        draw.line((cx - 2 + i, top + i, cx + 2 - i, top + i), fill=(36, 38, 43))
    return img


# --------------------------------------------------------------------- strip

def paint_strip(p):
    """Recessed stone field behind the diagnostics values (text is drawn at its top left)."""
    w, h = p.width, p.height
    x1, y1 = w - 2, h - 2
    img = stone(w, h, p.id, base=(220, 222, 225), strength=0.55)
    draw = ImageDraw.Draw(img)
    draw.line((0, 0, x1, 0), fill=(150, 154, 160))
    draw.line((0, 0, 0, y1), fill=(150, 154, 160))
    draw.line((1, y1, x1, y1), fill=(246, 247, 249))
    draw.line((x1, 1, x1, y1), fill=(246, 247, 249))
    return img


# -------------------------------------------------------------------- emblem

def emblem_shader(w, h, band_top, wave_y, amplitude, cycles, thickness, shaded=True):
    """A wave emblem of any size: used by the about box picture and the icon.

    Unshaded, the field is flat and the wave has no halo, for the icon's 16 colours.
    """
    r_corner = max(1.5, w / 10.0)

    def inside(x, y):
        # Signed distance to a rounded rectangle covering the whole picture.
        qx = max(abs(x - w / 2.0) - (w / 2.0 - r_corner), 0.0)
        qy = max(abs(y - h / 2.0) - (h / 2.0 - r_corner), 0.0)
        return math.hypot(qx, qy) - r_corner

    def fn(x, y):
        d = inside(x, y)
        a = coverage(d)
        if a <= 0:
            return None
        if d > -1.0:
            return (38, 42, 50, a)
        if y >= band_top:
            t = (y - band_top) / max(1.0, h - band_top)
            c = mix((255, 226, 84), (214, 158, 18), t if shaded else round(t))
            if y < band_top + 1.0:
                c = mix(c, (120, 90, 10), 0.55)
            return c + (a,)
        t = y / band_top if shaded else 0.45
        c = mix((104, 126, 150), (70, 88, 110), t)
        # Distance to the wave, measured across its local slope.
        phase = 2.0 * math.pi * cycles * x / w
        wy = wave_y - amplitude * math.sin(phase)
        slope = amplitude * 2.0 * math.pi * cycles / w * math.cos(phase)
        dist = abs(y - wy) / math.sqrt(1.0 + slope * slope)
        halo = max(0.0, 1.0 - dist / (thickness * 2.2)) if shaded else 0.0
        c = mix(c, (96, 200, 120), 0.45 * halo * halo)
        line = coverage(dist - thickness / 2.0)
        c = mix(c, mix((150, 255, 150), (40, 200, 70), min(1.0, dist / (thickness / 2.0 + 0.01))), line)
        # A sheen across the top of the field.
        if shaded and y < band_top * 0.45:
            c = shifted(c, 10 * (1.0 - y / (band_top * 0.45)))
        return c + (a,)
    return fn


def paint_emblem(p):
    img = stone(p.width, p.height, p.id + 7000)
    fn = emblem_shader(p.width, p.height, band_top=23.0, wave_y=11.5, amplitude=5.0,
                       cycles=1.25, thickness=2.2)
    shade(img, (0, 0, p.width, p.height), fn)
    return img


def paint_stone(p):
    # The windows tile it 80 across and 76 down, so it repeats every 76 rows.
    return stone(p.width, p.height, p.id, period=(80, 76))


PAINTERS = {
    "stone": paint_stone,
    "push": paint_push,
    "switch": paint_switch,
    "lamp": paint_lamp,
    "track": paint_track,
    "thumb": paint_thumb,
    "knob": paint_knob,
    "dropdown": paint_dropdown,
    "strip": paint_strip,
    "emblem": paint_emblem,
}


def paint(picture):
    img = PAINTERS[picture.look](picture)
    assert img.size == (picture.width, picture.height), picture
    return img
