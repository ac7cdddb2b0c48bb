"""Every caption, language item and message line of the launcher, in each of
the four languages, fits the room its control leaves for it: measured in the
font the control is drawn in (the probe matches it as the launcher does) and
compared with the control's client area less what the skin draws beside the
text. Run with the shipped Texts.Ini on a 1024 x 768 screen with little video
memory, an old machine's case, which fills the message panel with three
lines; the panel must show them all without scrolling."""

import shutil

import pytest

from conftest import ROOT
from control_ids import BUTTONS, CHECK_BOXES, GROUP_BOXES, LANGUAGE, MEMO, RADIO_ITEMS
from test_machine_checks import SHIPPED, launch, machine  # noqa: F401  (machine is a fixture)

LAYOUT = ROOT / "resources" / "layout" / "Launcher.ini"

# What each kind of control draws beside its text, in pixels of its client
# width (controls/win32): a check box or radio item its 13-pixel box and a
# gap of 3 (Win32CheckBox.cpp); a group box 7 on each side of its caption
# (Win32GroupBox.cpp); a button its focus mark 3 inside each edge
# (Win32Button.cpp), which a centred caption must clear.
CHECK_ROOM, GROUP_ROOM, BUTTON_ROOM = 16, 14, 6


def layout_fonts():
    """{control ID: (face, height, bold)} from the layout, whose sections after
    [Form] are the components in ID order; a control without a font of its
    own takes the form's, and the language items their group's."""
    fonts, form_font, sections = {}, None, []
    section = None
    for line in LAYOUT.read_text(encoding="ascii").splitlines():
        line = line.strip()
        if line.startswith("["):
            section = line.strip("[]")
            if section != "Form":
                sections.append(section)
        elif line.startswith("Font="):
            face, height, weight = line[len("Font="):].split(",")
            font = (face, int(height), weight.strip() == "Bold")
            if section == "Form":
                form_font = font
            else:
                fonts[len(sections)] = font
    table = {control_id: fonts.get(control_id, form_font) for control_id in range(1, len(sections) + 1)}
    table.update({item: table[LANGUAGE] for item in RADIO_ITEMS})
    return table


def rooms(window):
    """{control ID: (its text, the pixels of width its text may take)}."""
    room = {}
    for control_id in BUTTONS:
        room[control_id] = BUTTON_ROOM
    for control_id in CHECK_BOXES + RADIO_ITEMS:
        room[control_id] = CHECK_ROOM
    for control_id in GROUP_BOXES:
        room[control_id] = GROUP_ROOM
    return {i: (window[i]["text"], window[i]["client"][0] - taken) for i, taken in room.items()}


def measure(probe, fonts, texts):
    """{control ID: width} of each control's text in its font, and the line
    height of each font."""
    by_font = {}
    for control_id, text in texts.items():
        by_font.setdefault(fonts[control_id], []).append((control_id, text))
    widths, heights = {}, {}
    for (face, height, bold), items in by_font.items():
        data, _ = probe("text-widths", face, height, 1 if bold else 0, *[text for _, text in items])
        assert len(data["widths"]) == len(items), data
        widths.update({control_id: w for (control_id, _), w in zip(items, data["widths"])})
        heights[(face, height, bold)] = data["height"]
    return widths, heights


@pytest.mark.parametrize("lang", ["en_US.UTF-8", "ru_RU.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8"])
def test_every_text_fits_its_room(game, machine, lang):  # noqa: F811
    for name in ("Texts.Ini", "Options_Game.ini"):
        shutil.copy2(SHIPPED / name, game.path / name)
    machine.shape(screen=(1024, 768), video_memory_mb=256)
    run, window = launch(game, lang)
    fonts = layout_fonts()

    room = rooms(window)
    memo = window[MEMO]
    lines = memo["text"].removesuffix("\r\n").split("\r\n")
    widths, heights = measure(run.probe, fonts, {i: text for i, (text, _) in room.items()})
    cut = {i: (text, widths[i], space) for i, (text, space) in room.items() if widths[i] > space}
    assert cut == {}, f"texts wider than their room (text, width, room): {cut}"

    # The old machine's three findings, one line each, all in view.
    assert len(lines) == 3, lines
    line_height = heights[fonts[MEMO]]
    wrapped = memo["lines"] - (1 if memo["text"].endswith("\r\n") else 0)
    assert wrapped == len(lines), f"{len(lines)} messages take {wrapped} lines: {lines}"
    assert memo["first_visible"] == 0
    assert memo["client"][1] // line_height >= len(lines), (memo["client"], line_height)

    run.probe.capture(f"texts-{lang.split('.')[0]}")
