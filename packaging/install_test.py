#!/usr/bin/env python3
"""Installs the built game into a throw-away prefix and checks what a desktop relies on.

Usage: install_test.py <cmake> <build folder> <game folder under the prefix> <icon sizes>
(the sizes separated by semicolons)
"""
import configparser
import os
import shutil
import stat
import struct
import subprocess
import sys
import tempfile

CMAKE, BUILD, GAME_UNDER_PREFIX = sys.argv[1], os.path.abspath(sys.argv[2]), sys.argv[3]
SIZES = [int(size) for size in sys.argv[4].split(";")]
TITLE = "Grathmoor (Brennicor, Zephyrine Series) Simulator"
failures = []
checks = 0


def check(condition, message):
    global checks
    checks += 1
    print(("ok   " if condition else "FAIL ") + message, flush=True)
    if not condition:
        failures.append(message)


def mode(path):
    return stat.S_IMODE(os.lstat(path).st_mode)


def tree(root):
    found = set()
    for folder, dirs, files in os.walk(root):
        for name in dirs + files:
            found.add(os.path.relpath(os.path.join(folder, name), root))
    return found


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", head[16:24])


def check_game_folder(prefix):
    built, installed = os.path.join(BUILD, "game"), os.path.join(prefix, GAME_UNDER_PREFIX)
    expected = {p for p in tree(built) if p != "icons" and not p.startswith("icons" + os.sep)}
    got = tree(installed)
    check(got == expected, f"the game folder is installed whole, without its icons "
          f"(missing {sorted(expected - got)[:5]}, extra {sorted(got - expected)[:5]})")
    for name in ("Config.ini", os.path.join("Sound", "Arrow.wav"), "Readme.txt"):
        check(name in got, f"the installed game folder holds {name}")
    wrong = [p for p in sorted(got)
             if mode(os.path.join(installed, p)) != (0o755 if p == "grathmoor" or
                                                     os.path.isdir(os.path.join(installed, p))
                                                     else 0o644)]
    check(not wrong, f"the program and folders are 0755 and the data 0644 ({wrong[:5]})")


def check_icons(prefix):
    for size in SIZES:
        path = os.path.join(prefix, "share", "icons", "hicolor", f"{size}x{size}", "apps",
                            "grathmoor.png")
        check(os.path.isfile(path) and png_size(path) == (size, size),
              f"the {size}x{size} icon is a PNG of that size")


def check_desktop_entry(prefix):
    path = os.path.join(prefix, "share", "applications", "grathmoor.desktop")
    entry = configparser.ConfigParser(interpolation=None)
    entry.optionxform = str
    entry.read(path, encoding="utf-8")
    main = entry["Desktop Entry"] if entry.has_section("Desktop Entry") else {}
    check(main.get("Name") == TITLE, "the desktop entry carries the game's title")
    check(main.get("Type") == "Application", "the desktop entry is an application")
    launcher = os.path.join(prefix, "bin", main.get("Exec", "").split(" ")[0])
    check(os.path.isfile(launcher) and os.access(launcher, os.X_OK),
          "the desktop entry runs the installed launcher")
    check(main.get("Icon") == "grathmoor", "the desktop entry names the installed icon")
    check(set(main.get("Categories", "").split(";")) >= {"Game", "ArcadeGame"},
          "the desktop entry is filed under games")
    validator = shutil.which("desktop-file-validate")
    if validator:
        result = subprocess.run([validator, path], capture_output=True, text=True)
        check(result.returncode == 0 and not result.stdout.strip(),
              f"desktop-file-validate accepts the entry {result.stdout.strip()}")


def run_launcher(link, env, args=()):
    return subprocess.run([link, *args], cwd="/", env=env, capture_output=True, text=True)


def check_launcher(prefix, scratch):
    game = os.path.join(prefix, GAME_UNDER_PREFIX)
    # A stand-in program that tells where and how it was started.
    program = os.path.join(game, "grathmoor")
    with open(program, "w") as f:
        f.write('#!/bin/sh\npwd -P\necho "platform=${QT_QPA_PLATFORM-}"\n'
                'for a in "$@"; do echo "arg=$a"; done\n')
    # Started through a link elsewhere, as from a folder on the PATH, and from another folder.
    link = os.path.join(scratch, "on path", "grathmoor")
    os.makedirs(os.path.dirname(link))
    os.symlink(os.path.join(prefix, "bin", "grathmoor"), link)
    base = {k: v for k, v in os.environ.items() if k not in ("QT_QPA_PLATFORM", "DISPLAY")}

    result = run_launcher(link, dict(base, DISPLAY=":0"), ["two words", "-x"])
    lines = result.stdout.splitlines()
    check(result.returncode == 0 and lines[:1] == [os.path.realpath(game)],
          f"the launcher starts the program in its own folder {lines[:1]} {result.stderr}")
    check(lines[2:] == ["arg=two words", "arg=-x"], "the launcher passes its arguments intact")
    check(lines[1:2] == ["platform=xcb"], "on a desktop with X the program runs on X")
    result = run_launcher(link, dict(base, DISPLAY=":0", QT_QPA_PLATFORM="wayland"))
    check(result.stdout.splitlines()[1:2] == ["platform=wayland"],
          "a platform the user chose is kept")
    result = run_launcher(link, base)
    check(result.stdout.splitlines()[1:2] == ["platform="],
          "without X the platform is left to the toolkit")

    os.rename(game, game + ".moved")
    result = run_launcher(link, base)
    check(result.returncode != 0 and "reinstall" in result.stderr,
          f"a missing game folder is reported, not run from elsewhere ({result.stderr.strip()})")


def main():
    scratch = tempfile.mkdtemp(prefix="grathmoor-install-")
    try:
        prefix = os.path.join(scratch, "install prefix")
        result = subprocess.run([CMAKE, "--install", BUILD, "--prefix", prefix],
                                capture_output=True, text=True)
        check(result.returncode == 0, f"cmake --install succeeds {result.stderr.strip()}")
        if result.returncode == 0:
            check_game_folder(prefix)
            check_icons(prefix)
            check_desktop_entry(prefix)
            check_launcher(prefix, scratch)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    print(f"{checks - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
