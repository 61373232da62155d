#!/usr/bin/env python3
"""Runs every benchmark of the simulator and prints each figure as "<label>: <value> <unit>".

Usage: run_benchmarks.py [--build-dir DIR] [--quick] [--record]

  --build-dir DIR  the build folder whose game/ and bench/ are measured (default: build)
  --quick          short runs, to check the tools themselves; figures are rough
  --record         also put the run at the top of BENCHMARKS.md's list of runs

The figures of the run are always written to DIR/bench-results.md as well.
The programs that need a screen run on a private Xvfb; nothing touches the user's settings.
"""
import argparse
import datetime
import json
import os
import platform
import re
import statistics
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from harness import TITLE, Display, Program, png_pixels, poll  # noqa: E402

# The settings a returning player's earlier start left: the splash skipped, the keys stored.
SKIP_SPLASH = {"SoundMode": "2", "SplashScreen": "0", "FullscreenMode": "0",
               "Key1": "6", "Key2": "39", "Key3": "38", "Key4": "37"}
SPLASH_TITLE = "About this game..."
# Trace lines that change what the LCD shows.
VISIBLE = ("show", "hide", "panel")
FIGURE = re.compile(r"^(?P<label>[^:]+): (?P<value>-?[0-9.]+) (?P<unit>\S+)$")

# label -> (comparison, limit) for the figures that have a target.
TARGETS = {
    # With the LCD's response on, its frames sharing the loop.
    "timer lateness p99": ("<", 1.0),
    "timer lateness 60-470 ms p99": ("<", 1.0),
    "timer lateness 500-870 ms p99": ("<", 1.0),
    "timer lateness 1000-5000 ms p99": ("<", 1.0),
    "key to frame p99": ("<", 2.0),
    "pad to frame p99": ("<", 2.0),
    "CPU while a game waits, pad plugged in": ("<", 1.0),
    "one-segment repaint windowed": ("<", 0.5),
    "one-segment repaint 1920 x 1080": ("<", 0.5),
    "one-segment repaint windowed 2x": ("<", 0.1),
    "one-segment repaint 3840 x 2160 at 2x": ("<", 0.1),
    "one-segment repaint windowed 3x": ("<", 0.1),
    "one-segment repaint 3840 x 2160 at 3x": ("<", 0.1),
    "full-frame paint 3840 x 2160 at 2x": ("<", 8.0),
    "full-frame paint 3840 x 2160 at 3x": ("<", 8.0),
    "CPU while a game waits": ("<", 0.5),
    "CPU while a game waits at 2x": ("<", 1.0),
    "start-up to the splash median": ("<=", 80.0),
    "start-up to the splash / bare Qt window": ("<=", 1.3),
    "start-up to the splash / bare Qt window at 3x": ("<=", 2.0),
    "peak memory windowed at 1x": ("<=", 48.0),
    "peak memory windowed at 3x": ("<=", 96.0),
    "peak memory after F12 at 3x": ("<=", 160.0),
    "desktop shown by F12 at 1x": ("<=", 0.0),
    "desktop shown by F12 at 3x": ("<=", 0.0),
    "desktop shown by a zoom change": ("<=", 0.0),
    "peak memory full screen 1920 x 1080": ("<=", 120.0),
    "peak memory full screen 3840 x 2160 at 2x": ("<=", 256.0),
    ".deb size": ("<=", 20.0),
    "LCD shades on the way, response on": (">=", 3),
    "LCD shades on the way, response off": ("<", 1),
}


class Figures:
    def __init__(self):
        self.values = {}  # label -> (value, unit), in the order measured
        self.notes = []

    def add(self, label, value, unit):
        self.values[label] = (value, unit)
        print(f"{label}: {value:.3f} {unit}", flush=True)

    def take_output(self, text):
        """Picks the figure lines out of a benchmark program's output, echoing the rest."""
        for line in text.splitlines():
            m = FIGURE.match(line.strip())
            if m:
                self.add(m["label"], float(m["value"]), m["unit"])
            elif line.strip():
                print("  " + line.strip(), flush=True)
                self.notes.append(line.strip())


def run_tool(figures, command, env=None, timeout=600):
    print(f"== {os.path.basename(command[0])}", flush=True)
    done = subprocess.run(command, capture_output=True, text=True, env=env, timeout=timeout)
    figures.take_output(done.stdout)
    if done.returncode != 0:
        message = f"{os.path.basename(command[0])} failed ({done.returncode}): " \
                  f"{done.stderr.strip()[-500:]}"
        print("  " + message, flush=True)
        figures.notes.append(message)


def paint_costs(figures, build_dir, quick):
    print("== paint_bench", flush=True)
    binary = os.path.join(build_dir, "bench", "paint_bench")
    if not os.path.exists(binary):
        figures.notes.append("paint_bench was not built (Google Benchmark missing)")
        print("  not built", flush=True)
        return
    command = [binary, "--benchmark_format=json"]
    if quick:
        command.append("--benchmark_min_time=0.05")
    done = subprocess.run(command, capture_output=True, text=True,
                          env=dict(os.environ, GRATHMOOR_GAME_DIR=os.path.join(build_dir, "game")))
    if done.returncode != 0:
        figures.notes.append("paint_bench failed: " + done.stderr.strip()[-500:])
        print("  failed: " + done.stderr.strip()[-500:], flush=True)
        return
    # Arguments: full screen, scale, the windowed zoom. Full screen is 1920 x 1080 at 1x,
    # 3840 x 2160 scaled, the handheld filling it.
    names = {"Shape_Rebuild": "window-shape rebuild"}
    for kind, what in (("Full_Frame", "full-frame paint"), ("One_Segment", "one-segment repaint")):
        names[f"{kind}/0/1/100"] = f"{what} windowed"
        names[f"{kind}/1/1/100"] = f"{what} 1920 x 1080"
        names[f"{kind}/0/1/300"] = f"{what} windowed at zoom 300 %"
        for scale in (2, 3):
            names[f"{kind}/0/{scale}/100"] = f"{what} windowed {scale}x"
            names[f"{kind}/1/{scale}/100"] = f"{what} 3840 x 2160 at {scale}x"
    for bench in json.loads(done.stdout)["benchmarks"]:
        label = names.get(bench["name"])
        if label is None:
            continue
        scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0}[bench["time_unit"]]
        figures.add(label, bench["real_time"] * scale, "ms")


class Map_Watch:
    """Stamps each window the X server maps, as it happens (xev on the root window)."""

    def __init__(self, display):
        self.maps = []  # (monotonic time, window id)
        self.listening = threading.Event()
        self.process = subprocess.Popen(
            ["stdbuf", "-oL", "xev", "-root", "-event", "substructure", "-event", "property"],
            env=display.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.thread = threading.Thread(target=self.read, daemon=True)
        self.thread.start()
        # xev must listen before the program starts: a property it sees changed says it does.
        poll(lambda: display.run("xprop", "-root", "-f", "GRATHMOOR_BENCH", "8s", "-set",
                                 "GRATHMOOR_BENCH", "1") and self.listening.wait(0.5), 30, 0)

    def read(self):
        pending = False
        for line in self.process.stdout:
            now = time.monotonic()
            if line.startswith("PropertyNotify"):
                self.listening.set()
            if line.startswith("MapNotify"):
                pending = True
            elif pending:
                pending = False
                m = re.search(r"window (0x[0-9a-f]+)", line)
                if m:
                    self.maps.append((now, int(m.group(1), 16)))

    def stop(self):
        self.process.terminate()
        self.process.wait()


def first_map(watch, started, window=None, timeout=10):
    """Milliseconds from `started` until the X server mapped `window` (any window when None),
    or None when it never did."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        mapped = [t for t, w in watch.maps if window is None or w == window]
        if mapped:
            return (mapped[0] - started) * 1000
        time.sleep(0.002)
    return None


def top_windows(display):
    """How many windows the root window holds."""
    tree = display.run("xwininfo", "-root", "-children").stdout
    return sum(1 for line in tree.splitlines() if line.strip().startswith("0x"))


def server_settled(display, windows):
    """Waits till the X server has closed the last program's connection (its windows are gone):
    until then it is still freeing that program's pictures, and the next start would wait for it."""
    poll(lambda: top_windows(display) <= windows, 10, 0.005)


class Session_Bus:
    """A D-Bus session bus, as every desktop has: without one each Qt program would launch its
    own (dbus-launch and a daemon) as it starts, beside the start that is measured."""

    def __enter__(self):
        self.process = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address"],
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.address = self.process.stdout.readline().strip()
        return self

    def __exit__(self, *exc):
        self.process.terminate()
        self.process.wait()


def start_up(figures, display, game_dir, bench_dir, runs, scale=1):
    """Process start to the first window mapped: the game's first start (the splash) beside a
    bare Qt window of the handheld's size, started the same way in turns, and the skip path."""
    print("== start-up", flush=True)
    with Session_Bus() as bus:
        start_up_runs(figures, display, game_dir, bench_dir, runs, scale,
                      {"QT_SCALE_FACTOR": str(scale), "DBUS_SESSION_BUS_ADDRESS": bus.address})


def start_up_runs(figures, display, game_dir, bench_dir, runs, scale, env):
    at = f" at {scale}x" if scale > 1 else ""
    splash, demo, bare, bare_text = [], [], [], []
    windows = top_windows(display)
    for _ in range(runs):
        # The floor: what any Qt Widgets program pays to map a window, and one with a line of
        # text, which starts the system's fonts.
        for arguments, times in (([], bare), (["--text"], bare_text)):
            watch = Map_Watch(display)
            started = time.monotonic()
            floor = subprocess.Popen([os.path.join(bench_dir, "bare_window"), *arguments],
                                     env=dict(display.env, **env), stderr=subprocess.DEVNULL)
            try:
                ms = first_map(watch, started)
                if ms is not None:
                    times.append(ms)
            finally:
                floor.kill()
                floor.wait()
                watch.stop()
                server_settled(display, windows)

        # First start: nothing stored, so the splash comes up.
        watch = Map_Watch(display)
        started = time.monotonic()
        program = Program(game_dir, display, env=env)
        try:
            # Looked for once something is mapped: the search is a program of its own, which
            # would otherwise share the cores with the start it measures.
            first_map(watch, started)
            found = display.find_window(SPLASH_TITLE, timeout=10)
            ms = None if found is None else first_map(watch, started, int(found), timeout=1)
            if ms is None:
                figures.notes.append("start-up: the splash never showed")
            else:
                splash.append(ms)
        finally:
            program.stop()
            watch.stop()
            server_settled(display, windows)

        # The skip path: straight to the demo.
        started = time.monotonic()
        program = Program(game_dir, display, settings=SKIP_SPLASH, env=env)
        try:
            reached = None
            deadline = started + 10
            while time.monotonic() < deadline and program.process.poll() is None:
                if "mode 1" in (event for _, event in program.trace()):
                    reached = time.monotonic()
                    break
                time.sleep(0.002)
            if reached is None:
                figures.notes.append("start-up: the skip path never reached the demo")
            else:
                demo.append((reached - started) * 1000)
        finally:
            program.stop()
            server_settled(display, windows)
    if bare:
        figures.add(f"start-up of a bare Qt window median{at}", statistics.median(bare), "ms")
    if bare_text:
        figures.add(f"start-up of a bare Qt window with text median{at}",
                    statistics.median(bare_text), "ms")
    if splash:
        figures.add(f"start-up to the splash median{at}", statistics.median(splash), "ms")
        figures.add(f"start-up to the splash max{at}", max(splash), "ms")
        for label, floor in (("bare Qt window", bare), ("bare Qt window with text", bare_text)):
            if floor:
                figures.add(f"start-up to the splash / {label}{at}",
                            statistics.median(splash) / statistics.median(floor), "x")
    if demo:
        figures.add(f"start-up to the demo (no splash) median{at}", statistics.median(demo), "ms")


def thread_cpu(pid):
    """CPU seconds used so far by each live thread of a process: {tid: (name, seconds)}.

    The scheduler's own nanosecond account (schedstat) is read where the kernel keeps it; the
    tick-sampled utime + stime misses the short bursts of an idle program."""
    threads = {}
    for tid in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{tid}/stat") as f:
                text = f.read()
            name = text[text.index("(") + 1:text.rindex(")")]
            fields = text.rsplit(")", 1)[1].split()
            seconds = (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")
            try:
                with open(f"/proc/{pid}/task/{tid}/schedstat") as f:
                    seconds = int(f.read().split()[0]) / 1e9
            except (OSError, ValueError, IndexError):
                pass
            threads[tid] = (name, seconds)
        except OSError:
            continue
    return threads


def cpu_seconds(pid):
    return sum(seconds for _, seconds in thread_cpu(pid).values())


def busiest_threads(pid, before):
    """CPU seconds per thread since the snapshot `before`, the busiest first."""
    return sorted(((name, t - before.get(tid, (name, 0))[1])
                   for tid, (name, t) in thread_cpu(pid).items()), key=lambda x: -x[1])


def measure_cpu(figures, display, program, label, seconds):
    pid = program.process.pid
    threads = thread_cpu(pid)
    t0, p0, x0 = time.monotonic(), cpu_seconds(pid), cpu_seconds(display.server.pid)
    trace_before = len(program.trace())
    time.sleep(seconds)
    t1, p1, x1 = time.monotonic(), cpu_seconds(pid), cpu_seconds(display.server.pid)
    events = program.trace()[trace_before:]
    figures.add(label, (p1 - p0) / (t1 - t0) * 100, "%")
    figures.add(label + " (X server)", (x1 - x0) / (t1 - t0) * 100, "%")
    top = ", ".join(f"{name} {t * 1000:.1f} ms" for name, t in busiest_threads(pid, threads)[:3])
    shown = sum(1 for _, e in events if e.startswith(VISIBLE))
    note = f"{label}: {len(events)} trace lines ({shown} visible changes) in {seconds} s; " \
           f"threads: {top}"
    print("  " + note, flush=True)
    figures.notes.append(note)


def start_level(display, window, program):
    """Starts level 1 and waits until the warrior waits; the time the game began, or None."""
    # Ctrl is the attack button: once to pick level 1, once to start it.
    display.key(window, "ctrl")
    display.key(window, "ctrl")
    begun = program.wait_for_trace("mode 5", timeout=5)
    waiting = begun is not None and program.wait_for_trace(
        "show im_maze", timeout=10, after=begun) is not None
    return begun if waiting else None


def cpu_and_memory(figures, display, game_dir, quick):
    print("== CPU and memory", flush=True)
    span = 3 if quick else 10
    program, window = demo_at(display, game_dir, 1, figures, "CPU")
    try:
        if window is None:
            return
        measure_cpu(figures, display, program, "CPU in the demo", span)

        begun = start_level(display, window, program)
        if begun is None:
            figures.notes.append("CPU: the game never waited for the player")

        # Play on for the rest of the minute: cursor turns (Shift) and moves (Alt).
        end = time.monotonic() + (5 if quick else 35)
        while time.monotonic() < end:
            display.key(window, "shift")
            time.sleep(0.8)
            display.key(window, "alt")
            time.sleep(2.5)
            if program.wait_for_trace("mode 8", timeout=0.01, after=begun or 0) is not None:
                display.key(window, "ctrl")
                display.key(window, "ctrl")
                begun = program.wait_for_trace("mode 5", timeout=5) or begun
        peak = program.peak_memory_kb()
        if peak is not None:
            figures.add("peak resident memory", peak / 1024, "MiB")
    finally:
        program.stop()


def lcd_response(figures, display, game_dir, bench_dir, quick):
    """The most distinct shades a pixel of the LCD passes through on one way between unlit and
    lit, sampled every 2 ms while the demo plays: with the liquid crystal's response, and
    without."""
    print("== LCD response", flush=True)
    for state, stored in (("on", "1"), ("off", "0")):
        program, window = demo_at(display, game_dir, 1, figures, "LCD response",
                                  dict(SKIP_SPLASH, LcdResponse=stored))
        try:
            if window is None:
                return
            x, y, _, _ = display.geometry(window)
            # The glass from the top of the warrior's path to the bottom of the room's walls.
            out = subprocess.run([os.path.join(bench_dir, "screen_sampler"), "shades", str(x + 70),
                                  str(y + 60), "210", "150", "3" if quick else "8"],
                                 capture_output=True, text=True, env=display.env).stdout
            m = re.search(r": (\d+) shades", out)
            if m:
                figures.add(f"LCD shades on the way, response {state}", float(m[1]), "shades")
        finally:
            program.stop()


# The screens of the big-screen figures: the scale and the screen's size in device pixels.
BIG_SCREENS = ((1, (1024, 768)), (2, (2048, 1536)), (3, (3840, 2160)))


def demo_at(display, game_dir, scale, figures, what, settings=SKIP_SPLASH):
    """The windowed program at a scale, once its demo plays and the handheld is on the screen:
    (program, window); the window is None, with a note, when the demo never came. The caller
    stops the program."""
    program = Program(game_dir, display, settings=settings, env={"QT_SCALE_FACTOR": str(scale)})
    window = display.find_window(TITLE)
    if window is None or program.wait_for_trace("mode 1") is None:
        figures.notes.append(f"{what}: the program did not reach the demo")
        return program, None
    # The handheld's middle, at the screen's centre, differs from the desktop's corner.
    w, h = display.screen
    if not poll(lambda: len(set(png_pixels(display.png(), [(0, 0), (w // 2, h // 2)]))) == 2,
                30, 0.2):
        figures.notes.append(f"{what}: the handheld was never drawn")
        return program, None
    return program, window


def desktop_shown(display, bench_dir, desktop, act):
    """For how long (ms) the screen's centre shows the desktop's colour once `act()` has run,
    sampled every 2 ms from before it; None when the sampler tells nothing."""
    w, h = display.screen
    sampler = subprocess.Popen(
        [os.path.join(bench_dir, "screen_sampler"), "gap", str(w // 2), str(h // 2),
         "%02x%02x%02x" % desktop, "4"], stdout=subprocess.PIPE, text=True, env=display.env)
    sampler.stdout.readline()  # it samples
    act()
    m = re.search(r": ([0-9.]+) ms", sampler.communicate()[0])
    return float(m[1]) if m else None


def big_screens(figures, game_dir, bench_dir, quick):
    """At each scale: the peak memory of the windowed handheld and after F12 to full screen, and
    for how long F12 lets the screen's centre show the desktop (sampled every 2 ms)."""
    for scale, screen in BIG_SCREENS:
        print(f"== {scale}x on {screen[0]} x {screen[1]}", flush=True)
        with Display(screen) as display:
            desktop = display.pixel(screen[0] // 2, screen[1] // 2)
            program, window = demo_at(display, game_dir, scale, figures, f"{scale}x")
            try:
                if window is None:
                    continue
                figures.add(f"peak memory windowed at {scale}x", program.peak_memory_kb() / 1024,
                            "MiB")
                shown = desktop_shown(display, bench_dir, desktop,
                                      lambda: display.key(window, "F12"))
                if shown is not None:
                    figures.add(f"desktop shown by F12 at {scale}x", shown, "ms")
                figures.add(f"peak memory after F12 at {scale}x",
                            program.peak_memory_kb() / 1024, "MiB")
            finally:
                program.stop()
            if scale > 1:
                start_up(figures, display, game_dir, bench_dir, 2 if quick else 9, scale)


def full_screen_and_zoom(figures, game_dir, bench_dir):
    """The peak memory of the filled full screen on the screens players have, and for how long a
    turn of the wheel lets the screen's centre show the desktop (sampled every 2 ms)."""
    for scale, screen, label in ((1, (1920, 1080), "1920 x 1080"),
                                 (2, (3840, 2160), "3840 x 2160 at 2x")):
        print(f"== full screen {label}", flush=True)
        with Display(screen) as display:
            program, window = demo_at(display, game_dir, scale, figures, f"full screen {label}",
                                      dict(SKIP_SPLASH, FullscreenMode="1"))
            try:
                if window is not None:
                    figures.add(f"peak memory full screen {label}",
                                program.peak_memory_kb() / 1024, "MiB")
            finally:
                program.stop()
    print("== zoom change", flush=True)
    screen = (1920, 1080)
    with Display(screen) as display:
        desktop = display.pixel(screen[0] // 2, screen[1] // 2)
        program, window = demo_at(display, game_dir, 1, figures, "zoom change")
        try:
            if window is None:
                return
            shown = desktop_shown(display, bench_dir, desktop, lambda: display.run(
                "xdotool", "mousemove", "--window", window, "260", "100", "click", "4"))
            if shown is not None:
                figures.add("desktop shown by a zoom change", shown, "ms")
        finally:
            program.stop()


def deb_size(figures, build_dir):
    """The Debian package as `make package` builds it."""
    print("== .deb", flush=True)
    done = subprocess.run(["cmake", "--build", build_dir, "--target", "package"],
                          capture_output=True, text=True)
    debs = sorted((os.path.getmtime(p), p) for p in
                  (os.path.join(build_dir, f) for f in os.listdir(build_dir)) if p.endswith(".deb"))
    if done.returncode != 0 or not debs:
        figures.notes.append("the package was not built: " + done.stderr.strip()[-300:])
        return
    figures.add(".deb size", os.path.getsize(debs[-1][1]) / 1e6, "MB")


def lcd_quiet(program, seconds):
    """Whether the LCD shows no change for a while (no warning blinks)."""
    before = len(program.trace())
    time.sleep(seconds)
    return not any(e.startswith(VISIBLE) for _, e in program.trace()[before:])


def cpu_waiting(figures, game_dir, quick, scale):
    """The windowed handheld while a game waits, at a scale. A dungeon is dealt at random: one
    that starts the warrior beside a bat or a pit blinks a warning, and its frames are measured
    apart; the waiting figure is taken from a game whose LCD stays still."""
    suffix = "" if scale == 1 else f" at {scale}x"
    print(f"== CPU while a game waits{suffix}", flush=True)
    span = 3 if quick else 10
    blinks = f"CPU while a warning blinks{suffix}"
    with Display((1024 * scale, 768 * scale)) as display:
        for _ in range(8):
            program, window = demo_at(display, game_dir, scale, figures, f"CPU{suffix}")
            try:
                if window is None:
                    return
                if start_level(display, window, program) is None:
                    figures.notes.append(f"CPU{suffix}: the game never waited for the player")
                    return
                if not lcd_quiet(program, 1):
                    if blinks not in figures.values:
                        measure_cpu(figures, display, program, blinks, span)
                    continue
                measure_cpu(figures, display, program, f"CPU while a game waits{suffix}", span)
                peak = program.peak_memory_kb()
                # At 1x the peak is taken after a minute of play instead.
                if peak is not None and scale != 1:
                    figures.add(f"peak resident memory{suffix}", peak / 1024, "MiB")
                return
            finally:
                program.stop()
        figures.notes.append(f"CPU{suffix}: every game dealt began beside a warning")


def machine():
    model = "unknown CPU"
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    with open("/proc/meminfo") as f:
        memory = int(f.readline().split()[1]) / 1024 / 1024
    return f"{model}, {os.cpu_count()} cores, {memory:.0f} GiB memory, " \
           f"{platform.system()} {platform.release()}"


def load():
    return os.getloadavg()[0]


def verdict(label, value, unit=""):
    if label not in TARGETS:
        return "", ""
    op, limit = TARGETS[label]
    met = {"<": value < limit, "<=": value <= limit, ">": value > limit, ">=": value >= limit}[op]
    return f"{op} {limit:.3g} {unit}".rstrip(), "yes" if met else "**no**"


def section(figures, started, load_before, load_after, quick):
    commit = subprocess.run(["git", "-C", ROOT, "rev-parse", "--short", "HEAD"],
                            capture_output=True, text=True).stdout.strip() or "unknown"
    lines = [f"## {started:%Y-%m-%d %H:%M} (commit {commit}{', quick run' if quick else ''})",
             "",
             f"- Machine: {machine()}",
             f"- Load average (1 min) before / after the run: {load_before:.2f} / {load_after:.2f}",
             "",
             "| Figure | Value | Target | Met |",
             "|---|---:|---|---|"]
    for label, (value, unit) in figures.values.items():
        target, met = verdict(label, value, unit)
        unit_text = "" if unit == "%" else " "
        lines.append(f"| {label} | {value:.3f}{unit_text}{unit} | {target} | {met} |")
    missed = [label for label, (value, _) in figures.values.items()
              if verdict(label, value)[1] == "**no**"]
    missing = [label for label in TARGETS if label not in figures.values]
    lines.append("")
    if missed or missing:
        lines += [f"- Missed: {label}." for label in missed]
        lines += [f"- Not measured: {label}." for label in missing]
        lines.append("")
    lines.append("Run notes:")
    lines.append("")
    lines += [f"    {note}" for note in figures.notes]
    lines.append("")
    return "\n".join(lines) + "\n"


def record(text):
    path = os.path.join(ROOT, "BENCHMARKS.md")
    marker = "<!-- runs: the newest first -->\n"
    current = open(path).read() if os.path.exists(path) else "# Benchmarks\n\n" + marker
    if marker not in current:
        current += "\n" + marker
    head, tail = current.split(marker, 1)
    with open(path, "w") as f:
        f.write(head + marker + "\n" + text + tail.lstrip("\n"))
    print(f"recorded in {path}", flush=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build-dir", default=os.path.join(ROOT, "build"))
    parser.add_argument("--quick", action="store_true")
    parser.add_argument("--record", action="store_true")
    args = parser.parse_args()
    build_dir = os.path.abspath(args.build_dir)
    game_dir = os.path.join(build_dir, "game")
    bench_dir = os.path.join(build_dir, "bench")
    if not os.path.exists(os.path.join(game_dir, "grathmoor")):
        sys.exit(f"no program at {game_dir}/grathmoor: build first")

    started = datetime.datetime.now()
    load_before = load()
    print(f"machine: {machine()}; load average {load_before:.2f}", flush=True)
    figures = Figures()
    paint_costs(figures, build_dir, args.quick)
    with Display() as display:
        env = dict(display.env, QT_QPA_PLATFORM="xcb", GRATHMOOR_GAME_DIR=game_dir)
        run_tool(figures, [os.path.join(bench_dir, "timer_lateness_bench"),
                           "8" if args.quick else "90"], env)
        run_tool(figures, [os.path.join(bench_dir, "key_frame_bench"),
                           "20" if args.quick else "200", "3" if args.quick else "10"], env)
        start_up(figures, display, game_dir, bench_dir, 2 if args.quick else 15)
        cpu_and_memory(figures, display, game_dir, args.quick)
        lcd_response(figures, display, game_dir, bench_dir, args.quick)
    big_screens(figures, game_dir, bench_dir, args.quick)
    full_screen_and_zoom(figures, game_dir, bench_dir)
    deb_size(figures, build_dir)
    for scale in (1, 2):
        cpu_waiting(figures, game_dir, args.quick, scale)
    load_after = load()

    text = section(figures, started, load_before, load_after, args.quick)
    with open(os.path.join(build_dir, "bench-results.md"), "w") as f:
        f.write(text)
    print()
    print(text)
    if args.record:
        record(text)
    # A benchmark that could not run at all is an error; a missed target is a result.
    return 1 if any(label not in figures.values for label in TARGETS) else 0


if __name__ == "__main__":
    sys.exit(main())
