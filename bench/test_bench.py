"""The benchmark driver's /proc readings must see work (else a false zero); its table counts the right popups."""

import subprocess
import sys
import time
import unittest

import bench  # beside this file, which Python puts first on its path

POLLER = ("print('ready', flush=True)\nwhile True:\n    end = time.perf_counter() + 0.002\n"
          "    while time.perf_counter() < end: pass\n    time.sleep(0.008)")  # 100 wake-ups a second, 2 ms work each
SLEEPER = "block = bytearray(32 << 20)\nblock[::4096] = b'x' * 8192\nprint('ready', flush=True)\ntime.sleep(30)"


class Driver(unittest.TestCase):
    def child(self, code):
        proc = subprocess.Popen([sys.executable, "-c", "import time\n" + code], stdout=subprocess.PIPE, text=True)
        self.addCleanup(proc.wait)
        self.addCleanup(proc.kill)
        self.assertEqual(proc.stdout.readline().strip(), "ready")
        return proc.pid

    def test_polling_costs_cpu_and_wake_ups_sleeping_nothing_and_touched_memory_counts(self):
        sleeper, poller = self.child(SLEEPER), self.child(POLLER)  # the sleeper is asleep once the poller is up
        before = {pid: bench.cpu_and_wakeups(pid) for pid in (sleeper, poller)}
        time.sleep(1)
        used = {pid: [b - a for a, b in zip(before[pid], bench.cpu_and_wakeups(pid))] for pid in before}
        self.assertEqual(used[sleeper], [0, 0])
        self.assertTrue(all(v > 50 for v in used[poller]), used[poller])
        memory = bench.memory(sleeper)
        self.assertTrue(32 * 1024 <= memory["private_kib"] <= memory["rss_kib"], memory)

    def test_latency_is_the_median_of_the_first_twenty_and_growth_is_last_minus_first(self):
        def program(painted, gdi_after):
            return {"popups": [{"painted_ms": p, "visible_ms": p} for p in painted],
                    "memory_idle": {"rss_kib": 1, "private_kib": 1}, "idle_cpu_ms": 0, "idle_wakeups": 0,
                    "after_1": {"pagefile_usage": 0, "gdi_objects": 40, "windows": 2, "private_kib": 10},
                    "after_n": {"pagefile_usage": 0, "gdi_objects": gdi_after, "windows": 2, "private_kib": 10}}
        startup = {"icon_ms": [1.0], "idle_ms": [100.0, 300.0, 200.0]}
        release = {"idle_seconds": 30, "startup": {"lumivane": startup, "baseline": startup}, "running": {
            "lumivane": program([10.0] * 10 + [12.0] * 10 + [500.0] * 30, 89), "baseline": program([8.0] * 50, 40)}}
        rows = {r[0]: r[1:3] for r in bench.figure_rows(release, None, {})}
        self.assertEqual(rows["popup latency: release to painted, median of 20 (ms)"], (11.0, 8.0))
        self.assertEqual(rows["GDI objects: growth from popup 1 to 50"], (49, 0))
        self.assertEqual(rows["start-up: icon added + idle, median of N (ms)"], (200.0, 200.0))
        self.assertEqual([bench.ratio(11, 8), bench.ratio(0, 0), bench.ratio(float("nan"), 5)], ["1.38x", "-", "-"])


if __name__ == "__main__":
    unittest.main()
