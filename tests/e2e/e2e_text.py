"""Reading the program's texts off the screen.

The windows draw their texts in black, without smoothing, in bitmap faces
that Wine ships as .fon files ("MS Sans Serif" for the panel font). A text
therefore appears as the exact glyph bitmaps of the face laid side by side:
the suite draws the text it expects from the same glyphs and compares the
black pixels, which reads any string, digits and letters alike, without
knowing anything of the program's drawing code."""

import os
import struct

FONT_FOLDER = "/usr/share/wine/fonts"
# The file of each face that Wine takes at 96 dots per inch in the ANSI code page.
FONT_FILES = {"MS Sans Serif": "sserife.fon"}
TEXT_COLOUR = (0, 0, 0)
FONT_RESOURCE = 0x8008


class Face:
    """One size of a bitmap face: glyph rows as bit strings, per character."""

    def __init__(self, data):
        version, = struct.unpack_from("<H", data, 0)
        self.height, = struct.unpack_from("<H", data, 0x58)
        first, last = data[0x5F], data[0x60]
        face_offset, = struct.unpack_from("<I", data, 0x69)
        self.name = data[face_offset:data.index(b"\0", face_offset)].decode("latin-1")
        table, entry = (0x76, 4) if version == 0x200 else (0x94, 6)
        self.glyphs = {}
        for i, code in enumerate(range(first, last + 1)):
            width, = struct.unpack_from("<H", data, table + i * entry)
            offset = struct.unpack_from("<H" if entry == 4 else "<I", data, table + i * entry + 2)[0]
            rows = []
            for y in range(self.height):
                bits = []
                for column in range((width + 7) // 8):
                    byte = data[offset + column * self.height + y]
                    bits.extend((byte >> (7 - b)) & 1 for b in range(8))
                rows.append(bits[:width])
            self.glyphs[chr(code)] = (width, rows)

    def mask(self, text):
        """The set of (x, y) pixels the text lights, drawn from (0, 0)."""
        lit, x = set(), 0
        for ch in text:
            width, rows = self.glyphs.get(ch, self.glyphs.get("?"))
            for y, row in enumerate(rows):
                for dx, bit in enumerate(row):
                    if bit:
                        lit.add((x + dx, y))
            x += width
        return lit, x


def load_fon(path):
    """The sizes held in a .fon file (a 16-bit executable with font resources)."""
    with open(path, "rb") as f:
        data = f.read()
    ne, = struct.unpack_from("<I", data, 0x3C)
    if data[ne:ne + 2] != b"NE":
        return []
    table = ne + struct.unpack_from("<H", data, ne + 0x24)[0]
    shift, = struct.unpack_from("<H", data, table)
    faces, at = [], table + 2
    while True:
        kind, count = struct.unpack_from("<HH", data, at)
        if kind == 0:
            break
        at += 8
        for _ in range(count):
            offset, length = struct.unpack_from("<HH", data, at)
            if kind == FONT_RESOURCE:
                faces.append(Face(data[offset << shift:(offset + length) << shift]))
            at += 12
    return faces


class PanelFont:
    """The bitmap faces the program's texts use; a text is found on screen when
    one size of the face lays it out exactly as the black pixels show."""

    def __init__(self):
        self.faces = []
        for name, file in FONT_FILES.items():
            self.faces.extend(f for f in load_fon(os.path.join(FONT_FOLDER, file)) if f.name == name)
        self.chosen = {}

    def sizes(self, face):
        known = self.chosen.get(face)
        candidates = [f for f in self.faces if f.name == face]
        return [known] + [f for f in candidates if f is not known] if known else candidates

    @staticmethod
    def black(picture):
        return {(x, y) for y in range(picture.height) for x in range(picture.width)
                if picture.pixel(x, y) == TEXT_COLOUR}

    def shows_in(self, picture, text, face="MS Sans Serif"):
        """Whether the picture holds the text in black, drawn from its top-left
        corner and clipped at its right edge, and no other black pixel on the
        text's line."""
        shown = self.black(picture)
        for size in self.sizes(face):
            lit, width = size.mask(text)
            placed = {(x, y) for x, y in lit if x < picture.width and y < picture.height}
            if not placed or not placed <= shown:
                continue
            # A blank column after the text included: not a longer text.
            line = {(x, y) for x, y in shown if y < size.height and x < width + 2}
            if line == placed:
                self.chosen[face] = size
                return True
        return False

    def shows(self, window, rect, text, face="MS Sans Serif"):
        """Whether a window shows text drawn from the top-left corner of rect
        (x, y, width, height), clipped to it."""
        return self.shows_in(window.grab(rect), text, face)
