#!/usr/bin/env python3
"""The bad-input matrix: the real program against damaged files and settings.

Usage: bad_input_test.py <game folder> [row name ...]

Each row copies the game folder into a scratch folder, damages one thing, starts the program on
its own X server with its own settings folder, and checks what the user is told (every message
box leaves a "message <text>" line in the trace), that the program stays usable or ends as it
should, and that no stored setting is lost or corrupted. Rows are independent and run side by
side; every wait has a generous bound.
"""
import concurrent.futures
import glob
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import threading
import time
import traceback
import zlib

from harness import SCREEN, TITLE, Display, Program

GAME_DIR = os.path.abspath(sys.argv[1])
WORKERS = 3

CONFIG_MISSING = "Configuration file (Config.ini) not found. Please reinstall the game."
SOUND_BROKEN = "Sound folder unproperly installed. Please reinstall the game."
SPLASH_TITLE = "About this game..."
MAGENTA = (255, 0, 255)
RED = (255, 0, 0)

# Stored choices that differ from the defaults where that does not change the run, so that a
# setting the program rewrote with its default would show.
STORED = {"SoundMode": "2", "SplashScreen": "0", "FullscreenMode": "0",
          "Key1": "7", "Key2": "39", "Key3": "38", "Key4": "37"}

print_lock = threading.Lock()
failed_rows = []
skipped_rows = []


class Row:
    """One row's scratch game folder, X server and findings."""

    def __init__(self, name):
        self.name = name
        self.scratch = tempfile.mkdtemp(prefix=f"grathmoor-bad-{name}-")
        self.game = os.path.join(self.scratch, "game")
        shutil.copytree(GAME_DIR, self.game, symlinks=True)
        self.display = Display().__enter__()
        self.programs = []
        self.log = []
        self.failures = []
        self.skipped = False
        self.immutable = []

    def check(self, condition, message):
        self.log.append(("ok   " if condition else "FAIL ") + message)
        if not condition:
            self.failures.append(message)
        return condition

    def note(self, message):
        self.log.append("     " + message)

    def skip(self, reason):
        self.skipped = True
        self.note("SKIPPED: " + reason)

    def path(self, *parts):
        return os.path.join(self.game, *parts)

    def start(self, settings=STORED, config_home=None):
        program = Program(self.game, self.display, settings=settings, config_home=config_home)
        self.programs.append(program)
        return program

    def make_immutable(self, path):
        if subprocess.run(["chattr", "+i", path], capture_output=True).returncode != 0:
            return False
        self.immutable.append(path)
        return True

    def describe(self, program):
        """What the program and its X server did, for whoever reads a failed run."""
        code = program.process.poll()
        server = self.display.server.poll()
        self.note(f"program {'still running' if code is None else f'ended with {code}'} on "
                  f"display {self.display.name}, server "
                  f"{'running' if server is None else f'ended with {server}'}; last trace lines:")
        for line in program.trace_text().splitlines()[-12:]:
            self.note("  " + line)

    def close(self):
        for program in self.programs:
            if self.failures:
                self.describe(program)
            program.stop()
        for path in self.immutable:
            subprocess.run(["chattr", "-i", path], capture_output=True)
        self.display.__exit__(None, None, None)
        shutil.rmtree(self.scratch, ignore_errors=True)


# ---- files ----------------------------------------------------------------------------------

def set_ini_value(path, section, key, value):
    """Rewrites one key of an INI file in place, keeping every other line as it was."""
    with open(path, encoding="latin-1") as f:
        lines = f.read().split("\n")
    current = None
    for i, line in enumerate(lines):
        stripped = line.strip()
        if stripped.startswith("[") and stripped.endswith("]"):
            current = stripped[1:-1].lower()
        elif current == section.lower() and stripped.split("=", 1)[0].strip().lower() == key.lower():
            lines[i] = f"{key}={value}"
            break
    else:
        raise ValueError(f"no {key} in [{section}] of {path}")
    with open(path, "w", encoding="latin-1") as f:
        f.write("\n".join(lines))


def ini_value(path, section, key):
    current = None
    with open(path, encoding="latin-1") as f:
        for line in f:
            stripped = line.strip()
            if stripped.startswith("[") and stripped.endswith("]"):
                current = stripped[1:-1].lower()
            elif current == section.lower() and "=" in stripped:
                name, value = stripped.split("=", 1)
                if name.strip().lower() == key.lower():
                    return value.strip()
    return None


def replace_file(path, data):
    """Writes a new file in place of `path` (never through the old one's inode)."""
    if os.path.lexists(path):
        os.remove(path)
    with open(path, "wb") as f:
        f.write(data)


def png_chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data
            + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def enormous_png(width, height):
    """A well-formed PNG header for a huge RGB picture, followed by a few bytes of pixels."""
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    pixels = zlib.compress(b"\0" * 4096)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) + png_chunk(b"IDAT", pixels)
            + png_chunk(b"IEND", b""))


def enormous_bmp(width, height):
    """A 24-bit bitmap header for a huge picture (a negative height is a top-down bitmap) with
    one row of pixels."""
    pixels = b"\0" * 64
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, 0, 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(info) + len(pixels), 0, 0, 14 + 40) + info + pixels


def parse_settings(text):
    values = {}
    for line in text.splitlines():
        if "=" in line and not line.startswith("["):
            name, value = line.split("=", 1)
            values[name.strip()] = value.strip()
    return values


# ---- the program's behaviour ----------------------------------------------------------------

def messages(program):
    return [event[len("message "):] for _, event in program.trace() if event.startswith("message ")]


def answer_messages(row, program, until=None, timeout=30.0, expect=None):
    """Presses OK on every message box until `until()` holds, the program ends, `expect` boxes
    were answered, or the time is up. Returns the messages the program showed."""
    answered = 0
    deadline = time.time() + timeout
    while time.time() < deadline:
        if until is not None and until():
            break
        if expect is not None and answered >= expect:
            break
        if program.process.poll() is not None:
            break
        boxes = row.display.windows("Error")
        if not boxes:
            time.sleep(0.1)
            continue
        box = boxes[0]
        row.display.key(box, "Return")
        gone = time.time() + 5
        while time.time() < gone and box in row.display.windows("Error"):
            time.sleep(0.05)
        answered += 1
    return messages(program)


def is_demo_running(program):
    """The demo mode has started and goes on changing segments."""
    start = program.wait_for_trace("mode 1", timeout=30)
    if start is None:
        return False
    return program.wait_for_trace(
        lambda e: e.startswith(("show ", "hide ")), timeout=15, after=start + 400) is not None


def attack_key_works(row, program, window, first=True):
    """The stored attack key (Ctrl) reaches the game; the first press in the demo offers level 1.
    A press that reaches the server before the program has taken the keyboard counts as held from
    before, and does nothing until released: then the key is pressed once more."""
    for _ in range(2):
        after = program.trace()[-1][0] if program.trace() else 0
        row.display.key(window, "ctrl")
        if program.wait_for_trace("input Inp_attack_press", timeout=10, after=after) is not None:
            break
    else:
        return False
    return not first or program.wait_for_trace("panel 1_l 2_1", timeout=10, after=after) is not None


def check_usable(row, program, size=(527, 348)):
    """The handheld shows at its place, the demo runs and a key works. Returns the window."""
    window = row.display.find_window(TITLE, timeout=30)
    if not row.check(window is not None, "the main window shows"):
        return None
    x, y, w, h = row.display.geometry(window)
    place = ((SCREEN[0] - size[0]) // 2, (SCREEN[1] - size[1]) // 2, size[0], size[1])
    row.check((x, y, w, h) == place, f"the window is {size[0]} x {size[1]}, centred (got {x}, {y}, "
              f"{w} x {h})")
    row.check(is_demo_running(program), "the demo runs")
    row.check(attack_key_works(row, program, window), "the attack key works")
    return window


def check_settings_kept(row, program, before, changed=None):
    """Every stored value is still there, unchanged but for the `changed` ones."""
    after = parse_settings(program.settings_text())
    expected = dict(before, **(changed or {}))
    lost = {k: (v, after.get(k)) for k, v in expected.items() if after.get(k) != v}
    row.check(not lost, f"no setting lost or corrupted (differences: {lost or 'none'})")


def check_messages(row, shown, expected):
    row.check(shown == expected, f"the user is told {expected or 'nothing'} (got {shown})")


# ---- rows -----------------------------------------------------------------------------------
ROWS = []


def row(function):
    ROWS.append(function)
    return function


def table(run, lines):
    """One row for each line of a table: the row's name, then what `run` takes after the row."""
    for name, *args in lines:
        def function(r, args=args):
            run(r, *args)
        function.__name__ = name
        ROWS.append(function)


def config_ini_gone_row(r, damage):
    os.remove(r.path("Config.ini"))
    damage(r.path("Config.ini"))
    program = r.start()
    shown = answer_messages(r, program, until=lambda: False, timeout=20, expect=1)
    check_messages(r, shown, [CONFIG_MISSING])
    r.check(program.wait_end(15) and program.process.returncode == 0,
            "after the message the program ends")
    r.check(not any(e == "mode 1" for _, e in program.trace()), "the game is never started")
    check_settings_kept(r, program, STORED)


table(config_ini_gone_row, [
    ("config_ini_missing",     lambda path: None),
    ("config_ini_is_a_folder", os.makedirs),
])


@row
def config_ini_empty(r):
    replace_file(r.path("Config.ini"), b"")
    program = r.start()
    window = check_usable(r, program)
    check_messages(r, messages(program), [])
    if window is not None:
        # Every element is 0 x 0 and the window is all key colour: nothing of it is drawn.
        x, y, w, h = r.display.geometry(window)
        root = r.display.pixel(5, 5)
        inside = [r.display.pixel(x + dx, y + dy) for dx, dy in ((w // 2, h // 2), (10, h - 10))]
        r.check(all(p == root and p != MAGENTA for p in inside),
                f"the window is wholly see-through (screen {root}, inside {inside})")
    check_settings_kept(r, program, STORED)


@row
def config_ini_binary_garbage(r):
    junk = random.Random(9).randbytes(256 * 1024)
    replace_file(r.path("Config.ini"), junk)
    program = r.start()
    check_usable(r, program)
    check_messages(r, messages(program), [])
    check_settings_kept(r, program, STORED)


@row
def config_ini_huge_50mb(r):
    # The real skin first, then 50 MB of lines of every kind: keys, sections, text without "=",
    # lines longer than the parser's buffer.
    with open(r.path("Config.ini"), "rb") as f:
        real = f.read()
    rng = random.Random(7)
    pieces = [real, b"\n"]
    size = len(real)
    n = 0
    while size < 50 * 1024 * 1024:
        kind = n % 5
        if kind == 0:
            line = b"[Junk%d]\n" % (n // 100)
        elif kind == 1:
            line = b"key%d = %s\n" % (n, rng.randbytes(16).hex().encode())
        elif kind == 2:
            line = b"just some text without an equals sign %d\n" % n
        elif kind == 3:
            line = b"long%d=" % n + b"x" * 300 + b"\n"
        else:
            line = b"; a comment line %d\n" % n
        pieces.append(line)
        size += len(line)
        n += 1
    replace_file(r.path("Config.ini"), b"".join(pieces))
    began = time.time()
    program = r.start()
    window = r.display.find_window(TITLE, timeout=90)
    r.check(window is not None, "the main window shows")
    r.note(f"shown {time.time() - began:.1f} s after the start, peak memory "
           f"{(program.peak_memory_kb() or 0) // 1024} MB")
    r.check(window is not None and time.time() - began < 60, "a 50 MB Config.ini loads within 60 s")
    r.check(is_demo_running(program), "the demo runs")
    check_messages(r, messages(program), [])
    check_settings_kept(r, program, STORED)


@row
def config_ini_integers_malformed(r):
    config = r.path("Config.ini")
    set_ini_value(config, "Common", "GameWidth", "wide")
    set_ini_value(config, "Common", "GameHeight", "12x")
    for n in range(1, 72):
        for key, value in (("Left", "1e3"), ("Top", "$"), ("Width", "0x"), ("Height", "--5")):
            try:
                set_ini_value(config, f"Image{n}", key, value)
            except ValueError:
                pass
    program = r.start()
    window = check_usable(r, program)  # the default game size
    check_messages(r, messages(program), [])
    if window is not None:
        # Every element is 0 x 0: all that is left is the key colour, which is not drawn.
        x, y, w, h = r.display.geometry(window)
        inside = r.display.pixel(x + w // 2, y + h // 2)
        r.check(inside == r.display.pixel(5, 5), f"no element is drawn (middle {inside})")
    check_settings_kept(r, program, STORED)


@row
def config_ini_game_size_out_of_range(r):
    # Far wider than any screen, and a negative height: the window is cut to what the window
    # system allows, and nothing is allocated for the sizes asked.
    set_ini_value(r.path("Config.ini"), "Common", "GameWidth", "16777216")
    set_ini_value(r.path("Config.ini"), "Common", "GameHeight", "-5")
    program = r.start()
    r.check(r.display.find_window(TITLE, timeout=30) is not None, "the main window shows")
    r.check(is_demo_running(program), "the demo runs")
    check_messages(r, messages(program), [])
    peak = program.peak_memory_kb()
    r.check(peak is not None and peak < 500 * 1024,
            f"memory stays bounded (peak {(peak or 0) // 1024} MB, under 500 MB)")
    check_settings_kept(r, program, STORED)


def transp_color_row(r, value):
    set_ini_value(r.path("Config.ini"), "VideoMode", "TranspColor", value)
    program = r.start()
    shown = answer_messages(r, program, until=lambda: bool(r.display.windows(TITLE)))
    check_messages(r, shown, [f"'{value}' is not a valid integer value"])
    window = check_usable(r, program)
    if window is not None:
        # The default key colour stands in: the corner is still see-through.
        x, y, _, _ = r.display.geometry(window)
        corner = r.display.pixel(x + 1, y + 1)
        r.check(corner != MAGENTA and corner == r.display.pixel(5, 5),
                f"the window's corner stays see-through (got {corner})")
    check_settings_kept(r, program, STORED)


table(transp_color_row, [
    ("config_ini_transp_color_malformed", "magenta"),
    ("config_ini_transp_color_empty",     ""),
])


@row
def config_ini_fullscreen_values_malformed(r):
    config = r.path("Config.ini")
    set_ini_value(config, "Fullscreen", "BgColor", "$00zz00")
    set_ini_value(config, "Fullscreen", "GameOffsetX", "left")
    set_ini_value(config, "Fullscreen", "GameOffsetY", "")
    set_ini_value(config, "Fullscreen", "BackdropStretch", "yes")
    set_ini_value(config, "Fullscreen", "LogoPosition", "corner")
    program = r.start(dict(STORED, FullscreenMode="1"))
    shown = answer_messages(r, program, until=lambda: bool(r.display.windows(TITLE)))
    # Only the colour is reported; the other values fall back to their defaults.
    check_messages(r, shown, ["'$00zz00' is not a valid integer value"])
    check_usable(r, program, size=SCREEN)
    check_settings_kept(r, program, dict(STORED, FullscreenMode="1"))


def background_path(r):
    """The skin folder and the background element's picture file, as Config.ini names them."""
    name = ini_value(r.path("Config.ini"), "Image1", "Filename")
    skin = ini_value(r.path("Config.ini"), "Common", "SkinDir").replace("\\", "/")
    return skin, name


def background_bytes(r):
    skin, name = background_path(r)
    with open(r.path(skin, name), "rb") as f:
        return f.read()


def damage_background(r, data, extension=None):
    """Replaces the background element's picture; returns its path relative to the game folder."""
    skin, name = background_path(r)
    path = r.path(skin, name)
    if extension is not None:
        os.remove(path)
        name = os.path.splitext(name)[0] + extension
        set_ini_value(r.path("Config.ini"), "Image1", "Filename", name)
        path = r.path(skin, name)
    replace_file(path, data)
    return os.path.join(skin, name)


def check_placeholder(r, window, what):
    """The background element shows the red placeholder at its top left corner."""
    if window is None:
        return
    x, y, _, _ = r.display.geometry(window)
    colour = r.display.pixel(x + 5, y + 5)
    r.check(colour == RED, f"{what} shows as the red placeholder (got {colour})")


def bad_picture_row(r, data, expected, extension=None):
    damage_background(r, data, extension)
    program = r.start()
    shown = answer_messages(r, program, until=lambda: bool(r.display.windows(TITLE)))
    r.check(len(shown) == 1 and expected(shown[0]), f"one message tells of the picture (got {shown})")
    check_placeholder(r, check_usable(r, program), "the background")
    check_settings_kept(r, program, STORED)
    return program


@row
def skin_pictures_all_missing(r):
    skin = ini_value(r.path("Config.ini"), "Common", "SkinDir").replace("\\", "/")
    shutil.rmtree(r.path(skin))
    os.makedirs(r.path(skin))
    program = r.start()
    window = check_usable(r, program)
    check_messages(r, messages(program), [])
    check_placeholder(r, window, "the missing background")
    check_settings_kept(r, program, STORED)


def backdrop_bytes(r):
    backdrop = ini_value(r.path("Config.ini"), "Fullscreen", "BackdropDir").replace("\\", "/")
    with open(r.path(backdrop, ini_value(r.path("Config.ini"), "Fullscreen", "BackdropFile")),
              "rb") as f:
        return f.read()


def any_text(text):
    return text != ""


def quarter(data):
    return data[:len(data) // 4]


# The background's picture replaced by what the row's function makes of the game folder.
table(lambda r, data, expected, extension: bad_picture_row(r, data(r), expected, extension), [
    ("skin_picture_empty_file",            lambda r: b"",                        any_text, None),
    ("skin_picture_truncated_png",         lambda r: quarter(background_bytes(r)), any_text, None),
    ("skin_picture_jpeg_named_png",        backdrop_bytes,                       any_text, None),
    ("skin_picture_unknown_extension_xyz", background_bytes,
     lambda text: text == "Unknown picture file extension (.xyz)",                          ".xyz"),
])


@row
def skin_picture_fifo_and_device(r):
    # Neither can be read to an end: opening them would hang the start. They count as missing.
    skin, name = background_path(r)
    os.remove(r.path(skin, name))
    os.mkfifo(r.path(skin, name))
    # Its twins would stand in for it where the handheld is drawn larger: the pipe is all there is.
    base, extension = os.path.splitext(name)
    for twin in glob.glob(glob.escape(r.path(skin, base)) + "@*x" + extension):
        os.remove(twin)
    set_ini_value(r.path("Config.ini"), "Image2", "Filename", "../" * 30 + "dev/zero")
    program = r.start()
    window = check_usable(r, program)
    check_messages(r, messages(program), [])
    check_placeholder(r, window, "the background that is a pipe")
    check_settings_kept(r, program, STORED)


def enormous_picture_row(r, data, extension, side=20000):
    program = bad_picture_row(
        r, data, lambda text: text.endswith(f": Picture too large ({side} x {side} pixels)"),
        extension=extension)
    peak = program.peak_memory_kb()
    r.check(peak is not None and peak < 500 * 1024,
            f"memory stays bounded (peak {(peak or 0) // 1024} MB, under 500 MB)")


def big_png(width, height):
    """A real picture of one colour: a few kilobytes on disk, width x height x 4 bytes decoded."""
    row_bytes = b"\0" + b"\x30\x50\x20" * width
    pixels = zlib.compressobj(9)
    data = b"".join(pixels.compress(row_bytes) for _ in range(height)) + pixels.flush()
    return (b"\x89PNG\r\n\x1a\n"
            + png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + png_chunk(b"IDAT", data) + png_chunk(b"IEND", b""))


@row
def skin_pictures_all_one_4000x4000_png(r):
    # 64 MB decoded, named by all 71 elements: kept once, not 71 times.
    skin, _ = background_path(r)
    replace_file(r.path(skin, "big.png"), big_png(4000, 4000))
    for n in range(1, 72):
        try:
            set_ini_value(r.path("Config.ini"), f"Image{n}", "Filename", "big.png")
        except ValueError:
            pass
    program = r.start()
    check_usable(r, program)
    check_messages(r, messages(program), [])
    peak = program.peak_memory_kb()
    r.check(peak is not None and peak < 500 * 1024,
            f"memory stays bounded (peak {(peak or 0) // 1024} MB, under 500 MB)")
    check_settings_kept(r, program, STORED)


@row
def skin_pictures_ten_different_3000x3000_pngs(r):
    # 36 MB each decoded: the skin takes seven and leaves the rest out with a message each.
    skin, _ = background_path(r)
    data = big_png(3000, 3000)
    for n in range(1, 11):
        # Same pixels, different files: each is decoded on its own.
        replace_file(r.path(skin, f"big{n}.png"), data)
        set_ini_value(r.path("Config.ini"), f"Image{n}", "Filename", f"big{n}.png")
    program = r.start()
    shown = answer_messages(r, program, until=lambda: bool(r.display.windows(TITLE)), timeout=60)
    left_out = [f"{skin}big{n}.png: left out: the skin's pictures would take too much memory together"
                for n in (8, 9, 10)]
    check_messages(r, shown, left_out)
    check_usable(r, program)
    peak = program.peak_memory_kb()
    r.check(peak is not None and peak < 600 * 1024,
            f"memory stays bounded (peak {(peak or 0) // 1024} MB, under 600 MB)")
    check_settings_kept(r, program, STORED)


# The top-down bitmap is small enough for the decoder's own limit to let it through.
table(enormous_picture_row, [
    ("skin_picture_png_header_20000x20000",          enormous_png(20000, 20000),   ".png"),
    ("skin_picture_top_down_bmp_header_12000x12000", enormous_bmp(12000, -12000), ".bmp", 12000),
])


def fullscreen_picture_row(r, damage, expected):
    """Full screen with a damaged backdrop and logo: the game still fills the screen."""
    backdrop = r.path(ini_value(r.path("Config.ini"), "Fullscreen", "BackdropDir")
                      .replace("\\", "/"))
    damage(backdrop)
    settings = dict(STORED, FullscreenMode="1")
    program = r.start(settings)
    shown = answer_messages(r, program, until=lambda: bool(r.display.windows(TITLE)))
    check_messages(r, shown, expected)
    check_usable(r, program, size=SCREEN)
    check_settings_kept(r, program, settings)


@row
def backdrop_and_logo_missing(r):
    fullscreen_picture_row(r, shutil.rmtree, [])


@row
def backdrop_truncated_jpeg(r):
    name = ini_value(r.path("Config.ini"), "Fullscreen", "BackdropFile")

    def damage(folder):
        path = os.path.join(folder, name)
        with open(path, "rb") as f:
            replace_file(path, f.read()[:500])
    # The file as the program names it (relative to the game folder), then the decoder's words.
    folder = ini_value(r.path("Config.ini"), "Fullscreen", "BackdropDir").replace("\\", "/")
    folder += "" if folder.endswith("/") else "/"
    fullscreen_picture_row(r, damage, [f"{folder}{name}: Unable to read image data"])


def manual_row(r, expected, pages_differ):
    program = r.start()
    shown = answer_messages(r, program, until=lambda: bool(r.display.windows(TITLE)))
    check_messages(r, shown, expected)
    window = check_usable(r, program)
    if window is None:
        return
    r.display.key(window, "F4")
    manual = r.display.find_window("Manual", timeout=10)
    if r.check(manual is not None, "the manual opens"):
        # Turn through every page, damaged ones included, and close it again.
        area = r.display.geometry(manual)
        looks = [r.display.region_digest(*area)]
        for _ in range(15):
            r.display.key(manual, "Right")
            look = looks[-1]
            deadline = time.time() + (15 if pages_differ else 0.1)
            while look == looks[-1] and time.time() < deadline:
                time.sleep(0.05)
                look = r.display.region_digest(*area)
            looks.append(look)
        if pages_differ:
            r.check(len(set(looks)) == 16, f"every page shows a picture of its own "
                    f"({len(set(looks))} different)")
        r.display.key(manual, "Escape")
        deadline = time.time() + 10
        while time.time() < deadline and r.display.windows("Manual"):
            time.sleep(0.1)
        r.check(not r.display.windows("Manual"), "Esc closes the manual")
    r.check(program.process.poll() is None and attack_key_works(r, program, window, first=False),
            "the game goes on")
    check_settings_kept(r, program, STORED)


@row
def manual_page_corrupt(r):
    folder = ini_value(r.path("Config.ini"), "Manual", "ManualDir").replace("\\", "/")
    replace_file(r.path(folder, "3.bmp"), b"BM" + random.Random(4).randbytes(600))
    manual_row(r, ["Some pages of the manual could not be shown: "
                   f"{os.path.join(folder, '3.bmp')}: Bitmap image is not valid"],
               pages_differ=True)


@row
def manual_page_is_a_pipe(r):
    folder = ini_value(r.path("Config.ini"), "Manual", "ManualDir").replace("\\", "/")
    os.remove(r.path(folder, "5.bmp"))
    os.mkfifo(r.path(folder, "5.bmp"))
    # A page that is not a file is a missing page: the placeholder, silently.
    manual_row(r, [], pages_differ=True)


@row
def manual_folder_missing(r):
    shutil.rmtree(r.path(ini_value(r.path("Config.ini"), "Manual", "ManualDir").replace("\\", "/")))
    # Every page is the same red square.
    manual_row(r, [], pages_differ=False)


def sound_failure_row(r, damage, settings, via_splash=False):
    """With sound on, a broken Arrow sound is reported, the program ends, and the next start
    shows the splash again with no sound mode chosen."""
    damage(r)
    program = r.start(settings)
    if via_splash:
        splash = r.display.find_window(SPLASH_TITLE, timeout=30)
        if r.check(splash is not None, "the splash screen shows with the stored sound mode"):
            r.display.key(splash, "Return")
    shown = answer_messages(r, program, until=lambda: False, timeout=30, expect=1)
    check_messages(r, shown, [SOUND_BROKEN])
    r.check(program.wait_end(15) and program.process.returncode == 0,
            "after the message the program ends")
    r.check(not any(e == "mode 1" for _, e in program.trace()), "the game is never started")
    check_settings_kept(r, program, settings, {"SoundMode": "-1", "SplashScreen": "1"})


@row
def sound_folder_missing_no_sound(r):
    shutil.rmtree(r.path("Sound"))
    program = r.start()
    check_usable(r, program)
    check_messages(r, messages(program), [])
    check_settings_kept(r, program, STORED)


def arrow_is_a_pipe(r):
    # Reading a pipe waits for a writer for ever: it must count as unreadable, not hang.
    os.remove(r.path("Sound", "Arrow.wav"))
    os.mkfifo(r.path("Sound", "Arrow.wav"))


table(sound_failure_row, [
    ("sound_folder_missing_sound_mode_0",             lambda r: shutil.rmtree(r.path("Sound")),
     dict(STORED, SoundMode="0")),
    ("sound_folder_missing_sound_mode_1_from_splash", lambda r: shutil.rmtree(r.path("Sound")),
     dict(STORED, SoundMode="1", SplashScreen="1"), True),
    ("sound_arrow_missing",   lambda r: os.remove(r.path("Sound", "Arrow.wav")),
     dict(STORED, SoundMode="0")),
    ("sound_arrow_corrupt",   lambda r: replace_file(r.path("Sound", "Arrow.wav"),
                                                     b"RIFF\xff\xff\xff\x7fWAVEfmt junk" * 10),
     dict(STORED, SoundMode="1")),
    ("sound_arrow_is_a_pipe", arrow_is_a_pipe, dict(STORED, SoundMode="0")),
])


@row
def sound_win_corrupt_and_step_empty(r):
    replace_file(r.path("Sound", "Win.wav"), random.Random(3).randbytes(4096))
    replace_file(r.path("Sound", "Step.wav"), b"")
    program = r.start(dict(STORED, SoundMode="0"))
    check_usable(r, program)
    check_messages(r, messages(program), [])
    check_settings_kept(r, program, dict(STORED, SoundMode="0"))


@row
def settings_file_is_a_folder(r):
    # Root reads any file; a folder where the file should be cannot be read or written.
    home = os.path.join(r.scratch, "config")
    os.makedirs(os.path.join(home, "Kelvamor", "Tov50.conf"))
    program = r.start(settings=None, config_home=home)
    shown = answer_messages(r, program, timeout=40, expect=4)
    check_messages(r, shown, [f"Failed to set data for 'Key{n}'" for n in range(1, 5)])
    splash = r.display.find_window(SPLASH_TITLE, timeout=10)
    r.check(splash is not None, "the splash screen shows, as on a first start")
    if splash is not None:
        # Choose "(no sound)" and play: both writes fail and are reported; the game starts.
        r.display.key(splash, "End")
        r.display.key(splash, "Return")
        shown = answer_messages(r, program, timeout=30,
                                until=lambda: bool(r.display.windows(TITLE)))
        check_messages(r, shown[4:], ["Failed to set data for 'SoundMode'",
                                      "Failed to set data for 'SplashScreen'"])
        check_usable(r, program, size=SCREEN)
    r.check(os.path.isdir(program.settings_path()), "the folder in the file's place is left alone")


STARTUP_WRITES = [f"Failed to set data for '{name}'"
                  for name in ("Key1", "Key2", "Key3", "Key4", "SoundMode", "SplashScreen")]


def unwritable_settings_row(r, text):
    """A settings file that cannot be replaced: every write is reported, none changes the file,
    and the program goes on with the values it read."""
    home = os.path.join(r.scratch, "config")
    folder = os.path.join(home, "Kelvamor")
    os.makedirs(folder)
    settings = os.path.join(folder, "Tov50.conf")
    with open(settings, "wb") as f:
        f.write(text)
    # Root writes through any permission, but not into an immutable file or folder.
    if not (r.make_immutable(settings) and r.make_immutable(folder)):
        r.skip("chattr +i does not work here, so the file cannot be made unwritable")
        return
    program = r.start(settings=None, config_home=home)
    shown = answer_messages(r, program, until=lambda: bool(r.display.windows(TITLE)), timeout=40)
    # The start writes the key choices back, and the skipped splash its two choices.
    check_messages(r, shown, STARTUP_WRITES)
    window = check_usable(r, program)
    if window is not None:
        r.display.key(window, "F12")
        shown = answer_messages(r, program, timeout=20, expect=1)
        check_messages(r, shown[len(STARTUP_WRITES):], ["Failed to set data for 'FullscreenMode'"])
        full = None
        deadline = time.time() + 10
        while time.time() < deadline and full != (0, 0, SCREEN[0], SCREEN[1]):
            time.sleep(0.2)
            full = r.display.geometry(window)
        r.check(full == (0, 0, SCREEN[0], SCREEN[1]), f"the program goes on, full screen ({full})")
        r.check(attack_key_works(r, program, window, first=False), "the attack key still works")
    with open(settings, "rb") as f:
        r.check(f.read() == text, "the settings file is unchanged")


def stored_text(extra=b""):
    return (b"[General]\n" + b"".join(f"{k}={v}\n".encode() for k, v in STORED.items()) + extra)


GARBAGE = (b"\x00\x01garbage line\n" + random.Random(5).randbytes(2048).replace(b"\n", b" ")
           + b"\n=no name\n[unclosed\n")


# Lines the store cannot read must not hide that its writes fail.
table(unwritable_settings_row, [
    ("settings_file_unwritable",             stored_text()),
    ("settings_file_garbage_and_unwritable", stored_text(GARBAGE)),
])


@row
def settings_file_garbage(r):
    home = os.path.join(r.scratch, "config")
    os.makedirs(os.path.join(home, "Kelvamor"))
    with open(os.path.join(home, "Kelvamor", "Tov50.conf"), "wb") as f:
        f.write(stored_text(GARBAGE))
    program = r.start(settings=None, config_home=home)
    shown = answer_messages(r, program, until=lambda: bool(r.display.windows(TITLE)), timeout=40)
    # The store rewrites the file in its own form, values intact; nothing failed, so nothing is
    # reported.
    check_messages(r, shown, [])
    check_usable(r, program)
    check_settings_kept(r, program, STORED)


@row
def settings_sound_mode_7(r):
    program = r.start(dict(STORED, SoundMode="7"))
    splash = r.display.find_window(SPLASH_TITLE, timeout=30)
    r.check(splash is not None, "the splash screen shows although it is switched off")
    if splash is not None:
        # No entry is selected, so Enter and 1 do not play. The keys are read in order: once
        # Esc has ended the program, the two before it were read too.
        r.display.key(splash, "Return")
        r.display.key(splash, "1")
        r.display.key(splash, "Escape")
        ended = program.wait_end(15)
        r.check(not any(e == "mode 1" for _, e in program.trace()),
                "with no sound mode selected the game does not start")
        r.check(ended, "Esc ends the program")
    check_messages(r, messages(program), [])
    check_settings_kept(r, program, dict(STORED, SoundMode="7"))


@row
def settings_key1_99_fullscreen_abc(r):
    settings = dict(STORED, Key1="99", Key2="-5", Key3="38", FullscreenMode="abc")
    program = r.start(settings)
    window = check_usable(r, program, size=SCREEN)  # a malformed mode reads as full screen
    if window is not None:
        after = program.trace()[-1][0]
        r.display.key(window, "5")  # the All Clear key's default
        r.check(program.wait_for_trace("input Inp_acl_press", timeout=10, after=after) is not None,
                "the default All Clear key works")
    check_messages(r, messages(program), [])
    # Out-of-range key choices are stored back as the defaults; the rest stays.
    check_settings_kept(r, program, settings, {"Key1": "6", "Key2": "39"})


@row
def settings_key4_not_text(r):
    # An unquoted a,b is a list, not text: reported, then the default key.
    settings = dict(STORED, Key4="a,b")
    program = r.start(settings)
    shown = answer_messages(r, program, until=lambda: bool(r.display.windows(TITLE)))
    check_messages(r, shown, ["Invalid data type for 'Key4'"])
    check_usable(r, program)
    check_settings_kept(r, program, settings, {"Key4": "37"})


def settings_out_of_reach_row(r, config_home):
    """Settings that can be neither read nor written: the defaults, as on a first start, with
    every write reported (the keys' once the splash is drawn); the splash waits for a sound mode
    and Esc ends the program."""
    program = r.start(settings=None, config_home=config_home)
    shown = answer_messages(r, program, timeout=40, expect=4)
    check_messages(r, shown, [f"Failed to set data for 'Key{n}'" for n in range(1, 5)])
    splash = r.display.find_window(SPLASH_TITLE, timeout=10)
    r.check(splash is not None, "the splash screen shows")
    if splash is not None:
        r.display.key(splash, "Escape")
        r.check(program.wait_end(15), "Esc ends the program")


@row
def settings_home_read_only(r):
    # A settings folder under a plain file can never be created, even by root.
    blocker = os.path.join(r.scratch, "not-a-folder")
    with open(blocker, "w") as f:
        f.write("x")
    settings_out_of_reach_row(r, os.path.join(blocker, "config"))
    with open(blocker) as f:
        r.check(f.read() == "x", "the file in the way is left alone")


@row
def settings_file_is_a_pipe(r):
    # Reading a pipe waits for a writer for ever: the start must not.
    home = os.path.join(r.scratch, "config")
    os.makedirs(os.path.join(home, "Kelvamor"))
    os.mkfifo(os.path.join(home, "Kelvamor", "Tov50.conf"))
    settings_out_of_reach_row(r, home)


# ---- running --------------------------------------------------------------------------------

def run_row(function):
    began = time.time()
    r = Row(function.__name__)
    try:
        function(r)
    except Exception:
        r.check(False, "the row ran to its end:\n" + traceback.format_exc())
    finally:
        r.close()
    with print_lock:
        print(f"---- {r.name} ({time.time() - began:.1f} s)", flush=True)
        for line in r.log:
            print(line, flush=True)
        if r.failures:
            failed_rows.append(r.name)
        elif r.skipped:
            skipped_rows.append(r.name)


def main():
    chosen = sys.argv[2:]
    rows = [f for f in ROWS if not chosen or f.__name__ in chosen]
    began = time.time()
    with concurrent.futures.ThreadPoolExecutor(WORKERS) as pool:
        list(pool.map(run_row, rows))
    passed = len(rows) - len(failed_rows) - len(skipped_rows)
    print(f"bad-input matrix: {time.time() - began:.0f} s")
    if failed_rows:
        print("FAILED rows: " + ", ".join(failed_rows))
    print(f"{passed} passed, {len(failed_rows)} failed, {len(skipped_rows)} skipped")
    return 1 if failed_rows else 0


if __name__ == "__main__":
    sys.exit(main())
