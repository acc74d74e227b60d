"""Bad settings files and a read-only program folder: the real program must
start, keep running, and leave the user's file exactly as it was."""

import contextlib
import random
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
from harness import Session, run  # noqa: E402

HEAD = b"Lumivane\r\nVersion= 1.0\r\n\r\n[Folders]\r\n"


def slot_file(slot, text):
    return HEAD + b"".join((text if k == slot else b"") + b"\r\n" for k in range(10))


@contextlib.contextmanager
def read_only(folder):
    """Makes a folder refuse new entries and renames. Root ignores permission
    bits, so the folder is made immutable instead; it is released again even
    when the test fails."""
    done = subprocess.run(["chattr", "+i", str(folder)], capture_output=True, text=True)
    if done.returncode != 0:
        raise AssertionError(f"cannot make {folder} read-only here: {done.stderr.strip()}")
    try:
        yield
    finally:
        subprocess.run(["chattr", "-i", str(folder)], check=True)


def runs_and_keeps(s, expected_bytes, what):
    """Starts the program, checks that it is up and stays up, closes it, and
    checks that the settings file is byte for byte what it was."""
    s.start()
    pid = s.program_pids()
    assert len(pid) == 1, f"{what}: program pids {pid}"
    boxes = [w for w in s.windows() if w.pid == pid[0] and w.visible]
    assert boxes == [], f"{what}: the program shows {boxes}"
    if expected_bytes is None:
        assert not s.settings_file.exists(), f"{what}: a settings file appeared"
    else:
        assert s.settings_file.read_bytes() == expected_bytes, f"{what}: the file changed on start"
    s.close_window(s.hub_window())
    s.wait_exit()
    if expected_bytes is not None:
        assert s.settings_file.read_bytes() == expected_bytes, f"{what}: the file changed on exit"
    leftovers = sorted(p.name for p in s.program_dir.iterdir() if p.suffix.lower() == ".tmp")
    assert leftovers == [], f"{what}: temporary files left: {leftovers}"


def test_bad_files_are_read_and_left_alone():
    rng = random.Random(20261208)
    # The short and oddly ended files are read through the real hub window in
    # the Win32 tests; here the program itself meets the largest and worst.
    cases = [
        ("one line of 1 MiB", b"x" * (1 << 20)),
        ("a slot of 32,767 characters", slot_file(9, b"E:\\" + b"b" * 32764)),
        ("random binary bytes", bytes(rng.randrange(256) for _ in range(8192))),
    ]
    with Session("bad-settings-files") as s:
        s.install()
        for what, content in cases:
            s.settings_file.write_bytes(content)
            runs_and_keeps(s, content, what)


def test_read_only_program_folder():
    with Session("bad-settings-read-only") as s:
        s.install()
        # No file and no way to create one: the program runs on its defaults.
        with read_only(s.program_dir):
            runs_and_keeps(s, None, "read-only folder without a file")
        content = slot_file(0, b"C:\\Users")
        s.settings_file.write_bytes(content)
        with read_only(s.program_dir):
            runs_and_keeps(s, content, "read-only folder with a file")


if __name__ == "__main__":
    run([
        test_bad_files_are_read_and_left_alone,
        test_read_only_program_folder,
    ])
