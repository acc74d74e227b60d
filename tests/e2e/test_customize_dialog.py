"""The customize dialog as the user meets it: shown by "Customize", OK saves,
Cancel restores, keys work, a cancelled picker keeps the row, Exit saves nothing."""

import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
from harness import Session, run  # noqa: E402

HEADING = b"Lumivane\r\nVersion= 1.0\r\n\r\n[Folders]\r\n"
DEFAULT_BYTES = HEADING + b"C:\\\r\n" + b"\r\n" * 9
TEXT1, BROWSE, CLEAR, OK, CANCEL = 100, 140, 160, 1, 2


def program_pid(s):
    pids = s.program_pids()
    assert len(pids) == 1, f"program processes: {pids}"
    return pids[0]


def open_menu(s, pid, timeout=20):
    def attempt():
        s.right_click_tray()
        return s.find_window(cls="#32768", pid=pid, visible=True, timeout=1)
    return s.wait_for(attempt, timeout=timeout, what="the popup menu")


def close_menu(s, pid):
    s.keys("Escape")
    s.wait_for(lambda: s.find_window(cls="#32768", pid=pid, visible=True, timeout=0) is None,
               what="the menu to close")


def customize(s, pid):
    """Chooses "Customize" and returns the shown dialog."""
    open_menu(s, pid)
    s.keys("Up", "Up", "Up", "Return")
    s.wait_for(lambda: s.find_window(cls="#32768", pid=pid, visible=True, timeout=0) is None,
               what="the menu to close")
    return s.wait_for(lambda: (w := s.hub_window()) and w.visible and w, what="the customize dialog")


def hidden(s):
    w = s.hub_window()
    return w is not None and not w.visible


def box(s, dialog, slot):
    for cid, _, text in s.child_texts(dialog):
        if cid == TEXT1 + slot:
            return text
    raise AssertionError(f"no path box {slot}")


def start(s):
    s.install()
    s.start()
    s.wait_for(lambda: s.settings_file.exists(), what="the settings file")
    return program_pid(s)


def test_customize_shows_the_dialog_and_clear_ok_saves():
    with Session("dialog-clear-ok") as s:
        pid = start(s)
        open_menu(s, pid)
        full_menu = s.find_window(cls="#32768", pid=pid, visible=True)
        close_menu(s, pid)

        dialog = customize(s, pid)
        s.screenshot("customize-dialog")
        texts = [t for _, _, t in s.child_texts(dialog)]
        for expected in ["Select Folders", "1.", "10.", "Browse", "Clear", "OK", "Cancel"]:
            assert expected in texts, f"{expected!r} not in {texts}"
        assert dialog.title == ""
        assert box(s, dialog, 0) == "C:\\"

        s.click_button(dialog, CLEAR + 0)
        s.wait_for(lambda: box(s, dialog, 0) == "", what="row 1 to clear")
        s.click_button(dialog, OK)
        s.wait_for(lambda: hidden(s), what="the dialog to hide")
        assert s.settings_file.read_bytes() == HEADING + b"\r\n" * 10

        # The folder item is gone from the next popup, which is one line shorter.
        menu = open_menu(s, pid)
        assert menu.h < full_menu.h, f"menu height {menu.h} not below {full_menu.h}"
        close_menu(s, pid)


def test_clear_then_cancel_restores_and_leaves_the_file():
    with Session("dialog-clear-cancel") as s:
        pid = start(s)
        before = s.settings_file.stat()
        dialog = customize(s, pid)
        s.click_button(dialog, CLEAR + 0)
        s.wait_for(lambda: box(s, dialog, 0) == "", what="row 1 to clear")
        s.click_button(dialog, CANCEL)
        s.wait_for(lambda: hidden(s), what="the dialog to hide")
        assert box(s, s.hub_window(), 0) == "C:\\"
        after = s.settings_file.stat()
        assert (after.st_mtime_ns, after.st_size) == (before.st_mtime_ns, before.st_size)
        assert s.settings_file.read_bytes() == DEFAULT_BYTES

        # "Customize" again shows the saved list, not the discarded edit.
        dialog = customize(s, pid)
        assert box(s, dialog, 0) == "C:\\"


def test_typed_text_tab_and_enter_save():
    with Session("dialog-typed") as s:
        pid = start(s)
        customize(s, pid)
        # The focus starts in row 1; Tab passes its Browse and Clear to row 2.
        s.keys("Tab", "Tab", "Tab")
        s.type_text(r"D:\Typed Folder")
        s.screenshot("typed")
        s.keys("Return")
        s.wait_for(lambda: hidden(s), what="Enter to press OK")
        assert s.settings_file.read_bytes() == HEADING + b"C:\\\r\nD:\\Typed Folder\r\n" + b"\r\n" * 8


def test_escape_cancels():
    with Session("dialog-escape") as s:
        pid = start(s)
        dialog = customize(s, pid)
        s.keys("Tab", "Tab", "Tab")
        s.type_text("discarded")
        s.wait_for(lambda: box(s, dialog, 1) == "discarded", what="the typed text")
        s.keys("Escape")
        s.wait_for(lambda: hidden(s), what="Escape to press Cancel")
        assert box(s, s.hub_window(), 1) == ""
        assert s.settings_file.read_bytes() == DEFAULT_BYTES


def test_a_cancelled_picker_keeps_the_row():
    with Session("dialog-picker-cancel") as s:
        pid = start(s)
        dialog = customize(s, pid)
        s.click_button(dialog, BROWSE + 0)
        picker = s.find_window(cls="#32770", pid=pid, visible=True, timeout=15)
        assert picker is not None, "no folder picker"
        s.screenshot("picker")
        assert any(t == "Please select a folder:" for _, _, t in s.child_texts(picker))
        s.keys("Escape")
        s.wait_for(lambda: s.find_window(cls="#32770", pid=pid, visible=True, timeout=0) is None,
                   what="the picker to close")
        assert box(s, dialog, 0) == "C:\\"
        assert s.hub_window().visible


def test_customize_again_and_exit_while_shown_save_nothing():
    with Session("dialog-exit") as s:
        pid = start(s)
        dialog = customize(s, pid)
        s.click_button(dialog, CLEAR + 0)
        s.wait_for(lambda: box(s, dialog, 0) == "", what="row 1 to clear")
        again = customize(s, pid)
        assert (again.x, again.y) == (dialog.x, dialog.y)
        assert box(s, again, 0) == "", "Customize reloaded the boxes"

        open_menu(s, pid)
        s.keys("Up", "Return")
        s.wait_exit(timeout=15)
        assert s.settings_file.read_bytes() == DEFAULT_BYTES


if __name__ == "__main__":
    run([
        test_customize_shows_the_dialog_and_clear_ok_saves,
        test_clear_then_cancel_restores_and_leaves_the_file,
        test_typed_text_tab_and_enter_save,
        test_escape_cancels,
        test_a_cancelled_picker_keeps_the_row,
        test_customize_again_and_exit_while_shown_save_nothing,
    ])
