"""The real programs on a private X display, worked from outside as a user works them.

Windows are found and clicked with xdotool, the clipboard is read and set with xclip, the screen
is read with ImageMagick's import. The display's sound output is ALSA's null device, so the
calculator starts as on a machine with sound: silently, without a notice.
"""

import ctypes
import os
import shutil
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools", "xsession"))
from xsession import XSession, die_with_parent  # noqa: E402

CALC = os.environ.get("CALC_BINARY", "")
SKINWRIGHT = os.environ.get("SKINWRIGHT_BINARY", "")
CALC_SIZE = (162, 169)
# The face's keys, as the design places them: (left, top, width, height) in twips.
KEYS = {
    "AC": (60, 480, 495, 315), "COPY": (1500, 480, 855, 315), "7": (60, 900, 375, 315),
    "8": (540, 900, 375, 315), "9": (1020, 900, 375, 315), "/": (1500, 900, 375, 315),
    "4": (60, 1320, 375, 315), "5": (540, 1320, 375, 315), "6": (1020, 1320, 375, 315),
    "X": (1500, 1320, 375, 315), "1": (60, 1740, 375, 315), "2": (540, 1740, 375, 315),
    "3": (1020, 1740, 375, 315), "-": (1500, 1740, 375, 315), "0": (60, 2160, 855, 315),
    "・": (1020, 2160, 375, 315), "+": (1500, 2160, 375, 315), "＝": (1980, 2160, 375, 315),
}  # fmt: skip
PICTURES = ["start.bmp", "one.jpg", "two.gif", "three.bmp", "four.jpg", "five.gif", "six.bmp",
            "seven.jpg", "eight.gif", "nine.bmp", "zero.jpg", "answer.gif", "copy.bmp"]  # fmt: skip
PICTURE_KEYS = ["StartBmp"] + [f"SglBmp{key}" for key in "123456789AEC"]


def wait_until(probe, timeout, what, interval=0.05):
    """Polls probe until it returns something other than None, and returns that."""
    deadline = time.monotonic() + timeout
    while (value := probe()) is None:
        if time.monotonic() > deadline:
            raise AssertionError(f"no {what} within {timeout} s")
        time.sleep(interval)
    return value


def centre(rect, x0=0, y0=0):
    left, top, width, height = rect
    return x0 + (left + width // 2) // 15, y0 + (top + height // 2) // 15


class Window:
    def __init__(self, wid, name, x, y, width, height):
        self.id, self.name, self.x, self.y, self.width, self.height = wid, name, x, y, width, height


class Display(XSession):
    def __init__(self):
        super().__init__(screen="1024x768x24", prefix="calc-e2e-")
        null_sound = os.path.join(self.root, "asound.conf")
        with open(null_sound, "w") as conf:
            conf.write("pcm.!default { type null }\n")
        self.env.update(ALSA_CONFIG_PATH=null_sound, JACK_NO_START_SERVER="1")

    def run(self, *args, check=True):
        result = subprocess.run(args, env=self.env, capture_output=True, timeout=60,
                                preexec_fn=die_with_parent)  # fmt: skip
        if check and result.returncode != 0:
            raise AssertionError(f"{args} failed: {result.stderr.decode(errors='replace')}")
        return result.stdout.decode("utf-8", errors="replace")

    def windows(self, process):
        found = []
        for wid in self.run("xdotool", "search", "--onlyvisible", "--pid", str(process.pid),
                            check=False).split():  # fmt: skip
            shell = self.run("xdotool", "getwindowname", wid, "getwindowgeometry", "--shell", wid,
                             check=False).split("\n")  # fmt: skip
            fields = dict(line.split("=", 1) for line in shell[1:] if "=" in line)
            if fields:
                found.append(Window(wid, shell[0], int(fields["X"]), int(fields["Y"]),
                                    int(fields["WIDTH"]), int(fields["HEIGHT"])))  # fmt: skip
        return found

    def selection(self):
        result = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.env,
                                capture_output=True, timeout=10)  # fmt: skip
        return result.stdout.decode("utf-8") if result.returncode == 0 else None

    def copy(self, text):
        """Another program copies text and serves it until someone else takes the clipboard."""
        owner = self.start(["xclip", "-i", "-selection", "clipboard", "-quiet"],
                           stdin=subprocess.PIPE, stderr=subprocess.DEVNULL)  # fmt: skip
        owner.stdin.write(text.encode("utf-8"))
        owner.stdin.close()
        wait_until(lambda: True if self.selection() == text else None, 10, "xclip's text")

    def keys(self, *names):
        """Keypad keys go as their key codes, so that they are pressed as they are whatever
        the state of Num Lock; the others by name."""
        codes = {}
        for line in self.run("xmodmap", "-pke").splitlines():
            code, _, symbols = line.removeprefix("keycode").partition("=")
            for symbol in symbols.split():
                codes.setdefault(symbol, code.strip())
        self.run("xdotool", "key", "--delay", "20",
                 *[codes[n] if n.startswith("KP_") else n for n in names])  # fmt: skip

    def set_num_lock(self, on):
        if ("Num Lock:    on" in self.run("xset", "q")) != on:
            self.run("xdotool", "key", "Num_Lock")

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

    def pixels(self, x, y, width, height):
        raw = subprocess.run(["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}",
                              "-depth", "8", "rgb:-"], env=self.env, capture_output=True,
                             timeout=30, check=True).stdout  # fmt: skip
        return [tuple(raw[i : i + 3]) for i in range(0, len(raw), 3)]


def settings_file(**values):
    """calc.dat as the wizard writes it, for the test skin: every key, then any extra."""
    settings = {"Title": "ｽｷﾝ試験", "Icon": "calc.ico", "Color1": "0", "Color2": "0",
                **dict(zip(PICTURE_KEYS, PICTURES)), "ZeiRitu": "5"}  # fmt: skip
    settings.update(values)
    return "".join(f"{k}={v}\r\n" for k, v in settings.items() if v is not None).encode("cp932")


class Calc:
    """The calculator started from a skin folder of its own."""

    def __init__(self, display, folder):
        self.display = display
        self.process = display.start([os.path.join(folder, "calc")], cwd=folder)
        self.window = None

    def wait_for_window(self):
        def window():
            shown = self.display.windows(self.process)
            if any((w.width, w.height) != CALC_SIZE for w in shown):
                raise AssertionError(f"a message box instead of the window: {shown[0].name}")
            if self.process.poll() is not None:
                raise AssertionError(f"calc ended ({self.process.returncode}) without a window")
            return shown[0] if shown else None

        self.window = wait_until(window, 20, "calculator window")
        time.sleep(0.3)  # painted and taking clicks
        return self

    def click(self, *captions):
        args = ["xdotool"]
        for caption in captions:
            x, y = centre(KEYS[caption], self.window.x, self.window.y)
            args += ["mousemove", str(x), str(y), "click", "1", "sleep", "0.05"]
        self.display.run(*args)

    def readout(self):
        """The readout, as COPY puts it on the clipboard."""
        self.display.copy("(nothing copied yet)")
        self.click("COPY")
        return wait_until(lambda: None if (t := self.display.selection()) in (None, "(nothing copied yet)")
                          else t, 10, "readout on the clipboard")  # fmt: skip

    def copy_caption(self):
        """'lit' or 'idle', by the colour of the COPY caption's text."""
        left, top, width, height = KEYS["COPY"]
        box = self.display.pixels(self.window.x + left // 15, self.window.y + top // 15,
                                  width // 15, height // 15)  # fmt: skip
        lit = sum(1 for r, g, b in box if r > 220 and g > 220 and b < 60)
        idle = sum(1 for r, g, b in box if r < 60 and g < 60 and b > 220)
        return "lit" if lit > 10 and idle < 5 else "idle" if idle > 10 and lit < 5 else "unclear"


class CalcTestCase(unittest.TestCase):
    """One private display per test class; every test starts the calculators it needs."""

    @classmethod
    def setUpClass(cls):
        if not os.access(CALC, os.X_OK):
            raise AssertionError(f"no calculator at CALC_BINARY={CALC!r}")
        cls.display = Display()
        cls.addClassCleanup(cls.display.close)
        cls.stock = os.path.join(cls.display.root, "stock")
        os.makedirs(cls.stock)
        args = ["convert"]
        for number, name in enumerate(PICTURES):
            args += ["-size", "40x30" if number == 0 else "200x200",
                     f"xc:rgb({number * 19},{255 - number * 19},128)", "-write", name, "+delete"]  # fmt: skip
        subprocess.run(args + ["-size", "32x32", "xc:teal", "calc.ico"], cwd=cls.stock, check=True)
        cls.skins = 0

    def make_skin(self, settings=settings_file()):
        """A new skin folder: the calculator, the pictures and calc.dat (None: no calc.dat)."""
        type(self).skins += 1
        folder = os.path.join(self.display.root, f"skin{self.skins}")
        shutil.copytree(self.stock, folder)
        os.link(CALC, os.path.join(folder, "calc"))
        if settings is not None:
            with open(os.path.join(folder, "calc.dat"), "wb") as f:
                f.write(settings)
        return folder

    def start_calc(self, folder=None):
        calc = Calc(self.display, folder or self.make_skin())
        self.addCleanup(self.display.stop, calc.process)
        return calc.wait_for_window()

    def refused(self, folder, exit_code):
        """Started in folder, the calculator shows one message box and never its window; it
        ends once the box is closed."""
        calc = Calc(self.display, folder)
        self.addCleanup(self.display.stop, calc.process)

        def shown():
            if calc.process.poll() is not None:
                raise AssertionError(f"calc ended ({calc.process.returncode}) without a message")
            return self.display.windows(calc.process) or None

        box = wait_until(shown, 20, "message box")
        self.assertEqual([(w.name, (w.width, w.height) != CALC_SIZE) for w in box], [("電卓", True)])
        time.sleep(0.5)
        self.assertEqual(len(self.display.windows(calc.process)), 1)
        self.display.run("xdotool", "windowfocus", "--sync", box[0].id, "key", "Return")
        self.assertEqual(wait_until(calc.process.poll, 10, "end of calc"), exit_code)
