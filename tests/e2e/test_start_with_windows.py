"""Start with Windows from the tray menu: the machine's Run value is written
with the program's quoted path, and removed again by the next choice."""

import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
from harness import Session, run  # noqa: E402

RUN_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Run"
EXPECTED = r'"C:\Lumivane\lumivane"'


def run_value(s):
    """The data of the Run value "Lumivane" as reg shows it, or None."""
    result = s.wine("reg", "query", RUN_KEY, "/v", "Lumivane")
    for line in result.stdout.splitlines():
        parts = line.split(None, 2)
        if len(parts) >= 2 and parts[0] == "Lumivane":
            assert parts[1] == "REG_SZ", f"value type: {line}"
            return parts[2] if len(parts) == 3 else ""
    return None


def program_pid(s):
    pids = s.program_pids()
    assert len(pids) == 1, f"program processes: {pids}"
    return pids[0]


def open_menu(s, pid, timeout=20):
    def attempt():
        s.right_click_tray()
        return s.find_window(cls="#32768", pid=pid, visible=True, timeout=1)
    return s.wait_for(attempt, timeout=timeout, what="the popup menu")


def choose_startup_item(s, pid):
    # From the bottom: Exit, (separator), About, Customize, the start-up item.
    open_menu(s, pid)
    s.keys("Up", "Up", "Up", "Up", "Return")


def test_choosing_the_item_writes_then_deletes_the_value():
    with Session("startup-toggle") as s:
        s.wine("reg", "delete", RUN_KEY, "/v", "Lumivane", "/f")
        s.install()
        s.start()
        pid = program_pid(s)
        assert run_value(s) is None

        choose_startup_item(s, pid)
        s.wait_for(lambda: run_value(s) == EXPECTED, what="the Run value")
        open_menu(s, pid)
        s.screenshot("menu-load-at-startup")
        s.keys("Escape")

        choose_startup_item(s, pid)
        s.wait_for(lambda: run_value(s) is None, what="the Run value to go")
        open_menu(s, pid)
        s.screenshot("menu-dont-load-at-startup")
        s.keys("Escape")
        assert s.message_box(timeout=1) is None
        assert s.is_running()


def test_a_value_found_at_start_counts_and_is_deleted():
    with Session("startup-found") as s:
        s.wine("reg", "add", RUN_KEY, "/v", "Lumivane", "/t", "REG_SZ", "/d", r"D:\Elsewhere\lumivane", "/f")
        s.install()
        s.start()
        pid = program_pid(s)
        choose_startup_item(s, pid)
        s.wait_for(lambda: run_value(s) is None, what="the Run value to go")


if __name__ == "__main__":
    run([
        test_choosing_the_item_writes_then_deletes_the_value,
        test_a_value_found_at_start_counts_and_is_deleted,
    ])
