#!/usr/bin/python3
"""Checks the drawn skin pictures against their description and saves a contact sheet.

  skin_check.py --skin DIR --sheet FILE.png

Reads the files as the resource compiler and the program will: the BMP and ICO
headers byte by byte, the pixels of the part of each bitmap that a control shows
(all but the last column and row). Prints one line per fault and exits 1 if any.
"""

import argparse
import filecmp
import math
import os
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from PIL import Image, ImageDraw, ImageFont  # noqa: E402

import skin_description as desc  # noqa: E402
from skin_description import RAISED, SUNKEN  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
LABEL_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
WINE_SANS = "/usr/share/wine/fonts/ms_sans_serif.ttf"

faults = []


def fault(message):
    faults.append(message)


def lum(c):
    return 0.299 * c[0] + 0.587 * c[1] + 0.114 * c[2]


def saturation(c):
    return (max(c) - min(c)) / max(1, max(c))


def pixels(img, box):
    x0, y0, x1, y1 = box
    return [img.getpixel((x, y)) for y in range(y0, y1 + 1) for x in range(x0, x1 + 1)]


def mean(values):
    values = list(values)
    return sum(values) / len(values)


# ------------------------------------------------------------------ file formats

def check_bmp(path, picture):
    data = open(path, "rb").read()
    name = os.path.basename(path)
    if len(data) < 54 or data[:2] != b"BM":
        return fault("%s: not a BMP" % name)
    size, _, _, offset = struct.unpack_from("<IHHI", data, 2)
    (bi_size, width, height, planes, bits, compression,
     image_size) = struct.unpack_from("<IiiHHII", data, 14)
    if size != len(data):
        fault("%s: header says %d bytes, file has %d" % (name, size, len(data)))
    if bi_size != 40:
        fault("%s: info header of %d bytes, expected 40" % (name, bi_size))
    if (width, height) != (picture.width, picture.height):
        fault("%s: %d x %d, described %d x %d" % (name, width, height, picture.width, picture.height))
    if planes != 1 or bits != desc.BITMAP_BITS or compression != 0:
        fault("%s: %d planes, %d bits, compression %d; expected 1, %d, 0"
              % (name, planes, bits, compression, desc.BITMAP_BITS))
    stride = (abs(width) * 3 + 3) & ~3
    if len(data) - offset != stride * abs(height) or image_size not in (0, stride * abs(height)):
        fault("%s: pixel data of %d bytes, expected %d" % (name, len(data) - offset, stride * abs(height)))


def check_ico(path):
    data = open(path, "rb").read()
    name = os.path.basename(path)
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1 or count != len(desc.ICON_SIZES):
        return fault("%s: icon directory type %d with %d images" % (name, kind, count))
    found = []
    for i in range(count):
        w, h, colours, _, planes, bits, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        w, h = w or 256, h or 256
        found.append(w)
        if (w, h) != (w, w) or colours != 2 ** desc.ICON_BITS or bits != desc.ICON_BITS:
            fault("%s: entry %d is %d x %d, %d colours, %d bits" % (name, i, w, h, colours, bits))
        bi_size, bw, bh, bplanes, bbits, compression = struct.unpack_from("<IiiHHI", data, offset)
        if (bi_size, bw, bh, bplanes, bbits, compression) != (40, w, 2 * w, 1, desc.ICON_BITS, 0):
            fault("%s: image %d header %s" % (name, i, (bi_size, bw, bh, bplanes, bbits, compression)))
        xor = ((w * desc.ICON_BITS + 31) // 32) * 4 * w
        mask = ((w + 31) // 32) * 4 * w
        if length != 40 + 4 * 2 ** desc.ICON_BITS + xor + mask:
            fault("%s: image %d has %d bytes, expected %d" % (name, i, length, 40 + 64 + xor + mask))
    if sorted(found) != sorted(desc.ICON_SIZES):
        fault("%s: sizes %s, described %s" % (name, found, desc.ICON_SIZES))


def icon_images(path):
    """Both icon images as Pillow decodes them (RGBA), largest first."""
    ico = Image.open(path)
    return [ico.ico.getimage((s, s)).convert("RGBA") for s in desc.ICON_SIZES]


# ------------------------------------------------------------------ what a user sees

def visible(img):
    """The part a control's window shows: all but the last column and row."""
    return (0, 0, img.size[0] - 2, img.size[1] - 2)


def ink_box(img, box, limit=100):
    """Bounding box of the dark pixels inside box, and the centroid of all ink.

    The centroid weighs each grey pixel by how much darker than the face in its row
    it is, so that anti-aliased edges count by their coverage and the glow of a lamp
    does not count at all.
    """
    xs, ys = [], []
    wx = wy = total = 0.0
    for y in range(box[1], box[3] + 1):
        row = [img.getpixel((x, y)) for x in range(box[0], box[2] + 1)]
        face = sorted(lum(c) for c in row)[len(row) * 4 // 5]
        for x, c in zip(range(box[0], box[2] + 1), row):
            v = lum(c)
            if v < limit:
                xs.append(x)
                ys.append(y)
            if max(c) - min(c) < 24:
                weight = max(0.0, face - v - 12.0)
                wx, wy, total = wx + weight * x, wy + weight * y, total + weight
    if not xs or total == 0.0:
        return None, None
    return (min(xs), min(ys), max(xs), max(ys)), (wx / total, wy / total)


def caption_area(p):
    """The face inside the outline and bevel; for switches, right of the lamp."""
    x1, y1 = p.width - 2, p.height - 2
    top = 3 if p.bevel == SUNKEN else 2
    left = 13 if p.look == "switch" else top
    return (left, top, x1 - 2, y1 - 2)


def check_caption(p, img):
    area = caption_area(p)
    box, centre = ink_box(img, area)
    if box is None:
        return fault("bitmap %d: no caption visible" % p.id)
    # The caption keeps a pixel of face clear on either side, and never covers the bevel.
    if box[0] <= area[0] or box[2] >= area[2] or box[1] < area[1] or box[3] > area[3]:
        fault("bitmap %d: caption %r runs into the edge of its face: ink %s in %s"
              % (p.id, p.caption, box, area))
    if p.look == "push":
        # Centred across the face, whether at rest or held.
        shift = 1 if p.bevel == SUNKEN else 0
        middle = (2 + p.width - 4) / 2.0 + shift
        if abs((box[0] + box[2]) / 2.0 - middle) > 1.0:
            fault("bitmap %d: caption off centre (%s in %s)" % (p.id, box, area))


def check_outline(p, img):
    """The frame is drawn inside the shown part: dark at the last shown column and row."""
    x1, y1 = visible(img)[2:]
    if lum(img.getpixel((x1, img.size[1] // 2))) > 110 or lum(img.getpixel((img.size[0] // 2, y1))) > 110:
        fault("bitmap %d: right or bottom edge of the frame is not in the shown part" % p.id)


def check_pressed_pairs(images):
    """A held picture shows the same caption one pixel lower and further right."""
    by_key = {}
    for p in desc.PICTURES:
        if p.caption and p.look in ("push", "switch"):
            by_key.setdefault((p.caption, p.lit), {})[p.bevel] = p
    for (caption, lit), pair in by_key.items():
        if set(pair) != {RAISED, SUNKEN}:
            continue
        rest, held = pair[RAISED], pair[SUNKEN]
        a = ink_box(images[rest.id], caption_area(rest))[1]
        b = ink_box(images[held.id], caption_area(held))[1]
        if a is None or b is None:
            continue
        if abs(b[0] - a[0] - 1) > 0.25 or abs(b[1] - a[1] - 1) > 0.25:
            fault("bitmaps %d/%d: held caption moved by (%.2f, %.2f), not (1, 1)"
                  % (rest.id, held.id, b[0] - a[0], b[1] - a[1]))
        # Sunken: the top-left inner edge darker than at rest.
        top_rest = mean(lum(c) for c in pixels(images[rest.id], (2, 1, rest.width - 4, 1)))
        top_held = mean(lum(c) for c in pixels(images[held.id], (2, 1, held.width - 4, 1)))
        if top_held > top_rest - 60:
            fault("bitmaps %d/%d: held picture does not look pressed" % (rest.id, held.id))


def check_lamps(images):
    """Lit lamps are bright and coloured; dark lamps are dim."""
    switches = {}
    for p in desc.PICTURES:
        img = images[p.id]
        if p.look == "switch":
            cy = (p.height - 1) // 2 + (1 if p.bevel == SUNKEN else 0)
            lens = pixels(img, (4, cy - 2, 9, cy + 2))
            brightest = max(max(c) for c in lens)
            colourful = max(saturation(c) * max(c) for c in lens)
            switches.setdefault((p.caption, p.bevel), {})[p.lit] = (p.id, brightest, colourful)
        elif p.look == "lamp":
            shown = pixels(img, (1, 1, img.size[0] - 3, img.size[1] - 3))
            background = sorted(shown, key=lum)[len(shown) // 2]
            if p.lit and (saturation(background) < 0.5 or max(background) < 200):
                fault("bitmap %d: lit label %s is not bright and coloured" % (p.id, background))
            if not p.lit and (saturation(background) > 0.1 or max(background) > 140):
                fault("bitmap %d: idle label %s is not dim grey" % (p.id, background))
            check_lamp_words(p, img)
    for key, states in switches.items():
        if set(states) != {True, False}:
            continue
        (lit_id, lit_bright, lit_col), (dark_id, dark_bright, dark_col) = states[True], states[False]
        if lit_bright < dark_bright + 80 or lit_col < dark_col + 80:
            fault("bitmaps %d/%d: the lit lamp does not stand out from the dark one" % (lit_id, dark_id))


def check_lamp_words(p, img):
    """The word sits whole and centred in the shown part of the label."""
    x1, y1 = visible(img)[2:]
    corners = {(0, 0), (x1, 0), (0, y1), (x1, y1)}
    ink = [(x, y) for y in range(y1 + 1) for x in range(x1 + 1) if (x, y) not in corners and
           (lum(img.getpixel((x, y))) < 60 if p.lit else lum(img.getpixel((x, y))) > 175)]
    if not ink:
        return fault("bitmap %d: no word on the label" % p.id)
    left, right = min(x for x, _ in ink), max(x for x, _ in ink)
    top, bottom = min(y for _, y in ink), max(y for _, y in ink)
    if left < 1 or right > x1 - 1:
        fault("bitmap %d: %r does not fit the shown part (%d..%d, rows %d..%d)"
              % (p.id, p.caption, left, right, top, bottom))
    if abs((left + right) / 2.0 - x1 / 2.0) > 1.5:
        fault("bitmap %d: %r is off centre" % (p.id, p.caption))


def check_tile(img):
    """The tile repeats every 80 columns and 76 rows, without a visible seam."""
    w, h = img.size
    if any(img.getpixel((x, y)) != img.getpixel((x, y - 76)) for y in range(76, h) for x in range(w)):
        fault("bitmap 137: rows 76..79 differ from rows 0..3, so rows tiled 76 apart show a seam")

    def step(a, b):
        return mean(abs(lum(img.getpixel(a(i))) - lum(img.getpixel(b(i)))) for i in range(76))
    inner = mean(step(lambda i, x=x: (x, i), lambda i, x=x: (x + 1, i)) for x in range(79))
    across = step(lambda i: (79, i), lambda i: (0, i))
    inner_v = mean(mean(abs(lum(img.getpixel((x, y))) - lum(img.getpixel((x, y + 1))))
                        for x in range(80)) for y in range(75))
    down = mean(abs(lum(img.getpixel((x, 75))) - lum(img.getpixel((x, 0)))) for x in range(80))
    if across > 1.6 * inner or down > 1.6 * inner_v:
        fault("bitmap 137: the wrap-around seam (%.1f, %.1f) is rougher than the texture (%.1f, %.1f)"
              % (across, down, inner, inner_v))
    everything = pixels(img, (0, 0, w - 1, h - 1))
    if not 180 < mean(lum(c) for c in everything) < 225 or mean(saturation(c) for c in everything) > 0.08:
        fault("bitmap 137: not a light grey")


def check_fader(images):
    track, thumb = images[155], images[156]
    core = pixels(track, (6, 15, 8, 111))
    if max(lum(c) for c in core) > 70:
        fault("bitmap 155: the groove's core (columns 6..8, rows 15..111) is not dark")
    for box in ((0, 0, 4, 12), (10, 0, 13, 125), (0, 116, 13, 125)):
        if mean(lum(c) for c in pixels(track, box)) < 170:
            fault("bitmap 155: the strip around the groove is not light stone (%s)" % (box,))
    if lum(track.getpixel((5, 60))) > lum(track.getpixel((9, 60))) - 60:
        fault("bitmap 155: the groove is not sunken (left edge dark, right edge light)")
    if min(lum(c) for c in pixels(thumb, (1, 15, 12, 15))) < 200:
        fault("bitmap 156: no bright centre line across row 15")
    body = mean(lum(c) for c in pixels(thumb, (2, 2, 11, 13)))
    if body > 110:
        fault("bitmap 156: the cap is not dark")
    top_left = pixels(thumb, (0, 0, 12, 0)) + pixels(thumb, (0, 1, 0, 29))
    if min(lum(c) for c in top_left) < body + 60:
        fault("bitmap 156: no light edge along the top row and left column")
    shadow = pixels(thumb, (0, 30, 14, 31)) + pixels(thumb, (13, 0, 14, 31))
    if max(lum(c) for c in shadow) > body - 10:
        fault("bitmap 156: no dark two-pixel shadow along the bottom and right")
    for working, off in ((155, 180), (156, 179), (158, 187)):
        a, b = pixels(images[working], visible(images[working])), pixels(images[off], visible(images[off]))
        if contrast(b) > 0.7 * contrast(a) or mean(lum(c) for c in b) < mean(lum(c) for c in a):
            fault("bitmap %d: not a faded version of %d" % (off, working))


def check_knob(images):
    for ident, pointer in ((158, (12, 12, 12)), (187, (160, 160, 160))):
        img = images[ident]
        cap = [img.getpixel((x, y)) for y in range(7, 18) for x in range(7, 18)
               if (x - 12) ** 2 + (y - 12) ** 2 <= 25]
        if abs(mean(lum(c) for c in cap) - lum(pointer)) < 40:
            fault("bitmap %d: a pointer in %s would not read on the face" % (ident, pointer))
        if lum(img.getpixel((1, 1))) < 150 or lum(img.getpixel((23, 1))) < 150:
            fault("bitmap %d: the corners are not panel stone" % ident)


def check_drop_down(images):
    rest, held = images[190], images[189]
    # The program writes the chosen item at the top left: that area must be light and plain.
    for ident, img in ((190, rest), (189, held)):
        text_area = pixels(img, (2, 2, 60, 14))
        if mean(lum(c) for c in text_area) < 200 or contrast(text_area) > 8:
            fault("bitmap %d: the text area is not light and plain" % ident)
    check_drop_down_text(images)
    a = ink_box(rest, (62, 2, 77, 15), 80)[0]
    b = ink_box(held, (62, 2, 77, 15), 80)[0]
    if a is None or b is None or (b[0] - a[0], b[1] - a[1]) != (1, 1):
        fault("bitmaps 190/189: the triangle does not move one pixel down and right (%s, %s)" % (a, b))


def check_drop_down_text(images):
    """Every item, at rest and held, ends clear of the arrow and anything drawn beside it."""
    for p in desc.PICTURES:
        if p.look != "dropdown":
            continue
        img = images[p.id]
        left = desc.DROP_DOWN_TEXT_LEFT[p.bevel]
        # The first column right of the text's start that holds a mark (separator or
        # triangle) in the rows the text covers; the bevel's own columns are not searched.
        marks = ink_box(img, (left, 2, p.width - 4, p.height - 4), 160)[0]
        arrow = marks[0] if marks else p.width - 3
        for item, width in desc.DROP_DOWN_ITEMS:
            gap = arrow - (left + width)
            if gap < desc.DROP_DOWN_TEXT_CLEARANCE:
                fault("bitmap %d: %r ends at column %d and the arrow's well starts at column %d; "
                      "%d blank columns must lie between" % (p.id, item, left + width - 1, arrow,
                                                             desc.DROP_DOWN_TEXT_CLEARANCE))


def contrast(colours):
    values = [lum(c) for c in colours]
    m = mean(values)
    return math.sqrt(mean((v - m) ** 2 for v in values))


def check_emblem(img):
    field = pixels(img, (3, 2, 20, 5)) + pixels(img, (3, 18, 20, 21))
    band = pixels(img, (3, 25, 20, 29))
    green = [c for c in pixels(img, (2, 2, 21, 21)) if c[1] > c[0] + 60 and c[1] > c[2] + 40]
    if not all(c[2] > c[0] for c in field):
        fault("bitmap 203: the field is not blue-grey")
    if not all(c[0] > 180 and c[1] > 130 and c[2] < 120 for c in band):
        fault("bitmap 203: no yellow band at the bottom")
    if len(green) < 24:
        fault("bitmap 203: no green wave")


def check_determinism(skin):
    """Drawing again gives the same bytes: the build is reproducible and up to date."""
    with tempfile.TemporaryDirectory() as out:
        subprocess.run([sys.executable, "-B", os.path.join(HERE, "skin.py"), "--out", out], check=True)
        for name in desc.output_files():
            if not filecmp.cmp(os.path.join(out, name), os.path.join(skin, name), shallow=False):
                fault("%s: drawing again gives different bytes" % name)


# ------------------------------------------------------------------ the sheet

def label(draw, xy, text, fnt, fill=(30, 30, 34)):
    draw.text(xy, text, font=fnt, fill=fill)


def panel_font():
    # Wine's own copy of the panel face, when the Wine fonts are installed.
    for path, size in ((WINE_SANS, 13), (LABEL_FONT, 10)):
        if os.path.isfile(path):
            return ImageFont.truetype(path, size)


def sunken_frame(d, l, t, r, b):
    d.line((l, b, l, t, r, t), fill=(155, 164, 172))
    d.line((l + 1, b - 1, l + 1, t + 1, r - 1, t + 1), fill=(95, 101, 97))
    d.line((l + 2, b - 1, r - 1, b - 1, r - 1, t + 2), fill=(187, 200, 216))
    d.line((l + 1, b, r, b, r, t + 1), fill=(231, 231, 231))


def in_context(images):
    """The left part of the main window as the program composes it, at its coordinates."""
    width, height = 540, 322
    panel = Image.new("RGB", (width, height), (246, 246, 244))
    for y in range(0, height, 76):
        for x in range(0, 300, 80):
            panel.paste(images[137].crop((0, 0, min(80, 300 - x), 80)), (x, y))
    # The about box tiles the same picture at a closer pitch, 54 across and 44 down.
    about = Image.new("RGB", (216, 100))
    for y in range(0, 100, 44):
        for x in range(0, 216, 54):
            about.paste(images[137], (x, y))
    about.paste(images[203], (10, 10))
    ok = images[159]
    about.paste(ok.crop((0, 0, ok.size[0] - 1, ok.size[1] - 1)), (140, 66))
    panel.paste(about, (316, 0))
    diagnostics = Image.new("RGB", (216, 70))
    for y in range(0, 70, 76):
        for x in range(0, 216, 80):
            diagnostics.paste(images[137], (x, y))
    for i, ident in enumerate((197, 199)):
        button = images[ident]
        diagnostics.paste(button.crop((0, 0, button.size[0] - 1, button.size[1] - 1)), (8 + 80 * i, 44))
    field = images[200]
    diagnostics.paste(field.crop((0, 0, field.size[0] - 1, field.size[1] - 1)), (80, 8))
    panel.paste(diagnostics, (316, 116))
    d = ImageDraw.Draw(panel)
    fnt = panel_font()

    def place(ident, x, y):
        # A control's window shows all but the bitmap's last column and row.
        img = images[ident]
        panel.paste(img.crop((0, 0, img.size[0] - 1, img.size[1] - 1)), (x, y))

    def text(x, y, words):
        d.text((x, y), words, font=fnt, fill=(0, 0, 0))

    for frame in ((4, 10, 89, 75), (4, 94, 89, 161), (4, 180, 89, 255)):
        sunken_frame(d, *frame)
    text(8, 12, "Clock")
    place(190, 8, 30)
    text(8, 30, "Internal Clock")
    place(189, 8, 53)
    text(9, 54, "48000 Hz")
    text(8, 96, "Synchronization")
    place(167, 10, 114)
    place(186, 10, 137)
    text(8, 182, "Volume/Balance")
    text(27, 193, "Control")
    place(184, 10, 210)
    place(181, 10, 233)
    text(18, 263, "Device Status:")
    text(316 + 8, 116 + 10, "Card State:")
    text(316 + 80, 116 + 8, "Ready - Multi Playing")
    d.text((316 + 52, 10), "Wave Device Settings", font=fnt, fill=(0, 0, 0))
    d.text((316 + 52, 28), "Version 1.0", font=fnt, fill=(0, 0, 0))
    strips = (("Analog", True, 96, 30, 213, 216), ("S/PDIF", False, 64, 14, 216, 217),
              ("ADAT 1-2", True, 20, 70, 209, 212))
    for k, (name, on, balance, position, play, rec) in enumerate(strips):
        x0 = 95 + 65 * k
        sunken_frame(d, x0, 10, x0 + 60, 283)
        text(x0 + 14, 15, name)
        place(158 if on else 187, x0 + 19, 34)
        angle = 3.926990816875 - balance * 4.71238898025 / 127
        cx, cy = x0 + 19 + 12, 34 + 12
        end = (cx + int(5 * math.cos(angle) + 0.5), cy - int(5 * math.sin(angle) + 0.5))
        d.line((cx, cy) + end, fill=(12, 12, 12) if on else (160, 160, 160), width=2)
        text(x0 + 10, 59, "Balance")
        place(155 if on else 180, x0 + 24, 80)
        thumb = images[156 if on else 179]
        panel.paste(thumb.crop((0, 0, 14, 32)), (x0 + 24, 80 + position - 15))
        text(x0 + 11, 206, "Volume")
        place(148 if on else 147, x0 + 5, 226)
        place(play, x0 + 9, 258)
        place(rec, x0 + 9, 270)
    place(192, 4, 300)
    place(205, 119, 300)
    return panel


def sheet(images, icons, path):
    scale = 2
    fnt = ImageFont.truetype(LABEL_FONT, 12)
    big = ImageFont.truetype(LABEL_FONT, 15)
    margin, gap = 16, 14
    width = 1400
    cells = []
    for p in desc.PICTURES:
        img = images[p.id].resize((p.width * scale, p.height * scale), Image.NEAREST)
        text = "%d  %dx%d" % (p.id, p.width, p.height)
        cells.append((img, text))
    for size, img in zip(desc.ICON_SIZES, icons):
        back = Image.new("RGBA", img.size, (255, 255, 255, 255))
        back.alpha_composite(img)
        cells.append((back.convert("RGB").resize((size * scale * 2, size * scale * 2), Image.NEAREST),
                      "icon %dx%d" % (size, size)))
    # Flow the cells into rows.
    rows, row, x = [], [], margin
    for img, text in cells:
        w = max(img.size[0], int(fnt.getlength(text)))
        if x + w > width - margin and row:
            rows.append(row)
            row, x = [], margin
        row.append((x, img, text))
        x += w + gap
    rows.append(row)
    context = in_context(images)
    context = context.resize((context.size[0] * scale, context.size[1] * scale), Image.NEAREST)
    height = margin + 24
    row_heights = [max(img.size[1] for _, img, _ in r) + 20 for r in rows]
    height += sum(h + gap for h in row_heights) + 30 + context.size[1] + margin
    out = Image.new("RGB", (width, height), (246, 246, 244))
    d = ImageDraw.Draw(out)
    label(d, (margin, margin - 4), "Skin pictures, shown twice their size (icon four times)", big)
    y = margin + 24
    for r, h in zip(rows, row_heights):
        for x, img, text in r:
            out.paste(img, (x, y))
            label(d, (x, y + img.size[1] + 3), text, fnt)
        y += h + gap
    label(d, (margin, y + 4), "On the panel: only the shown part of each control, tiled background", big)
    out.paste(context, (margin, y + 28))
    temp = path + ".part.png"
    out.save(temp)
    os.replace(temp, path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--skin", required=True, help="directory holding the drawn pictures")
    parser.add_argument("--sheet", required=True, help="where to save the contact sheet (PNG)")
    args = parser.parse_args()

    for name in desc.output_files():
        if not os.path.isfile(os.path.join(args.skin, name)):
            fault("%s: missing" % name)
    if faults:
        print("\n".join(faults))
        return 1
    images = {}
    for p in desc.PICTURES:
        path = os.path.join(args.skin, desc.bitmap_file(p))
        check_bmp(path, p)
        images[p.id] = Image.open(path).convert("RGB")
    check_ico(os.path.join(args.skin, desc.ICON_FILE))
    icons = icon_images(os.path.join(args.skin, desc.ICON_FILE))

    for p in desc.PICTURES:
        if p.look in ("push", "switch"):
            check_caption(p, images[p.id])
            check_outline(p, images[p.id])
    check_pressed_pairs(images)
    check_lamps(images)
    check_tile(images[137])
    check_fader(images)
    check_knob(images)
    check_drop_down(images)
    check_emblem(images[203])
    check_determinism(args.skin)

    sheet(images, icons, args.sheet)
    print("sheet: %s" % os.path.abspath(args.sheet))
    if faults:
        print("\n".join(faults))
        return 1
    print("%d pictures and the icon match their description" % len(desc.PICTURES))
    return 0


if __name__ == "__main__":
    sys.exit(main())
