"""The key sounds on the wire: the real calculator under X playing into a private JACK server
(dummy audio) where jack_midi_dump listens, exact bytes in hex."""

import os
import re
import subprocess
import time
import unittest

from calcx import KEYS, CalcTestCase, centre, wait_until

PIANO, NOTE_ON_60, NOTE_OFF_60 = "c0 01", "90 3c 79", "80 3c 10"
ALL_NOTES_OFF = [f"b{channel:x} 7b 00" for channel in range(16)]
MESSAGE = re.compile(r"^\s*\d+:\s+((?:[0-9a-f]{2}(?:\s|$))+)", re.MULTILINE)


class SoundTest(CalcTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        d = cls.display
        # JACK keeps a table of a few servers: a name another run still holds is passed over.
        for number in range(1, 7):
            env = dict(d.env, JACK_DEFAULT_SERVER=f"calc-e2e-{number}", ALSA_CONFIG_PATH=os.devnull)
            server = d.start(["jackd", "--no-realtime", "--name", env["JACK_DEFAULT_SERVER"],
                              "-d", "dummy", "-r", "48000", "-p", "256"], env=env,
                             stderr=subprocess.DEVNULL)  # fmt: skip
            ports = lambda: subprocess.run(["jack_lsp"], env=env, capture_output=True).stdout  # noqa
            if wait_until(lambda: False if server.poll() is not None else
                          True if b"system:playback_1" in ports() else None, 15, "jackd"):  # fmt: skip
                break
        else:
            raise AssertionError("no JACK server would start")
        d.env = env
        cls.dump_file = os.path.join(d.root, "dump.txt")
        with open(cls.dump_file, "wb") as out:
            d.start(["stdbuf", "-oL", "jack_midi_dump"], stdout=out)
        # The dump's port shows before the dump listens: a note from a sequencer proves it.
        wait_until(lambda: True if b"midi-monitor:input" in ports() else None, 15, "the dump")
        sequencer = d.start(["jack_midiseq", "warm-up", "4800", "0", "60", "100"])
        wait_until(lambda: True if b"warm-up:out" in ports() else None, 15, "sequencer")
        d.run("jack_connect", "warm-up:out", "midi-monitor:input")
        wait_until(lambda: cls.received() or None, 15, "the dump's first message")
        d.stop(sequencer)
        wait_until(lambda: None if b"warm-up" in ports() else True, 10, "the sequencer's end")

    @classmethod
    def received(cls):
        with open(cls.dump_file, encoding="latin-1") as dump:
            return [" ".join(m.split()) for m in MESSAGE.findall(dump.read())]

    def test_notes_of_mouse_and_keypad(self):
        first = len(self.received())
        sent = lambda: self.received()[first:]  # noqa: E731

        def expect(*messages):
            wait_until(lambda: True if len(sent()) >= len(messages) else None, 10,
                       f"{messages} (have {sent()})")  # fmt: skip
            time.sleep(0.3)  # long enough for a stray message to arrive
            self.assertEqual(sent(), list(messages))

        calc = self.start_calc()
        expect(PIANO)
        x, y = centre(KEYS["1"], calc.window.x, calc.window.y)
        self.display.run("xdotool", "mousemove", str(x), str(y), "mousedown", "1")
        expect(PIANO, NOTE_ON_60)
        self.display.run("xdotool", "mouseup", "1")
        expect(PIANO, NOTE_ON_60, NOTE_OFF_60)
        calc.click("+", "X", "AC", "＝", "COPY")
        self.display.set_num_lock(True)
        self.display.run("xdotool", "mousemove", str(x), str(y + 100))
        self.display.keys("KP_0", "KP_Decimal", "KP_9")
        notes = [f"{kind} {note:02x} {velocity}" for note in (57, 59, 74)
                 for kind, velocity in (("90", "79"), ("80", "10"))]  # fmt: skip
        expect(PIANO, NOTE_ON_60, NOTE_OFF_60, *notes)
        self.display.close_window(calc.window)
        expect(PIANO, NOTE_ON_60, NOTE_OFF_60, *notes, *ALL_NOTES_OFF)
        self.assertEqual(wait_until(calc.process.poll, 10, "end of calc"), 0)


if __name__ == "__main__":
    unittest.main()
