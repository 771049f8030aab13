#!/usr/bin/python3
"""End to end, as a Windows user gets the program: the x86_64 release zip
unpacked into an empty folder, its WaveSettings.exe started from there on the
virtual card's kernel driver, showing the panel as the card has it, and ended
with OK. Nothing but what the zip holds is in the folder.

Usage: e2e_dist.py BUILD_DIR ZIP SCREENSHOT_DIR WINDOW_TEXTS_EXE
BUILD_DIR is the win64 tree (its prefix must be set up: wine-env.sh setup)."""

import os
import shutil
import sys
import traceback
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import dist_zip  # noqa: E402
from e2e_panel import StepFailed, Suite  # noqa: E402


def unpack(zip_path, folder):
    """The zip's members into a folder made empty first; what the folder holds."""
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    with zipfile.ZipFile(zip_path) as z:
        z.extractall(folder)
    return sorted(os.listdir(folder))


def main():
    if len(sys.argv) != 5:
        print(__doc__, file=sys.stderr)
        return 2
    build, zip_path, screenshots, window_texts = (os.path.abspath(a) for a in sys.argv[1:])
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    failures = dist_zip.problems(zip_path, "x86_64")
    folder = os.path.join(build, "e2e-dist", "unpacked")
    unpacked = unpack(zip_path, folder)
    if unpacked != sorted(dist_zip.MEMBERS):
        failures.append("the unpacked folder holds %s" % unpacked)
    suite = Suite(root, build, screenshots, window_texts)
    suite.wine.program_exe = os.path.join(folder, "WaveSettings.exe")
    # Started from its own folder, as a double-click in Explorer starts it.
    os.chdir(folder)
    try:
        for name, step in (("the unpacked program shows the panel as the card has it", Suite.step_start),
                           ("OK ends it", Suite.step_ok)):
            suite.step = name
            print("step %s" % name, flush=True)
            try:
                step(suite)
            except StepFailed:
                break
            except Exception as error:  # the programs must still be stopped
                suite.check(False, "%s: %s" % (type(error).__name__, error))
                traceback.print_exc()
                break
    finally:
        suite.clean_up()
    failures += suite.failures
    left = sorted(os.listdir(folder))
    if left != unpacked:
        failures.append("the program left %s in its folder" % sorted(set(left) - set(unpacked)))
    if failures:
        print("Wine's output of the program: %s" % suite.wine.logs)
        print("%d check(s) failed:" % len(failures))
        for failure in failures:
            print("  " + failure)
        return 1
    print("e2e_dist: the release zip's program runs from an empty folder")
    return 0


if __name__ == "__main__":
    sys.exit(main())
