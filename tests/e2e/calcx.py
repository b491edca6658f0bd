"""The real programs on a private X display, worked from outside with xdotool and xclip. Sound
goes to ALSA's null device: the calculator starts as on a machine with sound, without a notice."""

import ctypes
import os
import shutil
import subprocess
import sys
import tempfile
import time
import types
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools", "xsession"))
from xsession import DEADLINE, XSession  # noqa: E402

CALC = os.environ.get("CALC_BINARY", "")
CALC_SIZE = (162, 169)
# The middles of the keys the tests press, in pixels from the window's corner.
KEYS = {
    "COPY": (128, 42),
    "4": (16, 98),
    "1": (16, 126),
    "2": (48, 126),
    "+": (112, 154),
    "＝": (144, 154),
}
NOTHING_COPIED = "(nothing copied yet)"


def wait_until(probe, what):
    """Polls probe until it returns something other than None, and returns that."""
    deadline = time.monotonic() + DEADLINE
    while (value := probe()) is None:
        if time.monotonic() > deadline:
            raise AssertionError(f"no {what} within {DEADLINE} s")
        time.sleep(0.05)
    return value


def skin_folder(root, settings=lambda dat: dat):
    """A skin folder of its own under root: the default skin beside the calculator, calc.dat's
    bytes passed through settings."""
    folder = tempfile.mkdtemp(dir=root)
    shutil.copytree(os.path.dirname(CALC), folder, dirs_exist_ok=True)
    with open(os.path.join(folder, "calc.dat"), "rb+") as f:
        dat = settings(f.read())
        f.seek(0)
        f.truncate()
        f.write(dat)
    return folder


class Display(XSession):
    def __init__(self):
        super().__init__(screen="1024x768x24", prefix="calc-e2e-")
        self.env["ALSA_CONFIG_PATH"] = os.path.join(self.root, "asound.conf")
        with open(self.env["ALSA_CONFIG_PATH"], "w") as conf:
            conf.write("pcm.!default { type null }\n")
        # A key that a busy machine holds down longer than the repeat delay would repeat into
        # wherever the focus is by then: a box's Enter into the calculator as ＝.
        self.run("xset", "r", "off")

    def windows(self, process):
        found = []
        for wid in self.run(
            "xdotool", "search", "--onlyvisible", "--pid", str(process.pid), check=False
        ).split():
            out = self.run(
                "xdotool", "getwindowname", wid, "getwindowgeometry", "--shell", wid, check=False
            )
            name, *fields = out.split("\n")
            if len(fields) < 4:
                continue  # gone meanwhile
            g = dict(f.split("=", 1) for f in fields if "=" in f)
            size = (int(g["WIDTH"]), int(g["HEIGHT"]))
            found.append(
                types.SimpleNamespace(id=wid, name=name, x=int(g["X"]), y=int(g["Y"]), size=size)
            )
        return found

    def window(self, process, fits):
        """The first window of process that fits, once it is mapped and so takes clicks."""

        def shown():
            if process.poll() is not None:
                raise AssertionError(
                    f"{process.args[0]} ended ({process.returncode}) without a window"
                )
            return next((w for w in self.windows(process) if fits(w)), None)

        return wait_until(shown, "window")

    def focused(self, window):
        """Waits for window to hold the input focus. With no window manager, a Qt window takes
        it itself after it is mapped: a key sent before could land elsewhere."""
        wait_until(
            lambda: True if self.run("xdotool", "getwindowfocus").strip() == window.id else None,
            "the focus in the window",
        )

    def clipboard(self, selection="clipboard"):
        return self.run("xclip", "-o", "-selection", selection, check=False)

    def close_window(self, window):
        """Asks the window to close, as a window manager's close button does."""
        x11 = ctypes.CDLL("libX11.so.6")
        x11.XOpenDisplay.restype = x11.XInternAtom.restype = ctypes.c_void_p
        connection = ctypes.c_void_p(x11.XOpenDisplay(self.display.encode()))
        atom = lambda name: x11.XInternAtom(connection, name, False)  # noqa: E731
        # An XClientMessageEvent in an XEvent's room, as longs: type, serial, send_event,
        # display, window, message_type, format, data.
        event = (ctypes.c_ulong * 24)(
            33, 0, 0, 0, int(window.id), atom(b"WM_PROTOCOLS"), 32, atom(b"WM_DELETE_WINDOW")
        )
        x11.XSendEvent(connection, ctypes.c_ulong(int(window.id)), False, ctypes.c_long(0), event)
        x11.XCloseDisplay(connection)


class Calc:
    """The calculator started from a skin folder, clicked at its keys, read through COPY."""

    def __init__(self, test, folder, args=()):
        self.display = test.display
        self.process = self.display.start([os.path.join(folder, "calc"), *args], cwd=folder)
        test.addCleanup(self.display.stop, self.process)

    def click(self, *captions):
        w = self.window
        moves = []
        for c in captions:
            x, y = w.x + KEYS[c][0], w.y + KEYS[c][1]
            moves += ["mousemove", str(x), str(y), "click", "1", "sleep", "0.05"]
        self.display.run("xdotool", *moves)

    def readout(self):
        """What COPY puts on the clipboard in place of another program's text."""
        d = self.display
        owner = d.start(["xclip", "-i", "-quiet", "-selection", "clipboard"], stdin=subprocess.PIPE)
        owner.stdin.write(NOTHING_COPIED.encode())
        owner.stdin.close()
        wait_until(lambda: True if d.clipboard() == NOTHING_COPIED else None, "xclip's text")
        self.click("COPY")
        return wait_until(lambda: t if (t := d.clipboard()) != NOTHING_COPIED else None, "a copy")


class CalcTestCase(unittest.TestCase):
    """One private display per test class; every test starts the calculators it needs."""

    @classmethod
    def setUpClass(cls):
        cls.display = Display()
        cls.addClassCleanup(cls.display.close)

    def make_skin(self, settings=lambda dat: dat):
        return skin_folder(self.display.root, settings)

    def start_calc(self, folder=None, title="電卓", args=()):
        calc = Calc(self, folder or self.make_skin(), args)
        calc.window = self.display.window(
            calc.process,
            lambda w: w.size == CALC_SIZE
            or self.fail(f"a message box instead of the window: {w.name}"),
        )
        self.display.focused(calc.window)
        self.assertEqual(calc.window.name, title)
        return calc

    def refused(self, folder, exit_code, running=None):
        """Started in folder, the calculator shows one message box and never its window; it
        ends once the box is closed. The running copy takes the focus while the box is open."""
        calc = Calc(self, folder)
        box = self.display.window(calc.process, lambda w: True)
        self.assertEqual((box.name, len(self.display.windows(calc.process))), ("電卓", 1))
        self.assertNotEqual(box.size, CALC_SIZE)
        if running:
            self.display.focused(running.window)
        self.display.run("xdotool", "windowfocus", "--sync", box.id, "key", "Return")
        self.assertEqual(wait_until(calc.process.poll, "end of calc"), exit_code)
