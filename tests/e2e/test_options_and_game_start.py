"""The player's options file and "Game start" under Wine: the first-run copy,
the options shown, what "Game start" writes, the mutex the game sees, and
the game started by its quoted path from a folder whose path has spaces."""

import shutil
import time

from conftest import BIN
from launcher_window import read_report

STANDIN = BIN / "Ostrelund.exe"
from control_ids import ANTI_ALIASING, ATOC, EXIT, NO_SOUND, RADIO_ITEMS, RUN, SHADOWS, WINDOWED


def checks(window):
    return {i: window[i]["check"] for i in (ANTI_ALIASING, WINDOWED, SHADOWS, ATOC, NO_SOUND)}


def selected_item(window):
    return [i for i in RADIO_ITEMS if window[i]["check"] == 1]


def test_the_first_start_copies_the_options_before_the_window_shows(game):
    (game.path / "Options_Game.ini").write_bytes(
        b"; defaults\r\n[Main]  ; core\r\nGlobal_Language = rus \r\nRender_ShadowsResolution=2048\r\n"
        b"Render_AntiAliasing=no\r\nRender_ATOC=Yes\r\nWindowed_Mode=1\r\nMusic_Enable=TRUE\r\n"
        b"Other = 1, 2\r\n\r\n[Video]\nGamma=1.0\r\n")
    assert not game.player_options.parent.exists()
    run, window = game.launch("de_DE.UTF-8")
    # There when the window shows, as the engine saves a file it loaded.
    assert game.player_options.read_bytes() == (
        b"; defaults\r\n[Main]  ; core\r\nGlobal_Language = rus\r\nRender_ShadowsResolution=2048\r\n"
        b"Render_AntiAliasing=no\r\nRender_ATOC=Yes\r\nWindowed_Mode=1\r\nMusic_Enable=TRUE\r\n"
        b"Other = 1, 2\r\n\r\n[Video]\r\nGamma=1.0")
    # The stored language wins over the German locale. "1" reads as no;
    # supersampling is not read with anti-aliasing off.
    assert selected_item(window) == [102]
    assert checks(window) == {ANTI_ALIASING: 0, WINDOWED: 0, SHADOWS: 1, ATOC: 0, NO_SOUND: 0}
    assert not window[ATOC]["enabled"]
    run.probe.click(EXIT)
    assert run.wait_exit() == 0


def test_the_players_copy_is_read_on_later_starts(game):
    game.player_options.parent.mkdir(parents=True)
    game.player_options.write_bytes(b"[Main]\r\nRender_ShadowsResolution=4096\r\nRender_AntiAliasing=Yes\r\n"
                                    b"Render_ATOC=y\r\nMusic_Enable=No\r\n")
    run, window = game.launch()
    assert checks(window) == {ANTI_ALIASING: 1, WINDOWED: 0, SHADOWS: 0, ATOC: 1, NO_SOUND: 1}
    assert window[ATOC]["enabled"]
    run.probe.click(EXIT)
    assert run.wait_exit() == 0


def test_game_start_saves_holds_the_mutex_and_starts_the_game(game):
    shutil.copy2(STANDIN, game.path / "Ostrelund.exe")
    (game.path / "Options_Game.ini").write_bytes(
        b"[Main]\r\nGlobal_Language=eng\r\nRender_AntiAliasing=No\r\n; keep me\r\nView = far \r\n[Controls]\r\nKey=W")
    run, _ = game.launch()
    probe = run.probe
    for control in (WINDOWED, ANTI_ALIASING, 103):
        probe.click(control)
    probe.wait_until(lambda w: w[ATOC]["enabled"] and w[103]["check"] == 1)
    probe.click(ATOC)
    probe.wait_until(lambda w: w[ATOC]["check"] == 1)

    started = time.monotonic()
    probe.click(RUN)
    report = read_report(game)
    assert probe.window_state() == (True, False)  # hidden while the mutex is held
    assert run.wait_exit() == 0
    assert time.monotonic() - started >= 2.0

    saved = (b"[Main]\r\nGlobal_Language=deu\r\nRender_AntiAliasing=Yes\r\n; keep me\r\nView = far\r\n"
             b"Render_ATOC=Yes\r\nRender_ShadowsResolution=1024\r\nWindowed_Mode=Yes\r\nMusic_Enable=No\r\n"
             b"[Controls]\r\nKey=W")
    assert game.player_options.read_bytes() == saved
    lines = report.split(b"\r\n")
    # Quoted: the folder's space must not split the program's path.
    assert lines[0] == b'CommandLine="' + game.windows.encode() + b'\\Ostrelund.exe" '
    assert lines[2] == b"MutexExisted=Yes"
    assert report.split(b"Options_Game.ini:\r\n", 1)[1] == saved


def test_without_section_main_game_start_does_nothing(game):
    shutil.copy2(STANDIN, game.path / "Ostrelund.exe")
    (game.path / "Options_Game.ini").write_bytes(b"[Video]\r\nGamma=1.0\r\n")
    run, window = game.launch()
    assert window[RUN]["enabled"]
    saved = game.player_options.read_bytes()
    for _ in range(3):
        run.probe.click(RUN)
    time.sleep(3)
    assert run.probe.window_state() == (True, True)
    assert not (game.path / "Ostrelund_report.txt").exists()
    assert game.player_options.read_bytes() == saved
    run.probe.click(EXIT)
    assert run.wait_exit() == 0
