"""Shared pieces of the tests that run the real program: a private X server, the program started
from a game folder with its own settings folder and trace, and xdotool helpers.

Each Display is its own Xvfb, and every helper that talks to X takes the display it acts on, so
independent runs can go on side by side without seeing each other's windows or keyboard focus.
"""
import hashlib
import os
import random
import re
import shutil
import signal
import subprocess
import tempfile
import threading
import time

TITLE = "Grathmoor (Brennicor, Zephyrine Series) Simulator"
SCREEN = (1024, 768)


class Checks:
    """Collects failures; safe to use from several threads."""

    def __init__(self):
        self.failures = []
        self.lock = threading.Lock()

    def exit_status(self, what):
        """Says how the run went; 0 when every check passed."""
        if self.failures:
            print("FAILED: " + "; ".join(self.failures))
            return 1
        print(f"all {what} checks passed")
        return 0

    def check(self, condition, message, prefix=""):
        with self.lock:
            print(("ok   " if condition else "FAIL ") + prefix + message, flush=True)
            if not condition:
                self.failures.append(prefix + message)
        return condition


class Display:
    """A private X server. Other programs on the machine may start X servers at the same moment,
    so a display counts as ours only once the lock file of its number holds our server's pid.
    The server does not reset when its last client leaves: while it resets it turns new clients
    away, and the helpers here come and go between the program's starts."""

    used = set()
    choosing = threading.Lock()

    def __init__(self, screen=SCREEN):
        self.screen = screen

    @classmethod
    def candidate_number(cls):
        # A random start keeps runs that begin together from trying the same numbers; numbers
        # are not reused within a run.
        with cls.choosing:
            start = random.randrange(200, 900)
            for number in list(range(start, 1000)) + list(range(200, start)):
                if number in cls.used or os.path.exists(f"/tmp/.X{number}-lock") \
                        or os.path.exists(f"/tmp/.X11-unix/X{number}"):
                    continue
                cls.used.add(number)
                return number
        raise RuntimeError("no free X display number")

    def owns_lock(self, number):
        try:
            with open(f"/tmp/.X{number}-lock") as f:
                return int(f.read().strip() or 0) == self.server.pid
        except (OSError, ValueError):
            return False

    def __enter__(self):
        for _ in range(20):
            number = self.candidate_number()
            self.name = f":{number}"
            self.env = dict(os.environ, DISPLAY=self.name)
            self.server = subprocess.Popen(
                ["Xvfb", self.name, "-screen", "0", f"{self.screen[0]}x{self.screen[1]}x24",
                 "-nolisten", "tcp", "-noreset"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            deadline = time.time() + 15
            while time.time() < deadline and self.server.poll() is None:
                if self.owns_lock(number) and \
                        self.run("xdotool", "getdisplaygeometry").returncode == 0:
                    return self
                time.sleep(0.1)
            # Another server has this number, or ours did not come up: try another one.
            if self.server.poll() is None:
                self.server.kill()
            self.server.wait()
        raise RuntimeError("Xvfb did not start")

    def __exit__(self, *exc):
        self.server.terminate()
        try:
            self.server.wait(10)
        except subprocess.TimeoutExpired:
            self.server.kill()
            self.server.wait()

    def run(self, *args):
        return subprocess.run(list(args), capture_output=True, text=True, env=self.env)

    def windows(self, name):
        """Ids of the visible windows whose title is exactly `name`."""
        found = self.run("xdotool", "search", "--onlyvisible", "--name", f"^{re.escape(name)}$")
        return found.stdout.split()

    def find_window(self, name, timeout=10.0):
        deadline = time.time() + timeout
        while time.time() < deadline:
            ids = self.windows(name)
            if ids:
                return ids[0]
            time.sleep(0.1)
        return None

    def geometry(self, window):
        out = self.run("xdotool", "getwindowgeometry", "--shell", window).stdout
        values = dict(line.split("=") for line in out.split())
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def pixel(self, x, y):
        out = self.run("import", "-window", "root", "-crop", f"1x1+{x}+{y}", "-depth", "8",
                       "txt:-").stdout
        for line in out.splitlines():
            if line.startswith("0,0:") and "#" in line:
                hexa = line.split("#")[1][:6]
                return tuple(int(hexa[i:i + 2], 16) for i in (0, 2, 4))
        return None

    def region_digest(self, x, y, width, height):
        """A digest of the screen's pixels in the rectangle, to tell whether a picture changed."""
        out = subprocess.run(["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}",
                              "-depth", "8", "rgb:-"], capture_output=True, env=self.env).stdout
        return hashlib.sha1(out).hexdigest() if out else None

    def screenshot(self, path):
        self.run("import", "-window", "root", path)

    def key(self, window, name):
        """Presses a key in the window. Without a window manager the keyboard focus follows the
        pointer, so the pointer goes over the window first."""
        self.run("xdotool", "mousemove", "--window", window, "20", "20")
        self.run("xdotool", "windowfocus", "--sync", window)
        self.run("xdotool", "key", name)


def write_settings(config_home, settings):
    """Writes the per-user settings file with the given values, in the store's own layout."""
    folder = os.path.join(config_home, "Kelvamor")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "Tov50.conf"), "w") as f:
        f.write("[General]\n" + "".join(f"{k}={v}\n" for k, v in settings.items()))


class Program:
    """The game started from its folder with its own settings folder and trace.

    `settings` is a dict written as the settings file before the start; `config_home` may name a
    prepared settings folder instead (it is then the caller's to remove)."""

    def __init__(self, game_dir, display, settings=None, config_home=None, env=None):
        self.own_home = config_home is None
        self.scratch = tempfile.mkdtemp(prefix="grathmoor-run-")
        self.config_home = os.path.join(self.scratch, "config") if self.own_home else config_home
        if self.own_home:
            os.makedirs(self.config_home)
        if settings is not None:
            write_settings(self.config_home, settings)
        self.trace_path = os.path.join(self.scratch, "trace.txt")
        full_env = dict(display.env, XDG_CONFIG_HOME=self.config_home, GRATHMOOR_TRACE="1",
                        SDL_AUDIODRIVER="dummy")
        full_env.update(env or {})
        self.trace_file = open(self.trace_path, "w")
        self.process = subprocess.Popen([os.path.join(game_dir, "grathmoor")], cwd=game_dir,
                                        env=full_env, stderr=self.trace_file,
                                        stdout=subprocess.DEVNULL)

    def trace(self):
        """The trace's timed lines as (ms, text)."""
        with open(self.trace_path, errors="replace") as f:
            lines = []
            for line in f:
                parts = line.rstrip("\n").split(" ", 1)
                if len(parts) == 2 and parts[0].isdigit():
                    lines.append((int(parts[0]), parts[1]))
            return lines

    def trace_text(self):
        with open(self.trace_path, errors="replace") as f:
            return f.read()

    def wait_for_trace(self, text, timeout=10.0, after=0):
        """The time of the first trace line equal to `text` (a string) or matching it (a
        predicate), at or after `after` ms; None when none comes in time."""
        match = text if callable(text) else (lambda event: event == text)
        deadline = time.time() + timeout
        while time.time() < deadline:
            for ms, event in self.trace():
                if ms >= after and match(event):
                    return ms
            if self.process.poll() is not None:
                break
            time.sleep(0.05)
        for ms, event in self.trace():
            if ms >= after and match(event):
                return ms
        return None

    def settings_path(self):
        return os.path.join(self.config_home, "Kelvamor", "Tov50.conf")

    def settings_text(self):
        path = self.settings_path()
        return open(path, errors="replace").read() if os.path.isfile(path) else ""

    def wait_end(self, timeout):
        """True when the program ended within `timeout` seconds."""
        try:
            self.process.wait(timeout)
            return True
        except subprocess.TimeoutExpired:
            return False

    def peak_memory_kb(self):
        """The process's peak resident memory so far, or None once it has ended."""
        try:
            with open(f"/proc/{self.process.pid}/status") as f:
                for line in f:
                    if line.startswith("VmHWM:"):
                        return int(line.split()[1])
        except OSError:
            pass
        return None

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            if not self.wait_end(5):
                self.process.kill()
                self.process.wait()
        self.trace_file.close()
        shutil.rmtree(self.scratch, ignore_errors=True)
