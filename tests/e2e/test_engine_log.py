"""The engine's start-up and shutdown around the program, seen through its
exit code and the log file it leaves in the local application-data folder."""

import re
import shutil

from conftest import LAUNCHER

HEADER = [b"Debug Information Engine (v. 0.9 MT)",
          b"Copyright (c) Ostrelund engine developers",
          b"",
          b"Hr:Mn: MSec: Differ:"]

# Hours and minutes right-aligned in 2, milliseconds in 5, then the Differ
# column: a tab and three blanks, or seconds with three decimals in 8.
TIME_COLUMNS = rb"[ \d]\d+:[ \d]\d:[ \d]{4}\d(\t   |[ \d]{3}\d+\.\d{3})"


def log_folder(wine):
    return wine.local_appdata() / "Ostrelund_Launcher"


def test_start_and_end_are_logged(wine_run):
    shutil.rmtree(log_folder(wine_run), ignore_errors=True)
    result = wine_run.run(LAUNCHER)
    assert result.returncode == 0, result.stderr

    data = (log_folder(wine_run) / "Ostrelund_Launcher.log").read_bytes()
    assert data.endswith(b"\r\n")
    lines = data[:-2].split(b"\r\n")
    assert lines[:4] == HEADER
    assert lines[4] == b" 0: 0:    0\t     Start logging "
    labels = [b"Start logging", b"VK9_System.Initialization", b"VK9_System.Finalization", b"End logging"]
    assert len(lines) == 4 + len(labels), lines
    for line, label in zip(lines[4:], labels):
        assert re.fullmatch(TIME_COLUMNS + b"  " + re.escape(label) + b" ", line), line


def test_a_log_folder_that_cannot_be_made_means_no_log(wine_run):
    folder = log_folder(wine_run)
    shutil.rmtree(folder, ignore_errors=True)
    folder.write_bytes(b"in the way")  # a file where the folder should go
    try:
        # No log and no error box: the program ends on its own with code 0.
        result = wine_run.run(LAUNCHER, timeout=60)
        assert result.returncode == 0, result.stderr
        assert folder.read_bytes() == b"in the way"
        assert not list(wine_run.prefix.rglob("Ostrelund_Launcher.log"))
    finally:
        folder.unlink()
