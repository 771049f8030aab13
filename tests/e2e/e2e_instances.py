#!/usr/bin/python3
"""Copies of the real WaveSettings.exe started at the same moment on the virtual
card's kernel driver, as an impatient double-click starts them: in every round
exactly one copy must stay, showing one main window, and the others must end.
The copy left is closed with its OK button before the next round.

Usage: e2e_instances.py BUILD_DIR [ROUNDS]
BUILD_DIR is the win64 tree (its prefix must be set up: wine-env.sh setup)."""

import os
import sys
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import e2e_layout as layout  # noqa: E402
from e2e_windows import Skin, SkinWindow  # noqa: E402
from e2e_wine import Wine  # noqa: E402
from e2e_x11 import Display, wait_until  # noqa: E402

MAIN_TITLE = "Zelk MIRVA PCI Wave Device Settings"
COPIES = 3
ROUNDS = 20
# Bounded waits: limits after which a missing reaction counts as a failure.
WINDOW_WAIT = 30
# Copies that lose the race end once the first copy's window is there.
SETTLE_WAIT = 30
SCREEN_WAIT = 8
EXIT_WAIT = 15
# Each start is killed by `timeout` after this, whatever the suite does.
LIFETIME = 180


class Rounds:
    def __init__(self, build):
        self.wine = Wine(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))), build, None)
        self.display = Display(self.wine.display)
        self.skin = Skin(build)
        self.failures = []

    def fail(self, number, what):
        self.failures.append("round %d: %s" % (number, what))
        print("    FAIL: %s" % what, flush=True)

    def display_is_ours(self):
        """A running copy is recognised by its title: another window with that
        title (another test's) would answer our starts."""
        return wait_until(lambda: not self.display.find(MAIN_TITLE), WINDOW_WAIT, 0.2)

    def close(self, number, window, program):
        """OK on the main window, as a person ends the program."""
        main = SkinWindow(self.display, self.skin, window, SCREEN_WAIT)
        if not main.found:
            self.fail(number, "the main window shows no background tile to find its OK button by")
            return
        main.click_rect(layout.OK)
        # The next round's window opens at the same place, and xdotool waits
        # for a pointer already over its target to move: take it off.
        self.display.move(0, 0)
        if not program.wait_exit(EXIT_WAIT):
            self.fail(number, "OK did not end the copy left running")

    def round(self, number):
        if not self.display_is_ours():
            self.fail(number, "a window titled %r is open before the start" % MAIN_TITLE)
            return
        programs = [self.wine.start_program("instances-%02d-%d" % (number, i), LIFETIME) for i in range(COPIES)]
        try:
            window = self.display.wait_window(MAIN_TITLE, WINDOW_WAIT)
            if window is None:
                self.fail(number, "no window titled %r appeared" % MAIN_TITLE)
                return

            def running():
                return [p for p in programs if p.process.poll() is None]

            # Settled: the losers have ended, or a second panel shows they will not.
            wait_until(lambda: len(running()) <= 1 or len(self.display.find(MAIN_TITLE)) > 1, SETTLE_WAIT, 0.1)
            left = running()
            processes = self.wine.program_processes()
            windows = self.display.find(MAIN_TITLE)
            print("    %d cop%s running, %d main window(s)" % (len(processes), "y" if len(processes) == 1 else "ies",
                                                             len(windows)), flush=True)
            if len(left) != 1 or len(processes) != 1:
                self.fail(number, "%d of %d copies still run (%d program processes in the prefix)" % (
                    len(left), COPIES, len(processes)))
            if len(windows) != 1:
                self.fail(number, "%d windows titled %r are open" % (len(windows), MAIN_TITLE))
            if len(left) == 1 and len(windows) == 1:
                self.close(number, windows[0], left[0])
        finally:
            for program in programs:
                program.kill()
            if not self.wine.wait_program_count(0, EXIT_WAIT):
                self.fail(number, "copies of the program still run after the round")

    def run(self, rounds):
        started = time.monotonic()
        for number in range(1, rounds + 1):
            print("round %d: %d copies at once" % (number, COPIES), flush=True)
            try:
                self.round(number)
            except Exception as error:  # one broken round must not stop the others
                self.fail(number, "%s: %s" % (type(error).__name__, error))
                traceback.print_exc()
        print("%d rounds took %.1f s" % (rounds, time.monotonic() - started), flush=True)


def main():
    if len(sys.argv) not in (2, 3):
        print(__doc__, file=sys.stderr)
        return 2
    rounds = int(sys.argv[2]) if len(sys.argv) == 3 else ROUNDS
    suite = Rounds(os.path.abspath(sys.argv[1]))
    suite.run(rounds)
    if suite.failures:
        print("Wine's output of each start of the program: %s" % suite.wine.logs)
        print("%d check(s) failed:" % len(suite.failures))
        for failure in suite.failures:
            print("  " + failure)
        return 1
    print("e2e_instances: one copy left in each of %d rounds" % rounds)
    return 0


if __name__ == "__main__":
    sys.exit(main())
