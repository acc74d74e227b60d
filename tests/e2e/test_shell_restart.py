"""The shell going away and coming back, ten times: each time the new taskbar
is announced, the program's icon must come back and answer. Then the popup is
opened and closed by the mouse and the keyboard again and again.

Wine 8 cannot restart its desktop process inside a running desktop: a second
`explorer /desktop=...` dies on the old desktop's X window (BadWindow), so a
real restart cannot be done here. What a program sees of a restart is done
instead: the icon is taken out of the tray (as a new shell starts with none)
and "TaskbarCreated" is broadcast, as a new shell does once its taskbar is up.
"""

import itertools
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
from harness import Session, run  # noqa: E402

ROUNDS = 10
POPUPS = 10
ICON_ID = "1"
_aim = itertools.count()


def menu_of(s, pid, timeout):
    return s.find_window(cls="#32768", pid=pid, visible=True, timeout=timeout)


def right_click_icon(s):
    x, y = s.tray_icon_point()
    # Another pixel each time: xdotool's synchronous move waits for a motion.
    s.click(x + next(_aim) % 5 - 2, y, button=3)


def open_menu(s, pid, timeout=20):
    def attempt():
        right_click_icon(s)
        return menu_of(s, pid, timeout=1)
    return s.wait_for(attempt, timeout=timeout, what="the popup menu on the tray icon")


def close_menu(s, pid):
    s.keys("Escape")
    s.wait_for(lambda: menu_of(s, pid, timeout=0) is None, what="the menu to close")


def test_icon_comes_back_after_every_shell_restart():
    with Session("shell-restart") as s:
        s.install()
        s.start()
        pids = s.program_pids()
        assert len(pids) == 1
        pid = pids[0]
        hub = s.hub_window()
        open_menu(s, pid)
        close_menu(s, pid)
        for round_ in range(ROUNDS):
            gone = s.probe("tray-delete", hex(hub.hwnd), ICON_ID)
            assert gone.returncode == 0, f"round {round_}: the icon was not in the tray"
            if round_ == 0:
                right_click_icon(s)
                assert menu_of(s, pid, timeout=1) is None, "a menu opened with the icon gone"
            s.probe("taskbar-created")
            open_menu(s, pid, timeout=10)
            if round_ == ROUNDS - 1:
                s.screenshot("menu-after-last-restart")
            # The next round's two probes take longer than the menu needs to close.
            s.keys("Escape")
        close_menu(s, pid)
        assert s.program_pids() == [pid], f"program processes {s.program_pids()}"

        for round_ in range(POPUPS):
            open_menu(s, pid, timeout=10)
            s.keys("Escape")
        close_menu(s, pid)
        assert s.program_pids() == [pid], f"after {POPUPS} popups: program processes {s.program_pids()}"
        assert s.hub_window() is not None and not s.hub_window().visible
        # One icon, not one per restart: a second removal finds nothing left.
        assert s.probe("tray-delete", hex(hub.hwnd), ICON_ID).returncode == 0
        assert s.probe("tray-delete", hex(hub.hwnd), ICON_ID).returncode != 0, "the icon was added twice"


if __name__ == "__main__":
    run([test_icon_comes_back_after_every_shell_restart])
