#!/usr/bin/python3
"""Draws the skin pictures and the icon described in skin_description.py.

  skin.py --out DIR   writes DIR/bmpNNN.bmp for every bitmap and DIR/app.ico
  skin.py --list      prints the names of the files it writes, one a line
"""

import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import skin_description  # noqa: E402


def write(path, data):
    # Write beside the target and rename, so that a stopped build leaves no half file.
    temp = path + ".part"
    with open(temp, "wb") as f:
        f.write(data)
    os.replace(temp, path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    group = parser.add_mutually_exclusive_group(required=True)
    group.add_argument("--out", help="directory to write the pictures into")
    group.add_argument("--list", action="store_true", help="print the output file names")
    args = parser.parse_args()
    if args.list:
        print("\n".join(skin_description.output_files()))
        return 0

    import skin_draw
    import skin_files
    import skin_icon

    os.makedirs(args.out, exist_ok=True)
    try:
        for picture in skin_description.PICTURES:
            image = skin_draw.paint(picture)
            write(os.path.join(args.out, skin_description.bitmap_file(picture)),
                  skin_files.bmp_bytes(image))
    except skin_draw.FitError as e:
        print("skin.py: %s" % e, file=sys.stderr)
        return 1
    write(os.path.join(args.out, skin_description.ICON_FILE),
          skin_files.ico_bytes(skin_icon.icon_images(), skin_icon.PALETTE))
    return 0


if __name__ == "__main__":
    sys.exit(main())
