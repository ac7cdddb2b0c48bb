"""The release package is reproducible: the same commit, built in two fresh
folders of different names one after the other, gives the same zip byte for
byte (no link time or build folder in the program, the commit's time on
every entry). Where the checkout has no uncommitted change, its own package
(scripts/package, run before) must be that zip too."""

import hashlib
import pathlib
import shutil
import subprocess
import zipfile

ROOT = pathlib.Path(__file__).resolve().parents[2]
WORK = ROOT / "build" / "reproducible"


def git(*args, cwd=ROOT):
    return subprocess.run(["git", *args], cwd=cwd, check=True, capture_output=True, text=True).stdout.strip()


def package_in(folder, commit):
    """A clone of the commit in `folder`, packaged there: the zip's path."""
    subprocess.run(["git", "clone", "--quiet", "--shared", "--no-checkout", str(ROOT), str(folder)], check=True)
    git("checkout", "--quiet", "--detach", commit, cwd=folder)
    out = subprocess.run([str(folder / "scripts" / "package")], check=True, capture_output=True, text=True).stdout
    return pathlib.Path(out.strip().splitlines()[-1])


def digest(path):
    return hashlib.sha256(path.read_bytes()).hexdigest()


def differences(first, second):
    """The entries whose bytes or headers differ, to say what broke."""
    with zipfile.ZipFile(first) as a, zipfile.ZipFile(second) as b:
        one = {i.filename: (i.date_time, i.external_attr, a.read(i)) for i in a.infolist()}
        two = {i.filename: (i.date_time, i.external_attr, b.read(i)) for i in b.infolist()}
    return sorted(name for name in one.keys() | two.keys() if one.get(name) != two.get(name))


def test_the_same_commit_gives_the_same_zip_in_any_folder():
    commit = git("rev-parse", "HEAD")
    shutil.rmtree(WORK, ignore_errors=True)
    WORK.mkdir(parents=True)
    try:
        first = package_in(WORK / "a", commit)
        second = package_in(WORK / "second build folder", commit)
        assert first.name == second.name
        assert digest(first) == digest(second), \
            f"the two packages differ in {differences(first, second) or 'the zip itself'}"
        own = ROOT / "build" / "package" / first.name
        if own.exists() and not git("status", "--porcelain", "--untracked-files=no"):
            assert digest(own) == digest(first), \
                f"the checkout's package differs in {differences(own, first) or 'the zip itself'}"
    finally:
        shutil.rmtree(WORK, ignore_errors=True)
