"""The About box: opened from the tray menu, closed with OK and Escape, the
secret label on the eighth opening, and System Info under Wine."""

import itertools
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
from harness import Session, run  # noqa: E402

CMD_OK, CMD_SYS_INFO, LABEL5 = 1, 102, 110
UNAVAILABLE = "System Information Is Unavailable At This Time"
EXPECTED_TEXTS = {
    1: "OK",
    102: "&System Info...",
    103: "Thanks to: ",
    104: "Lumivane By Orrindale",
    105: "Version 1.0",
    106: "https://example.org/lumivane",
    107: "email: lumivane@example.org",
    108: "The Tango Desktop Project (icons)",
    109: "The Wine project (testing)",
    110: "This is The Secret",
}
_aim = itertools.count()


def about_box(s, timeout=10):
    return s.find_window(title="Lumivane", cls="#32770", visible=True, timeout=timeout)


def open_about(s):
    """Right-clicks the tray slot until the menu shows (the icon appears a
    moment after the hub window), then chooses About: from the bottom, Exit,
    the separator, About."""
    assert about_box(s, timeout=0) is None, "an About box is already open"

    x, y = s.tray_icon_point()

    def menu_opened():
        # A pointer already at the target makes xdotool's synchronous move wait
        # for a motion that never comes: each click aims at another pixel.
        s.click(x + next(_aim) % 5 - 2, y, button=3)
        return s.popup_menu(timeout=1)

    # Keys sent in the instant the popup appears can reach the menu before it
    # takes the keyboard; then the menu stays open without a choice. Close it
    # and choose again, a bounded number of times.
    box = None
    for _ in range(3):
        s.wait_for(menu_opened, timeout=20, what="the tray menu")
        s.keys("Up", "Up", "Return")
        box = about_box(s, timeout=5)
        if box is not None:
            break
        if s.popup_menu(timeout=0) is not None:
            s.keys("Escape")
            s.wait_for(lambda: s.popup_menu(timeout=0) is None, timeout=10, what="the menu to close")
    assert box is not None, "About did not open the About box"
    return box


def children(s, box):
    """{id: (class, text, visible)} of the box's controls."""
    out = {}
    for line in s.probe("children", hex(box.hwnd)).stdout.splitlines():
        parts = line.split("\t")
        if len(parts) >= 4:
            out[int(parts[0])] = (parts[1], parts[2], parts[3] == "1")
    return out


def wait_closed(s, box):
    s.wait_for(lambda: all(w.hwnd != box.hwnd or not w.visible for w in s.windows()), what="the About box to close")


def process_running(s, name):
    return any(line.split("\t")[-1].lower() == name for line in s.probe("processes").stdout.splitlines())


def test_about_opens_from_the_tray_with_its_texts_and_ok_closes_it():
    with Session("about-open") as s:
        s.install()
        s.start()
        box = open_about(s)
        controls = children(s, box)
        for cid, text in EXPECTED_TEXTS.items():
            assert cid in controls, f"control {cid} missing"
            assert controls[cid][1] == text, f"control {cid}: {controls[cid][1]!r}"
        assert not controls[LABEL5][2], "the secret shows on the first opening"
        # A fixed box: its size is the layout's client area plus the frame.
        assert 382 <= box.w < 382 + 40 and 237 <= box.h < 237 + 60, (box.w, box.h)
        s.screenshot("about-box")
        s.click_button(box, CMD_OK)
        wait_closed(s, box)
        assert s.is_running()


def test_escape_closes_and_the_eighth_opening_shows_the_secret():
    with Session("about-eighth") as s:
        s.install()
        s.start()
        shown_on = []
        for opening in range(1, 10):
            box = open_about(s)
            if children(s, box)[LABEL5][2]:
                shown_on.append(opening)
                s.screenshot("about-eighth-opening")
            if opening % 2:
                s.keys("Escape")
            else:
                s.keys("Return")
            wait_closed(s, box)
        assert shown_on == [8], f"the secret showed on openings {shown_on}"


def test_system_info_starts_the_program_and_the_box_stays_open():
    with Session("about-sysinfo") as s:
        s.install()
        s.start()
        box = open_about(s)
        assert not process_running(s, "msinfo32.exe")
        s.click_button(box, CMD_SYS_INFO)
        s.wait_for(lambda: process_running(s, "msinfo32.exe"), timeout=20, what="msinfo32.exe to start")
        assert s.message_box(UNAVAILABLE, timeout=1) is None
        assert about_box(s, timeout=1) is not None
        s.screenshot("about-sysinfo-started")


def test_system_info_unavailable_without_registry_routes_or_program():
    with Session("about-sysinfo-missing") as s:
        s.install()
        for key in (r"HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO", r"HKLM\SOFTWARE\Microsoft\Shared Tools Location"):
            s.wine("reg", "delete", key, "/f")
        for system_dir in ("system32", "syswow64"):
            program = s.prefix / "drive_c" / "windows" / system_dir / "msinfo32.exe"
            if program.exists():
                program.unlink()
        s.start()
        box = open_about(s)
        s.click_button(box, CMD_SYS_INFO)
        message = s.message_box(UNAVAILABLE)
        assert message is not None, "no 'unavailable' message"
        buttons = [(cid, text) for cid, cls, text in s.child_texts(message) if cls.lower() == "button"]
        assert buttons == [(1, "OK")], buttons
        s.screenshot("about-sysinfo-unavailable")
        assert not process_running(s, "msinfo32.exe")
        s.click_button(message, 1)
        s.wait_for(lambda: s.message_box(UNAVAILABLE, timeout=0) is None, what="the message to close")
        assert about_box(s, timeout=2) is not None, "the About box closed with the message"


if __name__ == "__main__":
    run([
        test_about_opens_from_the_tray_with_its_texts_and_ok_closes_it,
        test_escape_closes_and_the_eighth_opening_shows_the_secret,
        test_system_info_starts_the_program_and_the_box_stays_open,
        test_system_info_unavailable_without_registry_routes_or_program,
    ])
