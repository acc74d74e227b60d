"""Start-up, the settings file beside the program, single instance, and the end
of the program when its hub window closes."""

import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
from harness import Session, run  # noqa: E402

DEFAULT_BYTES = b"Lumivane\r\nVersion= 1.0\r\n\r\n[Folders]\r\nC:\\\r\n" + b"\r\n" * 9


def test_first_start_writes_default_file_and_shows_no_window():
    with Session("startup-first") as s:
        s.install()
        assert not s.settings_file.exists()
        s.start()
        s.wait_for(lambda: s.settings_file.exists(), what="the settings file")
        assert s.settings_file.read_bytes() == DEFAULT_BYTES
        pids = s.program_pids()
        assert len(pids) == 1
        shown = [w for w in s.windows() if w.pid == pids[0] and w.visible]
        assert shown == [], f"visible windows: {shown}"
        s.screenshot("idle-desktop")


def test_second_copy_says_already_running_and_ends():
    with Session("startup-second-copy") as s:
        s.install()
        s.start()
        s.wait_for(lambda: s.settings_file.exists(), what="the settings file")
        first = s.program_pids()
        before = s.settings_file.stat()

        s.start(wait=False)
        box = s.message_box("Already running")
        assert box is not None, "no 'Already running' message box"
        controls = s.child_texts(box)
        assert any(cid == 1088 for cid, _, _ in controls), "the box shows no icon"
        buttons = [(cid, text) for cid, cls, text in controls if cls.lower() == "button"]
        assert buttons == [(1, "OK")], f"buttons: {buttons}"
        s.screenshot("already-running")

        s.click_button(box, 1)
        s.wait_for(lambda: s.program_pids() == first, timeout=15, what="the second copy to end")
        assert s.hub_window() is not None
        after = s.settings_file.stat()
        assert (after.st_mtime_ns, after.st_size) == (before.st_mtime_ns, before.st_size)
        assert s.settings_file.read_bytes() == DEFAULT_BYTES


def test_closing_the_hub_window_ends_the_program():
    with Session("startup-close") as s:
        s.install()
        s.start()
        s.close_window(s.hub_window())
        s.wait_exit()


def test_existing_file_is_read_not_rewritten():
    with Session("startup-existing") as s:
        s.install()
        content = b"Lumivane\r\nVersion= 1.0\r\n\r\n[Folders]\r\n C:\\windows \r\n\r\nC:\\users\r\n"
        s.settings_file.write_bytes(content)
        s.start()
        s.wait_for(lambda: s.hub_window() is not None)
        assert s.settings_file.read_bytes() == content


if __name__ == "__main__":
    run([
        test_first_start_writes_default_file_and_shows_no_window,
        test_second_copy_says_already_running_and_ends,
        test_closing_the_hub_window_ends_the_program,
        test_existing_file_is_read_not_rewritten,
    ])
