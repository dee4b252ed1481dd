#!/usr/bin/python3
"""Exec to the first frame showing the logo, for one build or several started in turn
(A B A B ...), so that a comparison holds while the machine's load drifts. Prints each
build's median, minimum and maximum in milliseconds.

Usage: first_frame.py STARTS GAME [GAME ...]  (bench/first_frame.sh sets up the display)
"""
import statistics
import sys
import time

from window_probe import start_game


def main():
    starts, games = int(sys.argv[1]), sys.argv[2:]
    times = {game: [] for game in games}
    for _ in range(starts):
        for game in games:
            proc, _, ms = start_game(game)
            times[game].append(ms)
            proc.terminate()
            proc.wait(5)
            time.sleep(0.5)  # the X server and the window manager done with the last one
    for game in games:
        t = times[game]
        print(f"{game}: exec to first logo frame {statistics.median(t):7.1f} ms median of "
              f"{len(t)} (min {min(t):.1f}, max {max(t):.1f})")


main()
