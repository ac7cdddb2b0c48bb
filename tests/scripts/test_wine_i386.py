"""scripts/wine-i386: a command run through it runs 32-bit x86 programs,
natively or through the emulator's registration in a namespace of its own,
with the caller's environment, folder, files and exit code; the machine's
own binfmt_misc is not touched. The emulated road is taken here on any
machine (OSTRELUND_EMULATE_I386=1), so that it is tried where the kernel
could do without it."""

import os
import pathlib
import subprocess

import pytest

ROOT = pathlib.Path(__file__).resolve().parents[2]
WINE_I386 = ROOT / "scripts" / "wine-i386"
RUNS_I386 = ROOT / "scripts" / "runs-i386"
HOST_BINFMT = pathlib.Path("/proc/sys/fs/binfmt_misc")


def through(command, emulate, cwd, **env):
    environment = dict(os.environ, **env)
    environment.pop("OSTRELUND_WINE_I386", None)
    environment["OSTRELUND_EMULATE_I386"] = "1" if emulate else ""
    return subprocess.run([str(WINE_I386), "sh", "-c", command], cwd=cwd, env=environment, capture_output=True,
                          text=True, timeout=120, check=False)


def roads():
    """The roads this machine can take: emulated always, native where the kernel runs i386."""
    native = subprocess.run([str(RUNS_I386)], check=False).returncode == 0
    return [("emulated", True)] + ([("native", False)] if native else [])


@pytest.mark.parametrize("road, emulate", roads())
def test_a_command_runs_i386_programs_with_the_callers_world(tmp_path, road, emulate):
    before = sorted(p.name for p in HOST_BINFMT.iterdir()) if HOST_BINFMT.is_dir() else None
    result = through(f'echo "$OSTRELUND_WINE_I386 $(pwd) $PROBE_VALUE"; {RUNS_I386} && echo i386-runs; '
                     'echo written > made-inside; exit 7', emulate, tmp_path, PROBE_VALUE="a b  c")
    assert result.returncode == 7, result.stderr
    assert result.stdout.splitlines() == [f"{road} {tmp_path} a b  c", "i386-runs"]
    assert (tmp_path / "made-inside").read_text() == "written\n"
    assert (tmp_path / "made-inside").stat().st_uid == os.getuid()
    if before is not None:
        assert sorted(p.name for p in HOST_BINFMT.iterdir()) == before


def pausing_i386_program(path):
    """A static i386 program that only waits for a signal: pause() in a loop."""
    header = (b"\x7fELF\x01\x01\x01" + bytes(9) + b"\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08"
              b"\x34\x00\x00\x00" + bytes(8) + b"\x34\x00\x20\x00\x01\x00" + bytes(6))
    segment = b"\x01\x00\x00\x00" + bytes(4) + b"\x00\x80\x04\x08" * 2 + b"\x5d\x00\x00\x00" * 2 + \
        b"\x05\x00\x00\x00\x00\x10\x00\x00"
    code = b"\xb8\x1d\x00\x00\x00\xcd\x80\xeb\xf7"  # mov eax, 29 (pause); int 0x80; jmp back
    path.write_bytes(header + segment + code)
    path.chmod(0o755)


def test_the_emulated_road_hands_i386_programs_to_the_emulator(tmp_path):
    emulator = subprocess.run([str(ROOT / "scripts" / "i386-emulator")], check=True, capture_output=True,
                              text=True).stdout.strip()
    pausing_i386_program(tmp_path / "pause")
    # Once the child has left the shell for the program, its executable is
    # the emulator that runs it.
    result = through('./pause & pid=$!; shell=$(readlink /proc/$$/exe); '
                     'until exe=$(readlink /proc/$pid/exe) && [ "$exe" != "$shell" ]; do sleep 0.05; done; '
                     'kill $pid; echo "$exe"', True, tmp_path)
    assert result.returncode == 0, result.stderr
    assert result.stdout.strip() == emulator


def test_without_a_command_it_says_how_to_use_it(tmp_path):
    result = subprocess.run([str(WINE_I386)], cwd=tmp_path, capture_output=True, text=True, check=False)
    assert result.returncode == 2 and "usage" in result.stderr
