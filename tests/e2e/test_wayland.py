"""The real calculator as a native Wayland client of a headless sway: keypad and COPY read back
through the clipboard, a later start bringing the running copy forward, the app id
that docks look the menu entry up by."""

import contextlib
import os
import re
import sys
import unittest

from calcx import skin_folder, wait_until

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools", "xsession"))
from waylandsession import WaylandSession, give_to_nobody  # noqa: E402

PACKAGING = os.path.join(os.path.dirname(__file__), "..", "..", "packaging")


class WaylandCalculatorTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.session = WaylandSession()
        cls.addClassCleanup(cls.session.close)
        cls.session.env["ALSA_CONFIG_PATH"] = os.path.join(cls.session.root, "asound.conf")
        with open(cls.session.env["ALSA_CONFIG_PATH"], "w") as conf:
            conf.write("pcm.!default { type null }\n")
        # sway offers a keyboard only while one exists, and a calculator that has not yet bound
        # a new one misses the keys typed meanwhile: one virtual keyboard stays for the session.
        cls.session.start(["wtype", "-s", str(24 * 3600 * 1000)])
        inputs = lambda: cls.session.run("swaymsg", "-t", "get_inputs")  # noqa: E731
        wait_until(lambda: True if '"keyboard"' in inputs() else None, "a keyboard")

    def skin(self, settings=lambda dat: dat):
        """A skin folder owned by the session's user."""
        folder = skin_folder(self.session.root, settings)
        give_to_nobody(self.session.root)
        return folder

    def focused_pid(self):
        return next((v["pid"] for v in self.session.views() if v["focused"]), None)

    def start_calc(self, folder, cleanup=None):
        """The calculator started in folder, once its window holds the focus; stopped by cleanup,
        or else by the test's."""
        process = self.session.start([os.path.join(folder, "calc")], cwd=folder)
        (cleanup or self.addCleanup)(self.session.stop, process)
        wait_until(
            lambda: True if self.focused_pid() == process.pid else None, "a focused calculator"
        )
        return process, next(v for v in self.session.views() if v["pid"] == process.pid)

    def test_keypad_copy_app_id_and_an_empty_title(self):
        process, view = self.start_calc(
            self.skin(lambda dat: re.sub(rb"Title=[^\r]*\r\n", b"", dat))
        )
        self.assertTrue(os.path.exists(os.path.join(PACKAGING, view["app_id"] + ".desktop")))
        wait_until(
            lambda: any(v["pid"] == process.pid and v["name"] == "" for v in self.session.views())
            or None,
            "an empty title",
        )
        keys = ["KP_4", "KP_Multiply", "KP_5", "KP_Enter"]
        self.session.run("wtype", *[a for k in keys for a in ("-k", k)], "-P", "Control_L")
        copied = wait_until(
            lambda: self.session.run("wl-paste", "--no-newline", check=False) or None, "a copy"
        )
        self.assertEqual(copied, "20")
        self.session.run("wtype", "-p", "Control_L")

    def test_a_later_start_brings_the_running_copy_forward(self):
        # "focus": the compositor honours the activation token; "urgent", sway's default, only
        # marks the window, which then maps anew to take the focus.
        for policy in ("focus", "urgent"):
            with self.subTest(policy=policy), contextlib.ExitStack() as stop:
                self.session.run("swaymsg", "focus_on_window_activation", policy)
                folder = self.skin()
                first, _ = self.start_calc(folder, stop.callback)
                self.start_calc(self.skin(), stop.callback)  # another calculator takes the focus
                later = self.session.start([os.path.join(folder, "calc")], cwd=folder)
                stop.callback(self.session.stop, later)
                wait_until(
                    lambda: True if self.focused_pid() == first.pid else None, "the first focused"
                )
                self.assertIsNone(later.poll())  # its refusal box is still open


if __name__ == "__main__":
    unittest.main()
