"""Calculations the calculator refuses: a message box, then the calculator carries on."""

import unittest

from calcmodel import ANSWER_HOLDER, DIVISION_MESSAGE, RANGE_MESSAGE, CalcModel
from harness import CalcTestCase
from worked_examples import keys_of

# Typed on the keypad: a 201-digit number, and one of 401 digits, beyond the range of double.
BIG = "KP_1 " + "KP_0 " * 200
TOO_BIG = "KP_1 " + "KP_0 " * 400
TOO_BIG_READOUT = "1" + "0" * 400 + "."

KEYPAD_CAPTIONS = {"KP_Add": "+", "KP_Subtract": "-", "KP_Multiply": "X", "KP_Divide": "/",
                   "KP_Enter": "＝", "KP_Decimal": "・"}  # fmt: skip

# (clicked before, typed on the keypad, message, readout after the box, clicked after, readout)
ROWS = [
    ("8 / 0 ＝", "", DIVISION_MESSAGE, "8.", "+ 2 ＝", "10"),
    ("8 / 0 ・ 0", "KP_Enter", DIVISION_MESSAGE, "8.", "AC 2 + 2 ＝", "4"),
    ("- 6 / 0 0", "KP_Divide", DIVISION_MESSAGE, "-6.", "3 ＝", "-2"),
    ("", BIG + "KP_Multiply " + BIG + "KP_Enter", RANGE_MESSAGE, "1" + "0" * 200 + ".",
     "AC 2 + 2 ＝", "4"),
    ("", TOO_BIG + "KP_Add KP_1 KP_Enter", RANGE_MESSAGE, TOO_BIG_READOUT, "AC 2 + 2 ＝", "4"),
]  # fmt: skip


class MessageTest(CalcTestCase):
    def test_refused_calculation(self):
        calc = self.start_calc()
        self.display.set_num_lock(True)
        for clicked, typed, message, readout, clicked_after, readout_after in ROWS:
            with self.subTest(f"{clicked} {typed[:40]}"):
                calc.click("AC", *keys_of(clicked))
                if typed:
                    calc.type(*typed.split())
                box, text = calc.next_message()
                self.assertEqual(text, message)
                self.display.dismiss(box, calc.process)
                self.assertEqual(calc.readout(), readout)
                calc.click(*keys_of(clicked_after))
                self.assertEqual(calc.readout(), readout_after)

    def test_function_key_on_number_beyond_range(self):
        calc = self.start_calc()
        self.display.set_num_lock(True)
        for key in ("%", "税込", "税抜"):
            with self.subTest(key):
                calc.click("AC")
                calc.type(*TOO_BIG.split())
                calc.click(key)
                box, text = calc.next_message()
                self.assertEqual(text, RANGE_MESSAGE)
                self.display.dismiss(box, calc.process)
                self.assertEqual(calc.readout(), TOO_BIG_READOUT)
                calc.click("AC", "2", "+", "2", "＝")
                self.assertEqual(calc.readout(), "4")

    def test_backdrop_after_division_message(self):
        calc = self.start_calc()
        calc.click("8", "/", "0", "＝")
        box, _ = calc.next_message()
        self.display.dismiss(box, calc.process)
        calc.wait_for_backdrop(ANSWER_HOLDER)

    def test_rows_agree_with_model(self):
        for clicked, typed, message, readout, _, _ in ROWS:
            with self.subTest(clicked):
                keys = keys_of(clicked) + [KEYPAD_CAPTIONS.get(k, k[-1]) for k in typed.split()]
                model = CalcModel()
                self.assertEqual(model.press_all(keys), [message])
                self.assertEqual(model.readout, readout)


if __name__ == "__main__":
    unittest.main()
