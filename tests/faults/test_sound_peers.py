"""The sound going away under a running calculator: the synthesizer port it plays to, or the
whole JACK server with it. Notes then go nowhere, silently: no message, no crash, and every
later key still works. The same for the built-in synthesizer when its audio server dies.
"""

import unittest

import faultkit  # noqa: F401  puts the harness on the path
from face import key_centre
from harness import CalcTestCase
from jackpeer import play_into_peer
from xdisplay import BOX_TITLE, wait_until

PIANO = "c0 01"


class SoundGoneTest(CalcTestCase):
    def setUp(self):
        # Each test ends the server its own way, so each gets its own.
        self.peer = play_into_peer(self.display, self.addCleanup)

    def hold_and_type(self, calc):
        """Notes for held digit keys and keypad keys; the readout shows the keys all arrived."""
        x, y = key_centre("5")
        self.display.run(["xdotool", "mousemove", str(calc.window.x + x), str(calc.window.y + y),
                          "mousedown", "1", "sleep", "0.2", "mouseup", "1"])  # fmt: skip
        calc.click("X", "1", "2", "＝")
        self.assertEqual(calc.readout(), "60")
        self.display.set_num_lock(True)
        calc.type("KP_7", "KP_Add", "KP_3", "KP_Enter")
        self.assertEqual(calc.readout(), "10")

    def still_running_without_message(self, calc):
        self.assertIsNone(calc.process.poll(), "the calculator ended")
        shown = [w.name for w in self.display.visible_windows(calc.process.pid)]
        self.assertNotIn(BOX_TITLE, shown)

    def playing_calc(self):
        first = len(self.peer.received())
        calc = self.start_calc()
        self.assertEqual(calc.sound_notices, [])
        sent = lambda: self.peer.received()[first:]  # noqa: E731
        self.peer.wait_for(sent, 1)
        self.assertEqual(sent(), [PIANO])
        return calc

    def test_synthesizer_port_goes_away(self):
        calc = self.playing_calc()
        self.display.stop(self.peer.dump)
        self.peer.wait_until_gone("midi-monitor")
        self.hold_and_type(calc)
        self.still_running_without_message(calc)

    def test_jack_server_goes_away_under_the_port(self):
        calc = self.playing_calc()
        self.display.stop(self.peer.server)
        self.hold_and_type(calc)
        self.still_running_without_message(calc)

    def test_audio_server_goes_away_under_the_built_in_synthesizer(self):
        # Without a synthesizer port the calculator plays its own synthesizer through JACK.
        self.display.stop(self.peer.dump)
        self.peer.wait_until_gone("midi-monitor")
        calc = self.start_calc()
        self.assertEqual(calc.sound_notices, [])
        def playing():
            clients = [p for p in self.peer.ports() if ":" in p and not p.startswith("system:")]
            return True if clients else None

        wait_until(playing, 10, "the built-in synthesizer's audio ports")
        self.display.stop(self.peer.server)
        self.hold_and_type(calc)
        self.still_running_without_message(calc)


if __name__ == "__main__":
    unittest.main()
