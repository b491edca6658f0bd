"""What other programs may put on the clipboard while the COPY key watches it.

After a copy the window asks for the clipboard's text every 3 s. A 10 MB text, a picture
with no text at all, or a clipboard whose owner went away must each turn the COPY caption back
to its idle colour at the next look, and the keys must keep answering meanwhile.
"""

import itertools
import os
import subprocess
import time
import unittest

from faultkit import MIB, report
from face import BLUE, KEY_RECTS, YELLOW
from harness import CalcTestCase
from xdisplay import wait_until

WATCH_INTERVAL = 3.0
SLACK = 2.0  # screenshots and a sanitized build on a busy machine
KEY_ANSWER = 1.5  # seconds a key may take to show its picture while the watch reads
HUGE_TEXT = ("大きな文字列" * (10 * MIB // 18 + 1))[: 10 * MIB // 3]  # 10 MB in UTF-8


class ClipboardTest(CalcTestCase):
    def caption(self, calc):
        shot = calc.screenshot()
        yellow = shot.count_near(KEY_RECTS["COPY"], YELLOW)
        blue = shot.count_near(KEY_RECTS["COPY"], BLUE)
        return "yellow" if yellow and not blue else "blue" if blue and not yellow else "unclear"

    def offer(self, target, data, keep_owner=True):
        """Another program takes the clipboard with data of one type (an xclip serving it)."""
        path = os.path.join(self.display.root, "offered")
        with open(path, "wb") as f:
            f.write(data)
        args = ["xclip", "-i", "-selection", "clipboard", "-t", target]
        if keep_owner:
            args.append("-quiet")  # stays in the foreground; it ends with the display
        owner = self.display.start(args + [path], stderr=subprocess.DEVNULL)
        if not keep_owner:
            owner.wait(10)  # xclip forks a server and returns
        targets = lambda: self.display.run(  # noqa: E731
            ["xclip", "-o", "-selection", "clipboard", "-t", "TARGETS"], check=False)
        wait_until(lambda: True if target.encode() in targets() else None, 10, "the offer")
        return owner

    def keys_answer_until_idle(self, calc):
        """Clicks digits while the watch looks, each showing its picture within KEY_ANSWER s,
        until the caption is idle; returns the seconds that took."""
        start = time.monotonic()
        for digit in itertools.cycle("123456789"):
            calc.click(digit)
            calc.wait_for_backdrop(f"imgS{digit}", timeout=KEY_ANSWER)
            if self.caption(calc) == "blue":
                return time.monotonic() - start
            if time.monotonic() - start > WATCH_INTERVAL + SLACK:
                caption = self.caption(calc)
                self.fail(f"the COPY caption is {caption} after {WATCH_INTERVAL + SLACK} s")

    def copied_calc(self):
        calc = self.start_calc()
        calc.click("4", "2")
        self.assertEqual(calc.readout(), "42.")
        wait_until(lambda: True if self.caption(calc) == "yellow" else None, 2, "yellow COPY")
        return calc

    def test_caption_returns_to_idle(self):
        rows = [
            ("10 MB of text", lambda: self.offer("UTF8_STRING", HUGE_TEXT.encode())),
            ("a PNG picture and no text", lambda: self.offer("image/png", self.png())),
            ("a text whose owner went away", lambda: self.offer("UTF8_STRING", b"x", False)),
        ]
        for tag, take_clipboard in rows:
            with self.subTest(tag):
                calc = self.copied_calc()
                owner = take_clipboard()
                if tag == "a text whose owner went away":
                    self.display.stop(owner)
                seconds = self.keys_answer_until_idle(calc)
                report(f"clipboard {tag}", f"COPY idle after {seconds:.1f} s, keys answering")
                self.display.stop(owner)
                calc.click("AC", "8", "+", "1", "＝")
                self.assertEqual(calc.readout(), "9")
                calc.close()

    def png(self):
        path = os.path.join(self.display.root, "clip.png")
        self.display.run(["convert", "-size", "64x64", "xc:red", path])
        with open(path, "rb") as f:
            return f.read()


if __name__ == "__main__":
    unittest.main()
