#!/usr/bin/env python3
"""End-to-end test of the keys, the mouse and the window on the desktops players run: real key
events (xdotool keydown/keyup on X, a virtual keyboard on Wayland), layouts (setxkbmap) and
drags against the real program, read from its trace and the screen.

Usage: keys_test.py <game folder> [x11 | openbox | wayland | gnome | kde]
- x11 (bare Xvfb): keys that overlap, keys held for seconds, a layout switched while the
  program runs, Esc in an open drop-down list and clicks on the four buttons.
- openbox (Xvfb with a window manager, then also a compositing manager): a held Esc that
  closes Key settings, a key held while another window has the keyboard, a Russian layout,
  the see-through outline that clicks pass through, and a drag.
- wayland (headless sway with a virtual keyboard; weston nested in Xvfb): the keys, the
  see-through outline and full screen; a drag and a French layout.
- gnome, kde (mutter, KWin nested in Xvfb): the outline, the keys, drags, and full screen
  from wherever the window was, and back.
Checks are on order and counts, with generous waits, never on exact milliseconds.
"""
import os
import shutil
import sys
import time

import harness
from harness import TITLE, Checks, Display

GAME_DIR = os.path.abspath(sys.argv[1])
checks = Checks()
check = checks.check
screen = None  # the Display of the run

# Where to click the four buttons, inside their click areas of the windowed handheld.
BUTTONS = {"acl": (272, 297), "cursor": (59, 303), "attack": (176, 302), "move": (366, 303)}
WINDOWED = {"SoundMode": "2", "SplashScreen": "0", "FullscreenMode": "0"}


def xdo(*args, pause=0.15):
    """One xdotool command, then a moment for the program to take it."""
    screen.run("xdotool", *args)
    time.sleep(pause)


def in_order(program, wanted, since, timeout=5.0):
    """True once the events appear in the trace after the mark, in this order (others between
    them)."""
    deadline = time.time() + timeout
    while True:
        found = iter(event for _, event in program.trace()[since:])
        if all(event in found for event in wanted):
            return True
        if time.time() > deadline:
            return False
        time.sleep(0.05)


class Run:
    """The program with its window found and holding the keyboard."""

    def __init__(self, settings, env=None, title=TITLE):
        self.program = harness.Program(GAME_DIR, screen, settings=settings, env=env)
        self.window = screen.find_window(title)

    def activate(self):
        """With a window manager the keyboard goes with the active window."""
        screen.run("xdotool", "windowactivate", "--sync", self.window)
        time.sleep(0.3)

    def focus(self, window=None):
        # Without a window manager the focus follows the pointer: keep it over the handheld.
        window = window or self.window
        screen.run("xdotool", "mousemove", "--window", window, "260", "170")
        screen.run("xdotool", "windowfocus", "--sync", window)
        time.sleep(0.2)

    def mark(self):
        return len(self.program.trace())

    def events(self, since):
        return [event for _, event in self.program.trace()[since:]]

    def demo_runs(self, note=""):
        return check(self.window is not None and
                     self.program.wait_for_trace("mode 1") is not None,
                     "the windowed demo runs" + note)

    def wait(self, wanted, since, timeout=5.0):
        return in_order(self.program, wanted, since, timeout)

    def stop(self):
        self.program.stop()


def case_overlapping_modifiers():
    run = Run(WINDOWED)
    try:
        if not run.demo_runs():
            return
        run.focus()

        mark = run.mark()
        xdo("keydown", "shift")
        xdo("keydown", "5")
        check(run.wait(["input Inp_cursor_press", "input Inp_acl_press", "mode 0"], mark),
              "Shift held, then 5: the handheld resets")
        xdo("keyup", "5")
        xdo("keyup", "shift")
        check(run.wait(["input Inp_acl_release", "mode 1", "input Inp_cursor_release"],
                               mark), "5 released while Shift is down: the demo starts again")

        mark = run.mark()
        xdo("keydown", "5")
        xdo("keydown", "shift")
        xdo("keyup", "5")
        check(run.wait(["input Inp_acl_press", "input Inp_cursor_press",
                                "input Inp_acl_release", "hide btn_acl_down", "mode 1"], mark),
              "5 down, Shift down, 5 up: the reset button is released with Shift still down")
        xdo("keyup", "shift")

        xdo("key", "ctrl")
        mark = run.mark()
        xdo("keydown", "shift")
        xdo("keydown", "alt")
        check(run.wait(["input Inp_cursor_press", "input Inp_move_press", "mode 3"], mark),
              "Shift held, then Alt: Move chooses level 2")
        xdo("keyup", "alt")
        xdo("keyup", "shift")

        mark = run.mark()
        xdo("keydown", "alt")
        xdo("keydown", "shift")
        xdo("keyup", "alt")
        check(run.wait(["input Inp_move_press", "mode 4", "input Inp_move_release",
                                "hide btn_move_down"], mark),
              "Alt down, Shift down, Alt up: Move is released with Shift still down")
        xdo("keyup", "shift")
        mark = run.mark()
        xdo("key", "alt")
        check(run.wait(["input Inp_move_press", "mode 2", "input Inp_move_release"], mark),
              "the next Alt moves again (L3 to L1)")

        # The pop-up menu takes the keyboard while Shift is down: Shift is released then and
        # there, and its real release later is nobody's.
        mark = run.mark()
        xdo("keydown", "shift")
        xdo("click", "3", pause=0.6)
        released = run.wait(["input Inp_cursor_release"], mark, timeout=2)
        xdo("key", "Escape", pause=0.3)  # closes the menu
        xdo("keyup", "shift", pause=0.4)
        check(released and run.events(mark).count("input Inp_cursor_release") == 1,
              "the pop-up menu taking the keyboard releases the held Cursor key once")
        check(run.program.process.poll() is None, "Esc in the open menu only closed the menu")
    finally:
        run.stop()


def case_mouse_on_every_button():
    run = Run(WINDOWED)
    try:
        if not run.demo_runs():
            return
        for name, (x, y) in BUTTONS.items():
            mark = run.mark()
            xdo("mousemove", "--window", run.window, str(x), str(y), pause=0.05)
            xdo("click", "1", pause=0.3)
            check(run.wait([f"input Inp_{name}_press", f"show btn_{name}_down",
                                    f"input Inp_{name}_release", f"hide btn_{name}_down"], mark),
                  f"a left click on the {name} button presses and releases it")
        mark = run.mark()
        x, y = BUTTONS["attack"]
        xdo("mousemove", "--window", run.window, str(x), str(y), pause=0.05)
        xdo("click", "2", pause=0.5)
        check(not any(e.startswith("input") for e in run.events(mark)),
              "a middle click on a button does nothing")
    finally:
        run.stop()


def hold_key(run, key, seconds):
    """The key held for the given time; returns the trace mark before it went down."""
    mark = run.mark()
    xdo("keydown", key, pause=seconds)
    xdo("keyup", key, pause=0.4)
    return mark


def wait_for_input(run):
    """True once the warrior takes input: Up then plays the Cursor sound."""
    mark = run.mark()
    deadline = time.time() + 15
    while "sound Cursor" not in run.events(mark) and time.time() < deadline:
        xdo("key", "Up", pause=0.4)
    return "sound Cursor" in run.events(mark)


def case_held_letter(detectable=True):
    """Move on M, held for two seconds at the level choice and in a game."""
    env = None if detectable else {"GRATHMOOR_DETECTABLE_AUTO_REPEAT": "0"}
    how = "with" if detectable else "without"
    run = Run(dict(WINDOWED, Key4="23"), env=env)
    try:
        if not run.demo_runs(f" ({how} detectable auto-repeat)"):
            return
        state = "on" if detectable else "off"
        check(any(e.startswith(f"keyboard detectable-auto-repeat {state}")
                  for e in run.events(0)), f"detectable auto-repeat is {state}")
        run.focus()
        xdo("key", "ctrl")
        mark = hold_key(run, "m", 2.0)
        events = run.events(mark)
        check(events.count("input Inp_move_press") == 1 and "mode 3" in events
              and "mode 4" not in events and events.count("input Inp_move_release") == 1,
              f"M held for 2 s at the level choice moves one level ({how} detectable "
              f"auto-repeat; modes {[e for e in events if e.startswith('mode')]})")

        # Start a game on level 2. The bats' turns take the input away for a while every five
        # seconds, so a hold that began in one is tried again.
        xdo("key", "ctrl")
        for _ in range(3):
            if not check(wait_for_input(run), "the game takes input"):
                return
            mark = hold_key(run, "m", 2.0)
            trace = run.program.trace()[mark:]
            presses = [ms for ms, e in trace if e == "input Inp_move_press"]
            walks = [ms for ms, e in trace if e == "sound Step" and ms in presses]
            if len(presses) != 1 or walks:
                break
            print(f"     the press came while the bats flew: {[e for _, e in trace][:8]}")
        check(len(presses) == 1 and len(walks) == 1,
              f"M held for 2 s in a game walks one cell ({how} detectable auto-repeat; "
              f"{len(presses)} presses, {len(walks)} walks)")
    finally:
        run.stop()


def case_french_layout():
    """The layout switched to AZERTY while the program runs: the top-row 1 key plays from the
    splash, and A is the letter the layout puts right of Tab."""
    run = Run({"SoundMode": "2", "SplashScreen": "1", "FullscreenMode": "0", "Key4": "11"},
              title="About this game...")
    try:
        if not check(run.window is not None, "the splash shows"):
            return
        check(screen.run("setxkbmap", "fr").returncode == 0, "setxkbmap fr")
        time.sleep(0.5)
        run.focus()
        mark = run.mark()
        xdo("key", "ampersand")  # the top-row 1 key, unshifted on AZERTY
        check(run.wait(["mode 1"], mark), "the top-row 1 key (typing &) plays from the splash")
        window = screen.find_window(TITLE)
        if not check(window is not None, "the game shows"):
            return
        run.focus(window)
        xdo("key", "ctrl")
        mark = run.mark()
        xdo("key", "q", pause=0.4)  # AZERTY's Q, where US has A
        xdo("key", "a")
        check(run.wait(["key down 51", "key down 41", "input Inp_move_press", "mode 3"],
                               mark) and "mode 4" not in run.events(mark),
              "on AZERTY the key typing A moves and the key in the US A's place does not")
    finally:
        screen.run("setxkbmap", "us")
        run.stop()


def case_esc_in_open_list():
    run = Run(None, title="About this game...")
    try:
        if not check(run.window is not None, "the splash shows"):
            return
        x, y, _, _ = screen.geometry(run.window)
        below = (x + 217, y + 330, 144, 40)  # where the open list lies, under the closed one
        closed = screen.region_digest(*below)
        xdo("mousemove", "--window", run.window, "289", "318", pause=0.05)
        xdo("click", "1", pause=0.6)
        check(screen.region_digest(*below) != closed, "a click opens the sound list")
        xdo("key", "Escape")
        check(run.program.wait_end(5), "Esc with the sound list open ends the program")
        check("SoundMode" not in run.program.settings_text(), "no sound output was stored")
    finally:
        run.stop()


def case_window_manager():
    """A held Esc closing Key settings, M held while another window has the keyboard, and the M
    key on a Russian layout."""
    other = screen.helper(["xmessage", "-geometry", "+0+0", "another window"])
    run = Run(dict(WINDOWED, Key4="23"))
    try:
        if not run.demo_runs():
            return
        run.activate()
        xdo("mousemove", "--window", run.window, "120", "60")
        xdo("click", "3", pause=0.6)
        xdo("key", *["Down"] * 6, "Return", pause=0.8)  # Key settings
        keys = screen.find_window("Key settings", timeout=5)
        screen.run("xdotool", "windowactivate", "--sync", keys or run.window)
        hold_key(run, "Escape", 1.2)  # longer than the repeat delay
        check(keys and not screen.windows("Key settings") and run.program.process.poll() is None,
              "Esc held for 1.2 s closes Key settings and the game goes on")
        run.activate()
        xdo("key", "ctrl")
        mark = run.mark()
        xdo("keydown", "m", pause=0.4)
        screen.run("xdotool", "windowactivate", "--sync", screen.find_window("xmessage"))
        time.sleep(1.0)
        run.activate()
        xdo("keyup", "m", pause=1.0)
        check(run.events(mark).count("input Inp_move_press") == 1,
              "M held while another window has the keyboard for a second moves once")
        screen.run("setxkbmap", "ru")
        mark = run.mark()
        xdo("key", "Cyrillic_softsign", pause=0.4)  # where US has M
        check(run.wait(["key down 4d", "input Inp_move_press"], mark),
              "on a Russian layout the M key bound to Move moves")
    finally:
        screen.run("setxkbmap", "us")
        run.stop()
        other.terminate()


def outline_checks(what, rect, before, after):
    """The corners of the window show what was behind it; the middle does not."""
    x, y, w, h = rect
    points = [(x, y), (x + w - 1, y), (x, y + h - 1), (x + w - 1, y + h - 1),
              (x + w // 2, y + h // 2)]
    same = [harness.png_pixel(after, *p) == harness.png_pixel(before, *p) for p in points]
    check(same == [True] * 4 + [False], f"{what}: the window's corners show the desktop behind")


def case_compositor():
    before = screen.png()
    run = Run(WINDOWED)
    try:
        if not run.demo_runs(" on a compositing desktop"):
            return
        x, y, w, h = screen.geometry(run.window)
        outline_checks("X11 with a compositing manager", (x, y, w, h), before, screen.png())
        check(screen.window_at(x + 1, y + 1) == screen.root_window(),
              "a click on a corner goes to the desktop below")
        screen.drag((x + 40, y + 20), (150, 100))
        check(screen.geometry(run.window)[:2] == (x + 150, y + 100),
              "dragging the case by (150, 100) moves the window by as much")
    finally:
        run.stop()


WAYLAND_KEYS = [  # the keys as wtype's and as xdotool's arguments, the events they give in
    # order, one they must not give
    (["-k", "5"],
     ["key", "5"],
     ["key down 35", "input Inp_acl_press", "mode 0", "mode 1"], None, "5 resets"),
    (["-P", "Shift_L", "-k", "5", "-p", "Shift_L"],
     ["keydown", "shift", "key", "5", "keyup", "shift"],
     ["input Inp_cursor_press", "input Inp_acl_press", "mode 0"], None, "Shift held + 5 resets"),
    (["-k", "Control_L"],
     ["key", "ctrl"],
     ["key down 11", "input Inp_attack_press", "mode 2"], None, "Ctrl presses Attack"),
    (["-P", "m", "-s", "2000", "-p", "m"],
     ["keydown", "m", "sleep", "2", "keyup", "m"],
     ["input Inp_move_press", "mode 3", "input Inp_move_release"], "mode 4",
     "M bound to Move and held for 2 s moves one level"),
]


def case_sway(game_dir):
    with harness.Sway() as desk:
        before = desk.png()
        run = harness.Program(game_dir, desk, settings=dict(WINDOWED, Key4="23"))
        try:
            found = desk.find_window(TITLE)
            if not check(found and run.wait_for_trace("mode 1") is not None,
                         "Wayland (sway): the windowed demo runs"):
                return
            outline_checks("Wayland (sway)", found[0], before, desk.png())
            for keys, _, wanted, unwanted, what in WAYLAND_KEYS:
                mark = len(run.trace())
                desk.type(*keys)
                check(in_order(run, wanted, mark) and
                      unwanted not in [e for _, e in run.trace()[mark:]], f"Wayland: {what}")
            desk.type("-k", "F12")
            time.sleep(1.0)
            check(desk.find_window(TITLE) == ((0, 0, *harness.SCREEN), True),
                  "Wayland (sway): F12 covers the whole output")
        finally:
            run.stop()


def case_weston(game_dir):
    with harness.Weston() as desk:
        before = desk.png()
        run = harness.Program(game_dir, desk, settings=dict(WINDOWED, Key4="11"))
        try:
            started = run.wait_for_trace("mode 1") is not None and time.sleep(1.0) is None
            shown = desk.png()
            rect = harness.changed_rect(before, shown, top=40) if started else None
            if not check(rect is not None, f"Wayland (weston): the windowed demo shows ({rect})"):
                return
            desk.drag((rect[0] + 40, rect[1] + 20), (150, 100))
            desk.run("xdotool", "mousemove", "0", "0")
            time.sleep(0.5)
            # The Cursor button, where it was and where it should be now.
            x, y = rect[0] + 50, rect[1] + 265
            check(harness.png_patch(shown, x, y, 100, 70) ==
                  harness.png_patch(desk.png(), x + 150, y + 100, 100, 70),
                  "Wayland (weston): dragging the case by (150, 100) moves it by as much")
            desk.run("setxkbmap", "fr")
            for name in ("ctrl", "a"):
                time.sleep(0.5)
                desk.run("xdotool", "key", name)
            check(in_order(run, ["key down 41", "input Inp_move_press"], 0),
                  "Wayland (weston): on AZERTY the key that types A acts as A")
        finally:
            run.stop()


def case_desktop():
    """A desktop's own compositor nested in Xvfb (GNOME's, KDE's): the outline, the keys, a
    drag, and full screen from wherever the window was, over and over."""
    name, before, (width, height) = screen.NAME, screen.background, screen.screen
    run = harness.Program(GAME_DIR, screen, settings=dict(WINDOWED, Key4="23"))

    def windowed():
        """(rectangle, screen) once a window of the handheld's size shows over the desktop."""
        shot = screen.png()
        rect = harness.changed_rect(before, shot)
        return (rect, shot) if rect and 400 < rect[2] <= 527 and 250 < rect[3] <= 348 and \
            harness.png_pixel(shot, 2, 2) == harness.png_pixel(before, 2, 2) else None

    def covers():
        """True once no point of a grid over the output, its edges among them, shows the
        desktop."""
        now, then = (harness.png_patch(shot, 0, 0, width, height)
                     for shot in (screen.png(), before))
        points = [3 * ((y * (height - 3) // 4 + 1) * width + x * (width - 3) // 4 + 1)
                  for x in range(5) for y in range(5)]
        return len(now) == len(then) and all(now[i:i + 3] != then[i:i + 3] for i in points)

    def full_screen_and_back(what):
        screen.run("xdotool", "key", "F12")
        check(harness.until(covers, 20), f"{name}: F12 {what} covers the output from its origin")
        screen.run("xdotool", "key", "F12")
        back = harness.until(windowed, 20)
        if check(back, f"{name}: F12 again brings the window back ({what})"):
            outline_checks(f"{name}, back from full screen", back[0], before, back[1])
        return back

    try:
        shown = run.wait_for_trace("mode 1", timeout=30) is not None and harness.until(windowed, 30)
        if not check(shown, f"{name}: the windowed demo shows"):
            return
        outline_checks(name, shown[0], before, shown[1])
        for _, keys, wanted, unwanted, what in WAYLAND_KEYS:
            mark = len(run.trace())
            screen.run("xdotool", *keys)
            check(in_order(run, wanted, mark, timeout=10) and
                  unwanted not in [e for _, e in run.trace()[mark:]], f"{name}: {what}")
        back = full_screen_and_back("at the first place")
        for _ in range(2):
            if not back:
                return
            (x, y, w, h), shot = back
            # Towards the output's middle, wherever the window came back.
            by = (150 if x + w // 2 < width // 2 else -150,
                  100 if y + h // 2 < height // 2 else -100)
            screen.drag((x + 40, y + 20), by)
            screen.run("xdotool", "mousemove", *map(str, screen.rest))
            # The Cursor button, where it was and where it should be now.
            button = (x + 50, y + 265, 100, 70)
            check(harness.until(lambda: harness.png_patch(shot, *button) == harness.png_patch(
                screen.png(), button[0] + by[0], button[1] + by[1], 100, 70), 10),
                  f"{name}: dragging the case by {by} moves it by as much")
            back = full_screen_and_back(f"after a drag by {by}")
    finally:
        run.stop()


def main():
    global screen
    desktop = sys.argv[2] if len(sys.argv) > 2 else "x11"
    cases = {
        "x11": [(Display, (case_overlapping_modifiers, case_mouse_on_every_button,
                           case_held_letter, lambda: case_held_letter(detectable=False),
                           case_french_layout, case_esc_in_open_list))],
        "openbox": [(lambda: Display(wm=True), (case_window_manager,)),
                    (lambda: Display(wm=True, compositor=True), (case_compositor,))],
        "gnome": [(harness.Mutter, (case_desktop,))],
        "kde": [(harness.Kwin, (case_desktop,))],
    }
    if desktop == "wayland":
        game_dir = harness.readable_copy(GAME_DIR)
        try:
            for case in (case_sway, case_weston):
                print(f"---- {case.__name__}", flush=True)
                case(game_dir)
        finally:
            shutil.rmtree(os.path.dirname(game_dir), ignore_errors=True)
        return checks.exit_status("Wayland")
    for make_display, desktop_cases in cases[desktop]:
        with make_display() as screen:
            for case in desktop_cases:
                print(f"---- {getattr(case, '__name__', 'case')}", flush=True)
                case()
    return checks.exit_status(f"key ({desktop})")


if __name__ == "__main__":
    sys.exit(main())
