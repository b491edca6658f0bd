"""Key sequences whose readout is known by heart, clicked on the real calculator."""

import itertools
import unittest

from harness import CalcTestCase
from skin import default_settings, settings_bytes
from worked_examples import EXAMPLES, keys_of


class WorkedExampleTest(CalcTestCase):
    def test_examples(self):
        by_rate = itertools.groupby(sorted(EXAMPLES, key=lambda row: row[1]), lambda row: row[1])
        for rate, rows in by_rate:
            settings = default_settings()
            settings["ZeiRitu"] = str(rate)
            calc = self.start_calc(self.make_skin(settings_bytes(settings)))
            for sequence, _, readout, messages in rows:
                with self.subTest(sequence[:60], rate=rate):
                    calc.click("AC", *keys_of(sequence))
                    for message in messages:
                        box, text = calc.next_message()
                        self.display.dismiss(box, calc.process)
                        self.assertEqual(text, message)
                    self.assertEqual(calc.readout(), readout)
            calc.close()


if __name__ == "__main__":
    unittest.main()
