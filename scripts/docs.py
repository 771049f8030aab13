#!/usr/bin/python3
"""The pictures of docs/ are screenshots that the Win32 tests save: each is what
the program draws now, pixel for pixel.

Usage: docs.py check SCREENSHOTS DOCS
       docs.py update SCREENSHOTS DOCS
SCREENSHOTS is the folder the tests save into (build/screenshots). check fails
when a picture of DOCS differs from its screenshot, or comes from none; update
writes each picture whose pixels differ from its screenshot (`make docs`)."""

import os
import sys

from PIL import Image

# Picture in docs/: the screenshot it is, by the name the test saves it under.
PICTURES = {
    "main-window.png": "main_window.png",
    "clock-list.png": "clock_list.png",
    "fader-readout.png": "fader_readout.png",
    "diagnostics.png": "diagnostics.png",
    "custom-sync.png": "custom_sync.png",
    "about.png": "about.png",
}


def pixels(path):
    with Image.open(path) as image:
        rgb = image.convert("RGB")
        return rgb.size, rgb.tobytes()


def difference(picture, screenshot):
    """How the picture differs from the screenshot, or None when it shows the same."""
    if not os.path.exists(picture):
        return "missing"
    (size, shown), (wanted_size, wanted) = pixels(picture), pixels(screenshot)
    if size != wanted_size:
        return "%d x %d pixels, the program draws %d x %d" % (size + wanted_size)
    if shown == wanted:
        return None
    differing = [i // 3 for i in range(0, len(shown), 3) if shown[i:i + 3] != wanted[i:i + 3]]
    first = differing[0]
    return "%d pixels differ, the first at (%d, %d)" % (len(differing), first % size[0], first // size[0])


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in ("check", "update"):
        print(__doc__, file=sys.stderr)
        return 2
    mode, screenshots, docs = sys.argv[1:]
    problems = []
    for picture, screenshot in PICTURES.items():
        source = os.path.join(screenshots, screenshot)
        target = os.path.join(docs, picture)
        if not os.path.exists(source):
            problems.append("%s: no screenshot %s (its test did not run)" % (picture, source))
            continue
        found = difference(target, source)
        if found is None:
            continue
        if mode == "update":
            with Image.open(source) as image:
                image.convert("RGB").save(target, optimize=True)
            print("%s: taken from %s" % (target, source))
        else:
            problems.append("%s: %s" % (target, found))
    strays = sorted(set(n for n in os.listdir(docs) if n.endswith(".png")) - set(PICTURES))
    problems += ["%s: no screenshot is this picture" % os.path.join(docs, n) for n in strays]
    for problem in problems:
        print(problem)
    if mode == "check" and not problems:
        print("docs/ shows what the program draws: %s" % ", ".join(PICTURES))
    elif mode == "check":
        print("make docs takes the pictures again")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
