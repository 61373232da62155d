"""Shared pieces of the tests that run the real program: the desktops it runs on, the program
started from a game folder with its own settings folder and trace, and helpers that drive it.

The desktops: a private X server, bare (focus follows the pointer) or with a window manager
(openbox) and a compositing manager (xcompmgr); headless sway, a Wayland compositor whose keys
come from a virtual keyboard (wtype); and weston nested in a private X server, a Wayland
compositor that takes real key codes and pointer drags sent to that server (xdotool).

Each desktop is its own, and every helper takes the desktop it acts on, so independent runs
can go on side by side without seeing each other's windows or keyboard focus.
"""
import hashlib
import json
import os
import pwd
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
# The colour the Wayland desktops are told to paint behind the windows.
BACKGROUND = (0x33, 0x66, 0x99)


def poll(condition, timeout=15.0, interval=0.1):
    """The first true value of `condition()` within `timeout` seconds, else its last value. The
    bound is generous: on a busy machine a state may be seconds late, and the bound only ends
    the wait for one that never comes."""
    deadline = time.time() + timeout
    while True:
        value = condition()
        if value or time.time() > deadline:
            return value
        time.sleep(interval)


def wait_for_background(desk, points, colour=BACKGROUND, timeout=30.0):
    """Waits till the compositor shows its background colour at every point: it starts with
    a colour of its own and paints the configured one a moment later, from another process."""
    seen = {}

    def painted():
        seen.update(zip(points, png_pixels(desk.png(), points)))
        return all(seen[p] == colour for p in points)
    if not poll(painted, timeout, 0.2):
        raise RuntimeError(f"{type(desk).__name__} did not paint its background {colour}: "
                           f"{seen}")


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

    def __init__(self, screen=SCREEN, wm=False, compositor=False):
        """`wm`: openbox manages the windows; `compositor`: xcompmgr composites them."""
        self.screen = screen
        self.wm = wm
        self.compositor = compositor
        self.helpers = []

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
                    self.program_env = self.env
                    try:
                        self.start_helpers()
                    except RuntimeError:
                        self.__exit__()
                        raise
                    return self
                time.sleep(0.1)
            # Another server has this number, or ours did not come up: try another one.
            if self.server.poll() is None:
                self.server.kill()
            self.server.wait()
        raise RuntimeError("Xvfb did not start")

    def start_helper(self, args, ready, env=None):
        """A program of the desktop, running till the desktop ends; `ready` says when it is."""
        self.helpers.append(subprocess.Popen(args, env=env or self.env, stdout=subprocess.DEVNULL,
                                             stderr=subprocess.DEVNULL))
        deadline = time.time() + 15
        while not ready():
            if time.time() > deadline or self.helpers[-1].poll() is not None:
                raise RuntimeError(f"{args[0]} did not start")
            time.sleep(0.1)

    def start_helpers(self):
        if self.wm:
            self.start_helper(["openbox", "--sm-disable"], lambda: "_NET_SUPPORTING_WM_CHECK(WINDOW)"
                              in self.run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK").stdout)
        if self.compositor:
            self.start_helper(["xcompmgr"], lambda: "xcompmgr" in self.run(
                "xwininfo", "-root", "-children").stdout)

    def __exit__(self, *exc):
        for helper in reversed(self.helpers):
            helper.terminate()
            helper.wait()
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

    def find_window(self, name, timeout=30.0):
        deadline = time.time() + timeout
        while time.time() < deadline:
            ids = self.windows(name)
            if ids:
                return ids[0]
            time.sleep(0.1)
        return None

    def menu_shown(self, program, shown=True, timeout=15.0):
        """Waits till a pop-up menu of the program is on the screen (with `shown` false: till
        none is); True when it came to that. A menu is a window of the program that no window
        manager takes and that is not a tool tip."""
        def showing():
            ids = self.run("xdotool", "search", "--onlyvisible", "--pid",
                           str(program.process.pid)).stdout.split()
            return any("Override Redirect State: yes" in self.run("xwininfo", "-id", i).stdout and
                       "TOOLTIP" not in self.run("xprop", "-id", i, "_NET_WM_WINDOW_TYPE").stdout
                       for i in ids)
        return poll(lambda: showing() == shown, timeout)

    def geometry(self, window):
        out = self.run("xdotool", "getwindowgeometry", "--shell", window).stdout
        values = dict(line.split("=") for line in out.split())
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def pixel(self, x, y):
        return png_pixel(self.png(), x, y)

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

    def helper(self, args):
        """Another program on the display, for the caller to end."""
        return subprocess.Popen(args, env=self.env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)

    def root_window(self):
        return int(re.search(r"Window id: (0x[0-9a-f]+)", self.run("xwininfo", "-root").stdout)[1],
                   16)

    def window_at(self, x, y):
        """The top-level window that takes the pointer at a point of the screen."""
        self.run("xdotool", "mousemove", str(x), str(y))
        out = self.run("xdotool", "getmouselocation", "--shell").stdout
        return int(dict(line.split("=", 1) for line in out.split()).get("WINDOW", "0"))

    def drag(self, start, by, moved, taken=None, timeout=15.0):
        """A left-button drag from a point of the screen, moved by (dx, dy) in two steps; each
        step waits till `moved((dx, dy))` sees the thing dragged that far. `taken()` waits till
        the program has asked the window system to move the window: on X the move starts where
        the pointer is then, not where it was pressed. The window system may miss a motion
        before it takes the pointer: the pointer is nudged while it waits. True when both steps
        were followed."""
        (x, y), (dx, dy) = start, by
        self.run("xdotool", "mousemove", str(x), str(y), "mousedown", "1")
        if taken:
            taken()
        followed = True
        for step in ((dx // 2, dy // 2), (dx, dy)):
            to = (x + step[0], y + step[1])

            def there():
                self.run("xdotool", "mousemove", str(to[0] + 1), str(to[1]),
                         "mousemove", str(to[0]), str(to[1]))
                return moved(step)
            followed = poll(there, timeout, 0.2) and followed
        self.run("xdotool", "mouseup", "1")
        return followed

    def png(self):
        """The whole screen as PNG bytes."""
        return subprocess.run(["import", "-window", "root", "png:-"], capture_output=True,
                              env=self.env).stdout


def png_pixel(png, x, y):
    """The (r, g, b) of a pixel of a PNG picture."""
    out = subprocess.run(["convert", "png:-", "-crop", f"1x1+{x}+{y}", "-depth", "8", "txt:-"],
                         input=png, capture_output=True).stdout.decode()
    found = re.search(r"^0,0:.*#([0-9A-Fa-f]{6})", out, re.M)
    return tuple(int(found[1][i:i + 2], 16) for i in (0, 2, 4)) if found else None


def png_pixels(png, points):
    """The (r, g, b) of each point of a PNG picture (None outside it)."""
    ppm = subprocess.run(["convert", "png:-", "-depth", "8", "ppm:-"], input=png,
                         capture_output=True).stdout
    header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", ppm)
    if not header:
        return [None] * len(points)
    width, height = int(header[1]), int(header[2])
    data = ppm[header.end():]
    return [tuple(data[(y * width + x) * 3:(y * width + x) * 3 + 3])
            if 0 <= x < width and 0 <= y < height else None for x, y in points]


def png_patch(png, x, y, width, height):
    """The raw RGB bytes of a part of a PNG picture."""
    return subprocess.run(["convert", "png:-", "-crop", f"{width}x{height}+{x}+{y}", "-depth",
                           "8", "rgb:-"], input=png, capture_output=True).stdout


def glass_share(png, screen):
    """The share of the screen's height the LCD's glass takes: the longest run of its grey-green
    down any column of a PNG picture of the screen."""
    raw = subprocess.run(["convert", "png:-", "-depth", "8", "rgb:-"], input=png,
                         capture_output=True).stdout
    width, height, longest = screen[0], screen[1], 0
    for x in range(0, width, 4):
        run = 0
        for r, g, b in (raw[(y * width + x) * 3:(y * width + x) * 3 + 3] for y in range(height)):
            run = run + 1 if g >= r > b and 120 <= g <= 220 and 15 <= g - b <= 50 else 0
            longest = max(longest, run)
    return longest / height


def changed_rect(before, after, top=0):
    """(x, y, width, height) around what differs between two PNG pictures of a screen below its
    first `top` rows; None when nothing does."""
    with tempfile.TemporaryDirectory() as folder:
        paths = [os.path.join(folder, name) for name in ("a.png", "b.png")]
        for path, data in zip(paths, (before, after)):
            with open(path, "wb") as f:
                f.write(data)
        box = subprocess.run(["convert", *paths, "-compose", "difference", "-composite", "-crop",
                              f"100000x100000+0+{top}", "-colorspace", "gray", "-threshold", "0",
                              "-format", "%@", "info:"], capture_output=True, text=True).stdout
    w, h, x, y = map(int, re.match(r"(\d+)x(\d+)\+(\d+)\+(\d+)", box).groups())
    return (x, y + top, w, h) if w else None


class Sway:
    """Headless sway: a Wayland compositor without a screen or input devices. Keys come from a
    virtual keyboard (wtype), pictures from grim, windows from sway's own tree. Sway refuses to
    run as root: then it and the program run as nobody."""

    def __init__(self, screen=SCREEN):
        self.screen = screen
        self.user = pwd.getpwnam("nobody") if os.geteuid() == 0 else None

    def __enter__(self):
        self.runtime = tempfile.mkdtemp(prefix="grathmoor-sway-")
        config = os.path.join(self.runtime, "config")
        with open(config, "w") as f:
            f.write(f"output HEADLESS-1 resolution {self.screen[0]}x{self.screen[1]} "
                    "bg #%02x%02x%02x solid_color\n" % BACKGROUND)
        if self.user:
            os.chown(self.runtime, self.user.pw_uid, self.user.pw_gid)
        base = {k: v for k, v in os.environ.items()
                if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        base.update(XDG_RUNTIME_DIR=self.runtime, HOME=self.runtime)
        self.compositor = subprocess.Popen(
            ["sway", "-c", config], env=dict(base, WLR_BACKENDS="headless", WLR_RENDERER="pixman",
                                             WLR_LIBINPUT_NO_DEVICES="1"),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, **self.as_user())
        deadline = time.time() + 15
        while time.time() < deadline and self.compositor.poll() is None:
            names = os.listdir(self.runtime)
            socket = [n for n in names if n.startswith("wayland-") and "." not in n]
            ipc = [n for n in names if n.startswith("sway-ipc")]
            if socket and ipc:
                self.env = self.program_env = dict(
                    base, WAYLAND_DISPLAY=socket[0], SWAYSOCK=os.path.join(self.runtime, ipc[0]))
                w, h = self.screen
                try:
                    wait_for_background(self, [(0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1),
                                               (w // 2, h // 2)])
                except RuntimeError:
                    self.__exit__()
                    raise
                return self
            time.sleep(0.1)
        self.__exit__()
        raise RuntimeError("sway did not start")

    def __exit__(self, *exc):
        self.compositor.terminate()
        self.compositor.wait()
        shutil.rmtree(self.runtime, ignore_errors=True)

    def as_user(self):
        return dict(user=self.user.pw_uid, group=self.user.pw_gid, extra_groups=[]) \
            if self.user else {}

    def run(self, *args, binary=False):
        return subprocess.run(list(args), capture_output=True, text=not binary, env=self.env,
                              **self.as_user())

    def type(self, *args):
        """wtype's arguments (-k key, -P press, -p release, -s ms). A virtual keyboard sends its
        keymap first, and a key that follows at once may be lost: wtype waits between them."""
        self.run("wtype", "-s", "80", *args)

    def find_window(self, name, timeout=30.0):
        """(rect, full screen) of the first visible window whose title is `name`."""
        def walk(node):
            if node.get("name") == name and node.get("visible"):
                r = node["rect"]
                return (r["x"], r["y"], r["width"], r["height"]), node.get("fullscreen_mode") == 1
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                if found := walk(child):
                    return found
            return None
        deadline = time.time() + timeout
        while time.time() < deadline:
            if found := walk(json.loads(self.run("swaymsg", "-t", "get_tree").stdout or "{}")):
                return found
            time.sleep(0.1)
        return None

    def png(self):
        return self.run("grim", "-", binary=True).stdout


class Weston(Display):
    """Weston nested in a private X server: a Wayland compositor whose keyboard and pointer are
    the X server's, so xdotool sends it real key codes and drags, and it follows setxkbmap. Its
    output may be scaled: `screen` is then in device pixels, as the X server sees it."""

    def __init__(self, screen=SCREEN, scale=1):
        super().__init__(screen)
        self.scale = scale

    def start_helpers(self):
        self.runtime = tempfile.mkdtemp(prefix="grathmoor-weston-")
        config = os.path.join(self.runtime, "weston.ini")
        with open(config, "w") as f:
            f.write("[input-method]\npath=/bin/true\n"  # no on-screen keyboard
                    "[shell]\nbackground-color=0xff%02x%02x%02x\n" % BACKGROUND)
        env = dict(self.env, XDG_RUNTIME_DIR=self.runtime)
        self.start_helper(["weston", "--backend=x11-backend.so", "--use-pixman", "--idle-time=0",
                           f"--config={config}", "--socket=wayland-grathmoor",
                           f"--width={self.screen[0] // self.scale}",
                           f"--height={self.screen[1] // self.scale}", f"--scale={self.scale}"],
                          lambda: os.path.exists(os.path.join(self.runtime, "wayland-grathmoor")),
                          env=env)
        self.program_env = {k: v for k, v in env.items() if k not in ("DISPLAY", "QT_QPA_PLATFORM")}
        self.program_env["WAYLAND_DISPLAY"] = "wayland-grathmoor"
        # Weston follows the pointer's moves once it has seen it at its corner, and its desktop
        # fades in; its panel lies along the top.
        self.run("xdotool", "mousemove", "0", "0")
        w, h = self.screen
        wait_for_background(self, [(0, h - 1), (w - 1, h - 1), (w // 2, h // 2), (w - 1, 60 * self.scale)])

    def __exit__(self, *exc):
        super().__exit__(*exc)
        shutil.rmtree(self.runtime, ignore_errors=True)


def readable_copy(game_dir):
    """A copy of the game folder that any user may read, as a player copies it to use a skin of
    their own; the caller removes it."""
    folder = tempfile.mkdtemp(prefix="grathmoor-game-")
    os.chmod(folder, 0o755)
    copy = os.path.join(folder, "game")
    shutil.copytree(game_dir, copy)
    for root, dirs, files in os.walk(copy):
        for name in dirs:
            os.chmod(os.path.join(root, name), 0o755)
    return copy


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
        full_env = dict(display.program_env, XDG_CONFIG_HOME=self.config_home,
                        GRATHMOOR_TRACE="1", SDL_AUDIODRIVER="dummy")
        full_env.update(env or {})
        user = getattr(display, "user", None)  # the compositor's user plays, with its settings
        if user:
            subprocess.run(["chown", "-R", f"{user.pw_uid}:{user.pw_gid}", self.scratch])
        as_user = display.as_user() if user else {}
        self.trace_file = open(self.trace_path, "w")
        self.process = subprocess.Popen([os.path.join(game_dir, "grathmoor")], cwd=game_dir,
                                        env=full_env, stderr=self.trace_file,
                                        stdout=subprocess.DEVNULL, **as_user)

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

    def wait_for_trace(self, text, timeout=30.0, after=0):
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
