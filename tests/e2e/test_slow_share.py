"""Favourites on a file server that sleeps: drive S: is a FUSE file system whose
folders "slow..." answer their first lookup after DELAY seconds. While a check
waits, the hub window answers at once, a handed-over /about is taken and runs,
and the menu opens; the folder opens when the answer comes. Browse on such a
row shows the picker within 3 seconds, and Exit ends the program at once
while a check still waits."""

import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
from harness import CUSTOMIZE, DIALOG, EXIT, HUB, Session, run, settings_bytes  # noqa: E402
from slow_share import SlowShare, events_of  # noqa: E402

DELAY = 12  # long enough for everything the test does meanwhile, short enough to wait for
BROWSE_ROW_2, CANCEL = 141, 2


def down(n):
    return ("Down",) * n + ("Return",)


def event(events, what, name):
    """When the share noted it, or None."""
    return next((t for t, w, n in events_of(events) if (w, n) == (what, name)), None)


def test_favourites_on_a_sleeping_share():
    with tempfile.TemporaryDirectory(prefix="lumivane-share.", ignore_cleanup_errors=True) as folder, \
            SlowShare(folder, DELAY) as (mount, events), Session("slow_share") as s:
        # Before the prefix's server starts, which reads the drive links once.
        (s.prefix / "dosdevices" / "s:").symlink_to(mount)
        s.settings_file.write_bytes(settings_bytes(b"S:\\slow", b"S:\\slow2\\deeper", b"S:\\slow3"))
        pid = s.start()
        hub = s.hub_window()

        s.choose(pid, *down(1))
        s.wait_for(lambda: event(events, "waiting", "slow"), timeout=10, what="the check to reach the share")
        answer = s.probe("answers", hex(hub.hwnd), "100")
        assert answer.returncode == 0, f"the hub window did not answer within 100 ms ({answer.stdout.strip()} ms)"
        command = s.command("/about")
        assert command.wait(timeout=DELAY) == 0, "the running copy did not take /about"
        taken = time.monotonic()
        box = s.find_window(title="Lumivane", cls=DIALOG, pid=pid, visible=True)
        assert box is not None, "/about showed no box"
        s.screenshot("about-while-waiting")
        s.click_button(box, 1)
        s.wait_for(lambda: not s.find_window(cls=DIALOG, pid=pid, visible=True, timeout=0), what="the box to close")
        s.open_menu(pid)
        s.keys("Escape")
        s.wait_for(lambda: not s.menu(pid), what="the menu to close")
        opened_again = time.monotonic()
        explorer = s.find_window(cls="ExplorerWClass", visible=True, timeout=DELAY + 20)
        answered = event(events, "answered", "slow")
        assert answered is not None and taken < answered and opened_again < answered, \
            f"not all while the check waited: /about at {taken}, menu at {opened_again}, answer at {answered}"
        assert explorer is not None and explorer.title == "slow", f"the file manager shows {explorer}"
        s.screenshot("explorer-after-the-answer")
        s.close_window(explorer)

        # Browse: the walk up waits on the share; the picker comes anyway, at its own folder.
        s.choose(pid, *CUSTOMIZE)
        dialog = s.find_window(cls=HUB, pid=pid, visible=True)
        assert dialog is not None, "no customize dialog"
        browse = s.probe("click-until", hex(dialog.hwnd), str(BROWSE_ROW_2), "Select Folder", "3000")
        assert browse.returncode == 0, f"no picker within 3 s of Browse ({browse.stdout.strip()} ms)"
        assert event(events, "waiting", "slow2") and event(events, "answered", "slow2") is None, \
            "the picker did not open while the walk waited on the share"
        print(f"while the share waited: the window answered in {answer.stdout.strip()} ms, "
              f"the picker showed {browse.stdout.strip()} ms after Browse", flush=True)
        picker = s.find_window(cls=DIALOG, title="Select Folder", pid=pid, visible=True)
        s.screenshot("picker-while-waiting")
        s.close_window(picker)
        s.wait_for(lambda: not s.find_window(cls=DIALOG, title="Select Folder", timeout=0), what="the picker to close")
        assert ("S:\\slow2\\deeper" in [t for _, _, t in s.child_texts(dialog)]), "a cancelled picker changed the row"
        s.click_button(dialog, CANCEL)

        # Exit while a check waits: the program ends at once, the answer is dropped.
        s.choose(pid, *down(3))
        s.wait_for(lambda: event(events, "waiting", "slow3"), timeout=10, what="the third check to reach the share")
        s.choose(pid, *EXIT)
        s.wait_for(lambda: not s.program_pids(), timeout=5, what="the program to end at Exit")
        assert event(events, "answered", "slow3") is None, "Exit waited for the share"


if __name__ == "__main__":
    run(test_favourites_on_a_sleeping_share)
