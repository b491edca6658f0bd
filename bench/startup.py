#!/usr/bin/env python3
"""Start-up of the calculator on the default skin and on a skin of thirteen 4000×3000 photos.

For each skin and each run it prints the time from starting the program until the start picture
is on screen, the time until all twelve key pictures are decoded, and the peak resident memory.
The calculator runs on a private Xvfb (no window manager) with ALSA's null device as its sound
output, so that its synthesizer opens without a sound card and no message box holds up the
start. The null device takes sound as fast as it is made, so the synthesizer's thread keeps one
core busy where a sound card would pace it: on a machine with few cores the times are high.
(A JACK server on dummy audio paces it, but maps some 100 MB of JACK's shared memory into every
client, which would swamp the memory figure.) Not a test: it prints figures and the goals they
are held against.

    bench/startup.py [--build build] [--runs 5]
"""

import argparse
import ctypes
import os
import shutil
import statistics
import subprocess
import sys
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tools", "xsession"))
from xsession import XSession  # noqa: E402

PHOTO_SIZE = "4000x3000"
PICTURE_KEYS = ["StartBmp"] + [f"SglBmp{c}" for c in "123456789AEC"]
# A point of the backdrop that no key and no readout covers: the gap under the readout.
PROBE = (80, 29)
READY_LINE = "all key pictures ready"
GOAL_START_RATIO = 2.0
GOAL_PEAK_MB = 60


class XImage(ctypes.Structure):
    _fields_ = [
        ("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
        ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)),
        ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
        ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int),
        ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int),
        ("red_mask", ctypes.c_ulong), ("green_mask", ctypes.c_ulong), ("blue_mask", ctypes.c_ulong),
        ("obdata", ctypes.c_void_p), ("create_image", ctypes.c_void_p),
        ("destroy_image", ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p)),
    ]  # fmt: skip


class Screen:
    """Reads single pixels of the X screen, fast enough to poll every millisecond."""

    def __init__(self, display_name):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x11.XGetImage.restype = ctypes.POINTER(XImage)
        self.x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                       ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]  # fmt: skip
        self.x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.display = self.x11.XOpenDisplay(display_name.encode())
        if not self.display:
            raise SystemExit(f"cannot open display {display_name}")
        self.root = self.x11.XDefaultRootWindow(self.display)

    def pixel(self, x, y):
        z_pixmap, all_planes = 2, 0xFFFFFFFF
        image = self.x11.XGetImage(self.display, self.root, x, y, 1, 1, all_planes, z_pixmap)
        blue, green, red = image.contents.data[0], image.contents.data[1], image.contents.data[2]
        image.contents.destroy_image(ctypes.cast(image, ctypes.c_void_p))
        return red, green, blue

    def close(self):
        self.x11.XCloseDisplay(self.display)


def make_quiet_home(home):
    """A home folder whose ALSA default output is the null device: it takes sound, plays none."""
    os.makedirs(home)
    with open(os.path.join(home, ".asoundrc"), "w") as file:
        file.write("pcm.!default {\n    type null\n}\n")


def settings_lines(path):
    with open(path, "rb") as file:
        return file.read().decode("cp932").split("\r\n")


def make_default_skin(folder, build):
    os.makedirs(folder)
    shutil.copy(os.path.join(build, "bin", "calc"), folder)
    subprocess.run([os.path.join(build, "tools", "makeskin", "makeskin"), folder], check=True,
                   env=dict(os.environ, QT_QPA_PLATFORM="offscreen"), stderr=subprocess.DEVNULL)  # fmt: skip


def make_photos(cache):
    """Thirteen 4000×3000 JPEG photos: one plasma picture, its hue turned for each of the others."""
    names = [f"photo-{i:02}.jpg" for i in range(len(PICTURE_KEYS))]
    if all(os.path.exists(os.path.join(cache, n)) for n in names):
        return names
    os.makedirs(cache, exist_ok=True)
    print(f"drawing {len(names)} photos of {PHOTO_SIZE} into {cache} (once)", file=sys.stderr)
    base = os.path.join(cache, "plasma.miff")
    subprocess.run(["convert", "-seed", "7", "-size", PHOTO_SIZE, "plasma:fractal", base], check=True)
    for index, name in enumerate(names):
        hue = 100 + index * 200 // len(names)  # ImageMagick's modulate: 100 keeps the hue
        subprocess.run(["convert", base, "-modulate", f"100,110,{hue}", "-quality", "90",
                        os.path.join(cache, name)], check=True)  # fmt: skip
    os.remove(base)
    return names


def make_photo_skin(folder, default_folder, photos, cache):
    os.makedirs(folder)
    shutil.copy(os.path.join(default_folder, "calc"), folder)
    shutil.copy(os.path.join(default_folder, "calc.ico"), folder)
    for name in photos:
        shutil.copy(os.path.join(cache, name), folder)
    lines = []
    for line in settings_lines(os.path.join(default_folder, "calc.dat")):
        key = line.split("=", 1)[0]
        if key in PICTURE_KEYS:
            line = f"{key}={photos[PICTURE_KEYS.index(key)]}"
        lines.append(line)
    with open(os.path.join(folder, "calc.dat"), "wb") as file:
        file.write("\r\n".join(lines).encode("cp932"))


def peak_rss_mb(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) / 1024
    return float("nan")


def near(a, b, tolerance=6):
    return all(abs(x - y) <= tolerance for x, y in zip(a, b))


class Run:
    """One start of the calculator: when its start picture shows, when its pictures are ready."""

    def __init__(self, processes, screen, folder, env):
        self.ready_at = None
        self.begin = time.monotonic()
        self.process = processes.start([os.path.join(folder, "calc")], env=env,
                                       stderr=subprocess.PIPE)  # fmt: skip
        threading.Thread(target=self._watch_log, daemon=True).start()
        self.screen = screen

    def _watch_log(self):
        for line in self.process.stderr:
            if READY_LINE.encode() in line and self.ready_at is None:
                self.ready_at = time.monotonic()

    def wait_for_pixel(self, reference, timeout=30):
        deadline = self.begin + timeout
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                raise SystemExit(f"calc ended with code {self.process.returncode}")
            colour = self.screen.pixel(*PROBE)
            if reference is None or near(colour, reference):
                return time.monotonic() - self.begin, colour
            time.sleep(0.001)
        raise SystemExit("the start picture did not appear")

    def wait_until_ready(self, timeout=30):
        deadline = self.begin + timeout
        while self.ready_at is None and time.monotonic() < deadline:
            time.sleep(0.005)
        if self.ready_at is None:
            raise SystemExit("the key pictures were not reported ready")
        return self.ready_at - self.begin


def reference_pixel(processes, screen, folder, env):
    """The start picture's colour at the probe, once the window has settled."""
    blank = screen.pixel(*PROBE)
    run = Run(processes, screen, folder, env)
    deadline = time.monotonic() + 30
    while screen.pixel(*PROBE) == blank and time.monotonic() < deadline:
        time.sleep(0.01)
    time.sleep(2)
    colour = screen.pixel(*PROBE)
    processes.stop(run.process)
    time.sleep(0.3)
    return colour


def measure(processes, screen, folder, env, runs):
    reference = reference_pixel(processes, screen, folder, env)
    results = []
    for _ in range(runs):
        run = Run(processes, screen, folder, env)
        shown, _ = run.wait_for_pixel(reference)
        ready = run.wait_until_ready()
        time.sleep(0.2)
        results.append((shown, ready, peak_rss_mb(run.process.pid)))
        processes.stop(run.process)
        time.sleep(0.3)
    return results


def report(name, results):
    print(f"{name}:")
    for shown, ready, peak in results:
        print(f"  start picture on screen {shown * 1000:7.0f} ms   all pictures ready "
              f"{ready * 1000:7.0f} ms   peak RSS {peak:5.1f} MB")  # fmt: skip
    medians = [statistics.median(column) for column in zip(*results)]
    print(f"  median                  {medians[0] * 1000:7.0f} ms   {'':19}"
          f"{medians[1] * 1000:7.0f} ms   max {max(r[2] for r in results):5.1f} MB")  # fmt: skip
    return medians[0], max(r[2] for r in results)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", default="build", help="the build folder (default: build)")
    parser.add_argument("--runs", type=int, default=5, help="starts per skin (default: 5)")
    options = parser.parse_args()
    build = os.path.abspath(options.build)

    processes = XSession(prefix="calc-bench-")
    root = processes.root
    screen = None
    try:
        make_quiet_home(os.path.join(root, "home"))
        env = {k: v for k, v in processes.env.items() if not k.startswith(("PULSE", "JACK"))}
        env.update(HOME=os.path.join(root, "home"), QT_LOGGING_RULES="calc.pictures.info=true")

        default_skin = os.path.join(root, "default")
        make_default_skin(default_skin, build)
        cache = os.path.join(build, "bench-photos")
        photo_skin = os.path.join(root, "photos")
        make_photo_skin(photo_skin, default_skin, make_photos(cache), cache)

        screen = Screen(processes.display)
        print(f"calc from {build}, {options.runs} runs per skin, {os.cpu_count()} cores")
        default_start, default_peak = report(
            "default skin (13 pictures of 322×338)",
            measure(processes, screen, default_skin, env, options.runs))  # fmt: skip
        photo_start, photo_peak = report(
            f"photo skin (13 JPEG photos of {PHOTO_SIZE.replace('x', '×')})",
            measure(processes, screen, photo_skin, env, options.runs))  # fmt: skip

        ratio = photo_start / default_start
        print(f"photo start / default start: {ratio:.2f} (goal: at most {GOAL_START_RATIO})")
        print(f"peak RSS: {max(default_peak, photo_peak):.1f} MB (goal: under {GOAL_PEAK_MB} MB); "
              f"the photos add {photo_peak - default_peak:+.1f} MB to the default skin's")  # fmt: skip
    finally:
        if screen:
            screen.close()
        processes.close()


if __name__ == "__main__":
    main()
