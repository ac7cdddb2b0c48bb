"""The launcher's window under Wine, read and driven from another process by
e2e_probe.exe: its layout, its captions in each language, the game-folder
checks, the language items, the check boxes, "Exit" and the error box of a
Texts.Ini that cannot be opened."""

import pytest

from control_ids import (ALWAYS_DISABLED, ANTI_ALIASING, ATOC, CHECK_BOXES, EXIT, GRAPHICS, IMAGE, LANGUAGE, MEMO,
                         NO_SOUND, RADIO_ITEMS, RUN, SHADOWS, SOUND, WINDOWED)
from launcher_window import BS_AUTORADIOBUTTON, BS_DEFPUSHBUTTON, BS_TYPEMASK, CAPTION, WS_CAPTION, read_bmp

# id: (name, parent id (0: the window), x, y, width, height) with the
# message panel hidden; positions in the parent's client area. The IDs are
# written out: they are what other programs find the controls by.
LAYOUT = {
    1: ("Image1", 0, 0, 0, 436, 199),
    2: ("sBevel", 0, 0, 342, 434, 2),
    3: ("rgLanguage", 0, 0, 199, 97, 111),
    4: ("bbRun", 0, 136, 349, 169, 31),
    5: ("bbExit", 0, 336, 349, 98, 31),
    6: ("GroupBoxGraph", 0, 104, 199, 332, 65),
    7: ("cbAntiAliasing", 6, 140, 16, 85, 20),
    8: ("cbWindow", 6, 4, 16, 108, 20),
    9: ("cbShadowQuality", 6, 4, 36, 123, 20),
    10: ("cbATOC", 6, 140, 36, 168, 20),
    11: ("bbReset", 0, 1, 316, 215, 21),
    12: ("GroupBoxSound", 0, 104, 267, 332, 43),
    13: ("cbNoSound", 12, 4, 16, 137, 20),
    14: ("GroupBoxMessage", 0, 0, 350, 435, 73),
    15: ("Memo", 14, 6, 17, 423, 50),
    16: ("bbMessage", 0, 220, 316, 215, 21),
    17: ("bbEditor", 0, 1, 349, 96, 31),
}
# What a game folder without the game or its options disables.
GAME_CONTROLS = {LANGUAGE, RUN, GRAPHICS, ANTI_ALIASING, WINDOWED, SHADOWS, ATOC}

# The captions compiled into the program.
BUILT_IN = {
    3: "Language", 101: "English", 102: "Russian", 103: "Deutsch", 104: "Francais",
    4: "Game start", 5: "Exit", 6: "Graphic option", 7: "Anti Aliasing", 8: "Windowed mode",
    9: "High shadow quality", 10: "Alpha blending supersampling", 11: "Set default option",
    12: "Sound option", 13: "Disable loading sounds", 16: "Show log file", 17: "Editor",
}
# The captions of fixtures/Texts.Ini in each language.
ENGLISH = {
    3: "Game language", 101: "English", 102: "Russian", 103: "German", 104: "French",
    4: "Play", 5: "Quit", 6: "Graphics", 7: "Smoothing", 8: "Window mode", 9: "Fine shadows",
    10: "Alpha supersampling", 11: "Defaults", 12: "Sound",
    13: "Disable loading sounds", 16: "Show log file", 17: "Editor",  # no keys: built-in
}
GERMAN = {
    3: "Sprache", 101: "Englisch", 102: "Russisch", 103: "Deutsch", 104: "Französisch",
    4: "Spiel starten", 5: "Quit",  # no German key: the English text
    6: "Grafikoptionen", 7: "Kantenglättung", 8: "Fenstermodus", 9: "Schatten höchster Qualität",
    10: "Alpha-Überabtastung", 11: "Standardwerte", 12: "Ton",
    13: "Disable loading sounds", 16: "Show log file", 17: "Editor",
}
RUSSIAN = {
    3: "Язык", 101: "Английский", 102: "Русский", 103: "Немецкий", 104: "Французский",
    4: "Начать игру", 5: "Выход", 6: "Графика",
    7: "Smoothing",  # no Russian key: the English text
    8: "Оконный режим", 9: "Качественные тени", 10: "Сглаживание прозрачности",
    11: "По умолчанию", 12: "Звук",
    13: "Disable loading sounds", 16: "Show log file", 17: "Editor",
}
# The check boxes as fixtures/Options_Game.ini sets them.
OPTIONS_CHECKS = {7: 1, 8: 1, 9: 1, 10: 0, 13: 0}


def assert_captions(window, expected, codepage):
    """Each control's text, and the bytes the ANSI WM_GETTEXT gives in the
    program's code page."""
    assert window.texts(expected) == expected
    for control_id, text in expected.items():
        assert window.ansi(control_id) == text.encode(codepage), (control_id, text)


def checked_items(window):
    return [i for i in RADIO_ITEMS if window[i]["check"] == 1]


def test_layout(game):
    run, window = game.launch()

    top = window.data
    assert top["caption"] == CAPTION
    assert window.client == (436, 384)
    assert (top["sysmenu"], top["minimizebox"], top["maximizebox"], top["thickframe"]) == (False,) * 4
    assert top["style"] & WS_CAPTION == WS_CAPTION

    # Every control at once: (parent, rect, visible, enabled) by name.
    expected, actual = {}, {}
    for control_id, (name, parent, x, y, width, height) in LAYOUT.items():
        expected[name] = (parent, [x, y, width, height], control_id not in (14, 15),
                          control_id not in ALWAYS_DISABLED)
        control = window.by_id.get(control_id)
        actual[name] = control and (control["parent"], control["rect"], control["visible"], control["enabled"])
    assert actual == expected
    assert window[IMAGE]["class"].lower() == "static"
    assert window[RUN]["style"] & BS_TYPEMASK == BS_DEFPUSHBUTTON  # the default button
    assert window[MEMO]["class"].lower() == "edit"

    for control_id in RADIO_ITEMS:
        item = window[control_id]
        assert item["class"].lower() == "button" and item["parent"] == 3, item
        assert item["style"] & BS_TYPEMASK == BS_AUTORADIOBUTTON, item
        assert item["visible"] and item["enabled"], item
    assert {i: window[i]["check"] for i in CHECK_BOXES} == OPTIONS_CHECKS
    assert checked_items(window) == [101]

    # The z-order, which the dialog manager tabs in (EnumChildWindows walks it
    # depth first): siblings by their tab order, the picture and the frame
    # line, which have none, last.
    assert [c["id"] for c in window.controls] == [
        3, 101, 102, 103, 104,   # rgLanguage and its items
        6, 8, 9, 10, 7,          # GroupBoxGraph: cbWindow, cbShadowQuality, cbATOC, cbAntiAliasing
        12, 13, 11, 16, 14, 15,  # GroupBoxSound, cbNoSound, bbReset, bbMessage, GroupBoxMessage, Memo
        17, 4, 5, 1, 2]          # bbEditor, bbRun, bbExit, Image1, sBevel

    # The picture: build/e2e/shots/layout.png.
    bmp, shot = run.probe.capture("layout")
    left, top_edge, right, bottom = shot["window"]
    width, height, rows = read_bmp(bmp)
    assert (width, height) == (right - left, bottom - top_edge)
    # Centred on the 1280 x 1024 screen.
    assert (left + right) // 2 in (639, 640) and (top_edge + bottom) // 2 in (511, 512), shot["window"]
    # The banner is drawn: its area holds more than a few colours.
    ox = top["client_origin"][0] - left
    oy = top["client_origin"][1] - top_edge
    banner = {rows[oy + y][ox + x] for y in range(0, 199, 3) for x in range(0, 436, 3)}
    assert len(banner) > 16, f"the banner area holds {len(banner)} colours"


@pytest.mark.parametrize("lang, codepage, expected, item", [
    ("en_US.UTF-8", "cp1252", ENGLISH, 101),
    ("de_DE.UTF-8", "cp1252", GERMAN, 103),
    ("ru_RU.UTF-8", "cp1251", RUSSIAN, 102),
    ("uk_UA.UTF-8", "cp1251", RUSSIAN, 102),
])
def test_captions_follow_the_locale(game, lang, codepage, expected, item):
    _, window = game.launch(lang)
    assert_captions(window, expected, codepage)
    assert checked_items(window) == [item]


def test_a_missing_texts_file_leaves_the_built_in_captions_and_is_created_empty(game):
    (game.path / "Texts.Ini").unlink()
    _, window = game.launch()
    assert_captions(window, BUILT_IN, "cp1252")
    assert (game.path / "Texts.Ini").read_bytes() == b""


def test_a_texts_file_held_open_ends_in_the_error_box(game):
    held = game.hold("Texts.Ini")
    run = game.start()
    probe = run.probe

    box = probe.message_box()
    assert box["caption"] == "Ostrelund_Launcher"
    assert box["text"].startswith("ERRORS:\n\r"), box
    assert f"TIniFile.Load({game.windows_path('Texts.Ini')}) -> FILE NOT FOUND!" in box["text"], box
    assert probe.window_state()[1] is False  # never shown
    assert held.started.process.poll() is None

    probe.dismiss()
    assert run.wait_exit() == 0
    assert probe.window_state() == (False, False)


@pytest.mark.parametrize("missing", ["Ostrelund.exe", "Options_Game.ini"])
def test_a_game_folder_without_the_game_disables_its_controls(game, missing):
    (game.path / missing).unlink()
    _, window = game.launch()
    disabled = {i for i in LAYOUT if not window[i]["enabled"]}
    expected = GAME_CONTROLS | ALWAYS_DISABLED
    if missing == "Ostrelund.exe":
        # The options are shown after the presence check, and anti-aliasing
        # on in them makes supersampling available again; its frame stays
        # disabled.
        expected -= {10}
    assert disabled == expected
    assert window[NO_SOUND]["enabled"] and window[EXIT]["enabled"] and window[SOUND]["enabled"]


@pytest.mark.parametrize("lang, click, expected, codepage", [
    ("en_US.UTF-8", 103, GERMAN, "cp1252"),
    ("de_DE.UTF-8", 101, ENGLISH, "cp1252"),
])
def test_a_language_item_switches_the_captions_at_once(game, lang, click, expected, codepage):
    run, _ = game.launch(lang)
    run.probe.click(click)
    window = run.probe.wait_until(lambda w: w[4]["text"] == expected[4])
    assert_captions(window, expected, codepage)
    assert checked_items(window) == [click]


def test_check_boxes_answer_button_messages(game):
    run, _ = game.launch()
    probe = run.probe
    probe.check(WINDOWED, False)
    probe.check(NO_SOUND, True)
    probe.click(SHADOWS)  # checked -> unchecked
    window = probe.wait_until(lambda w: w[SHADOWS]["check"] == 0)
    assert {i: window[i]["check"] for i in (WINDOWED, SHADOWS, NO_SOUND)} == {WINDOWED: 0, SHADOWS: 0, NO_SOUND: 1}

    # Supersampling follows anti-aliasing: off takes it off and disables it.
    probe.check(ATOC, True)
    probe.click(ANTI_ALIASING)
    window = probe.wait_until(lambda w: w[ANTI_ALIASING]["check"] == 0)
    assert (window[ATOC]["check"], window[ATOC]["enabled"]) == (0, False)
    probe.click(ANTI_ALIASING)
    window = probe.wait_until(lambda w: w[ANTI_ALIASING]["check"] == 1)
    assert (window[ATOC]["check"], window[ATOC]["enabled"]) == (0, True)


def test_exit_ends_the_program_without_saving(game):
    run, _ = game.launch()
    saved = game.player_options.read_bytes()
    # Changes made in the window are dropped.
    run.probe.click(WINDOWED)
    run.probe.click(RADIO_ITEMS[2])
    run.probe.click(EXIT)
    assert run.wait_exit() == 0
    assert game.player_options.read_bytes() == saved
