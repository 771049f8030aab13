#!/usr/bin/python3
"""The release zips come out byte for byte the same whenever they are packed: each
is packed twice from the same program, with scripts/dist.py as the build runs it,
two seconds of the clock apart, and the two are compared.

Usage: dist_reproducible.py STRIP PROGRAM README [STRIP PROGRAM README ...]
one triple per build tree, as that tree's wave_dist target packs it."""

import os
import subprocess
import sys
import tempfile
import time
import zipfile

DIST = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "dist.py")
# The program's header counts whole seconds and a zip entry's date two of them: packs
# further apart than that would show a time stamp taken from the clock.
APART = 2.0


def pack(strip, program, readme, zip_path):
    subprocess.run([sys.executable, "-B", DIST, strip, program, readme, zip_path], check=True)
    with open(zip_path, "rb") as f:
        return f.read()


def first_difference(x, y):
    return next((i for i, (p, q) in enumerate(zip(x, y)) if p != q), min(len(x), len(y)))


def differences(first, second):
    """Where two zips differ, as sentences: the members whose bytes or dates differ,
    else the first byte of the files that does."""
    with zipfile.ZipFile(first) as a, zipfile.ZipFile(second) as b:
        if a.namelist() != b.namelist():
            return ["members %s, then %s" % (a.namelist(), b.namelist())]
        found = []
        for x, y in zip(a.infolist(), b.infolist()):
            if a.read(x) != b.read(y):
                found.append("%s differs from byte %#x" % (x.filename, first_difference(a.read(x), b.read(y))))
            if x.date_time != y.date_time:
                found.append("%s dated %s, then %s" % (x.filename, x.date_time, y.date_time))
    if found:
        return found
    with open(first, "rb") as f, open(second, "rb") as g:
        return ["the zips differ from byte %#x" % first_difference(f.read(), g.read())]


def main():
    arguments = sys.argv[1:]
    if not arguments or len(arguments) % 3:
        print(__doc__, file=sys.stderr)
        return 2
    trees = [arguments[i:i + 3] for i in range(0, len(arguments), 3)]
    with tempfile.TemporaryDirectory() as work:
        started = time.time()
        first = []
        for n, (strip, program, readme) in enumerate(trees):
            path = os.path.join(work, "first-%d.zip" % n)
            first.append((path, pack(strip, program, readme, path)))
        mark = started + APART
        while time.time() < mark:
            time.sleep(mark - time.time())
        failures = 0
        for n, (strip, program, readme) in enumerate(trees):
            path = os.path.join(work, "second-%d.zip" % n)
            again = pack(strip, program, readme, path)
            same = again == first[n][1]
            print("%s: %s" % (program, "the same zip twice" if same else "; ".join(differences(first[n][0], path))),
                  flush=True)
            failures += not same
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
