"""The release package (scripts/package) installed as a game's developer
would: unpacked into a fresh game folder whose path has spaces, the game
beside it, the launcher started from there and "Game start" pressed."""

import hashlib
import re
import shutil
import struct
import types
import zipfile

import pytest

from conftest import BIN, I386_MODE, ROOT
from control_ids import RADIO_ITEMS, RUN
from launcher_window import LAUNCHER, LauncherRun
from test_options_and_game_start import read_report

PACKAGES = ROOT / "build" / "package"
CONTENTS = {"Ostrelund_Launcher.exe", "Texts.Ini", "Options_Game.ini", "README.txt", "SHA256SUMS"}


@pytest.fixture
def package():
    found = sorted(PACKAGES.glob("Ostrelund_Launcher-*-win32.zip"))
    if len(found) != 1:
        pytest.fail(f"expected one package in {PACKAGES}, found {found}: run scripts/package first")
    return found[0]


def package_version(zip_path):
    match = re.fullmatch(r"Ostrelund_Launcher-(\d+)\.(\d+)\.(\d+)-win32\.zip", zip_path.name)
    assert match, zip_path.name
    return tuple(int(part) for part in match.groups())


def file_version(exe):
    """The binary file version of the program's version resource."""
    data = exe.read_bytes()
    at = data.find(struct.pack("<I", 0xFEEF04BD))  # VS_FIXEDFILEINFO's signature
    assert at > 0, "no version resource"
    most, least = struct.unpack_from("<II", data, at + 8)
    return most >> 16, most & 0xFFFF, least >> 16, least & 0xFFFF


def string_value(data, key):
    """A value of the version resource's string table: the UTF-16 key, the
    padding to 32 bits, then the value up to its terminating zero."""
    at = data.find((key + "\0").encode("utf-16-le"))
    assert at > 0, f"no {key} in the version resource"
    at += 2 * (len(key) + 1)
    while data[at:at + 2] == b"\0\0":
        at += 2
    end = at
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[at:end].decode("utf-16-le")


def test_the_package_holds_what_a_game_folder_needs(package):
    version = package_version(package)
    text = ".".join(map(str, version))
    with zipfile.ZipFile(package) as archive:
        names = set(archive.namelist())
        assert names == CONTENTS  # flat: the files drop straight into a game folder
        files = {name: archive.read(name) for name in names}

    sums = {}
    for line in files["SHA256SUMS"].decode("ascii").splitlines():
        digest, name = line.split("  ", 1)
        sums[name] = digest
    assert sums == {name: hashlib.sha256(data).hexdigest()
                    for name, data in files.items() if name != "SHA256SUMS"}

    # The shipped program and the data of resources/game, unchanged.
    assert files["Ostrelund_Launcher.exe"][:2] == b"MZ"
    machine_at = struct.unpack_from("<I", files["Ostrelund_Launcher.exe"], 0x3C)[0] + 4
    assert struct.unpack_from("<H", files["Ostrelund_Launcher.exe"], machine_at)[0] == 0x14C  # i386
    for name in ("Texts.Ini", "Options_Game.ini"):
        assert files[name] == (ROOT / "resources" / "game" / name).read_bytes()

    readme = files["README.txt"].decode("ascii")
    assert readme.splitlines()[0] == f"Ostrelund Launcher, version {text}"
    assert "\n" not in readme.replace("\r\n", "")
    for fact in ("Ostrelund Beta", r"%LOCALAPPDATA%\Ostrelund\Options_Game.ini",
                 r"%LOCALAPPDATA%\Ostrelund_Launcher\Ostrelund_Launcher.log", "[Launcher]", "_Eng"):
        assert fact in readme


def test_the_version_resource_has_the_package_version(package, tmp_path):
    with zipfile.ZipFile(package) as archive:
        archive.extract("Ostrelund_Launcher.exe", tmp_path)
    exe = tmp_path / "Ostrelund_Launcher.exe"
    assert file_version(exe) == (*package_version(package), 0)
    assert string_value(exe.read_bytes(), "FileVersion") == ".".join(map(str, package_version(package)))


def install(wine, package):
    """The package unpacked into a fresh game folder whose path has spaces,
    the stand-in game beside it, and no player's options yet: (the folder,
    its Windows path, the player's options file)."""
    folder = wine.prefix / "drive_c" / "Program Files (x86)" / "Ostrelund Game"
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    with zipfile.ZipFile(package) as archive:
        archive.extractall(folder)
    if not I386_MODE:
        # The run tests another build (the x86_64 one under a 64-bit-only
        # Wine): it stands in for the package's launcher among its files.
        shutil.copy2(LAUNCHER, folder / LAUNCHER.name)
    shutil.copy2(BIN / "Ostrelund.exe", folder / "Ostrelund.exe")
    player_options = wine.local_appdata() / "Ostrelund" / "Options_Game.ini"
    shutil.rmtree(player_options.parent, ignore_errors=True)
    return folder, r"C:\Program Files (x86)\Ostrelund Game", player_options


def test_a_clean_install_from_the_package_starts_the_game(wine_run, package):
    folder, windows, player_options = install(wine_run, package)
    run = LauncherRun(wine_run, wine_run.env_for(), windows + "\\" + LAUNCHER.name)
    run.wait_window()
    assert player_options.read_bytes().replace(b"\r\n", b"\n") == \
        (folder / "Options_Game.ini").read_bytes().replace(b"\r\n", b"\n")
    run.probe.click(RUN)
    report = read_report(types.SimpleNamespace(path=folder))
    assert run.wait_exit() == 0

    lines = report.split(b"\r\n")
    assert lines[0] == b'CommandLine="' + windows.encode() + b'\\Ostrelund.exe" '
    assert lines[2] == b"MutexExisted=Yes"
    saved = player_options.read_bytes()
    assert report.split(b"Options_Game.ini:\r\n", 1)[1] == saved
    assert b"Global_Language=eng\r\n" in saved and b"Music_Enable=Yes\r\n" in saved


@pytest.mark.parametrize("lang, item, stored", [
    ("de_DE.UTF-8", 103, b"deu"),
    ("fr_FR.UTF-8", 104, b"fra"),
    ("ru_RU.UTF-8", 102, b"rus"),
])
def test_a_fresh_install_opens_in_the_systems_language(wine_run, package, lang, item, stored):
    # The shipped default options store no language, so the locale decides
    # until the player's choice is saved.
    _, windows, player_options = install(wine_run, package)
    run = LauncherRun(wine_run, wine_run.env_for(lang), windows + "\\" + LAUNCHER.name)
    window = run.wait_window()
    assert [i for i in RADIO_ITEMS if window[i]["check"] == 1] == [item]
    run.probe.click(RUN)
    assert run.wait_exit() == 0
    assert b"Global_Language=" + stored + b"\r\n" in player_options.read_bytes()
