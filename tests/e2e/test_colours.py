"""Color1 colours the readout's digits, Color2 the keys; the other keys keep their own."""

import unittest

from face import BLACK, BLUE, COLOUR_INDEX, GREEN, KEY_RECTS, READOUT_RECT, RED, WHITE, YELLOW
from harness import CalcTestCase
from skin import PICTURES, default_settings, settings_bytes

KEYS_COLOURED_BY_COLOR2 = ("8", "0", "・", "+", "X", "＝", "%")
KEYS_WITH_OWN_COLOUR = {"AC": RED, "Ｃ": RED, "COPY": BLUE, "税込": BLUE, "税抜": BLUE}
WINDOW_TEXT = BLACK

# Enough text pixels in the caption colour to be sure it is the caption's, not a stray one.
MIN_PIXELS = 3


class ColourTest(CalcTestCase):
    def test_colour_indexes(self):
        # (Color1, Color2, readout digits, key captions)
        rows = [
            ("3", "5", RED, GREEN),
            ("4", "1", YELLOW, WHITE),
            ("2", "3", BLUE, RED),
            ("0", "4", BLACK, YELLOW),
            ("6", "7", BLACK, WINDOW_TEXT),
            ("8", "9", BLACK, WINDOW_TEXT),
        ]
        for color1, color2, readout_colour, key_colour in rows:
            with self.subTest(f"Color1={color1} Color2={color2}"):
                settings = default_settings()
                settings.update(Color1=color1, Color2=color2)
                # A grey backdrop, far from every caption colour.
                settings["StartBmp"] = PICTURES["imgCP"][1]
                calc = self.start_calc(self.make_skin(settings_bytes(settings)), start="imgCP")
                shot = calc.screenshot()
                self.assertGreaterEqual(shot.count_near(READOUT_RECT, readout_colour), MIN_PIXELS)
                for other in set(COLOUR_INDEX) - {readout_colour, WHITE}:
                    self.assertEqual(shot.count_near(READOUT_RECT, other), 0, other)
                for key in KEYS_COLOURED_BY_COLOR2:
                    rect = KEY_RECTS[key]
                    self.assertGreaterEqual(shot.count_near(rect, key_colour), MIN_PIXELS, key)
                    for other in set(COLOUR_INDEX) - {key_colour}:
                        self.assertEqual(shot.count_near(rect, other), 0, (key, other))
                for key, colour in KEYS_WITH_OWN_COLOUR.items():
                    own = shot.count_near(KEY_RECTS[key], colour)
                    self.assertGreaterEqual(own, MIN_PIXELS, key)
                calc.close()


if __name__ == "__main__":
    unittest.main()
