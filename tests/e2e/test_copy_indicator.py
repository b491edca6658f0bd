"""COPY lights its caption yellow until another program changes the clipboard."""

import time
import unittest

from face import BLUE, KEY_RECTS, YELLOW
from harness import CalcTestCase
from xdisplay import wait_until

WATCH_INTERVAL = 3.0
SLACK = 0.8  # screenshots and process starts on a busy machine


class CopyIndicatorTest(CalcTestCase):
    def caption(self, calc):
        shot = calc.screenshot()
        yellow = shot.count_near(KEY_RECTS["COPY"], YELLOW)
        blue = shot.count_near(KEY_RECTS["COPY"], BLUE)
        if yellow and not blue:
            return "yellow"
        if blue and not yellow:
            return "blue"
        return f"unclear ({yellow} yellow, {blue} blue pixels)"

    def wait_caption(self, calc, colour, timeout):
        seen = []

        def shows():
            seen.append(self.caption(calc))
            return True if seen[-1] == colour else None

        try:
            wait_until(shows, timeout, f"{colour} COPY caption")
        except AssertionError:
            self.fail(f"COPY caption is {seen[-1]}, not {colour}, after {timeout} s")

    def test_lit_until_clipboard_changes(self):
        calc = self.start_calc()
        self.assertEqual(self.caption(calc), "blue")
        calc.click("4", "2")
        self.assertEqual(calc.readout(), "42.")
        self.wait_caption(calc, "yellow", 2)

        time.sleep(WATCH_INTERVAL + 0.5)  # a tick finds its own text and leaves it lit
        self.assertEqual(self.caption(calc), "yellow")
        self.assertEqual(self.display.selection(), "42.")

        self.assertEqual(calc.readout(), "42.")  # copying again lights it again
        self.display.set_selection("他のソフトの文字")
        self.wait_caption(calc, "blue", WATCH_INTERVAL + SLACK)

    def test_all_clear_turns_it_off_at_once(self):
        calc = self.start_calc()
        calc.click("7")
        self.assertEqual(calc.readout(), "7.")
        self.wait_caption(calc, "yellow", 2)
        calc.click("AC")
        # The clipboard still holds the copy, so no tick of the watch could do this.
        self.wait_caption(calc, "blue", WATCH_INTERVAL - 1)
        self.assertEqual(self.display.selection(), "7.")
        calc.click("COPY")
        self.wait_caption(calc, "yellow", 2)


if __name__ == "__main__":
    unittest.main()
