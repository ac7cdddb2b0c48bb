"""Every caption, language item and message line of the launcher, in each of
the four languages, fits the room its control leaves for it: measured in the
font the control is drawn in (the probe matches it as the launcher does), at
the size the launcher's fitting rule gives it (a size smaller, step by step,
when the system's face is wider than the layout's), and compared with the
control's client area less what the skin draws beside the text. Run with the
shipped Texts.Ini on a 1024 x 768 screen with little video memory, an old
machine's case, which fills the message panel with three messages; the panel
must show them all at once. Run under each Wine the suite runs on, since
each gives other faces."""

import shutil

import pytest

from conftest import ROOT
from launcher_window import Probe, read_bmp
from control_ids import ANTI_ALIASING, BUTTONS, CHECK_BOXES, EXIT, GROUP_BOXES, LANGUAGE, MEMO, RADIO_ITEMS, RUN
from test_machine_checks import SHIPPED, launch, machine, memo_lines  # noqa: F401  (machine is a fixture)

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


def fitted(probe, fonts, room):
    """{control ID: (text, width as drawn, room, asked height, height drawn)}:
    each text at the size the fitting rule gives it in its room, measured in
    the font the control gets; and {font: what the probe says of its face}."""
    by_font = {}
    for control_id, (text, space) in room.items():
        by_font.setdefault(fonts[control_id], []).append((control_id, text, space))
    drawn, faces = {}, {}
    for (face, height, bold), items in by_font.items():
        pairs = [str(value) for _, text, space in items for value in (space, text)]
        data, _ = probe("text-fit", face, height, 1 if bold else 0, *pairs)
        assert len(data["texts"]) == len(items), data
        for (control_id, text, space), measured in zip(items, data["texts"]):
            drawn[control_id] = (text, measured["fit_width"], space, height, measured["fit_height"])
        faces[(face, height, bold)] = data
    return drawn, faces


def cut_texts(probe, window):
    """The texts of the window that do not fit their room even a size smaller."""
    drawn, _ = fitted(probe, layout_fonts(), rooms(window))
    return {i: (text, width, space) for i, (text, width, space, _, _) in drawn.items() if width > space}


def messages_out_of_view(window):
    """The message lines the panel's text box does not show whole: by where
    it places each wrapped line, and the step between lines."""
    memo = window[MEMO]
    tops = [top for top in memo["line_tops"] if top is not None]
    assert len(tops) >= 2, memo
    pitch = tops[1] - tops[0]
    return [top for top in tops if top < 0 or top + pitch > memo["client"][1]]


def stroke(rows, shot, window, control_id):
    """How thick a button's caption is drawn: the mean length of the runs of
    light pixels along its rows (the caption is light on a dark face),
    inside the border and the focus mark. About 4 for a bold caption of 16
    pixels, 1.5 to 2.5 for a regular one."""
    ox = window.data["client_origin"][0] - shot["window"][0]
    oy = window.data["client_origin"][1] - shot["window"][1]
    x, y, width, height = window[control_id]["rect"]
    runs = []
    for cy in range(y + 6, y + height - 6):
        run = 0
        for cx in range(x + 5, x + width - 4):
            if cx < x + width - 5 and sum(rows[oy + cy][ox + cx]) > 3 * 170:
                run += 1
            elif run:
                runs.append(run)
                run = 0
    assert runs, f"no caption drawn in control {control_id}"
    return sum(runs) / len(runs)


def caption_span(rows, shot, window, control_id):
    """The columns a check box's caption covers on the screen, right of its
    box: from its first to its last light pixel (the caption is light on the
    dark panel); 0 when nothing is drawn there."""
    x, y = 0, 0
    part = control_id
    while part:  # the rectangle is the parent's: add up to the window
        x, y = x + window[part]["rect"][0], y + window[part]["rect"][1]
        part = window[part]["parent"]
    ox = window.data["client_origin"][0] - shot["window"][0] + x
    oy = window.data["client_origin"][1] - shot["window"][1] + y
    width, height = window[control_id]["client"]
    inked = [cx for cx in range(CHECK_ROOM, width)
             if any(sum(rows[oy + cy][ox + cx]) > 3 * 110 for cy in range(height))]
    return inked[-1] - inked[0] + 1 if inked else 0


LANGUAGES = ["en_US.UTF-8", "ru_RU.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8"]


@pytest.mark.parametrize("lang", LANGUAGES)
def test_every_text_fits_its_room(game, machine, lang):  # noqa: F811
    for name in ("Texts.Ini", "Options_Game.ini"):
        shutil.copy2(SHIPPED / name, game.path / name)
    machine.shape(screen=(1024, 768), video_memory_mb=256)
    run, window = launch(game, lang)
    bmp, shot = run.probe.capture(f"texts-{lang.split('.')[0]}")

    drawn, faces = fitted(run.probe, layout_fonts(), rooms(window))
    cut = {i: (text, width, space) for i, (text, width, space, _, _) in drawn.items() if width > space}
    assert cut == {}, f"texts wider than their room even a size smaller (text, width, room): {cut}"
    smaller = {i: (text, asked, height) for i, (text, _, _, asked, height) in drawn.items() if height != asked}
    print(f"drawn a size smaller (text, asked height, drawn height): {smaller}")
    # And so drawn: a check box's caption that needed a smaller size spans
    # no more on the screen than it measures there (cut at the asked size,
    # it would fill its room).
    _, _, rows = read_bmp(bmp)
    spans = {i: (drawn[i][0], caption_span(rows, shot, window, i), drawn[i][1])
             for i in smaller if i in CHECK_BOXES}
    assert all(span <= width + 1 for _, span, width in spans.values()), f"(text, span, width): {spans}"

    # The face keeps what the layout asks for: its letters' height, which a
    # scalable face gives to the pixel it rounds to, and its weight, seen on
    # the screen: "Game start" is bold, "Exit" of the same height is not.
    for (face, height, bold), data in faces.items():
        assert abs(data["em"] + height) <= 1, (face, height, bold, data)
    run_stroke, exit_stroke = (stroke(rows, shot, window, i) for i in (RUN, EXIT))
    assert run_stroke > 1.3 * exit_stroke, (run_stroke, exit_stroke, faces)

    # The old machine's three findings, all in view at once.
    memo = window[MEMO]
    assert len(memo_lines(window)) == 3, memo
    assert memo["first_visible"] == 0
    assert messages_out_of_view(window) == [], memo


def test_a_caption_too_long_for_any_size_is_found_cut(game, machine):  # noqa: F811
    """The check above finds a cut: a caption that no size down to the floor
    lets fit, beside texts that fit."""
    shutil.copy2(SHIPPED / "Options_Game.ini", game.path / "Options_Game.ini")
    texts = (SHIPPED / "Texts.Ini").read_text(encoding="utf-8")
    long_caption = "Anti Aliasing with sixteen samples"
    texts = texts.replace("cbAntiAliasing_Eng=", f"cbAntiAliasing_Eng={long_caption}\r\ncbAntiAliasing_Old=", 1)
    (game.path / "Texts.Ini").write_text(texts, encoding="utf-8", newline="")
    machine.shape(screen=(1024, 768), video_memory_mb=256)
    run, window = launch(game, "en_US.UTF-8")
    assert window[ANTI_ALIASING]["text"] == long_caption
    cut = cut_texts(run.probe, window)
    assert list(cut) == [ANTI_ALIASING], cut


@pytest.mark.parametrize("font, floor", [(("MS Sans Serif", -11, False), -9), (("MS Sans Serif", -15, False), -12),
                                         (("MS Sans Serif", -16, True), -13)])
def test_a_caption_steps_down_to_four_fifths_of_its_height_and_no_further(wine_run, font, floor):
    """The fitting rule in the probe, which the controls share: one text in
    rooms from its own width down to a few pixels. Each room gets the
    largest size down to the floor that fits; past the floor, the asked size
    (drawn cut)."""
    face, height, bold = font
    text = "Alpha blending supersampling"
    probe = Probe(wine_run, wine_run.env_for())
    data, _ = probe("text-fit", face, height, 1 if bold else 0, 1000, text)
    full = data["texts"][0]["width"]
    pairs = [str(value) for room in range(full, 4, -1) for value in (room, text)]
    data, _ = probe("text-fit", face, height, 1 if bold else 0, *pairs)
    results = list(zip(range(full, 4, -1), data["texts"]))
    for room, fit in results:
        if fit["fit_height"] == height:
            assert (fit["fit_width"] <= room) == (room >= full), (room, fit)
        else:
            assert height < fit["fit_height"] <= floor and fit["fit_width"] <= room, (room, fit)
    drawn = [fit["fit_height"] for _, fit in results]
    # Every size down to the floor serves some room, the rooms it cannot
    # serve fall back to the asked size, and sizes only shrink with the room.
    assert set(drawn) == set(range(height, floor + 1)) | {height}, drawn
    shrinking = [h for h in drawn if h != height]
    assert shrinking == sorted(shrinking), drawn
    assert drawn[-1] == height, drawn
