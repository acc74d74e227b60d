"""The tray icon and its popup menu: which clicks open it, Escape, Customize,
Exit, and the icon's return after the shell announces a new taskbar."""

import itertools
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
from harness import Session, run  # noqa: E402

_aim = itertools.count()


def program_pid(s):
    pids = s.program_pids()
    assert len(pids) == 1, f"program processes: {pids}"
    return pids[0]


def menu_of(s, pid, timeout=5):
    return s.find_window(cls="#32768", pid=pid, visible=True, timeout=timeout)


def open_menu(s, pid, timeout=20):
    """Right-clicks the tray slot until the menu shows: the icon appears a
    moment after the hub window."""
    x, y = s.tray_icon_point()

    def attempt():
        # A pointer already at the target makes xdotool's synchronous move wait
        # for a motion that never comes: each try aims at another pixel of the icon.
        s.click(x + next(_aim) % 5 - 2, y, button=3)
        return menu_of(s, pid, timeout=1)
    return s.wait_for(attempt, timeout=timeout, what="the popup menu after a right click on the tray icon")


def no_menu_after(s, pid, action):
    action()
    assert menu_of(s, pid, timeout=1.5) is None, "a popup menu opened"


def test_right_click_opens_the_menu_other_clicks_do_not():
    with Session("tray-clicks") as s:
        s.install()
        s.start()
        pid = program_pid(s)
        menu = open_menu(s, pid)
        s.screenshot("menu-open")
        # The default first start has one folder; the menu is tall enough for
        # the headings, "1. C:\", the actions, the options and Exit.
        assert menu.h > 150 and menu.w > 60, f"menu rectangle {menu}"
        tray = s.tray_window()
        assert menu.y + menu.h <= tray.y + tray.h + 1

        s.keys("Escape")
        s.wait_for(lambda: menu_of(s, pid, timeout=0) is None, what="the menu to close")
        assert s.is_running()
        hub = s.hub_window()
        assert hub is not None and not hub.visible, "Escape ran an action"

        x, y = s.tray_icon_point()
        no_menu_after(s, pid, lambda: s.click(x - 3, y, button=1))
        no_menu_after(s, pid, lambda: s.double_click(x + 3, y, button=1))
        no_menu_after(s, pid, lambda: s.move(x, y - 3))
        assert not s.hub_window().visible

        # The icon still answers after all that.
        open_menu(s, pid)
        s.keys("Escape")
        s.wait_for(lambda: menu_of(s, pid, timeout=0) is None, what="the menu to close")


def test_customize_shows_the_window_and_exit_ends_the_program():
    with Session("tray-customize-exit") as s:
        s.install()
        s.start()
        s.wait_for(lambda: s.settings_file.exists(), what="the settings file")
        before = s.settings_file.read_bytes()
        pid = program_pid(s)

        open_menu(s, pid)
        # From the bottom: Exit, (separator), About, Customize.
        s.keys("Up", "Up", "Up", "Return")
        s.wait_for(lambda: s.hub_window() and s.hub_window().visible, what="the customize window")
        s.screenshot("customize-shown")

        open_menu(s, pid)
        s.keys("Up", "Return")
        s.wait_exit(timeout=15)
        assert s.settings_file.read_bytes() == before


def test_icon_comes_back_when_the_taskbar_is_created():
    with Session("tray-taskbar-created") as s:
        s.install()
        s.start()
        pid = program_pid(s)
        open_menu(s, pid)
        s.keys("Escape")
        s.wait_for(lambda: menu_of(s, pid, timeout=0) is None, what="the menu to close")

        hub = s.hub_window()
        assert s.probe("tray-delete", hex(hub.hwnd), "1").returncode == 0, "the icon was not there to remove"
        x, y = s.tray_icon_point()
        no_menu_after(s, pid, lambda: s.click(x + 3, y + 1, button=3))
        s.screenshot("icon-gone")

        s.probe("taskbar-created")
        open_menu(s, pid, timeout=10)
        s.keys("Escape")
        assert s.is_running()


if __name__ == "__main__":
    run([
        test_right_click_opens_the_menu_other_clicks_do_not,
        test_customize_shows_the_window_and_exit_ends_the_program,
        test_icon_comes_back_when_the_taskbar_is_created,
    ])
