"""Skin folders for the calculator: calc.dat in code page 932, solid-colour pictures, an icon.

Every picture is one solid colour, so a single pixel of the backdrop tells which picture it
shows. The formats are mixed on purpose (BMP, JPEG, GIF) and the start picture is much
smaller than the window, so it only fills the backdrop when it is stretched.
"""

import os
import shutil
import subprocess

from face import PICTURE_TOLERANCE, near

# holder: (settings key, file name, colour, size)
PICTURES = {
    "start": ("StartBmp", "start.bmp", (255, 128, 0), "40x30"),
    "imgS1": ("SglBmp1", "one.jpg", (255, 0, 0), "200x200"),
    "imgS2": ("SglBmp2", "two.gif", (0, 255, 0), "200x200"),
    "imgS3": ("SglBmp3", "three.bmp", (0, 0, 255), "200x200"),
    "imgS4": ("SglBmp4", "four.jpg", (255, 255, 0), "640x480"),
    "imgS5": ("SglBmp5", "five.gif", (255, 0, 255), "200x200"),
    "imgS6": ("SglBmp6", "six.bmp", (0, 255, 255), "200x200"),
    "imgS7": ("SglBmp7", "seven.jpg", (128, 0, 0), "200x200"),
    "imgS8": ("SglBmp8", "eight.gif", (0, 128, 0), "200x200"),
    "imgS9": ("SglBmp9", "nine.bmp", (0, 0, 128), "200x200"),
    "imgSA": ("SglBmpA", "zero.jpg", (128, 128, 0), "200x200"),
    "imgSE": ("SglBmpE", "answer.gif", (128, 0, 128), "200x200"),
    "imgCP": ("SglBmpC", "copy.bmp", (128, 128, 128), "200x200"),
}
ICON_FILE = "calc.ico"
ICON_COLOUR = (0, 128, 128)

WRITER_ORDER = (
    "Title", "Icon", "Color1", "Color2", "StartBmp", "ZeiRitu",
    "SglBmp1", "SglBmp2", "SglBmp3", "SglBmp4", "SglBmp5", "SglBmp6",
    "SglBmp7", "SglBmp8", "SglBmp9", "SglBmpA", "SglBmpE", "SglBmpC",
)  # fmt: skip

DEFAULT_TITLE = "ｽｷﾝ試験"


def default_settings():
    settings = {"Title": DEFAULT_TITLE, "Icon": ICON_FILE, "Color1": "0", "Color2": "0"}
    settings["ZeiRitu"] = "5"
    for key, file_name, _, _ in PICTURES.values():
        settings[key] = file_name
    return settings


def settings_bytes(settings, line_end="\r\n"):
    """calc.dat as the wizard writes it: writer order, then any extra keys, code page 932."""
    extra = [k for k in settings if k not in WRITER_ORDER]
    keys = [k for k in WRITER_ORDER if k in settings] + extra
    return "".join(f"{k}={settings[k]}{line_end}" for k in keys).encode("cp932")


def holder_of(colour):
    """The holder whose picture has this colour, or None."""
    for holder, (_, _, picture_colour, _) in PICTURES.items():
        if near(colour, picture_colour, PICTURE_TOLERANCE):
            return holder
    return None


class PictureStock:
    """The pictures and the icon, drawn once per test run and copied into every skin."""

    def __init__(self, folder):
        self.folder = folder
        args = ["convert"]
        for _, file_name, colour, size in PICTURES.values():
            args += ["-size", size, "xc:#%02x%02x%02x" % colour, "-write", file_name, "+delete"]
        args += ["-size", "32x32", "xc:#%02x%02x%02x" % ICON_COLOUR, ICON_FILE]
        subprocess.run(args, cwd=folder, check=True, timeout=60)

    def make_skin(self, folder, calc_binary, settings_file):
        """Fills folder with the calculator, its pictures and calc.dat (None: no calc.dat)."""
        os.makedirs(folder, exist_ok=True)
        for name in os.listdir(self.folder):
            shutil.copy(os.path.join(self.folder, name), folder)
        program = os.path.join(folder, "calc")
        try:
            os.link(calc_binary, program)
        except OSError:
            shutil.copy2(calc_binary, program)
        if settings_file is not None:
            with open(os.path.join(folder, "calc.dat"), "wb") as f:
                f.write(settings_file)
        return program
