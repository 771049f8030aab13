#!/usr/bin/python3
"""Packs one release zip: the program, stripped, and its README.txt.

Usage: dist.py STRIP PROGRAM README ZIP
STRIP is the binutils strip of the program's target (i686 or x86_64 MinGW).
The zip holds WaveSettings.exe and README.txt at its top, with the README's
lines ended CR LF for Windows' own editors. Both `make dist` and the tests
build the zips with this script, through the build trees' `wave_dist` target."""

import os
import subprocess
import sys
import tempfile
import zipfile

PROGRAM_NAME = "WaveSettings.exe"
README_NAME = "README.txt"
# A fixed date for every member: the same build gives the same zip.
ZIP_DATE = (2026, 1, 1, 0, 0, 0)


def member(name, data):
    info = zipfile.ZipInfo(name, ZIP_DATE)
    info.compress_type = zipfile.ZIP_DEFLATED
    info.external_attr = 0o644 << 16
    return info, data


def stripped(strip, program):
    with tempfile.TemporaryDirectory() as work:
        out = os.path.join(work, PROGRAM_NAME)
        subprocess.run([strip, "--strip-all", "-o", out, program], check=True)
        with open(out, "rb") as f:
            return f.read()


def readme(path):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    return "\r\n".join(text.splitlines()).encode("cp1252") + b"\r\n"


def main():
    if len(sys.argv) != 5:
        print(__doc__, file=sys.stderr)
        return 2
    strip, program, readme_path, zip_path = sys.argv[1:]
    members = [member(PROGRAM_NAME, stripped(strip, program)), member(README_NAME, readme(readme_path))]
    os.makedirs(os.path.dirname(os.path.abspath(zip_path)), exist_ok=True)
    # Written aside and renamed, so an interrupted run leaves no half zip behind.
    partial = zip_path + ".part"
    with zipfile.ZipFile(partial, "w") as z:
        for info, data in members:
            z.writestr(info, data)
    os.replace(partial, zip_path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
