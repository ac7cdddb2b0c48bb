"""Runs the Windows build under Wine: its own Xvfb, a fresh Wine prefix under
the build folder, and a scratch HOME whose ALSA default is the null device."""

import os
import pathlib
import shutil
import subprocess
import tempfile

import pytest

ROOT = pathlib.Path(__file__).resolve().parents[2]


def choose_build():
    """(the folder of the Windows programs, how the shipped i686 build runs:
    "native", "emulated", or None when another build was chosen by hand).
    The i686 build runs under `wine` through scripts/wine-i386, which runs it
    natively where the kernel can and under user-mode emulation where it
    cannot. OSTRELUND_WIN_BIN chooses another folder (the x86_64 build, say)."""
    if "OSTRELUND_WIN_BIN" in os.environ:
        return pathlib.Path(os.environ["OSTRELUND_WIN_BIN"]), None
    mode = os.environ.get("OSTRELUND_WINE_I386")
    if not mode and subprocess.run([str(ROOT / "scripts" / "runs-i386")], check=False).returncode == 0:
        mode = "native"
    return ROOT / "build" / "win32" / "bin", mode


BIN, I386_MODE = choose_build()
WINE = "wine"
# QEMU's user-mode emulation does not hand Wine the processor's trap number
# with a fault, so under it Wine names every hardware exception of a 32-bit
# program wrongly (an access violation comes as an illegal instruction, an
# integer division by zero as a floating-point one) and a stack overflow ends
# in no exception at all. The tests that look at hardware exceptions run the
# x86_64 build there, which Wine's 64-bit loader runs natively on any machine.
FAULTS_BIN = ROOT / "build" / "win64" / "bin" if I386_MODE == "emulated" else BIN
WORK = pathlib.Path(os.environ.get("OSTRELUND_E2E_WORK", ROOT / "build" / "e2e"))

LAUNCHER = BIN / "Ostrelund_Launcher.exe"
PROBE = BIN / "e2e_probe.exe"
FIXTURES = pathlib.Path(__file__).resolve().parent / "fixtures"
SHOTS = WORK / "shots"


def start_xvfb():
    """Starts Xvfb on a display number it picks itself; returns (process, display)."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
        pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        number = pipe.readline().strip()
    if not number:
        xvfb.kill()
        raise RuntimeError("Xvfb did not start")
    return xvfb, ":" + number


class Started:
    """A program started in the background; its output goes to files."""

    def __init__(self, process, out, err):
        self.process = process
        self.out = out
        self.err = err

    def output(self):
        self.out.seek(0)
        return self.out.read()

    def errors(self):
        self.err.seek(0)
        return self.err.read()

    def wait(self, timeout):
        return self.process.wait(timeout=timeout)

    def close(self):
        self.out.close()
        self.err.close()


class Wine:
    def __init__(self, env, prefix):
        self.env = env
        self.prefix = prefix
        self._idle = None
        self._started = []

    def env_for(self, lang=None):
        """The environment of a run; `lang` sets LANG and LC_ALL (the locale
        Wine derives the thread locale and the ANSI code page from)."""
        env = dict(self.env)
        if lang:
            env.update(LANG=lang, LC_ALL=lang)
        return env

    def _wineserver(self, *args):
        subprocess.run(["wineserver", *args], env=self.env, timeout=120, check=False)

    def _end_everything(self):
        """Ends every process of the prefix and waits for its server to go.
        Once here `wineserver -w` was still waiting two minutes after a kill;
        then the prefix is killed and waited for again before giving up."""
        for attempt in range(3):
            self._wineserver("-k")
            try:
                subprocess.run(["wineserver", "-w"], env=self.env, timeout=45, check=False)
                return
            except subprocess.TimeoutExpired:
                if attempt == 2:
                    raise

    def start_idle(self):
        """A small process that holds the server and the desktop between runs."""
        self._idle = subprocess.Popen([WINE, str(BIN / "e2e_idle.exe")], env=self.env,
                                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def reset(self):
        """Ends every process of the prefix, then starts the idle one again."""
        self._end_every_process()
        self.start_idle()

    def stop(self):
        """Ends every process of the prefix and its server."""
        self._end_every_process()

    def _end_every_process(self):
        """An idle process that a reset has just started may not have reached
        the server yet (a test that fails in its set-up comes straight
        back here): it would outlive `wineserver -k` with a server of its
        own, so whatever is still running is killed directly, and the
        prefix's server then waited for."""
        self._wineserver("-k")
        processes = [s.process for s in self._started] + ([self._idle] if self._idle else [])
        for process in processes:
            if process.poll() is None:
                process.kill()
            process.wait(timeout=30)
        for started in self._started:
            started.close()
        self._started.clear()
        self._idle = None
        self._end_everything()

    def start(self, exe, *args, env=None):
        """Starts a program and returns at once; the next reset ends it.
        `exe` may be a Windows path ("C:\\..."), which the program then sees
        as its own path."""
        out = tempfile.TemporaryFile()
        err = tempfile.TemporaryFile()
        process = subprocess.Popen([WINE, str(exe), *args], env=env or self.env,
                                   stdout=out, stderr=err)
        started = Started(process, out, err)
        self._started.append(started)
        return started

    def run(self, exe, *args, cwd=None, timeout=60, env=None):
        """Runs a program to its end. Its output goes through files, not pipes:
        Wine's service processes inherit the handles and would hold a pipe
        open long after the program ended."""
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            process = subprocess.Popen([WINE, str(exe), *args], env=env or self.env, cwd=cwd,
                                       stdout=out, stderr=err)
            try:
                code = process.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                process.kill()
                raise
            out.seek(0)
            err.seek(0)
            return subprocess.CompletedProcess(process.args, code, out.read(), err.read())

    def local_appdata(self):
        """The player's local application-data folder inside the prefix."""
        users = self.prefix / "drive_c" / "users"
        found = [p / "AppData" / "Local" for p in users.iterdir()
                 if p.name != "Public" and (p / "AppData" / "Local").is_dir()]
        assert len(found) == 1, found
        return found[0]


def pytest_configure(config):  # pylint: disable=unused-argument
    if "OSTRELUND_WIN_BIN" not in os.environ and not I386_MODE:
        raise pytest.UsageError(
            "this kernel runs no 32-bit programs: run the Wine tests through scripts/wine-i386 "
            "(scripts/wine-i386 python3 -m pytest tests/e2e), which emulates them")


def pytest_terminal_summary(terminalreporter):
    if I386_MODE:
        how = "natively" if I386_MODE == "native" else "under user-mode emulation (qemu-i386)"
        terminalreporter.write_line(f"the Wine tests ran the shipped i686 build {how}, {BIN}")
    else:
        terminalreporter.write_line(f"the Wine tests ran the programs of {BIN}")


@pytest.fixture(scope="session")
def wine():
    for needed in (LAUNCHER, BIN / "e2e_idle.exe"):
        if not needed.exists():
            pytest.fail(f"{needed} is missing: build the Windows presets first")
    shutil.rmtree(WORK, ignore_errors=True)
    home = WORK / "home"
    home.mkdir(parents=True)
    (home / ".asoundrc").write_text("pcm.!default { type null }\nctl.!default { type null }\n")
    prefix = WORK / "prefix"

    xvfb, display = start_xvfb()
    env = {k: v for k, v in os.environ.items() if not k.startswith(("WINE", "LC_", "XDG_"))}
    env.update(HOME=str(home), DISPLAY=display, WINEPREFIX=str(prefix), WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=", LANG="en_US.UTF-8")
    w = Wine(env, prefix)
    try:
        # Created alone first: two Wine processes starting together on a
        # prefix without a server now and then hang.
        subprocess.run([WINE, "wineboot", "-i"], env=env, timeout=300, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        w._wineserver("-w")
        w.start_idle()
        yield w
    finally:
        w.stop()
        xvfb.kill()
        xvfb.wait()


@pytest.fixture
def wine_run(wine):
    """The shared prefix, with every process of the previous test ended."""
    yield wine
    wine.reset()


@pytest.fixture
def game(wine_run):
    """A game folder with a space in its path inside the prefix's drive C:
    a copy of the launcher, an empty Ostrelund.exe, Options_Game.ini and the
    Texts.Ini of tests/e2e/fixtures. Launchers started from it are ended by
    the per-test reset."""
    from launcher_window import GameFolder  # pylint: disable=import-outside-toplevel
    if not PROBE.exists():
        pytest.fail(f"{PROBE} is missing: build the Windows presets first")
    return GameFolder(wine_run)
