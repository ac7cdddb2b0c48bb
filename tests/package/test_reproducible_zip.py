"""scripts/reproducible-zip: what reaches the zip is the files' names and
bytes, the given time and whether a file may be run; nothing of the
machine, the clock or the time zone."""

import os
import pathlib
import subprocess
import zipfile

import pytest

ZIP = pathlib.Path(__file__).resolve().parents[2] / "scripts" / "reproducible-zip"
EPOCH_1980 = 315532800  # 1980-01-01 00:00:00 UTC, the first time a zip can hold


def make(folder, zip_path, epoch, tz="UTC", check=True):
    return subprocess.run([str(ZIP), str(folder), str(zip_path), str(epoch)], env=dict(os.environ, TZ=tz),
                          check=check, capture_output=True, text=True)


@pytest.fixture
def files(tmp_path):
    folder = tmp_path / "files"
    folder.mkdir()
    (folder / "b.txt").write_bytes(b"second\r\n")
    (folder / "A.exe").write_bytes(b"MZ" + bytes(range(256)) * 8)
    (folder / "A.exe").chmod(0o775)
    (folder / "c.ini").write_bytes(b"")
    return folder


def test_the_same_files_give_the_same_zip_whatever_the_machine(tmp_path, files):
    make(files, tmp_path / "first.zip", 1765371000)
    # Other times on disk, another umask's modes, another time zone.
    for path in files.iterdir():
        os.utime(path, (1, 2))
    (files / "b.txt").chmod(0o600)
    (files / "A.exe").chmod(0o700)
    make(files, tmp_path / "second.zip", 1765371000, tz="Asia/Tokyo")
    assert (tmp_path / "first.zip").read_bytes() == (tmp_path / "second.zip").read_bytes()

    with zipfile.ZipFile(tmp_path / "first.zip") as archive:
        entries = archive.infolist()
        assert [e.filename for e in entries] == ["A.exe", "b.txt", "c.ini"]
        assert {e.date_time for e in entries} == {(2025, 12, 10, 12, 50, 0)}
        assert [e.external_attr >> 16 for e in entries] == [0o100755, 0o100644, 0o100644]
        assert archive.read("A.exe") == (files / "A.exe").read_bytes()


@pytest.mark.parametrize("epoch, made", [(EPOCH_1980 - 1, False), (EPOCH_1980, True), (EPOCH_1980 + 2, True)])
def test_a_time_before_1980_is_refused(tmp_path, files, epoch, made):
    result = make(files, tmp_path / "out.zip", epoch, check=False)
    assert (result.returncode == 0) == made, result.stderr
    assert (tmp_path / "out.zip").exists() == made
    if made:
        with zipfile.ZipFile(tmp_path / "out.zip") as archive:
            assert archive.infolist()[0].date_time[:3] == (1980, 1, 1)
    else:
        assert "before 1980" in result.stderr


def test_a_folder_inside_is_refused(tmp_path, files):
    (files / "sub").mkdir()
    result = make(files, tmp_path / "out.zip", EPOCH_1980, check=False)
    assert result.returncode != 0 and "not a plain file" in result.stderr
    assert not (tmp_path / "out.zip").exists()
