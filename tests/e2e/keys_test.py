#!/usr/bin/env python3
"""End-to-end test of the keys, the mouse and the window on the desktops players run: real key
events (xdotool keydown/keyup on X, a virtual keyboard on Wayland), layouts (setxkbmap) and
drags against the real program, read from its trace and the screen.

Usage: keys_test.py <game folder> [x11 | openbox | wayland]
- x11 (bare Xvfb): keys that overlap, keys held for seconds, a layout switched while the
  program runs, Esc in an open drop-down list and clicks on the four buttons.
- openbox (Xvfb with a window manager, then also a compositing manager): a held Esc that
  closes Key settings, a key held while another window has the keyboard, a Russian layout,
  the see-through outline that clicks pass through, and a drag.
- wayland (headless sway with a virtual keyboard; weston nested in Xvfb): the keys, the
  see-through outline and full screen; a drag and a French layout.
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


def xdo(*args):
    """One xdotool command; the caller waits for what it brings about."""
    screen.run("xdotool", *args)


def in_order(program, wanted, since, timeout=15.0):
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

    def activate(self, window=None):
        """With a window manager the keyboard goes with the active window."""
        window = window or self.window
        screen.run("xdotool", "windowactivate", "--sync", window)
        harness.poll(lambda: screen.run("xdotool", "getwindowfocus").stdout.split() == [window])

    def focus(self, window=None):
        # Without a window manager the focus follows the pointer: keep it over the handheld.
        window = window or self.window
        screen.run("xdotool", "mousemove", "--window", window, "260", "170")
        screen.run("xdotool", "windowfocus", "--sync", window)

    def settle(self, since):
        """Waits till the handheld has taken every key sent so far: one it does not use (B)
        comes after them."""
        xdo("key", "b")
        return self.wait(["key down 42"], since)

    def choose_level(self):
        """Ctrl (Attack) in the demo: the level choice comes up."""
        mark = self.mark()
        xdo("key", "ctrl")
        return self.wait(["mode 2"], mark)

    def mark(self):
        return len(self.program.trace())

    def events(self, since):
        return [event for _, event in self.program.trace()[since:]]

    def demo_runs(self, note=""):
        return check(self.window is not None and
                     self.program.wait_for_trace("mode 1") is not None,
                     "the windowed demo runs" + note)

    def wait(self, wanted, since, timeout=15.0):
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

        run.choose_level()
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
        xdo("click", "3")
        released = screen.menu_shown(run.program) and run.wait(["input Inp_cursor_release"], mark)
        xdo("keyup", "shift")
        xdo("key", "Escape")  # closes the menu (Shift+Esc would not)
        closed = screen.menu_shown(run.program, shown=False)
        check(released and run.settle(mark) and
              run.events(mark).count("input Inp_cursor_release") == 1,
              "the pop-up menu taking the keyboard releases the held Cursor key once")
        check(closed and run.program.process.poll() is None,
              "Esc in the open menu only closed the menu")
    finally:
        run.stop()


def case_mouse_on_every_button():
    run = Run(WINDOWED)
    try:
        if not run.demo_runs():
            return
        for name, (x, y) in BUTTONS.items():
            mark = run.mark()
            xdo("mousemove", "--window", run.window, str(x), str(y), "click", "1")
            check(run.wait([f"input Inp_{name}_press", f"show btn_{name}_down",
                                    f"input Inp_{name}_release", f"hide btn_{name}_down"], mark),
                  f"a left click on the {name} button presses and releases it")
        mark = run.mark()
        x, y = BUTTONS["attack"]
        xdo("mousemove", "--window", run.window, str(x), str(y), "click", "2", "click", "1")
        run.wait(["input Inp_attack_release"], mark)
        inputs = [e for e in run.events(mark) if e.startswith("input")]
        check(inputs == ["input Inp_attack_press", "input Inp_attack_release"],
              f"a middle click on a button does nothing (then a left click: {inputs})")
    finally:
        run.stop()


def hold_key(run, key, seconds, released=None):
    """The key held for the given time, then let go, and the trace line `released` waited for
    if given; returns the trace mark before it went down."""
    mark = run.mark()
    xdo("keydown", key)
    time.sleep(seconds)  # the time the key is held is what is tried
    xdo("keyup", key)
    if released:
        run.wait([released], mark)
    return mark


def wait_for_input(run):
    """True once the warrior takes input: Up then plays the Cursor sound."""
    mark = run.mark()
    return harness.poll(lambda: xdo("key", "Up") or run.wait(["sound Cursor"], mark, timeout=0.4),
                        30, 0)


def print_keys(run, mark):
    """The key and input lines of the trace since the mark, for whoever reads a failed check."""
    print("     trace: " + ", ".join(f"{ms} {e}" for ms, e in run.program.trace()[mark:]
                                    if e.startswith(("key ", "input "))))


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
        run.choose_level()
        mark = hold_key(run, "m", 2.0, released="input Inp_move_release")
        events = run.events(mark)
        if not check(events.count("input Inp_move_press") == 1 and "mode 3" in events
                     and "mode 4" not in events and events.count("input Inp_move_release") == 1,
                     f"M held for 2 s at the level choice moves one level ({how} detectable "
                     f"auto-repeat; modes {[e for e in events if e.startswith('mode')]})"):
            print_keys(run, mark)

        # Start a game on level 2. The bats' turns take the input away for a while every five
        # seconds, so a hold that began in one is tried again.
        xdo("key", "ctrl")
        for _ in range(3):
            if not check(wait_for_input(run), "the game takes input"):
                return
            mark = hold_key(run, "m", 2.0, released="key up 4d")
            trace = run.program.trace()[mark:]
            presses = [ms for ms, e in trace if e == "input Inp_move_press"]
            walks = [ms for ms, e in trace if e == "sound Step" and ms in presses]
            if len(presses) != 1 or walks:
                break
            print(f"     the press came while the bats flew: {[e for _, e in trace][:8]}")
        if not check(len(presses) == 1 and len(walks) == 1,
                     f"M held for 2 s in a game walks one cell ({how} detectable auto-repeat; "
                     f"{len(presses)} presses, {len(walks)} walks)"):
            print_keys(run, mark)
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
        # The program hears of the new layout before the keys that follow it.
        check(screen.run("setxkbmap", "fr").returncode == 0, "setxkbmap fr")
        run.focus()
        mark = run.mark()
        xdo("key", "ampersand")  # the top-row 1 key, unshifted on AZERTY
        check(run.wait(["mode 1"], mark), "the top-row 1 key (typing &) plays from the splash")
        window = screen.find_window(TITLE)
        if not check(window is not None, "the game shows"):
            return
        run.focus(window)
        run.choose_level()
        mark = run.mark()
        xdo("key", "q")  # AZERTY's Q, where US has A
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
        xdo("mousemove", "--window", run.window, "289", "318", "click", "1")
        check(harness.poll(lambda: screen.region_digest(*below) != closed),
              "a click opens the sound list")
        xdo("key", "Escape")
        check(run.program.wait_end(15), "Esc with the sound list open ends the program")
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
        xdo("mousemove", "--window", run.window, "120", "60", "click", "3")
        screen.menu_shown(run.program)
        xdo("key", *["Down"] * 6, "Return")  # Key settings
        keys = screen.find_window("Key settings", timeout=15)
        run.activate(keys or run.window)
        hold_key(run, "Escape", 1.2)  # longer than the repeat delay
        check(keys and harness.poll(lambda: not screen.windows("Key settings")) and
              run.program.process.poll() is None,
              "Esc held for 1.2 s closes Key settings and the game goes on")
        run.activate()
        run.choose_level()
        mark = run.mark()
        xdo("keydown", "m")
        run.wait(["input Inp_move_press"], mark)
        run.activate(screen.find_window("xmessage"))
        run.wait(["key up 4d"], mark)  # the handheld let go of M as it lost the keyboard
        time.sleep(1.0)  # M stays held while the other window has the keyboard
        run.activate()
        time.sleep(0.3)  # and repeats as the handheld has it back
        xdo("keyup", "m")
        check(run.settle(mark) and run.events(mark).count("input Inp_move_press") == 1,
              "M held while another window has the keyboard for a second moves once")
        screen.run("setxkbmap", "ru")
        mark = run.mark()
        xdo("key", "Cyrillic_softsign")  # where US has M
        check(run.wait(["key down 4d", "input Inp_move_press"], mark),
              "on a Russian layout the M key bound to Move moves")
    finally:
        screen.run("setxkbmap", "us")
        run.stop()
        other.terminate()


def outline_checks(what, rect, before, desk):
    """The corners of the window show what was behind it; the middle does not. The desktop may
    show the window a frame after it says it does: the screen is looked at till it does."""
    x, y, w, h = rect
    points = [(x, y), (x + w - 1, y), (x, y + h - 1), (x + w - 1, y + h - 1),
              (x + w // 2, y + h // 2)]
    behind, seen = harness.png_pixels(before, points), []

    def shown():
        seen[:] = harness.png_pixels(desk.png(), points)
        return [a == b for a, b in zip(seen, behind)] == [True] * 4 + [False]
    if not check(harness.poll(shown), f"{what}: the window's corners show the desktop behind"):
        print(f"     point: before, after: "
              f"{'; '.join(f'{p}: {b}, {a}' for p, b, a in zip(points, behind, seen))}")


def case_compositor():
    before = screen.png()
    run = Run(WINDOWED)
    try:
        if not run.demo_runs(" on a compositing desktop"):
            return
        x, y, w, h = screen.geometry(run.window)
        outline_checks("X11 with a compositing manager", (x, y, w, h), before, screen)
        check(screen.window_at(x + 1, y + 1) == screen.root_window(),
              "a click on a corner goes to the desktop below")
        screen.drag((x + 40, y + 20), (150, 100),
                    lambda d: screen.geometry(run.window)[:2] == (x + d[0], y + d[1]),
                    lambda: run.program.wait_for_trace("window move asked"))
        check(screen.geometry(run.window)[:2] == (x + 150, y + 100),
              "dragging the case by (150, 100) moves the window by as much "
              f"(from {(x, y)} to {screen.geometry(run.window)[:2]})")
    finally:
        run.stop()


WAYLAND_KEYS = [  # wtype's arguments, the events they give in order, one they must not give
    (["-k", "5"], ["key down 35", "input Inp_acl_press", "mode 0", "mode 1"], None, "5 resets"),
    (["-P", "Shift_L", "-k", "5", "-p", "Shift_L"],
     ["input Inp_cursor_press", "input Inp_acl_press", "mode 0"], None, "Shift held + 5 resets"),
    (["-k", "Control_L"], ["key down 11", "input Inp_attack_press", "mode 2"], None,
     "Ctrl presses Attack"),
    (["-P", "m", "-s", "2000", "-p", "m"], ["input Inp_move_press", "mode 3",
     "input Inp_move_release"], "mode 4", "M bound to Move and held for 2 s moves one level"),
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
            outline_checks("Wayland (sway)", found[0], before, desk)
            for keys, wanted, unwanted, what in WAYLAND_KEYS:
                mark = len(run.trace())
                desk.type(*keys)
                check(in_order(run, wanted, mark) and
                      unwanted not in [e for _, e in run.trace()[mark:]], f"Wayland: {what}")
            desk.type("-k", "F12")
            full = ((0, 0, *harness.SCREEN), True)
            check(harness.poll(lambda: desk.find_window(TITLE) == full),
                  f"Wayland (sway): F12 covers the whole output ({desk.find_window(TITLE)})")
        finally:
            run.stop()


def case_sway_zoom(game_dir):
    """The handheld's own zoom on Wayland: Zoom=200 windowed, then filling the screen."""
    screen = (1920, 1080)
    with harness.Sway(screen) as desk:
        run = harness.Program(game_dir, desk, settings=dict(WINDOWED, Zoom="200"))
        try:
            found = desk.find_window(TITLE)
            check(found is not None and found[0][2:] == (1054, 696),
                  f"Wayland (sway): Zoom=200 shows the handheld at 1054 x 696 ({found})")
            run.wait_for_trace("mode 1")
            desk.type("-k", "F12")
            check(harness.poll(lambda: harness.glass_share(desk.png(), screen) >= 0.3),
                  "Wayland (sway): full screen, the LCD's glass takes 30 % of the output's height")
        finally:
            run.stop()


def case_weston(game_dir):
    with harness.Weston() as desk:
        before = desk.png()
        run = harness.Program(game_dir, desk, settings=dict(WINDOWED, Key4="11"))
        try:
            # Shown once what differs from the empty desktop stands still (the LCD's changes
            # stay inside the window).
            looks = [(None, None)]

            def placed():
                shown = desk.png()
                looks.append((harness.changed_rect(before, shown, top=40), shown))
                return looks[-1][0] is not None and looks[-1][0] == looks[-2][0]
            rect, shown = looks[-1] if run.wait_for_trace("mode 1") is not None and \
                harness.poll(placed) else (None, None)
            if not check(rect is not None, f"Wayland (weston): the windowed demo shows "
                                           f"({looks[-1][0]})"):
                return
            # The Cursor button, where it was and where it should be.
            x, y = rect[0] + 50, rect[1] + 265
            patch = harness.png_patch(shown, x, y, 100, 70)
            moved = lambda d: harness.png_patch(desk.png(), x + d[0], y + d[1], 100, 70) == patch
            asked = lambda: run.wait_for_trace("window move asked")
            check(desk.drag((rect[0] + 40, rect[1] + 20), (150, 100), moved, asked) and
                  moved((150, 100)),
                  "Wayland (weston): dragging the case by (150, 100) moves it by as much")
            # Weston takes the new layout from the X server a moment after it changes: the key
            # is tried till it does.
            desk.run("setxkbmap", "fr")
            desk.run("xdotool", "key", "ctrl")

            def typed_a():
                mark = len(run.trace())
                desk.run("xdotool", "key", "a")
                return in_order(run, ["key down 41", "input Inp_move_press"], mark, timeout=2)
            check(harness.poll(typed_a, 30, 0),
                  "Wayland (weston): on AZERTY the key that types A acts as A")
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
    }
    if desktop == "wayland":
        game_dir = harness.readable_copy(GAME_DIR)
        try:
            for case in (case_sway, case_sway_zoom, case_weston):
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
