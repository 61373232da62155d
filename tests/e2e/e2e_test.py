#!/usr/bin/env python3
"""End-to-end test: starts the real program under Xvfb and drives it as a player would.

Usage: e2e_test.py <game folder>
Every case runs with a throw-away settings folder. Checks are on order and gaps, with generous
bounds, never on exact milliseconds.
"""
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

GAME_DIR = os.path.abspath(sys.argv[1])
TITLE = "Grathmoor (Brennicor, Zephyrine Series) Simulator"
SCREEN = (1024, 768)
failures = []


def check(condition, message):
    print(("ok   " if condition else "FAIL ") + message, flush=True)
    if not condition:
        failures.append(message)


class Display:
    """A private X server for the run."""

    def __enter__(self):
        for number in range(90, 140):
            if not os.path.exists(f"/tmp/.X{number}-lock"):
                break
        self.name = f":{number}"
        self.server = subprocess.Popen(
            ["Xvfb", self.name, "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24", "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.environ["DISPLAY"] = self.name
        deadline = time.time() + 10
        while time.time() < deadline:
            if subprocess.run(["xdotool", "getdisplaygeometry"], capture_output=True).returncode == 0:
                return self
            time.sleep(0.1)
        raise RuntimeError("Xvfb did not start")

    def __exit__(self, *exc):
        self.server.terminate()
        self.server.wait()


class Program:
    """The game started from its folder with its own settings folder and trace."""

    def __init__(self, settings=None, game_dir=GAME_DIR):
        self.config_home = tempfile.mkdtemp(prefix="grathmoor-e2e-")
        if settings is not None:
            folder = os.path.join(self.config_home, "Kelvamor")
            os.makedirs(folder)
            with open(os.path.join(folder, "Tov50.conf"), "w") as f:
                f.write("[General]\n" + "".join(f"{k}={v}\n" for k, v in settings.items()))
        self.trace_path = os.path.join(self.config_home, "trace.txt")
        env = dict(os.environ, XDG_CONFIG_HOME=self.config_home, GRATHMOOR_TRACE="1",
                   SDL_AUDIODRIVER="dummy")
        self.trace_file = open(self.trace_path, "w")
        self.process = subprocess.Popen([os.path.join(game_dir, "grathmoor")], cwd=game_dir,
                                        env=env, stderr=self.trace_file,
                                        stdout=subprocess.DEVNULL)

    def trace(self):
        with open(self.trace_path) as f:
            lines = []
            for line in f:
                parts = line.split()
                if parts and parts[0].isdigit():
                    lines.append((int(parts[0]), " ".join(parts[1:])))
            return lines

    def wait_for_trace(self, text, timeout=10.0, after=0):
        deadline = time.time() + timeout
        while time.time() < deadline:
            for ms, event in self.trace():
                if ms >= after and event == text:
                    return ms
            time.sleep(0.05)
        return None

    def settings_text(self):
        path = os.path.join(self.config_home, "Kelvamor", "Tov50.conf")
        return open(path).read() if os.path.exists(path) else ""

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.trace_file.close()
        shutil.rmtree(self.config_home, ignore_errors=True)


def find_window(name, timeout=10.0):
    deadline = time.time() + timeout
    while time.time() < deadline:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{re.escape(name)}$"],
                               capture_output=True, text=True)
        ids = found.stdout.split()
        if ids:
            return ids[0]
        time.sleep(0.1)
    return None


def geometry(window):
    out = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window],
                         capture_output=True, text=True).stdout
    values = dict(line.split("=") for line in out.split())
    return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])


def pixel(x, y):
    out = subprocess.run(["import", "-window", "root", "-crop", f"1x1+{x}+{y}", "-depth", "8", "txt:-"],
                         capture_output=True, text=True).stdout
    for line in out.splitlines():
        if line.startswith(f"0,0:") and "#" in line:
            hexa = line.split("#")[1][:6]
            return tuple(int(hexa[i:i + 2], 16) for i in (0, 2, 4))
    return None


def key(window, name):
    """Presses a key in the window. Without a window manager the keyboard focus follows the
    pointer, so the pointer goes over the window first."""
    subprocess.run(["xdotool", "mousemove", "--window", window, "20", "20"], capture_output=True)
    subprocess.run(["xdotool", "windowfocus", "--sync", window], capture_output=True)
    subprocess.run(["xdotool", "key", name], capture_output=True)


def case_first_start():
    program = Program()
    try:
        check(find_window("About this game...") is not None, "first start shows the splash screen")
        check("Key1=6" in program.settings_text() and "Key4=37" in program.settings_text(),
              "first start stores the default key choices")
    finally:
        program.stop()


def case_windowed_demo_and_attack():
    program = Program({"SoundMode": "2", "SplashScreen": "0", "FullscreenMode": "0"})
    try:
        window = find_window(TITLE)
        check(window is not None, "with a stored sound mode the splash is skipped and the game shows")
        if window is None:
            return
        x, y, w, h = geometry(window)
        check((x, y, w, h) == (248, 210, 527, 348),
              f"the windowed handheld is centred at 248, 210 (got {x}, {y}, {w} x {h})")
        # The key colour outside the handheld is not drawn: at the window's corner the screen
        # shows what lies beneath, as it does outside the window; the handheld's middle does not.
        root, corner, inside = pixel(5, 5), pixel(x, y), pixel(x + w // 2, y + h // 2)
        check(corner == root and inside != root,
              f"the window's corner is see-through (screen {root}, corner {corner}, middle {inside})")

        start = program.wait_for_trace("mode 1")
        check(start is not None, "the demo starts")
        if start is None:
            return
        cycle_end = program.wait_for_trace("show im_warrior_1", timeout=20, after=start + 14850)
        check(cycle_end is not None, "the demo goes round its 33-step cycle")
        demo = [(ms, e) for ms, e in program.trace() if start <= ms < start + 14850 + 300]
        # Steps with a visible change: 1, 4, 5, 6, 7, 10, ... Each step's first line lands near a
        # multiple of 450 ms after the mode change.
        steps = {}
        for ms, event in demo:
            n = round((ms - start) / 450)
            if event.startswith(("show", "hide", "panel")) and n not in steps:
                steps[n] = ms - start - 450 * n
        lateness = sorted(steps.values())
        print(f"     demo step lateness (ms): {lateness}", flush=True)
        check(all(-5 <= late <= 200 for late in lateness),
              "every demo step comes at its 450 ms multiple (within 200 ms)")
        check(set(range(1, 32)) - {2, 3, 8, 9, 14, 15, 27, 28, 29, 30, 31} <= set(steps),
              "every demo step with a change shows on time")

        key(window, "ctrl")
        check(program.wait_for_trace("panel 1_l 2_1", timeout=5) is not None,
              "the attack key shows L1 on the panel")

        # F12 switches to full screen and back; the choice is stored each time.
        key(window, "F12")
        time.sleep(1)
        full = geometry(window)
        check(full == (0, 0, SCREEN[0], SCREEN[1]), f"F12 fills the screen (got {full})")
        check("FullscreenMode=1" in program.settings_text(), "F12 stores full-screen mode")
        key(window, "F12")
        time.sleep(1)
        back = geometry(window)
        check(back == (248, 210, 527, 348), f"F12 again brings the centred handheld back ({back})")

        # The key settings window opens from the pop-up menu; A becomes Start game/Attack.
        subprocess.run(["xdotool", "mousemove", "--window", window, "260", "170", "click", "3"])
        time.sleep(0.5)
        subprocess.run(["xdotool", "key", "Down", "Down", "Down", "Down", "Down", "Down", "Return"])
        keys = find_window("Key settings", timeout=5)
        check(keys is not None, "the pop-up menu opens the key settings")
        if keys is None:
            return
        subprocess.run(["xdotool", "mousemove", "--window", keys, "5", "5"])
        subprocess.run(["xdotool", "key", "Tab", "Tab", "a", "Return"])
        time.sleep(0.5)
        check("Key3=11" in program.settings_text(), "accepting stores the A key for Key3")
        key(window, "a")
        check(program.wait_for_trace("mode 5", timeout=5) is not None,
              "the A key now starts the game")
    finally:
        program.stop()


def case_missing_config():
    folder = tempfile.mkdtemp(prefix="grathmoor-noconfig-")
    try:
        shutil.copy(os.path.join(GAME_DIR, "grathmoor"), folder)
        program = Program({"SoundMode": "2", "SplashScreen": "0", "FullscreenMode": "0"},
                          game_dir=folder)
        try:
            box = find_window("Error")
            check(box is not None, "without Config.ini an error message appears")
            if box is not None:
                key(box, "Return")
            try:
                program.process.wait(10)
                ended = True
            except subprocess.TimeoutExpired:
                ended = False
            check(ended, "after the message the program ends")
        finally:
            program.stop()
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def main():
    with Display():
        for case in (case_first_start, case_windowed_demo_and_attack, case_missing_config):
            print(f"---- {case.__name__}", flush=True)
            case()
    if failures:
        print("FAILED: " + "; ".join(failures))
        return 1
    print("all end-to-end checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
