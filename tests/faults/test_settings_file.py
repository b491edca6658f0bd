"""calc.dat as a user or a stray file may leave it: huge, garbled, or not a file at all.

The calculator either starts with the skin's settings or says once what is wrong with calc.dat
and ends; it never hangs on the file, and a file of 100 MB costs no more memory than a small
one, because the reader never holds more than a block and a value of it.
"""

import os
import random
import unittest

from faultkit import MIB, Stopwatch, peak_memory, report
from harness import Calc, CalcTestCase
from skin import DEFAULT_TITLE, default_settings, settings_bytes
from xdisplay import BOX_TITLE

SETTINGS = settings_bytes(default_settings())
HUNDRED_MB = 100 * MIB
# The reader's own share: a 64 KiB block, its decoded text and one value; the rest is slack
# for the sanitizers' bookkeeping.
MEMORY_SLACK = 24 * MIB
START_LIMIT = 60  # seconds from start to window, for 100 MB under the sanitizers


def big_files(path, layout):
    with open(path, "wb") as f:
        if layout == "settings first":
            f.write(SETTINGS)
        if layout == "many lines":
            line = b"not a key, just a line of text that the reader passes over\r\n"
            f.write(line * (HUNDRED_MB // len(line)))
        else:
            f.write(b"x" * HUNDRED_MB)
            if layout == "one line, then settings":
                f.write(b"\r\n")
        if layout != "settings first":
            f.write(SETTINGS)


def garbled(seed):
    """The settings with lines of NUL bytes, bytes that are no code page 932 character and
    lone lead bytes between them."""
    rng = random.Random(seed)
    noise = [bytes([0] * 7), b"\x80\xa0\xfd\xfe\xff", b"\x93", b"\x81\x00\x82\r", b"\xe0\x7f"]
    out = b""
    for line in SETTINGS.split(b"\r\n"):
        out += line + b"\r\n" + b"".join(rng.choice(noise) for _ in range(8)) + b"\n"
    return out


def random_bytes(seed, size):
    rng = random.Random(seed)
    return bytes(rng.getrandbits(8) for _ in range(size))


def special(maker):
    """A calc.dat that is not a regular file with bytes in it."""

    def prepare(folder):
        path = os.path.join(folder, "calc.dat")
        maker(path)

    return prepare


def unreadable(path):
    with open(path, "wb") as f:
        f.write(SETTINGS)
    os.chmod(path, 0)


# (tag, calc.dat's bytes or a preparation, part of the message)
REFUSED = [
    ("empty calc.dat", b"", "calc.dat"),
    ("64 KiB of random bytes", random_bytes(6, 64 * 1024), "calc.dat"),
    ("calc.dat a folder", special(os.mkdir), "calc.dat"),
    ("calc.dat a FIFO nobody writes to", special(os.mkfifo), "calc.dat"),
    ("calc.dat a link to /dev/zero", special(lambda p: os.symlink("/dev/zero", p)), "calc.dat"),
    ("calc.dat unreadable", special(unreadable), "calc.dat"),
]

# (tag, how the big file is laid out)
BIG = ["one line, then settings", "many lines", "settings first"]


class SettingsFileTest(CalcTestCase):
    def skin_with(self, contents):
        if isinstance(contents, bytes):
            return self.make_skin(contents)
        folder = self.make_skin(None)
        contents(folder)
        return folder

    def test_refused_with_one_message(self):
        for tag, contents, fragment in REFUSED:
            with self.subTest(tag):
                folder = self.skin_with(contents)
                calc = Calc(self.display, folder)
                self.addCleanup(calc.close)
                if tag == "calc.dat unreadable" and os.geteuid() == 0:
                    # Root reads any file: the calculator runs as nobody for this one.
                    calc.close()
                    calc = self.start_as_nobody(folder)
                box, text = calc.next_message()
                self.assertIn(fragment, text)
                shown = [w.name for w in self.display.visible_windows(calc.process.pid)]
                self.assertEqual(shown, [BOX_TITLE], "nothing but the message is shown")
                self.display.dismiss(box, calc.process)
                self.assertNotEqual(calc.wait_for_exit(), 0)

    def start_as_nobody(self, folder):
        for path in (self.display.root, folder, os.path.join(folder, "calc")):
            os.chmod(path, os.stat(path).st_mode | 0o055)
        calc = Calc.__new__(Calc)
        calc.display, calc.window, calc.sound_notices = self.display, None, []
        calc._last_click = (None, 0)
        runtime = os.path.join(self.display.root, "run-nobody")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        os.chown(runtime, 65534, 65534)
        env = dict(self.display.env, TMPDIR=runtime, XDG_RUNTIME_DIR=runtime, HOME=runtime)
        calc.process = self.display.start(
            ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
             os.path.join(folder, "calc")], env=env, cwd="/")  # fmt: skip
        self.addCleanup(calc.close)
        return calc

    def test_garbled_lines_between_the_settings(self):
        for seed in (1, 2):
            with self.subTest(seed=seed):
                calc = self.start_calc(self.make_skin(garbled(seed)))
                self.assertEqual(calc.window.name, DEFAULT_TITLE)
                calc.click("7", "X", "6", "＝")
                self.assertEqual(calc.readout(), "42")

    def test_hundred_megabytes_in_bounded_time_and_memory(self):
        small = self.start_calc()
        baseline = peak_memory(small.process.pid)
        small.close()
        report("peak memory with a 1 KB calc.dat", f"{baseline / MIB:.0f} MiB")
        for layout in BIG:
            with self.subTest(layout):
                folder = self.make_skin(None)
                big_files(os.path.join(folder, "calc.dat"), layout)
                with Stopwatch() as watch:
                    calc = Calc(self.display, folder)
                    self.addCleanup(calc.close)
                    calc.wait_for_window(timeout=START_LIMIT)
                peak = peak_memory(calc.process.pid)
                report(f"100 MB calc.dat, {layout}",
                       f"window after {watch.seconds:.1f} s, peak memory {peak / MIB:.0f} MiB")
                self.assertEqual(calc.window.name, DEFAULT_TITLE)
                self.assertLess(watch.seconds, START_LIMIT)
                self.assertLess(peak, baseline + MEMORY_SLACK)
                calc.close()
                os.remove(os.path.join(folder, "calc.dat"))


if __name__ == "__main__":
    unittest.main()
