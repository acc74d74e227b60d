"""scripts/install-deps.sh: its package list and its file checks agree, and the
check fails, naming the files and their package, when a package's files are gone.

The first half asks dpkg which package owns each checked file and requires it
to be the listed package or one that package depends on (not merely
recommends, since the script installs without recommends). The second half runs
the check against a copy of the file-system root made of links to the checked
files, with one package's files left out at a time.
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

    def test_check_names_exactly_the_files_of_a_missing_package(self):
        files = checked_files()
        with tempfile.TemporaryDirectory(prefix="lumivane-deps.") as work:
            def mirror(leave_out):
                """A root holding links to the checked files, but for those of leave_out."""
                root = Path(work) / (leave_out or "all")
                for package, pattern in files:
                    if package == leave_out:
                        continue
                    for path in glob.glob(pattern):
                        link = root / path.lstrip("/")
                        link.parent.mkdir(parents=True, exist_ok=True)
                        if not link.exists():
                            link.symlink_to(path)
                return root

            whole = script("--check", "--root", str(mirror(None)))
            self.assertEqual(whole.returncode, 0, whole.stderr)
            for package in sorted({p for p, _ in files}):
                with self.subTest(package=package):
                    result = script("--check", "--root", str(mirror(package)))
                    self.assertEqual(result.returncode, 1)
                    last = result.stderr.strip().splitlines()[-1]
                    expected = ", ".join(f"{pattern} ({package})" for p, pattern in files if p == package)
                    self.assertEqual(last, f"install-deps: missing {expected}; install: {package}")
                    shutil.rmtree(Path(work) / package)

    def test_an_empty_file_or_a_program_that_cannot_run_counts_as_missing(self):
        files = checked_files()
        with tempfile.TemporaryDirectory(prefix="lumivane-deps.") as root:
            for package, pattern in files:
                for path in glob.glob(pattern):
                    copy = Path(root) / path.lstrip("/")
                    copy.parent.mkdir(parents=True, exist_ok=True)
                    # Marlett empty, Xvfb not executable; everything else a link.
                    if path.endswith("/marlett.ttf"):
                        copy.touch()
                    elif path == "/usr/bin/Xvfb":
                        copy.write_bytes(b"\x7fELF")
                        copy.chmod(0o644)
                    elif not copy.exists():
                        copy.symlink_to(path)
            result = script("--check", "--root", root)
            self.assertEqual(result.returncode, 1)
            self.assertEqual(result.stderr.strip().splitlines()[-1],
                             "install-deps: missing /usr/share/wine/fonts/marlett.ttf (fonts-wine), "
                             "/usr/bin/Xvfb (xvfb); install: fonts-wine xvfb")


if __name__ == "__main__":
    if shutil.which("dpkg-query") is None:
        print("no dpkg-query: the package list can only be compared on Debian")
        sys.exit(SKIP)
    unittest.main(verbosity=2)
