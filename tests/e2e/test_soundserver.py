"""The built-in synthesizer at a private PulseAudio server with a null sink, seen by the server:
a stream only while a note sounds, none at all from a calculator whose sound is switched off."""

import os
import unittest

from calcx import KEYS, CalcTestCase, wait_until


class SoundServerTest(CalcTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        d = cls.display
        d.env.update(HOME=d.root)
        d.start_pulseaudio(d.env)
        wait_until(
            lambda: True if "null" in d.run("pactl", "list", "sinks", check=False) else None,
            "pulseaudio",
        )

    def calc_streams(self, kind="sink-inputs"):
        """How many streams (or clients) the server has from a calculator."""
        return self.display.run("pactl", "list", kind).count('application.name = "calc"')

    def test_a_stream_only_while_a_note_sounds(self):
        calc = self.start_calc()
        d = self.display
        streams = lambda count: lambda: True if self.calc_streams() == count else None  # noqa: E731
        # At rest the calculator is the server's client, with no stream that would wake either.
        self.assertEqual(self.calc_streams("clients"), 1)
        self.assertEqual(self.calc_streams(), 0)
        x, y = calc.window.x + KEYS["1"][0], calc.window.y + KEYS["1"][1]
        d.run("xdotool", "mousemove", str(x), str(y), "mousedown", "1")
        wait_until(streams(1), "a stream while the key is held")
        d.run("xdotool", "mouseup", "1")
        wait_until(streams(0), "no stream once the note has died away")

    def test_a_start_with_the_sound_switched_off_reaches_no_server(self):
        switch = os.path.join(self.display.root, ".local", "share", "picturecalc", "sound")
        for how in ("--no-sound", "the shelf's switch"):
            with self.subTest(how):
                if how == "--no-sound":
                    self.start_calc(args=["--no-sound"])
                else:
                    os.makedirs(os.path.dirname(switch), exist_ok=True)
                    with open(switch, "w") as file:
                        file.write("off\n")
                    self.addCleanup(os.remove, switch)
                    self.start_calc()
                # The window waits for the sound output to open: it would be connected by now.
                self.assertEqual(self.calc_streams("clients"), 0)


if __name__ == "__main__":
    unittest.main()
