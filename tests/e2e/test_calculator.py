"""The real calculator under X: its copy shared with other programs, one copy per program file,
skins it cannot use; every window titled exactly."""

import os
import re
import signal
import unittest

from calcx import DEADLINE, CalcTestCase


class CalculatorTest(CalcTestCase):
    def test_an_empty_title_and_the_primary_selection(self):
        calc = self.start_calc(
            self.make_skin(lambda dat: re.sub(rb"Title=[^\r]*\r\n", b"", dat)), title=""
        )
        calc.click("4", "2")
        self.assertEqual(calc.readout(), "42.")
        # A middle click pastes the same text: COPY also set the primary selection.
        self.assertEqual(self.display.clipboard("primary"), "42.")

    def test_one_copy_per_program_file(self):
        folder = self.make_skin()
        first = self.start_calc(folder)
        first.click("4", "2", "+")
        self.refused(folder, exit_code=0, running=first)
        first.click("1", "＝")
        self.assertEqual(first.readout(), "43")
        os.kill(first.process.pid, signal.SIGKILL)  # a copy that crashed blocks no later start
        first.process.wait(DEADLINE)
        self.start_calc(folder)

    def test_a_skin_it_cannot_use_shows_no_window(self):
        # Why a skin is refused, and the message for it, is held by the settings and picture tests.
        self.refused(
            self.make_skin(lambda dat: dat.replace(b"five.jpg", b"nothere.jpg")), exit_code=1
        )


if __name__ == "__main__":
    unittest.main()
