"""The key sounds on the wire: the real calculator under X playing into a private JACK server
(dummy audio) where jack_midi_dump listens, exact bytes in hex."""

import os
import re
import subprocess
import unittest

from calcx import CalcTestCase, wait_until

MESSAGE = re.compile(r"^\s*\d+:\s+((?:[0-9a-f]{2}(?:\s|$))+)", re.MULTILINE)


class SoundTest(CalcTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        d = cls.display
        ports = lambda: d.run("jack_lsp", check=False)  # noqa: E731
        # JACK keeps a table of a few servers: a name another run still holds is passed over.
        for number in range(1, 7):
            name = f"calc-e2e-{number}"
            d.env.update(JACK_DEFAULT_SERVER=name, ALSA_CONFIG_PATH=os.devnull)
            # A client slower than the time-out is dropped with its notes: give a busy machine 10 s.
            jackd = ["jackd", "--no-realtime", "--timeout", "10000", "--name", name, "-d", "dummy"]
            server = d.start(jackd + ["-r", "48000", "-p", "256"], stderr=subprocess.DEVNULL)

            def serving():
                if server.poll() is not None:
                    return False
                return True if "system:playback_1" in ports() else None

            if wait_until(serving, "jackd"):
                break
        cls.dump = os.path.join(d.root, "dump.txt")
        with open(cls.dump, "wb") as out:
            d.start(["stdbuf", "-oL", "jack_midi_dump"], stdout=out)
        # The dump's port shows before the dump listens: a note from a sequencer proves it.
        wait_until(lambda: True if "midi-monitor:input" in ports() else None, "the dump")
        sequencer = d.start(["jack_midiseq", "warm-up", "4800", "0", "60", "100"])
        wait_until(lambda: True if "warm-up:out" in ports() else None, "sequencer")
        d.run("jack_connect", "warm-up:out", "midi-monitor:input")
        wait_until(lambda: cls.received() or None, "the dump's first message")
        d.stop(sequencer)
        wait_until(lambda: None if "warm-up" in ports() else True, "the sequencer's end")

    @classmethod
    def received(cls):
        with open(cls.dump, encoding="latin-1") as dump:
            return [" ".join(m.split()) for m in MESSAGE.findall(dump.read())]

    def test_the_piano_chosen_and_every_channel_silenced_at_the_close(self):
        first = len(self.received())
        calc = self.start_calc()
        self.display.close_window(calc.window)
        self.assertEqual(wait_until(calc.process.poll, "end of calc"), 0)
        expected = ["c0 01"] + [f"b{channel:x} 7b 00" for channel in range(16)]  # all notes off

        # On a busy machine the dump may still be writing the warm-up's notes when calc starts.
        def all_sent():
            sent = self.received()[first:]
            return (
                sent
                if "c0 01" in sent and len(sent) - sent.index("c0 01") >= len(expected)
                else None
            )

        try:
            sent = wait_until(all_sent, "17 messages")
        except AssertionError:
            self.fail(f"the dump has {self.received()[first:]} from calc")
        warm_up = sent[: sent.index("c0 01")]
        self.assertEqual([m for m in warm_up if not m.startswith(("90 3c", "80 3c"))], [])
        self.assertEqual(sent[len(warm_up) :], expected)


if __name__ == "__main__":
    unittest.main()
