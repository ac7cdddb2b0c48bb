"""The launcher under the UTF-8 code page its manifest asks for, under Wine:
each language read on a system whose code page lacks it, game folders and a
Wine user whose names lie outside the system's code page, and the machine
checks' messages in a language the system cannot hold. Captions are read
through the wide WM_GETTEXT and compared with the UTF-8 of Texts.Ini."""

import shutil
import subprocess

import pytest

from conftest import BIN, FIXTURES, LAUNCHER, ROOT, WINE, WORK, Wine
from launcher_window import GameFolder, LauncherRun, read_bmp, read_report, read_texts

STANDIN = BIN / "Ostrelund.exe"
SHIPPED = ROOT / "resources" / "game"
TEXTS = read_texts(FIXTURES / "Texts.Ini")
from control_ids import EXIT, LANGUAGE, MEMO, PANEL, RADIO_ITEMS, RUN, WINDOWED
ENGLISH_SYSTEM, RUSSIAN_SYSTEM = "en_US.UTF-8", "ru_RU.UTF-8"

# The controls that take a caption from Texts.Ini, by window ID.
CAPTIONED = {3: "rgLanguage", 4: "bbRun", 5: "bbExit", 6: "GroupBoxGraph", 7: "cbAntiAliasing", 8: "cbWindow",
             9: "cbShadowQuality", 10: "cbATOC", 11: "bbReset", 12: "GroupBoxSound", 13: "cbNoSound",
             14: "GroupBoxMessage", 16: "bbMessage", 17: "bbEditor"}
BUILT_IN = {3: "Language", 101: "English", 102: "Russian", 103: "Deutsch", 104: "Francais", 4: "Game start",
            5: "Exit", 6: "Graphic option", 7: "Anti Aliasing", 8: "Windowed mode", 9: "High shadow quality",
            10: "Alpha blending supersampling", 11: "Set default option", 12: "Sound option",
            13: "Disable loading sounds", 14: "GroupBoxMessage", 16: "Show log file", 17: "Editor"}


def captions(suffix, before, texts=TEXTS):
    """Each control's caption in a language, from Texts.Ini: its own text,
    else the English one, else what it showed `before`."""
    expected = {}
    for control_id, name in CAPTIONED.items():
        value = texts.get(f"{name}_{suffix}", texts.get(f"{name}_Eng"))
        if value is None:
            expected[control_id] = before[control_id]
        elif control_id == 3:
            items = value.split(",")
            expected[3] = items[0]
            expected.update({item: (items[i + 1] if i + 1 < len(items) else "")
                             for i, item in enumerate(RADIO_ITEMS)})
        else:
            expected[control_id] = value
    return expected


def choose(run, item, expected):
    """Clicks a language item; returns the reading once "Game start" shows it."""
    run.probe.click(item)
    return run.probe.wait_until(lambda w: w[RUN]["text"] == expected[RUN])


def caption_ink(run, window, name, control_id=RUN):
    """The span of a button's caption on the screen, as a share of the room
    inside its border: "Начать игру" takes about 0.6 of bbRun, while its
    UTF-8 bytes drawn as Latin-1 letters (two per letter) run past the edges."""
    bmp, shot = run.probe.capture(name)
    _, _, rows = read_bmp(bmp)
    left, top = shot["window"][0], shot["window"][1]
    ox = window.data["client_origin"][0] - left
    oy = window.data["client_origin"][1] - top
    x, y, width, height = window[control_id]["rect"]
    # Inside the border and the focus mark; the caption is light on a dark face.
    columns = [cx for cx in range(x + 5, x + width - 5)
               if any(sum(rows[oy + cy][ox + cx]) > 3 * 170 for cy in range(y + 6, y + height - 6))]
    assert columns, f"no caption drawn in {name}"
    return (columns[-1] - columns[0] + 1) / (width - 10)


@pytest.mark.parametrize("shipped", [False, True], ids=["fixture", "shipped"])
def test_on_an_english_system_russian_is_read_whole_and_english_comes_back(game, shipped):
    texts = TEXTS
    if shipped:
        for name in ("Texts.Ini", "Options_Game.ini"):
            shutil.copy2(SHIPPED / name, game.path / name)
        texts = read_texts(SHIPPED / "Texts.Ini")
    run, window = game.launch(ENGLISH_SYSTEM)
    english = captions("Eng", BUILT_IN, texts)
    assert window.texts(english) == english

    russian = captions("Rus", english, texts)
    window = choose(run, 102, russian)
    assert window.texts(russian) == russian
    # The pictures: build/e2e/shots/russian-on-english[-shipped].png. The
    # README's Russian window, with the message panel open, comes from
    # test_texts_fit.py (texts-ru_RU.png, `convert ... -strip`).
    name = "russian-on-english" + ("-shipped" if shipped else "")
    assert 0.3 < caption_ink(run, window, name) < 0.85

    window = choose(run, 101, english)
    assert window.texts(english) == english
    assert window[102]["check"] == 0 and window[101]["check"] == 1
    run.probe.click(EXIT)
    assert run.wait_exit() == 0


def test_on_a_russian_system_french_and_german_keep_their_accents(game):
    run, window = game.launch(RUSSIAN_SYSTEM)
    shown = captions("Rus", BUILT_IN)
    assert window.texts(shown) == shown
    for item, suffix in ((104, "Fra"), (103, "Deu")):
        shown = captions(suffix, shown)
        window = choose(run, item, shown)
        assert window.texts(shown) == shown, suffix
        # Looked at: build/e2e/shots/fra-on-russian.png and deu-on-russian.png.
        run.probe.capture(f"{suffix.lower()}-on-russian")
    assert {window[i]["text"] for i in (7, 9, 10, 104)} == {"Kantenglättung", "Schatten höchster Qualität",
                                                            "Alpha-Überabtastung", "Französisch"}


def test_machine_messages_follow_a_language_the_system_cannot_hold(game):
    (game.path / "Options_Game.ini").write_bytes(b"[Main]\r\nGlobal_Language=rus\r\n")
    env = game.wine.env_for(ENGLISH_SYSTEM)
    env["WINEDLLOVERRIDES"] = "mscoree,mshtml,d3d9="
    run = LauncherRun(game.wine, env, game.windows_path(LAUNCHER.name))
    window = run.wait_window()
    assert window[MEMO]["text"].split("\r\n")[0] == TEXTS["MessageNoGraph_Rus"]
    assert window[PANEL]["visible"]


def start_with_windowed_mode_off(run, game):
    """Unticks "Windowed mode", presses "Game start" and waits for the
    launcher's end: (the stand-in game's report, the player's options as
    they were saved)."""
    run.probe.click(WINDOWED)
    run.probe.wait_until(lambda w: w[WINDOWED]["check"] == 0)
    run.probe.click(RUN)
    report = read_report(game)
    assert run.wait_exit() == 0
    return report, game.player_options.read_bytes()


# A Cyrillic folder with a space, one of CJK characters, and one whose path
# the 255 characters of the command line cannot hold quoted but the system
# can run (it goes by its short form).
LONG_FOLDER = "C:\\" + "\\".join(["Очень длинная папка для игры"] * 8 + ["Остров"])
GAME_FOLDERS = {
    "cyrillic": "C:\\Игры\\Остров Ostrelund",
    "cjk": "C:\\游戏\\島の Ostrelund",
    "long": LONG_FOLDER,
}


@pytest.mark.parametrize("case", GAME_FOLDERS)
def test_a_game_folder_outside_the_code_page_keeps_its_options_and_starts_the_game(wine_run, case):
    folder = GAME_FOLDERS[case]
    program = folder + "\\Ostrelund.exe"
    assert case != "long" or 255 < len(program) + 2 and len(program) < 260
    game = GameFolder(wine_run, folder)
    shutil.copy2(STANDIN, game.path / "Ostrelund.exe")
    run, window = game.launch(ENGLISH_SYSTEM)
    # The game and its options were found, and the player's copy was made.
    assert window[RUN]["enabled"] and window[LANGUAGE]["enabled"]
    assert window[RUN]["text"] == TEXTS["bbRun_Eng"]
    assert b"Windowed_Mode=Yes" in game.player_options.read_bytes()

    report, saved = start_with_windowed_mode_off(run, game)
    assert b"Windowed_Mode=No" in saved
    lines = report.split(b"\r\n")
    assert lines[2] == b"MutexExisted=Yes"
    if case == "long":
        # The short form (8.3 names, no blank, nothing outside ASCII) of the
        # folder the report was written in.
        command = lines[0].decode("ascii")
        assert command.startswith('CommandLine="C:\\') and command.endswith('.EXE" '), command
        assert "~" in command and " " not in command[len("CommandLine="):-1], command
    else:
        assert lines[0] == b'CommandLine="' + program.encode() + b'" '
        assert lines[3] == b"ModulePath=" + program.encode()
    assert report.split(b"Options_Game.ini:\r\n", 1)[1] == saved


def test_the_error_box_and_the_log_name_a_game_folder_outside_the_code_page(wine_run):
    game = GameFolder(wine_run, GAME_FOLDERS["cyrillic"])
    held = game.hold("Texts.Ini")
    run = game.start(ENGLISH_SYSTEM)
    message = f"TIniFile.Load({game.windows_path('Texts.Ini')}) -> FILE NOT FOUND!"
    box = run.probe.message_box()
    assert box["caption"] == "Ostrelund_Launcher"
    assert box["text"] == "ERRORS:\n\r" + message
    run.probe.dismiss()
    assert run.wait_exit() == 0
    assert held.started.process.poll() is None
    log = wine_run.local_appdata() / "Ostrelund_Launcher" / "Ostrelund_Launcher.log"
    # The log in UTF-8, the path whole.
    assert ("  ERRORS: \n\r" + message + "\r\n").encode() in log.read_bytes()


@pytest.fixture(scope="module")
def foreign_user(wine):
    """A prefix of its own for a Wine user named "Игрок", which Windows-1252
    cannot hold: the profile folder, and with it the local application-data
    folder, lies outside the system's code page."""
    prefix = WORK / "prefix-user"
    shutil.rmtree(prefix, ignore_errors=True)
    env = dict(wine.env, WINEPREFIX=str(prefix), USER="Игрок", LOGNAME="Игрок")
    other = Wine(env, prefix)
    try:
        subprocess.run([WINE, "wineboot", "-i"], env=env, timeout=300, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        other._wineserver("-w")  # pylint: disable=protected-access
        other.start_idle()
        yield other
    finally:
        other.stop()


def test_a_user_outside_the_code_page_gets_the_log_and_keeps_the_options(foreign_user):
    appdata = foreign_user.local_appdata()
    assert appdata.parent.parent.name == "Игрок"
    game = GameFolder(foreign_user)
    shutil.copy2(STANDIN, game.path / "Ostrelund.exe")
    run, window = game.launch(ENGLISH_SYSTEM)
    assert window[MEMO]["text"] == ""  # in particular no "no log" message

    log = appdata / "Ostrelund_Launcher" / "Ostrelund_Launcher.log"
    assert log.read_bytes().startswith(b"Debug Information Engine (v. 0.9 MT)\r\n")  # UTF-8, no BOM
    report, saved = start_with_windowed_mode_off(run, game)
    assert game.player_options.parent.parent == appdata and b"Windowed_Mode=No" in saved
    # The game finds the options where the launcher kept them.
    assert report.split(b"Options_Game.ini:\r\n", 1)[1] == saved
    assert b"End logging" in log.read_bytes()
