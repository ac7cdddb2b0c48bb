"""A crash inside a driver ends in one log line and the engine's kind of box:
stand-in drivers of ours (tools/CrashingDriver.cpp, d3d9.dll crashing in
CreateDevice, dsound.dll in DirectSoundCreate) lie in the game folder and are
preferred to Wine's own with WINEDLLOVERRIDES."""

import json
import shutil
import struct

import pytest

from conftest import FAULTS_BIN, FIXTURES, LAUNCHER
from control_ids import EXIT
from launcher_window import LauncherRun
from test_machine_checks import TIMED_LINE, log_path

DRIVERS = FAULTS_BIN / "crashing-drivers"
CAPTION = "Ostrelund_Launcher"
BOX_HEAD = "The program crashed and has to close:\r\n\r\n"
# The player's options as an earlier run left them: not the default copy.
DEFAULT_OPTIONS = (FIXTURES / "Options_Game.ini").read_bytes()
PLAYER_OPTIONS = DEFAULT_OPTIONS.replace(b"\n", b"\r\n").replace(b"=Yes", b"=No")
# The first run's copy, as the engine saves the file it loaded.
FIRST_RUN_OPTIONS = DEFAULT_OPTIONS.rstrip(b"\n").replace(b"\n", b"\r\n")


def export_rva(dll, name):
    """The address of an exported function, relative to the DLL's base."""
    data = dll.read_bytes()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    assert data[pe:pe + 4] == b"PE\0\0"
    sections, optional_size = struct.unpack_from("<H", data, pe + 6)[0], struct.unpack_from("<H", data, pe + 20)[0]
    optional = pe + 24
    directories = optional + (96 if struct.unpack_from("<H", data, optional)[0] == 0x10B else 112)
    table = [struct.unpack_from("<IIII", data, optional + optional_size + 40 * i + 8) for i in range(sections)]

    def at(rva):
        for size, start, raw_size, raw in table:
            if start <= rva < start + max(size, raw_size):
                return raw + rva - start
        raise AssertionError(f"RVA {rva:#x} lies in no section of {dll}")

    exports = at(struct.unpack_from("<I", data, directories)[0])
    names_count, functions, names, ordinals = struct.unpack_from("<IIII", data, exports + 24)
    for i in range(names_count):
        start = at(struct.unpack_from("<I", data, at(names) + 4 * i)[0])
        if data[start:data.index(b"\0", start)] == name.encode():
            ordinal = struct.unpack_from("<H", data, at(ordinals) + 2 * i)[0]
            return struct.unpack_from("<I", data, at(functions) + 4 * ordinal)[0]
    raise AssertionError(f"{dll} exports no {name}")


def site(driver, function, past=0):
    """module+offset of a crash site of the stand-in, `past` bytes into it."""
    return f"{driver}.dll+{export_rva(DRIVERS / (driver + '.dll'), function) + past:#x}"


def start_with_crashing(game, driver, how, player_options):
    """Lays the stand-in driver into the game folder and starts the launcher
    preferring it; `player_options` is the player's copy beforehand (None:
    the first run, which makes it)."""
    shutil.copy2(FAULTS_BIN / LAUNCHER.name, game.path / LAUNCHER.name)
    shutil.copy2(DRIVERS / f"{driver}.dll", game.path / f"{driver}.dll")
    if player_options is not None:
        game.player_options.parent.mkdir(parents=True, exist_ok=True)
        game.player_options.write_bytes(player_options)
    log_path(game.wine).unlink(missing_ok=True)
    env = dict(game.wine.env_for(), WINEDLLOVERRIDES=f"mscoree,mshtml=;{driver}=n,b", CRASHING_DRIVER=how)
    return LauncherRun(game.wine, env)


def crash_line(log, before=None):
    """The text of the log's CRASH line, which must be its last and only one;
    `before`, when given, is the label of the timed line before it."""
    lines = log.read_bytes().decode("utf-8").split("\r\n")
    if before:
        previous = TIMED_LINE.fullmatch(lines[-3])
        assert previous and previous[1].rstrip(" ") == before, lines[-4:]
    assert lines[-1] == "", lines[-3:]
    last = TIMED_LINE.fullmatch(lines[-2])
    assert last and last[1].startswith("CRASH "), lines[-3:]
    assert sum("  CRASH " in entry for entry in lines) == 1, lines
    return last[1][len("CRASH "):]


# (driver, how it crashes, what the report says, exit code's low byte, the
# player's options beforehand)
CASES = {
    "dsound-access-violation": (
        "dsound", "access-violation",
        lambda: "Access violation (0xC0000005) writing address 0x10 at "
                + site("dsound", "CrashSiteAccessViolation") + " during MachineChecks.Sound",
        0x05, PLAYER_OPTIONS),
    "dsound-divide-by-zero-first-run": (
        "dsound", "divide-by-zero",
        lambda: "Integer division by zero (0xC0000094) at "
                + site("dsound", "CrashSiteDivideByZero", past=2) + " during MachineChecks.Sound",
        0x94, None),
    "d3d9-illegal-instruction": (
        "d3d9", "illegal-instruction",
        lambda: "Illegal instruction (0xC000001D) at "
                + site("d3d9", "CrashSiteIllegalInstruction") + " during MachineChecks.Graphics",
        0x1D, PLAYER_OPTIONS),
    "d3d9-stack-overflow": (
        "d3d9", "stack-overflow", None, 0xFD, PLAYER_OPTIONS),
}


@pytest.mark.parametrize("case", CASES, ids=list(CASES))
def test_a_driver_that_crashes_ends_in_the_box_and_the_log_line(game, case):
    driver, how, expected, exit_low_byte, before = CASES[case]
    run = start_with_crashing(game, driver, how, before)
    probe = run.probe

    box = probe.message_box()
    assert box["caption"] == CAPTION, box
    assert box["text"].startswith(BOX_HEAD), box
    line = box["text"][len(BOX_HEAD):]
    if expected:
        assert line == expected(), box
    else:  # somewhere in the stand-in's recursion
        assert line.startswith("Stack overflow (0xC00000FD) at d3d9.dll+0x"), box
        assert line.endswith(" during MachineChecks.Graphics"), box
    assert box["buttons"] == ["OK"], box
    assert probe.window_state() == (False, False)
    if case == "d3d9-illegal-instruction":
        probe.capture("crash-box", caption=CAPTION)

    # The log is complete before the box shows: it ends with the same line.
    assert crash_line(log_path(game.wine)) == line
    probe.dismiss()
    assert run.wait_exit() == exit_low_byte  # the exception's code, as Wine passes it on
    # Nothing was saved on the way out: the first run's copy of the default
    # options is whole, an earlier run's options are as they were.
    assert game.player_options.read_bytes() == (before or FIRST_RUN_OPTIONS)


def test_a_crash_while_the_box_shows_ends_the_program_at_once(game):
    run = start_with_crashing(game, "d3d9", "again-while-the-box-shows", PLAYER_OPTIONS)
    # The stand-in's second crash (an illegal instruction on a thread of its
    # own once the box shows) ends the process without a second report.
    assert run.wait_exit() == 0x1D
    assert crash_line(log_path(game.wine)) == ("Access violation (0xC0000005) writing address 0x10 at "
                    + site("d3d9", "CrashSiteAccessViolation") + " during MachineChecks.Graphics")
    assert run.probe.window_state() == (False, False)
    assert game.player_options.read_bytes() == PLAYER_OPTIONS


def test_a_crash_after_the_checks_names_no_check(game):
    run = start_with_crashing(game, "dsound", "access-violation-at-release", PLAYER_OPTIONS)
    run.wait_window()
    run.probe.click(EXIT)
    # The sound unit's end releases the device, after the renderer's end.
    line = "Access violation (0xC0000005) writing address 0x10 at " + site("dsound", "CrashSiteAccessViolation")
    assert run.probe.message_box()["text"] == BOX_HEAD + line
    assert crash_line(log_path(game.wine), before="VK9_Render.Finalization") == line
    run.probe.dismiss()
    assert run.wait_exit() == 0x05
    assert game.player_options.read_bytes() == PLAYER_OPTIONS


def test_a_debugger_still_gets_both_chances_and_no_report_is_made(game):
    shutil.copy2(FAULTS_BIN / LAUNCHER.name, game.path / LAUNCHER.name)
    shutil.copy2(DRIVERS / "d3d9.dll", game.path / "d3d9.dll")
    log = log_path(game.wine)
    log.unlink(missing_ok=True)
    env = dict(game.wine.env_for(), WINEDLLOVERRIDES="mscoree,mshtml=;d3d9=n,b", CRASHING_DRIVER="access-violation")
    result = game.wine.run(FAULTS_BIN / "e2e_debugger.exe", game.windows_path(LAUNCHER.name), env=env)
    assert result.returncode == 0, result
    # The debugger ended the launcher at the last chance (exit code 77).
    assert json.loads(result.stdout.decode("ascii").strip().splitlines()[-1]) == {
        "first_chance": 1, "last_chance": 1, "exit": 77}
    last = TIMED_LINE.fullmatch(log.read_bytes().decode("utf-8").split("\r\n")[-2])
    assert last and last[1] == "RENDER Render.Init(1280,1024)", last
