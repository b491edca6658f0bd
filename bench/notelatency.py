#!/usr/bin/env python3
"""What an idle calculator costs, and how soon a key's note sounds, measured at the sound server.

Starts the calculator on its default skin under Xvfb with a private PulseAudio null sink, and
records the sink's monitor for the whole run. It prints the processor time that the calculator
and the sound server take over a quiet stretch after start-up, then presses the digit keys with
the X test extension and, for each press, the time from the press to the first sample of the note
at the sink: the first note after a silence, and a note pressed right after another's release.
Not a test: it prints figures.

    bench/notelatency.py [--build build] [--runs 3] [--silence 15] [--idle 10] [--no-sound]
"""

import argparse
import ctypes
import os
import statistics
import struct
import subprocess
import sys
import threading
import time

from startup import start_sound_server

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tools", "xsession"))
from xsession import DEADLINE, XSession  # noqa: E402

RATE = 48000
THRESHOLD = 0.01  # of full scale: far above the null sink's silence, far below a piano's strike
KEYS = {"1": (16, 126), "2": (48, 126)}  # the middles of two digit keys, from the window's corner
TICKS = os.sysconf("SC_CLK_TCK")


class Recorder:
    """The null sink's monitor, each sample given the time it reached the monitor."""

    def __init__(self, processes, env):
        self.samples = bytearray()
        # Chunks arrive late by a varying amount; the least late one fixes when sample 0 was.
        self.start = float("inf")
        self.process = processes.start(
            ["parec", "-d", "null.monitor", "--raw", "--format=s16le", "--channels=1"]
            + [f"--rate={RATE}", "--latency-msec=1"],
            env=env,
            stdout=subprocess.PIPE,
        )
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        while chunk := os.read(self.process.stdout.fileno(), 4096):
            now = time.monotonic()
            self.samples += chunk
            self.start = min(self.start, now - len(self.samples) // 2 / RATE)

    def onset_after(self, moment):
        """When the first sample after moment louder than the threshold reached the monitor."""
        deadline = time.monotonic() + 5
        first = max(0, int((moment - self.start) * RATE))
        while time.monotonic() < deadline:
            count = len(self.samples) // 2
            values = struct.unpack_from(f"<{count - first}h", self.samples, first * 2)
            for offset, value in enumerate(values):
                if abs(value) > THRESHOLD * 32768:
                    return self.start + (first + offset) / RATE
            time.sleep(0.05)
        return None

    def wait_for_quiet(self, quiet=0.05):
        """Waits until the last quiet seconds at the monitor stayed under the threshold."""
        span = int(quiet * RATE)
        while True:
            count = len(self.samples) // 2
            if count > span:
                values = struct.unpack_from(f"<{span}h", self.samples, (count - span) * 2)
                if max(abs(v) for v in values) <= THRESHOLD * 32768:
                    return
            time.sleep(0.01)


class Mouse:
    """Presses and releases the left button through the X test extension: the press time is
    taken as the request leaves, with no helper process in between."""

    def __init__(self, display_name):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.xtst = ctypes.CDLL("libXtst.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.display = ctypes.c_void_p(self.x11.XOpenDisplay(display_name.encode()))

    def move(self, x, y):
        self.xtst.XTestFakeMotionEvent(self.display, -1, x, y, 0)
        self.x11.XSync(self.display, 0)

    def button(self, down):
        self.xtst.XTestFakeButtonEvent(self.display, 1, down, 0)
        self.x11.XFlush(self.display)
        return time.monotonic()


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS  # utime + stime


def window_of(processes, calc):
    deadline = time.monotonic() + DEADLINE
    while time.monotonic() < deadline:
        found = subprocess.run(
            ["xdotool", "search", "--onlyvisible", "--pid", str(calc.pid)],
            env=processes.env,
            capture_output=True,
            text=True,
        ).stdout.split()
        if found:
            shape = subprocess.run(
                ["xdotool", "getwindowgeometry", "--shell", found[0]],
                env=processes.env,
                capture_output=True,
                text=True,
            ).stdout
            g = dict(line.split("=", 1) for line in shape.split() if "=" in line)
            return int(g["X"]), int(g["Y"])
        time.sleep(0.05)
    raise SystemExit("the calculator showed no window")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", default="build", help="the build folder (default: build)")
    parser.add_argument("--runs", type=int, default=3, help="silences and notes (default: 3)")
    parser.add_argument("--silence", type=float, default=15, help="seconds before a first note")
    parser.add_argument("--idle", type=float, default=10, help="seconds of idle measured")
    parser.add_argument("--no-sound", action="store_true", help="start calc --no-sound")
    options = parser.parse_args()
    calc_path = os.path.join(os.path.abspath(options.build), "bin", "calc")

    processes = XSession(prefix="calc-bench-")
    env = {k: v for k, v in processes.env.items() if not k.startswith(("PULSE", "JACK"))}
    if start_sound_server(processes, env, True) != "a PulseAudio null sink":
        raise SystemExit("needs pulseaudio")
    server = processes._processes[-1]
    calc = processes.start([calc_path] + ["--no-sound"] * options.no_sound, env=env)
    x, y = window_of(processes, calc)
    mouse = Mouse(processes.display)

    # Idle is measured before the recording starts: a recording stream keeps the server busy.
    time.sleep(3)  # start-up's own work (decoding the key pictures) is done by then
    before = cpu_seconds(calc.pid), cpu_seconds(server.pid)
    time.sleep(options.idle)
    after = cpu_seconds(calc.pid), cpu_seconds(server.pid)
    print(f"idle over {options.idle:g} s, 3 s after the window showed (% of one core):")
    for name, b, a in zip(("calc", "pulseaudio"), before, after):
        print(f"  {name:<11} {100 * (a - b) / options.idle:5.1f} %")

    recorder = Recorder(processes, env)
    first, following, silent = [], [], []
    for run in range(options.runs):
        time.sleep(options.silence)
        for key, latencies in (("1", first), ("2", following)):
            mouse.move(x + KEYS[key][0], y + KEYS[key][1])
            # The second note comes once the first has died away at the sink, its voice still
            # ending: the stream plays on.
            if key == "2":
                recorder.wait_for_quiet()
                listing = subprocess.run(
                    ["pactl", "list", "sink-inputs"], env=env, capture_output=True, text=True
                ).stdout
                silent.append('application.name = "calc"' not in listing)
            pressed = mouse.button(True)
            time.sleep(0.3)
            mouse.button(False)
            onset = recorder.onset_after(pressed)
            latencies.append(None if onset is None else 1000 * (onset - pressed))
    for name, latencies in (
        (f"first note after {options.silence:g} s of silence", first),
        (
            f"note right after another ({silent.count(False)} of {len(silent)} on a playing stream)",
            following,
        ),
    ):
        heard = [f"{m:.1f}" for m in latencies if m is not None]
        unheard = latencies.count(None)
        median = statistics.median(m for m in latencies if m is not None) if heard else None
        print(f"press → sound at the sink, {name}: {', '.join(heard) or '-'} ms", end="")
        print(f" (median {median:.1f} ms)" if median is not None else "", end="")
        print(f"; {unheard} press(es) not heard" if unheard else "")
    processes.close()


if __name__ == "__main__":
    main()
