"""End-to-end harness: the real lumivane.exe in a Wine desktop under Xvfb.

Each Session has its own Xvfb display and its own copy of the template Wine
prefix, so tests never share state. The desktop is looked at and driven from
inside the prefix with the probe program (windows, child texts, keys,
processes), and with xdotool for the mouse, as a user would. Screenshots are
kept as artifacts. Every wait is bounded; nothing sleeps for a fixed time.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass
from pathlib import Path

PROGRAM_DIR_WIN = r"C:\Lumivane"
PROGRAM_EXE = "lumivane.exe"
HUB_CLASS = "LumivaneHub"
DESKTOP = "shell"
DESKTOP_SIZE = (800, 600)


def _env(name):
    value = os.environ.get(name)
    if not value:
        raise SystemExit(f"{name} is not set: run the end-to-end tests through ctest")
    return value


@dataclass
class Window:
    hwnd: int
    pid: int
    visible: bool
    x: int
    y: int
    w: int
    h: int
    cls: str
    title: str

    @property
    def center(self):
        return self.x + self.w // 2, self.y + self.h // 2


class TimeoutError_(AssertionError):
    pass


class Session:
    def __init__(self, name):
        self.name = name
        self.exe = Path(_env("LUMIVANE_EXE"))
        self.probe_exe = Path(_env("LUMIVANE_PROBE"))
        self.template = Path(_env("LUMIVANE_WINE_TEMPLATE"))
        self.arch = os.environ.get("LUMIVANE_WINE_ARCH", "win32")
        self.artifacts = Path(_env("LUMIVANE_ARTIFACTS")) / name
        if self.arch == "win64":
            self.wine_loader, server = "/usr/lib/wine/wine64", "/usr/lib/wine/wineserver64"
        else:
            self.wine_loader, server = "/usr/lib/wine/wine", "/usr/lib/wine/wineserver32"
        self.wineserver = server if os.path.exists(server) else "/usr/lib/wine/wineserver"
        self.work = None
        self.prefix = None
        self.program_dir = None
        self.env = None
        self._xvfb = None
        self._keeper = None
        self._started = []
        self._shot = 0

    # ----- set-up and tear-down -------------------------------------------------

    def __enter__(self):
        self.work = Path(tempfile.mkdtemp(prefix="lumivane-e2e."))
        self.prefix = self.work / "prefix"
        shutil.copytree(self.template, self.prefix, symlinks=True)
        if self.artifacts.exists():
            shutil.rmtree(self.artifacts)
        self.artifacts.mkdir(parents=True)
        read_fd, write_fd = os.pipe()
        self._xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as pipe:
            display = pipe.readline().strip()
        if not display:
            raise RuntimeError("Xvfb did not start")
        self.env = dict(os.environ)
        self.env.update({
            "DISPLAY": f":{display}",
            "WINEPREFIX": str(self.prefix),
            "WINEARCH": self.arch,
            "WINELOADER": self.wine_loader,
            "WINESERVER": self.wineserver,
            "WINEDEBUG": "-all",
        })
        self.program_dir = self.prefix / "drive_c" / "Lumivane"
        return self

    def __exit__(self, exc_type, exc, tb):
        if exc_type is not None and self.env is not None:
            try:
                self.screenshot("failure")
            except Exception:  # the failure itself matters more than its picture
                pass
        self.stop()
        return False

    def stop(self):
        if self.env is not None:
            subprocess.run([self.wineserver, "-k"], env=self.env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=30)
        for proc in self._started + ([self._keeper] if self._keeper else []):
            try:
                proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                proc.kill()
        self._started = []
        self._keeper = None
        if self._xvfb is not None:
            self._xvfb.terminate()
            try:
                self._xvfb.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self._xvfb.kill()
            self._xvfb = None
        if self.work is not None:
            shutil.rmtree(self.work, ignore_errors=True)
            self.work = None
        self.env = None

    # ----- Wine -----------------------------------------------------------------

    def wine(self, *args, timeout=60, check=False):
        """Runs a Wine command in this prefix and waits for it. Output goes through
        files, not pipes: a Wine process started on the way (the desktop, the
        server) would inherit a pipe and hold the reader until it ends."""
        self._runs = getattr(self, "_runs", 0) + 1
        out_path = self.work / f"run-{self._runs}.out"
        err_path = self.work / f"run-{self._runs}.err"
        with open(out_path, "w") as out, open(err_path, "w") as err:
            proc = subprocess.run([self.wine_loader, *args], env=self.env, stdout=out, stderr=err,
                                  stdin=subprocess.DEVNULL, timeout=timeout)
        result = subprocess.CompletedProcess(proc.args, proc.returncode,
                                             out_path.read_text(errors="replace"),
                                             err_path.read_text(errors="replace"))
        out_path.unlink()
        err_path.unlink()
        if check and result.returncode != 0:
            raise subprocess.CalledProcessError(result.returncode, proc.args, result.stdout, result.stderr)
        return result

    def spawn(self, *args):
        """Starts a Wine command in this prefix without waiting for it."""
        log = open(self.work / f"spawn-{len(self._started)}.log", "w")
        proc = subprocess.Popen([self.wine_loader, *args], env=self.env, stdout=log, stderr=subprocess.STDOUT,
                                stdin=subprocess.DEVNULL)
        self._started.append(proc)
        return proc

    def probe(self, *args, timeout=30):
        result = self.wine(str(self.probe_exe), *args, timeout=timeout)
        if result.returncode not in (0, 1):
            raise RuntimeError(f"probe {' '.join(args)} failed: {result.stderr}")
        return result

    # ----- the program --------------------------------------------------------

    def install(self, exe=None):
        self.program_dir.mkdir(parents=True, exist_ok=True)
        shutil.copy2(exe or self.exe, self.program_dir / PROGRAM_EXE)
        return self.program_dir

    @property
    def settings_file(self):
        return self.program_dir / "lumivane.ini"

    def start_desktop(self):
        """Opens the Wine desktop with a keeper process, so the desktop stays while
        the program is restarted."""
        if self._keeper is None:
            log = open(self.work / "desktop.log", "w")
            self._keeper = subprocess.Popen(
                [self.wine_loader, "explorer", f"/desktop={DESKTOP},{DESKTOP_SIZE[0]}x{DESKTOP_SIZE[1]}",
                 str(self.probe_exe), "idle"],
                env=self.env, stdout=log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
            self.wait_for(lambda: self.tray_window() is not None, timeout=30, what="the Wine taskbar")

    def start(self, wait=True):
        """Starts lumivane.exe in the desktop; waits until its hub window exists."""
        self.start_desktop()
        before = set(self.program_pids())
        proc = self.spawn(PROGRAM_DIR_WIN + "\\" + PROGRAM_EXE)
        if wait:
            self.wait_for(lambda: self.hub_window(exclude_pids=before) is not None, timeout=30,
                          what="the program's hub window")
        return proc

    def hub_window(self, exclude_pids=()):
        for w in self.windows():
            if w.cls == HUB_CLASS and w.pid not in exclude_pids:
                return w
        return None

    def program_pids(self):
        pids = []
        for line in self.probe("processes").stdout.splitlines():
            parts = line.split("\t")
            if len(parts) == 2 and parts[1].lower() == PROGRAM_EXE:
                pids.append(int(parts[0]))
        return pids

    def is_running(self):
        return bool(self.program_pids())

    def wait_exit(self, timeout=15):
        self.wait_for(lambda: not self.is_running(), timeout=timeout, what="the program to end")

    # ----- windows ------------------------------------------------------------

    def windows(self):
        out = []
        for line in self.probe("windows").stdout.splitlines():
            parts = line.split("\t")
            if len(parts) < 9:
                continue
            out.append(Window(int(parts[0], 16), int(parts[1]), parts[2] == "1", int(parts[3]), int(parts[4]),
                              int(parts[5]), int(parts[6]), parts[7], parts[8]))
        return out

    def find_window(self, title=None, cls=None, pid=None, visible=None, timeout=10):
        """The first top-level window that matches, waiting up to timeout seconds;
        None when none appears."""
        def match():
            for w in self.windows():
                if title is not None and w.title != title:
                    continue
                if cls is not None and w.cls != cls:
                    continue
                if pid is not None and w.pid != pid:
                    continue
                if visible is not None and w.visible != visible:
                    continue
                return w
            return None
        try:
            return self.wait_for(match, timeout=timeout, what="a window")
        except TimeoutError_:
            return None

    def child_texts(self, window):
        out = []
        for line in self.probe("children", hex(window.hwnd)).stdout.splitlines():
            parts = line.split("\t")
            if len(parts) >= 3:
                out.append((int(parts[0]), parts[1], parts[2]))
        return out

    def click_button(self, window, control_id):
        self.probe("click", hex(window.hwnd), str(control_id))

    def close_window(self, window):
        self.probe("close", hex(window.hwnd))

    def message_box(self, text=None, title="Lumivane", timeout=10):
        """A visible message box with that title (and text, if given)."""
        def match():
            for w in self.windows():
                if w.cls == "#32770" and w.title == title and w.visible:
                    if text is None or any(t == text for _, _, t in self.child_texts(w)):
                        return w
            return None
        try:
            return self.wait_for(match, timeout=timeout, what="a message box")
        except TimeoutError_:
            return None

    def popup_menu(self, timeout=5):
        return self.find_window(cls="#32768", visible=True, timeout=timeout)

    # ----- input ----------------------------------------------------------------

    def keys(self, *names):
        """Presses keys from inside the prefix (SendInput), so they reach the
        foreground window whatever the pointer is over."""
        self.probe("keys", *names)

    def type_text(self, text):
        self.probe("type", text)

    def _xdotool(self, *args):
        subprocess.run(["xdotool", *args], env=self.env, check=True, timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def move(self, x, y):
        self._xdotool("mousemove", str(x), str(y))

    def click(self, x, y, button=1):
        # No --sync: it waits for a motion that never comes when the pointer is
        # already at the target.
        self._xdotool("mousemove", str(x), str(y), "click", str(button))

    def double_click(self, x, y, button=1):
        self._xdotool("mousemove", str(x), str(y), "click", "--repeat", "2", "--delay", "80",
                      str(button))

    def tray_window(self):
        for w in self.windows():
            if w.cls == "Shell_TrayWnd" and w.visible:
                return w
        return None

    def tray_icon_point(self, slot=0):
        """Centre of a notification-area icon: slots of 20 pixels filled from the
        taskbar's right end."""
        tray = self.tray_window()
        if tray is None:
            raise AssertionError("no taskbar")
        return tray.x + tray.w - 10 - 20 * slot, tray.y + tray.h // 2

    def right_click_tray(self, slot=0):
        self.click(*self.tray_icon_point(slot), button=3)

    # ----- looking ----------------------------------------------------------------

    def screenshot(self, name):
        self._shot += 1
        path = self.artifacts / f"{self._shot:02d}-{name}.png"
        subprocess.run(["import", "-window", "root", "-crop", f"{DESKTOP_SIZE[0]}x{DESKTOP_SIZE[1]}+0+0",
                        "+repage", str(path)], env=self.env, check=True, timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return path

    def pixel(self, x, y):
        """The (r, g, b) of one screen pixel."""
        out = subprocess.run(["import", "-window", "root", "-crop", f"1x1+{x}+{y}", "-depth", "8", "txt:-"],
                             env=self.env, capture_output=True, text=True, timeout=30, check=True).stdout
        line = out.strip().splitlines()[-1]
        rgb = line.split("(")[1].split(")")[0].split(",")[:3]
        return tuple(int(float(v)) for v in rgb)

    # ----- waiting ----------------------------------------------------------------

    def wait_for(self, condition, timeout=10, interval=0.1, what="a condition"):
        """Polls condition until it returns something true; fails after timeout."""
        deadline = time.monotonic() + timeout
        while True:
            value = condition()
            if value:
                return value
            if time.monotonic() >= deadline:
                raise TimeoutError_(f"timed out after {timeout} s waiting for {what}")
            time.sleep(interval)


def run(test_functions):
    """Runs the given test functions in order and prints a closing count line."""
    failed = 0
    for fn in test_functions:
        name = fn.__name__
        started = time.monotonic()
        try:
            fn()
            print(f"PASS {name} ({time.monotonic() - started:.1f} s)", flush=True)
        except Exception as exc:  # report every test, then fail the file
            failed += 1
            print(f"FAIL {name}: {type(exc).__name__}: {exc}", flush=True)
    print(f"{len(test_functions) - failed} passed, {failed} failed")
    sys.exit(1 if failed else 0)
