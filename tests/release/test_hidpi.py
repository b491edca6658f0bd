"""The calculator at a device pixel ratio of 2 against the same skin at 1.

The start picture is drawn for the doubled backdrop: mid grey, with a strip of one-pixel
black and white lines at the right. Only a picture decoded at twice the size shows those
lines one screen pixel apart; one decoded at 1x and blown up shows them in pairs, or grey.
"""

import os
import struct
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))

from face import CLIENT_SIZE, KEY_RECTS, RED, near, pixel_rect  # noqa: E402
from harness import Calc, CalcTestCase  # noqa: E402
from xdisplay import wait_until  # noqa: E402

GREY = (128, 128, 128)
BACKDROP_2X = (322, 338)  # the backdrop control, 161 x 169, doubled
STRIPES_FROM_X = 316  # the strip right of the tax keys, in 2x pixels
WHITE, BLACK = (255, 255, 255), (0, 0, 0)


def start_picture_bmp():
    """A 24-bit bitmap, bottom-up rows padded to four bytes."""
    width, height = BACKDROP_2X
    row_bytes = (width * 3 + 3) & ~3
    rows = []
    for y in reversed(range(height)):
        stripe = WHITE if y % 2 else BLACK
        row = b"".join(bytes(reversed(stripe if x >= STRIPES_FROM_X else GREY))
                       for x in range(width))  # fmt: skip
        rows.append(row + b"\0" * (row_bytes - len(row)))
    pixels = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels


def alternating_rows(shot, x, ys):
    """The share of neighbouring rows in column x that go from black to white or back."""
    flips = sum(1 for y in ys if abs(sum(shot.pixel(x, y)) - sum(shot.pixel(x, y + 1))) > 500)
    return flips / len(ys)


class CaptionInk:
    """How a red caption is drawn over the grey backdrop within its key."""

    def __init__(self, shot, rect):
        x0, y0, x1, y1 = rect
        self.solid = self.edge = 0
        self.blocks = self.doubled_blocks = 0
        for y in range(y0, y1):
            for x in range(x0, x1):
                colour = shot.pixel(x, y)
                if near(colour, RED, 40):
                    self.solid += 1
                elif not near(colour, GREY, 40):
                    self.edge += 1
        # 2x2 blocks holding ink: a caption drawn at 1x and blown up fills each with one colour.
        for y in range(y0 - y0 % 2, y1 - 1, 2):
            for x in range(x0 - x0 % 2, x1 - 1, 2):
                block = {shot.pixel(x + dx, y + dy) for dx in (0, 1) for dy in (0, 1)}
                if any(not near(c, GREY, 40) for c in block):
                    self.blocks += 1
                    self.doubled_blocks += len(block) == 1

    @property
    def sharpness(self):
        return self.solid / (self.solid + self.edge)


class HiDpiTest(CalcTestCase):
    def start_at(self, scale, folder):
        if scale == 1:
            self.display.env.pop("QT_SCALE_FACTOR", None)
        else:
            self.display.env["QT_SCALE_FACTOR"] = str(scale)
        try:
            calc = Calc(self.display, folder)
            self.addCleanup(calc.close)
            calc.wait_for_window(start=None)
        finally:
            self.display.env.pop("QT_SCALE_FACTOR", None)
        # Painted: the grey backdrop is up at the window's left edge.
        wait_until(lambda: True if near(calc.screenshot().pixel(1, 20 * scale), GREY, 8) else None,
                   10, "the start picture")  # fmt: skip
        return calc

    def striped_skin(self):
        folder = self.make_skin()
        with open(os.path.join(folder, "start.bmp"), "wb") as f:
            f.write(start_picture_bmp())
        return folder

    def test_twice_the_size_with_pictures_and_captions_drawn_for_it(self):
        folder = self.striped_skin()
        shots = {}
        for scale in (1, 2):
            calc = self.start_at(scale, folder)
            with self.subTest(f"{scale}x window size"):
                size = (calc.window.width, calc.window.height)
                self.assertEqual(size, (scale * CLIENT_SIZE[0], scale * CLIENT_SIZE[1]))
            shots[scale] = calc.screenshot()
            calc.close()

        with self.subTest("picture decoded for the doubled backdrop"):
            self.assertGreater(alternating_rows(shots[2], 318, range(10, 320)), 0.95)
            self.assertLess(alternating_rows(shots[1], 159, range(5, 160)), 0.5)

        x0, y0, x1, y1 = pixel_rect(KEY_RECTS["AC"])
        ink = {1: CaptionInk(shots[1], (x0, y0, x1, y1)),
               2: CaptionInk(shots[2], (2 * x0, 2 * y0, 2 * x1, 2 * y1))}  # fmt: skip
        with self.subTest("caption twice as large"):
            area = {s: ink[s].solid + ink[s].edge for s in ink}
            self.assertGreater(area[1], 20)
            self.assertTrue(2.5 <= area[2] / area[1] <= 5, area)
        with self.subTest("caption drawn at 2x, not blown up"):
            self.assertLess(ink[2].doubled_blocks / ink[2].blocks, 0.75)
            self.assertGreater(ink[2].sharpness, ink[1].sharpness)


if __name__ == "__main__":
    unittest.main(verbosity=2)
