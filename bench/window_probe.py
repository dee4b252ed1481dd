#!/usr/bin/python3
"""The game's real window as a player meets it, measured from outside through the X
server: exec to the first frame showing the logo, CPU of the program (per thread) and of
the X server on a still story page with music, synthetic clicks (XTEST) to the first
change of the window's pixels, page turns (a click whose step runs a "file:" line) to
the first change of the picture, and peak resident memory.

The probe sleeps on the X server's damage reports and reads pixels only when something
was drawn: a probe that polled would take CPU from the game it measures on a small
machine.

Usage: window_probe.py GAME X_SERVER_PID [SECONDS] [CLICKS] [STARTS] [PAGE_TURNS]
Runs with DISPLAY set to a server with a window manager (bench/real_window.sh makes
one); starts GAME itself, so the environment it needs must already be set, and GAME's
folder must be writable (the page turns start from saves the probe writes into slot 0).
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
MENU_LOAD_SLOT0 = (195, 182)  # the system menu's load button of slot 0
TICKS = os.sysconf("SC_CLK_TCK")
SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "script.txt")
# Every line that starts with one of these stems is a command; any other line is prose.
COMMANDS = ("label", "setscreen", "setchar", "end", "size", "file", "jump", "swin",
            "command", "swave", "flg", "loopanime", "anime", "speed", "if", "switch",
            "save", "load", "midi_play", "midi_stop", "wave_play")

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


def page_turn_saves(count):
    """Save lines from which the story's next click runs a "file:" line: for each picture
    line with only plain commands between it and the prose line before it, and a
    "setscreen:" after it (a loaded save shows no picture; the turn shows band 0), the
    line before that prose line, from which a loaded save steps to show it."""
    with open(SCRIPT, encoding="utf-8") as f:  # the game's table has no notes for the tools
        lines = [line for line in f.read().split("\n") if not line.startswith("#")]
    prose = [bool(line) and not line.startswith(COMMANDS) for line in lines]
    saves = []
    for at, line in enumerate(lines):
        if not line.startswith("file:"):
            continue
        before = at - 1
        while before > 0 and not prose[before]:
            before -= 1
        after = at + 1
        while after < len(lines) and not prose[after]:
            after += 1
        steps = lines[before + 1:after]
        plain = not any(l.startswith(("label", "jump", "command", "end", "switch", "load"))
                        for l in steps)
        if before > 5 and plain and any(l.startswith("setscreen:") for l in steps):
            saves.append(before - 1)
    return saves[:count]


def press(origin, x, y, button=1):
    move_to(origin, x, y)
    time.sleep(0.1)
    click(button)
    time.sleep(0.05)
    release(button)


def page_turn_latencies(game, origin, win, count):
    """Milliseconds from the click to the first change of the picture's corner, for
    clicks that each run a "file:" line: a save in slot 0 is loaded through the menu,
    its notice's click shows the prose line before the picture line, and the next click
    turns the page."""
    latencies = []
    slot = os.path.join(os.path.dirname(os.path.abspath(game)), "z_save0.sdt")
    for line in page_turn_saves(count):
        with open(slot, "w") as f:
            f.write(f"01,040,001,001,001,{line}\r\n")
        press(origin, *BUTTON, button=3)
        time.sleep(0.6)
        press(origin, *MENU_LOAD_SLOT0)
        time.sleep(0.6)
        press(origin, *BUTTON)
        time.sleep(1.5)  # the line comes out; the page stands still
        drain_damage()
        before = pixels(win, *WATCH)
        t0 = time.monotonic()
        click(1)
        changed = wait_for_drawing(lambda drawn: drawn.id == win.id and pixels(win, *WATCH) != before, 2)
        t1 = time.monotonic()
        release(1)
        if changed:
            latencies.append((t1 - t0) * 1000)
        time.sleep(0.3)
    return latencies


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
    turns = int(sys.argv[6]) if len(sys.argv) > 6 else 24

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
    turn_latencies = page_turn_latencies(game, origin, win, turns)
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
    if turn_latencies:
        print(f"page turn to first change    {statistics.median(turn_latencies):7.1f} ms median of "
              f"{len(turn_latencies)} (min {min(turn_latencies):.1f}, max {max(turn_latencies):.1f})")
    if len(turn_latencies) < turns:
        print(f"page turns without a visible change: {turns - len(turn_latencies)}")
    print(f"peak resident memory         {peak / 1024:7.1f} MiB")


if __name__ == "__main__":
    main()
