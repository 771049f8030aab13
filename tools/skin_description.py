"""What every skin picture shows: one entry per bitmap identifier, and the icon.

The drawing program (skin.py) paints each entry from this table and the check
(skin_check.py) measures the files against it. Every bitmap is written as an
uncompressed 24-bit BMP named bmpNNN.bmp; the icon as app.ico.

Looks:
  stone     background tile, seamless when tiled 80 across and 76 down
  push      push-button face with a caption; raised at rest, sunken while held
  switch    switch face with a caption beside a round lamp; `lamp` names the
            lamp colour and `lit` says whether it glows
  lamp      flat stream-state label with its word; lit or dark (grey idle)
  track     fader track: stone strip with a sunken groove (faded: switched off)
  thumb     fader cap: dark and ribbed, bright centre line (faded: switched off)
  knob      round balance knob with end ticks (faded: switched off)
  dropdown  drop-down face with a down-pointing triangle; raised or sunken
  strip     textured field behind the diagnostics values
  emblem    green wave over a blue-grey field above a yellow band

A control's window is one pixel narrower and lower than its bitmap, so every
face is drawn inside the first width-1 columns and height-1 rows.
"""

from collections import namedtuple

RAISED = "raised"
SUNKEN = "sunken"

Picture = namedtuple("Picture", "id width height look caption bevel lamp lit faded",
                     defaults=(None, None, None, False, False))

PICTURES = [
    Picture(137, 80, 80, "stone"),

    # Sync Play: off-up 141, on-up 142, off-down 149, on-down 140.
    Picture(140, 67, 18, "switch", "Sync Play", SUNKEN, "cyan", lit=False),
    Picture(141, 67, 18, "switch", "Sync Play", RAISED, "cyan", lit=False),
    Picture(142, 67, 18, "switch", "Sync Play", RAISED, "cyan", lit=True),
    Picture(149, 67, 18, "switch", "Sync Play", SUNKEN, "cyan", lit=True),

    # Sync Rec: off-up 144, on-up 145, off-down 150, on-down 143.
    Picture(143, 67, 18, "switch", "Sync Rec", SUNKEN, "yellow", lit=False),
    Picture(144, 67, 18, "switch", "Sync Rec", RAISED, "yellow", lit=False),
    Picture(145, 67, 18, "switch", "Sync Rec", RAISED, "yellow", lit=True),
    Picture(150, 67, 18, "switch", "Sync Rec", SUNKEN, "yellow", lit=True),

    # Control Enable: off-up 147, on-up 148, off-down 151, on-down 146.
    Picture(146, 53, 30, "switch", "Control\nEnable", SUNKEN, "green", lit=False),
    Picture(147, 53, 30, "switch", "Control\nEnable", RAISED, "green", lit=False),
    Picture(148, 53, 30, "switch", "Control\nEnable", RAISED, "green", lit=True),
    Picture(151, 53, 30, "switch", "Control\nEnable", SUNKEN, "green", lit=True),

    Picture(155, 15, 127, "track"),
    Picture(180, 15, 127, "track", faded=True),
    Picture(156, 15, 32, "thumb"),
    Picture(179, 15, 32, "thumb", faded=True),
    Picture(158, 25, 25, "knob"),
    Picture(187, 25, 25, "knob", faded=True),

    Picture(159, 65, 23, "push", "OK", RAISED),
    Picture(160, 65, 23, "push", "OK", SUNKEN),
    Picture(162, 61, 18, "push", "Help...", RAISED),
    Picture(163, 61, 18, "push", "Help...", SUNKEN),

    # Auto Sync: off-up 166, on-up 167, off-down 164, on-down 165.
    Picture(164, 76, 18, "switch", "Auto Sync", SUNKEN, "red", lit=True),
    Picture(165, 76, 18, "switch", "Auto Sync", SUNKEN, "red", lit=False),
    Picture(166, 76, 18, "switch", "Auto Sync", RAISED, "red", lit=False),
    Picture(167, 76, 18, "switch", "Auto Sync", RAISED, "red", lit=True),

    Picture(172, 106, 18, "push", "Retrieve Defaults", SUNKEN),
    Picture(173, 106, 18, "push", "Retrieve Defaults", RAISED),
    Picture(174, 106, 18, "push", "Save as Defaults", SUNKEN),
    Picture(175, 106, 18, "push", "Save as Defaults", RAISED),
    Picture(181, 76, 18, "push", "Disable All", SUNKEN),
    Picture(182, 76, 18, "push", "Disable All", RAISED),
    Picture(183, 76, 18, "push", "Enable All", SUNKEN),
    Picture(184, 76, 18, "push", "Enable All", RAISED),
    Picture(185, 76, 18, "push", "Custom...", SUNKEN),
    Picture(186, 76, 18, "push", "Custom...", RAISED),

    Picture(189, 80, 18, "dropdown", bevel=SUNKEN),
    Picture(190, 80, 18, "dropdown", bevel=RAISED),

    Picture(191, 106, 18, "push", "Audio Settings...", SUNKEN),
    Picture(192, 106, 18, "push", "Audio Settings...", RAISED),
    Picture(194, 92, 18, "push", "Diagnostics...", SUNKEN),
    Picture(195, 92, 18, "push", "Diagnostics...", RAISED),
    Picture(196, 72, 18, "push", "Reset Card", SUNKEN),
    Picture(197, 72, 18, "push", "Reset Card", RAISED),
    Picture(198, 72, 18, "push", "Free Card", SUNKEN),
    Picture(199, 72, 18, "push", "Free Card", RAISED),

    Picture(200, 130, 18, "strip"),
    Picture(203, 24, 32, "emblem"),

    Picture(204, 114, 18, "push", "Hardware Meters...", SUNKEN),
    Picture(205, 114, 18, "push", "Hardware Meters...", RAISED),

    # Stream lamps: lit while the stream is open or running, grey while idle.
    Picture(209, 44, 10, "lamp", "Playing", lamp="cyan", lit=True),
    Picture(210, 44, 10, "lamp", "Play Open", lamp="green", lit=True),
    Picture(212, 44, 10, "lamp", "Rec Open", lamp="green", lit=True),
    Picture(213, 44, 10, "lamp", "Recording", lamp="red", lit=True),
    Picture(216, 44, 10, "lamp", "Play Idle", lamp="grey", lit=False),
    Picture(217, 44, 10, "lamp", "Rec Idle", lamp="grey", lit=False),
]

# The items the program writes on the drop-down faces, with their advance widths in
# pixels in the panel font (MS Sans Serif, 9 points at 96 dots per inch, as the
# program measures them under Wine with GetTextExtentPoint32).
DROP_DOWN_ITEMS = (
    ("Internal Clock", 65),
    ("ADAT Clock", 59),
    ("S/PDIF Clock", 66),
    ("Word Clock", 56),
    ("44100 Hz", 46),
    ("48000 Hz", 46),
)
# The first column of the text: 3 pixels in at rest, one more on the held face.
DROP_DOWN_TEXT_LEFT = {RAISED: 3, SUNKEN: 4}
# Blank columns every item keeps between its end and the arrow's well.
DROP_DOWN_TEXT_CLEARANCE = 2

# Group icon 128: two images, 16 colours (4 bits per pixel) each.
ICON_FILE = "app.ico"
ICON_SIZES = (32, 16)
ICON_BITS = 4

BITMAP_BITS = 24


def bitmap_file(picture):
    return "bmp%03d.bmp" % picture.id


def output_files():
    """Every file the drawing program writes, in a fixed order."""
    return [bitmap_file(p) for p in PICTURES] + [ICON_FILE]
