#!/usr/bin/python3
"""Packs one release zip: the program, stripped, and its README.txt.

Usage: dist.py STRIP PROGRAM README ZIP
       dist.py --date FILE
STRIP is the binutils strip of the program's target (i686 or x86_64 MinGW).
The zip holds WaveSettings.exe and README.txt at its top, with the README's
lines ended CR LF for Windows' own editors. Both `make dist` and the tests
build the zips with this script, through the build trees' `wave_dist` target.

The same commit gives the same zip, byte for byte, wherever and whenever it is
packed: the program's header and the zip's entries carry the release date,
SOURCE_DATE_EPOCH when it is set, else the date of the commit checked out.
--date writes that date into FILE when FILE holds another, so that the build
packs again after a new commit even when the program is the same."""

import os
import subprocess
import sys
import tempfile
import time
import zipfile

PROGRAM_NAME = "WaveSettings.exe"
README_NAME = "README.txt"
REPOSITORY = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
# The earliest date a zip entry can carry, 1980-01-01.
ZIP_EPOCH = 315532800


def release_date():
    """Seconds since 1970 (UTC) of the release, and why there is none."""
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"]), None
    commit = subprocess.run(["git", "-C", REPOSITORY, "log", "-1", "--format=%ct"],
                            capture_output=True, text=True)
    if commit.returncode != 0 or not commit.stdout.strip():
        return None, commit.stderr.strip() or "no commit"
    return int(commit.stdout), None


def member(name, data, date):
    # A zip's dates are local times without a zone; the release date's UTC is the
    # same wherever it is packed.
    info = zipfile.ZipInfo(name, time.gmtime(max(date, ZIP_EPOCH))[:6])
    info.compress_type = zipfile.ZIP_DEFLATED
    info.create_system = 3
    info.external_attr = 0o644 << 16
    return info, data


def stripped(strip, program, date):
    # strip writes SOURCE_DATE_EPOCH into the header, else the time of day.
    environment = dict(os.environ, SOURCE_DATE_EPOCH=str(date))
    with tempfile.TemporaryDirectory() as work:
        out = os.path.join(work, PROGRAM_NAME)
        subprocess.run([strip, "--strip-all", "-o", out, program], check=True, env=environment)
        with open(out, "rb") as f:
            return f.read()


def readme(path):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    return "\r\n".join(text.splitlines()).encode("cp1252") + b"\r\n"


def write_date(path, date):
    text = "%d\n" % date
    try:
        with open(path) as f:
            if f.read() == text:
                return
    except OSError:
        pass
    with open(path, "w") as f:
        f.write(text)


def main():
    date, missing = release_date()
    if date is None:
        print("dist.py: no commit date for the release (%s); set SOURCE_DATE_EPOCH" % missing, file=sys.stderr)
        return 1
    if len(sys.argv) == 3 and sys.argv[1] == "--date":
        write_date(sys.argv[2], date)
        return 0
    if len(sys.argv) != 5:
        print(__doc__, file=sys.stderr)
        return 2
    strip, program, readme_path, zip_path = sys.argv[1:]
    members = [member(PROGRAM_NAME, stripped(strip, program, date), date),
               member(README_NAME, readme(readme_path), date)]
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
