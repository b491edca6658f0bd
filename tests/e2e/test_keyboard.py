"""The numeric keypad and Ctrl work the keys; nothing else on the keyboard does."""

import re
import time
import unittest

from harness import CalcTestCase

# (Num Lock on, actions, readout). An action is a key name, or "@" and a key caption to
# click. Keypad keys are named by what they send with Num Lock on and pressed as the same
# physical key in both states; with Num Lock off KP_1 thus sends End. Clicks give the Num
# Lock off rows their digits.
ROWS = [
    (True, "KP_1 KP_2 KP_3", "123."),
    (True, "KP_0 KP_Decimal KP_5 KP_Decimal KP_5", "0.55"),
    (True, "KP_7 KP_Add KP_2 KP_Enter", "9"),
    (True, "KP_7 KP_Subtract KP_2 Return", "5"),
    (True, "KP_6 KP_Multiply KP_7 KP_Enter", "42"),
    (True, "KP_8 KP_Divide KP_2 KP_Enter", "4"),
    (True, "KP_5 1 2 3 4 5 6 7 8 9 0", "5."),
    (True, "KP_5 plus minus asterisk slash equal KP_2", "52."),
    (True, "KP_5 period comma KP_2", "52."),
    (True, "KP_5 BackSpace Delete Escape percent KP_2", "52."),
    (False, "KP_0 KP_1 KP_2 KP_3 KP_4 KP_5 KP_6 KP_7 KP_8 KP_9 KP_Decimal", "0."),
    (False, "@6 KP_Multiply @7 KP_Enter", "42"),
    (False, "@8 KP_Divide @2 KP_Add @1 KP_Subtract @3 Return", "2"),
    (False, "@1 KP_1 KP_Decimal @2", "12."),
]


class KeyboardTest(CalcTestCase):
    def test_keys_against_readout(self):
        calc = self.start_calc()
        for num_lock, actions, readout in ROWS:
            with self.subTest(f"Num Lock {'on' if num_lock else 'off'}: {actions}"):
                calc.click("AC")
                self.display.set_num_lock(num_lock)
                for action in actions.split():
                    if action.startswith("@"):
                        calc.click(action[1:])
                    else:
                        calc.type(action)
                self.assertEqual(self.display.num_lock(), num_lock)
                self.assertEqual(calc.readout(), readout)

    def test_keypad_digit_shows_its_picture(self):
        calc = self.start_calc()
        self.display.set_num_lock(True)
        for keysym, holder in (("KP_5", "imgS5"), ("KP_0", "imgSA"), ("KP_9", "imgS9")):
            with self.subTest(keysym):
                calc.type(keysym)
                calc.wait_for_backdrop(holder)

    def test_ctrl_copies_readout(self):
        calc = self.start_calc()
        self.display.set_num_lock(True)
        for copy_keys in (["Control_L"], ["Control_R"], ["ctrl+c"], ["ctrl+v"]):
            with self.subTest(" ".join(copy_keys)):
                calc.click("AC")
                calc.type("KP_4", "KP_2")
                sentinel = self.display.new_sentinel()
                calc.type(*copy_keys)
                self.assertEqual(self.display.wait_for_copy(sentinel, "copy by Ctrl"), "42.")
                calc.wait_for_backdrop("imgCP")

    def test_held_keypad_digit_repeats(self):
        calc = self.start_calc()
        self.display.set_num_lock(True)
        calc.window.focus()
        (key,) = self.display.physical_keys(["KP_3"])
        self.display.run(["xdotool", "keydown", key])
        time.sleep(1.5)
        self.display.run(["xdotool", "keyup", key])
        self.assertRegex(calc.readout(), re.compile(r"^333+\.$"))


if __name__ == "__main__":
    unittest.main()
