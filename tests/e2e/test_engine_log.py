"""The engine's start-up and shutdown around the program, seen through its
exit code and the log file it leaves in the local application-data folder."""

import re
import shutil

HEADER = [b"Debug Information Engine (v. 0.9 MT)",
          b"Copyright (c) Ostrelund engine developers",
          b"",
          b"Hr:Mn: MSec: Differ:"]

# Hours and minutes right-aligned in 2, milliseconds in 5, then the Differ
# column: a tab and three blanks, or seconds with three decimals in 8.
TIME_COLUMNS = rb"[ \d]\d+:[ \d]\d:[ \d]{4}\d(\t   |[ \d]{3}\d+\.\d{3})"

from control_ids import EXIT


def log_folder(wine):
    return wine.local_appdata() / "Ostrelund_Launcher"


def run_to_exit(game):
    """Starts the launcher, waits for its window and leaves with "Exit"."""
    run, _ = game.launch()
    run.probe.click(EXIT)
    return run.wait_exit()


def test_start_and_end_are_logged(game):
    shutil.rmtree(log_folder(game.wine), ignore_errors=True)
    assert run_to_exit(game) == 0

    data = (log_folder(game.wine) / "Ostrelund_Launcher.log").read_bytes()
    assert data.endswith(b"\r\n")
    lines = data[:-2].split(b"\r\n")
    assert lines[:4] == HEADER
    # The first line follows the clock's first reading at once: 0 hours and
    # minutes, and milliseconds that are 0 unless the machine is slow (the
    # exact line, with a clock held still, is a unit test's).
    assert lines[4].startswith(b" 0: 0:") and lines[4].endswith(b"  Start logging "), lines[4]
    # Each timed line's label and text (the units' lines have none); the
    # renderer's capability lines between them are checked in
    # test_machine_checks.py.
    entries = [b"Start logging ", b"VK9_System.Initialization ", b"VK9_Render.Initialization ",
               b"RENDER Render.Create", b"RENDER Render.Init(1280,1024)", b"VK9_Render.Finalization ",
               b"VK9_System.Finalization ", b"End logging "]
    timed = [line for line in lines[4:] if not line.startswith(b"\t\t     ")]
    assert len(timed) == len(entries), timed
    for line, entry in zip(timed, entries):
        assert re.fullmatch(TIME_COLUMNS + b"  " + re.escape(entry), line), line


def test_a_log_folder_that_cannot_be_made_means_no_log(game):
    folder = log_folder(game.wine)
    shutil.rmtree(folder, ignore_errors=True)
    folder.write_bytes(b"in the way")  # a file where the folder should go
    try:
        # No log and no error box: the window shows and "Exit" ends with 0.
        assert run_to_exit(game) == 0
        assert folder.read_bytes() == b"in the way"
        assert not list(game.wine.prefix.rglob("Ostrelund_Launcher.log"))
    finally:
        folder.unlink()
