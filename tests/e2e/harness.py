"""End-to-end harness: the real lumivane.exe in a Wine desktop under Xvfb.

Each Session has its own Xvfb display and its own copy of the template Wine
prefix, so tests never share state. The desktop is looked at and driven from
inside the prefix with the probe program (windows, child texts, keys,
processes), and with xdotool for the mouse, as a user would. Screenshots are
kept as artifacts. Every wait is bounded; nothing sleeps for a fixed time.
"""

import contextlib
import itertools
import os
import shutil
import subprocess
import sys
import tempfile
import time
import traceback
from collections import namedtuple
from pathlib import Path

PROGRAM_EXE, HUB = "lumivane.exe", "LumivaneHub"
DESKTOP_SIZE = (800, 600)
MENU, DIALOG = "#32768", "#32770"
HEADING = b"Lumivane\r\nVersion= 1.0\r\n\r\n[Folders]\r\n"
# The popup's last items, chosen from the bottom: Exit, (separator), About, Customize, the start-up item.
EXIT, ABOUT, CUSTOMIZE, START_WITH_WINDOWS = (("Up",) * n + ("Return",) for n in (1, 2, 3, 4))
Window = namedtuple("Window", "hwnd pid visible x y w h cls title")


def settings_bytes(*slots):
    """A settings file with these ten slots (missing ones empty)."""
    return HEADING + b"".join(s + b"\r\n" for s in slots + (b"",) * (10 - len(slots)))


DEFAULT_BYTES = settings_bytes(b"C:\\")


@contextlib.contextmanager
def read_only(folder):
    """Root ignores permission bits, so the folder is made immutable; it is
    released again even when the test fails."""
    done = subprocess.run(["chattr", "+i", str(folder)], capture_output=True, text=True)
    assert done.returncode == 0, f"cannot make {folder} read-only here: {done.stderr.strip()}"
    try:
        yield
    finally:
        subprocess.run(["chattr", "-i", str(folder)], check=True)


def _env(name):
    return os.environ.get(name) or sys.exit(f"{name} is not set: run the end-to-end tests through ctest")


class Session:
    def __init__(self, name, screen_saver=True):
        self.exe = Path(_env("LUMIVANE_EXE"))
        self.probe_exe = Path(_env("LUMIVANE_PROBE"))
        self.template = Path(_env("LUMIVANE_WINE_TEMPLATE"))
        self.artifacts = Path(_env("LUMIVANE_ARTIFACTS")) / name
        # Wine tells programs whether a screen saver is set from the X server's.
        self._xvfb_args = [] if screen_saver else ["-s", "0"]
        self.arch = os.environ.get("LUMIVANE_WINE_ARCH", "win32")
        bits = "64" if self.arch == "win64" else ""
        self.wine_loader = "/usr/lib/wine/wine" + bits
        server = "/usr/lib/wine/wineserver" + (bits or "32")
        self.wineserver = server if os.path.exists(server) else "/usr/lib/wine/wineserver"
        self.work = self.env = self._xvfb = self._keeper = None
        self._started = []
        self._aim, self._shots = itertools.count(), itertools.count(1)

    def __enter__(self):
        self.work = Path(tempfile.mkdtemp(prefix="lumivane-e2e."))
        self.prefix = self.work / "prefix"
        shutil.copytree(self.template, self.prefix, symlinks=True)
        shutil.rmtree(self.artifacts, ignore_errors=True)
        self.artifacts.mkdir(parents=True)
        read_fd, write_fd = os.pipe()
        self._xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1024x768x24",
                                       "-nolisten", "tcp", *self._xvfb_args],
                                      pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as pipe:
            display = pipe.readline().strip()
        if not display:
            raise RuntimeError("Xvfb did not start")
        self.env = dict(os.environ, DISPLAY=f":{display}", WINEPREFIX=str(self.prefix), WINEARCH=self.arch,
                        WINELOADER=self.wine_loader, WINESERVER=self.wineserver, WINEDEBUG="-all")
        self.program_dir = self.prefix / "drive_c" / "Lumivane"
        self.settings_file = self.program_dir / "lumivane.ini"
        # Where a program that may not write beside itself keeps the user's copy: %APPDATA%\Lumivane.
        profiles = [p for p in (self.prefix / "drive_c" / "users").glob("*/AppData/Roaming") if p.is_dir()]
        assert len(profiles) == 1, f"not one user's AppData\\Roaming in the prefix: {profiles}"
        self.user_settings_file = profiles[0] / "Lumivane" / "lumivane.ini"
        self.program_dir.mkdir()
        shutil.copy2(self.exe, self.program_dir / PROGRAM_EXE)
        return self

    def __exit__(self, exc_type, exc, tb):
        if exc_type is not None:
            try:
                self.screenshot("failure")
            except Exception:  # the failure itself matters more than its picture
                pass
        if self.env is not None:
            subprocess.run([self.wineserver, "-k"], env=self.env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=30)
        if self._xvfb is not None:
            self._xvfb.terminate()
        for proc in self._started + [p for p in (self._keeper, self._xvfb) if p]:
            try:
                proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                proc.kill()
        shutil.rmtree(self.work, ignore_errors=True)
        return False

    def wine(self, *args, timeout=60, check=False):
        """Runs a Wine command in this prefix and waits for it. Output goes through
        files, not pipes: a Wine process started on the way (the desktop, the
        server) would inherit a pipe and hold the reader until it ends."""
        with tempfile.TemporaryFile("w+", dir=self.work) as out, tempfile.TemporaryFile("w+", dir=self.work) as err:
            proc = subprocess.run([self.wine_loader, *args], env=self.env, stdout=out, stderr=err,
                                  stdin=subprocess.DEVNULL, timeout=timeout, check=check)
            out.seek(0)
            err.seek(0)
            return subprocess.CompletedProcess(proc.args, proc.returncode, out.read(), err.read())

    def spawn(self, *args):
        """Starts a Wine command without waiting; its output goes to spawn-N.log."""
        log = open(self.work / f"spawn-{len(self._started)}.log", "w")
        self._started.append(subprocess.Popen([self.wine_loader, *args], env=self.env, stdout=log,
                                              stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL))

    def probe(self, *args):
        result = self.wine(str(self.probe_exe), *args, timeout=30)
        if result.returncode not in (0, 1):
            raise RuntimeError(f"probe {' '.join(args)} failed: {result.stderr}")
        return result

    def start_desktop(self):
        """Opens the Wine desktop with a keeper process, so the desktop stays while
        the program is restarted."""
        if self._keeper is None:
            self._keeper = subprocess.Popen(
                [self.wine_loader, "explorer", f"/desktop=shell,{DESKTOP_SIZE[0]}x{DESKTOP_SIZE[1]}",
                 str(self.probe_exe), "idle"],
                env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
            self.wait_for(self.tray_window, timeout=30, what="the Wine taskbar")

    def start(self, wait=True):
        """Starts lumivane.exe; returns the pid of the new hub window's process."""
        self.start_desktop()
        before = self.program_pids()
        self.command()
        if wait:
            return self.wait_for(lambda: next((w.pid for w in self.windows() if w.cls == HUB and w.pid not in before),
                                              None), timeout=30, what="the hub window")

    def command(self, *args):
        """Starts lumivane.exe with a command line; returns its process, whose
        return code is the program's exit code."""
        self.start_desktop()
        self.spawn("C:\\Lumivane\\" + PROGRAM_EXE, *args)
        return self._started[-1]

    def hub_window(self):
        return self.find_window(cls=HUB, timeout=0)

    def program_pids(self):
        rows = (line.split("\t") for line in self.probe("processes").stdout.splitlines())
        return [int(r[0]) for r in rows if len(r) == 2 and r[1].lower() == PROGRAM_EXE]

    def wait_exit(self):
        self.wait_for(lambda: not self.program_pids(), timeout=15, what="the program to end")

    def windows(self):
        rows = (line.split("\t") for line in self.probe("windows").stdout.splitlines())
        return [Window(int(p[0], 16), int(p[1]), p[2] == "1", *map(int, p[3:7]), p[7], p[8])
                for p in rows if len(p) >= 9]

    def find_window(self, timeout=10, **want):
        """The first top-level window whose fields have the wanted values, within
        timeout seconds; None when none comes."""
        return self.poll(lambda: next((w for w in self.windows()
                                       if all(getattr(w, k) == v for k, v in want.items())), None), timeout)

    def child_texts(self, window):
        """(id, class, text) of every child window."""
        rows = (line.split("\t") for line in self.probe("children", hex(window.hwnd)).stdout.splitlines())
        return [(int(p[0]), p[1], p[2]) for p in rows if len(p) >= 3]

    def click_button(self, window, control_id):
        self.probe("click", hex(window.hwnd), str(control_id))

    def drop(self, window, control_id, *paths):
        """Drops files on a control of the window (0: beside the controls), as
        Explorer drops them on a program that accepts files."""
        if self.probe("drop", hex(window.hwnd), str(control_id), *paths).returncode:
            raise AssertionError(f"no window accepts files at control {control_id}")

    def cd_drive(self, letter, folder=None):
        """Makes the drive letter a CD drive whose disc is folder, or, without
        one, takes it away, while programs run (Wine's mount manager)."""
        args = ("cd-drive", letter) + ((str(folder),) if folder else ())
        if self.probe(*args).returncode:
            raise AssertionError(f"drive {letter}: is not {'a CD drive' if folder else 'gone'}")

    def close_window(self, window):
        self.probe("close", hex(window.hwnd))

    def message_box(self, text, timeout=10, beginning=False):
        """A visible "Lumivane" message box saying text (or beginning with it), or
        None. The probe gives a text's line ends as blanks."""
        def match():
            return next((w for w in self.windows() if (w.cls, w.title, w.visible) == (DIALOG, "Lumivane", True)
                         and any(t == text or beginning and t.startswith(text)
                                 for _, _, t in self.child_texts(w))), None)
        return self.poll(match, timeout)

    def answer_ok(self, box):
        """Checks that a message box shows an icon and only OK, and presses OK."""
        controls = self.child_texts(box)
        assert any(cid == 1088 for cid, _, _ in controls), "the box shows no icon"
        buttons = [(cid, text) for cid, cls, text in controls if cls.lower() == "button"]
        assert buttons == [(1, "OK")], f"buttons: {buttons}"
        self.click_button(box, 1)
        self.wait_for(lambda: not self.find_window(cls=DIALOG, pid=box.pid, visible=True, timeout=0),
                      what="the message box to close")

    def keys(self, *names):
        """Presses keys from inside the prefix (SendInput), so they reach the
        foreground window whatever the pointer is over."""
        self.probe("keys", *names)

    def type_text(self, text):
        self.probe("type", text)

    def move(self, x, y):
        subprocess.run(["xdotool", "mousemove", str(x), str(y)], env=self.env, check=True, timeout=30)

    def click(self, x, y, button=1):
        # No --sync: it waits for a motion that never comes when the pointer is
        # already at the target.
        subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", str(button)], env=self.env,
                       check=True, timeout=30)

    def tray_window(self):
        return self.find_window(cls="Shell_TrayWnd", visible=True, timeout=0)

    def tray_icon_point(self):
        """In the first notification-area icon: 20-pixel slots filled from the
        taskbar's right end. Each call aims at another pixel of it, so that every
        click really moves the pointer."""
        tray = self.tray_window()
        return tray.x + tray.w - 12 + next(self._aim) % 5, tray.y + tray.h // 2

    def menu(self, pid, timeout=0):
        return self.find_window(cls=MENU, pid=pid, visible=True, timeout=timeout)

    def open_menu(self, pid):
        """Right-clicks the tray icon until the popup shows; returns the popup."""
        def right_click():
            self.click(*self.tray_icon_point(), button=3)
            return self.menu(pid, timeout=1)
        return self.wait_for(right_click, timeout=20, what="the popup menu")

    def choose(self, pid, *keys, shot=None):
        """Right-clicks the tray icon until the popup shows, takes a screenshot if
        named, and presses keys that close the popup. Keys sent in the instant it
        appears can reach it before it takes the keyboard; then it stays open, and
        is closed and tried again. Returns the popup."""
        for _ in range(3):
            menu = self.open_menu(pid)
            if shot:
                self.screenshot(shot)
            if self.keys_close_menu(pid, keys):
                return menu
        raise AssertionError(f"the popup took no keys {keys}")

    def keys_close_menu(self, pid, keys):
        """Presses keys that should close the open popup; True when they did.
        Otherwise it came too late for them: it is closed with Escape."""
        self.keys(*keys)
        if self.poll(lambda: not self.menu(pid), timeout=8):
            return True
        self.keys("Escape")
        self.wait_for(lambda: not self.menu(pid), what="the menu to close")
        return False

    def screenshot(self, name):
        path = self.artifacts / f"{next(self._shots):02d}-{name}.png"
        subprocess.run(["import", "-window", "root", "-crop", f"{DESKTOP_SIZE[0]}x{DESKTOP_SIZE[1]}+0+0",
                        "+repage", str(path)], env=self.env, check=True, timeout=30)

    @staticmethod
    def poll(condition, timeout):
        """Calls condition until it returns something true, for up to timeout
        seconds; None if it never does."""
        deadline = time.monotonic() + timeout
        while not (value := condition()) and time.monotonic() < deadline:
            time.sleep(0.1)
        return value or None

    def wait_for(self, condition, timeout=10, what="a condition"):
        value = self.poll(condition, timeout)
        if value is None:
            raise AssertionError(f"timed out after {timeout} s waiting for {what}")
        return value


def run(*tests):
    """Runs the test functions in order and prints a closing count line."""
    failed = 0
    for test in tests:
        started = time.monotonic()
        try:
            test()
            print(f"PASS {test.__name__} ({time.monotonic() - started:.1f} s)", flush=True)
        except Exception as exc:  # report every test, then fail the file
            failed += 1
            traceback.print_exc()
            print(f"FAIL {test.__name__}: {type(exc).__name__}: {exc}", flush=True)
    print(f"{len(tests) - failed} passed, {failed} failed")
    sys.exit(1 if failed else 0)
