"""The oracle is only as good as its agreement with what the calculator is known to do."""

import unittest

from calcmodel import ANSWER_HOLDER, COPY_HOLDER, CalcModel, number_text, number_value
from worked_examples import EXAMPLES, keys_of


class CalcModelTest(unittest.TestCase):
    def test_worked_examples(self):
        for sequence, rate, readout, messages in EXAMPLES:
            with self.subTest(sequence[:60], rate=rate):
                model = CalcModel(tax_rate=rate)
                self.assertEqual(model.press_all(["AC"] + keys_of(sequence)), messages)
                self.assertEqual(model.readout, readout)

    def test_backdrop(self):
        rows = [
            ("1 +", "imgS1"),
            ("1 + 2 ＝", ANSWER_HOLDER),
            ("5 ＝ ＝", "imgS5"),
            ("0 ・ Ｃ AC %", "imgSA"),
            ("8 / 0 ＝", ANSWER_HOLDER),
            ("7 COPY AC", COPY_HOLDER),
            ("+ ＝ 税込 ・", "start"),
        ]
        for sequence, holder in rows:
            with self.subTest(sequence):
                model = CalcModel()
                model.press_all(keys_of(sequence))
                self.assertEqual(model.backdrop, holder)

    def test_number_text(self):
        rows = [
            (3.0, "3"),
            (-2.0, "-2"),
            (1 / 3, "0.333333333333333"),
            (0.1 + 0.2, "0.3"),
            (1e15, "1E+15"),
            (2.0**53, "9.00719925474099E+15"),
            (999999999999999.0, "999999999999999"),
            (-0.0, "0"),
        ]
        for value, text in rows:
            with self.subTest(text):
                self.assertEqual(number_text(value), text)

    def test_number_value(self):
        rows = [("5.", 5), ("-0.", 0), ("007.", 7), ("1E+15", 1e15), ("-", 0), ("", 0), (None, 0)]
        for text, value in rows:
            with self.subTest(repr(text)):
                self.assertEqual(number_value(text), value)


if __name__ == "__main__":
    unittest.main()
