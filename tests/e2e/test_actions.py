"""The popup's commands, one after another in one running program: folder items
with odd paths open exactly that folder or say it does not exist, Run Screen
Saver with none selected (the screen saver "active", as Windows answers for
"(None)", and no SCRNSAVE.EXE), Turn Monitor Off with its cover window (the
second time from the command line, handed to the running copy, which is first
let take the foreground), About, and the doors of a CD drive that comes and
goes while the program runs. Before the program runs, /screensaver runs alone
and ends."""

import re
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
from harness import ABOUT, DIALOG, Session, run, settings_bytes  # noqa: E402

# (slot, the folder the file manager must show, or None for "Folder Does Not Exist")
SLOTS = [
    ("C:\\a,b", "a,b"),  # "C:\a" exists too: a path split at the comma would open it
    ("C:\\Tom & Jerry", "Tom & Jerry"),
    ("C:\\\u65e5\u672c \u00e9t\u00e9", "\u65e5\u672c \u00e9t\u00e9"),  # no ANSI form: the file is UTF-8
    ("C:\\windows\\win.ini", None),
    ("Q:\\Nowhere", None),
]
# Downs from the top: the prefix has no CD drive and headings are no stops, so
# the folders come first, then Run Screen Saver and Turn Monitor Off.
RUN_SCREEN_SAVER, TURN_MONITOR_OFF = len(SLOTS) + 1, len(SLOTS) + 2
COVER = "LumivaneTurnMonOff"
DISPLAY_SETTINGS = "rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,1"


def down(n):
    return ("Down",) * n + ("Return",)


def starts(s, command_line):
    """How many processes the program has started with that command line, as Wine's log notes them."""
    return sum(f' cmdline L"{command_line}"' in line for log in s.work.glob("spawn-*.log")
               for line in log.read_text(errors="replace").splitlines() if "CreateProcessInternalW" in line)


def folders(s, pid):
    for number, (text, name) in enumerate(SLOTS, start=1):
        s.choose(pid, *down(number))
        if name is None:
            box = s.message_box("Folder Does Not Exist")
            assert box is not None and box.pid == pid, f"{text}: no 'Folder Does Not Exist'"
            s.screenshot(f"folder-{number}")
            s.answer_ok(box)
            continue
        explorer = s.find_window(cls="ExplorerWClass", visible=True, timeout=20)
        assert explorer is not None and explorer.title == name, f"{text}: the file manager shows {explorer}"
        s.screenshot(f"folder-{number}")
        s.close_window(explorer)
        s.wait_for(lambda: not s.find_window(cls="ExplorerWClass", timeout=0), what="the file manager to end")


def screen_saver(s, pid, choose=True):
    """From the menu, or, with no copy running, from the command line in a process that then ends."""
    started = starts(s, DISPLAY_SETTINGS)
    alone = None if choose else s.command("/screensaver")
    if choose:
        s.choose(pid, *down(RUN_SCREEN_SAVER))
    box = s.message_box("No Screen Saver is selected.")
    assert box is not None, "no 'No Screen Saver is selected.'"
    s.screenshot("no-screen-saver")
    assert starts(s, DISPLAY_SETTINGS) == started, "the settings opened before the message was read"
    s.answer_ok(box)
    s.wait_for(lambda: starts(s, DISPLAY_SETTINGS) == started + 1, timeout=15, what="the display settings")
    if alone:
        assert alone.wait(timeout=15) == 0, "the command ended with a failure"
        assert not s.program_pids(), "the command's process lives on"
        assert not s.settings_file.exists(), "the command made a settings file"


def handed_over_with_foreground(s, pid, *args):
    """Hands a command over under Wine's relay trace of the two calls: the
    running copy is allowed the foreground before the command is sent to it."""
    debug_key = r"HKCU\Software\Wine\Debug"
    s.wine("reg", "add", debug_key, "/v", "RelayInclude", "/d",
           "user32.AllowSetForegroundWindow;user32.SendMessageTimeoutW", "/f", check=True)
    debug, s.env["WINEDEBUG"] = s.env["WINEDEBUG"], s.env["WINEDEBUG"] + ",+relay"
    try:
        command = s.command(*args)
    finally:
        s.env["WINEDEBUG"] = debug
    assert command.wait(timeout=15) == 0, "the command was not handed over"
    s.wine("reg", "delete", debug_key, "/v", "RelayInclude", "/f", check=True)
    log = (s.work / f"spawn-{len(s._started) - 1}.log").read_text(errors="replace")
    calls = [(name, int(first, 16), rest) for name, first, rest in
             re.findall(r"Call user32\.(AllowSetForegroundWindow|SendMessageTimeoutW)\(([0-9a-f]+),?([0-9a-f]*)", log)]
    allowed = next((i for i, (name, first, _) in enumerate(calls)
                    if name == "AllowSetForegroundWindow" and first == pid), None)
    sent = next((i for i, (name, _, message) in enumerate(calls)
                 if name == "SendMessageTimeoutW" and message and int(message, 16) == 0x4A), None)
    assert allowed is not None and sent is not None and allowed < sent, \
        f"the running copy was not allowed the foreground before the send: {calls}"


def monitor_off(s, pid):
    """A key closes the cover window; chosen again, mouse moves close it."""
    s.choose(pid, *down(TURN_MONITOR_OFF))
    cover = s.find_window(cls=COVER, pid=pid, visible=True)
    assert cover is not None, "no cover window"
    texts = [text for _, _, text in s.child_texts(cover)]
    assert "Turning Monitor Off" in texts and "Cancel" in texts, texts
    # No title bar: the client's 237 by 138 pixels and a thin border.
    assert 237 <= cover.w <= 243 and 138 <= cover.h <= 144, cover
    s.screenshot("cover-window")
    s.keys("A")
    s.wait_for(lambda: not s.find_window(cls=COVER, timeout=0), what="a key to close the cover")
    handed_over_with_foreground(s, pid, "/monitoroff")
    cover = s.find_window(cls=COVER, visible=True)
    assert cover is not None and cover.pid == pid, f"no cover window in the running copy: {cover}"
    for step in range(20):
        if not s.find_window(cls=COVER, timeout=0):
            return
        s.move(cover.x + 4 * step, cover.y + 2 * step)
    raise AssertionError("mouse moves did not close the cover window")


def about(s, pid):
    """Escape closes the box; System Info starts its program and leaves the box open; OK closes it."""
    def open_box():
        s.choose(pid, *ABOUT)
        box = s.find_window(title="Lumivane", cls=DIALOG, pid=pid, visible=True)
        assert box is not None, "About opened no box"
        return box

    def wait_closed():
        s.wait_for(lambda: not s.find_window(cls=DIALOG, pid=pid, visible=True, timeout=0), what="the box to close")

    box = open_box()
    texts = {cid: text for cid, _, text in s.child_texts(box)}
    assert (texts[104], texts[105]) == ("Lumivane By Orrindale", "Version 1.0"), texts
    s.screenshot("about-box")
    s.keys("Escape")
    wait_closed()
    box = open_box()
    s.click_button(box, 102)
    s.wait_for(lambda: "msinfo32.exe" in s.probe("processes").stdout.lower().split(), timeout=20,
               what="msinfo32.exe to start")
    assert s.find_window(cls=DIALOG, pid=pid, visible=True, timeout=0) == box, "System Info closed the box"
    s.click_button(box, 1)
    wait_closed()


def door_commands(s, letter):
    """The door commands the program has sent to the drive, as Wine's relay log notes them."""
    return [line[line.index(' L"') + 3:line.index('"', line.index(' L"') + 3)]
            for log in sorted(s.work.glob("spawn-*.log")) for line in log.read_text(errors="replace").splitlines()
            if "Call winmm.mciSendStringW(" in line and f"Drive{letter}" in line]


def cd_drive_comes_and_goes(s, pid):
    """A CD drive added while the program runs has its items at the next opening
    and takes /eject; taken away, its items go."""
    plain = s.choose(pid, "Escape")
    disc = s.work / "disc"
    disc.mkdir()
    s.cd_drive("X", disc)
    added = s.choose(pid, *down(1), shot="cd-drive-added")  # the first item: Open [X:]
    opened = ["Open X: Alias DriveX Type CDAudio", "Set DriveX Door Open", "Close DriveX"]
    assert s.poll(lambda: door_commands(s, "X") == opened, timeout=10), f"Open [X:] sent {door_commands(s, 'X')}"
    assert added.h > plain.h, f"the popup did not grow for drive X: ({plain.h} then {added.h} pixels)"
    command = s.command("/eject", "X:")
    assert command.wait(timeout=15) == 0, "/eject X: was refused"
    assert s.poll(lambda: door_commands(s, "X") == opened * 2, timeout=10), f"with /eject: {door_commands(s, 'X')}"
    s.cd_drive("X")
    gone = s.choose(pid, "Escape")
    assert gone.h == plain.h, f"drive X's items stayed ({plain.h} then {gone.h} pixels)"


def test_the_popup_commands():
    with Session("actions") as s:
        for folder in ["a"] + [name for _, name in SLOTS if name]:
            (s.prefix / "drive_c" / folder).mkdir()
        content = b"\xef\xbb\xbf" + settings_bytes(*(text.encode() for text, _ in SLOTS))
        s.start_desktop()
        # The program's started command lines and its door commands, in its log.
        s.wine("reg", "add", "HKCU\\Software\\Wine\\Debug", "/v", "RelayInclude", "/d", "winmm.mciSendStringW",
               "/f", check=True)
        s.env["WINEDEBUG"] = "-all,+process,+relay"
        screen_saver(s, None, choose=False)
        s.settings_file.write_bytes(content)
        pid = s.start()
        for phase in (folders, screen_saver, monitor_off, about, cd_drive_comes_and_goes):
            phase(s, pid)
        assert (pids := s.program_pids()) == [pid], pids
        assert (got := s.settings_file.read_bytes()) == content, got


if __name__ == "__main__":
    run(test_the_popup_commands)
