"""The program at 150 % display scale and in the apps' dark theme: the popup,
the customize dialog, the About box and the cover window grow with the
resolution, and the popup is drawn dark when the user's apps are dark, and light
again as soon as the user switches back, without a restart."""

import re
import subprocess
import sys
from collections import Counter
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
from harness import ABOUT, CUSTOMIZE, DIALOG, HUB, Session, run  # noqa: E402

COVER = "LumivaneTurnMonOff"
TURN_MONITOR_OFF = ("Down",) * 3 + ("Return",)  # the one folder, Run Screen Saver, Turn Monitor Off
PERSONALIZE = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize"
# The dark look's ground, selection bar and text (the popup's own palette).
DARK_GROUND, DARK_SELECTION, DARK_TEXT = (43, 43, 43), (38, 79, 120), (242, 242, 242)


def set_user_value(s, key, name, value):
    """A DWORD of the user's settings (Wine reads LogPixels as the desktop starts)."""
    s.wine("reg", "add", key, "/v", name, "/t", "REG_DWORD", "/d", str(value), "/f", check=True)


def latest_shot(s):
    return max(s.artifacts.glob("*.png"))


def colours(path, window, inset=4):
    """How many pixels of each colour a window shows in a screenshot, its border left out."""
    crop = f"{window.w - 2 * inset}x{window.h - 2 * inset}+{window.x + inset}+{window.y + inset}"
    out = subprocess.run(["convert", str(path), "-crop", crop, "-depth", "8", "txt:-"], check=True,
                         capture_output=True, text=True, timeout=60).stdout
    return Counter(tuple(map(int, m.groups())) for m in re.finditer(r"\((\d+),(\d+),(\d+)", out))


COLOR_MENU, COLOR_HIGHLIGHT = 4, 13


def system_colour(s, index):
    return tuple(map(int, s.probe("system-colour", str(index)).stdout.split()))


def selected_shot(s, pid, shot, selection):
    """The popup opened with its first folder selected, photographed once the
    selection bar shows in `selection`; its window and colours."""
    menu = s.open_menu(pid)
    s.keys("Down")

    def photographed():
        s.screenshot(shot)
        seen = colours(latest_shot(s), menu)
        return seen if seen[selection] > 0 else None
    seen = s.wait_for(photographed, timeout=10, what=f"the selection bar in {shot}")
    s.keys("Escape")
    s.wait_for(lambda: not s.menu(pid), what="the menu to close")
    return menu, seen


def windows_at(dpi, label):
    """Opens the popup, the customize dialog, the About box and the cover
    window at one resolution; their sizes by name."""
    sizes = {}
    with Session(f"display-{label}") as s:
        set_user_value(s, r"HKCU\Control Panel\Desktop", "LogPixels", dpi)
        pid = s.start()
        s.wait_for(s.settings_file.exists, what="the settings file")
        menu, seen = selected_shot(s, pid, f"menu-{label}", system_colour(s, COLOR_HIGHLIGHT))
        sizes["menu"] = menu
        # The pictures are drawn, not left empty: the folder picture's blue and
        # the monitor picture's dark blue are among the popup's colours.
        assert sum(n for (r, g, b), n in seen.items() if b > r + 40 and b > g + 20) > 30 * (dpi // 96) ** 2, seen

        s.choose(pid, *CUSTOMIZE)
        sizes["customize"] = s.wait_for(lambda: s.find_window(cls=HUB, visible=True, timeout=0),
                                        what="the customize dialog")
        s.screenshot(f"customize-{label}")
        s.keys("Escape")
        s.wait_for(lambda: not s.hub_window().visible, what="the dialog to close")

        s.choose(pid, *ABOUT)
        sizes["about"] = s.find_window(title="Lumivane", cls=DIALOG, pid=pid, visible=True)
        assert sizes["about"] is not None, "About opened no box"
        s.screenshot(f"about-{label}")
        s.keys("Escape")
        s.wait_for(lambda: not s.find_window(cls=DIALOG, pid=pid, visible=True, timeout=0), what="About to close")

        s.choose(pid, *TURN_MONITOR_OFF)
        sizes["cover"] = s.find_window(cls=COVER, pid=pid, visible=True)
        assert sizes["cover"] is not None, "no cover window"
        s.screenshot(f"cover-{label}")
        s.keys("A")
        s.wait_for(lambda: not s.find_window(cls=COVER, timeout=0), what="a key to close the cover")
    return sizes


def test_everything_grows_at_150_percent():
    at100 = windows_at(96, "100-percent")
    at150 = windows_at(144, "150-percent")
    for name in at100:
        w, h = at150[name].w / at100[name].w, at150[name].h / at100[name].h
        # Borders keep their width and text rounds to whole pixels: near, not exactly, 1.5.
        assert 1.3 <= w <= 1.7 and 1.3 <= h <= 1.7, f"{name}: {at100[name]} at 96, {at150[name]} at 144"


def test_dark_popup_follows_the_setting_at_once():
    with Session("display-dark") as s:
        set_user_value(s, PERSONALIZE, "AppsUseLightTheme", 0)
        pid = s.start()
        s.wait_for(s.settings_file.exists, what="the settings file")
        menu, seen = selected_shot(s, pid, "menu-dark", DARK_SELECTION)
        total = sum(seen.values())
        light = sum(n for (r, g, b), n in seen.items() if min(r, g, b) >= 200)
        # Mostly the dark ground; light text on it, but nothing like a light menu's ground.
        assert seen[DARK_GROUND] > total // 2, seen.most_common(5)
        assert 50 < light < total // 5, (light, total, seen.most_common(5))
        assert seen[DARK_TEXT] > 0, seen.most_common(5)
        light_menu = system_colour(s, COLOR_MENU)

        # Back to light: the next popup is light, with no restart.
        set_user_value(s, PERSONALIZE, "AppsUseLightTheme", 1)
        s.probe("setting-change", "ImmersiveColorSet")
        menu, seen = selected_shot(s, pid, "menu-light-again", system_colour(s, COLOR_HIGHLIGHT))
        assert seen[DARK_GROUND] == 0 and seen[light_menu] > sum(seen.values()) // 2, seen.most_common(5)
        assert (pids := s.program_pids()) == [pid], pids


if __name__ == "__main__":
    run(test_everything_grows_at_150_percent, test_dark_popup_follows_the_setting_at_once)
