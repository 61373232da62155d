#!/usr/bin/env python3
"""The folders of src/ are layers: each may include only itself and the folders below it.

Usage: layers_test.py <src folder>
"""
import pathlib
import re
import sys

# What each folder may use besides itself. sound and settings implement the game's own
# interfaces (the sound output, the key binding records), so they see src/game. assets (what is
# read from the game folder) and desktop (what is asked of the desktop, the one reporter of
# problems among it) lie below the windows; settings reports through desktop's reporter. The
# handheld owns the game and its services below the windows, which draw it and take from it.
ALLOWED = {
    "app": {"windows", "display", "handheld", "input", "game", "lcd", "sound", "settings",
            "assets", "desktop"},
    "windows": {"handheld", "input", "game", "lcd", "sound", "settings", "assets", "desktop"},
    "display": {"handheld", "input", "game", "lcd", "sound", "settings", "assets", "desktop"},
    "handheld": {"input", "game", "lcd", "sound", "settings", "desktop"},
    "input": {"game", "lcd", "settings", "sdl", "desktop"},
    "game": {"lcd"},
    "lcd": set(),
    "sound": {"game", "sdl"},
    "sdl": set(),
    "settings": {"game", "desktop"},
    "assets": {"desktop"},
    "desktop": set(),
}

src = pathlib.Path(sys.argv[1])
include = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/')
faults = []
for path in sorted(src.rglob("*")):
    if path.suffix not in (".h", ".cpp"):
        continue
    layer = path.relative_to(src).parts[0]
    for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
        match = include.match(line)
        if match and match[1] != layer and match[1] not in ALLOWED.get(layer, set()):
            faults.append(f"{path.relative_to(src)}:{number}: {layer} includes {match[1]}")
print("\n".join(faults) or "every include points down")
sys.exit(1 if faults else 0)
