"""Checks of the benchmark driver's own arithmetic and of its /proc readings:
an idle figure that cannot see work would report a false zero."""

import subprocess
import sys
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
import bench  # noqa: E402


class ProcReadings(unittest.TestCase):
    def run_child(self, code):
        """Runs code after the child says it is ready (past its start-up)."""
        child = subprocess.Popen([sys.executable, "-c", "import sys; print('ready', flush=True)\n" + code],
                                 stdout=subprocess.PIPE, text=True)
        self.addCleanup(child.wait)
        self.addCleanup(child.kill)
        self.assertEqual(child.stdout.readline().strip(), "ready")
        return child.pid

    def test_a_sleeping_process_costs_nothing(self):
        pid = self.run_child("import time; time.sleep(30)")
        time.sleep(0.1)  # until it is asleep
        cpu0, wakeups0 = bench.cpu_and_wakeups(pid)
        time.sleep(1)
        cpu1, wakeups1 = bench.cpu_and_wakeups(pid)
        self.assertEqual(cpu1 - cpu0, 0)
        self.assertEqual(wakeups1 - wakeups0, 0)

    def test_a_process_that_polls_is_seen(self):
        # Wakes 100 times a second and works 2 ms each time: a timer-driven program.
        pid = self.run_child(
            "import time\n"
            "while True:\n"
            "    end = time.perf_counter() + 0.002\n"
            "    while time.perf_counter() < end: pass\n"
            "    time.sleep(0.008)\n")
        cpu0, wakeups0 = bench.cpu_and_wakeups(pid)
        time.sleep(1)
        cpu1, wakeups1 = bench.cpu_and_wakeups(pid)
        self.assertGreater(cpu1 - cpu0, 50)
        self.assertGreater(wakeups1 - wakeups0, 50)

    def test_memory_reads_resident_and_private_sizes(self):
        child = subprocess.Popen([sys.executable, "-c", "import sys, time; block = bytearray(32 << 20); "
                                  "block[::4096] = b'x' * 8192; print('ready', flush=True); time.sleep(30)"],
                                 stdout=subprocess.PIPE, text=True)
        self.addCleanup(child.wait)
        self.addCleanup(child.kill)
        self.assertEqual(child.stdout.readline().strip(), "ready")
        pid = child.pid
        m = bench.memory(pid)
        self.assertGreaterEqual(m["rss_kib"], 32 * 1024)
        self.assertGreaterEqual(m["private_kib"], 32 * 1024)
        self.assertLessEqual(m["private_kib"], m["rss_kib"])


def results(lum_painted, base_painted, lum_after, base_after):
    def program(painted, after):
        return {"popups": [{"painted_ms": p, "visible_ms": p / 2, "engine_ms": -1, "messages": -1, "window_messages": -1} for p in painted],
                "memory_idle": {"rss_kib": 100, "private_kib": 10},
                "memory_after": {"rss_kib": 100, "private_kib": 10},
                "after_1": {"pagefile_usage": 1000, "gdi_objects": 40, "windows": 2, "private_kib": 10},
                "after_n": after, "idle_cpu_ms": 0.0, "idle_wakeups": 0}
    startup = {"icon_ms": [100.0, 300.0, 200.0], "idle_ms": [110.0, 310.0, 210.0], "ends": []}
    return {"idle_seconds": 30, "startup": {"lumivane": startup, "baseline": startup},
            "running": {"lumivane": program(lum_painted, lum_after), "baseline": program(base_painted, base_after)}}


class Table(unittest.TestCase):
    def test_latency_is_the_median_of_the_first_twenty_and_growth_is_after_minus_first(self):
        # Popups 21 and later are slow: they must not move the latency figure.
        lum = [10.0] * 10 + [12.0] * 10 + [500.0] * 30
        base = [8.0] * 20 + [500.0] * 30
        leak = {"pagefile_usage": 1000 + 4096, "gdi_objects": 40 + 49, "windows": 2, "private_kib": 14}
        same = {"pagefile_usage": 1000, "gdi_objects": 40, "windows": 2, "private_kib": 10}
        rows = {r[0]: r for r in bench.figure_rows(results(lum, base, leak, same), None, {})}
        latency = rows["popup latency: release to painted, median of 20 (ms)"]
        self.assertEqual((latency[1], latency[2]), (11.0, 8.0))
        self.assertEqual(bench.ratio(latency[1], latency[2]), "1.38x")
        self.assertEqual(rows["GDI objects: growth from popup 1 to 50"][1:3], (49, 0))
        self.assertEqual(rows["Wine commit charge (bytes): growth from popup 1 to 50"][1:3], (4096, 0))
        self.assertEqual(rows["private KiB: growth from popup 1 to 50"][1:3], (4, 0))
        startup = rows["start-up: icon added + idle, median of N (ms)"]
        self.assertEqual(startup[1], 210.0)

    def test_ratio_of_nothing_is_not_a_number(self):
        self.assertEqual(bench.ratio(0, 0), "-")
        self.assertEqual(bench.ratio(None, 5), "-")
        self.assertEqual(bench.ratio(float("nan"), 5), "-")
        self.assertEqual(bench.ratio(3, 2), "1.50x")


if __name__ == "__main__":
    unittest.main()
