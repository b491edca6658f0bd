#!/usr/bin/env python3
"""The shelf window's start against a bare Qt window, in one interleaved run.

Puts 50 copies of the photo skin of bench/startup.py (thirteen 4000×3000 JPEGs each, the files
hard-linked) on a shelf of its own and starts `picturecalc --shelf` on it, in turn with the bare
program of bench/startup.py on the default skin's start picture, under one Xvfb (no window
manager). For each it prints the median time from exec until the pictures are on screen: for
the shelf, a point of the first tile and one of the last tile of the first screenful, once with
the picture cache emptied before every start and once with it kept. Not a test: it prints
figures.

    bench/shelf.py [--build build] [--runs 9] [--skins 50]
"""

import argparse
import os
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import startup  # noqa: E402

GOAL_RATIO = 2.0
# The tiles of the window as it opens under a display without window manager: the first tile's
# picture starts at (24, 14); tiles lie 186 pixels apart across and 214 down, three by three.
TILE_PROBES = [(80, 29), (80 + 2 * 186, 29 + 2 * 214)]


class ShelfProgram(startup.Program):
    """A program whose start is done when every probe shows its settled colour."""

    def __init__(self, name, args, probes, emptied_cache=None):
        super().__init__(name, args, emptied_cache=emptied_cache)
        self.probes = probes

    def colours(self, screen):
        return [screen.pixel(*probe) for probe in self.probes]

    def learn_reference(self, processes, screen, env):
        blank = self.colours(screen)
        _, process, _ = self.start(processes, env)
        deadline = time.monotonic() + 60
        while any(a == b for a, b in zip(self.colours(screen), blank)):
            if time.monotonic() > deadline:
                raise SystemExit(f"{self.name}: nothing appeared at {self.probes}")
            time.sleep(0.01)
        time.sleep(3)
        self.reference = self.colours(screen)
        processes.stop(process)
        time.sleep(0.3)

    def measure(self, processes, screen, env):
        begin, process, _ = self.start(processes, env)
        while not all(startup.near(a, b) for a, b in zip(self.colours(screen), self.reference)):
            if process.poll() is not None:
                raise SystemExit(f"{self.name} ended with code {process.returncode}")
            if time.monotonic() - begin > 60:
                raise SystemExit(f"{self.name}: the pictures did not appear")
            time.sleep(0.001)
        self.results.append((time.monotonic() - begin, None, 0))
        processes.stop(process)
        time.sleep(0.3)


def make_shelf(data_home, photo_skin, build, count):
    shelf = os.path.join(data_home, "picturecalc", "skins")
    for index in range(count):
        folder = os.path.join(shelf, f"photo-{index:02}")
        os.makedirs(folder)
        for name in os.listdir(photo_skin):
            os.link(os.path.join(photo_skin, name), os.path.join(folder, name))
        os.remove(os.path.join(folder, "calc"))
        for program in ("calc", "Skinwright"):
            os.link(os.path.join(build, "bin", program), os.path.join(folder, program))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", default="build", help="the build folder (default: build)")
    parser.add_argument("--runs", type=int, default=9, help="starts per program (default: 9)")
    parser.add_argument("--skins", type=int, default=50, help="skins on the shelf (default: 50)")
    options = parser.parse_args()
    build = os.path.abspath(options.build)

    processes = startup.XSession(screen="1024x768x24", prefix="shelf-bench-")
    root = processes.root
    screen = None
    try:
        env = {k: v for k, v in processes.env.items() if not k.startswith(("PULSE", "JACK"))}
        env.update(
            HOME=os.path.join(root, "home"),
            XDG_DATA_HOME=os.path.join(root, "data"),
            XDG_CACHE_HOME=os.path.join(root, "cache"),
        )
        os.makedirs(env["HOME"])
        bare = startup.build_bare_program(build)
        default_skin = os.path.join(root, "default")
        startup.make_default_skin(default_skin, build)
        cache = os.path.join(build, "bench-photos")
        photo_skin = os.path.join(root, "photos")
        startup.make_photo_skin(photo_skin, default_skin, startup.make_photos(cache), cache)
        make_shelf(env["XDG_DATA_HOME"], photo_skin, build, options.skins)

        shelf_window = os.path.join(build, "bin", "picturecalc")
        programs = [
            ShelfProgram(
                "bare Qt 6 window, 162×169",
                [bare, os.path.join(default_skin, "start.bmp")],
                TILE_PROBES[:1],
            ),
            ShelfProgram(
                f"shelf window, {options.skins} photo skins, not cached",
                [shelf_window, "--shelf"],
                TILE_PROBES,
                os.path.join(root, "empty-cache"),
            ),
            ShelfProgram(
                f"shelf window, {options.skins} photo skins, cached",
                [shelf_window, "--shelf"],
                TILE_PROBES,
            ),
        ]
        screen = startup.Screen(processes.display)
        for program in programs:
            program.learn_reference(processes, screen, env)
        for _ in range(options.runs):
            for program in programs:
                program.measure(processes, screen, env)

        print(
            f"{options.runs} interleaved starts each; {os.cpu_count()} cores; "
            f"programs from {build}"
        )
        floor = statistics.median(r[0] for r in programs[0].results)
        print("| program | exec → visible tiles painted | ratio to bare |\n|---|---|---|")
        for program in programs:
            shown = statistics.median(r[0] for r in program.results)
            print(f"| {program.name} | {shown * 1000:.0f} ms | {shown / floor:.2f} |")
        shown = statistics.median(r[0] for r in programs[2].results)
        print(f"goal (cached, at most {GOAL_RATIO}× the bare window): {shown / floor:.2f}×")
    finally:
        if screen:
            screen.close()
        processes.close()


if __name__ == "__main__":
    main()
