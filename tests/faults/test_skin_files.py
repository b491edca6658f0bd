"""Pictures and icons that would cost the calculator its memory, or that hold nothing.

A header that declares 60000 x 60000 pixels would need 13 GiB once decoded; the calculator
must refuse it by the size it declares, before it allocates anything of that size, and say
which file it refused. A file of zero bytes is named as well.
"""

import os
import struct
import unittest
import zlib

from faultkit import MIB, peak_memory, report
from harness import Calc, CalcTestCase
from skin import default_settings, settings_bytes
from xdisplay import BOX_TITLE

SIDE = 60000
# Far below the 13 GiB a decoded 60000 x 60000 picture takes, far above what checking costs.
MEMORY_SLACK = 64 * MIB


def bmp_bomb(height=SIDE):
    info = struct.pack("<IiiHHIIiiII", 40, SIDE, height, 1, 24, 0, 0, 2835, 2835, 0, 0)
    offset = 14 + len(info)
    return b"BM" + struct.pack("<IHHI", offset + 64, 0, 0, offset) + info + bytes(64)


def gif_bomb():
    screen = struct.pack("<HHBBB", SIDE, SIDE, 0, 0, 0)
    image = b"," + struct.pack("<HHHHB", 0, 0, SIDE, SIDE, 0) + b"\x02\x02\x44\x01\x00"
    return b"GIF89a" + screen + image + b";"


def png_bomb():
    def chunk(kind, data):
        checksum = struct.pack(">I", zlib.crc32(kind + data))
        return struct.pack(">I", len(data)) + kind + data + checksum

    header = struct.pack(">IIBBBBB", SIDE, SIDE, 8, 2, 0, 0, 0)
    rows = zlib.compress(bytes(1 + 3 * 16) * 4)
    chunks = chunk(b"IHDR", header) + chunk(b"IDAT", rows) + chunk(b"IEND", b"")
    return b"\x89PNG\r\n\x1a\n" + chunks


def jpeg_bomb(folder):
    """The stock's JPEG with the size in its frame header raised to 60000 x 60000."""
    with open(os.path.join(folder, "one.jpg"), "rb") as f:
        data = bytearray(f.read())
    for marker in (b"\xff\xc0", b"\xff\xc2"):
        at = data.find(marker)
        if at >= 0:
            struct.pack_into(">HH", data, at + 5, SIDE, SIDE)
            return bytes(data)
    raise AssertionError("the stock JPEG has no frame header")


# (tag, settings key, file name, the file's bytes, or a function of the skin folder)
ROWS = [
    ("start picture, BMP declaring 60000x60000", "StartBmp", "bomb.bmp", bmp_bomb()),
    ("key picture, GIF declaring 60000x60000", "SglBmp1", "bomb.gif", gif_bomb()),
    ("key picture, PNG declaring 60000x60000", "SglBmp2", "bomb.png", png_bomb()),
    ("answer picture, JPEG declaring 60000x60000", "SglBmpE", "bomb.jpg", jpeg_bomb),
    # Found by the picture fuzzer: the size check once negated this height, which overflows.
    ("key picture, BMP declaring a height of -2147483648", "SglBmp8", "low.bmp",
     bmp_bomb(-(2**31))),
    ("key picture of zero bytes", "SglBmp6", "empty.bmp", b""),
    ("icon of zero bytes", "Icon", "empty.ico", b""),
]


class SkinFilesTest(CalcTestCase):
    def test_refused_by_name_in_bounded_memory(self):
        small = self.start_calc()
        baseline = peak_memory(small.process.pid)
        small.close()
        for tag, key, name, contents in ROWS:
            with self.subTest(tag):
                settings = default_settings()
                settings[key] = name
                folder = self.make_skin(settings_bytes(settings))
                if callable(contents):
                    contents = contents(folder)
                with open(os.path.join(folder, name), "wb") as f:
                    f.write(contents)
                calc = Calc(self.display, folder)
                self.addCleanup(calc.close)
                box, text = calc.next_message()
                peak = peak_memory(calc.process.pid)
                self.assertIn(name, text)
                shown = [w.name for w in self.display.visible_windows(calc.process.pid)]
                self.assertEqual(shown, [BOX_TITLE], "nothing but the message is shown")
                report(tag, f"peak memory {peak / MIB:.0f} MiB (a good skin: {baseline / MIB:.0f})")
                self.assertLess(peak, baseline + MEMORY_SLACK)
                self.display.dismiss(box, calc.process)
                self.assertNotEqual(calc.wait_for_exit(), 0)


if __name__ == "__main__":
    unittest.main()
