"""Folder items whose paths hold a comma, "&", blanks or characters outside the
ANSI code page, and slots that name a file or a missing drive: the right folder
opens, or the program says it does not exist; it keeps running and the settings
file stays as it was."""

import itertools
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
from harness import Session, run  # noqa: E402

HEAD = "Lumivane\r\nVersion= 1.0\r\n\r\n[Folders]\r\n"
# (slot text, name of the folder the file manager must show, or None when the
# program must say the folder does not exist)
SLOTS = [
    ("C:\\a,b", "a,b"),
    ("C:\\Tom & Jerry", "Tom & Jerry"),
    ("C:\\\u65e5\u672c \u00e9t\u00e9", "\u65e5\u672c \u00e9t\u00e9"),
    ("C:\\windows\\win.ini", None),
    ("Q:\\Nowhere", None),
]
_aim = itertools.count()


def open_menu(s, pid, timeout=20):
    x, y = s.tray_icon_point()

    def attempt():
        s.click(x + next(_aim) % 5 - 2, y, button=3)
        return s.find_window(cls="#32768", pid=pid, visible=True, timeout=1)
    return s.wait_for(attempt, timeout=timeout, what="the popup menu")


def choose_folder(s, pid, number):
    """Folder item `number` (1-based): no CD drive exists in the test prefix and
    the headings cannot be selected, so the folders are the first items the
    keyboard reaches."""
    open_menu(s, pid)
    s.keys(*(["Down"] * number), "Return")
    s.wait_for(lambda: s.find_window(cls="#32768", pid=pid, visible=True, timeout=0) is None,
               what="the menu to close")


def test_odd_folder_paths_open_the_right_folder_or_say_so():
    with Session("bad-folders") as s:
        s.install()
        drive_c = s.prefix / "drive_c"
        # The folder before the comma exists too: a split path would open it.
        (drive_c / "a").mkdir()
        for text, name in SLOTS:
            if name is not None:
                (drive_c / name).mkdir()
        # One path has no ANSI form: the program keeps such a file in UTF-8.
        content = b"\xef\xbb\xbf" + (HEAD + "".join(t + "\r\n" for t, _ in SLOTS) + "\r\n" * (10 - len(SLOTS))).encode()
        s.settings_file.write_bytes(content)
        s.start()
        pids = s.program_pids()
        assert len(pids) == 1
        pid = pids[0]

        for number, (text, name) in enumerate(SLOTS, start=1):
            if name is None:
                choose_folder(s, pid, number)
                box = s.message_box("Folder Does Not Exist")
                assert box is not None, f"{text}: no 'Folder Does Not Exist'"
                s.click_button(box, 1)
                s.wait_for(lambda: s.message_box("Folder Does Not Exist", timeout=0) is None,
                           what="the box to close")
                continue
            choose_folder(s, pid, number)
            explorer = s.find_window(cls="ExplorerWClass", visible=True, timeout=20)
            assert explorer is not None, f"{text}: no file manager window"
            assert explorer.title == name, f"{text}: the file manager shows {explorer.title!r}"
            if number == 1:
                s.screenshot("comma-folder")
            s.close_window(explorer)
            s.wait_for(lambda: s.find_window(cls="ExplorerWClass", timeout=0) is None,
                       what="the file manager to close")

        assert s.program_pids() == [pid]
        assert s.settings_file.read_bytes() == content


if __name__ == "__main__":
    run([test_odd_folder_paths_open_the_right_folder_or_say_so])
