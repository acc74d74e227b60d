"""The actions of the popup menu in the Wine desktop: folder items, the screen
saver, the monitor power-off with its cover window, and the CD door items."""

import ctypes
import itertools
import os
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
from harness import Session, run  # noqa: E402

COVER_CLASS = "LumivaneTurnMonOff"
_aim = itertools.count()
SETTINGS_HEAD = b"Lumivane\r\nVersion= 1.0\r\n\r\n[Folders]\r\n"


def settings_bytes(*slots):
    lines = list(slots) + [""] * (10 - len(slots))
    return SETTINGS_HEAD + b"".join(s.encode("latin-1") + b"\r\n" for s in lines)


def program_pid(s):
    pids = s.program_pids()
    assert len(pids) == 1, f"program processes: {pids}"
    return pids[0]


def open_menu(s, pid, timeout=20):
    """Right-clicks the tray slot until the menu shows: the icon appears a
    moment after the hub window."""
    x, y = s.tray_icon_point()

    def attempt():
        # A pointer already at the target makes xdotool's synchronous move wait
        # for a motion that never comes: each try aims at another pixel.
        s.click(x + next(_aim) % 5 - 2, y, button=3)
        return s.find_window(cls="#32768", pid=pid, visible=True, timeout=1)
    return s.wait_for(attempt, timeout=timeout, what="the popup menu")


def choose(s, pid, downs):
    """Opens the menu and chooses the item that many Down presses from the top.
    Headings and separators are not stops; the items are known from the test's
    own set-up: the CD door items, one line per filled slot, "Run Screen
    Saver", "Turn Monitor Off"."""
    open_menu(s, pid)
    s.keys(*(["Down"] * downs), "Return")
    s.wait_for(lambda: s.find_window(cls="#32768", pid=pid, visible=True, timeout=0) is None,
               what="the menu to close")


def run_screen_saver_line(folders, cd_items=0):
    return cd_items + folders + 1


def turn_monitor_off_line(folders, cd_items=0):
    return run_screen_saver_line(folders, cd_items) + 1


def screen_saver(s, on):
    """Switches the X server's screen saver, which is what Wine answers from
    once the program has a window."""
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XSetScreenSaver.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_int]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(s.env["DISPLAY"].encode())
    assert display, "cannot reach the test's X display"
    x11.XSetScreenSaver(display, 600 if on else 0, 600, 1, 1)
    x11.XCloseDisplay(display)


def start_logging_processes(s):
    """Has Wine note every process the program starts, with its command line,
    and every media control command string."""
    s.start_desktop()
    s.env["WINEDEBUG"] = "-all,+process,+mci"


def sent_mci_strings(s):
    out = []
    for log in sorted(s.work.glob("spawn-*.log")):
        for line in log.read_text(errors="replace").splitlines():
            # The call itself, "mciSendStringW (L"<command>", ...)", not the
            # lines that trace its parsing.
            if "mciSendStringW (L\"" in line:
                out.append(line.split('(L"', 1)[1].split('"', 1)[0])
    return out


def started_command_lines(s):
    """The command lines given to CreateProcess, as Wine notes them (backslashes
    doubled)."""
    lines = []
    for log in sorted(s.work.glob("spawn-*.log")):
        for line in log.read_text(errors="replace").splitlines():
            if "CreateProcessInternalW" in line and ' cmdline L"' in line:
                lines.append(line.split(' cmdline L"', 1)[1].rsplit('"', 1)[0])
    return lines


def test_folder_items_open_the_file_manager_or_say_the_folder_is_missing():
    with Session("actions-folders") as s:
        s.install()
        s.settings_file.write_bytes(settings_bytes("C:\\windows", "C:\\No Such Folder"))
        start_logging_processes(s)
        s.start()
        pid = program_pid(s)

        choose(s, pid, 1)  # "1. C:\windows"
        explorer = s.find_window(cls="ExplorerWClass", visible=True, timeout=20)
        assert explorer is not None, "no file manager window"
        assert explorer.pid != pid
        assert "Explorer C:\\\\windows" in started_command_lines(s)
        s.screenshot("file-manager")
        s.close_window(explorer)

        choose(s, pid, 2)  # "2. C:\No Such Folder"
        box = s.message_box("Folder Does Not Exist")
        assert box is not None, "no 'Folder Does Not Exist' message"
        assert box.pid == pid
        controls = s.child_texts(box)
        assert any(cid == 1088 for cid, _, _ in controls), "the box shows no icon"
        buttons = [(cid, text) for cid, cls, text in controls if cls.lower() == "button"]
        assert buttons == [(1, "OK")], f"buttons: {buttons}"
        s.screenshot("folder-does-not-exist")
        s.click_button(box, 1)
        s.wait_for(lambda: s.message_box("Folder Does Not Exist", timeout=0) is None, what="the box to close")
        assert s.is_running()


def test_screen_saver_off_says_so_then_opens_the_display_settings():
    with Session("actions-screen-saver") as s:
        s.install()
        start_logging_processes(s)
        s.start()
        pid = program_pid(s)
        screen_saver(s, on=False)

        choose(s, pid, run_screen_saver_line(folders=1))
        box = s.message_box("No Screen Saver is selected.")
        assert box is not None, "no 'No Screen Saver is selected.' message"
        s.screenshot("no-screen-saver")
        # Nothing is started while the box is up.
        assert not any("Control_RunDLL" in line for line in started_command_lines(s))
        s.click_button(box, 1)
        s.wait_for(lambda: "rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,1" in started_command_lines(s),
                   timeout=15, what="the display settings command")
        assert s.is_running()


def test_turn_monitor_off_shows_the_cover_window_and_a_key_closes_it():
    with Session("actions-monitor-off") as s:
        s.install()
        s.start()
        pid = program_pid(s)

        choose(s, pid, turn_monitor_off_line(folders=1))
        cover = s.find_window(cls=COVER_CLASS, visible=True, timeout=10)
        assert cover is not None, "no cover window"
        assert cover.pid == pid
        texts = [text for _, _, text in s.child_texts(cover)]
        assert "Turning Monitor Off" in texts and "Cancel" in texts, f"controls: {texts}"
        # No title bar: the outer size is the client's 237 by 138 pixels plus a thin border.
        assert 237 <= cover.w <= 243 and 138 <= cover.h <= 144, f"cover window {cover}"
        s.screenshot("cover-window")

        s.keys("A")
        s.wait_for(lambda: s.find_window(cls=COVER_CLASS, timeout=0) is None, what="the cover window to close")
        assert s.is_running()

        # Chosen again, a fresh window comes, and the third mouse move closes it.
        choose(s, pid, turn_monitor_off_line(folders=1))
        cover = s.find_window(cls=COVER_CLASS, visible=True, timeout=10)
        assert cover is not None
        cx, cy = cover.center
        for step in range(1, 20):
            s.move(cx - 40 + 4 * step, cy - 20 + 2 * step)
            if s.find_window(cls=COVER_CLASS, timeout=0) is None:
                break
        assert s.find_window(cls=COVER_CLASS, timeout=0) is None, "mouse moves did not close the cover window"


def test_cd_drive_items_are_listed_and_answer_without_a_disc():
    with Session("actions-cd-doors") as s:
        s.install()
        (s.prefix / "drive_c" / "cdrom").mkdir()
        link = s.prefix / "dosdevices" / "d:"
        if link.is_symlink() or link.exists():
            link.unlink()
        os.symlink("../drive_c/cdrom", link)
        s.wine("reg", "add", r"HKLM\Software\Wine\Drives", "/v", "d:", "/d", "cdrom", "/f", check=True)
        # The mount manager reads the drives when Wine starts.
        subprocess.run([s.wineserver, "-k"], env=s.env, timeout=30)
        start_logging_processes(s)
        s.start()
        pid = program_pid(s)

        # Open [D:], Close [D:], Open [D:] again on the alias left open: with no
        # disc each fails quietly, and the program takes the next right click.
        for downs in (1, 2, 1):
            choose(s, pid, downs)
        open_ = "Open D: Alias DriveD Type CDAudio"
        s.wait_for(lambda: len(sent_mci_strings(s)) >= 6, timeout=15, what="the door commands")
        assert sent_mci_strings(s) == [open_, "Set DriveD Door Open", open_, "Set DriveD Door Closed",
                                       open_, "Set DriveD Door Open"], sent_mci_strings(s)
        open_menu(s, pid, timeout=15)
        s.screenshot("cd-items")
        s.keys("Escape")
        assert s.is_running()
        assert s.message_box(timeout=1) is None


if __name__ == "__main__":
    run([
        test_folder_items_open_the_file_manager_or_say_the_folder_is_missing,
        test_screen_saver_off_says_so_then_opens_the_display_settings,
        test_turn_monitor_off_shows_the_cover_window_and_a_key_closes_it,
        test_cd_drive_items_are_listed_and_answer_without_a_disc,
    ])
