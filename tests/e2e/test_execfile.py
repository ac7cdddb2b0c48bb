"""TExecFile under Wine: the system's rules for an unquoted command line, the
parameters, the regular wait, the association fallback and a failed start."""

import json
import shutil

import pytest

from conftest import BIN

RUNNER = BIN / "e2e_execfile.exe"
STANDIN = BIN / "Ostrelund.exe"


@pytest.fixture
def games(wine_run):
    """C:\\Games\\Exec Test\\Ostrelund.exe (the stand-in game), afresh."""
    root = wine_run.prefix / "drive_c" / "Games"
    folder = root / "Exec Test"
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    shutil.copy2(STANDIN, folder / "Ostrelund.exe")
    for leftover in (root / "Exec.exe", root / "Ostrelund_report.txt"):
        leftover.unlink(missing_ok=True)
    yield root
    for leftover in (root / "Exec.exe", root / "Ostrelund_report.txt"):
        leftover.unlink(missing_ok=True)


def execute(wine, *args):
    result = wine.run(RUNNER, *args, timeout=60)
    assert result.returncode == 0, result.stderr
    return json.loads(result.stdout.decode().strip().splitlines()[-1])


def report_line(folder):
    return (folder / "Ostrelund_report.txt").read_bytes().split(b"\r\n")[0]


@pytest.mark.parametrize("planted", [False, True])
def test_an_unquoted_path_with_a_space_follows_the_systems_rules(wine_run, games, planted):
    # Unquoted, "C:\Games\Exec Test\Ostrelund.exe" is first tried as
    # "C:\Games\Exec.exe": a program planted there runs instead of the game.
    if planted:
        shutil.copy2(STANDIN, games / "Exec.exe")
    outcome = execute(wine_run, "--wait", r"C:\Games\Exec Test\Ostrelund.exe")
    assert outcome["result"] and outcome["ended"] and outcome["failures"] == 0
    ran_in = games if planted else games / "Exec Test"
    other = games / "Exec Test" if planted else games
    # The program gets the whole command text (Wine quotes the path it found).
    assert report_line(ran_in) in (b"CommandLine=C:\\Games\\Exec Test\\Ostrelund.exe ",
                                   b'CommandLine="C:\\Games\\Exec Test\\Ostrelund.exe" ')
    assert not (other / "Ostrelund_report.txt").exists()


def test_parameters_follow_one_space_and_a_quoted_path_is_kept_whole(wine_run, games):
    shutil.copy2(STANDIN, games / "Exec.exe")
    outcome = execute(wine_run, "--wait", "--params", "-window 2", r'"C:\Games\Exec Test\Ostrelund.exe"')
    assert outcome["result"] and outcome["ended"]
    assert report_line(games / "Exec Test") == b'CommandLine="C:\\Games\\Exec Test\\Ostrelund.exe" -window 2'
    assert not (games / "Ostrelund_report.txt").exists()


def test_a_document_starts_its_associated_program(wine_run, games):
    # A document type of our own, opened by the stand-in game.
    for key, value in ((r"HKCR\.ostrelundsave", "OstrelundSave"),
                       (r"HKCR\OstrelundSave\shell\open\command",
                        r'"C:\Games\Exec Test\Ostrelund.exe" "%1"')):
        assert wine_run.run("reg", "add", key, "/ve", "/d", value, "/f").returncode == 0
    document = games / "Exec Test" / "slot1.ostrelundsave"
    document.write_bytes(b"saved game\r\n")
    outcome = execute(wine_run, "--associate", "--wait", "--params", "-load fast",
                      r"C:\Games\Exec Test\slot1.ostrelundsave")
    assert outcome["result"] and outcome["ended"] and outcome["failures"] == 0, outcome
    assert outcome["assoc"].lower() == r"c:\games\exec test\ostrelund.exe", outcome
    # The associated program, then the document as its first argument and the
    # parameters after it (Wine quotes the program's path it found).
    line = report_line(games / "Exec Test")
    assert line.split(b"Ostrelund.exe", 1)[1].lstrip(b'"') == b" C:\\Games\\Exec Test\\slot1.ostrelundsave -load fast"


@pytest.mark.parametrize("associate", [False, True])
def test_a_missing_program_fails_through_on_fail(wine_run, games, associate):
    args = ["--associate"] if associate else []
    outcome = execute(wine_run, *args, r"C:\Games\Exec Test\Missing.exe")
    assert not outcome["result"]
    assert outcome["failures"] == 1
    assert outcome["error"] in (2, 3)  # file or path not found
    assert outcome["assoc"] == ""
