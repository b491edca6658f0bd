"""A skin the calculator cannot use brings one message naming the file, then the end."""

import os
import unittest

from harness import Calc, CalcTestCase
from skin import default_settings, settings_bytes
from xdisplay import BOX_TITLE


def write(name, data):
    def prepare(folder):
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)

    return prepare


def cut(source, name, size):
    def prepare(folder):
        with open(os.path.join(folder, source), "rb") as f:
            data = f.read(size)
        write(name, data)(folder)

    return prepare


def make(maker, name):
    return lambda folder: maker(os.path.join(folder, name))


def nothing(folder):
    pass


# (tag, settings changed, folder prepared, part of the message)
ROWS = [
    ("ZeiRitu=abc", {"ZeiRitu": "abc"}, nothing, "calc.dat"),
    ("missing picture", {"SglBmp5": "nothere.bmp"}, nothing, "nothere.bmp"),
    ("missing icon", {"Icon": "missing.ico"}, nothing, "missing.ico"),
    ("FIFO as picture", {"SglBmp3": "pipe"}, make(os.mkfifo, "pipe"), "pipe"),
    ("folder as start picture", {"StartBmp": "sub"}, make(os.mkdir, "sub"), "sub"),
    ("GIF cut after its header", {"SglBmp9": "cut.gif"}, cut("two.gif", "cut.gif", 30), "cut.gif"),
    ("empty SglBmpE", {"SglBmpE": ""}, nothing, "SglBmpE"),
]


class StartupFailureTest(CalcTestCase):
    def refused(self, folder, fragment, window_allowed=False):
        calc = Calc(self.display, folder)
        self.addCleanup(calc.close)
        box, text = calc.next_message()
        self.assertIn(fragment, text)
        shown = [w.name for w in self.display.visible_windows(calc.process.pid)]
        if not window_allowed:
            self.assertEqual(shown, [BOX_TITLE], "nothing but the message is shown")
        self.display.dismiss(box, calc.process)
        calc.wait_for_exit()

    def test_unusable_skin(self):
        for tag, changes, prepare, fragment in ROWS:
            with self.subTest(tag):
                settings = default_settings()
                settings.update(changes)
                folder = self.make_skin(settings_bytes(settings))
                prepare(folder)
                self.refused(folder, fragment)

    def test_no_settings_file(self):
        self.refused(self.make_skin(None), "calc.dat")

    def test_picture_broken_past_its_header(self):
        # The header reads as a picture, so the window may already be up when decoding fails.
        settings = default_settings()
        settings["SglBmp7"] = "cut.jpg"
        folder = self.make_skin(settings_bytes(settings))
        cut("one.jpg", "cut.jpg", 400)(folder)
        self.refused(folder, "cut.jpg", window_allowed=True)

    def test_empty_start_picture_starts(self):
        settings = default_settings()
        settings["StartBmp"] = ""
        calc = self.start_calc(self.make_skin(settings_bytes(settings)), start=None)
        calc.click("7")
        calc.wait_for_backdrop("imgS7")
        self.assertEqual(calc.readout(), "7.")


if __name__ == "__main__":
    unittest.main()
