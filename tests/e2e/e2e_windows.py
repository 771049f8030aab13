"""The program's windows seen from outside: found by title, their client area
located on the screen, and their controls read back from the pixels by
comparing them with the skin bitmaps the program draws them from."""

import math
import os

import e2e_layout as layout
from e2e_image import load_bmp
from e2e_x11 import wait_until

# Pictures a control shows fully are blitted unchanged; a few pixels of slack
# keep a check from failing on something unrelated, never enough to mistake
# one look for another (each comparison picks the best of the candidates).
MATCH = 0.99


class Skin:
    """The skin bitmaps of the build, by resource number."""

    def __init__(self, build):
        self.folder = os.path.join(build, "skin")
        self.cache = {}

    def __getitem__(self, number):
        if number not in self.cache:
            self.cache[number] = load_bmp(os.path.join(self.folder, "bmp%03d.bmp" % number))
        return self.cache[number]


class SkinWindow:
    """One top-level window of the program, by its X window id."""

    def __init__(self, display, skin, window, timeout=0):
        """Looks for the client area until the window has painted its
        background, or for `timeout` seconds."""
        self.display = display
        self.skin = skin
        self.window = window
        self.frame = display.geometry(window)
        self.origin = wait_until(self._find_client_origin, timeout, 0.05)

    def _find_client_origin(self):
        """Every window of the program tiles bitmap 137 from its client's top-left
        corner; the first rows of that tile are left uncovered in all of them.
        The frame's size tells nothing of the caption's height, this does."""
        fx, fy, fw, fh = self.frame
        picture = self.display.grab(fx, fy, min(fw, 120), min(fh, 80))
        tile = self.skin[layout.TILE]
        wanted = [tile.row_bytes(y, 0, 50) for y in range(5)]
        for dy in range(0, min(60, picture.height - 5)):
            for dx in range(0, min(20, picture.width - 50)):
                if all(picture.row_bytes(dy + y, dx, 50) == wanted[y] for y in range(5)):
                    return fx + dx, fy + dy
        return None

    @property
    def found(self):
        return self.origin is not None

    def screen_point(self, x, y):
        return self.origin[0] + x, self.origin[1] + y

    def click(self, x, y, repeat=1):
        self.display.click(*self.screen_point(x, y), repeat=repeat)

    def click_rect(self, rect):
        self.click(*layout.centre(rect))

    def drag(self, start, end, steps=8):
        self.display.drag(self.screen_point(*start), self.screen_point(*end), steps)

    def grab(self, rect):
        x, y, w, h = rect
        return self.display.grab(self.origin[0] + x, self.origin[1] + y, w, h)

    # Reading controls back.
    def match(self, rect, number):
        x, y, w, h = rect
        return self.grab(rect).same_fraction(self.skin[number].crop(0, 0, w, h))

    def look(self, rect, candidates):
        """The name of the candidate bitmap the control shows best, and how well."""
        x, y, w, h = rect
        shown = self.grab(rect)
        scores = {name: shown.same_fraction(self.skin[number].crop(0, 0, w, h))
                  for name, number in candidates.items()}
        best = max(scores, key=scores.get)
        return (best, scores[best]) if scores[best] >= MATCH else (None, scores[best])

    def wait_look(self, rect, candidates, wanted, timeout):
        return wait_until(lambda: self.look(rect, candidates)[0] == wanted, timeout, 0.03)

    def fader(self, rect):
        """(look, thumb row) of a fader: the track and thumb pair and the thumb
        position that reproduce the most rows of what is on screen."""
        x, y, w, h = rect
        shown = self.grab(rect)
        rows = [shown.row_bytes(r) for r in range(h)]
        best = (None, None, -1)
        for look, (track_id, thumb_id) in (("on", (layout.TRACK_ON, layout.THUMB_ON)),
                                           ("off", (layout.TRACK_OFF, layout.THUMB_OFF))):
            track, thumb = self.skin[track_id], self.skin[thumb_id]
            track_rows = [track.row_bytes(r, 0, w) for r in range(h)]
            thumb_rows = [thumb.row_bytes(r, 0, w) for r in range(thumb.height)]
            for position in range(layout.FADER_TOP, layout.FADER_BOTTOM + 1):
                top = position - layout.THUMB_CENTRE
                same = 0
                for r in range(h):
                    t = r - top
                    expected = thumb_rows[t] if 0 <= t < thumb.height else track_rows[r]
                    same += rows[r] == expected
                if same > best[2]:
                    best = (look, position, same)
        look, position, same = best
        return (look, position) if same >= h * MATCH else (None, None)

    def wait_fader(self, rect, look, position, timeout):
        return wait_until(lambda: self.fader(rect) == (look, position), timeout, 0.03)

    def knob(self, rect):
        """(look, balance) of a knob: the face that matches away from the pointer
        and the balance that the pointer's direction stands for (to within the
        few steps that a five-pixel pointer can show)."""
        x, y, w, h = rect
        shown = self.grab(rect)
        best = None
        for look, number, colour in (("on", layout.KNOB_ON, layout.POINTER_ON),
                                     ("off", layout.KNOB_OFF, layout.POINTER_OFF)):
            face = self.skin[number].crop(0, 0, w, h)
            differing = shown.differing_pixels(face)
            if best is None or len(differing) < len(best[1]):
                best = (look, differing, colour)
        look, differing, colour = best
        pointer = [p for p in differing if shown.pixel(*p) == colour]
        # Anything beyond the pointer's reach means this is not a knob face.
        cx, cy = layout.KNOB_CENTRE
        if not pointer or len(pointer) < len(differing) * MATCH or \
                any(math.hypot(px - cx, py - cy) > layout.KNOB_RADIUS + 2.5 for px, py in differing):
            return None, None
        mx = sum(px + 0.5 for px, _ in pointer) / len(pointer) - (cx + 0.5)
        my = sum(py + 0.5 for _, py in pointer) / len(pointer) - (cy + 0.5)
        angle = math.atan2(-my, mx)
        # The sweep leaves a gap at the bottom: read angles there as the nearer end.
        turn = 127.0 * 2 * math.pi / 4.71238898025
        value = ((3.926990816875 - angle) * 127.0 / 4.71238898025) % turn
        if value > (127.0 + turn) / 2:
            value -= turn
        return look, value

    def wait_knob(self, rect, look, value, timeout, tolerance=6):
        def ok():
            shown_look, shown_value = self.knob(rect)
            return shown_look == look and shown_value is not None and abs(shown_value - value) <= tolerance
        return wait_until(ok, timeout, 0.03)
