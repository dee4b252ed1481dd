#!/usr/bin/env python3
"""Prints how large the tests are beside the code they test: the lines of every .cpp,
.h, .py and .sh file git tracks, the tests being those under tests/ and the code the
rest (the program and its tools) but for fuzz/ and bench/. Data files (the golden
frames, the script) are none of these kinds and are not counted."""
import pathlib
import subprocess
import sys

KINDS = (".cpp", ".h", ".py", ".sh")


def count_lines(root):
    """(test lines, code lines) of the files git tracks under root."""
    names = subprocess.run(["git", "-C", str(root), "ls-files", "-z"], check=True,
                           capture_output=True).stdout.decode().split("\0")
    tests = code = 0
    for name in names:
        if not name.endswith(KINDS):
            continue
        top = name.split("/", 1)[0]
        if top in ("fuzz", "bench"):
            continue
        with open(root / name, "rb") as f:
            lines = f.read().count(b"\n")
        if top == "tests":
            tests += lines
        else:
            code += lines
    return tests, code


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent)
    tests, code = count_lines(root)
    print(f"tests: {tests} lines, code: {code} lines (product and tools), "
          f"ratio {100 * tests / code:.1f} %")


if __name__ == "__main__":
    main()
