"""The customize dialog as the user meets it: shown by "Customize", Escape and
Cancel bring back the saved folders, dropped folders fill rows, the system's
folder picker fills its row and a cancelled one keeps it, Enter and OK save,
and Exit while it is shown saves nothing."""

import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
from harness import CUSTOMIZE, DIALOG, EXIT, HUB, Session, run, settings_bytes  # noqa: E402

TEXT1, BROWSE, CLEAR, OK, CANCEL = 100, 140, 160, 1, 2
TO_ROW_2 = ("Tab", "Tab", "Tab")  # the focus starts in row 1, then its Browse and Clear


def customize(s, pid):
    s.choose(pid, *CUSTOMIZE)
    return s.wait_for(lambda: s.find_window(cls=HUB, visible=True, timeout=0), what="the customize dialog")


def rows(s, dialog=None, count=2):
    """The texts of the first path boxes."""
    texts = {cid: text for cid, _, text in s.child_texts(dialog or s.hub_window())}
    return tuple(texts[TEXT1 + k] for k in range(count))


def wait_hidden(s, what):
    s.wait_for(lambda: not s.hub_window().visible, what=what)


def test_the_dialog_cancels_saves_and_exits():
    with Session("customize") as s:
        pid = s.start()
        s.wait_for(s.settings_file.exists, what="the settings file")
        written = s.settings_file.stat().st_mtime_ns
        full_menu = s.choose(pid, "Escape")

        dialog = customize(s, pid)
        s.screenshot("customize-dialog")
        texts = {text for _, _, text in s.child_texts(dialog)}
        assert {"Select Folders", "1.", "10.", "Browse", "Clear", "OK", "Cancel"} <= texts, texts
        assert dialog.title == "" and (got := rows(s, dialog)) == ("C:\\", ""), (dialog.title, got)
        s.keys(*TO_ROW_2)
        s.type_text("discarded")
        # A click is posted, and posted messages go before typed keys: wait for the text first.
        s.wait_for(lambda: rows(s, dialog) == ("C:\\", "discarded"), what="the typed text")
        s.click_button(dialog, CLEAR)
        s.wait_for(lambda: rows(s, dialog) == ("", "discarded"), what="row 1 to clear")
        s.keys("Escape")
        wait_hidden(s, "Escape to cancel")
        assert (got := rows(s)) == ("C:\\", ""), got

        dialog = customize(s, pid)
        s.drop(dialog, TEXT1, "C:\\Windows\\System32")
        s.wait_for(lambda: rows(s, dialog) == ("C:\\Windows\\System32", ""), what="the drop on row 1's box")
        s.drop(dialog, 0, "C:\\windows\\fonts", "C:\\users")  # beside the boxes: the first empty rows
        s.wait_for(lambda: rows(s, dialog, 3) == ("C:\\Windows\\System32", "C:\\windows\\fonts", "C:\\users"),
                   what="the drop beside the boxes")
        s.click_button(dialog, CANCEL)
        wait_hidden(s, "Cancel")

        dialog = customize(s, pid)
        s.click_button(dialog, BROWSE)
        picker = s.find_window(cls=DIALOG, pid=pid, visible=True, timeout=15)
        assert picker is not None, "no folder picker"
        # The system's picker browses with an ExplorerBrowserControl; the old tree-only dialog has none.
        classes = {cls for _, cls, _ in s.child_texts(picker)}
        assert "ExplorerBrowserControl" in classes, classes
        s.screenshot("picker")
        s.keys("Escape")
        s.wait_for(lambda: s.find_window(cls=DIALOG, pid=pid, visible=True, timeout=0) is None, what="the picker")
        assert (got := rows(s, dialog)) == ("C:\\", "") and s.hub_window().visible, got
        # The keyboard is back on row 1's Browse: Space opens the picker again, and its choice lands in row 1.
        s.keys("space")
        picker = s.wait_for(lambda: s.find_window(cls=DIALOG, pid=pid, visible=True, timeout=0), what="the picker")
        s.type_text("C:\\windows\\fonts")
        s.click_button(picker, OK)
        s.wait_for(lambda: rows(s, dialog)[0].lower() == "c:\\windows\\fonts", what="the picked folder in row 1")
        s.click_button(dialog, CLEAR)
        s.wait_for(lambda: rows(s, dialog) == ("", ""), what="row 1 to clear")
        s.click_button(dialog, CANCEL)
        wait_hidden(s, "Cancel")
        assert (got := rows(s)) == ("C:\\", ""), got
        assert s.settings_file.stat().st_mtime_ns == written, "Escape or Cancel wrote the settings file"

        customize(s, pid)
        s.keys(*TO_ROW_2)
        s.type_text("D:\\Typed Folder")
        s.screenshot("typed")
        s.keys("Return")
        wait_hidden(s, "Enter to press OK")
        assert (got := s.settings_file.read_bytes()) == settings_bytes(b"C:\\", b"D:\\Typed Folder"), got

        dialog = customize(s, pid)
        s.click_button(dialog, CLEAR)
        s.click_button(dialog, CLEAR + 1)
        s.wait_for(lambda: rows(s, dialog) == ("", ""), what="rows 1 and 2 to clear")
        s.click_button(dialog, OK)
        wait_hidden(s, "OK")
        assert (got := s.settings_file.read_bytes()) == settings_bytes(), got
        assert s.choose(pid, "Escape").h < full_menu.h, "the popup still lists a folder"

        # "Customize" again while shown keeps the edit where it is; Exit saves nothing.
        dialog = customize(s, pid)
        s.keys(*TO_ROW_2)
        s.type_text("X:\\Unsaved")
        s.wait_for(lambda: rows(s, dialog) == ("", "X:\\Unsaved"), what="the typed text")
        again = customize(s, pid)
        assert (got := (again.x, again.y, rows(s, again))) == (dialog.x, dialog.y, ("", "X:\\Unsaved")), got
        s.choose(pid, *EXIT)
        s.wait_exit()
        assert (got := s.settings_file.read_bytes()) == settings_bytes(), got


if __name__ == "__main__":
    run(test_the_dialog_cancels_saves_and_exits)
