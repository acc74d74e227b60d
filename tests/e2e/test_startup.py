"""Start-up and the tray icon: the settings file, a hidden program with only its
icon, a second copy refused, an unknown command refused, the icon back after
shell restarts, Start with Windows, and the four ways the program ends (Exit,
the window closed, /exit, an installer's request to close)."""

import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
from harness import (CUSTOMIZE, DEFAULT_BYTES, DIALOG, EXIT, HEADING, HUB, START_WITH_WINDOWS,  # noqa: E402
                     Session, read_only, run, settings_bytes)

RUN_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Run"
USER_RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"


def run_value(s, key=RUN_KEY):
    """The data of the Run value "Lumivane", or None; it must be a REG_SZ."""
    for line in s.wine("reg", "query", key, "/v", "Lumivane").stdout.splitlines():
        parts = line.split(None, 2)
        if parts[:1] == ["Lumivane"]:
            assert parts[1] == "REG_SZ", line
            return parts[2] if len(parts) == 3 else ""
    return None


def test_first_start_second_copy_shell_restarts_and_exit():
    with Session("startup") as s:
        pid = s.start()
        s.wait_for(s.settings_file.exists, what="the settings file")
        assert (got := s.settings_file.read_bytes()) == DEFAULT_BYTES, got
        assert not s.user_settings_file.parent.exists(), "a writable program folder, yet a copy in the profile"
        assert (shown := [w for w in s.windows() if w.pid == pid and w.visible]) == [], shown
        s.screenshot("idle-desktop")

        # The right button opens the popup, Escape closes it; the left button opens nothing.
        s.choose(pid, "Escape", shot="menu-open")
        assert not s.hub_window().visible, "Escape ran an action"
        s.click(*s.tray_icon_point())
        assert s.menu(pid, timeout=1.5) is None, "a left click opened a menu"

        # A command handed over while the popup is open waits for it to close.
        s.open_menu(pid)
        assert s.command("/about").wait(timeout=15) == 0, "/about was not handed over"
        assert s.find_window(cls=DIALOG, pid=pid, visible=True, timeout=1.5) is None, "About opened inside the popup"
        s.keys("Escape")
        assert s.find_window(cls=DIALOG, pid=pid, visible=True) is not None, "no About box once the popup closed"
        s.keys("Escape")
        s.wait_for(lambda: not s.find_window(cls=DIALOG, pid=pid, visible=True, timeout=0), what="About to close")

        written = s.settings_file.stat().st_mtime_ns
        s.start(wait=False)
        box = s.message_box("Already running")
        assert box is not None and box.pid != pid, f"no 'Already running' from a second copy: {box}"
        s.screenshot("already-running")
        s.answer_ok(box)
        s.wait_for(lambda: s.program_pids() == [pid], timeout=15, what="the second copy to end")
        assert s.settings_file.stat().st_mtime_ns == written, "the second copy wrote the settings file"

        # A command it does not know: said with the list of commands, nothing handed over.
        unknown = s.command("/no-such-switch")
        box = s.message_box('"/no-such-switch" is not a command.  lumivane.exe COMMAND', beginning=True)
        assert box is not None and box.pid != pid, f"no message about the unknown command: {box}"
        s.screenshot("unknown-command")
        s.answer_ok(box)
        assert unknown.wait(timeout=15) == 2, "an unknown command did not end with exit code 2"
        assert s.program_pids() == [pid] and not s.hub_window().visible, "the running copy was disturbed"

        # A restarted shell has forgotten the icons and announces its new taskbar.
        hub = s.hub_window()
        for round_ in range(3):
            assert s.probe("tray-delete", hex(hub.hwnd), "1").returncode == 0, f"round {round_}: no icon"
            s.probe("taskbar-created")
            s.choose(pid, "Escape")
        assert s.probe("tray-delete", hex(hub.hwnd), "1").returncode == 0
        assert s.probe("tray-delete", hex(hub.hwnd), "1").returncode != 0, "the icon was added twice"
        s.probe("taskbar-created")

        s.choose(pid, *EXIT)
        s.wait_exit()
        assert (got := s.settings_file.read_bytes()) == DEFAULT_BYTES, got


def test_start_with_windows_and_a_short_existing_file():
    with Session("start-with-windows") as s:
        content = HEADING + b" C:\\windows \r\n\r\nC:\\users\r\n"
        s.settings_file.write_bytes(content)
        # A value found at start counts as on, whatever path it names.
        s.wine("reg", "add", RUN_KEY, "/v", "Lumivane", "/d", r"D:\Elsewhere\lumivane", "/f", check=True)
        pid = s.start()

        s.choose(pid, *START_WITH_WINDOWS)
        s.wait_for(lambda: run_value(s) is None, what="the Run value to go")
        s.choose(pid, *START_WITH_WINDOWS)
        s.wait_for(lambda: run_value(s) == r'"C:\Lumivane\lumivane"', what="the Run value")
        s.choose(pid, "Escape", shot="menu-load-at-startup")
        s.choose(pid, *START_WITH_WINDOWS)
        s.wait_for(lambda: run_value(s) is None, what="the Run value to go")
        assert s.find_window(cls=DIALOG, pid=pid, visible=True, timeout=1) is None, "a message showed"

        s.close_window(s.hub_window())
        s.wait_exit()
        assert (got := s.settings_file.read_bytes()) == content, got


def test_a_user_without_administrator_rights():
    """The machine's Run key refuses writes and the program's folder is read-only:
    start-up goes to the user's Run value and the folders to the user's copy,
    without a message."""
    prepared = settings_bytes(b"E:\\Team")  # an administrator's list beside the program
    with Session("standard-user") as s:
        s.settings_file.write_bytes(prepared)
        assert s.probe("read-only-key", RUN_KEY.split("\\", 1)[1]).returncode == 0, "the Run key stays writable"
        with read_only(s.program_dir):
            pid = s.start()
            s.wait_for(s.user_settings_file.exists, what="the user's copy of the settings file")
            assert (got := s.user_settings_file.read_bytes()) == prepared, got

            s.choose(pid, *START_WITH_WINDOWS)
            s.wait_for(lambda: run_value(s, USER_RUN_KEY) == r'"C:\Lumivane\lumivane"', what="the user's Run value")
            s.choose(pid, "Escape", shot="menu-load-at-startup-for-this-user")
            s.choose(pid, *START_WITH_WINDOWS)
            s.wait_for(lambda: run_value(s, USER_RUN_KEY) is None, what="the user's Run value to go")
            assert run_value(s) is None, "a machine-wide Run value appeared"

            s.choose(pid, *CUSTOMIZE)
            dialog = s.wait_for(lambda: s.find_window(cls=HUB, visible=True, timeout=0), what="the customize dialog")
            s.keys("Tab", "Tab", "Tab")  # from row 1's path to row 2's
            s.type_text("D:\\Saved")
            s.keys("Return")
            s.wait_for(lambda: not s.hub_window().visible, what="OK to save")
            s.wait_for(lambda: s.user_settings_file.read_bytes() == settings_bytes(b"E:\\Team", b"D:\\Saved"),
                       what="the folders in the user's copy")
            assert s.find_window(cls=DIALOG, pid=pid, visible=True, timeout=1) is None, "a message showed"
            s.close_window(dialog)
            s.wait_exit()

            pid = s.start()
            s.choose(pid, *CUSTOMIZE)
            dialog = s.wait_for(lambda: s.find_window(cls=HUB, visible=True, timeout=0), what="the customize dialog")
            texts = {cid: text for cid, _, text in s.child_texts(dialog)}
            assert (texts[100], texts[101]) == ("E:\\Team", "D:\\Saved"), texts
            s.screenshot("saved-folders-after-restart")
            # An installer has the Restart Manager ask the program to close: it agrees, ends, and its icon goes.
            assert s.probe("end-session", hex(dialog.hwnd)).returncode == 0, "the program refused to close"
            s.wait_exit()
            assert s.probe("tray-delete", hex(dialog.hwnd), "1").returncode != 0, "the icon stayed"
        assert (got := s.settings_file.read_bytes()) == prepared, got
        assert not [p.name for p in s.program_dir.iterdir() if p.name != "lumivane.exe" and p != s.settings_file]


APPROVED_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run"
MARK_ON = "020000000000000000000000"


def mark(s):
    """The bytes of the StartupApproved value "Lumivane" in hexadecimal, or None."""
    for line in s.wine("reg", "query", APPROVED_KEY, "/v", "Lumivane").stdout.splitlines():
        parts = line.split()
        if parts[:2] == ["Lumivane", "REG_BINARY"]:
            return parts[2].lower() if len(parts) == 3 else ""
    return None


def set_mark(s, hex_bytes):
    s.wine("reg", "add", APPROVED_KEY, "/v", "Lumivane", "/t", "REG_BINARY", "/d", hex_bytes, "/f", check=True)


def test_start_with_windows_switched_off_in_windows_list():
    with Session("start-with-windows-list") as s:
        # Switched off in Windows's own list: the Run value stays, its mark says off.
        s.wine("reg", "add", RUN_KEY, "/v", "Lumivane", "/d", r"D:\Elsewhere\lumivane", "/f", check=True)
        set_mark(s, "030000001779BD0117D9D101")
        pid = s.start()

        # Choosing the item while it says off starts the program again: the value
        # is written, the mark says on, and the next choice removes the value.
        s.choose(pid, *START_WITH_WINDOWS, shot="menu-marked-off")
        s.wait_for(lambda: mark(s) == MARK_ON, what="the mark to say on")
        assert (got := run_value(s)) == r'"C:\Lumivane\lumivane"', got

        # Switched off there again while the program runs: the next opening knows.
        set_mark(s, "0700000071C933AE16D9D101")
        s.choose(pid, *START_WITH_WINDOWS)
        s.wait_for(lambda: mark(s) == MARK_ON, what="the mark to say on again")
        assert (got := run_value(s)) == r'"C:\Lumivane\lumivane"', got

        s.choose(pid, *START_WITH_WINDOWS)
        s.wait_for(lambda: run_value(s) is None, what="the Run value to go")
        assert (got := mark(s)) == MARK_ON, f"switching off changed the mark: {got}"
        assert s.find_window(cls=DIALOG, pid=pid, visible=True, timeout=1) is None, "a message showed"

        # Ended from the command line: the copy goes, and its icon with it.
        hub = s.hub_window()
        assert s.command("/exit").wait(timeout=15) == 0, "/exit was not handed over"
        s.wait_exit()
        assert s.probe("tray-delete", hex(hub.hwnd), "1").returncode != 0, "the icon stayed"


if __name__ == "__main__":
    run(test_first_start_second_copy_shell_restarts_and_exit, test_start_with_windows_and_a_short_existing_file,
        test_start_with_windows_switched_off_in_windows_list, test_a_user_without_administrator_rights)
