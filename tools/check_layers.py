#!/usr/bin/env python3
"""The program's layers run one way: each folder includes only its own headers and
those of the folders below it. story/ is itself rooms in the same way: records/,
engine/, saves/ and screens/ under the frame in story/. Lists every include that
crosses from one folder to another and fails on one that runs upward or sideways.

  tools/check_layers.py [ROOT]          the check (run by ./test)
  tools/check_layers.py --table [ROOT]  the number of files of each folder that include
                                        another folder's header, by pair of folders
"""
import os
import re
import sys

# From the bottom. A folder may include the folders listed before it, never one after
# it; draw/ and sound/ are siblings and include neither the other. The shell sees only
# the frame's headers in story/, none of the rooms'.
MEDIA = ["platform", "base", "draw", "sound"]
ROOMS = ["story/records", "story/engine", "story/saves", "story/screens"]
LAYERS = [
    ("platform", []),
    ("base", ["platform"]),
    ("draw", ["platform", "base"]),
    ("sound", ["platform", "base"]),
    ("story/records", MEDIA),
    ("story/engine", MEDIA + ROOMS[:1]),
    ("story/saves", MEDIA + ROOMS[:2]),
    ("story/screens", MEDIA + ROOMS[:3]),
    ("story", MEDIA + ROOMS),
    ("shell", MEDIA + ["story"]),
]
ALLOWED = dict(LAYERS)
# The program's own folders above the layers: they may use any of them.
ON_TOP = ["tools", "tests", "bench", "fuzz"]

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"/]+)/(?:([^"/]+)/)?[^"/]+"')


def unit_of(relative_dir, units):
    """The deepest folder of units that holds relative_dir; None for none."""
    found = None
    for unit in units:
        if relative_dir == unit or relative_dir.startswith(unit + "/"):
            if found is None or len(unit) > len(found):
                found = unit
    return found


def crossings(root, folders):
    """(from folder, to folder, file, line number) for every include of another
    folder's header, a room of story/ counting as a folder of its own."""
    units = [name for name, _ in LAYERS] + ON_TOP
    for folder in {f.split("/")[0] for f in folders}:
        for dirpath, _, names in os.walk(os.path.join(root, folder)):
            unit = unit_of(os.path.relpath(dirpath, root), units)
            if unit not in folders:
                continue
            for name in sorted(names):
                if not name.endswith((".cpp", ".h")):
                    continue
                path = os.path.join(dirpath, name)
                with open(path, encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if not m or not os.path.isdir(os.path.join(root, m.group(1))):
                            continue
                        target = m.group(1)
                        if m.group(2) and f"{target}/{m.group(2)}" in units:
                            target = f"{target}/{m.group(2)}"
                        if target != unit:
                            yield unit, target, os.path.relpath(path, root), number


def table(root):
    folders = [name for name, _ in LAYERS] + ON_TOP
    files = {}
    for src, dst, path, _ in crossings(root, folders):
        files.setdefault((src, dst), set()).add(path)
    for (src, dst), paths in sorted(files.items()):
        print(f"{src}->{dst} {len(paths)}")


def check(root):
    wrong = [(s, d, p, n) for s, d, p, n in crossings(root, ALLOWED) if d not in ALLOWED[s]]
    for src, dst, path, number in wrong:
        print(f"{path}:{number}: {src}/ includes {dst}/, which it may not", file=sys.stderr)
    return 1 if wrong else 0


def main(argv):
    args = [a for a in argv if a != "--table"]
    root = args[0] if args else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    if "--table" in argv:
        table(root)
        return 0
    return check(root)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
