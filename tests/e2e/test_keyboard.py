"""The program without a mouse: the shell's keyboard notifications (NIN_KEYSELECT,
WM_CONTEXTMENU) open the popup at the icon wherever the pointer is, the keys
choose from it, and Escape closes what they open. A right click, followed by the
shell's WM_CONTEXTMENU, still opens one menu, once. The user's shortcut key and
/menu open it at the pointer, from anywhere."""

import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
from harness import ABOUT, CUSTOMIZE, DIALOG, HUB, PROGRAM_EXE, Session, run  # noqa: E402

TRAY_CALLBACK, ICON_ID = 0x8001, 1  # the hub's tray message (WM_APP + 1) and its icon's number
NIN_KEYSELECT, WM_CONTEXTMENU = 0x401, 0x7B
POINTER = (60, 60)  # far from the icon


def notify(s, event):
    """The notification as the shell sends it for the icon: SendNotifyMessage,
    the event and the icon in lParam, the icon's place in wParam."""
    x, y = s.tray_icon_point()
    s.probe("tray-notify", hex(s.hub_window().hwnd), hex(TRAY_CALLBACK), hex(event), str(ICON_ID), str(x), str(y))
    return x, y


def from_keyboard(s, pid, events, keys, shot=None):
    """Sends the notifications, checks the popup rests on the icon, not at the
    pointer, and presses keys that close it (tried again, as choose() does)."""
    s.move(*POINTER)
    for _ in range(3):
        for event in events:
            x, _ = notify(s, event)
        menu = s.wait_for(lambda: s.menu(pid), timeout=20, what="the popup menu")
        if shot:
            s.screenshot(shot)
        tray = s.tray_window()
        assert menu.x <= x < menu.x + menu.w and menu.y + menu.h <= tray.y, f"not at the icon: {menu}, tray {tray}"
        assert (menu.x, menu.y) != POINTER, "opened at the pointer"
        if s.keys_close_menu(pid, keys):
            return menu
    raise AssertionError(f"the popup took no keys {keys}")


SHORTCUT_KEY = r"HKCU\Software\Lumivane"
SHORTCUT_BOX = 191  # the customize dialog's shortcut-key box
AT = (300, 120)     # the pointer, with room below it for the menu


def at_pointer(s, pid, opening, keys=("Escape",)):
    """Opens the menu by opening() with the pointer at AT, checks it rests at
    the pointer and takes the keyboard: keys close it (tried again, as
    choose() does, should they come in the instant it appears)."""
    s.move(*AT)
    for _ in range(3):
        opening()
        menu = s.wait_for(lambda: s.menu(pid), timeout=20, what="the popup menu")
        x, y = AT
        assert abs(menu.x - x) <= 2 and (abs(menu.y - y) <= 2 or abs(menu.y + menu.h - y) <= 2), \
            f"not at the pointer {AT}: {menu}"
        if s.keys_close_menu(pid, keys):
            return menu
    raise AssertionError(f"the popup took no keys {keys}")


def stored_shortcut(s):
    return s.wine("reg", "query", SHORTCUT_KEY, "/v", "MenuShortcut").stdout


def no_menu_comes(s, pid):
    """No popup opens again by itself within a second and a half."""
    assert s.poll(lambda: s.menu(pid), timeout=1.5) is None, "a second menu opened"


def test_enter_opens_the_menu_at_the_icon_and_the_arrows_reach_about():
    with Session("keyboard-about") as s:
        pid = s.start()
        # Enter may reach the program as two NIN_KEYSELECT: one menu.
        from_keyboard(s, pid, (NIN_KEYSELECT, NIN_KEYSELECT), ABOUT, shot="menu-from-enter")
        box = s.wait_for(lambda: s.find_window(title="Lumivane", cls=DIALOG, pid=pid, visible=True, timeout=0),
                         what="the About box")
        texts = {cid: text for cid, _, text in s.child_texts(box)}
        assert texts[104] == "Lumivane By Orrindale", texts
        s.screenshot("about-box")
        s.keys("Escape")
        s.wait_for(lambda: not s.find_window(cls=DIALOG, pid=pid, visible=True, timeout=0), what="the box to close")
        no_menu_comes(s, pid)


def test_shift_f10_opens_the_menu_and_customize_answers_the_keyboard():
    with Session("keyboard-customize") as s:
        pid = s.start()
        from_keyboard(s, pid, (WM_CONTEXTMENU,), CUSTOMIZE, shot="menu-from-shift-f10")
        s.wait_for(lambda: s.find_window(cls=HUB, visible=True, timeout=0), what="the customize dialog")
        s.screenshot("customize-dialog")
        s.keys("Tab", "Escape")
        s.wait_for(lambda: not s.hub_window().visible, what="Escape to hide the dialog")
        # Dismissed with Escape: nothing runs, the program goes on.
        from_keyboard(s, pid, (NIN_KEYSELECT,), ("Escape",))
        assert s.hub_window() is not None and not s.hub_window().visible


def test_a_right_click_opens_one_menu_once_and_the_tip_stays():
    with Session("right-click") as s:
        pid = s.start()
        s.choose(pid, "Escape", shot="menu-from-right-click")
        no_menu_comes(s, pid)
        # Hovering shows the icon's tip, which the newer notifications would hide unless asked.
        s.move(*s.tray_icon_point())
        tip = s.find_window(cls="tooltips_class32", visible=True, timeout=15)
        assert tip is not None and tip.title == "Lumivane", f"tip: {tip}"
        s.screenshot("tip")


def test_the_shortcut_key_opens_the_menu_at_the_pointer_and_one_chosen_in_customize_works_at_once():
    with Session("shortcut-key") as s:
        s.wine("reg", "add", SHORTCUT_KEY, "/v", "MenuShortcut", "/t", "REG_SZ", "/d", "Ctrl+Alt+L", "/f", check=True)
        pid = s.start()
        at_pointer(s, pid, lambda: s.keys("Ctrl+Alt+L"))
        s.screenshot("menu-from-shortcut-key")
        # The key's menu has the keyboard: the arrows reach Customize.
        at_pointer(s, pid, lambda: s.keys("Ctrl+Alt+L"), CUSTOMIZE)
        dialog = s.wait_for(lambda: s.find_window(cls=HUB, visible=True, timeout=0), what="the customize dialog")
        texts = {cid: text for cid, _, text in s.child_texts(dialog)}
        assert texts[SHORTCUT_BOX] == "Ctrl+Alt+L", texts
        # From the first path box past the ten rows' three stops each, into the box.
        s.keys(*("Tab",) * 30)
        s.keys("Ctrl+Alt+K")
        s.wait_for(lambda: dict((c, t) for c, _, t in s.child_texts(dialog))[SHORTCUT_BOX] == "Ctrl+Alt+K",
                   what="the box to record Ctrl+Alt+K")
        s.screenshot("shortcut-key-recorded")
        s.keys("Return")
        s.wait_for(lambda: not s.hub_window().visible, what="OK to hide the dialog")
        assert "Ctrl+Alt+K" in stored_shortcut(s), stored_shortcut(s)
        at_pointer(s, pid, lambda: s.keys("Ctrl+Alt+K"))
        s.keys("Ctrl+Alt+L")  # given back to other programs
        no_menu_comes(s, pid)


def test_menu_handed_over_opens_the_menu_of_the_running_copy_at_the_pointer():
    with Session("menu-command") as s:
        pid = s.start()
        commands = []

        def hand_over():
            commands.append(s.command("/menu"))
        at_pointer(s, pid, hand_over)
        for command in commands:
            assert command.wait(timeout=30) == 0, "the running copy did not take /menu"
        assert [p for p in s.program_pids()] == [pid], f"{PROGRAM_EXE}: {s.program_pids()}"


if __name__ == "__main__":
    run(test_the_shortcut_key_opens_the_menu_at_the_pointer_and_one_chosen_in_customize_works_at_once,
        test_menu_handed_over_opens_the_menu_of_the_running_copy_at_the_pointer,
        test_enter_opens_the_menu_at_the_icon_and_the_arrows_reach_about,
        test_shift_f10_opens_the_menu_and_customize_answers_the_keyboard,
        test_a_right_click_opens_one_menu_once_and_the_tip_stays)
