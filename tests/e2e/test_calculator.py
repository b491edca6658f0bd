"""The real calculator under X: keys from the X server, the clipboard shared with other
programs, one copy per program file, and skins it cannot use."""

import os
import re
import signal
import time
import unittest

from calcx import CalcTestCase, settings_file, wait_until


class CalculatorTest(CalcTestCase):
    def test_keys_from_the_x_server(self):
        # (Num Lock on, keys typed, readout); with Num Lock off the keypad digits are cursor keys.
        rows = [
            (True, "KP_1 KP_2 KP_Decimal KP_5 KP_Add KP_3 KP_Enter", "15.5"),
            (True, "KP_8 KP_Subtract KP_2 KP_Multiply KP_7 KP_Divide KP_3 Return", "14"),
            (True, "KP_5 1 2 plus equal period BackSpace Escape percent KP_2", "52."),
            (False, "KP_9 KP_Multiply KP_8 KP_Decimal KP_Enter", "0."),
        ]
        calc = self.start_calc()
        for num_lock, typed, readout in rows:
            with self.subTest(f"Num Lock {num_lock}: {typed}"):
                calc.click("AC")
                self.display.set_num_lock(num_lock)
                self.display.keys(*typed.split())
                self.assertEqual(calc.readout(), readout)
        self.display.set_num_lock(True)
        for copy_key in ("Control_L", "ctrl+v"):  # Ctrl copies, whatever follows it
            with self.subTest(copy_key):
                calc.click("AC", "4", "2")
                self.display.copy("(nothing copied yet)")
                self.display.keys(copy_key)
                wait_until(lambda: True if self.display.selection() == "42." else None, 10, "copy")
        # A held keypad digit repeats with the keyboard's auto-repeat.
        calc.click("AC")
        self.display.run("xdotool", "keydown", "KP_3", "sleep", "1.5", "keyup", "KP_3")
        self.assertRegex(calc.readout(), re.compile(r"^333+\.$"))

    def test_clipboard_shared_with_other_programs(self):
        calc = self.start_calc()
        calc.click("4", "2")
        self.assertEqual(calc.readout(), "42.")
        self.assertEqual(calc.copy_caption(), "lit")
        time.sleep(3.5)  # the calculator has looked at the clipboard since: still its own text
        self.assertEqual(calc.copy_caption(), "lit")
        self.display.copy("from another program")
        wait_until(lambda: True if calc.copy_caption() == "idle" else None, 4, "idle caption")

    def test_one_copy_per_program_file(self):
        folder = self.make_skin()
        first = self.start_calc(folder)
        first.click("4", "2", "+")
        self.refused(folder, exit_code=0)
        first.click("1", "＝")
        self.assertEqual(first.readout(), "43")
        # A copy that crashed blocks no later start.
        os.kill(first.process.pid, signal.SIGKILL)
        first.process.wait(10)
        self.start_calc(folder)

    def test_skins_it_cannot_use_show_no_window(self):
        rows = [
            ("no calc.dat", None, None),
            ("calc.dat a FIFO", None, "calc.dat"),
            ("ZeiRitu=abc", settings_file(ZeiRitu="abc"), None),
            ("a missing picture", settings_file(SglBmp5="nothere.bmp"), None),
            ("a folder as the start picture", settings_file(StartBmp="sub"), "sub"),
        ]
        for tag, settings, fifo_or_folder in rows:
            with self.subTest(tag):
                folder = self.make_skin(settings)
                if fifo_or_folder == "calc.dat":
                    os.mkfifo(os.path.join(folder, "calc.dat"))
                elif fifo_or_folder:
                    os.mkdir(os.path.join(folder, fifo_or_folder))
                self.refused(folder, exit_code=1)

    def test_title_shown_exactly(self):
        for title in ("電卓～①ｶﾅ", None):
            with self.subTest(title):
                calc = self.start_calc(self.make_skin(settings_file(Title=title)))
                self.assertEqual(calc.window.name, title or "")


if __name__ == "__main__":
    unittest.main()
