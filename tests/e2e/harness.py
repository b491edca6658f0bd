"""Runs the real calculator from skin folders of its own and works it as a user would.

Keys are clicked at the centres of their rectangles in the control table, the readout is
read through the COPY key and the clipboard, and the backdrop is told by its colour.
"""

import itertools
import os
import re
import unittest

from face import BACKDROP_POINTS, key_centre, pixel_rect
from skin import PictureStock, default_settings, holder_of, settings_bytes
from xdisplay import BOX_TITLE, Display, wait_until

CALC_BINARY = os.environ.get("CALC_BINARY", "")
DEFAULT_SETTINGS_FILE = settings_bytes(default_settings())


class Calc:
    """The calculator started from a skin folder of its own, clicked at its control table."""

    def __init__(self, display, folder):
        self.display = display
        self.process = display.start([os.path.join(folder, "calc")], cwd=display.root)
        self.window = None
        self.sound_notices = []
        self._last_click = (None, 0)

    def _is_sound_notice(self, text):
        # Where the machine has no sound output the calculator says so and starts silently.
        return "音源" in text

    def next_message(self, timeout=20):
        """The next message box of this calculator and its text, past any sound notice."""
        while True:
            box = self.display.wait_for_box(self.process, timeout)
            text = self.display.box_text(box)
            if not self._is_sound_notice(text):
                return box, text
            self.sound_notices.append(text)
            self.display.dismiss(box, self.process)

    def wait_for_window(self, start="start", timeout=20):
        """Waits for the calculator's window, painted with the start holder's picture."""

        def window():
            for w in self.display.visible_windows(self.process.pid):
                if w.name != BOX_TITLE:
                    return w
                text = self.display.box_text(w)
                if not self._is_sound_notice(text):
                    raise AssertionError(f"a message box instead of the window: {text}")
                self.sound_notices.append(text)
                self.display.dismiss(w, self.process)
            if self.process.poll() is not None:
                code = self.process.returncode
                raise AssertionError(f"calc ended (code {code}) without a window")
            return None

        self.window = wait_until(window, timeout, "calculator window")
        if start:
            self.wait_for_backdrop(start, timeout=10)
        return self

    def wait_for_exit(self, timeout=10):
        wait_until(self.process.poll, timeout, "end of calc")
        return self.process.returncode

    def click(self, *keys):
        args = ["xdotool"]
        for key in keys:
            x, y = key_centre(key)
            # The same key twice in a row is clicked a few pixels apart, so that two quick
            # clicks are two presses and not one double click.
            last_key, last_offset = self._last_click
            offset = (6 - last_offset) if key == last_key else 0
            self._last_click = (key, offset)
            args += ["mousemove", str(self.window.x + x + offset), str(self.window.y + y)]
            args += ["click", "--delay", "0", "1"]
        self.display.run(args, timeout=60)

    def click_at(self, x, y):
        """A click on a point of the client area that may hold no key."""
        self.display.run(["xdotool", "mousemove", str(self.window.x + x), str(self.window.y + y),
                          "click", "--delay", "0", "1"])  # fmt: skip
        self._last_click = (None, 0)

    def double_click(self, key):
        x, y = key_centre(key)
        self.display.run(["xdotool", "mousemove", str(self.window.x + x), str(self.window.y + y),
                          "click", "--repeat", "2", "--delay", "60", "1"])  # fmt: skip
        self._last_click = (None, 0)

    def type(self, *keysyms):
        self.window.focus()
        keys = self.display.physical_keys(keysyms)
        self.display.run(["xdotool", "key", "--delay", "0", *keys], timeout=60)

    def readout(self):
        """The readout as COPY puts it on the clipboard."""
        sentinel = self.display.new_sentinel()
        self.click("COPY")
        return self.display.wait_for_copy(sentinel, "readout on the clipboard after COPY")

    def screenshot(self):
        """The client area alone: pixel (0, 0) is the window's top-left corner."""
        shot = self.display.screenshot()
        return _Client(shot, self.window.x, self.window.y)

    def backdrop(self):
        """The holder whose picture the backdrop shows, or a description of what is there."""
        shot = self.screenshot()
        colours = [shot.pixel(x, y) for x, y in BACKDROP_POINTS]
        holders = {holder_of(c) for c in colours}
        if len(holders) == 1 and None not in holders:
            return holders.pop()
        return "no single picture: " + ", ".join(map(str, colours))

    def wait_for_backdrop(self, expected, timeout=3):
        seen = []

        def shows():
            seen.append(self.backdrop())
            return True if seen[-1] == expected else None

        try:
            wait_until(shows, timeout, f"backdrop {expected}")
        except AssertionError:
            raise AssertionError(f"backdrop shows {seen[-1]}, expected {expected}") from None

    def close(self):
        self.display.stop(self.process)


class _Client:
    def __init__(self, shot, x0, y0):
        self.shot, self.x0, self.y0 = shot, x0, y0

    def pixel(self, x, y):
        return self.shot.pixel(self.x0 + x, self.y0 + y)

    def count_near(self, twips_rect, colour):
        x0, y0, x1, y1 = pixel_rect(twips_rect)
        rect = (self.x0 + x0, self.y0 + y0, self.x0 + x1, self.y0 + y1)
        return self.shot.count_near(rect, colour)


class CalcTestCase(unittest.TestCase):
    """One private display per test class; every test starts the calculators it needs."""

    @classmethod
    def setUpClass(cls):
        if not CALC_BINARY or not os.access(CALC_BINARY, os.X_OK):
            raise AssertionError(f"no calculator at CALC_BINARY={CALC_BINARY!r}: build calc first")
        cls.display = Display()
        cls.addClassCleanup(cls.display.close)
        stock_folder = os.path.join(cls.display.root, "stock")
        os.makedirs(stock_folder)
        cls.stock = PictureStock(stock_folder)
        cls._skins = itertools.count(1)

    def make_skin(self, settings_file=DEFAULT_SETTINGS_FILE):
        """A new skin folder; settings_file is calc.dat's bytes, or None for no calc.dat."""
        folder = os.path.join(self.display.root, f"skin{next(self._skins)}")
        self.stock.make_skin(folder, CALC_BINARY, settings_file)
        return folder

    def start_calc(self, folder=None, start="start"):
        calc = Calc(self.display, folder or self.make_skin())
        self.addCleanup(calc.close)
        return calc.wait_for_window(start)

    def window_icon_colour(self, window):
        """The colour of the top-left pixel of the first picture of the window's icon."""
        prop = self.display.run(["xprop", "-id", str(window.id), "-notype", "-f", "_NET_WM_ICON",
                                 "32c", r"=$0,$1,$2\n", "_NET_WM_ICON"]).decode()  # fmt: skip
        numbers = [int(n) for n in re.findall(r"\d+", prop.partition("=")[2])]
        if len(numbers) < 3:
            raise AssertionError(f"the window has no icon: {prop.strip()}")
        argb = numbers[2]
        return ((argb >> 16) & 255, (argb >> 8) & 255, argb & 255)
