#!/usr/bin/env python3
"""Installs the built game into a throw-away prefix and checks what a desktop relies on.

Usage: install_test.py <cmake> <build folder> <game folder under the prefix> <icon sizes>
<version> <AppStream id>
(the sizes separated by semicolons)
"""
import configparser
import email.utils
import gzip
import os
import re
import shutil
import stat
import struct
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ElementTree

CMAKE, BUILD, GAME_UNDER_PREFIX = sys.argv[1], os.path.abspath(sys.argv[2]), sys.argv[3]
SIZES = [int(size) for size in sys.argv[4].split(";")]
VERSION, APPSTREAM_ID = sys.argv[5], sys.argv[6]
SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
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
        for folder, pixels in ((f"{size}x{size}", size), (f"{size}x{size}@2", 2 * size)):
            path = os.path.join(prefix, "share", "icons", "hicolor", folder, "apps",
                                "grathmoor.png")
            check(os.path.isfile(path) and png_size(path) == (pixels, pixels),
                  f"the {folder} icon is a PNG of {pixels} x {pixels}")


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
    # Qt chooses Wayland on a Wayland session and X11 elsewhere.
    check(lines[1:2] == ["platform="], "the launcher leaves the window system to the toolkit")
    result = run_launcher(link, dict(base, DISPLAY=":0", QT_QPA_PLATFORM="xcb"))
    check(result.stdout.splitlines()[1:2] == ["platform=xcb"],
          "a platform the user chose is kept")

    os.rename(game, game + ".moved")
    result = run_launcher(link, base)
    check(result.returncode != 0 and "reinstall" in result.stderr,
          f"a missing game folder is reported, not run from elsewhere ({result.stderr.strip()})")

def run_tool(args, **options):
    """Runs a tool that scripts/install-deps installs; None (and a failed check) without it."""
    try:
        return subprocess.run(args, capture_output=True, text=True, timeout=300, **options)
    except FileNotFoundError:
        check(False, f"{args[0]} is installed (scripts/install-deps installs it)")
        return None


def headless_env(**extra):
    """A session with no display at all, as over ssh or in a package build."""
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    env.update(extra)
    return env


def check_command_line(prefix, scratch):
    program = os.path.join(prefix, GAME_UNDER_PREFIX, "grathmoor")

    def run(*args):
        return subprocess.run([program, *args], env=headless_env(), capture_output=True,
                              text=True, timeout=60)

    result = run("--version")
    check(result.returncode == 0 and result.stdout == f"grathmoor {VERSION}\n"
          and not result.stderr, f"--version names the program and its version, with no display "
          f"({result.returncode} {result.stdout!r} {result.stderr.strip()})")
    result = run("--help")
    told = all(word in result.stdout for word in ("GRATHMOOR_TRACE", "QT_SCALE_FACTOR",
                                                  "XDG_CONFIG_HOME", "Kelvamor/Tov50.conf"))
    check(result.returncode == 0 and result.stdout.startswith("Usage: grathmoor") and told
          and not result.stderr, f"--help tells the usage, the environment and the settings "
          f"file, with no display ({result.returncode} {result.stderr.strip()})")
    for args in (["--bogus"], ["-platform"], ["stray"], ["--help", "--bogus"], ["--zoom=150"]):
        result = run(*args)
        check(result.returncode == 2 and not result.stdout and "Usage: grathmoor" in result.stderr
              and f"'{args[-1]}'" in result.stderr,
              f"{' '.join(args)} is refused with the usage on standard error and status 2 "
              f"({result.returncode} {result.stderr.splitlines()[:1]})")

    # Qt's own options still reach Qt: with no display, only -platform offscreen lets the game
    # start, and with a stored sound choice and no splash screen it goes straight into its demo.
    home = os.path.join(scratch, "config")
    os.makedirs(os.path.join(home, "Kelvamor"))
    with open(os.path.join(home, "Kelvamor", "Tov50.conf"), "w") as f:
        f.write("[General]\nSoundMode=2\nSplashScreen=0\n")
    trace_path = os.path.join(scratch, "trace.txt")
    with open(trace_path, "w") as trace:
        game = subprocess.Popen(
            [os.path.join(prefix, "bin", "grathmoor"), "-platform", "offscreen", "-style=Fusion",
             "-reverse"], env=headless_env(XDG_CONFIG_HOME=home, GRATHMOOR_TRACE="1",
                                           SDL_AUDIODRIVER="dummy"),
            stdout=subprocess.DEVNULL, stderr=trace)
    started, deadline = False, time.time() + 60
    while not started and game.poll() is None and time.time() < deadline:
        time.sleep(0.1)
        with open(trace_path, errors="replace") as f:
            started = re.search(r"^\d+ mode \d+$", f.read(), re.M) is not None
    ended = game.poll()
    game.kill()
    game.wait()
    check(started, f"Qt's options pass through to Qt: the game plays on -platform offscreen "
          f"(status {ended})")


def check_man_page(prefix):
    page = os.path.join(prefix, "share", "man", "man6", "grathmoor.6.gz")
    env = dict(os.environ, MANWIDTH="200", LC_ALL="C.UTF-8")
    result = run_tool(["man", "--warnings", "-E", "ascii", "-l", page], env=env)
    if result is None:
        return
    text = " ".join(re.sub(".\b", "", result.stdout).split())
    check(result.returncode == 0 and not result.stderr.strip(),
          f"man shows the installed page grathmoor(6) without a warning {result.stderr[:300]}")
    for words, what in ((("KEYS", "ALL CLEAR", "MOVE", "F12"), "the keys"),
                        (("FILES", "Kelvamor/Tov50.conf", "SoundMode", "Config.ini"),
                         "the settings file"),
                        (("--version", "--zoom=PERCENT", "GRATHMOOR_TRACE", "QT_SCALE_FACTOR"),
                         "the program's own --help"),
                        ((f"grathmoor {VERSION}",), "the program's version")):
        missing = [word for word in words if word not in text]
        check(not missing, f"the manual page shows {what} (missing {missing})")


def check_metainfo(prefix):
    """Returns the release date the metadata gives."""
    path = os.path.join(prefix, "share", "metainfo", f"{APPSTREAM_ID}.metainfo.xml")
    try:
        root = ElementTree.parse(path).getroot()
    except (OSError, ElementTree.ParseError) as error:
        check(False, f"the AppStream metadata is installed and reads ({error})")
        return None
    check(root.findtext("id") == APPSTREAM_ID and root.findtext("name") == TITLE,
          "the AppStream metadata names the game under its id")
    launchable = root.findtext("launchable[@type='desktop-id']") or "?"
    check(os.path.isfile(os.path.join(prefix, "share", "applications", launchable)),
          f"the AppStream metadata launches the installed desktop entry ({launchable})")
    release = root.find("releases/release")
    release = {} if release is None else release.attrib
    check(release.get("version") == VERSION and re.fullmatch(r"\d{4}-\d\d-\d\d",
                                                             release.get("date", "")),
          f"the AppStream metadata gives the release {VERSION} with its date ({release})")
    # The screenshot is the picture of the handheld in the sources' docs folder, published.
    shots = [image.text.split("/grathmoor/", 1)[-1] for image in root.iter("image")]
    check(shots and all(os.path.isfile(os.path.join(SOURCE, shot)) for shot in shots),
          f"the AppStream screenshots are pictures kept with the sources ({shots})")
    check(root.find("content_rating[@type='oars-1.1']") is not None,
          "the AppStream metadata rates the content")
    result = run_tool(["appstreamcli", "validate", "--no-net", path])
    if result is not None:
        check(result.returncode == 0,
              f"appstreamcli validate accepts the metadata {result.stdout.strip()}")
    return release.get("date")


def deb822(text):
    """The paragraphs of a Debian control-style file, as dicts; continuation lines joined."""
    paragraphs = []
    for block in re.split(r"\n[ \t]*\n", text.strip()):
        fields, name = {}, None
        for line in block.splitlines():
            if line[:1] in (" ", "\t") and name:
                fields[name] += "\n" + line.strip()
            else:
                name, _, value = line.partition(":")
                fields[name] = value.strip()
        paragraphs.append(fields)
    return paragraphs


def check_doc_files(prefix, release_date):
    doc = os.path.join(prefix, "share", "doc", "grathmoor")
    try:
        with open(os.path.join(doc, "copyright"), encoding="utf-8") as f:
            paragraphs = deb822(f.read())
        with open(os.path.join(doc, "changelog.gz"), "rb") as f:
            packed = f.read()
    except OSError as error:
        check(False, f"the copyright file and the changelog are installed ({error})")
        return
    check(paragraphs[0].get("Format") ==
          "https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/",
          "the copyright file is in the machine-readable format")
    files = [p for p in paragraphs[1:] if "Files" in p]
    check(any(p["Files"] == "*" for p in files)
          and all(p.get("Copyright") and p.get("License") for p in files),
          "the copyright file gives holders and a licence for every file")
    named = {p["License"].split("\n")[0] for p in files}
    texts = {p["License"].split("\n")[0] for p in paragraphs[1:] if "\n" in p.get("License", "")}
    check(named <= texts, f"every licence the copyright file names has its text ({named})")

    # Debian wants it compressed to the full, with no file name or time stamp inside.
    check(packed[:3] == b"\x1f\x8b\x08" and packed[3] & 0x08 == 0 and packed[4:9] ==
          b"\0\0\0\0\x02", "the changelog is gzipped at best compression without a time stamp")
    text = gzip.decompress(packed).decode("utf-8", "replace")
    check(re.match(rf"grathmoor \({re.escape(VERSION)}\) \w+; urgency=\w+\n", text),
          f"the changelog's entry is for version {VERSION} ({text.splitlines()[:1]})")
    trailer = re.search(r"^ -- [^<>\n]+ <[^<>@\s]+@[^<>\s]+>  (.+)$", text, re.M)
    date = email.utils.parsedate_to_datetime(trailer[1]).date().isoformat() if trailer else None
    check(date is not None and date == release_date,
          f"the changelog's entry is signed and dated as the release ({date}, {release_date})")


def check_package(scratch):
    """The Debian package of `make package`, packed afresh and read by lintian."""
    folder = os.path.join(scratch, "package")
    cpack = os.path.join(os.path.dirname(CMAKE), "cpack")
    result = subprocess.run([cpack, "--config", os.path.join(BUILD, "CPackConfig.cmake"), "-B",
                             folder], capture_output=True, text=True)
    debs = [os.path.join(folder, n) for n in os.listdir(folder) if n.endswith(".deb")] \
        if os.path.isdir(folder) else []
    check(result.returncode == 0 and len(debs) == 1,
          f"cpack makes one Debian package {result.stderr.strip()[-300:]}")
    if len(debs) != 1:
        return
    listing = run_tool(["dpkg-deb", "--contents", debs[0]])
    names = {line.split()[-1] for line in listing.stdout.splitlines()} if listing else set()
    check("./usr/games/grathmoor" in names and not any(n.startswith("./usr/bin/") for n in names),
          "the package's launcher is in /usr/games, where Debian keeps its games")
    # Errors and warnings fail; what lintian still says, only as information, is by design:
    # the game folder under /usr/lib holds the pictures and the Readme.txt and Whatsnew.txt
    # that the game opens, and the build flags are the project's own.
    result = run_tool(["lintian", "--pedantic", "--display-info", debs[0]])
    if result is None:
        return
    tags = re.findall(r"^([EWIP]): \S+: (\S+)", result.stdout, re.M)
    faults = sorted({f"{kind}: {tag}" for kind, tag in tags if kind in "EW"})
    print(f"     lintian: {len(tags)} tags, {len(faults)} errors or warnings", flush=True)
    check(result.returncode == 0 and not faults,
          f"lintian finds no error or warning in the package ({faults} {result.stderr.strip()})")


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
            check(not os.path.exists(os.path.join(prefix, "games")),
                  "a plain install has its launcher in bin/ only")
            check_command_line(prefix, scratch)
            check_man_page(prefix)
            check_doc_files(prefix, check_metainfo(prefix))
            check_package(scratch)
            check_launcher(prefix, scratch)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    print(f"{checks - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
