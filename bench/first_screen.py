#!/usr/bin/env python3
"""Starts huebadge-settings on a copy of the demo device and prints how long after the
program's start the first screen JSON was served, beside its goal.

usage: first_screen.py PROGRAM DEMO_DEVICE [RUNS]"""
import json
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
import urllib.request

GOAL_MS = 300


def cpu_ms(pid):
    """CPU time the process has used so far: on a loaded machine the wall time mostly
    measures waiting for a core."""
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    ticks = int(fields[11]) + int(fields[12])
    return ticks * 1e3 / os.sysconf("SC_CLK_TCK")


def first_screen_ms(program, device):
    start = time.perf_counter()
    server = subprocess.Popen([program, "--device-root", device, "--port", "0"],
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    try:
        address = server.stdout.readline().strip()
        match = re.match(r"^(http://127\.0\.0\.1:\d+)/\?token=([0-9a-f]+)$", address)
        if not match:
            raise SystemExit(f"unexpected address line: {address!r}")
        request = urllib.request.Request(match[1] + "/api/screen",
                                         headers={"Authorization": f"Bearer {match[2]}"})
        with urllib.request.urlopen(request, timeout=30) as answer:
            json.load(answer)
        return (time.perf_counter() - start) * 1e3, cpu_ms(server.pid)
    finally:
        server.terminate()
        server.wait()


def main():
    program, demo = sys.argv[1], sys.argv[2]
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 5
    samples, cpu = [], []
    for _ in range(runs):
        with tempfile.TemporaryDirectory() as folder:
            device = shutil.copytree(demo, folder + "/device")
            wall, used = first_screen_ms(program, device)
            samples.append(wall)
            cpu.append(used)
    median = statistics.median(samples)
    print(f"{'first screen JSON after program start':<42} {median:>9.1f} ms   "
          f"(median of {runs}, best {min(samples):.1f} ms, server CPU "
          f"{statistics.median(cpu):.0f} ms; goal <= {GOAL_MS} ms)")


if __name__ == "__main__":
    main()
