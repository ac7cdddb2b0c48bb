#!/usr/bin/python3
"""map_timer: how long Windows programs take under Wine from their start by
the shell to the X server's MapNotify of their window, in alternation.

    map_timer.py <rounds> <wine> (<folder> <exe> <caption>)... 

The last program is the floor the others are compared with.

Measured from outside Wine: the timer is an X client that only waits on its
X connection for the root window's MapNotify events, so nothing it does
loads the Wine server while the programs start (startup_timer.exe, inside
Wine, polls FindWindowA about every millisecond, and every poll is a server
call). Each start runs `<wine> <exe>` in the program's folder, from just
before the process is spawned until a top-level window whose name is the
caption is mapped; the Unix process is then killed and waited for, and the
next start follows 200 ms later (not timed).

Prints every round, then per program the median, minimum and maximum in ms,
its ratio of medians to the floor and the median of its rounds' ratios to the
floor, as a Markdown table. Exit codes: 0 done, 1 a program ended or timed out
before its window was mapped, 2 bad command line.
"""

import os
import select
import statistics
import subprocess
import sys
import time

from Xlib import X, display

WINDOW_TIMEOUT = 60.0
PAUSE = 0.2


def window_name(d, window):
    try:
        name = window.get_full_text_property(d.intern_atom("_NET_WM_NAME"))
        return name if name else window.get_wm_name()
    except Exception:  # the window may be gone already
        return None


def time_start(d, wine, folder, exe, caption, env):
    """Milliseconds from spawning the program to the map of its window."""
    while d.pending_events():  # maps of the previous program's last moments
        d.next_event()
    start = time.monotonic()
    process = subprocess.Popen([wine, exe], cwd=folder, env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        end = start + WINDOW_TIMEOUT
        while True:
            while d.pending_events():
                event = d.next_event()
                if event.type == X.MapNotify and window_name(d, event.window) == caption:
                    return (time.monotonic() - start) * 1000.0
            if process.poll() is not None:
                raise RuntimeError(f"{exe} ended with exit code {process.returncode} before its window")
            left = end - time.monotonic()
            if left <= 0:
                raise RuntimeError(f"{exe} showed no window in {WINDOW_TIMEOUT:.0f} s")
            # Wakes on the X connection, or every 100 ms to see whether the
            # program has ended.
            select.select([d.fileno()], [], [], min(left, 0.1))
    finally:
        process.kill()
        process.wait()
        time.sleep(PAUSE)


def main(argv):
    if len(argv) < 9 or (len(argv) - 3) % 3 or not argv[1].isdigit():
        print(__doc__, file=sys.stderr)
        return 2
    rounds, wine = int(argv[1]), argv[2]
    programs = [tuple(argv[i:i + 3]) for i in range(3, len(argv), 3)]
    d = display.Display()
    d.screen().root.change_attributes(event_mask=X.SubstructureNotifyMask)
    d.sync()
    env = dict(os.environ)
    times = [[] for _ in programs]
    try:
        for r in range(rounds):
            for i, (folder, exe, caption) in enumerate(programs):
                times[i].append(time_start(d, wine, folder, exe, caption, env))
            print(f"round {r + 1}: " + " ".join(f"{t[-1]:.1f}" for t in times), flush=True)
    except RuntimeError as error:
        print(f"map_timer: {error}", file=sys.stderr)
        return 1
    floor = times[-1]
    print()
    print("| program | median ms | min ms | max ms | ratio of medians | median of rounds' ratios |")
    print("| --- | ---: | ---: | ---: | ---: | ---: |")
    for (folder, exe, caption), values in zip(programs, times):
        name = exe.replace("\\", "/").rsplit("/", 1)[-1]
        ratio = statistics.median(values) / statistics.median(floor)
        round_ratio = statistics.median(a / b for a, b in zip(values, floor))
        print(f"| {name} | {statistics.median(values):.1f} | {min(values):.1f} | {max(values):.1f} "
              f"| {ratio:.3f} | {round_ratio:.3f} |")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
