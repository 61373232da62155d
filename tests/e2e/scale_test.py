#!/usr/bin/env python3
"""The handheld on screens scaled by 2 and 3: the real program under Xvfb with QT_SCALE_FACTOR,
and under weston with its output scaled by 2.

Usage: scale_test.py <game folder>

The window keeps its logical geometry, its outline is cut at device pixels, and the LCD on the
screen is made of the pictures drawn for the scale: the screen's LCD is taken apart into the
skin's pictures (which segments are lit, which glyphs the panel holds) and put together again
the way the program composes it, then compared pixel by pixel. A skin with 1x pictures only is
enlarged pixel for pixel: every logical pixel is a block of one colour that the 1x pictures
make.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

import harness
from harness import TITLE, Checks, Display

GAME_DIR = os.path.abspath(sys.argv[1])
SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# The LCD switches at once: a picture of the glass is then the pictures put together, not one
# caught while the liquid crystal darkens.
WINDOWED = {"SoundMode": "2", "SplashScreen": "0", "FullscreenMode": "0", "LcdResponse": "0"}
TOLERANCE = 2  # per channel: the arithmetic of the compositing here and in the toolkit
checks = Checks()
check = checks.check


def source_identifiers(path, start, end):
    """The identifiers listed between two markers of a source file, in order."""
    with open(os.path.join(SOURCE_DIR, path)) as f:
        text = f.read()
    body = text[text.index(start) + len(start):]
    body = body[:body.index(end)]
    body = re.sub(r"//[^\n]*", "", body)
    return re.findall(r"\b(?:im|btn|la)_\w+", body)


# The stacking order (bottom to top) and the skin's element list, from the element table.
STACKING = source_identifiers("src/lcd/lcd_elements.h", "enum Element_Id : int {", "Element_Count")
SKIN_ELEMENTS = source_identifiers("src/lcd/lcd_elements.cpp", "Skin_Elements = {", "};")
PANEL_POSITIONS = ("im_panel_digit_pos_1", "im_panel_digit_pos_2")


def read_config(game_dir):
    """Each skin element's rectangle and picture file, from Config.ini."""
    sections, current = {}, None
    with open(os.path.join(game_dir, "Config.ini")) as f:
        for line in f:
            line = line.strip()
            if line.startswith("[") and line.endswith("]"):
                current = sections.setdefault(line[1:-1].lower(), {})
            elif "=" in line and current is not None and not line.startswith(";"):
                key, value = line.split("=", 1)
                current[key.strip().lower()] = value.strip()
    elements = {}
    for n, name in enumerate(SKIN_ELEMENTS, 1):
        s = sections.get(f"image{n}", {})
        rect = tuple(int(s.get(k, "0")) for k in ("left", "top", "width", "height"))
        filename = s.get("filename", "")
        elements[name] = (rect, None if filename in ("", "nil") else filename)
    return elements


class Picture:
    """A picture file as premultiplied RGBA rows, the way the program holds a see-through
    element's picture."""

    def __init__(self, path):
        size = subprocess.run(["identify", "-format", "%w %h", path + "[0]"], capture_output=True,
                              text=True, check=True).stdout.split()
        self.width, self.height = int(size[0]), int(size[1])
        raw = subprocess.run(["convert", path + "[0]", "-depth", "8", "rgba:-"],
                             capture_output=True, check=True).stdout
        self.pixels = []  # per pixel (r, g, b, a), premultiplied
        for i in range(0, len(raw), 4):
            r, g, b, a = raw[i], raw[i + 1], raw[i + 2], raw[i + 3]
            self.pixels.append((premultiply(r, a), premultiply(g, a), premultiply(b, a), a))

    def at(self, x, y):
        if 0 <= x < self.width and 0 <= y < self.height:
            return self.pixels[y * self.width + x]
        return (0, 0, 0, 0)


def premultiply(c, a):
    t = c * a
    return (t + (t >> 8) + 0x80) >> 8


def over(dst, src):
    """Source over an opaque pixel, in the toolkit's integer arithmetic."""
    a = src[3]
    if a == 255:
        return src[:3]
    if a == 0:
        return dst
    k = 255 - a
    return tuple(s + premultiply(d, k) for s, d in zip(src[:3], dst))


def screen_rgb(display, x, y, width, height):
    raw = subprocess.run(["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}",
                          "-depth", "8", "rgb:-"], capture_output=True, env=display.env).stdout
    return [tuple(raw[i:i + 3]) for i in range(0, len(raw), 3)]


class Lcd_Model:
    """The skin's pictures inside the LCD glass at one scale (their file names carry it), laid
    out in device pixels of the glass."""

    def __init__(self, game_dir, scale, suffix):
        self.scale = scale
        elements = read_config(game_dir)
        skin = os.path.join(game_dir, "Graphics", "Skin")

        def load(filename):
            base, ext = os.path.splitext(filename)
            return Picture(os.path.join(skin, base + suffix + ext))

        gx, gy, gw, gh = elements["im_background_screen_top"][0]
        self.glass = (gx, gy, gw, gh)
        self.width, self.height = gw * scale, gh * scale
        background = load(elements["im_background"][1])
        self.base = [background.at(gx * scale + x, gy * scale + y)[:3]
                     for y in range(self.height) for x in range(self.width)]
        self.overlay = load(elements["im_background_screen_top"][1])
        # Every element that may show inside the glass, bottom to top, with the pictures it
        # can hold: a segment its own, a panel position any glyph of its side.
        glyphs = {1: [], 2: []}
        for name in SKIN_ELEMENTS:
            m = re.match(r"im_panel_number_([12])_", name)
            if m and elements[name][1]:
                glyphs[int(m.group(1))].append((name, load(elements[name][1])))
        self.layers = []
        for name in STACKING:
            if name not in elements or name in ("im_background", "im_background_screen_top"):
                continue
            (x, y, w, h), filename = elements[name]
            if x + w <= gx or y + h <= gy or x >= gx + gw or y >= gy + gh:
                continue
            if name in PANEL_POSITIONS:
                candidates = glyphs[1 if name.endswith("1") else 2]
            elif filename and not name.startswith("im_panel_number_"):
                candidates = [(name, load(filename))]
            else:
                continue
            self.layers.append((name, ((x - gx) * scale, (y - gy) * scale, w * scale, h * scale),
                                candidates))

    def pixels_of(self, rect, picture):
        """(index in the glass, pixel of the picture) for the picture's visible pixels in the
        rectangle, clipped to it and to the glass."""
        x0, y0, w, h = rect
        out = []
        for y in range(max(0, y0), min(self.height, y0 + h)):
            for x in range(max(0, x0), min(self.width, x0 + w)):
                p = picture.at(x - x0, y - y0)
                if p[3]:
                    out.append((y * self.width + x, p))
        return out

    def explain(self, screen):
        """Takes the screen's glass apart: for each element, lower ones first, the picture (or
        none) that fits the screen best where no element above it can show. Returns the names
        shown and the worst channel difference of the whole glass put together again."""
        ink = []  # per layer and candidate: visible pixels
        topmost = {}
        for i, (_, rect, candidates) in enumerate(self.layers):
            ink.append([self.pixels_of(rect, picture) for _, picture in candidates])
            for pixels in ink[-1]:
                for index, _ in pixels:
                    topmost[index] = i
        overlay = [self.overlay.at(i % self.width, i // self.width) for i in
                   range(self.width * self.height)]
        composed = list(self.base)
        shown = []
        for i, (name, _, candidates) in enumerate(self.layers):
            best, best_error = None, None
            for choice in [None] + list(range(len(candidates))):
                error = 0
                trial = {} if choice is None else dict(ink[i][choice])
                for pixels in ink[i]:
                    for index, _ in pixels:
                        if topmost.get(index) != i:
                            continue
                        under = composed[index]
                        if index in trial:
                            under = over(under, trial[index])
                        seen = over(under, overlay[index])
                        error += sum(abs(a - b) for a, b in zip(seen, screen[index]))
                if best_error is None or error < best_error:
                    best, best_error = choice, error
            if best is not None:
                shown.append(candidates[best][0] if name in PANEL_POSITIONS else name)
                for index, p in ink[i][best]:
                    composed[index] = over(composed[index], p)
        worst = 0
        for index in range(self.width * self.height):
            seen = over(composed[index], overlay[index])
            worst = max(worst, max(abs(a - b) for a, b in zip(seen, screen[index])))
        return shown, worst


def program(display, game_dir, scale, settings=WINDOWED):
    return harness.Program(game_dir, display, settings=settings,
                           env={"QT_SCALE_FACTOR": str(scale)})


def expect_centred(display, window, scale, logical_screen):
    expected_size = (527 * scale, 348 * scale)
    expected_at = (((logical_screen[0] - 527) // 2) * scale,
                   ((logical_screen[1] - 348) // 2) * scale)
    got = display.geometry(window)
    check(got == expected_at + expected_size,
          f"at {scale}x the handheld is {expected_size[0]} x {expected_size[1]} device pixels at "
          f"{expected_at} (got {got})")
    return got


def expect_lcd_matches(display, window_at, model, prefix, downsample=1):
    """The glass on the screen is the skin's pictures put together (tried till it is, so that
    no screenshot falls between two changes of the demo or comes before the first frame)."""
    gx, gy, gw, gh = model.glass
    size = model.scale * downsample
    x, y = window_at[0] + gx * size, window_at[1] + gy * size
    result = None

    def matches():
        nonlocal result
        screen = screen_rgb(display, x, y, gw * size, gh * size)
        if downsample > 1:
            width = gw * size
            blocks_uniform = all(
                screen[(by * size + dy) * width + bx * size + dx] ==
                screen[by * size * width + bx * size]
                for by in range(gh) for bx in range(gw) for dy in range(size) for dx in range(size))
            screen = [screen[by * size * width + bx * size] for by in range(gh) for bx in range(gw)]
        else:
            blocks_uniform = True
        shown, worst = model.explain(screen)
        result = (shown, worst, blocks_uniform)
        return worst <= TOLERANCE and blocks_uniform and shown
    harness.poll(matches, 15, 0.2)
    shown, worst, blocks_uniform = result
    check(worst <= TOLERANCE and bool(shown),
          f"{prefix}the LCD on screen is the skin's pictures put together (worst difference "
          f"{worst}; shown: {' '.join(shown) or 'nothing'})")
    return blocks_uniform


def corner_rows(display, window_at, scale, empty):
    """Per row of the window's top-left corner, the first pixel that is not the screen beneath
    (the screen as it was before the program started)."""
    x0, y0 = window_at
    width, height = 40 * scale, 30 * scale
    now = screen_rgb(display, x0, y0, width, height)
    firsts = []
    for y in range(height):
        x = 0
        while x < width and now[y * width + x] == empty[(y0 + y, x0 + x)]:
            x += 1
        firsts.append(x)
    return firsts


def screen_pixels(display, x0, y0, width, height):
    grab = screen_rgb(display, x0, y0, width, height)
    return {(y0 + i // width, x0 + i % width): p for i, p in enumerate(grab)}


def expect_splash_in_blocks(display, scale, prefix):
    """The splash's background, drawn at 1x only, is enlarged in blocks: its left edge, from
    the top band through the blue band to the bottom band, holds no colour made up between."""
    run = harness.Program(GAME_DIR, display, env={"QT_SCALE_FACTOR": str(scale)})
    try:
        x, y = display.geometry(display.find_window("About this game..."))[:2]
        edge = []

        def drawn():  # white shows between the bands
            edge[:] = screen_rgb(display, x, y, 8 * scale, 420 * scale)
            return (255, 255, 255) in edge
        shown = harness.poll(drawn)
        blocks = [{edge[(by * scale + dy) * 8 * scale + bx * scale + dx]
                   for dy in range(scale) for dx in range(scale)}
                  for by in range(420) for bx in range(8)]
        check(shown and all(len(block) == 1 for block in blocks),
              prefix + "the splash's background is enlarged in blocks of one colour")
    finally:
        run.stop()


def case_scaled(scale, screen_size, game_dir=GAME_DIR, name=None):
    logical = (screen_size[0] // scale, screen_size[1] // scale)
    prefix = f"[{scale}x] "
    with Display(screen_size) as display:
        expect_splash_in_blocks(display, scale, prefix)
        at = (((logical[0] - 527) // 2) * scale, ((logical[1] - 348) // 2) * scale)
        empty = screen_pixels(display, at[0], at[1], 40 * scale, 30 * scale)
        run = program(display, game_dir, scale)
        try:
            window = display.find_window(TITLE)
            check(window is not None, prefix + "the handheld shows")
            if window is None:
                return
            got = expect_centred(display, window, scale, logical)
            run.wait_for_trace("mode 1")
            firsts = []

            def drawn():  # once the corner's last row covers the screen beneath
                firsts[:] = corner_rows(display, at, scale, empty)
                return firsts[-1] < 40 * scale
            harness.poll(drawn)
            check(firsts[0] > 0 and firsts[-1] < 40 * scale,
                  prefix + f"the window's corner is see-through ({firsts[0]} pixels of the first "
                           f"row show the screen beneath)")
            check(any(x % scale for x in firsts),
                  prefix + "the rounded outline is cut at device pixels, not in steps of "
                           f"{scale} (first opaque pixel per row: {firsts[:12]}...)")

            expect_lcd_matches(display, got[:2], Lcd_Model(GAME_DIR, scale, f"@{scale}x"),
                               prefix)

            # Presses land where they do at 1x: logical (50, 300) is on the cursor button,
            # (150, 300) on the attack button.
            for point, button in (((50, 300), "btn_cursor_down"), ((150, 300), "btn_attack_down")):
                since = max((ms for ms, _ in run.trace()), default=0)
                display.run("xdotool", "mousemove", "--window", window, str(point[0] * scale),
                            str(point[1] * scale), "mousedown", "1")
                pressed = run.wait_for_trace("show " + button, timeout=15, after=since)
                display.run("xdotool", "mouseup", "1")
                released = run.wait_for_trace("hide " + button, timeout=15, after=since)
                check(pressed is not None and released is not None,
                      prefix + f"a press at logical {point} shows and hides {button}")

            display.key(window, "F12")
            harness.poll(lambda: display.geometry(window) == (0, 0) + tuple(screen_size))
            full = display.geometry(window)
            check(full == (0, 0) + tuple(screen_size),
                  prefix + f"F12 fills the screen at device resolution (got {full})")
        finally:
            run.stop()


def case_1x_only_skin():
    """A skin without pictures for the scale, on a screen scaled by 1.5 (rounded to 2)."""
    folder = tempfile.mkdtemp(prefix="grathmoor-1x-")
    try:
        # The program reads Config.ini beside its real executable: copy it, link the rest.
        for entry in os.listdir(GAME_DIR):
            source = os.path.join(GAME_DIR, entry)
            if entry == "Graphics":
                continue
            if entry == "grathmoor":
                shutil.copy(source, folder)
            else:
                os.symlink(source, os.path.join(folder, entry))
        for root, _, files in os.walk(os.path.join(GAME_DIR, "Graphics")):
            target = os.path.join(folder, os.path.relpath(root, GAME_DIR))
            os.makedirs(target, exist_ok=True)
            for f in files:
                if "@" not in f:
                    os.symlink(os.path.join(root, f), os.path.join(target, f))

        prefix = "[1x-only skin, factor 1.5] "
        with Display((2048, 1536)) as display:
            run = harness.Program(folder, display, settings=WINDOWED,
                                  env={"QT_SCALE_FACTOR": "1.5"})
            try:
                window = display.find_window(TITLE)
                check(window is not None, prefix + "the handheld shows")
                if window is None:
                    return
                got = expect_centred(display, window, 2, (1024, 768))
                run.wait_for_trace("mode 1")
                uniform = expect_lcd_matches(display, got[:2], Lcd_Model(folder, 1, ""), prefix,
                                             downsample=2)
                check(uniform, prefix + "every logical pixel of the LCD is a 2 x 2 block of one "
                                        "colour: the 1x pictures are enlarged with hard edges")
            finally:
                run.stop()
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def wait_for_geometry(display, window, wanted):
    harness.poll(lambda: display.geometry(window) == wanted)
    return display.geometry(window)


def case_zoom():
    """The handheld's own zoom at scale 1: Zoom=200 stored, then the wheel, then full screen."""
    prefix = "[zoom] "
    screen = (1920, 1080)
    with Display(screen) as display:
        at = (433, 192)
        empty = screen_pixels(display, at[0], at[1], 80, 60)
        run = harness.Program(GAME_DIR, display, settings=dict(WINDOWED, Zoom="200"))
        try:
            window = display.find_window(TITLE)
            if not check(window is not None, prefix + "the handheld shows"):
                return
            got = display.geometry(window)
            check(got == at + (1054, 696), prefix + f"Zoom=200 shows 1054 x 696 at {at} (got {got})")
            harness.poll(lambda: corner_rows(display, at, 2, empty)[-1] < 80)  # till drawn
            firsts = corner_rows(display, at, 2, empty)
            check(firsts[0] > 0 and firsts[-1] < 80,
                  prefix + f"the window's corner is see-through ({firsts[0]} pixels)")
            # The middle of ATTACK's click area, at twice its size.
            since = max((ms for ms, _ in run.trace()), default=0)
            display.run("xdotool", "mousemove", "--window", window, "300", "600", "mousedown", "1")
            pressed = run.wait_for_trace("show btn_attack_down", timeout=5, after=since)
            display.run("xdotool", "mouseup", "1")
            check(pressed is not None, prefix + "a click in ATTACK's doubled click area presses it")

            # A notch of the wheel up: a step larger, about the same centre, and kept.
            display.run("xdotool", "mousemove", "--window", window, "500", "300", "click", "4")
            got = wait_for_geometry(display, window, (169, 18, 1581, 1044))
            check(got == (169, 18, 1581, 1044),
                  prefix + f"the wheel makes it 300 % about its centre (got {got})")
            check("Zoom=300" in run.settings_text(), prefix + "the new size is stored")

            display.key(window, "F12")
            got = wait_for_geometry(display, window, (0, 0) + screen)
            check(got == (0, 0) + screen, prefix + f"F12 fills the screen (got {got})")
            check(harness.poll(lambda: harness.glass_share(display.png(), screen) >= 0.3),
                  prefix + "the LCD's glass takes at least 30 % of the screen's height")
        finally:
            run.stop()


def case_wayland_scaled():
    """Weston with its output scaled by 2: the corners show the desktop, a click presses the
    button under it, and only the case takes the pointer (its see-through corners do not)."""
    prefix = "[Wayland, weston at 2x] "
    with harness.Weston((2048, 1536), scale=2) as desk:
        before = desk.png()
        run = harness.Program(GAME_DIR, desk, settings=WINDOWED)

        def window_rect(expected, timeout=20):
            """Where the window is, polled till it is where expected (in device pixels)."""
            deadline, rect = time.time() + timeout, None
            while time.time() < deadline and not expected(rect):
                desk.run("xdotool", "mousemove", "0", "0")  # the pointer over the panel
                rect = harness.changed_rect(before, desk.png(), top=64)
            return rect

        try:
            x, y, w, h = rect = window_rect(lambda r: r and r[2:] == (1054, 696)) or (0,) * 4
            if not check(rect[2:] == (1054, 696),
                         prefix + f"the handheld shows at 1054 x 696 device pixels ({rect})"):
                return
            shown = desk.png()
            corners = [(x, y), (x + w - 1, y), (x, y + h - 1), (x + w - 1, y + h - 1)]
            check(all(harness.png_pixel(shown, *p) == harness.png_pixel(before, *p)
                      for p in corners), prefix + "the window's corners show the desktop behind")

            since = max((ms for ms, _ in run.trace()), default=0)
            desk.run("xdotool", "mousemove", str(x + 2 * 59), str(y + 2 * 303), "mousedown", "1")
            pressed = run.wait_for_trace("show btn_cursor_down", timeout=5, after=since)
            desk.run("xdotool", "mouseup", "1")
            released = run.wait_for_trace("hide btn_cursor_down", timeout=5, after=since)
            check(pressed is not None and released is not None,
                  prefix + "a click on the Cursor button presses and releases it")

            # A drag from the see-through bottom-right corner (logical (524, 345), whose double
            # lies on the case) is the desktop's; a drag on the case moves the window.
            across, down = (300 if x < 500 else -300), (200 if y < 400 else -200)
            px, py = x + 80, y + 560  # a patch of the case away from the pointer
            patch = harness.png_patch(desk.png(), px, py, 100, 70)
            desk.drag((x + w - 6, y + h - 6), (across, 0), lambda d: True)
            desk.drag((x + 160, y + 80), (0, down),
                      lambda d: harness.png_patch(desk.png(), px + d[0], py + d[1], 100, 70) == patch,
                      lambda: run.wait_for_trace("window move asked"))
            moved = window_rect(lambda r: r == (x, y + down, w, h))
            check(moved == (x, y + down, w, h),
                  prefix + f"only the case takes the pointer: the drag from the corner left the "
                           f"window, the one on the case moved it by {down} (from {rect} to "
                           f"{moved})")
        finally:
            run.stop()


def main():
    for case in (case_zoom, lambda: case_scaled(2, (2048, 1536)),
                 lambda: case_scaled(3, (3840, 2160)), case_1x_only_skin, case_wayland_scaled):
        case()
    return checks.exit_status("scale")


if __name__ == "__main__":
    sys.exit(main())
