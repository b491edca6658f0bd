"""The real calculator under X: keys from the X server, the clipboard shared with other
programs, one copy per program file, skins it cannot use; every window titled exactly."""

import os
import re
import signal
import unittest

from calcx import DEADLINE, CalcTestCase, settings_file, wait_until


class CalculatorTest(CalcTestCase):
    def test_keys_from_the_x_server(self):
        calc = self.start_calc()
        # (Num Lock on, keys, readout): with Num Lock off the keypad digits are cursor keys.
        for num_lock, keys, readout in [
            (True, "KP_1 KP_2 KP_Decimal KP_5 KP_Add KP_3 KP_Subtract KP_2 KP_Multiply KP_7 KP_Divide KP_3 KP_Enter", "31.5"),
            (False, "KP_9 KP_Multiply KP_8 KP_Decimal KP_Enter", "0."),
        ]:  # fmt: skip
            with self.subTest(f"Num Lock {num_lock}: {keys}"):
                calc.click("AC")
                self.display.set_num_lock(num_lock)
                self.display.keys(*keys.split())
                self.assertEqual(calc.readout(), readout)
        calc.click("AC")  # a held keypad digit repeats with the keyboard's auto-repeat
        self.display.set_auto_repeat(True)
        self.display.run("xdotool", "keydown", "KP_3", "sleep", "1.5", "keyup", "KP_3")
        self.display.set_auto_repeat(False)
        self.assertRegex(calc.readout(), re.compile(r"^333+\.$"))

    def test_clipboard_shared_with_other_programs(self):
        calc = self.start_calc(self.make_skin(settings_file(Title=None)), title="")  # not the program's name
        calc.click("4", "2")
        self.assertEqual(calc.readout(), "42.")
        calc.copy_caption_turns("lit")
        # A middle click pastes the same text: COPY also set the primary selection.
        self.assertEqual(self.display.run("xclip", "-o", "-selection", "primary"), "42.")
        # Another program copies the same text: the calculator, looking twice, stays lit.
        served = self.display.copy("42.")
        looks = served() + 2
        wait_until(lambda: True if served() >= looks else None, "two looks at the clipboard")
        self.assertEqual(calc.copy_caption(), "lit")
        self.display.copy("from another program")
        calc.copy_caption_turns("idle")

    def test_one_copy_per_program_file(self):
        folder = self.make_skin()
        first = self.start_calc(folder)
        first.click("4", "2", "+")
        self.refused(folder, exit_code=0)
        first.click("1", "＝")
        self.assertEqual(first.readout(), "43")
        os.kill(first.process.pid, signal.SIGKILL)  # a copy that crashed blocks no later start
        first.process.wait(DEADLINE)
        self.start_calc(folder)

    def test_a_skin_it_cannot_use_shows_no_window(self):
        # Why a skin is refused, and the message for it, is held by the settings and picture tests.
        self.refused(self.make_skin(settings_file(SglBmp5="nothere.bmp")), exit_code=1)


if __name__ == "__main__":
    unittest.main()
