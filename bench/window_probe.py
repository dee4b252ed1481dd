#!/usr/bin/python3
"""The game's real window as a player meets it, measured from outside through the X
server: exec to the first frame showing the logo, CPU of the program (per thread) and of
the X server on a still story page with music, synthetic clicks (XTEST) to the first
change of the window's pixels, and peak resident memory.

The probe sleeps on the X server's damage reports and reads pixels only when something
was drawn: a probe that polled would take CPU from the game it measures on a small
machine.

Usage: window_probe.py GAME X_SERVER_PID [SECONDS] [CLICKS] [STARTS]
Runs with DISPLAY set to a server with a window manager (bench/real_window.sh makes
one); starts GAME itself, so the environment it needs must already be set.
"""
import os
import select
import statistics
import subprocess
import sys
import time

from Xlib import X, display, error
from Xlib.ext import damage, xtest

CAPTION = "灯りの駅"
LOGO_ROW = (175, 217, 325)  # x, y, width: a row the logo's first frame covers
WATCH = (8, 8, 16, 16)      # x, y, w, h: picture corner, story vs system menu
BUTTON = (400, 380)         # over the message window in the story, the menu's return
TICKS = os.sysconf("SC_CLK_TCK")

dpy = display.Display()
root = dpy.screen().root
NET_WM_NAME = dpy.intern_atom("_NET_WM_NAME")
UTF8 = dpy.intern_atom("UTF8_STRING")
dpy.damage_query_version()
DAMAGE_NOTIFY = dpy.extension_event.DamageNotify
# A window may be gone before its damage is asked for; that is no fault of the game's.
dpy.set_error_handler(lambda err, request: None)
# Every new top-level window is watched from its creation, so that none of its drawing
# is missed.
root.change_attributes(event_mask=X.SubstructureNotifyMask)
dpy.sync()


def is_game(win):
    try:
        name = win.get_full_property(NET_WM_NAME, UTF8)
    except error.XError:
        return False
    return bool(name) and name.value.decode("utf-8", "replace") == CAPTION


def next_damage(limit_s):
    """The window of the next damage report, or None when limit_s passed without one.
    Windows created meanwhile get their damage watched."""
    end = time.monotonic() + limit_s
    while True:
        while dpy.pending_events():
            ev = dpy.next_event()
            if ev.type == X.CreateNotify:
                ev.window.damage_create(damage.DamageReportRawRectangles)
                dpy.flush()
            elif ev.type == DAMAGE_NOTIFY:
                return dpy.create_resource_object("window", ev.drawable.id)
        left = end - time.monotonic()
        if left <= 0:
            return None
        select.select([dpy], [], [], left)


def drain_damage():
    dpy.sync()
    while dpy.pending_events():
        dpy.next_event()


def pixels(win, x, y, w, h):
    """The raw bytes of a rectangle of the window, or None while it cannot be read."""
    try:
        return win.get_image(x, y, w, h, X.ZPixmap, 0xFFFFFFFF).data
    except error.XError:
        return None


def wait_for_drawing(test, limit_s):
    """The first window whose drawing makes test(window) true, as soon as it is drawn;
    None when that does not happen within limit_s."""
    end = time.monotonic() + limit_s
    while True:
        win = next_damage(end - time.monotonic())
        if win is None:
            return None
        if test(win):
            return win


def cpu_seconds(pid):
    """CPU (user + system) of every thread of pid: {thread name (tid): seconds}."""
    out = {}
    for tid in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{tid}/stat") as f:
                stat = f.read()
        except OSError:
            continue
        name = stat[stat.index("(") + 1:stat.rindex(")")]
        fields = stat[stat.rindex(")") + 2:].split()
        label = "main" if tid == str(pid) else f"{name}"
        out[label] = out.get(label, 0.0) + (int(fields[11]) + int(fields[12])) / TICKS
    return out


def move_to(origin, x, y):
    xtest.fake_input(dpy, X.MotionNotify, x=origin[0] + x, y=origin[1] + y)
    dpy.sync()


def click(button):
    xtest.fake_input(dpy, X.ButtonPress, button)
    dpy.sync()


def release(button):
    xtest.fake_input(dpy, X.ButtonRelease, button)
    dpy.sync()


def start_game(game):
    """The game started, its window and the milliseconds from exec to its logo."""
    start = time.monotonic()
    proc = subprocess.Popen([game], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    x, y, w = LOGO_ROW
    win = wait_for_drawing(lambda win: is_game(win) and any(pixels(win, x, y, w, 1) or b""), 10)
    if not win:
        proc.kill()
        sys.exit("the logo never showed")
    return proc, win, (time.monotonic() - start) * 1000


def main():
    game, server = sys.argv[1], int(sys.argv[2])
    seconds = float(sys.argv[3]) if len(sys.argv) > 3 else 10.0
    clicks = int(sys.argv[4]) if len(sys.argv) > 4 else 20
    starts = int(sys.argv[5]) if len(sys.argv) > 5 else 5

    # One start is at the mercy of whatever else the machine does in that tenth of a
    # second: the game is started several times, the last one kept.
    first_frames = []
    for n in range(starts):
        proc, win, ms = start_game(game)
        first_frames.append(ms)
        if n + 1 < starts:
            proc.terminate()
            proc.wait(5)
            time.sleep(0.5)  # the X server and the window manager done with the last one
    pos = root.translate_coords(win, 0, 0)
    origin = (pos.x, pos.y)

    # The logo ends by itself; a click leaves the notice, another the title. The
    # story's first page then starts its music; its line is out well within 2 s.
    time.sleep(5)
    move_to(origin, 250, 200)
    for _ in range(2):
        time.sleep(0.3)
        click(1)
        time.sleep(0.1)
        release(1)
        time.sleep(0.5)
    move_to(origin, *BUTTON)
    time.sleep(2)

    game0, server0 = cpu_seconds(proc.pid), cpu_seconds(server)
    time.sleep(seconds)
    game1, server1 = cpu_seconds(proc.pid), cpu_seconds(server)
    per_thread = {k: game1[k] - game0.get(k, 0.0) for k in game1}
    total = sum(per_thread.values())
    server_s = sum(server1.values()) - sum(server0.values())

    # Right click opens the system menu; a left click on its return button closes it.
    # The pointer stays put, so only the click changes the picture.
    latencies = []
    for n in range(clicks):
        button = 3 if n % 2 == 0 else 1
        time.sleep(1.0)
        drain_damage()
        before = pixels(win, *WATCH)
        t0 = time.monotonic()
        click(button)
        changed = wait_for_drawing(lambda drawn: drawn.id == win.id and pixels(win, *WATCH) != before, 2)
        t1 = time.monotonic()
        release(button)
        if changed:
            latencies.append((t1 - t0) * 1000)
    with open(f"/proc/{proc.pid}/status") as f:
        peak = next(int(line.split()[1]) for line in f if line.startswith("VmHWM:"))
    proc.terminate()
    proc.wait(5)

    threads = ", ".join(f"{k} {v:.2f}" for k, v in sorted(per_thread.items()) if v > 0.004)
    print(f"exec to first logo frame     {statistics.median(first_frames):7.1f} ms median of "
          f"{starts} (min {min(first_frames):.1f}, max {max(first_frames):.1f})")
    print(f"still page, {seconds:.0f} s: program  {total:5.2f} s CPU ({threads})")
    print(f"still page, {seconds:.0f} s: X server {server_s:5.2f} s CPU")
    print(f"still page, {seconds:.0f} s: together {total + server_s:5.2f} s CPU")
    if latencies:
        print(f"click to first change        {statistics.median(latencies):7.1f} ms median of "
              f"{len(latencies)} (min {min(latencies):.1f}, max {max(latencies):.1f})")
    if len(latencies) < clicks:
        print(f"clicks without a visible change: {clicks - len(latencies)}")
    print(f"peak resident memory         {peak / 1024:7.1f} MiB")


main()
