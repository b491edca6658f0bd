"""A second start of the same calculator is refused and leaves the first one as it was."""

import os
import signal
import unittest

from harness import Calc, CalcTestCase
from xdisplay import BOX_TITLE

REFUSAL = "既に電卓は、起動しています。"


class SingleInstanceTest(CalcTestCase):
    def test_second_copy_refused(self):
        folder = self.make_skin()
        first = self.start_calc(folder)
        first.click("4", "2", "+")
        before = (first.window.name, first.window.x, first.window.y, first.window.width)

        second = Calc(self.display, folder)
        self.addCleanup(second.close)
        box, text = second.next_message()
        self.assertEqual(text, REFUSAL)
        shown = [w.name for w in self.display.visible_windows(second.process.pid)]
        self.assertEqual(shown, [BOX_TITLE], "the refused copy shows nothing but its message")
        self.display.dismiss(box, second.process)
        second.wait_for_exit()

        (window,) = self.display.visible_windows(first.process.pid)
        self.assertEqual((window.name, window.x, window.y, window.width), before)
        first.click("1", "＝")
        self.assertEqual(first.readout(), "43")

    def test_crashed_copy_blocks_no_start(self):
        folder = self.make_skin()
        crashed = self.start_calc(folder)
        os.kill(crashed.process.pid, signal.SIGKILL)
        crashed.wait_for_exit()
        self.start_calc(folder)


if __name__ == "__main__":
    unittest.main()
