"""Title and icon come from calc.dat in code page 932, whatever the line ends."""

import os
import shutil
import unittest

from harness import CalcTestCase
from skin import ICON_COLOUR, ICON_FILE, default_settings, settings_bytes

TWENTY_FIVE = "あいうえおかきくけこさしすせそたちつてとなにぬね"


def without_title(settings):
    del settings["Title"]


class TitleAndIconTest(CalcTestCase):
    def test_title_from_settings(self):
        # (tag, Title value or None for no Title line, line end, expected window title)
        rows = [
            ("CP932-only characters", "電卓～①ｶﾅ", "\r\n", "電卓～①ｶﾅ"),
            ("spaces trimmed", "  ｶﾅ電卓①  ", "\r\n", "ｶﾅ電卓①"),
            ("cut to 20 characters", TWENTY_FIVE, "\r\n", TWENTY_FIVE[:20]),
            ("LF line ends", "改行はLFだけ", "\n", "改行はLFだけ"),
            ("no Title line", None, "\r\n", ""),
        ]
        for tag, title, line_end, expected in rows:
            with self.subTest(tag):
                settings = default_settings()
                if title is None:
                    without_title(settings)
                else:
                    settings["Title"] = title
                calc = self.start_calc(self.make_skin(settings_bytes(settings, line_end)))
                self.assertEqual(calc.window.name, expected)
                calc.close()

    def test_cp932_file_holds_the_windows_code_points(self):
        data = settings_bytes({"Title": "電卓～①ｶﾅ"})
        self.assertIn(b"\x81\x60\x87\x40\xb6\xc5", data)  # ～ ① ｶ ﾅ as Windows writes them

    def test_icon_from_settings(self):
        calc = self.start_calc()
        self.assertEqual(self.window_icon_colour(calc.window), ICON_COLOUR)

    def test_icon_named_like_a_key(self):
        # The writer's own line "Icon=Title.ico" must stay an icon line, not become a title.
        settings = default_settings()
        settings["Icon"] = "Title.ico"
        folder = self.make_skin(settings_bytes(settings))
        shutil.copy(os.path.join(folder, ICON_FILE), os.path.join(folder, "Title.ico"))
        calc = self.start_calc(folder)
        self.assertEqual(calc.window.name, settings["Title"])
        self.assertEqual(self.window_icon_colour(calc.window), ICON_COLOUR)


if __name__ == "__main__":
    unittest.main()
