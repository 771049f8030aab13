"""The prefix, the virtual card's driver and the program, reached the way the
build's scripts reach them: scripts/wine-env.sh and cardctl."""

import json
import os
import shlex
import signal
import subprocess
import tempfile

from e2e_x11 import wait_until

WINE = "/usr/lib/wine/wine64"
PROGRAM_NAME = "WaveSettings.exe"


class WineError(Exception):
    pass


class Program:
    """One start of WaveSettings.exe in the background, Wine's output in a file."""

    def __init__(self, env, exe, log_path, lifetime):
        with open(log_path, "wb") as log:
            # timeout bounds the run even if the suite itself is killed.
            self.process = subprocess.Popen(["timeout", "-k", "5", str(lifetime), WINE, exe], env=env,
                                            stdin=subprocess.DEVNULL, stdout=log, stderr=log,
                                            start_new_session=True)

    def wait_exit(self, timeout):
        try:
            self.process.wait(timeout=timeout)
            return True
        except subprocess.TimeoutExpired:
            return False

    def kill(self):
        """Ends this run and whatever it started, by its own process group."""
        if self.process.poll() is None:
            try:
                os.killpg(self.process.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
            if not self.wait_exit(10):
                try:
                    os.killpg(self.process.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
                self.process.wait(timeout=10)


class Wine:
    def __init__(self, root, build, window_texts_exe):
        self.root = root
        self.build = build
        self.window_texts_exe = window_texts_exe
        self.env_sh = os.path.join(root, "scripts", "wine-env.sh")
        self.cardctl_exe = os.path.join(build, "driver", "cardctl.exe")
        self.program_exe = os.path.join(build, "app", PROGRAM_NAME)
        self.env = dict(os.environ)
        for word in shlex.split(self._script("env").strip().split(" ", 1)[1]):
            name, _, value = word.partition("=")
            self.env[name] = value
        self.display = self.env["DISPLAY"]
        self.prefix = self.env["WINEPREFIX"]
        # Wine's output of each program start, kept for a look after a failure.
        self.logs = os.path.join(build, "e2e")
        os.makedirs(self.logs, exist_ok=True)

    def _script(self, *args, timeout=180):
        with tempfile.TemporaryFile() as out:
            done = subprocess.run([self.env_sh, self.build] + list(args), stdin=subprocess.DEVNULL, stdout=out,
                                  stderr=subprocess.STDOUT, timeout=timeout)
            out.seek(0)
            text = out.read().decode(errors="replace")
        if done.returncode != 0:
            raise WineError("wine-env.sh %s failed: %s" % (" ".join(args), text.strip()))
        return text

    def driver_start(self):
        self._script("driver-start")

    def driver_stop(self):
        self._script("driver-stop")

    # Output through files, never a pipe: Wine's helpers would inherit it.
    def _run(self, exe, args):
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            try:
                done = subprocess.run(["timeout", "-k", "5", "60", WINE, exe] + [str(a) for a in args],
                                      env=self.env, stdin=subprocess.DEVNULL, stdout=out, stderr=err, timeout=90)
            except subprocess.TimeoutExpired:
                raise WineError("%s %s did not finish" % (os.path.basename(exe), " ".join(map(str, args))))
            out.seek(0)
            err.seek(0)
            return done.returncode, out.read().decode(errors="replace"), err.read().decode(errors="replace")

    def cardctl(self, *args):
        return self._run(self.cardctl_exe, args)

    def window_texts(self, title):
        """What a standard window titled `title` says: its owner's title (None
        without an owner), the title of the window in front (None without one)
        and (class, shows an icon, text) of each visible child."""
        rc, out, err = self._run(self.window_texts_exe, [title])
        if rc != 0:
            return None
        owner, foreground, children = None, None, []
        for line in out.splitlines():
            if line.startswith("owner: "):
                owner = None if line == "owner: (none)" else line[len("owner: "):]
            elif line.startswith("foreground: "):
                foreground = None if line == "foreground: (none)" else line[len("foreground: "):]
            elif line.startswith("child "):
                kind, _, text = line[len("child "):].partition(": ")
                children.append((kind.split(" ")[0], kind.endswith(" icon"), text))
        return {"owner": owner, "foreground": foreground, "children": children}

    def card_command(self, *args):
        rc, out, err = self.cardctl(*args)
        if rc != 0:
            raise WineError("cardctl %s: exit %d: %s" % (" ".join(map(str, args)), rc, err.strip()))
        return out

    def status(self):
        return json.loads(self.card_command("status", "--json"))

    def card(self, slot=0):
        return self.status()["cards"][slot]

    def reset_card(self):
        self.card_command("reset")

    # The program.
    def start_program(self, name, lifetime=600):
        return Program(self.env, self.program_exe, os.path.join(self.logs, name + ".log"), lifetime)

    def start_other_program(self, exe, lifetime=120):
        """Another program of the prefix, such as Wine's own notepad."""
        return Program(self.env, exe, os.path.join(self.logs, exe + ".log"), lifetime)

    def program_processes(self):
        """Process ids of every WaveSettings.exe running in this prefix."""
        found = []
        for entry in os.listdir("/proc"):
            if not entry.isdigit():
                continue
            try:
                with open("/proc/%s/cmdline" % entry, "rb") as f:
                    cmdline = f.read()
                with open("/proc/%s/environ" % entry, "rb") as f:
                    environ = f.read().split(b"\0")
            except OSError:
                continue
            if PROGRAM_NAME.lower().encode() not in cmdline.lower() or cmdline.startswith(b"timeout"):
                continue
            if ("WINEPREFIX=" + self.prefix).encode() in environ:
                found.append(int(entry))
        return found

    def loaded_libraries(self):
        """Lower-case names of the DLLs that the one running WaveSettings.exe has mapped."""
        pids = self.program_processes()
        if len(pids) != 1:
            raise WineError("%d copies of %s run, not one" % (len(pids), PROGRAM_NAME))
        with open("/proc/%d/maps" % pids[0]) as maps:
            return {os.path.basename(line.split()[-1]).lower() for line in maps if line.rstrip().endswith(".dll")}

    def wait_program_count(self, count, timeout):
        return wait_until(lambda: len(self.program_processes()) == count, timeout, 0.1)
