"""A private X server without a window manager, and the tools that work it from outside.

A Display is the shared X session of tools/xsession with the tools the tests work it with.
Windows are found and typed at with xdotool, the clipboard is read and set with xclip, the
screen is read with ImageMagick's import.
"""

import itertools
import os
import re
import subprocess
import sys
import time

from face import Screenshot

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "xsession"))
from xsession import XSession, die_with_parent  # noqa: E402

# The calculator's message boxes carry this title; no test skin uses it as the window title.
BOX_TITLE = "電卓"


def wait_until(probe, timeout, what, interval=0.03):
    """Polls probe until it returns something other than None, and returns that."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value is not None:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"no {what} within {timeout} s")
        time.sleep(interval)


class Window:
    def __init__(self, display, wid):
        self.display, self.id = display, wid
        self.name = display.run(["xdotool", "getwindowname", str(wid)]).decode("utf-8").rstrip("\n")
        shell = display.run(["xdotool", "getwindowgeometry", "--shell", str(wid)]).decode()
        fields = dict(line.split("=", 1) for line in shell.split())
        self.x, self.y = int(fields["X"]), int(fields["Y"])
        self.width, self.height = int(fields["WIDTH"]), int(fields["HEIGHT"])

    def focus(self):
        """Points at the window and gives it the keyboard; there is no window manager to ask."""
        self.display.run(
            ["xdotool", "mousemove", str(self.x + self.width // 2), str(self.y + self.height // 2)]
        )
        self.display.run(["xdotool", "windowfocus", "--sync", str(self.id)])


class Display(XSession):
    def __init__(self):
        super().__init__(prefix="calc-e2e-")
        self._sentinels = itertools.count(1)
        self._keypad_codes = None

    def run(self, args, timeout=15, check=True):
        result = subprocess.run(
            args, env=self.env, capture_output=True, timeout=timeout, preexec_fn=die_with_parent
        )
        if check and result.returncode != 0:
            raise AssertionError(f"{args} failed: {result.stderr.decode(errors='replace')}")
        return result.stdout

    # The clipboard and the primary selection ----------------------------------------------

    def selection(self, name="clipboard"):
        result = subprocess.run(
            ["xclip", "-o", "-selection", name],
            env=self.env, capture_output=True, timeout=10,
        )  # fmt: skip
        return result.stdout.decode("utf-8") if result.returncode == 0 else None

    def set_selection(self, text, name="clipboard"):
        """Another program copies text; it serves the selection until someone else takes it."""
        owner = self.start(["xclip", "-i", "-selection", name, "-quiet"],
                           stdin=subprocess.PIPE, stderr=subprocess.DEVNULL)  # fmt: skip
        owner.stdin.write(text.encode("utf-8"))
        owner.stdin.close()
        wait_until(lambda: True if self.selection(name) == text else None, 10, "xclip's text")
        self.forget_ended()

    def new_sentinel(self, name="clipboard"):
        """Puts a text in the selection that no program here would copy, to see a copy land."""
        sentinel = f"(nothing copied yet {next(self._sentinels)})"
        self.set_selection(sentinel, name)
        return sentinel

    def wait_for_copy(self, sentinel, what, name="clipboard"):
        def copied():
            text = self.selection(name)
            return None if text is None or text == sentinel else text

        return wait_until(copied, 10, what)

    # The keyboard --------------------------------------------------------------------------

    def physical_keys(self, names):
        """Keypad keys as key codes, so that xdotool presses the key as it is, whatever the
        state of Num Lock, instead of toggling Num Lock to reach the key's other meaning."""
        if self._keypad_codes is None:
            self._keypad_codes = {}
            for line in self.run(["xmodmap", "-pke"]).decode().splitlines():
                code, _, symbols = line.removeprefix("keycode").partition("=")
                for symbol in symbols.split():
                    if symbol.startswith("KP_"):
                        self._keypad_codes.setdefault(symbol, code.strip())
        return [self._keypad_codes.get(name, name) for name in names]

    def num_lock(self):
        state = self.run(["xset", "q"]).decode()
        return re.search(r"Num Lock:\s+(on|off)", state).group(1) == "on"

    def set_num_lock(self, on):
        if self.num_lock() != on:
            self.run(["xdotool", "key", "Num_Lock"])
        if self.num_lock() != on:
            raise AssertionError("Num Lock does not follow the Num_Lock key")

    # Windows and screenshots ---------------------------------------------------------------

    def visible_windows(self, pid):
        ids = self.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)], check=False)
        windows = []
        for wid in ids.split():
            try:
                windows.append(Window(self, int(wid)))
            except AssertionError:
                pass  # gone between the search and the question
        return windows

    def screenshot(self):
        return Screenshot(self.run(["import", "-window", "root", "-depth", "8", "ppm:-"]))

    # Message boxes -------------------------------------------------------------------------

    def boxes(self, pid):
        return [w for w in self.visible_windows(pid) if w.name == BOX_TITLE]

    def wait_for_box(self, process, timeout=20):
        def box():
            found = self.boxes(process.pid)
            if found:
                return found[0]
            if process.poll() is not None:
                raise AssertionError(f"ended (code {process.returncode}) without a message box")
            return None

        return wait_until(box, timeout, "message box")

    def box_text(self, box):
        """The box's text, selected with the mouse from its first to its last character."""
        x0, y0, y1 = _text_bounds(self.screenshot(), box)
        sentinel = self.new_sentinel("primary")
        self.run(["xdotool", "mousemove", str(x0), str(y0), "mousedown", "1",
                  "mousemove", str(x0 + 8), str(y0 + 4),
                  "mousemove", str(box.x + box.width - 3), str(y1), "mouseup", "1"])  # fmt: skip
        return self.wait_for_copy(sentinel, "text selected in the message box", "primary")

    def dismiss(self, box, process):
        box.focus()
        self.run(["xdotool", "key", "Return"])

        def closed():
            return None if box.id in [w.id for w in self.boxes(process.pid)] else True

        wait_until(closed, 10, "box to close")


def _text_bounds(shot, box, button_rows=45, gap=16):
    """Where a message box's text starts (x, y) and the row of its last line.

    The text is the widest run of columns holding dark pixels above the buttons; the
    exclamation icon, when there is one, is a narrower run left of it.
    """
    rows = range(box.y, box.y + box.height - button_rows)
    dark_columns = [
        x
        for x in range(box.x, box.x + box.width)
        if any(max(shot.pixel(x, y)) < 110 for y in rows)
    ]
    if not dark_columns:
        raise AssertionError("the message box shows no text")
    runs = [[dark_columns[0], dark_columns[0]]]
    for x in dark_columns[1:]:
        if x - runs[-1][1] > gap:
            runs.append([x, x])
        runs[-1][1] = x
    left, right = max(runs, key=lambda r: r[1] - r[0])
    columns = range(left, right + 1)
    dark_rows = [y for y in rows if any(max(shot.pixel(x, y)) < 110 for x in columns)]
    return left, dark_rows[0] + 1, dark_rows[-1]
