"""The key sounds against real peers, exact bytes on the wire: a private JACK server with
jack_midi_dump listening. First the sound module alone, through the system's default output;
then the real calculator under Xvfb, worked with the mouse and the keypad."""

import os
import re
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))

from face import key_centre  # noqa: E402
from harness import CalcTestCase, Display  # noqa: E402
from jackpeer import JackPeer, play_into_peer  # noqa: E402

PIANO = "c0 01"
NOTE_ON_60 = "90 3c 79"
NOTE_OFF_60 = "80 3c 10"
ALL_NOTES_OFF = [f"b{channel:x} 7b 00" for channel in range(16)]
# The time limits are for the programs as shipped; a sanitized build runs several times slower.
SLOWDOWN = 3 if "ASAN_OPTIONS" in os.environ else 1


class SoundModuleTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.display = Display()
        cls.addClassCleanup(cls.display.close)
        cls.peer = JackPeer(cls.display)
        cls.addClassCleanup(cls.peer.close)

    def play(self, program, env):
        return subprocess.run([os.environ[program]], env=env, capture_output=True, timeout=30)

    def test_key_one_reaches_the_synthesizer_port(self):
        first = len(self.peer.received())
        result = self.play("MIDI_KEY_ONE", self.peer.env)
        self.assertEqual(result.returncode, 0, result.stdout.decode())
        sent = lambda: self.peer.received()[first:]  # noqa: E731
        self.peer.wait_for(sent, 3 + len(ALL_NOTES_OFF))
        self.assertEqual(sent(), [PIANO, NOTE_ON_60, NOTE_OFF_60] + ALL_NOTES_OFF)

    def test_no_server_costs_no_time_and_no_chatter(self):
        # Asking for ports where no JACK server runs must neither start one (which takes
        # seconds) nor fill the terminal with the sound libraries' complaints.
        env = dict(self.peer.env, JACK_DEFAULT_SERVER="calc-sound-absent")
        del env["JACK_NO_START_SERVER"]
        started = time.monotonic()
        result = self.play("MIDI_KEY_ONE", env)
        self.assertLess(time.monotonic() - started, 2 * SLOWDOWN)
        self.assertEqual(result.stderr, b"")

    def test_built_in_synthesizer_is_heard(self):
        result = self.play("SYNTH_HEARD", self.peer.env)
        output = result.stdout.decode()
        self.assertEqual(result.returncode, 0, output)
        figures = re.search(r"open_ms=(\S+) onset_ms=(\S+) hertz=(\S+)", output)
        open_ms, onset_ms, hertz = map(float, figures.groups())
        print(f"built-in synthesizer: opened in {open_ms} ms, sound {onset_ms} ms after the key, "
              f"{hertz} Hz", file=sys.stderr)  # fmt: skip
        # The soundfont loads after the open returns, so start-up does not wait for it.
        self.assertLess(open_ms, 100 * SLOWDOWN)
        self.assertLess(onset_ms, 30 * SLOWDOWN)
        self.assertAlmostEqual(hertz / 261.63, 1, delta=0.015)


class CalcNotesTest(CalcTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.peer = play_into_peer(cls.display, cls.addClassCleanup)

    def start_playing_calc(self):
        """A new calculator, and the messages it has sent."""
        first = len(self.peer.received())
        # The next calculator must find the server done with this one, killed without
        # closing its output; until then the server may not answer a new client in time.
        self.addCleanup(self.peer.wait_until_gone, "calc")
        calc = self.start_calc()
        self.assertEqual(calc.sound_notices, [])
        sent = lambda: self.peer.received()[first:]  # noqa: E731
        self.peer.wait_for(sent, 1)
        return calc, sent

    def hold(self, press, release, sent):
        """Presses: the note starts and nothing else. Releases: the note stops."""
        self.display.run(press)
        self.peer.wait_for(sent, 2)
        self.assertEqual(sent(), [PIANO, NOTE_ON_60])
        self.display.run(release)
        self.peer.wait_for(sent, 3)
        self.assertEqual(sent(), [PIANO, NOTE_ON_60, NOTE_OFF_60])

    def point_at(self, calc, caption):
        x, y = key_centre(caption)
        return ["mousemove", str(calc.window.x + x), str(calc.window.y + y)]

    def test_start_up_chooses_the_piano(self):
        _, sent = self.start_playing_calc()
        self.assertEqual(sent(), [PIANO])

    def test_mouse_on_1(self):
        calc, sent = self.start_playing_calc()
        self.hold(["xdotool", *self.point_at(calc, "1"), "mousedown", "1"],
                  ["xdotool", "mouseup", "1"], sent)  # fmt: skip

    def test_keypad_1(self):
        calc, sent = self.start_playing_calc()
        self.display.set_num_lock(True)
        calc.window.focus()
        (key,) = self.display.physical_keys(["KP_1"])
        self.hold(["xdotool", "keydown", key], ["xdotool", "keyup", key], sent)

    def test_double_click_on_1(self):
        # The second press of a double click starts no note; its release stops it once more.
        calc, sent = self.start_playing_calc()
        self.display.run(["xdotool", *self.point_at(calc, "1"),
                          "click", "--repeat", "2", "--delay", "60", "1"])  # fmt: skip
        self.peer.wait_for(sent, 4)
        self.assertEqual(sent(), [PIANO, NOTE_ON_60, NOTE_OFF_60, NOTE_OFF_60])

    def test_other_keys_are_silent(self):
        calc, sent = self.start_playing_calc()
        calc.click("+", "X", "%", "税込", "AC", "＝")
        self.display.run(["xdotool", *self.point_at(calc, "1"), "click", "1"])
        self.peer.wait_for(sent, 3)
        self.assertEqual(sent(), [PIANO, NOTE_ON_60, NOTE_OFF_60])


if __name__ == "__main__":
    unittest.main()
