#!/usr/bin/env python3
"""End-to-end test: starts the real program under Xvfb and drives it as a player would.

Usage: e2e_test.py <game folder>
Every case runs with a throw-away settings folder. Checks are on order and gaps, with generous
bounds, never on exact milliseconds.
"""
import os
import shutil
import subprocess
import sys
import tempfile

import harness
from harness import SCREEN, TITLE, Checks, Display

GAME_DIR = os.path.abspath(sys.argv[1])
checks = Checks()
check = checks.check
screen = None  # the Display of the run


def Program(settings=None, game_dir=GAME_DIR):
    return harness.Program(game_dir, screen, settings=settings)


def find_window(name, timeout=30.0):
    return screen.find_window(name, timeout)


def geometry(window):
    return screen.geometry(window)


def screen_bytes(x, y, width, height):
    """The raw RGB bytes of a part of the screen."""
    grab = subprocess.run(["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}",
                           "-depth", "8", "rgb:-"], capture_output=True, env=screen.env)
    return grab.stdout


def pixel(x, y):
    return screen.pixel(x, y)


def key(window, name):
    screen.key(window, name)


def case_first_start():
    program = Program()
    try:
        check(find_window("About this game...") is not None, "first start shows the splash screen")
        # Written once the splash is drawn: the splash does not wait for the disk.
        check(harness.poll(lambda: "Key1=6" in program.settings_text()
                           and "Key4=37" in program.settings_text()),
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

        # The LCD really changes on the screen as the demo runs.
        crops = set()
        harness.poll(lambda: crops.add(screen_bytes(x + 84, y + 64, 200, 140)) or len(crops) >= 2,
                     15, 0.45)
        check(len(crops) >= 2, f"the demo's segments change on the screen ({len(crops)} distinct views)")

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
        check(program.wait_for_trace("panel 1_l 2_1", timeout=15) is not None,
              "the attack key shows L1 on the panel")

        # F12 switches to full screen and back; the choice is stored each time.
        key(window, "F12")
        harness.poll(lambda: geometry(window) == (0, 0, SCREEN[0], SCREEN[1]))
        full = geometry(window)
        check(full == (0, 0, SCREEN[0], SCREEN[1]), f"F12 fills the screen (got {full})")
        check(harness.poll(lambda: "FullscreenMode=1" in program.settings_text()),
              "F12 stores full-screen mode")
        key(window, "F12")
        harness.poll(lambda: geometry(window) == (248, 210, 527, 348))
        back = geometry(window)
        check(back == (248, 210, 527, 348), f"F12 again brings the centred handheld back ({back})")

        # The key settings window opens from the pop-up menu; A becomes Start game/Attack.
        screen.run("xdotool", "mousemove", "--window", window, "260", "170", "click", "3")
        check(screen.menu_shown(program), "a right click opens the pop-up menu")
        screen.run("xdotool", "key", "Down", "Down", "Down", "Down", "Down", "Down", "Return")
        keys = find_window("Key settings", timeout=15)
        check(keys is not None, "the pop-up menu opens the key settings")
        if keys is None:
            return
        screen.run("xdotool", "mousemove", "--window", keys, "5", "5")
        screen.run("xdotool", "key", "Tab", "Tab", "a", "Return")
        check(harness.poll(lambda: "Key3=11" in program.settings_text()),
              "accepting stores the A key for Key3")
        key(window, "a")
        check(program.wait_for_trace("mode 5", timeout=15) is not None,
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
    global screen
    with Display() as screen:
        for case in (case_first_start, case_windowed_demo_and_attack, case_missing_config):
            print(f"---- {case.__name__}", flush=True)
            case()
    return checks.exit_status("end-to-end")


if __name__ == "__main__":
    sys.exit(main())
