"""The real programs on a private X display, worked from outside as a user works them.

Windows are found and clicked with xdotool, the clipboard is read and set with xclip. The
display's sound output is ALSA's null device, so the calculator starts as on a machine with
sound: silently, without a notice.
"""

import ctypes
import os
import shutil
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools", "xsession"))
from xsession import DEADLINE, XSession, die_with_parent  # noqa: E402

CALC = os.environ.get("CALC_BINARY", "")
CALC_SIZE, TITLE = (162, 169), "電卓～①ｶﾅ"
# The keys the tests press, as the design places them: caption, left and top in twips (375 x 315
# each, COPY 855 wide).
KEYS = {"COPY": (1500, 480), "4": (60, 1320), "1": (60, 1740), "2": (540, 1740),
        "+": (1500, 2160), "＝": (1980, 2160)}  # fmt: skip
PICTURES = dict(zip(["StartBmp"] + [f"SglBmp{key}" for key in "123456789AEC"],
                    ["s.bmp", "1.jpg", "2.gif", "3.bmp", "4.jpg", "5.gif", "6.bmp", "7.jpg", "8.gif",
                     "9.bmp", "0.jpg", "e.gif", "c.bmp"]))  # fmt: skip
# What another program holds on the clipboard before a copy is awaited.
NOTHING_COPIED = "(nothing copied yet)"


def wait_until(probe, what):
    """Polls probe until it returns something other than None, and returns that."""
    deadline = time.monotonic() + DEADLINE
    while (value := probe()) is None:
        if time.monotonic() > deadline:
            raise AssertionError(f"no {what} within {DEADLINE} s")
        time.sleep(0.05)
    return value


class Window:
    def __init__(self, wid, name, x, y, width, height):
        self.id, self.name, self.x, self.y, self.size = wid, name, x, y, (width, height)

    def point(self, left, top, width=375, height=315):
        """The screen point in the middle of a control placed in twips."""
        return str(self.x + (left + width // 2) // 15), str(self.y + (top + height // 2) // 15)


class Display(XSession):
    def __init__(self):
        super().__init__(screen="1024x768x24", prefix="calc-e2e-")
        self.env["ALSA_CONFIG_PATH"] = os.path.join(self.root, "asound.conf")
        with open(self.env["ALSA_CONFIG_PATH"], "w") as conf:
            conf.write("pcm.!default { type null }\n")
        # A key that a busy machine holds down longer than the repeat delay would repeat into
        # wherever the focus is by then: a box's Enter into the calculator as ＝.
        self.run("xset", "r", "off")

    def run(self, *args, check=True):
        return subprocess.run(args, env=self.env, capture_output=True, timeout=DEADLINE, check=check,
                              preexec_fn=die_with_parent).stdout.decode()  # fmt: skip

    def windows(self, process):
        found = []
        for wid in self.run("xdotool", "search", "--onlyvisible", "--pid", str(process.pid), check=False).split():
            out = self.run("xdotool", "getwindowname", wid, "getwindowgeometry", "--shell", wid, check=False)
            name, *fields = out.split("\n")
            if len(fields) < 4:
                continue  # gone meanwhile
            g = dict(f.split("=", 1) for f in fields if "=" in f)
            found.append(Window(wid, name, int(g["X"]), int(g["Y"]), int(g["WIDTH"]), int(g["HEIGHT"])))
        return found

    def window(self, process, fits):
        """The first window of process that fits, once it is mapped: the X server then sends it
        the clicks on it, whenever the program gets to them."""

        def shown():
            if process.poll() is not None:
                raise AssertionError(f"{process.args[0]} ended ({process.returncode}) without a window")
            return next((w for w in self.windows(process) if fits(w)), None)

        return wait_until(shown, "window")

    def focused(self, window):
        """Waits for window to hold the input focus. With no window manager, a Qt window takes
        it itself after it is mapped: a key or a box's Enter sent before could land elsewhere."""
        wait_until(lambda: True if self.run("xdotool", "getwindowfocus").strip() == window.id else None,
                   "the focus in the window")  # fmt: skip

    def clipboard(self):
        """The clipboard's text, None when it holds none."""
        result = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.env,
                                capture_output=True, timeout=DEADLINE)  # fmt: skip
        return result.stdout.decode() if result.returncode == 0 else None

    def copy(self, text):
        """Another program copies text and keeps serving it."""
        owner = self.start(["xclip", "-i", "-quiet", "-selection", "clipboard"], stdin=subprocess.PIPE)
        owner.stdin.write(text.encode())
        owner.stdin.close()
        wait_until(lambda: True if self.clipboard() == text else None, "xclip's text")

    def copied(self):
        """The text that replaces NOTHING_COPIED on the clipboard."""
        return wait_until(lambda: t if (t := self.clipboard()) != NOTHING_COPIED else None, "a copy")

    def close_window(self, window):
        """Asks the window to close, as a window manager's close button does."""
        x11 = ctypes.CDLL("libX11.so.6")
        x11.XOpenDisplay.restype = x11.XInternAtom.restype = ctypes.c_void_p
        connection = ctypes.c_void_p(x11.XOpenDisplay(self.display.encode()))
        atom = lambda name: x11.XInternAtom(connection, name, False)  # noqa: E731
        # An XClientMessageEvent in an XEvent's room, as longs: type, serial, send_event,
        # display, window, message_type, format, data.
        event = (ctypes.c_ulong * 24)(33, 0, 0, 0, int(window.id), atom(b"WM_PROTOCOLS"), 32,
                                      atom(b"WM_DELETE_WINDOW"))  # fmt: skip
        x11.XSendEvent(connection, ctypes.c_ulong(int(window.id)), False, ctypes.c_long(0), event)
        x11.XCloseDisplay(connection)


def settings_file(**values):
    """calc.dat of the test skin, in code page 932; a value of None leaves its key out."""
    settings = {"Title": TITLE, "Icon": "calc.ico", "Color1": "0", "Color2": "0", "ZeiRitu": "5",
                **PICTURES, **values}  # fmt: skip
    return "".join(f"{k}={v}\r\n" for k, v in settings.items() if v is not None).encode("cp932")


class Calc:
    """The calculator started from a skin folder, clicked at its keys, read through COPY."""

    def __init__(self, test, folder):
        self.display = test.display
        self.process = self.display.start([os.path.join(folder, "calc")], cwd=folder)
        test.addCleanup(self.display.stop, self.process)

    def click(self, *captions):
        moves = [["mousemove", *self.window.point(*KEYS[c]), "click", "1", "sleep", "0.05"] for c in captions]
        self.display.run("xdotool", *sum(moves, []))

    def readout(self):
        self.display.copy(NOTHING_COPIED)
        self.click("COPY")
        return self.display.copied()


class CalcTestCase(unittest.TestCase):
    """One private display per test class; every test starts the calculators it needs."""

    @classmethod
    def setUpClass(cls):
        cls.display = Display()
        cls.addClassCleanup(cls.display.close)
        cls.stock = os.path.join(cls.display.root, "stock")
        os.makedirs(cls.stock)
        args = ["convert"]
        for number, name in enumerate(PICTURES.values()):
            args += ["-size", "40x30" if number == 0 else "200x200",
                     f"xc:rgb({number * 19},{255 - number * 19},128)", "-write", name, "+delete"]  # fmt: skip
        subprocess.run(args + ["-size", "32x32", "xc:teal", "calc.ico"], cwd=cls.stock, check=True)
        cls.skins = 0

    def make_skin(self, settings=settings_file()):
        """A new skin folder: the calculator, the pictures and calc.dat (None: no calc.dat)."""
        type(self).skins += 1
        folder = shutil.copytree(self.stock, os.path.join(self.display.root, f"skin{self.skins}"))
        os.link(CALC, os.path.join(folder, "calc"))
        if settings is not None:
            with open(os.path.join(folder, "calc.dat"), "wb") as f:
                f.write(settings)
        return folder

    def start_calc(self, folder=None, title=TITLE):
        calc = Calc(self, folder or self.make_skin())
        calc.window = self.display.window(calc.process, lambda w: w.size == CALC_SIZE or self.fail(
            f"a message box instead of the window: {w.name}"))  # fmt: skip
        self.display.focused(calc.window)
        self.assertEqual(calc.window.name, title)
        return calc

    def refused(self, folder, exit_code):
        """Started in folder, the calculator shows one message box and never its window; it
        ends once the box is closed."""
        calc = Calc(self, folder)
        box = self.display.window(calc.process, lambda w: True)
        self.assertEqual((box.name, len(self.display.windows(calc.process))), ("電卓", 1))
        self.assertNotEqual(box.size, CALC_SIZE)
        self.display.run("xdotool", "windowfocus", "--sync", box.id, "key", "Return")
        self.assertEqual(wait_until(calc.process.poll, "end of calc"), exit_code)
