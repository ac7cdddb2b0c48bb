"""The launcher window's control IDs, for every Wine test. A control's window
ID is its 1-based place among the components of resources/layout/Launcher.ini
(the sections after [Form]); the language items are 101 to 104
(controls/win32/Win32RadioGroup.cpp)."""

import pathlib

LAYOUT = pathlib.Path(__file__).resolve().parents[2] / "resources" / "layout" / "Launcher.ini"


def _layout_ids():
    sections = [line.strip().strip("[]") for line in LAYOUT.read_text(encoding="ascii").splitlines()
                if line.strip().startswith("[")]
    return {name: place for place, name in enumerate((s for s in sections if s != "Form"), start=1)}


ID = _layout_ids()

IMAGE, BEVEL = ID["Image1"], ID["sBevel"]
LANGUAGE = ID["rgLanguage"]
RUN, EXIT, RESET, MESSAGE, EDITOR = ID["bbRun"], ID["bbExit"], ID["bbReset"], ID["bbMessage"], ID["bbEditor"]
GRAPHICS, SOUND, PANEL = ID["GroupBoxGraph"], ID["GroupBoxSound"], ID["GroupBoxMessage"]
ANTI_ALIASING, WINDOWED, SHADOWS, ATOC = ID["cbAntiAliasing"], ID["cbWindow"], ID["cbShadowQuality"], ID["cbATOC"]
NO_SOUND, MEMO = ID["cbNoSound"], ID["Memo"]

# English, Russian, German, French.
RADIO_ITEMS = (101, 102, 103, 104)
BUTTONS = (RUN, EXIT, RESET, MESSAGE, EDITOR)
CHECK_BOXES = (ANTI_ALIASING, WINDOWED, SHADOWS, ATOC, NO_SOUND)
GROUP_BOXES = (LANGUAGE, GRAPHICS, SOUND, PANEL)
ALWAYS_DISABLED = {RESET, MESSAGE, EDITOR}
