"""Where things are on the calculator's face, and how to tell colours apart in a screenshot.

Positions are in twips within the client area, as the window's layout gives them; 15 twips
make one pixel. With no window manager the client area is the whole X window.
"""

TWIPS_PER_PIXEL = 15
CLIENT_SIZE = (162, 169)

# caption: (left, top, width, height) in twips
KEY_RECTS = {
    "AC": (60, 480, 495, 315),
    "Ｃ": (660, 480, 495, 315),
    "COPY": (1500, 480, 855, 315),
    "7": (60, 900, 375, 315),
    "8": (540, 900, 375, 315),
    "9": (1020, 900, 375, 315),
    "/": (1500, 900, 375, 315),
    "税込": (1920, 900, 435, 315),
    "4": (60, 1320, 375, 315),
    "5": (540, 1320, 375, 315),
    "6": (1020, 1320, 375, 315),
    "X": (1500, 1320, 375, 315),
    "税抜": (1920, 1320, 435, 315),
    "1": (60, 1740, 375, 315),
    "2": (540, 1740, 375, 315),
    "3": (1020, 1740, 375, 315),
    "-": (1500, 1740, 375, 315),
    "%": (1980, 1740, 375, 315),
    "0": (60, 2160, 855, 315),
    "・": (1020, 2160, 375, 315),
    "+": (1500, 2160, 375, 315),
    "＝": (1980, 2160, 375, 315),
}
READOUT_RECT = (60, 60, 2265, 315)

# Points of the backdrop that no caption and no readout ever covers: the gap below the top
# row of keys, the strip right of the tax keys, and the strip below the bottom row.
BACKDROP_POINTS = ((32, 56), (158, 100), (80, 167))

# Within a key, the caption's text pixels keep the caption colour exactly; the rest is
# backdrop or anti-aliasing.
CAPTION_TOLERANCE = 40
PICTURE_TOLERANCE = 40

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
BLUE = (0, 0, 255)
RED = (255, 0, 0)
YELLOW = (255, 255, 0)
GREEN = (0, 255, 0)
COLOUR_INDEX = (BLACK, WHITE, BLUE, RED, YELLOW, GREEN)


def pixel_rect(twips_rect):
    """(x0, y0, x1, y1) pixels, end exclusive."""
    left, top, width, height = twips_rect
    return (
        left // TWIPS_PER_PIXEL,
        top // TWIPS_PER_PIXEL,
        (left + width) // TWIPS_PER_PIXEL,
        (top + height) // TWIPS_PER_PIXEL,
    )


def key_centre(key):
    left, top, width, height = KEY_RECTS[key]
    return ((left + width // 2) // TWIPS_PER_PIXEL, (top + height // 2) // TWIPS_PER_PIXEL)


def near(colour, target, tolerance):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, target))


class Screenshot:
    """An 8-bit RGB picture of the screen, as ImageMagick's PPM output gives it."""

    def __init__(self, ppm):
        fields = []
        pos = 0
        while len(fields) < 4:
            while ppm[pos : pos + 1].isspace():
                pos += 1
            end = pos
            while not ppm[end : end + 1].isspace():
                end += 1
            fields.append(ppm[pos:end])
            pos = end
        if fields[0] != b"P6" or fields[3] != b"255":
            raise ValueError("not an 8-bit binary PPM: %r" % fields)
        self.width, self.height = int(fields[1]), int(fields[2])
        self.data = ppm[pos + 1 :]

    def pixel(self, x, y):
        offset = (y * self.width + x) * 3
        return tuple(self.data[offset : offset + 3])

    def pixels(self, rect):
        x0, y0, x1, y1 = rect
        return [self.pixel(x, y) for y in range(y0, y1) for x in range(x0, x1)]

    def count_near(self, rect, target, tolerance=CAPTION_TOLERANCE):
        return sum(1 for p in self.pixels(rect) if near(p, target, tolerance))
