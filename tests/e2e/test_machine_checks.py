"""The machine checks the launcher makes before its window shows, under Wine
with the machine shaped for each case: the screen size (a registry virtual
desktop), the free texture memory (Wine's VideoMemorySize), no Direct3D 9
(d3d9.dll disabled), no ALSA default device (a HOME without .asoundrc) and a
log folder that cannot be made. Seen through the lines of the message panel,
their colour on the screen, the window's layout and the engine log."""

import json
import re
import shutil

import pytest

from conftest import FIXTURES, PROBE, ROOT, WORK
from launcher_window import LauncherRun, read_bmp, read_texts, to_windows

from control_ids import BEVEL, EDITOR, EXIT, MEMO, NO_SOUND, PANEL, RUN
SHIPPED = ROOT / "resources" / "game"
GERMAN = "de_DE.UTF-8"
PURE_RED = (255, 0, 0)
# The memo's colours in the layout: background and text.
MEMO_BACKGROUND, MEMO_GREY = (26, 26, 26), (157, 157, 157)
# What the memo's vertical scroll bar takes from its right side, at most.
SCROLL_BAR = 20

# The layout with the message panel shown: (x, y, width, height) in the
# window's client area; the hidden layout is in test_launcher_window.py.
PANEL_RECT = [0, 342, 435, 73]
BUTTON_TOP = 420
CLIENT_WITH_PANEL = (436, 455)
CLIENT_WITHOUT_PANEL = (436, 384)

# A timed log line: its label, a blank and its text (empty for the units' lines).
TIMED_LINE = re.compile(r"[ \d]\d+:[ \d]\d:[ \d]{4}\d(?:\t   |[ \d]{3}\d+\.\d{3})  (.*)")
# The start of a continuation line.
CONTINUED = "\t\t     "

# The engine's texts (engine/sound/DirectSound7.cpp) of the codes a
# DirectSoundCreate without a sound device gives: Wine 8 an invalid
# parameter, Wine 10 no driver.
DIRECTSOUND_TEXTS = {
    0x80070057: "An invalid parameter was passed to the returning function.",
    0x88780078: "No sound driver is available for use.",
}

REG_HEADER = "Windows Registry Editor Version 5.00\r\n"


FIXTURE_TEXTS = read_texts(FIXTURES / "Texts.Ini")


def message(texts, key, value):
    """A message as the launcher shows it: every "#" replaced."""
    return texts[key].replace("#", str(value))


def memo_lines(window):
    text = window[MEMO]["text"]
    return text[:-2].split("\r\n") if text.endswith("\r\n") else text.split("\r\n")


def json_of(result):
    """The probe's answer."""
    assert result.returncode == 0, result
    return json.loads(result.stdout.decode("ascii").strip().splitlines()[-1])


def log_path(wine):
    return wine.local_appdata() / "Ostrelund_Launcher" / "Ostrelund_Launcher.log"


class Machine:
    """Shapes the prefix's machine through its registry; `restore` takes every
    setting away again, so other tests see Xvfb's 1280 x 1024 screen and
    Wine's default video memory."""

    def __init__(self, wine):
        self.wine = wine
        self.shaped = False

    def _import(self, name, body):
        path = WORK / name
        path.write_text(REG_HEADER + body.replace("\n", "\r\n"), encoding="ascii")
        result = self.wine.run("regedit", "/S", to_windows(path))
        assert result.returncode == 0, result

    def shape(self, screen=None, video_memory_mb=None):
        body = ""
        if screen:
            body += ('\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\n"Desktop"="Default"\n'
                     '\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\n'
                     f'"Default"="{screen[0]}x{screen[1]}"\n')
        if video_memory_mb:
            body += ('\n[HKEY_CURRENT_USER\\Software\\Wine\\Direct3D]\n'
                     f'"VideoMemorySize"="{video_memory_mb}"\n')
        self.shaped = True
        self._import("machine.reg", body)
        if screen:
            # The desktop keeps its size while any process of the prefix runs.
            self.wine.reset()
            assert self.screen() == screen

    def screen(self):
        size = json_of(self.wine.run(PROBE, "screen"))
        return size["width"], size["height"]

    def restore(self):
        if self.shaped:
            self._import("machine-restore.reg",
                         '\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\n"Desktop"=-\n'
                         '\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\n"Default"=-\n'
                         '\n[HKEY_CURRENT_USER\\Software\\Wine\\Direct3D]\n"VideoMemorySize"=-\n')


@pytest.fixture
def machine(game):
    """The game folder's prefix, shaped by the test; restored afterwards
    (the per-test reset then ends the desktop of the shaped size)."""
    shaped = Machine(game.wine)
    yield shaped
    shaped.restore()


def launch(game, lang=None, **overrides):
    """Starts the launcher with extra environment settings; waits for its window."""
    env = game.wine.env_for(lang)
    env.update(overrides)
    run = LauncherRun(game.wine, env)
    return run, run.wait_window()


def memo_colours(run, window, name):
    """The pixels of the memo's text area on the screen, counted by colour:
    inside its border and left of its scroll bar."""
    bmp, shot = run.probe.capture(name)
    left, top = shot["window"][:2]
    _, _, rows = read_bmp(bmp)
    panel, memo = window[PANEL]["rect"], window[MEMO]["rect"]
    ox, oy = window.data["client_origin"]
    x0 = ox - left + panel[0] + memo[0]
    y0 = oy - top + panel[1] + memo[1]
    counts = {}
    for y in range(y0 + 2, y0 + memo[3] - 2):
        for x in range(x0 + 2, x0 + memo[2] - 2 - SCROLL_BAR):
            counts[rows[y][x]] = counts.get(rows[y][x], 0) + 1
    return counts


def assert_panel_shown(window):
    assert window.client == CLIENT_WITH_PANEL
    assert (window[PANEL]["visible"], window[MEMO]["visible"], window[BEVEL]["visible"]) == (True, True, False)
    assert window[PANEL]["rect"] == PANEL_RECT
    assert [window[i]["rect"][1] for i in (RUN, EXIT, EDITOR)] == [BUTTON_TOP] * 3


def assert_text_colour(run, window, name, red):
    """Every pixel of the memo's text area is its background, the text colour
    or an anti-aliased blend of the two: pure red when `red`, else the skin's
    grey."""
    counts = memo_colours(run, window, name)
    background = max(counts, key=counts.get)
    assert background == MEMO_BACKGROUND, background
    text = PURE_RED if red else MEMO_GREY
    assert counts.get(text, 0) > 0, f"no pixel of {text}: {sorted(counts.items(), key=lambda c: -c[1])[:8]}"

    def blend(pixel):
        # Each channel between the background's and the text's (the font's
        # anti-aliasing is not linear), channels alike where the text's are.
        between = all(min(b, t) <= p <= max(b, t) for p, b, t in zip(pixel, background, text))
        return between and all(pixel[i] == pixel[j] for i in range(3) for j in range(3) if text[i] == text[j])

    strays = {pixel: n for pixel, n in counts.items() if not blend(pixel)}
    assert not strays, f"pixels neither background nor text colour: {strays}"


def capability_block(adapter):
    """The continuation lines of "Render.Create" for the probe's reading."""
    def listed(names):
        return [" + " + n for n in names if n in adapter["formats"]]
    return (["Shaders supported:",
             " + Vertex {}.{}".format(*adapter["vs"]),
             " + Pixel {}.{}".format(*adapter["ps"]),
             f"Max anisotropy: {adapter['max_anisotropy']}",
             f"Max multisample samples: {adapter['max_samples']}",
             f"Max multisample quality: {adapter['max_quality']}",
             "Supported render-target formats:"]
            + listed(["G16R16", "A16B16G16R16", "R16F", "G16R16F", "A16B16G16R16F", "R32F", "G32R32F",
                      "A32B32G32R32F"])
            + ["Supported compressed texture formats:"] + listed(["DXT1", "DXT3", "DXT5"])
            + ["Supported alpha-test filtering:"] + listed(["ATOC", "A2M1"]))


def test_a_large_machine_shows_no_panel_and_logs_the_adapter(game):
    log_path(game.wine).unlink(missing_ok=True)
    # The adapter as Wine's own declarations of Direct3D 9 show it.
    adapter = json_of(game.wine.run(PROBE, "d3d9", "1280", "1024"))
    assert adapter["d3d9"], adapter

    run, window = launch(game)
    assert window.client == CLIENT_WITHOUT_PANEL
    assert (window[PANEL]["visible"], window[BEVEL]["visible"]) == (False, True)
    assert window[MEMO]["text"] == ""
    assert window[RUN]["enabled"] and window[NO_SOUND]["check"] == 0
    run.probe.click(EXIT)
    assert run.wait_exit() == 0

    lines = log_path(game.wine).read_bytes().decode("ascii").split("\r\n")
    labels = [m[1].rstrip(" ") for m in map(TIMED_LINE.fullmatch, lines) if m]
    start, end = labels.index("VK9_Render.Initialization"), labels.index("VK9_Render.Finalization")
    assert labels.index("VK9_System.Initialization") < start
    assert labels[start + 1:end] == ["RENDER Render.Create", "RENDER Render.Init(1280,1024)"], labels

    create = next(i for i, line in enumerate(lines) if line.endswith("  RENDER Render.Create"))
    block = []
    for line in lines[create + 1:]:
        if not line.startswith(CONTINUED):
            break
        block.append(line[len(CONTINUED):])
    assert block == capability_block(adapter)


# screen, locale, shipped game files (else the fixtures), expected lines as
# (Texts.Ini key, number), red
SMALL_SCREENS = {
    "1280x800": ((1280, 800), None, False, [("MessageMinHeightCur_Eng", "1280x800")], False),
    "1024x768": ((1024, 768), None, False,
                 [("MessageMinWidth_Eng", 1024), ("MessageMinHeightCur_Eng", "1024x768")], True),
    "800x600": ((800, 600), None, False, [("MessageMinWidth_Eng", 800), ("MessageMinHeight_Eng", 600)], True),
    # German where Texts.Ini has it, else the English text.
    "1024x768-german": ((1024, 768), GERMAN, False,
                        [("MessageMinWidth_Deu", 1024), ("MessageMinHeightCur_Eng", "1024x768")], True),
    # The shipped Texts.Ini and options. This window's picture,
    # build/e2e/shots/small-screen-1024x768-shipped.bmp, is the README's
    # docs/launcher-small-screen.png (`convert ... -strip`).
    "1024x768-shipped": ((1024, 768), None, True,
                         [("MessageMinWidth_Eng", 1024), ("MessageMinHeightCur_Eng", "1024x768")], True),
}


@pytest.mark.parametrize("case", SMALL_SCREENS)
def test_a_small_screen_is_reported_in_the_panel(game, machine, case):
    screen, lang, shipped, expected, red = SMALL_SCREENS[case]
    texts = FIXTURE_TEXTS
    if shipped:
        for name in ("Texts.Ini", "Options_Game.ini"):
            shutil.copy2(SHIPPED / name, game.path / name)
        texts = read_texts(SHIPPED / "Texts.Ini")
    machine.shape(screen=screen)

    run, window = launch(game, lang)
    lines = [message(texts, key, value) for key, value in expected]
    assert memo_lines(window) == lines
    # The ANSI text, in the program's code page (1252 for both locales here).
    assert window.ansi(MEMO).decode("cp1252") == window[MEMO]["text"]
    assert_panel_shown(window)
    assert window[RUN]["enabled"]
    if lang == GERMAN:
        assert window[PANEL]["text"] == FIXTURE_TEXTS["GroupBoxMessage_Deu"]
    assert_text_colour(run, window, f"small-screen-{case}", red)


def test_little_video_memory_is_reported_with_the_free_mebibytes(game, machine):
    machine.shape(video_memory_mb=256)
    run, window = launch(game)
    template = re.escape(FIXTURE_TEXTS["MessageNoVideoMemory_Eng"]).replace("\\#", "#").replace("#", r"(\d+)")
    lines = memo_lines(window)
    assert len(lines) == 1 and re.fullmatch(template, lines[0]), lines
    free = int(re.fullmatch(template, lines[0])[1])
    # About what the probe's own device of the screen's size finds free, in
    # whole mebibytes rounded down, and never more than the card holds. Wine 8
    # counts what a device already holds as used (a little under 256), Wine
    # 10 does not (256 whole).
    reference = json_of(game.wine.run(PROBE, "d3d9", "1280", "1024"))["free_texture_bytes"] // 2**20
    assert reference - 4 <= free <= min(reference + 4, 256), (free, reference)
    assert_panel_shown(window)
    assert_text_colour(run, window, "video-memory", True)


def test_no_direct3d_and_no_log_folder_are_reported_and_game_start_stays(game):
    folder = log_path(game.wine).parent
    shutil.rmtree(folder, ignore_errors=True)
    folder.write_bytes(b"in the way")  # a file where the log folder should go
    try:
        run, window = launch(game, WINEDLLOVERRIDES="mscoree,mshtml,d3d9=")
        # No device, so no video-memory line either.
        assert memo_lines(window) == [FIXTURE_TEXTS["MessageFatalErrorLogfile_Eng"],
                                      FIXTURE_TEXTS["MessageNoGraph_Eng"]]
        assert_panel_shown(window)
        assert window[RUN]["enabled"]
        assert_text_colour(run, window, "no-direct3d", True)
        run.probe.click(EXIT)
        assert run.wait_exit() == 0
    finally:
        folder.unlink()


def test_no_sound_device_ends_in_the_engine_box_before_the_window(game):
    home = WORK / "home-without-alsa"
    home.mkdir(exist_ok=True)
    log = log_path(game.wine)
    log.unlink(missing_ok=True)
    env = dict(game.wine.env_for(), HOME=str(home))
    run = LauncherRun(game.wine, env)
    probe = run.probe

    box = probe.message_box()
    # Which error the system gives for a missing device differs between
    # Wines: ask it, through the probe with the same environment, and expect
    # the engine's text for that code.
    code = int(json_of(game.wine.run(PROBE, "dsound", env=env))["result"], 16)
    assert code in DIRECTSOUND_TEXTS, f"DirectSoundCreate without a device gives {code:#010x} here"
    error = f"DirectSoundCreate: {DIRECTSOUND_TEXTS[code]} -> DIRECTSOUND INTERNAL ERROR"
    assert box["caption"] == "Ostrelund_Launcher"
    assert box["text"] == "ERRORS:\n\r" + error, box
    assert probe.window_state() == (False, False)
    probe.dismiss()
    assert run.wait_exit() == 0
    assert probe.window_state() == (False, False)
    assert f"  ERRORS: \n\r{error}\r\n".encode() in log.read_bytes()
