"""A skin made with the real Skinwright, typed and clicked through under X; calc.dat compared
byte for byte; then the real calculator started on it."""

import os
import shutil
import subprocess
import time
import unittest

from calcx import PICTURES, SKINWRIGHT, Calc, CalcTestCase, centre, wait_until

CAPTION = "電卓 ｳｨｻﾞｰﾄﾞ"
TITLE = "e2e電卓"
KEY_PICTURES = PICTURES[10:11] + PICTURES[1:10] + PICTURES[11:]  # in page 2's order: 0 … 9, E, C
FIELDS = [(1380, 180 + 480 * row, 1740, 285) for row in range(6)]
FIELDS += [(3600, 180 + 480 * row, 1740, 285) for row in range(6)]
EXPECTED = (f"Title={TITLE}\r\nIcon=calc.ico\r\nColor1=3\r\nColor2=2\r\nStartBmp=start.bmp\r\n"
            "ZeiRitu=8\r\n" + "".join(f"SglBmp{k}={p}\r\n" for k, p in zip("123456789AEC", PICTURES[1:]))
            ).encode("cp932")  # fmt: skip


class SkinwrightTest(CalcTestCase):
    def page(self, wizard, seen):
        """The wizard's next page, once painted."""
        def shown():
            if wizard.poll() is not None:
                raise AssertionError(f"Skinwright ended with {wizard.returncode}")
            pages = [w for w in self.display.windows(wizard) if w.name == CAPTION and w.id not in seen]
            return pages[0] if pages else None

        page = wait_until(shown, 15, "wizard page")
        seen.append(page.id)
        time.sleep(0.3)
        self.display.run("xdotool", "windowfocus", "--sync", page.id)  # there is no window manager
        return page

    def click(self, page, *rect):
        x, y = centre(rect, page.x, page.y)
        self.display.run("xdotool", "mousemove", str(x), str(y), "click", "1", "sleep", "0.2")

    def type(self, page, text, field=None):
        """Characters beyond the keyboard map are typed by remapping a key, which now and then
        loses one: the field is read back through the clipboard and typed again if need be."""
        held = []
        for attempt in range(3):
            if field and attempt:
                self.click(page, *field)
            self.display.run("xdotool", "key", "ctrl+a", "type", "--delay", "40", text)
            self.display.run("xdotool", "key", "ctrl+a", "ctrl+c", "sleep", "0.2")
            held.append(self.display.selection())
            if held[-1] == text:
                return
        raise AssertionError(f"could not type {text!r}; the field held {held!r}")

    def test_make_a_skin_and_use_it(self):
        folder = self.make_skin(None)
        wizard = self.display.start([shutil.copy(SKINWRIGHT, folder)], cwd=folder)
        self.addCleanup(self.display.stop, wizard)
        seen = []
        page1 = self.page(wizard, seen)
        self.type(page1, TITLE)  # the focus starts in the title
        self.display.keys("Return")  # Enter moves on to the icon
        self.type(page1, "calc.ico")
        self.click(page1, 1020 + 1740, 1140 + 180, 300, 225)  # 数字色 赤
        self.click(page1, 1020 + 1200, 1680 + 180, 300, 225)  # ﾎﾞﾀﾝ色 青
        for text, field in (("start.bmp", (1005, 2220, 3000, 285)), ("8", (1020, 2640, 495, 315))):
            self.click(page1, *field)
            self.type(page1, text, field)
        self.click(page1, 3420, 2640, 1005, 420)  # 次へ
        page2 = self.page(wizard, seen)
        for index, (picture, field) in enumerate(zip(KEY_PICTURES, FIELDS)):
            if index > 3:  # the first four follow Enter, in the designed order
                self.click(page2, *field)
            self.type(page2, picture, field if index > 3 else None)
            if index < 3:
                self.display.keys("Return")
        self.click(page2, 60, 2460, 1200, 420)  # 次へ
        page3 = self.page(wizard, seen)
        self.click(page3, 1620, 2580, 1095, 495)  # 実行
        self.click(page3, 1620, 2580, 1095, 495)  # 終了, in the same place
        self.assertEqual(wait_until(wizard.poll, 10, "end of Skinwright"), 0)
        with open(os.path.join(folder, "calc.dat"), "rb") as written:
            self.assertEqual(written.read(), EXPECTED)
        self.assertEqual(self.start_calc(folder).window.name, TITLE)


if __name__ == "__main__":
    unittest.main()
