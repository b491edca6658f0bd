"""A skin made with the real Skinwright, typed and clicked through under X; calc.dat compared
byte for byte; then the real calculator started on it."""

import os
import shutil
import time
import unittest

from calcx import PICTURES, SKINWRIGHT, CalcTestCase, wait_until

# The title holds what an input method on Linux gives for 〜 − ‖ ¢ £ ¬: calc.dat holds what
# Windows writes for them, and the calculator shows what code page 932 reads back.
CAPTION, TITLE, SHOWN = "電卓 ｳｨｻﾞｰﾄﾞ", "e2e電卓〜−‖¢£¬", "e2e電卓～－∥￠￡￢"
EXPECTED = (f"Title={SHOWN}\r\nIcon=calc.ico\r\nColor1=3\r\nColor2=2\r\nStartBmp=s.bmp\r\nZeiRitu=8\r\n"
            + "".join(f"{k}={v}\r\n" for k, v in PICTURES.items() if k != "StartBmp")).encode("cp932")
FIELDS = [(1380 if index < 6 else 3600, 180 + 480 * (index % 6), 1740, 285) for index in range(12)]


class SkinwrightTest(CalcTestCase):
    def type(self, page, text, field=None):
        """Characters beyond the keyboard map are typed by remapping a key, which now and then
        loses one: the field is read back through the clipboard and typed again if need be."""
        held = []
        for attempt in range(3):
            if field and attempt:
                self.click(page, field)
            self.display.run("xdotool", "key", "ctrl+a", "type", "--delay", "40", text)
            self.display.run("xdotool", "key", "ctrl+a", "ctrl+c", "sleep", "0.2")
            held.append(self.display.clipboard())
            if held[-1] == text:
                return
        raise AssertionError(f"could not type {text!r}; the field held {held!r}")

    def click(self, page, rect):
        self.display.run("xdotool", "mousemove", *page.point(*rect), "click", "1", "sleep", "0.2")

    def test_make_a_skin_and_use_it(self):
        folder = self.make_skin(None)
        wizard = self.display.start([shutil.copy(SKINWRIGHT, folder)], cwd=folder)
        self.addCleanup(self.display.stop, wizard)
        pages = []

        def next_page():
            pages.append(self.display.window(wizard, lambda w: w.name == CAPTION and w.id not in
                                             [p.id for p in pages]))  # fmt: skip
            self.display.run("xdotool", "windowfocus", "--sync", pages[-1].id)  # there is no window manager
            return pages[-1]

        page = next_page()
        self.type(page, TITLE)  # the focus starts in the title
        self.display.keys("Return")  # Enter moves on to the icon
        icon = (1020, 780, 3000, 285)
        self.type(page, "calc.ico", icon)
        self.click(page, (1020 + 1740, 1140 + 180, 300, 225))  # 数字色 赤
        self.click(page, (1020 + 1200, 1680 + 180, 300, 225))  # ﾎﾞﾀﾝ色 青
        for text, field in (("s.bmp", (1005, 2220, 3000, 285)), ("8", (1020, 2640, 495, 315))):
            self.click(page, field)
            self.type(page, text, field)
        self.click(page, icon)
        self.display.keys("Return", "Return")  # Enter moves on from the icon to 次へ, and presses it
        page = next_page()
        pictures = list(PICTURES.values())  # the page lists them 0 … 9, answer, COPY
        for index, picture in enumerate(pictures[10:11] + pictures[1:10] + pictures[11:]):
            field = FIELDS[index]
            if index > 3:  # the first four follow Enter, in the designed order
                self.click(page, field)
            self.type(page, picture, field if index > 3 else None)
            if index < 3:
                self.display.keys("Return")
        self.click(page, FIELDS[3])
        self.display.keys("Return", "KP_Enter")  # from "３" on to 次へ, then pressed
        page = next_page()
        self.display.keys("Return")  # 実行, where the focus starts
        wait_until(lambda: os.path.exists(os.path.join(folder, "calc.dat")) or None, 10, "calc.dat")
        self.display.keys("KP_Enter")  # 終了, where the focus went
        self.assertEqual(wait_until(wizard.poll, 10, "end of Skinwright"), 0)
        with open(os.path.join(folder, "calc.dat"), "rb") as written:
            self.assertEqual(written.read(), EXPECTED)
        self.assertEqual(self.start_calc(folder).window.name, SHOWN)


if __name__ == "__main__":
    unittest.main()
