"""Every key of the face, clicked where the control table puts it, against the model."""

import time
import unittest

from calcmodel import COPY_HOLDER, KEYS, CalcModel
from face import BACKDROP_POINTS, CLIENT_SIZE, READOUT_RECT, pixel_rect
from harness import CalcTestCase
from worked_examples import keys_of

# Presses every key at least once, each digit after a COPY so that its picture replaces the
# copy picture, and the operators both with and without two operands held.
WALK = keys_of("7 + 8 9 X 4 ・ 5 - 6 / 3 ＝ 1 2 % 税込 税抜 Ｃ 0 + AC - 2 ＝ ＝ - ・ 5 + 3 ＝")

SETTLE = 0.2  # time for a key that must leave the backdrop alone to show that it did not


def rect_centre(twips_rect):
    x0, y0, x1, y1 = pixel_rect(twips_rect)
    return ((x0 + x1) // 2, (y0 + y1) // 2)


class EveryKeyTest(CalcTestCase):
    def test_walk_covers_every_key(self):
        self.assertEqual(set(KEYS) - set(WALK) - {"COPY"}, set())

    def test_window_opens_at_its_size_with_zero(self):
        calc = self.start_calc()
        self.assertEqual((calc.window.width, calc.window.height), CLIENT_SIZE)
        self.assertEqual(calc.readout(), "0.")
        calc.wait_for_backdrop(COPY_HOLDER)

    def test_each_key_sets_readout_and_backdrop(self):
        calc = self.start_calc()
        model = CalcModel(tax_rate=5)
        done = []
        for key in WALK:
            before = model.backdrop
            calc.click(key)
            model.press(key)
            done.append(key)
            where = " ".join(done)
            if model.backdrop == before:
                time.sleep(SETTLE)
            with self.subTest(where):
                calc.wait_for_backdrop(model.backdrop)
            model.press("COPY")
            with self.subTest(where + " COPY"):
                self.assertEqual(calc.readout(), model.readout)
                calc.wait_for_backdrop(COPY_HOLDER)

    def test_clicks_between_keys_do_nothing(self):
        calc = self.start_calc()
        calc.click("5")
        readout_centre = rect_centre(READOUT_RECT)
        for x, y in BACKDROP_POINTS + (readout_centre, (1, 1), (32, 100), (96, 100), (150, 30)):
            calc.click_at(x, y)
        time.sleep(SETTLE)
        calc.wait_for_backdrop("imgS5")
        self.assertEqual(calc.readout(), "5.")

    def test_double_click_is_one_press(self):
        calc = self.start_calc()
        calc.double_click("7")
        self.assertEqual(calc.readout(), "7.")
        calc.click("・")
        calc.double_click("5")
        self.assertEqual(calc.readout(), "7.5")


if __name__ == "__main__":
    unittest.main()
