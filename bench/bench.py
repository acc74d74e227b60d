#!/usr/bin/env python3
"""Measures lumivane.exe against the baseline tray program, side by side, in
one run under Wine on a private Xvfb, and prints one table.

Run through scripts/bench.sh, which builds what this needs. Times are taken
inside the Wine prefix by bench/meter.exe (see its header for what "started"
and "painted" mean); memory and idle cost are read from Linux's /proc entries
of the Wine processes that run the two programs.
"""

import argparse
import json
import os
import re
import shutil
import statistics
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tests" / "e2e"))

PROGRAMS = ("lumivane", "baseline")
WINDOWS_PATH = {"lumivane": r"C:\Lumivane\lumivane.exe", "baseline": r"C:\Baseline\baseline.exe"}


# ----- the Wine side ------------------------------------------------------------

class Bench:
    def __init__(self, session, meter):
        self.s = session
        self.meter = str(meter)

    def run(self, *args, timeout=600):
        result = self.s.wine(self.meter, *args, timeout=timeout)
        if result.returncode != 0:
            raise RuntimeError(f"meter {' '.join(args)} failed: {result.stderr.strip()[-400:]}")
        return [line.split("\t") for line in result.stdout.splitlines() if line.strip()]

    def install(self, exes):
        for name, exe in exes.items():
            path = self.s.prefix / "drive_c" / Path(WINDOWS_PATH[name].replace("\\", "/")[3:])
            path.parent.mkdir(parents=True, exist_ok=True)
            shutil.copy2(exe, path)

    def launch(self, name):
        rows = self.run("launch", WINDOWS_PATH[name])
        return int(rows[0][1])

    def popups(self, pid, count, slot):
        out = []
        for row in self.run("popups", str(pid), str(count), str(slot)):
            out.append({"visible_ms": float(row[2]), "painted_ms": float(row[3]),
                        "engine_ms": float(row[4]), "messages": int(row[5]), "window_messages": int(row[6])})
        return out

    def resources(self, pid):
        row = self.run("resources", str(pid))[0]
        return {"private_usage": int(row[1]), "pagefile_usage": int(row[2]), "working_set": int(row[3]),
                "gui_gdi": int(row[4]), "gui_user": int(row[5]), "gdi_objects": int(row[6]),
                "windows": int(row[7])}

    def counters(self, pid):
        row = self.run("counters", str(pid))[0]
        return {"frequency": int(row[1]), "messages": int(row[2]), "window_messages": int(row[3]),
                "engine_ticks": int(row[4])}

    def close(self, pid):
        return self.run("close", str(pid))[0][1]

    def linux_pid(self, name):
        """The Linux process that runs the program in this session's prefix."""
        exe = WINDOWS_PATH[name].encode().lower()
        prefix = f"WINEPREFIX={self.s.prefix}".encode()
        for entry in Path("/proc").iterdir():
            if not entry.name.isdigit():
                continue
            try:
                cmdline = (entry / "cmdline").read_bytes().split(b"\0")[0].lower()
                if cmdline == exe and prefix in (entry / "environ").read_bytes().split(b"\0"):
                    return int(entry.name)
            except OSError:
                continue
        raise RuntimeError(f"no Linux process for {name}")


# ----- /proc ----------------------------------------------------------------------

def proc_status(pid):
    fields = {}
    for line in Path(f"/proc/{pid}/status").read_text().splitlines():
        key, _, value = line.partition(":")
        fields[key] = value.strip()
    return fields


def kib(value):
    return int(value.split()[0])


def private_kib(pid):
    """Private (unshared) pages of the process, clean and dirty, from smaps_rollup."""
    total = 0
    for line in Path(f"/proc/{pid}/smaps_rollup").read_text().splitlines():
        if line.startswith(("Private_Clean:", "Private_Dirty:")):
            total += kib(line.split(":")[1])
    return total


def cpu_and_wakeups(pid):
    """CPU time (ms, clock-tick resolution) and context switches (each wake-up
    of a thread is one), summed over every thread of the process."""
    ticks = switches = 0
    for task in Path(f"/proc/{pid}/task").iterdir():
        try:
            stat = (task / "stat").read_text()
            fields = stat[stat.rindex(")") + 2:].split()
            ticks += int(fields[11]) + int(fields[12])  # utime, stime
            for line in (task / "status").read_text().splitlines():
                if line.startswith(("voluntary_ctxt_switches:", "nonvoluntary_ctxt_switches:")):
                    switches += int(line.split(":")[1])
        except (OSError, ValueError):
            continue
    return ticks * 1000.0 / os.sysconf("SC_CLK_TCK"), switches


def memory(pid):
    status = proc_status(pid)
    return {"rss_kib": kib(status["VmRSS"]), "rss_anon_kib": kib(status["RssAnon"]),
            "private_kib": private_kib(pid)}


# ----- the phases -----------------------------------------------------------------

def measure_startup(bench, starts):
    order = [WINDOWS_PATH[name] for name in PROGRAMS]
    # The first start of each writes its files and fills the caches: not counted.
    bench.run("startup", "1", *order)
    rows = bench.run("startup", str(starts), *order)
    result = {name: {"icon_ms": [], "idle_ms": [], "ends": [], "marks_ms": []} for name in PROGRAMS}
    for row in rows:
        name = next(n for n in PROGRAMS if WINDOWS_PATH[n] == row[1])
        result[name]["icon_ms"].append(float(row[3]))
        result[name]["idle_ms"].append(float(row[4]))
        result[name]["ends"].append(row[5])
        result[name]["marks_ms"].append([float(v) for v in row[6:9]])
    return result


def measure_running(bench, popups, idle_seconds, block=10):
    """Both programs running, icons in launch order from the right; popups
    interleaved in blocks so a change of machine load hits both alike."""
    pids, lpids, slots = {}, {}, {}
    for slot, name in enumerate(PROGRAMS):
        pids[name] = bench.launch(name)
        lpids[name] = bench.linux_pid(name)
        slots[name] = slot
    time.sleep(3)
    result = {name: {"memory_idle": memory(lpids[name])} for name in PROGRAMS}

    for name in PROGRAMS:
        result[name]["popups"] = bench.popups(pids[name], 1, slots[name])
        result[name]["after_1"] = bench.resources(pids[name])
        result[name]["after_1"]["private_kib"] = private_kib(lpids[name])
    done = 1
    while done < popups:
        count = min(block, popups - done)
        for name in PROGRAMS:
            result[name]["popups"] += bench.popups(pids[name], count, slots[name])
        done += count
    for name in PROGRAMS:
        result[name]["after_n"] = bench.resources(pids[name])
        result[name]["after_n"]["private_kib"] = private_kib(lpids[name])
        result[name]["memory_after"] = memory(lpids[name])

    # Idle: nobody touches either program; the pointer rests off the taskbar.
    bench.s.move(400, 300)
    time.sleep(2)
    before = {name: cpu_and_wakeups(lpids[name]) for name in PROGRAMS}
    timing_before = {name: try_counters(bench, pids[name]) for name in PROGRAMS}
    time.sleep(idle_seconds)
    for name in PROGRAMS:
        cpu, wakeups = cpu_and_wakeups(lpids[name])
        result[name]["idle_cpu_ms"] = cpu - before[name][0]
        result[name]["idle_wakeups"] = wakeups - before[name][1]
        after = try_counters(bench, pids[name])
        if after and timing_before[name]:
            result[name]["idle_messages"] = (after["messages"] - timing_before[name]["messages"] +
                                             after["window_messages"] - timing_before[name]["window_messages"])
    for name in PROGRAMS:
        result[name]["end"] = bench.close(pids[name])
    return result


def try_counters(bench, pid):
    try:
        return bench.counters(pid)
    except RuntimeError:
        return None


# ----- the table --------------------------------------------------------------------

def median(values):
    return statistics.median(values) if values else float("nan")


def figure_rows(release, timing, sizes):
    L, B = "lumivane", "baseline"
    rows = []

    def add(label, lum, base, target=""):
        rows.append((label, lum, base, target))

    st = release["startup"]
    add("start-up: icon added + idle, median of N (ms)",
        median(st[L]["idle_ms"]), median(st[B]["idle_ms"]), "<= 1.2x")
    add("  of which: icon added (ms)", median(st[L]["icon_ms"]), median(st[B]["icon_ms"]))
    if timing and "startup" in timing:
        ts = timing["startup"]
        for index, label in enumerate(("process start to wWinMain", "  to main window created",
                                       "  to start-up done (icon added)")):
            def phase(name):
                values = [m[index] for m in ts[name]["marks_ms"] if m[index] >= 0]
                return median(values) if values else None
            add(f"  timing build, {label} (ms)", phase(L), phase(B))
    run = release["running"]
    first = {n: run[n]["popups"][:20] for n in PROGRAMS}
    add("popup latency: release to painted, median of 20 (ms)",
        median([p["painted_ms"] for p in first[L]]), median([p["painted_ms"] for p in first[B]]), "<= 1.2x")
    add("  of which: release to visible (ms)",
        median([p["visible_ms"] for p in first[L]]), median([p["visible_ms"] for p in first[B]]))
    if timing:
        tp = timing["running"]
        engine = [p["engine_ms"] for p in tp[L]["popups"][:20] if p["engine_ms"] >= 0]
        add("  engine's own share, median of 20 (ms, timing build)", median(engine) if engine else None, None)
        add("  main window procedure calls in one popup (timing build)",
            median([p["window_messages"] for p in tp[L]["popups"][:20]]),
            median([p["window_messages"] for p in tp[B]["popups"][:20]]))
    add("idle resident set (KiB)", run[L]["memory_idle"]["rss_kib"], run[B]["memory_idle"]["rss_kib"], "<= 1.2x")
    add("  of which private to the process (KiB)",
        run[L]["memory_idle"]["private_kib"], run[B]["memory_idle"]["private_kib"])
    n = len(run[L]["popups"])
    for key, label in (("private_kib", "private KiB"), ("pagefile_usage", "Wine commit charge (bytes)"),
                       ("gdi_objects", "GDI objects"), ("windows", "USER objects (windows)")):
        add(f"{label}: growth from popup 1 to {n}",
            run[L]["after_n"][key] - run[L]["after_1"][key], run[B]["after_n"][key] - run[B]["after_1"][key], "0")
    secs = release["idle_seconds"]
    add(f"idle CPU time over {secs} s (ms, all threads)", run[L]["idle_cpu_ms"], run[B]["idle_cpu_ms"], "0")
    add(f"idle wake-ups over {secs} s (all threads)", run[L]["idle_wakeups"], run[B]["idle_wakeups"], "0")
    if timing:
        add(f"idle messages over {secs} s (loop + window procedure, timing build)", timing["running"][L].get("idle_messages"),
            timing["running"][B].get("idle_messages"), "0")
    for arch in ("win32", "win64"):
        if arch in sizes:
            add(f"exe size, release {'32' if arch == 'win32' else '64'}-bit (bytes)",
                sizes[arch][L], sizes[arch][B], "<= 524288" if arch == "win32" else "")
    return rows


def fmt(value):
    if value is None:
        return "-"
    if isinstance(value, float):
        if value != value:
            return "-"
        return f"{value:.1f}" if abs(value) < 100000 else f"{value:.0f}"
    return str(value)


def ratio(lum, base):
    if not isinstance(lum, (int, float)) or not isinstance(base, (int, float)) or not base:
        return "-"
    if lum != lum or base != base:
        return "-"
    return f"{lum / base:.2f}x"


def print_table(rows, header):
    print(header)
    width = max(len(r[0]) for r in rows)
    print(f"{'figure':<{width}}  {'lumivane':>10}  {'baseline':>10}  {'ratio':>7}  target")
    for label, lum, base, target in rows:
        print(f"{label:<{width}}  {fmt(lum):>10}  {fmt(base):>10}  {ratio(lum, base):>7}  {target}")


# ----- main ---------------------------------------------------------------------------

def machine():
    cpu = "unknown"
    for line in Path("/proc/cpuinfo").read_text().splitlines():
        if line.startswith("model name"):
            cpu = line.split(":", 1)[1].strip()
            break
    wine = subprocess.run(["/usr/lib/wine/wine64", "--version"], capture_output=True, text=True).stdout.strip()
    load = Path("/proc/loadavg").read_text().split()[:3]
    return {"nproc": os.cpu_count(), "cpu": cpu, "wine": wine, "load": " ".join(load)}


def session_env(args):
    os.environ.update({
        "LUMIVANE_PROBE": str(args.tree / "tests" / "e2e" / "probe.exe"),
        "LUMIVANE_WINE_TEMPLATE": str(args.tree / "wine-template"),
        "LUMIVANE_WINE_ARCH": "win64",
        "LUMIVANE_ARTIFACTS": str(args.tree / "artifacts"),
        "LUMIVANE_EXE": str(args.tree / "src" / "lumivane.exe"),
    })


def exes(tree):
    return {"lumivane": tree / "src" / "lumivane.exe", "baseline": tree / "bench" / "baseline.exe"}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tree", type=Path, required=True, help="64-bit release build tree (runs under Wine)")
    parser.add_argument("--timing-tree", type=Path, help="64-bit build tree with LUMIVANE_TIMING=ON")
    parser.add_argument("--shipped-tree", type=Path, help="32-bit release build tree (exe sizes)")
    parser.add_argument("--starts", type=int, default=10)
    parser.add_argument("--popups", type=int, default=200)
    parser.add_argument("--timing-starts", type=int, default=5, help="start-ups of the timing build")
    parser.add_argument("--idle", type=int, default=30, help="idle seconds")
    parser.add_argument("--json", type=Path, help="also write every raw figure here")
    args = parser.parse_args()
    args.tree = args.tree.resolve()
    session_env(args)
    from harness import Session  # reads the environment set above

    meter = args.tree / "bench" / "meter.exe"
    info = machine()
    results = {"machine": info, "idle_seconds": args.idle}

    with Session("bench") as s:
        s.start_desktop()
        bench = Bench(s, meter)
        bench.install(exes(args.tree))
        results["release"] = {"idle_seconds": args.idle, "startup": measure_startup(bench, args.starts),
                              "running": measure_running(bench, args.popups, args.idle)}
    if args.timing_tree:
        with Session("bench-timing") as s:
            s.start_desktop()
            bench = Bench(s, meter)
            bench.install(exes(args.timing_tree.resolve()))
            results["timing"] = {"startup": measure_startup(bench, args.timing_starts),
                                 "running": measure_running(bench, 20, args.idle)}
    sizes = {}
    for arch, tree in (("win32", args.shipped_tree), ("win64", args.tree)):
        if tree:
            sizes[arch] = {name: path.stat().st_size for name, path in exes(tree.resolve()).items()}
    results["sizes"] = sizes
    info["load_after"] = " ".join(Path("/proc/loadavg").read_text().split()[:3])

    rows = figure_rows(results["release"], results.get("timing"), sizes)
    header = (f"Lumivane against the baseline tray program: {info['wine']}, 64-bit builds, "
              f"{info['nproc']} x {info['cpu']}, load {info['load']} -> {info['load_after']}\n"
              f"start-ups: {args.starts}, popups: {args.popups}, idle: {args.idle} s")
    print_table(rows, header)
    if args.json:
        args.json.parent.mkdir(parents=True, exist_ok=True)
        args.json.write_text(json.dumps(results, indent=1))
    ends = [e for n in PROGRAMS for e in results["release"]["startup"][n]["ends"]]
    if "terminated" in ends:
        print("note: some programs did not end on WM_CLOSE and were terminated", file=sys.stderr)


if __name__ == "__main__":
    main()
