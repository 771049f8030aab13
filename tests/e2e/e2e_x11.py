"""The private X display as a person meets it: windows found by their titles,
the mouse and keyboard through xdotool, screenshots through ImageMagick's
import, and pixels read straight from the X server for quick looks."""

import os
import re
import socket
import struct
import subprocess
import time

from e2e_image import Image


class XError(Exception):
    pass


def wait_until(predicate, timeout, interval=0.05):
    """Calls predicate until it returns something true or the time is up;
    returns its last result. A bounded wait, never a bare sleep."""
    deadline = time.monotonic() + timeout
    while True:
        result = predicate()
        if result or time.monotonic() >= deadline:
            return result
        time.sleep(interval)


class ScreenReader:
    """Reads the root window's pixels over the X protocol itself (GetImage).

    ImageMagick's import needs most of a second a picture on a busy machine;
    this needs a few milliseconds, so a bounded wait for a change on screen
    can look often enough to see when the change appeared."""

    def __init__(self, display):
        self.number = int(display.lstrip(":").split(".")[0])
        self.sock = None

    def _connect(self):
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.settimeout(30)
        try:
            self.sock.connect("/tmp/.X11-unix/X%d" % self.number)
        except OSError:
            # The private display listens only on the abstract socket.
            self.sock.connect("\0/tmp/.X11-unix/X%d" % self.number)
        self.sock.sendall(struct.pack("<BxHHHHxx", ord("l"), 11, 0, 0, 0))
        head = self._read(8)
        if head[0] != 1:
            raise XError("the X server refused the connection")
        body = self._read(struct.unpack_from("<H", head, 6)[0] * 4)
        vendor_len, = struct.unpack_from("<H", body, 16)
        formats_at = 32 + (vendor_len + 3) // 4 * 4
        formats = body[21]
        depths = {body[formats_at + 8 * i]: body[formats_at + 8 * i + 1] for i in range(formats)}
        if depths.get(24) != 32:
            raise XError("the display is not 24-bit in 32-bit pixels")
        screen = formats_at + 8 * formats
        self.root, = struct.unpack_from("<I", body, screen)
        self.width, self.height = struct.unpack_from("<HH", body, screen + 20)
        self.sequence = 0

    def _read(self, n):
        data = bytearray()
        while len(data) < n:
            chunk = self.sock.recv(n - len(data))
            if not chunk:
                raise XError("the X server closed the connection")
            data += chunk
        return bytes(data)

    def size(self):
        if self.sock is None:
            self._connect()
        return self.width, self.height

    def _get_image(self, x, y, width, height):
        self.sock.sendall(struct.pack("<BBHIhhHHI", 73, 2, 5, self.root, x, y, width, height, 0xFFFFFFFF))
        self.sequence = (self.sequence + 1) & 0xFFFF
        head = self._read(32)
        if head[0] == 0:
            raise XError("GetImage failed (X error %d) for %dx%d+%d+%d" % (head[1], width, height, x, y))
        if head[0] != 1 or struct.unpack_from("<H", head, 2)[0] != self.sequence:
            raise ConnectionError("unexpected answer from the X server")
        data = self._read(struct.unpack_from("<I", head, 4)[0] * 4)
        if len(data) < width * height * 4:
            raise ConnectionError("short image from the X server")
        return data

    def grab(self, x, y, width, height):
        """The screen's pixels in a rectangle, which must lie on the screen."""
        try:
            self.size()
            data = self._get_image(x, y, width, height)
        except (OSError, ConnectionError):
            # A connection out of step is dropped and made again, once.
            self.close()
            self.size()
            data = self._get_image(x, y, width, height)
        rgb = bytearray(width * height * 3)
        rgb[0::3] = data[2:width * height * 4:4]
        rgb[1::3] = data[1:width * height * 4:4]
        rgb[2::3] = data[0:width * height * 4:4]
        return Image(width, height, rgb)

    def close(self):
        if self.sock is not None:
            self.sock.close()
            self.sock = None


class Display:
    def __init__(self, display):
        self.env = dict(os.environ, DISPLAY=display)
        self.reader = ScreenReader(display)

    def _run(self, args, timeout=20, check=True):
        try:
            done = subprocess.run(args, env=self.env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                  stdin=subprocess.DEVNULL, timeout=timeout)
        except subprocess.TimeoutExpired:
            raise XError("%s did not finish within %d s" % (args[0], timeout))
        if check and done.returncode != 0:
            raise XError("%s failed: %s" % (" ".join(args), done.stderr.decode(errors="replace").strip()))
        return done

    # Windows.
    def find(self, title):
        """Visible top-level windows whose title is exactly `title`."""
        done = self._run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % re.escape(title)],
                         check=False)
        return [int(w) for w in done.stdout.split()]

    def wait_window(self, title, timeout=30):
        found = wait_until(lambda: self.find(title), timeout, 0.1)
        return found[0] if found else None

    def wait_gone(self, window, timeout=10):
        return wait_until(lambda: not self.is_viewable(window), timeout, 0.1)

    def is_viewable(self, window):
        done = self._run(["xwininfo", "-id", str(window)], check=False)
        return done.returncode == 0 and b"Map State: IsViewable" in done.stdout

    def geometry(self, window):
        """(x, y, width, height) of a window on the screen, frame included."""
        text = self._run(["xwininfo", "-id", str(window)]).stdout.decode()
        value = {}
        for key, name in (("x", "Absolute upper-left X"), ("y", "Absolute upper-left Y"),
                          ("w", "Width"), ("h", "Height")):
            m = re.search(r"^\s*%s:\s*(-?\d+)" % re.escape(name), text, re.M)
            if not m:
                raise XError("xwininfo gave no %s for window %d" % (name, window))
            value[key] = int(m.group(1))
        return value["x"], value["y"], value["w"], value["h"]

    def top_level_windows(self):
        """(id, x, y, width, height) of every viewable child of the root window."""
        text = self._run(["xwininfo", "-root", "-children"]).stdout.decode()
        out = []
        for m in re.finditer(r"^\s+(0x[0-9a-f]+) .*?\s(\d+)x(\d+)\+(-?\d+)\+(-?\d+)\s", text, re.M):
            window = int(m.group(1), 16)
            if self.is_viewable(window):
                out.append((window, int(m.group(4)), int(m.group(5)), int(m.group(2)), int(m.group(3))))
        return out

    # Pictures.
    def grab(self, x, y, width, height):
        """Pixels on the screen; parts beyond its edges come back black."""
        screen_w, screen_h = self.reader.size()
        x0, y0 = max(x, 0), max(y, 0)
        x1, y1 = min(x + width, screen_w), min(y + height, screen_h)
        if x0 >= x1 or y0 >= y1:
            return Image(width, height, bytes(width * height * 3))
        part = self.reader.grab(x0, y0, x1 - x0, y1 - y0)
        if (x0, y0, x1 - x0, y1 - y0) == (x, y, width, height):
            return part
        return Image(width, height, bytes(width * height * 3)).paste(part, x0 - x, y0 - y)

    def save_window(self, window, path):
        """A screenshot of a window, its frame included, as a person would take one."""
        self._run(["import", "-window", str(window), path], timeout=60)

    # Mouse and keyboard.
    def move(self, x, y):
        self._run(["xdotool", "mousemove", "--sync", str(x), str(y)])

    def click(self, x, y, repeat=1):
        self.move(x, y)
        self._run(["xdotool", "click", "--repeat", str(repeat), "--delay", "60", "1"])

    def press(self, x, y):
        self.move(x, y)
        self._run(["xdotool", "mousedown", "1"])

    def release(self):
        self._run(["xdotool", "mouseup", "1"])

    def drag(self, start, end, steps=8):
        """Press at start, move there in even steps, release at end."""
        self.press(*start)
        for i in range(1, steps + 1):
            self.move(start[0] + (end[0] - start[0]) * i // steps, start[1] + (end[1] - start[1]) * i // steps)
        self.release()

    def key(self, *keys):
        self._run(["xdotool", "key", "--delay", "60"] + list(keys))
