"""scripts/install-deps.sh: its package list and its file checks agree, and the
check fails, naming the files and their package, when a package's files are gone.

dpkg must say each checked file belongs to the listed package or to one it
depends on (not merely recommends: the script installs without recommends).
"""

import glob
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

SCRIPT = Path(__file__).resolve().parents[2] / "scripts" / "install-deps.sh"
SKIP = 77  # no dpkg: not a Debian machine, nothing to compare with


def script(*args):
    return subprocess.run(["bash", str(SCRIPT), *args], capture_output=True, text=True, timeout=60)


def checked_files():
    """(package, pattern) for every file the script checks."""
    rows = script("--list").stdout.splitlines()
    return [tuple(row.split("\t")) for row in rows]


def installed_dependencies():
    """Package name -> the names its Depends and Pre-Depends name, every alternative included."""
    out = subprocess.run(["dpkg-query", "-W", "-f", "${Package}\t${Pre-Depends}, ${Depends}\n"],
                         capture_output=True, text=True, check=True).stdout
    depends = {}
    for line in out.splitlines():
        name, _, fields = line.partition("\t")
        names = depends.setdefault(name, set())
        for clause in fields.split(","):
            for alternative in clause.split("|"):
                word = alternative.strip().split(" ")[0].split(":")[0]
                if word:
                    names.add(word)
    return depends


def closure(package, depends):
    seen, todo = set(), [package]
    while todo:
        name = todo.pop()
        if name not in seen:
            seen.add(name)
            todo.extend(depends.get(name, ()))
    return seen


def owners(paths):
    """Path -> the package holding it, asking for the path first and then for its
    target (alternatives such as /usr/bin/import belong to no package themselves).
    One dpkg query for all the paths: each one reads dpkg's whole file list."""
    found = {}
    for ask in (lambda p: p, os.path.realpath):
        wanted = {ask(p): p for p in paths if p not in found}
        if not wanted:
            break
        out = subprocess.run(["dpkg-query", "-S", *wanted], capture_output=True, text=True).stdout
        for line in out.splitlines():
            holders, _, path = line.partition(": ")
            if path in wanted:
                found[wanted[path]] = holders.split(",")[0].split(":")[0].strip()
    return found


class InstallDeps(unittest.TestCase):
    def test_every_checked_file_comes_from_a_listed_package(self):
        listed = script("--packages").stdout.split()
        files = checked_files()
        self.assertTrue(files, "the script checks no files")
        depends = installed_dependencies()
        matches = {pattern: glob.glob(pattern) for _, pattern in files}
        holders = owners([path for paths in matches.values() for path in paths])
        for package, pattern in files:
            with self.subTest(file=pattern):
                self.assertIn(package, listed, f"{pattern} is checked as {package}'s, which is not installed")
                self.assertTrue(matches[pattern], f"{pattern} is not on this machine: run scripts/install-deps.sh")
                for path in matches[pattern]:
                    self.assertIn(path, holders, f"no package holds {path}")
                    self.assertTrue(holders[path] in closure(package, depends),
                                    f"{path} belongs to {holders[path]}, which {package} does not depend on")
        # A listed package that no check covers is installed for nothing, or
        # its files go unchecked.
        self.assertEqual(sorted(set(listed) - {p for p, _ in files}), [])

    def test_check_names_the_missing_files_and_their_package(self):
        """A root made of links to the checked files, one package's files left
        out at a time; then Marlett emptied and Xvfb not executable."""
        files = checked_files()

        def mirror(root, leave_out=None, spoil=False):
            for package, pattern in files:
                for path in glob.glob(pattern) if package != leave_out else ():
                    copy = Path(root) / path.lstrip("/")
                    copy.parent.mkdir(parents=True, exist_ok=True)
                    if spoil and path.endswith("/marlett.ttf"):
                        copy.touch()
                    elif spoil and path == "/usr/bin/Xvfb":
                        copy.write_bytes(b"\x7fELF")
                        copy.chmod(0o644)
                    elif not copy.exists():
                        copy.symlink_to(path)
            return script("--check", "--root", str(root))

        def last_error(result):
            self.assertEqual(result.returncode, 1)
            return result.stderr.strip().splitlines()[-1]

        with tempfile.TemporaryDirectory(prefix="lumivane-deps.") as work:
            whole = mirror(Path(work) / "all")
            self.assertEqual(whole.returncode, 0, whole.stderr)
            for package in sorted({p for p, _ in files}):
                with self.subTest(package=package):
                    expected = ", ".join(f"{pattern} ({package})" for p, pattern in files if p == package)
                    self.assertEqual(last_error(mirror(Path(work) / package, leave_out=package)),
                                     f"install-deps: missing {expected}; install: {package}")
                    shutil.rmtree(Path(work) / package)
            self.assertEqual(last_error(mirror(Path(work) / "spoilt", spoil=True)),
                             "install-deps: missing /usr/share/wine/fonts/marlett.ttf (fonts-wine), "
                             "/usr/bin/Xvfb (xvfb); install: fonts-wine xvfb")


if __name__ == "__main__":
    if shutil.which("dpkg-query") is None:
        print("no dpkg-query: the package list can only be compared on Debian")
        sys.exit(SKIP)
    unittest.main(verbosity=2)
