#!/usr/bin/env python3
"""Start-up of the calculator against the floor of its toolkit, in one interleaved run.

Builds a bare Qt 6 program of the calculator's size that shows the same start picture and one
line of Japanese text in the captions' font, and starts it in turn with the calculator on its
default skin and on a skin of thirteen 4000×3000 JPEG photos, that one both with an empty picture
cache before every start and with its pictures cached (and xcalc, when installed), all
under one Xvfb (no window manager) and one sound server: a PulseAudio null sink when pulseaudio
is installed, else ALSA's null device. For each program it prints the median time from exec
until the start picture is on screen, its ratio to the bare program, and the peak resident
memory less the memory shared with the servers (VmHWM − RssShmem), held against the goals.
For the calculator it also prints when all twelve key pictures were decoded. Not a test: it
prints figures.

    bench/startup.py [--build build] [--runs 9] [--no-sound-server]
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
GOAL_RATIO = 1.3
CACHED_PHOTO_GOAL_RATIO = 1.05


class XImage(ctypes.Structure):
    _fields_ = [
        ("width", ctypes.c_int),
        ("height", ctypes.c_int),
        ("xoffset", ctypes.c_int),
        ("format", ctypes.c_int),
        ("data", ctypes.POINTER(ctypes.c_ubyte)),
        ("byte_order", ctypes.c_int),
        ("bitmap_unit", ctypes.c_int),
        ("bitmap_bit_order", ctypes.c_int),
        ("bitmap_pad", ctypes.c_int),
        ("depth", ctypes.c_int),
        ("bytes_per_line", ctypes.c_int),
        ("bits_per_pixel", ctypes.c_int),
        ("red_mask", ctypes.c_ulong),
        ("green_mask", ctypes.c_ulong),
        ("blue_mask", ctypes.c_ulong),
        ("obdata", ctypes.c_void_p),
        ("create_image", ctypes.c_void_p),
        ("destroy_image", ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p)),
    ]


class Screen:
    """Reads single pixels of the X screen, fast enough to poll every millisecond."""

    def __init__(self, display_name):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x11.XGetImage.restype = ctypes.POINTER(XImage)
        self.x11.XGetImage.argtypes = [
            ctypes.c_void_p,
            ctypes.c_ulong,
            ctypes.c_int,
            ctypes.c_int,
            ctypes.c_uint,
            ctypes.c_uint,
            ctypes.c_ulong,
            ctypes.c_int,
        ]
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


def settings_lines(path):
    with open(path, "rb") as file:
        return file.read().decode("cp932").split("\r\n")


def make_default_skin(folder, build):
    os.makedirs(folder)
    shutil.copy(os.path.join(build, "bin", "calc"), folder)
    subprocess.run(
        [os.path.join(build, "tools", "makeskin", "makeskin"), folder],
        check=True,
        env=dict(os.environ, QT_QPA_PLATFORM="offscreen"),
        stderr=subprocess.DEVNULL,
    )


def make_photos(cache):
    """Thirteen 4000×3000 JPEG photos: one plasma picture, its hue turned for each of the others."""
    names = [f"photo-{i:02}.jpg" for i in range(len(PICTURE_KEYS))]
    if all(os.path.exists(os.path.join(cache, n)) for n in names):
        return names
    os.makedirs(cache, exist_ok=True)
    print(f"drawing {len(names)} photos of {PHOTO_SIZE} into {cache} (once)", file=sys.stderr)
    base = os.path.join(cache, "plasma.miff")
    subprocess.run(
        ["convert", "-seed", "7", "-size", PHOTO_SIZE, "plasma:fractal", base], check=True
    )
    for index, name in enumerate(names):
        hue = 100 + index * 200 // len(names)  # ImageMagick's modulate: 100 keeps the hue
        subprocess.run(
            [
                "convert",
                base,
                "-modulate",
                f"100,110,{hue}",
                "-quality",
                "90",
                os.path.join(cache, name),
            ],
            check=True,
        )
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


def build_bare_program(build):
    folder = os.path.join(build, "bench-bare")
    for step in (
        ["cmake", "-S", os.path.join(HERE, "bare"), "-B", folder, "-DCMAKE_BUILD_TYPE=Release"],
        ["cmake", "--build", folder],
    ):
        subprocess.run(step, check=True, stdout=subprocess.DEVNULL)
    return os.path.join(folder, "bare")


def start_sound_server(processes, env, wanted):
    """A PulseAudio daemon with a null sink, private to this run; else ALSA's null device."""
    home = os.path.join(processes.root, "home")
    os.makedirs(home)
    env.update(HOME=home)
    if wanted and shutil.which("pulseaudio"):
        socket = processes.start_pulseaudio(env)
        deadline = time.monotonic() + 10
        while not os.path.exists(socket) and time.monotonic() < deadline:
            time.sleep(0.05)
        if os.path.exists(socket):
            return "a PulseAudio null sink"
        print("pulseaudio did not start; using ALSA's null device", file=sys.stderr)
        env.pop("PULSE_SERVER")
    with open(os.path.join(home, ".asoundrc"), "w") as file:
        file.write("pcm.!default {\n    type null\n}\n")
    why = "no sound server asked for" if not wanted else "pulseaudio is not installed"
    return f"ALSA's null device ({why})"


def memory_kb(pid):
    fields = {}
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            name, _, value = line.partition(":")
            fields[name] = value.split()[0] if value.split() else "0"
    return int(fields.get("VmHWM", 0)), int(fields.get("RssShmem", 0))


def near(a, b, tolerance=6):
    return all(abs(x - y) <= tolerance for x, y in zip(a, b))


class Program:
    """One program of the table, and how to know its start picture is on screen."""

    def __init__(self, name, args, reports_ready=False, emptied_cache=None):
        self.name, self.args, self.reports_ready = name, args, reports_ready
        self.emptied_cache = emptied_cache  # its own picture cache, emptied before every start
        self.reference = None
        self.results = []  # (shown seconds, ready seconds or None, peak own KB)

    def start(self, processes, env):
        if self.emptied_cache:
            shutil.rmtree(self.emptied_cache, ignore_errors=True)
            env = dict(env, XDG_CACHE_HOME=self.emptied_cache)
        begin = time.monotonic()
        process = processes.start(self.args, env=env, stderr=subprocess.PIPE)
        ready = []

        def watch_log():
            for line in process.stderr:
                if READY_LINE.encode() in line and not ready:
                    ready.append(time.monotonic())

        threading.Thread(target=watch_log, daemon=True).start()
        return begin, process, ready

    def learn_reference(self, processes, screen, env):
        """The start picture's colour at the probe, once the window has settled."""
        blank = screen.pixel(*PROBE)
        _, process, _ = self.start(processes, env)
        deadline = time.monotonic() + 30
        while screen.pixel(*PROBE) == blank and time.monotonic() < deadline:
            time.sleep(0.01)
        time.sleep(2)
        self.reference = screen.pixel(*PROBE)
        processes.stop(process)
        time.sleep(0.3)

    def measure(self, processes, screen, env):
        begin, process, ready = self.start(processes, env)
        while not near(screen.pixel(*PROBE), self.reference):
            if process.poll() is not None:
                raise SystemExit(f"{self.name} ended with code {process.returncode}")
            if time.monotonic() - begin > 30:
                raise SystemExit(f"{self.name}: the start picture did not appear")
            time.sleep(0.001)
        shown = time.monotonic() - begin
        while self.reports_ready and not ready and time.monotonic() - begin < 30:
            time.sleep(0.005)
        time.sleep(0.3)
        peak, shared = memory_kb(process.pid)
        self.results.append((shown, ready[0] - begin if ready else None, peak - shared))
        processes.stop(process)
        time.sleep(0.3)

    def medians(self):
        shown = statistics.median(r[0] for r in self.results)
        readies = [r[1] for r in self.results if r[1] is not None]
        ready = statistics.median(readies) if readies else None
        return shown, ready, max(r[2] for r in self.results) / 1024


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", default="build", help="the build folder (default: build)")
    parser.add_argument("--runs", type=int, default=9, help="starts per program (default: 9)")
    parser.add_argument(
        "--no-sound-server",
        action="store_true",
        help="no PulseAudio: the built-in synthesizer plays to ALSA's null device",
    )
    options = parser.parse_args()
    build = os.path.abspath(options.build)

    processes = XSession(prefix="calc-bench-")
    root = processes.root
    screen = None
    try:
        env = {k: v for k, v in processes.env.items() if not k.startswith(("PULSE", "JACK"))}
        sound = start_sound_server(processes, env, not options.no_sound_server)
        bare = build_bare_program(build)
        default_skin = os.path.join(root, "default")
        make_default_skin(default_skin, build)
        cache = os.path.join(build, "bench-photos")
        photo_skin = os.path.join(root, "photos")
        make_photo_skin(photo_skin, default_skin, make_photos(cache), cache)

        programs = [
            Program("bare Qt 6 window, 162×169", [bare, os.path.join(default_skin, "start.bmp")]),
            Program("calc, default skin", [os.path.join(default_skin, "calc")], True),
            Program(
                "calc --no-sound, default skin",
                [os.path.join(default_skin, "calc"), "--no-sound"],
                True,
            ),
            Program(
                f"calc, photo skin (13 × {PHOTO_SIZE} JPEG), uncached",
                [os.path.join(photo_skin, "calc")],
                True,
                os.path.join(root, "empty-cache"),
            ),
            Program(
                f"calc, photo skin (13 × {PHOTO_SIZE} JPEG), cached",
                [os.path.join(photo_skin, "calc")],
                True,
            ),
        ]
        if shutil.which("xcalc"):
            programs.append(Program("xcalc", ["xcalc"]))
        # The cached rows keep their pictures in this run's own folder, never in the user's.
        env.update(
            QT_LOGGING_RULES="calc.pictures.info=true", XDG_CACHE_HOME=os.path.join(root, "cache")
        )
        screen = Screen(processes.display)
        for program in programs:
            program.learn_reference(processes, screen, env)
        for _ in range(options.runs):
            for program in programs:
                program.measure(processes, screen, env)

        cpu = subprocess.run(
            ["sh", "-c", "grep -m1 'model name' /proc/cpuinfo | cut -d: -f2"],
            capture_output=True,
            text=True,
        ).stdout.strip()
        print(
            f"{options.runs} interleaved starts each; {os.cpu_count()} cores ({cpu}); "
            f"sound: {sound}; calc from {build}"
        )
        floor = programs[0].medians()
        default = programs[1].medians()
        print(
            f"| program | exec → start picture painted | ratio to bare | key pictures ready "
            f"| peak RSS less shared | ratio to bare |\n|---|---|---|---|---|---|"
        )
        for program in programs:
            shown, ready, peak = program.medians()
            ready_text = f"{ready * 1000:.0f} ms" if ready is not None else ""
            print(
                f"| {program.name} | {shown * 1000:.0f} ms | {shown / floor[0]:.2f} "
                f"| {ready_text} | {peak:.1f} MB | {peak / floor[2]:.2f} |"
            )
        photo = programs[2].medians()
        cached = programs[3].medians()
        print(
            f"goals (at most {GOAL_RATIO}×): start {default[0] / floor[0]:.2f}× the bare window, "
            f"peak RSS {default[2] / floor[2]:.2f}× its own, "
            f"photo skin start {photo[0] / default[0]:.2f}× the default skin's; "
            f"(at most {CACHED_PHOTO_GOAL_RATIO}×) cached photo skin start "
            f"{cached[0] / default[0]:.2f}× the default skin's"
        )
    finally:
        if screen:
            screen.close()
        processes.close()


if __name__ == "__main__":
    main()
