"""Bad settings files and a read-only program folder: the real program starts,
shows nothing, ends when told, and leaves the user's file exactly as it was."""

import contextlib
import random
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
from harness import Session, read_only, run, settings_bytes  # noqa: E402


def test_bad_files_and_a_read_only_folder_are_left_alone():
    rng = random.Random(20261208)
    # Short and oddly ended files are read by the hub window in the Win32 tests;
    # here the program itself meets the largest and worst, and a folder it cannot write.
    cases = [
        ("one line of 1 MiB", b"x" * (1 << 20), False),
        ("a slot of 32,767 characters", settings_bytes(*[b""] * 9, b"E:\\" + b"b" * 32764), False),
        ("random binary bytes", bytes(rng.randrange(256) for _ in range(8192)), False),
        ("a read-only folder without a file", None, True),
        ("a read-only folder with a file", settings_bytes(b"C:\\Users"), True),
    ]
    with Session("bad-settings") as s:
        for what, content, locked in cases:
            if content is None:
                s.settings_file.unlink()
            else:
                s.settings_file.write_bytes(content)
            with read_only(s.program_dir) if locked else contextlib.nullcontext():
                pid = s.start()
                shown = [w for w in s.windows() if w.pid == pid and w.visible]
                assert shown == [], f"{what}: the program shows {shown}"
                s.close_window(s.hub_window())
                s.wait_exit()
            if content is None:
                assert not s.settings_file.exists(), f"{what}: a settings file appeared"
            else:
                assert s.settings_file.read_bytes() == content, f"{what}: the file changed"
            leftovers = [p.name for p in s.program_dir.iterdir() if p.suffix.lower() == ".tmp"]
            assert leftovers == [], f"{what}: temporary files left: {leftovers}"


if __name__ == "__main__":
    run(test_bad_files_and_a_read_only_folder_are_left_alone)
