#!/usr/bin/env python3
"""Measurements of the live program for bench/live_analyser.sh.

  live_measure.py cpu SECONDS NAME=PID ...
      CPU time of each process (all its threads, user and system, from
      /proc/PID/stat) in one-second steps; prints per process the share of
      one core over the whole time and the median, 10th and 90th percentile
      and largest of the one-second shares, as JSON.

  live_measure.py clicks X Y COUNT HOST_LOG STATE_FILE NAME MASK
      COUNT real left clicks at screen point X, Y (the X server's XTest
      extension, as xdotool uses it), one every 0.6 to 1.1 s at random (never two within the double-click time), so
      that the clicks fall on every phase of the unit's frames. Each press is
      timestamped with CLOCK_MONOTONIC just before it is flushed to the X
      server. The click flips a switch of the unit; its host frame is the
      first switch frame (command 0) in the simulator's host log (written
      with --host-log-clock, the same clock) after the press whose switch
      word has MASK in the new state. Prints the latencies and their
      statistics as JSON. The switch's state before the first click is the
      STATE_FILE line NAME=0|1.
"""
import ctypes
import json
import os
import random
import statistics
import sys
import time

CLK_TCK = os.sysconf("SC_CLK_TCK")


def cpu_ticks(pid):
    with open(f"/proc/{pid}/stat") as f:
        # The command name may hold blanks; the fields after it are fixed.
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime, stime


def percentile(values, q):
    s = sorted(values)
    if not s:
        return float("nan")
    k = (len(s) - 1) * q
    lo, hi = int(k), min(int(k) + 1, len(s) - 1)
    return s[lo] + (s[hi] - s[lo]) * (k - lo)


def summary(values):
    return {
        "n": len(values),
        "median": statistics.median(values),
        "p10": percentile(values, 0.10),
        "p90": percentile(values, 0.90),
        "min": min(values),
        "max": max(values),
    }


def cmd_cpu(seconds, named):
    procs = [(n.split("=", 1)[0], int(n.split("=", 1)[1])) for n in named]
    start = time.monotonic()
    first = {name: cpu_ticks(pid) for name, pid in procs}
    last = dict(first)
    steps = {name: [] for name, _ in procs}
    t_last = start
    for k in range(1, int(seconds) + 1):
        time.sleep(max(0.0, start + k - time.monotonic()))
        now = time.monotonic()
        for name, pid in procs:
            ticks = cpu_ticks(pid)
            steps[name].append(100.0 * (ticks - last[name]) / CLK_TCK / (now - t_last))
            last[name] = ticks
        t_last = now
    elapsed = time.monotonic() - start
    out = {}
    for name, _ in procs:
        total = 100.0 * (last[name] - first[name]) / CLK_TCK / elapsed
        out[name] = {"percent_of_one_core": total, "seconds": elapsed, "per_second": summary(steps[name])}
    print(json.dumps(out))


class XTest:
    def __init__(self):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.xtst = ctypes.CDLL("libXtst.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XFlush.argtypes = [ctypes.c_void_p]
        self.x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                                   ctypes.c_ulong]
        self.xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.display = self.x11.XOpenDisplay(None)
        if not self.display:
            sys.exit("cannot open the X display")

    def move(self, x, y):
        self.xtst.XTestFakeMotionEvent(self.display, -1, x, y, 0)
        self.x11.XSync(self.display, 0)

    def button(self, press):
        self.xtst.XTestFakeButtonEvent(self.display, 1, 1 if press else 0, 0)
        t = time.monotonic()
        self.x11.XFlush(self.display)
        return t


def switch_frames(path):
    """(time, switch word) of every switch frame in a clocked host log."""
    frames = []
    with open(path) as f:
        for line in f:
            parts = line.split()
            if len(parts) != 9 or parts[0] == "#" or parts[3] != "00":
                continue
            word = int(parts[4], 16) | int(parts[5], 16) << 8 | int(parts[6], 16) << 16
            frames.append((float(parts[8]), word))
    return frames


def state_value(path, name):
    with open(path) as f:
        for line in f:
            if line.startswith(name + "="):
                return int(float(line.split("=", 1)[1]))
    sys.exit(f"no {name} in {path}")


def cmd_clicks(x, y, count, host_log, state_file, name, mask):
    xt = XTest()
    xt.move(x, y)
    time.sleep(0.3)
    state = state_value(state_file, name) != 0
    clicks = []
    rng = random.Random(72)
    for _ in range(count):
        time.sleep(rng.uniform(0.6, 1.1))
        t = xt.button(True)
        time.sleep(0.03)
        xt.button(False)
        state = not state
        clicks.append((t, state))
    time.sleep(1.0)
    frames = switch_frames(host_log)
    latencies, missing = [], 0
    for t, want in clicks:
        hit = next((ft for ft, word in frames if ft > t and ((word & mask) != 0) == want), None)
        if hit is None:
            missing += 1
        else:
            latencies.append(1000.0 * (hit - t))
    if not latencies:
        sys.exit("no click reached the host log")
    print(json.dumps({"clicks": count, "missing": missing, "latency_ms": summary(latencies),
                      "all_ms": [round(v, 2) for v in latencies]}))


def main():
    if len(sys.argv) >= 3 and sys.argv[1] == "cpu":
        cmd_cpu(float(sys.argv[2]), sys.argv[3:])
    elif len(sys.argv) == 9 and sys.argv[1] == "clicks":
        a = sys.argv
        cmd_clicks(int(a[2]), int(a[3]), int(a[4]), a[5], a[6], a[7], int(a[8], 0))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
