#!/usr/bin/python3
"""map_timer: how long two Windows programs take under Wine from their start
by the shell to the X server's MapNotify of their window, in alternation.

    map_timer.py <rounds> <wine> <folderA> <exeA> <captionA> <folderB> <exeB> <captionB>

Measured from outside Wine: the timer is an X client that only waits on its
X connection for the root window's MapNotify events, so nothing it does
loads the Wine server while the programs start (startup_timer.exe, inside
Wine, polls FindWindowA about every millisecond, and every poll is a server
call). Each start runs `<wine> <exe>` in the program's folder, from just
before the process is spawned until a top-level window whose name is the
caption is mapped; the Unix process is then killed and waited for, and the
next start follows 200 ms later (not timed).

Prints every round, then per program the median, minimum and maximum in ms as
a Markdown table, the ratio of the medians A/B and the median of the rounds'
ratios A/B. Exit codes: 0 done, 1 a program ended or timed out before its
window was mapped, 2 bad command line.
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
    if len(argv) != 9 or not argv[1].isdigit():
        print(__doc__, file=sys.stderr)
        return 2
    rounds, wine = int(argv[1]), argv[2]
    programs = [tuple(argv[3:6]), tuple(argv[6:9])]
    d = display.Display()
    d.screen().root.change_attributes(event_mask=X.SubstructureNotifyMask)
    d.sync()
    env = dict(os.environ)
    times = [[], []]
    try:
        for r in range(rounds):
            row = []
            for i, (folder, exe, caption) in enumerate(programs):
                ms = time_start(d, wine, folder, exe, caption, env)
                times[i].append(ms)
                row.append(ms)
            print(f"round {r + 1}: {row[0]:.1f} {row[1]:.1f} ratio {row[0] / row[1]:.3f}", flush=True)
    except RuntimeError as error:
        print(f"map_timer: {error}", file=sys.stderr)
        return 1
    print()
    print("| program | median ms | min ms | max ms |")
    print("| --- | ---: | ---: | ---: |")
    for (folder, exe, caption), values in zip(programs, times):
        print(f"| {caption} | {statistics.median(values):.1f} | {min(values):.1f} | {max(values):.1f} |")
    print()
    print(f"ratio of medians A/B: {statistics.median(times[0]) / statistics.median(times[1]):.3f}")
    print(f"median of rounds' ratios A/B: "
          f"{statistics.median(a / b for a, b in zip(times[0], times[1])):.3f}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
