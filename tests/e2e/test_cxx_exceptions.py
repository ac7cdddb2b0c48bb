"""The crash handler beside C++ exceptions, in both Windows builds: on x86_64
mingw-w64 raises them through SEH, where the handler must let them pass.
e2e_cxx_exceptions.exe installs the handler as the launcher does; the
handler's log line ends it with exit code 42 and std::terminate with 3."""

import re

import pytest

from conftest import BIN, I386_MODE, ROOT

BUILDS = {"i686": ROOT / "build" / "win32" / "bin", "x86_64": ROOT / "build" / "win64" / "bin"}
NULL_WRITE = re.compile(r"CRASH Access violation \(0xC0000005\) writing address 0x0 at e2e_cxx_exceptions\.exe\+0x[0-9a-f]+")

# (argument, exit code, the program's output)
CASES = {
    "caught": (0, "caught"),
    "uncaught": (3, "terminate"),
    "uncaught-on-a-thread": (3, "terminate"),
    "crash": (42, NULL_WRITE),
    # A catch-all C++ handler does not take a hardware exception.
    "crash-in-catch-all": (42, NULL_WRITE),
}


@pytest.mark.parametrize("build", [
    pytest.param("i686", marks=pytest.mark.skipif(
        BIN != BUILDS["i686"], reason="the Wine tests run the x86_64 build here: the i686 one does not run")),
    "x86_64"])
@pytest.mark.parametrize("case", CASES)
def test_cxx_exceptions_pass_the_crash_handler_and_crashes_do_not(wine_run, build, case):
    if build == "i686" and I386_MODE == "emulated" and case.startswith("crash"):
        pytest.skip("under QEMU's user-mode emulation Wine cannot tell a 32-bit program's faults apart "
                    "(conftest.FAULTS_BIN); the x86_64 case runs instead")
    exe = BUILDS[build] / "e2e_cxx_exceptions.exe"
    if not exe.exists():
        pytest.fail(f"{exe} is missing: build the win32 and win64 presets first")
    code, output = CASES[case]
    result = wine_run.run(exe, case)
    text = result.stdout.decode("ascii").strip()
    assert result.returncode == code, (result.returncode, text, result.stderr[-2000:])
    if isinstance(output, str):
        assert text == output
    else:
        assert output.fullmatch(text), text
