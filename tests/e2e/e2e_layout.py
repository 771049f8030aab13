"""Where things are on the program's windows at dialog base units 8 x 16 (the
prefix's fonts give those), and the value laws a user sees through them.

Kept independent of the program's sources on purpose: the suite checks the
program against these numbers, so it must not read them from the program."""

import math

CHANNELS = 10
CHANNEL_NAMES = ["Analog", "S/PDIF", "ADAT 1-2", "ADAT 3-4", "ADAT 5-6", "ADAT 7-8",
                 "Stream 1-2", "Stream 3-4", "Stream 5-6", "Stream 7-8"]
RECORD_LAMPS = 6


# A control's window is one pixel narrower and lower than its bitmap.
def control(x, y, bitmap_w, bitmap_h):
    return (x, y, bitmap_w - 1, bitmap_h - 1)


def centre(rect):
    x, y, w, h = rect
    return (x + w // 2, y + h // 2)


# Main window (client pixels).
def switch_rect(k):
    return control(100 + 65 * k, 226, 53, 30)


def fader_rect(k):
    return control(119 + 65 * k, 80, 15, 127)


def knob_rect(k):
    return control(114 + 65 * k, 34, 25, 25)


KNOB_CENTRE = (12, 12)
KNOB_RADIUS = 5


def play_lamp_rect(k):
    return control(104 + 65 * k, 258, 44, 10)


def record_lamp_rect(k):
    return control(104 + 65 * k, 270, 44, 10)


# Channel names, drawn from each rectangle's top-left corner (x, y, width, height).
_NAME_RECTS = [(109, 15, 150, 42), (173, 15, 218, 42), (231, 15, 283, 42), (296, 15, 348, 42),
               (361, 15, 413, 42), (426, 15, 478, 42), (490, 15, 543, 42), (555, 15, 608, 42),
               (620, 15, 673, 42), (685, 15, 738, 42)]


def channel_name_rect(k):
    left, top, right, bottom = _NAME_RECTS[k]
    return (left, top, right - left, bottom - top)


CLOCK_LIST = control(8, 30, 80, 18)
RATE_LIST = control(8, 53, 80, 18)
AUTO_SYNC = control(10, 114, 76, 18)
CUSTOM = control(10, 137, 76, 18)
ENABLE_ALL = control(10, 210, 76, 18)
DISABLE_ALL = control(10, 233, 76, 18)
DIAGNOSTICS = control(242, 300, 92, 18)
SAVE_DEFAULTS = control(361, 300, 106, 18)
RETRIEVE_DEFAULTS = control(476, 300, 106, 18)
OK = control(676, 298, 65, 23)


def list_text_rect(rect):
    """Where a drop-down writes the item it shows: inset 3 across and 1 down."""
    x, y, w, h = rect
    return (x + 3, y + 1, w - 7, h - 3)


CLOCK_ITEMS = ["Internal Clock", "ADAT Clock", "S/PDIF Clock", "Word Clock"]
RATE_ITEMS = ["44100 Hz", "48000 Hz"]

# Diagnostics window.
DIAG_OK = control(200, 140, 65, 23)
DIAG_RESET = control(90, 142, 72, 18)
DIAG_FREE = control(10, 142, 72, 18)


def diag_field_rect(row):
    return control(100, 8 + 25 * row, 130, 18)



# Custom synchronization window.
def sync_record_rect(i):
    return control(10 + 80 * i, 40, 67, 18)


def sync_playback_rect(i):
    return control(10 + 80 * i, 60, 67, 18)


SYNC_OK = control(738, 108, 65, 23)
SYNC_PLAYBACK_ALL_ON = control(415, 108, 76, 18)

# About box.
ABOUT_OK = control(250, 60, 65, 23)
ABOUT_EMBLEM = (10, 10, 24, 32)
# Title, version and notice lines (x, y, width, height).
ABOUT_LINES = [(50, 10, 210, 15), (50, 30, 210, 15), (50, 50, 200, 10)]

# Bitmaps by what they show.
TILE = 137
SWITCH_OFF, SWITCH_ON = 147, 148
AUTO_SYNC_OFF, AUTO_SYNC_ON = 166, 167
TRACK_ON, THUMB_ON, TRACK_OFF, THUMB_OFF = 155, 156, 180, 179
KNOB_ON, KNOB_OFF = 158, 187
POINTER_ON, POINTER_OFF = (12, 12, 12), (160, 160, 160)
PLAY_LAMP_LOOKS = {"idle": 216, "open": 210, "running": 209}
RECORD_LAMP_LOOKS = {"idle": 217, "open": 212, "running": 213}
SYNC_RECORD_OFF, SYNC_RECORD_ON = 144, 145
SYNC_PLAYBACK_OFF, SYNC_PLAYBACK_ON = 141, 142
OK_UP = 159
EMBLEM = 203


# Fader: track 127 high, thumb 32 high with insets 1 (top) and 2 (bottom),
# margins 16 (bottom) and 15 (top), taper exponent 8.
FADER_TOP, FADER_BOTTOM, THUMB_CENTRE = 14, 111, 15
TAPER_BASE = 2.0 ** 8
FULL = 65535


def _inverse_taper(y):
    return math.log(1.0 + (TAPER_BASE - 1.0) * y) / math.log(TAPER_BASE)


def _taper(x):
    return (TAPER_BASE ** x - 1.0) / (TAPER_BASE - 1.0)


def fader_position(value):
    """The thumb's centre row in the fader's window for a value 0..65535."""
    return int(FADER_BOTTOM - (FADER_BOTTOM - FADER_TOP) * _inverse_taper(value / FULL))


def fader_value(position):
    """The value a thumb dragged to this row sends."""
    position = min(max(position, FADER_TOP), FADER_BOTTOM)
    return int(_taper((FADER_BOTTOM - position) / (FADER_BOTTOM - FADER_TOP)) * FULL)


def knob_pointer_end(value):
    """The pointer's end in the knob's window for a balance 0..127."""
    angle = 3.926990816875 - value * 4.71238898025 / 127.0

    def half_up(v):
        whole = int(v)
        return whole + 1 if v - whole >= 0.5 else whole

    cx, cy = KNOB_CENTRE
    return (half_up(cx + KNOB_RADIUS * math.cos(angle)), half_up(cy - KNOB_RADIUS * math.sin(angle)))


def knob_drag_value(start_value, dx, dy):
    """A drag right or up turns the knob up, one step a pixel, held to 0..127."""
    return min(max(start_value + dx - dy, 0), 127)


def levels_from_volume_balance(v, b):
    if b < 62:
        return v, v - (64 - b) * v // 64
    if b > 66:
        return v - (b - 64) * v // 63, v
    return v, v


def balance_from_levels(left, right):
    """The position whose levels at volume max(left, right) lie nearest; of equals,
    the one nearest the centre."""
    m = max(left, right)

    def distance(b):
        l, r = levels_from_volume_balance(m, b)
        return abs(l - left) + abs(r - right), abs(b - 64)

    return min(range(128), key=distance)


def clock_mode(clock_index, rate_index):
    return 2 * clock_index + (1 if rate_index == 0 else 0)


def diagnostics_frequency(measurement):
    f = 45056000 // (measurement + 1)
    if 47600 < f < 48400:
        return 48000
    if 43700 < f < 44500:
        return 44100
    return f
