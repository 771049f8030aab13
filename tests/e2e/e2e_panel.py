#!/usr/bin/python3
"""End to end, as a person would: the real WaveSettings.exe on the virtual
card's kernel driver, worked with the mouse on the private X display, and
read back where a person or the card would see the result: on screen and in
`cardctl status --json`.

Usage: e2e_panel.py BUILD_DIR SCREENSHOT_DIR WINDOW_TEXTS_EXE
BUILD_DIR is the win64 tree (its prefix must be set up: wine-env.sh setup).
Screenshots of the four windows are written to SCREENSHOT_DIR.
WINDOW_TEXTS_EXE is the helper that reads the texts of message boxes."""

import os
import sys
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import e2e_layout as layout  # noqa: E402
from e2e_text import PanelFont  # noqa: E402
from e2e_windows import Skin, SkinWindow  # noqa: E402
from e2e_wine import Wine  # noqa: E402
from e2e_x11 import Display, wait_until  # noqa: E402

MAIN_TITLE = "Zelk MIRVA PCI Wave Device Settings"
NO_CARD_TITLE = "MIRVA PCI Wave Settings"
CUSTOM_TITLE = "Zelk MIRVA PCI Custom Synchronization"
DIAGNOSTICS_TITLE = "Zelk MIRVA PCI Diagnostics"
ABOUT_TITLE = "About Tessor"
# Wine's own notepad stands for another program in front.
OTHER_PROGRAM = "notepad.exe"
OTHER_TITLE = "Untitled - Notepad"

# Bounded waits. The program answers a click in milliseconds; these are the
# limits after which a missing reaction counts as a failure.
WINDOW_WAIT = 30
SCREEN_WAIT = 8
CARD_WAIT = 8
# The lamps are polled once a second: a stream started with cardctl must show
# within that second and a half-second's grace.
LAMP_DEADLINE = 1.5
# A slow driver: every request takes SLOW_MS. The click must still reach the card
# within a few seconds, however many lamp polls the delay has lasted.
SLOW_MS = 100
SLOW_POLLS = 3
SLOW_CARD_WAIT = 10
# Per request while the diagnostics window's first values are read off the screen.
DIAG_SLOW_MS = 500
SLOT = 0  # the one demo card answers as driver index 0; the panel works on it
# The driver started again: the panel must show what the card holds within this,
# counted from when the driver answers again.
RETURN_DEADLINE = 2.0
RETURN_WAIT = 15


class StepFailed(Exception):
    pass


class Suite:
    def __init__(self, root, build, screenshots, window_texts):
        self.wine = Wine(root, build, window_texts)
        self.display = Display(self.wine.display)
        self.skin = Skin(build)
        self.font = PanelFont()
        self.screenshots = screenshots
        os.makedirs(screenshots, exist_ok=True)
        self.programs = []
        self.main = None
        self.failures = []
        self.step_failed = False

    # Checks. Each records what a person would have seen go wrong.
    def check(self, condition, what):
        if not condition:
            self.failures.append("%s: %s" % (self.step, what))
            self.step_failed = True
            print("    FAIL: %s" % what, flush=True)
        return condition

    def require(self, condition, what):
        if not self.check(condition, what):
            raise StepFailed(what)

    def card(self):
        return self.wine.card(SLOT)

    def wait_card(self, predicate, what, timeout=CARD_WAIT):
        """Waits until the card's state satisfies predicate; the last state read."""
        last = {}

        def probe():
            last["card"] = self.card()
            return predicate(last["card"])

        self.check(wait_until(probe, timeout, 0.1), what)
        return last["card"]

    def cardctl(self, *args):
        self.wine.card_command(*args)

    # The program.
    def start(self, name):
        program = self.wine.start_program(name)
        self.programs.append(program)
        return program

    def find_window(self, title, timeout=WINDOW_WAIT):
        window = self.display.wait_window(title, timeout)
        if window is None:
            return None
        # Mapped comes before painted.
        return SkinWindow(self.display, self.skin, window, SCREEN_WAIT)

    def save(self, window, name):
        path = os.path.join(self.screenshots, name)
        self.display.save_window(window.window, path)
        print("    screenshot %s" % path, flush=True)

    def minimise_main(self):
        """Mi&nimize from the system menu; the minimised window's frame."""
        menu = self.open_system_menu()
        self.display.key("n")
        self.check(self.display.wait_gone(menu[0]), "the system menu did not close")
        size = self.main.frame[2:]
        minimised = wait_until(lambda: self.display.is_viewable(self.main.window) and
                               self.display.geometry(self.main.window)[2:] != size and
                               self.display.geometry(self.main.window), SCREEN_WAIT, 0.05)
        self.require(minimised, "the main window was not minimised")
        return minimised

    def restore_main(self, minimised):
        """A double-click on the minimised window's title restores it."""
        x, y, w, h = minimised
        self.display.click(x + w // 4, y + h // 2, repeat=2)
        self.require(wait_until(lambda: self.display.geometry(self.main.window) == self.main.frame, SCREEN_WAIT,
                                0.05), "the minimised main window was not restored")

    def repaint_main(self):
        """Makes the main window paint anew as a person would. Covering it is
        not enough under Wine, which keeps a copy of each window's picture and
        puts that back; a window minimised and restored is painted again."""
        self.restore_main(self.minimise_main())

    def message_box_says(self, title, text, owner, icon):
        """A message box with one OK button, the text, the owner and an icon or none."""
        said = self.wine.window_texts(title)
        self.require(said is not None, "no window titled %r to read" % title)
        statics = [t for kind, _, t in said["children"] if kind == "Static" and t]
        buttons = [t for kind, _, t in said["children"] if kind == "Button"]
        icons = [kind for kind, shows_icon, _ in said["children"] if shows_icon]
        self.check(statics == [text], "the message box %r says %r, not %r" % (title, statics, text))
        self.check(buttons == ["OK"], "the message box %r has the buttons %r, not OK alone" % (title, buttons))
        self.check(said["owner"] == owner, "the message box %r is owned by %r, not %r" % (title, said["owner"], owner))
        self.check(bool(icons) == icon, "the message box %r %s an icon" % (title, "lacks" if icon else "shows"))

    # Reading the main window.
    def strip_shows(self, k, on, volume, balance, timeout=SCREEN_WAIT):
        m, look = self.main, "on" if on else "off"
        switch = layout.SWITCH_ON if on else layout.SWITCH_OFF
        ok_switch = wait_until(lambda: m.match(layout.switch_rect(k), switch) >= 0.99, timeout, 0.03)
        self.check(ok_switch, "channel %d's switch does not show %s" % (k, look))
        ok_fader = m.wait_fader(layout.fader_rect(k), look, layout.fader_position(volume), timeout)
        self.check(ok_fader, "channel %d's fader shows %s, not %s at row %d (volume %d)" % (
            k, m.fader(layout.fader_rect(k)), look, layout.fader_position(volume), volume))
        ok_knob = m.wait_knob(layout.knob_rect(k), look, balance, timeout)
        self.check(ok_knob, "channel %d's knob shows %s, not %s at %d" % (
            k, m.knob(layout.knob_rect(k)), look, balance))

    def strip_shows_card(self, k, card, timeout=SCREEN_WAIT):
        ch = card["channels"][k]
        if ch["control"]:
            self.strip_shows(k, True, max(ch["left"], ch["right"]),
                             layout.balance_from_levels(ch["left"], ch["right"]), timeout)
        else:
            self.strip_shows(k, False, layout.FULL, 64, timeout)

    # Steps.
    def display_is_ours(self):
        """The program recognises a running copy by its title alone, so any other
        window with that title on the display (another test's) would answer
        our starts: wait for it to go, within bounds."""
        self.require(wait_until(lambda: not self.display.find(MAIN_TITLE), WINDOW_WAIT, 0.2),
                     "another window titled %r is open on the display" % MAIN_TITLE)

    def step_start(self):
        self.display_is_ours()
        self.wine.reset_card()
        self.start("main")
        self.main = self.find_window(MAIN_TITLE)
        self.require(self.main is not None, "no window titled %r appeared" % MAIN_TITLE)
        self.require(self.main.found, "the main window shows no background tile at its client's corner")
        card = self.card()
        for k in range(layout.CHANNELS):
            self.strip_shows_card(k, card)
        # The first paint may still be under way on a loaded machine: each look is
        # waited for, within bounds.
        def shows(rect, look):
            return wait_until(lambda: self.main.match(rect, look) >= 0.99, SCREEN_WAIT, 0.03)

        self.check(shows(layout.AUTO_SYNC, layout.AUTO_SYNC_ON), "Auto Sync does not show on as the card has it")
        for k in range(layout.CHANNELS):
            self.check(shows(layout.play_lamp_rect(k), layout.PLAY_LAMP_LOOKS["idle"]),
                       "playback lamp %d is not idle" % k)
        for k in range(layout.RECORD_LAMPS):
            self.check(shows(layout.record_lamp_rect(k), layout.RECORD_LAMP_LOOKS["idle"]),
                       "record lamp %d is not idle" % k)
        for k in range(layout.CHANNELS):
            named = wait_until(lambda: self.font.shows(self.main, layout.channel_name_rect(k), layout.CHANNEL_NAMES[k]),
                               SCREEN_WAIT, 0.03)
            self.check(named, "channel %d is not named %r" % (k, layout.CHANNEL_NAMES[k]))
        self.clock_faces = {"clock": self.main.grab(layout.CLOCK_LIST), "rate": self.main.grab(layout.RATE_LIST)}
        self.save(self.main, "e2e-main.png")
        # What few runs use loads when first used: each of these costs every start
        # its load and its memory.
        loaded = self.wine.loaded_libraries()
        for dll in ("comctl32.dll", "oleacc.dll", "oleaut32.dll"):
            self.check(dll not in loaded, "%s is loaded once the panel shows" % dll)

    def lamp_turns(self, rect, looks, stream_args, state, wanted):
        self.cardctl("set", "stream", SLOT, *stream_args, state)
        changed = time.monotonic()
        seen = wait_until(lambda: self.main.look(rect, looks)[0] == wanted, LAMP_DEADLINE + 2, 0.02)
        took = time.monotonic() - changed
        self.check(seen, "lamp did not turn %s after stream %s went to %d" % (wanted, " ".join(map(str, stream_args)),
                                                                               state))
        self.check(not seen or took <= LAMP_DEADLINE,
                   "lamp turned %s only %.2f s after the stream changed" % (wanted, took))
        print("    lamp %s after %.2f s" % (wanted, took), flush=True)

    def step_lamps(self):
        play, rec = layout.PLAY_LAMP_LOOKS, layout.RECORD_LAMP_LOOKS
        self.lamp_turns(layout.play_lamp_rect(2), play, ("playback", 2), 3, "running")
        self.lamp_turns(layout.record_lamp_rect(4), rec, ("record", 4), 4, "running")
        self.lamp_turns(layout.play_lamp_rect(7), play, ("playback", 7), 2, "open")
        self.lamp_turns(layout.record_lamp_rect(0), rec, ("record", 0), 2, "open")
        self.lamp_turns(layout.play_lamp_rect(2), play, ("playback", 2), 0, "idle")
        # The others kept what the card says.
        self.check(self.main.look(layout.record_lamp_rect(4), rec)[0] == "running", "record lamp 4 changed")
        self.check(self.main.look(layout.play_lamp_rect(3), play)[0] == "idle", "playback lamp 3 changed")

    def step_switch(self):
        before = self.card()["channels"][6]
        self.main.click_rect(layout.switch_rect(6))
        card = self.wait_card(lambda c: c["channels"][6]["control"] == 0, "channel 6 was not switched off")
        self.check(card["channels"][6]["left"] == before["left"] and card["channels"][6]["right"] == before["right"],
                   "switching channel 6 off changed its levels")
        self.check(all(card["channels"][k]["control"] == 1 for k in range(layout.CHANNELS) if k != 6),
                   "another channel was switched too")
        self.strip_shows(6, False, layout.FULL, 64)
        self.main.click_rect(layout.switch_rect(6))
        card = self.wait_card(lambda c: c["channels"][6]["control"] == 1, "channel 6 was not switched on")
        self.check(card["channels"][6] == dict(before, control=1), "switching channel 6 on sent levels")
        # On again, it reads the channel's levels back and shows them at once.
        self.strip_shows_card(6, card)

    def step_slow_driver(self):
        k = 7
        before = self.card()["channels"][k]["control"]
        self.cardctl("fault", "delay", SLOW_MS)
        try:
            # Let the delay last a few lamp polls of sixteen requests each.
            counted = self.wine.status()["requestCount"]
            self.check(wait_until(lambda: self.wine.status()["requestCount"] >= counted + 16 * SLOW_POLLS,
                                  SLOW_POLLS * 16 * SLOW_MS / 1000.0 * 3, 0.2),
                       "the lamp poll stopped asking the card")
            clicked = time.monotonic()
            self.main.click_rect(layout.switch_rect(k))
            card = self.wait_card(lambda c: c["channels"][k]["control"] != before,
                                  "channel %d's switch did not reach the slow card within %d s" % (k, SLOW_CARD_WAIT),
                                  SLOW_CARD_WAIT)
            if card["channels"][k]["control"] != before:
                print("    the switch reached the card after %.2f s" % (time.monotonic() - clicked), flush=True)
        finally:
            self.cardctl("fault", "delay", 0)
        self.main.click_rect(layout.switch_rect(k))
        self.wait_card(lambda c: c["channels"][k]["control"] == before, "channel %d was not switched back" % k)

    def step_fader(self):
        k, row = 3, 50
        x = layout.fader_rect(k)[0] + 7
        top = layout.fader_rect(k)[1]
        start = self.card()["channels"][k]
        self.require(self.main.fader(layout.fader_rect(k)) == ("on", layout.fader_position(max(start["left"],
                                                                                                start["right"]))),
                     "channel 3's fader is not where the card's level puts it")
        grab = top + layout.fader_position(max(start["left"], start["right"]))
        self.main.drag((x, grab), (x, top + row))
        volume = layout.fader_value(row)
        card = self.wait_card(lambda c: (c["channels"][k]["left"], c["channels"][k]["right"]) == (volume, volume),
                              "dragging channel 3's fader to row %d did not set both levels to %d" % (row, volume))
        print("    channel 3 levels %d, %d" % (card["channels"][k]["left"], card["channels"][k]["right"]),
              flush=True)
        self.check(self.main.wait_fader(layout.fader_rect(k), "on", row, SCREEN_WAIT),
                   "channel 3's thumb is not at row %d after the drag: %s" % (row, self.main.fader(
                       layout.fader_rect(k))))

    def step_knob(self):
        k = 3
        start = self.card()["channels"][k]
        volume = max(start["left"], start["right"])
        cx, cy = layout.knob_rect(k)[0] + layout.KNOB_CENTRE[0], layout.knob_rect(k)[1] + layout.KNOB_CENTRE[1]
        self.main.drag((cx, cy), (cx - 24, cy))
        balance = layout.knob_drag_value(layout.balance_from_levels(start["left"], start["right"]), -24, 0)
        levels = layout.levels_from_volume_balance(volume, balance)
        self.wait_card(lambda c: (c["channels"][k]["left"], c["channels"][k]["right"]) == levels,
                       "turning channel 3's knob to %d did not send levels %s" % (balance, levels))
        self.check(self.main.wait_knob(layout.knob_rect(k), "on", balance, SCREEN_WAIT),
                   "channel 3's knob does not point at %d: %s" % (balance, self.main.knob(layout.knob_rect(k))))
        self.main.click(cx, cy, repeat=2)
        self.wait_card(lambda c: (c["channels"][k]["left"], c["channels"][k]["right"]) == (volume, volume),
                       "a double-click on channel 3's knob did not centre the balance")
        self.check(self.main.wait_knob(layout.knob_rect(k), "on", 64, SCREEN_WAIT),
                   "channel 3's knob is not back at the centre: %s" % (self.main.knob(layout.knob_rect(k)),))

    def step_repaint(self):
        self.cardctl("set", "level", SLOT, 5, 20000, 10000)
        self.repaint_main()
        card = self.card()
        # Every strip, channel 6 among them (its knob now shows the card's balance).
        for k in range(layout.CHANNELS):
            self.strip_shows_card(k, card)

    def step_enable_disable(self):
        self.main.click_rect(layout.DISABLE_ALL)
        self.wait_card(lambda c: all(ch["control"] == 0 for ch in c["channels"][:layout.CHANNELS]),
                       "Disable All left a channel on")
        for k in range(layout.CHANNELS):
            self.strip_shows(k, False, layout.FULL, 64)
        before = self.card()
        self.main.click_rect(layout.ENABLE_ALL)
        card = self.wait_card(lambda c: all(ch["control"] == 1 for ch in c["channels"][:layout.CHANNELS]),
                              "Enable All left a channel off")
        self.check(all((card["channels"][k]["left"], card["channels"][k]["right"]) ==
                       (before["channels"][k]["left"], before["channels"][k]["right"])
                       for k in range(layout.CHANNELS)), "Enable All or Disable All changed levels")
        self.repaint_main()
        for k in range(layout.CHANNELS):
            self.strip_shows_card(k, card)

    def pick(self, rect, items, index):
        """Opens a drop-down with a click and clicks one item of its list."""
        x, y, w, h = rect
        ax, ay = self.main.screen_point(x, y)
        self.main.click_rect(rect)

        def popup():
            for window, px, py, pw, ph in self.display.top_level_windows():
                if (px, py) == (ax - 1, ay + h + 2) and pw == w + 3:
                    return window, px, py, pw, ph
            return None

        found = wait_until(popup, SCREEN_WAIT, 0.05)
        self.require(found, "the list of the drop-down at %s did not open below it" % (rect[:2],))
        window, px, py, pw, ph = found
        # One-pixel border; the list keeps to whole items.
        item_height = (ph - 2) // len(items)
        item = (px + pw // 2, py + 1 + item_height * index + item_height // 2)
        self.display.move(item[0], item[1] - 1)
        self.display.click(*item)
        self.check(self.display.wait_gone(window), "the list stayed open after an item was chosen")

    def list_reads(self, rect, text, what):
        self.check(wait_until(lambda: self.font.shows(self.main, layout.list_text_rect(rect), text), SCREEN_WAIT, 0.05),
                   "the %s drop-down does not read %r" % (what, text))

    def step_selectors(self):
        for rect, items, index, code, what in ((layout.CLOCK_LIST, layout.CLOCK_ITEMS, 1, layout.clock_mode(1, 1),
                                                "clock"),
                                               (layout.RATE_LIST, layout.RATE_ITEMS, 0, layout.clock_mode(1, 0),
                                                "rate"),
                                               (layout.CLOCK_LIST, layout.CLOCK_ITEMS, 3, layout.clock_mode(3, 0),
                                                "clock")):
            self.pick(rect, items, index)
            self.wait_card(lambda c: c["clockMode"] == code,
                           "choosing %r did not set clock mode %d" % (items[index], code))
            self.list_reads(rect, items[index], what)
        # The card's own mode comes back on screen at the next re-read.
        self.cardctl("set", "clock-mode", SLOT, layout.clock_mode(0, 1))
        self.repaint_main()
        self.list_reads(layout.CLOCK_LIST, layout.CLOCK_ITEMS[0], "clock")
        self.list_reads(layout.RATE_LIST, layout.RATE_ITEMS[1], "rate")
        for name, rect in (("clock", layout.CLOCK_LIST), ("rate", layout.RATE_LIST)):
            self.check(self.main.grab(rect).rgb == self.clock_faces[name].rgb,
                       "the %s drop-down does not look as it did at start-up with the same mode" % name)

    def step_custom_refused(self):
        self.require(self.card()["autoSync"] == 1, "the card's Auto Sync is not on to begin with")
        before = self.card()
        self.main.click_rect(layout.CUSTOM)
        box = self.display.wait_window(CUSTOM_TITLE, WINDOW_WAIT)
        self.require(box is not None, "Custom... with Auto Sync on showed no window titled %r" % CUSTOM_TITLE)
        # A message box, not the synchronization window: the system's own texts.
        self.message_box_says(CUSTOM_TITLE, "Auto Sync must be disabled to use custom settings.", MAIN_TITLE, False)
        self.display.key("Return")
        self.check(self.display.wait_gone(box), "the message box did not close on Enter")
        self.check(self.display.find(CUSTOM_TITLE) == [], "a window titled %r is still open" % CUSTOM_TITLE)
        self.check(self.card() == before, "the refusal changed the card")

    def step_auto_sync(self):
        self.main.click_rect(layout.AUTO_SYNC)
        self.wait_card(lambda c: c["autoSync"] == 0, "Auto Sync was not switched off")
        self.check(wait_until(lambda: self.main.match(layout.AUTO_SYNC, layout.AUTO_SYNC_OFF) >= 0.99, SCREEN_WAIT),
                   "Auto Sync does not show off")

    def step_custom_sync(self):
        self.cardctl("set", "sync", SLOT, "playback", 9, "off")
        self.main.click_rect(layout.CUSTOM)
        sync = self.find_window(CUSTOM_TITLE)
        self.require(sync is not None and sync.found, "Custom... with Auto Sync off opened no synchronization window")
        rec = {"off": layout.SYNC_RECORD_OFF, "on": layout.SYNC_RECORD_ON}
        play = {"off": layout.SYNC_PLAYBACK_OFF, "on": layout.SYNC_PLAYBACK_ON}
        card = self.card()
        for i in range(10):
            if i < 6:
                wanted = "on" if card["recordSync"][i] else "off"
                self.check(sync.wait_look(layout.sync_record_rect(i), rec, wanted, SCREEN_WAIT),
                           "record sync %d does not show %s" % (i, wanted))
            wanted = "on" if card["playbackSync"][i] else "off"
            self.check(sync.wait_look(layout.sync_playback_rect(i), play, wanted, SCREEN_WAIT),
                       "playback sync %d does not show %s" % (i, wanted))
        self.check(sync.match(layout.SYNC_OK, layout.OK_UP) >= 0.99, "the OK button is not where it belongs")
        self.save(sync, "e2e-custom-sync.png")
        sync.click_rect(layout.sync_record_rect(3))
        self.wait_card(lambda c: c["recordSync"][3] == 0, "clicking record sync of ADAT 3-4 did not switch it off")
        self.check(sync.wait_look(layout.sync_record_rect(3), rec, "off", SCREEN_WAIT),
                   "record sync 3 does not show off")
        sync.click_rect(layout.SYNC_PLAYBACK_ALL_ON)
        card = self.wait_card(lambda c: all(c["playbackSync"]), "playback Enable All left a stream off")
        self.check(card["recordSync"][3] == 0, "playback Enable All changed a record stream")
        self.check(sync.wait_look(layout.sync_playback_rect(9), play, "on", SCREEN_WAIT),
                   "playback sync 9 does not show on")
        sync.click_rect(layout.SYNC_OK)
        self.check(self.display.wait_gone(sync.window), "OK did not close the synchronization window")

    def step_defaults(self):
        before = self.card()
        self.main.click_rect(layout.SAVE_DEFAULTS)
        saved = self.wait_card(lambda c: c["defaults"]["channels"] == c["channels"] and
                               c["defaults"]["autoSync"] == c["autoSync"] and
                               c["defaults"]["clockMode"] == c["clockMode"],
                               "Save as Defaults did not store the card's settings")
        self.check(saved["channels"] == before["channels"], "Save as Defaults changed the settings")
        self.check(saved["defaults"]["channels"][5] == dict(left=20000, right=10000, control=1),
                   "the defaults do not hold channel 5's levels")
        self.cardctl("set", "level", SLOT, 5, 1000, 1000)
        self.cardctl("set", "control", SLOT, 0, "off")
        self.cardctl("set", "auto-sync", SLOT, "on")
        self.main.click_rect(layout.RETRIEVE_DEFAULTS)
        card = self.wait_card(lambda c: c["channels"] == saved["channels"] and c["autoSync"] == saved["autoSync"],
                              "Retrieve Defaults did not bring the saved settings back")
        # Retrieving re-reads the card at once: no repaint needed.
        for k in (0, 5):
            self.strip_shows_card(k, card)
        self.check(wait_until(lambda: self.main.match(layout.AUTO_SYNC, layout.AUTO_SYNC_OFF) >= 0.99, SCREEN_WAIT),
                   "Auto Sync does not show the retrieved off")

    def diagnostics_fields(self, diag, texts, timeout=SCREEN_WAIT):
        for row, text in enumerate(texts):
            if text is None:
                continue
            rect = layout.diag_field_rect(row)
            self.check(wait_until(lambda: self.font.shows(diag, rect, text), timeout, 0.1),
                       "diagnostics field %d does not read %r" % (row + 1, text))

    def step_diagnostics(self):
        self.cardctl("set", "dma-errors", SLOT, 5)
        # The first update shows the whole error count only until the next poll, half a
        # second later; a slow card keeps it on screen for seconds, long enough to read
        # on a loaded machine.
        self.cardctl("fault", "delay", DIAG_SLOW_MS)
        try:
            self.main.click_rect(layout.DIAGNOSTICS)
            diag = self.find_window(DIAGNOSTICS_TITLE)
            self.require(diag is not None and diag.found, "Diagnostics... opened no diagnostics window")
            card = self.card()
            self.diagnostics_fields(diag, ["Ready - No Multi Playing", "Idle", "5", "%04X" % card["fpgaRevision"],
                                           "%d Hz" % layout.diagnostics_frequency(card["clockMeasurement"] + 5)],
                                    SLOW_CARD_WAIT)
        finally:
            self.cardctl("fault", "delay", 0)
        for args in (("card-state", 3), ("multi-playing", 1), ("dma-status", 3), ("dma-errors", 7),
                     ("fpga-revision", 0x1A2B3), ("clock-measurement", 1402)):
            self.cardctl("set", args[0], SLOT, args[1])
        # The window polls twice a second.
        self.diagnostics_fields(diag, ["Opened - Multi Playing", "Audio DMA's active", "0", "1A2B3", "32000 Hz"])
        self.cardctl("set", "card-state", SLOT, 7)
        self.cardctl("set", "dma-status", SLOT, 5)
        self.diagnostics_fields(diag, ["Error Condition", "Audio DMA error", None, None, None])
        self.save(diag, "e2e-diagnostics.png")
        self.cardctl("set", "stream", SLOT, "playback", 1, 3)
        self.check(self.main.wait_look(layout.play_lamp_rect(1), layout.PLAY_LAMP_LOOKS, "running", SCREEN_WAIT),
                   "the lamps stopped while the diagnostics window is open")
        diag.click_rect(layout.DIAG_RESET)
        card = self.wait_card(lambda c: c["cardState"] == 1 and c["dmaStatus"] == 1,
                              "Reset Card did not reset the card")
        self.check(card["playbackState"][1] == 0 and card["multiPlaying"] == 0, "Reset Card left a stream running")
        self.diagnostics_fields(diag, ["Ready - No Multi Playing", "Idle", None, None, None])
        self.check(self.main.wait_look(layout.play_lamp_rect(1), layout.PLAY_LAMP_LOOKS, "idle", SCREEN_WAIT),
                   "the lamp still shows the stream that Reset Card stopped")
        self.check(self.card()["isFree"] == 0, "the card is free before Free Card")
        diag.click_rect(layout.DIAG_FREE)
        self.wait_card(lambda c: c["isFree"] == 1, "Free Card did not free the card")
        self.check(diag.match(layout.DIAG_OK, layout.OK_UP) >= 0.99, "the OK button is not where it belongs")
        self.cardctl("set", "level", SLOT, 8, 30000, 30000)
        diag.click_rect(layout.DIAG_OK)
        self.check(self.display.wait_gone(diag.window), "OK did not close the diagnostics window")
        # Closing it re-reads the card.
        self.strip_shows_card(8, self.card())

    def uncovered_switch(self, window):
        """A channel whose switch in the main window `window` does not cover."""
        wx, wy, ww, wh = self.display.geometry(window.window)
        for k in range(layout.CHANNELS):
            x, y = self.main.screen_point(*layout.centre(layout.switch_rect(k)))
            if not (wx <= x < wx + ww and wy <= y < wy + wh):
                return k
        return None

    def step_diagnostics_modal(self):
        """While Diagnostics is open the main window takes no click, and a second
        start brings Diagnostics, not the main window, in front of another program."""
        self.main.click_rect(layout.DIAGNOSTICS)
        diag = self.find_window(DIAGNOSTICS_TITLE)
        self.require(diag is not None and diag.found, "Diagnostics... opened no diagnostics window")
        said = self.wine.window_texts(DIAGNOSTICS_TITLE)
        self.check(said is not None and said["owner"] == MAIN_TITLE,
                   "the diagnostics window is owned by %r, not the main window" % (said and said["owner"]))
        k = self.uncovered_switch(diag)
        self.require(k is not None, "the diagnostics window covers every switch of the main window")
        before = self.card()
        on = before["channels"][k]["control"]
        self.cardctl("set", "card-state", SLOT, 3)
        self.main.click_rect(layout.switch_rect(k))
        # Reset Card, clicked after the switch, shows that the switch's click is behind us.
        diag.click_rect(layout.DIAG_RESET)
        card = self.wait_card(lambda c: c["cardState"] == 1, "Reset Card did not reset the card")
        self.check(card["channels"] == before["channels"] and card["autoSync"] == before["autoSync"] and
                   card["clockMode"] == before["clockMode"],
                   "a click on channel %d's switch under the diagnostics window changed the card" % k)
        self.check(self.main.match(layout.switch_rect(k), layout.SWITCH_ON if on else layout.SWITCH_OFF) >= 0.99,
                   "channel %d's switch changed its face under the diagnostics window" % k)

        first = self.wine.program_processes()
        self.require(len(first) == 1, "%d copies run before the second start" % len(first))
        other = self.wine.start_other_program(OTHER_PROGRAM)
        try:
            self.require(self.display.wait_window(OTHER_TITLE, WINDOW_WAIT) is not None,
                         "%s opened no window titled %r" % (OTHER_PROGRAM, OTHER_TITLE))
            in_front = wait_until(lambda: (self.wine.window_texts(DIAGNOSTICS_TITLE) or {}).get("foreground") ==
                                  OTHER_TITLE, SCREEN_WAIT, 0.1)
            self.require(in_front, "%s did not come in front of the diagnostics window" % OTHER_PROGRAM)
            second = self.start("second-over-diagnostics")
            self.check(second.wait_exit(WINDOW_WAIT), "the second copy did not end")
            self.check(self.wine.program_processes() == first, "the first copy is not the one copy left running")
            self.check(self.display.find(MAIN_TITLE) == [self.main.window], "the second copy opened a window")
            said = self.wine.window_texts(DIAGNOSTICS_TITLE)
            self.check(said is not None and said["foreground"] == DIAGNOSTICS_TITLE,
                       "the second start brought %r to the front, not the diagnostics window" % (
                           said and said["foreground"]))
        finally:
            other.kill()
        diag.click_rect(layout.DIAG_OK)
        self.check(self.display.wait_gone(diag.window), "OK did not close the diagnostics window")
        # The main window takes clicks again.
        self.main.click_rect(layout.switch_rect(k))
        self.wait_card(lambda c: c["channels"][k]["control"] == 1 - on,
                       "channel %d's switch takes no click after the diagnostics window closed" % k)
        self.main.click_rect(layout.switch_rect(k))
        self.wait_card(lambda c: c["channels"][k]["control"] == on, "channel %d's switch did not switch back" % k)

    def open_system_menu(self):
        """Opens the main window's system menu with a click on the caption's
        icon; the menu's window (id, x, y, width, height)."""
        fx, fy, _, _ = self.main.frame
        ox, oy = self.main.origin
        before = {w[0] for w in self.display.top_level_windows()}
        self.display.click(ox + 8, (fy + oy) // 2)

        def menu():
            for window, x, y, w, h in self.display.top_level_windows():
                if window not in before and h > 60:
                    return window, x, y, w, h
            return None

        found = wait_until(menu, SCREEN_WAIT, 0.05)
        self.require(found, "a click on the caption's icon opened no system menu")
        return found

    def step_about(self):
        window, x, y, w, h = self.open_system_menu()
        # The last item, just above the menu's lower border.
        self.display.click(x + w // 2, y + h - 10)
        self.check(self.display.wait_gone(window), "the system menu did not close")
        about = self.find_window(ABOUT_TITLE)
        self.require(about is not None and about.found, "the system menu's last item opened no about box")
        self.check(about.match(layout.ABOUT_EMBLEM, layout.EMBLEM) >= 0.99, "the about box shows no emblem")
        self.check(about.match(layout.ABOUT_OK, layout.OK_UP) >= 0.99, "the OK button is not where it belongs")
        # Its texts are in a scalable face that the glyph tables cannot spell out:
        # the three lines must be there, in black.
        for line, rect in enumerate(layout.ABOUT_LINES):
            self.check(len(self.font.black(about.grab(rect))) >= 20, "the about box shows no text on line %d" % (line + 1))
        self.save(about, "e2e-about.png")
        about.click_rect(layout.ABOUT_OK)
        self.check(self.display.wait_gone(about.window), "OK did not close the about box")

    def step_second_copy(self):
        first = self.wine.program_processes()
        self.require(len(first) == 1, "%d copies run before the second start" % len(first))
        self.minimise_main()
        self.cardctl("set", "level", SLOT, 2, 12000, 24000)
        second = self.start("second")
        self.check(second.wait_exit(WINDOW_WAIT), "the second copy did not end")
        self.check(self.wine.program_processes() == first, "the first copy is not the one copy left running")
        self.check(self.display.find(MAIN_TITLE) == [self.main.window], "the second copy opened a window")
        self.require(wait_until(lambda: self.display.geometry(self.main.window) == self.main.frame, SCREEN_WAIT,
                                0.05), "the second copy did not restore the first copy's minimised window")
        # Restored, it repaints and re-reads the card.
        self.strip_shows_card(2, self.card())

    def shows_card(self, card):
        """Whether every control of the main window shows what `card` holds."""
        m = self.main
        for k in range(layout.CHANNELS):
            ch = card["channels"][k]
            on = ch["control"] == 1
            look = "on" if on else "off"
            volume = max(ch["left"], ch["right"]) if on else layout.FULL
            balance = layout.balance_from_levels(ch["left"], ch["right"]) if on else 64
            if m.match(layout.switch_rect(k), layout.SWITCH_ON if on else layout.SWITCH_OFF) < 0.99:
                return False
            if m.fader(layout.fader_rect(k)) != (look, layout.fader_position(volume)):
                return False
            shown_look, shown_balance = m.knob(layout.knob_rect(k))
            if shown_look != look or shown_balance is None or abs(shown_balance - balance) > 6:
                return False
        lamps = [(layout.play_lamp_rect(k), layout.PLAY_LAMP_LOOKS, card["playbackState"][k])
                 for k in range(layout.CHANNELS)]
        lamps += [(layout.record_lamp_rect(k), layout.RECORD_LAMP_LOOKS, card["recordState"][k])
                  for k in range(layout.RECORD_LAMPS)]
        for rect, looks, state in lamps:
            wanted = "open" if state == 2 else "running" if state in (3, 4) else "idle"
            if m.look(rect, looks)[0] != wanted:
                return False
        code = card["clockMode"]
        clock, rate = (code // 2, 1 - code % 2) if code < 8 else (0, 0)
        return (m.match(layout.AUTO_SYNC, layout.AUTO_SYNC_ON if card["autoSync"] else layout.AUTO_SYNC_OFF) >= 0.99
                and self.font.shows(m, layout.list_text_rect(layout.CLOCK_LIST), layout.CLOCK_ITEMS[clock])
                and self.font.shows(m, layout.list_text_rect(layout.RATE_LIST), layout.RATE_ITEMS[rate]))

    def step_driver_returns(self):
        """The driver service stops under the open panel and starts again, its card
        back at the power-on state: the panel finds the card by itself and shows
        what it holds, whatever was clicked or dragged while it was gone."""
        k_switch, k_fader, row = 4, 3, 90
        self.cardctl("set", "level", SLOT, k_switch, 30000, 15000)
        self.cardctl("set", "stream", SLOT, "playback", 2, 3)
        self.repaint_main()
        before = self.card()
        self.require(wait_until(lambda: self.shows_card(before), SCREEN_WAIT, 0.1),
                     "the panel does not show the card before the driver stops")
        self.wine.driver_stop()
        try:
            self.check(self.main.wait_look(layout.play_lamp_rect(2), layout.PLAY_LAMP_LOOKS, "idle", SCREEN_WAIT),
                       "a lamp goes on showing a stream of a card that is gone")
            # Neither the click nor the drag can reach the card: both show it as it was.
            self.main.click_rect(layout.switch_rect(k_switch))
            x, top = layout.fader_rect(k_fader)[0] + 7, layout.fader_rect(k_fader)[1]
            was = layout.fader_position(max(before["channels"][k_fader]["left"], before["channels"][k_fader]["right"]))
            self.main.drag((x, top + was), (x, top + row))
            self.check(self.main.wait_fader(layout.fader_rect(k_fader), "on", was, SCREEN_WAIT),
                       "channel %d's fader stays where the drag left it, which the card did not take" % k_fader)
            self.check(self.main.match(layout.switch_rect(k_switch), layout.SWITCH_ON) >= 0.99,
                       "channel %d's switch shows off, which the card did not take" % k_switch)
            # The pointer off the window: a readout tip would cover the controls.
            self.display.move(0, 0)
            self.check(self.display.find(NO_CARD_TITLE) == [] and self.display.find(CUSTOM_TITLE) == [],
                       "a message box came up while the driver was gone")
        finally:
            self.wine.driver_start()
        answered = time.monotonic()
        card = self.card()
        shown = wait_until(lambda: self.shows_card(card), RETURN_WAIT, 0.05)
        took = time.monotonic() - answered
        if self.check(shown, "the panel does not show the card that came back within %d s" % RETURN_WAIT):
            print("    the panel showed the card %.2f s after the driver answered again" % took, flush=True)
            self.check(took <= RETURN_DEADLINE, "the panel showed the card only %.2f s after it came back" % took)
        else:
            for k in range(layout.CHANNELS):
                self.strip_shows_card(k, card, 0)
        self.main.click_rect(layout.switch_rect(k_switch))
        self.wait_card(lambda c: c["channels"][k_switch]["control"] == 0,
                       "a click on channel %d's switch did not reach the card that came back" % k_switch)
        self.main.click_rect(layout.switch_rect(k_switch))
        self.wait_card(lambda c: c["channels"][k_switch]["control"] == 1,
                       "channel %d's switch did not switch back" % k_switch)

    def step_ok(self):
        self.main.click_rect(layout.OK)
        program = self.programs[0]
        self.check(program.wait_exit(WINDOW_WAIT), "OK did not end the program")
        self.check(self.display.wait_gone(self.main.window), "the main window stayed after OK")
        self.check(self.wine.wait_program_count(0, 10), "a copy of the program is still running")

    def step_no_card(self):
        # A copy left running by a failed step would answer the start instead.
        self.stop_programs()
        self.require(self.wine.wait_program_count(0, 10), "a copy of the program is still running")
        self.display_is_ours()
        self.wine.driver_stop()
        try:
            program = self.start("no-card")
            box = self.display.wait_window(NO_CARD_TITLE, WINDOW_WAIT)
            self.require(box is not None, "no message box titled %r appeared" % NO_CARD_TITLE)
            self.check(self.display.find(MAIN_TITLE) == [], "the main window opened without a card")
            self.message_box_says(NO_CARD_TITLE, "No MIRVA PCI Cards were found!", None, True)
            self.display.key("Return")
            self.check(program.wait_exit(WINDOW_WAIT), "the program did not end after the no-card message")
            self.check(self.display.find(MAIN_TITLE) == [], "the main window opened after the no-card message")
        finally:
            self.wine.driver_start()

    STEPS = [
        ("start-up and first paint", step_start, True),
        ("stream lamps follow the card", step_lamps, False),
        ("a channel switch", step_switch, False),
        ("a channel switch on a slow driver", step_slow_driver, False),
        ("a fader drag", step_fader, False),
        ("a knob drag and double-click", step_knob, False),
        ("a repaint after minimise and restore re-reads the card", step_repaint, False),
        ("Disable All and Enable All", step_enable_disable, False),
        ("both selectors", step_selectors, False),
        ("Custom... refused while Auto Sync is on", step_custom_refused, False),
        ("Auto Sync", step_auto_sync, False),
        ("Custom... opens the synchronization window", step_custom_sync, False),
        ("Save and Retrieve Defaults", step_defaults, False),
        ("Diagnostics with Reset Card and Free Card", step_diagnostics, False),
        ("while Diagnostics is open the main window takes no click and a second start brings Diagnostics forward",
         step_diagnostics_modal, False),
        ("About from the system menu", step_about, False),
        ("a second start brings the first forward", step_second_copy, False),
        ("the driver stops and starts again under the open panel", step_driver_returns, False),
        ("OK ends the program", step_ok, False),
        ("no card without the driver", step_no_card, False),
    ]

    def close_windows_left(self):
        """Dismisses modal windows a failed step left open, so the next step
        meets the main window alone."""
        for title in (CUSTOM_TITLE, DIAGNOSTICS_TITLE, ABOUT_TITLE):
            for window in self.display.find(title):
                self.display.key("Escape")
                self.display.wait_gone(window, 5)

    def run(self):
        started = time.monotonic()
        aborted = False
        for name, method, essential in self.STEPS:
            self.step = name
            if aborted and method is not Suite.step_no_card:
                print("skip %s" % name, flush=True)
                continue
            print("step %s" % name, flush=True)
            self.step_failed = False
            try:
                method(self)
            except StepFailed:
                pass
            except Exception as error:  # a broken step must not stop the clean-up
                self.check(False, "%s: %s" % (type(error).__name__, error))
                traceback.print_exc()
            if self.step_failed:
                if essential:
                    aborted = True
                else:
                    self.close_windows_left()
        print("suite took %.1f s" % (time.monotonic() - started), flush=True)

    def stop_programs(self):
        for program in self.programs:
            program.kill()

    def clean_up(self):
        self.stop_programs()


def main():
    if len(sys.argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    suite = Suite(root, *(os.path.abspath(a) for a in sys.argv[1:]))
    try:
        suite.run()
    finally:
        suite.clean_up()
    if suite.failures:
        print("Wine's output of each start of the program: %s" % suite.wine.logs)
        print("%d check(s) failed:" % len(suite.failures))
        for failure in suite.failures:
            print("  " + failure)
        return 1
    print("e2e_panel: all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
