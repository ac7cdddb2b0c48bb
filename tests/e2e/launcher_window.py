"""Drives the launcher's window under Wine through e2e_probe.exe: lays out a
game folder, starts the launcher in it, reads its controls and clicks them."""

import json
import shutil
import struct
import subprocess
import time

from conftest import FIXTURES, LAUNCHER, PROBE, SHOTS

CAPTION = "Ostrelund - Launcher"
GAME_WIN = r"C:\Games\Ostrelund Test"

# Deadlines, not waits: every wait below ends as soon as its condition
# holds, so they are generous. A busy two-core machine running the i686
# program under emulation takes many times longer than a desktop: there the
# Direct3D device alone takes seconds, and every Wine process starts slower.
# How long a launcher gets to show its window; the first one after a reset
# also waits for Wine's services.
WINDOW_TIMEOUT_MS = 90000
# A Wine process that showed a window takes about two seconds to exit
# without a window manager.
EXIT_TIMEOUT = 60
# How long a change the probe caused gets to show in the window.
CHANGE_TIMEOUT = 30
# How long one run of the probe may take beyond its own wait.
PROBE_TIMEOUT = 60

# Window styles.
WS_CAPTION = 0x00C00000
BS_TYPEMASK = 0x0F
BS_DEFPUSHBUTTON = 0x01
BS_AUTORADIOBUTTON = 0x09


class ProbeError(AssertionError):
    pass


def to_windows(path):
    """A host path as the prefix's drive Z: shows it."""
    return "Z:" + str(path).replace("/", "\\")


class Window:
    """One reading of the top-level window and its controls (`controls` verb)."""

    def __init__(self, data):
        self.data = data
        self.controls = data["controls"]
        self.by_id = {}
        for control in self.controls:
            self.by_id.setdefault(control["id"], control)

    def __getitem__(self, control_id):
        return self.by_id[control_id]

    @property
    def client(self):
        return tuple(self.data["client"])

    def texts(self, ids):
        return {i: self.by_id[i]["text"] for i in ids}

    def ansi(self, control_id):
        """The control's text as the ANSI WM_GETTEXT gave it, in the probe's
        (and so the launcher's) code page."""
        return bytes.fromhex(self.by_id[control_id]["ansi"])


class Probe:
    """e2e_probe.exe, run under the same locale as the program it reads."""

    def __init__(self, wine, env):
        self.wine = wine
        self.env = env

    def __call__(self, *args, check=True, timeout=WINDOW_TIMEOUT_MS // 1000 + PROBE_TIMEOUT):
        # Wine's own error messages on: a probe that never ran to its end
        # (Wine could not start it, or it died) answers nothing, and then
        # they are what tells why.
        env = dict(self.env, WINEDEBUG="-all,err+all")
        began = time.monotonic()
        try:
            result = self.wine.run(PROBE, *[str(a) for a in args], env=env, timeout=timeout)
        except subprocess.TimeoutExpired as timed_out:
            raise ProbeError(f"e2e_probe {' '.join(map(str, args))}: still running after {timeout} s, "
                             "killed") from timed_out
        text = result.stdout.decode("ascii").strip()
        data = json.loads(text.splitlines()[-1]) if text else {}
        if (check or not text) and result.returncode != 0:
            what = text or "no answer: the probe did not run to its end"
            raise ProbeError(f"e2e_probe {' '.join(map(str, args))}: exit {result.returncode} "
                             f"after {time.monotonic() - began:.1f} s: {what}; "
                             f"stderr: {result.stderr.decode(errors='replace')[-3000:]!r}")
        return data, result.returncode

    def wait_window(self, caption=CAPTION, timeout_ms=WINDOW_TIMEOUT_MS):
        data, code = self("wait-window", caption, timeout_ms, check=False)
        return data if code == 0 else None

    def window_state(self, caption=CAPTION):
        """(exists, visible) of the top-level window at this moment."""
        data, _ = self("wait-window", caption, 0, check=False)
        return data.get("found", False), data.get("visible", False)

    def window(self, caption=CAPTION):
        data, _ = self("controls", caption)
        return Window(data)

    def click(self, control_id, caption=CAPTION):
        return self("click", caption, control_id)[0]

    def check(self, control_id, state, caption=CAPTION):
        return self("check", caption, control_id, 1 if state else 0)[0]

    def key(self, vk, caption=CAPTION):
        return self("key", caption, vk)[0]

    def message_box(self, timeout_ms=WINDOW_TIMEOUT_MS):
        return self("message-box", timeout_ms)[0]

    def dismiss(self, timeout_ms=WINDOW_TIMEOUT_MS):
        return self("dismiss", timeout_ms)[0]

    def capture(self, name, caption=CAPTION):
        """The window's screen area as build/e2e/shots/<name>.bmp and .png;
        returns (the BMP's path, the probe's answer)."""
        SHOTS.mkdir(parents=True, exist_ok=True)
        bmp = SHOTS / f"{name}.bmp"
        bmp.unlink(missing_ok=True)
        data, _ = self("capture", caption, to_windows(bmp))
        subprocess.run(["convert", str(bmp), str(bmp.with_suffix(".png"))], check=True, timeout=60)
        return bmp, data

    def wait_until(self, predicate, timeout=CHANGE_TIMEOUT, caption=CAPTION):
        """Reads the window until `predicate(window)` holds; returns the last reading."""
        end = time.monotonic() + timeout
        while True:
            window = self.window(caption)
            if predicate(window) or time.monotonic() > end:
                return window
            time.sleep(0.2)


class HeldFile:
    """A file another process holds open without sharing."""

    def __init__(self, wine, windows_path, seconds=120):
        self.started = wine.start(PROBE, "hold-open", windows_path, str(seconds))
        end = time.monotonic() + 30
        while b"held" not in self.started.output():
            if self.started.process.poll() is not None or time.monotonic() > end:
                raise ProbeError(f"could not hold {windows_path}: {self.started.output()!r}")
            time.sleep(0.1)


class LauncherRun:
    """A launcher started from a game folder, and the probe that reads it."""

    def __init__(self, wine, env, exe=GAME_WIN + "\\" + LAUNCHER.name):
        self.probe = Probe(wine, env)
        self.started = wine.start(exe, env=env)

    def wait_window(self):
        """Waits for the window to show; returns its first reading."""
        if self.probe.wait_window() is None:
            code = self.started.process.poll()
            raise AssertionError(f"the launcher's window did not show (exit code {code}; "
                                 f"stderr {self.started.errors()[-2000:]!r})")
        return self.probe.window()

    def wait_exit(self, timeout=EXIT_TIMEOUT):
        return self.started.wait(timeout)


class GameFolder:
    """A game folder on the prefix's drive C:, laid out afresh: by default
    drive_c/Games/Ostrelund Test/; `windows` names another ("C:\\...")."""

    def __init__(self, wine, windows=GAME_WIN):
        self.wine = wine
        assert windows.startswith("C:\\"), windows
        self.path = wine.prefix.joinpath("drive_c", *windows[3:].split("\\"))
        self.windows = windows
        shutil.rmtree(self.path, ignore_errors=True)
        # The player's copy of the options, which an earlier run left.
        self.player_options = wine.local_appdata() / "Ostrelund" / "Options_Game.ini"
        shutil.rmtree(self.player_options.parent, ignore_errors=True)
        self.path.mkdir(parents=True)
        shutil.copy2(LAUNCHER, self.path / LAUNCHER.name)
        (self.path / "Ostrelund.exe").write_bytes(b"")
        shutil.copy2(FIXTURES / "Options_Game.ini", self.path / "Options_Game.ini")
        shutil.copy2(FIXTURES / "Texts.Ini", self.path / "Texts.Ini")

    def windows_path(self, name):
        return self.windows + "\\" + name

    def start(self, lang=None):
        """Starts the launcher under `lang` (LANG and LC_ALL; the harness's
        en_US.UTF-8 when None)."""
        return LauncherRun(self.wine, self.wine.env_for(lang), self.windows + "\\" + LAUNCHER.name)

    def launch(self, lang=None):
        """Starts the launcher and waits for its window: (run, first reading)."""
        run = self.start(lang)
        return run, run.wait_window()

    def hold(self, name):
        return HeldFile(self.wine, self.windows_path(name))


def read_bmp(path):
    """(width, height, rows of (r, g, b) tuples, top row first) of a 24-bit BMP."""
    data = path.read_bytes()
    assert data[:2] == b"BM"
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    assert bits == 24, bits
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(abs(height)):
        start = offset + y * stride
        line = data[start:start + width * 3]
        rows.append([(line[x + 2], line[x + 1], line[x]) for x in range(0, width * 3, 3)])
    if height > 0:
        rows.reverse()
    return width, abs(height), rows


def read_texts(path):
    """Section "Launcher" of a Texts.Ini as {key: value}."""
    texts, section = {}, None
    for line in path.read_text(encoding="utf-8").splitlines():
        line = line.strip()
        if line.startswith("["):
            section = line.strip("[]")
        elif section == "Launcher" and "=" in line and not line.startswith(";"):
            key, value = line.split("=", 1)
            texts[key.strip()] = value.strip()
    return texts


def read_report(game, timeout=EXIT_TIMEOUT):
    """The stand-in game's report, once it has written it (the stand-in
    renames it into place when it is whole)."""
    report = game.path / "Ostrelund_report.txt"
    end = time.monotonic() + timeout
    while not report.exists():
        assert time.monotonic() < end, f"the stand-in game wrote no report in {timeout} s"
        time.sleep(0.1)
    return report.read_bytes()
