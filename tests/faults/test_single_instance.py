"""Copies of one calculator racing to start: exactly one window, whatever the timing.

Two copies started at the same instant: one shows its window, the other says
"既に電卓は、起動しています。" and ends. The same holds when the lock they race for was left
behind by a copy that was killed with SIGKILL.
"""

import os
import signal
import unittest

import faultkit  # noqa: F401  puts the harness on the path
from harness import Calc, CalcTestCase
from jackpeer import play_into_peer
from xdisplay import BOX_TITLE, wait_until

REFUSAL = "既に電卓は、起動しています。"
ROUNDS = ["no lock yet", "the lock of a copy killed with SIGKILL"]


class RacingStartTest(CalcTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        # With a synthesizer port to play to, no copy has a sound notice to show, so the one
        # box on the screen is the refusal.
        cls.peer = play_into_peer(cls.display, cls.addClassCleanup)

    def settle(self, copies):
        """Answers the sound notices until each copy shows its window or the refusal; returns
        the copies with a window and the refused ones, whose box is still up."""
        windows, refused = {}, {}

        def decided():
            for calc in copies:
                pid = calc.process.pid
                if pid in windows or pid in refused:
                    continue
                for w in self.display.visible_windows(pid):
                    if w.name != BOX_TITLE:
                        windows[pid] = calc
                        continue
                    text = self.display.box_text(w)
                    if text == REFUSAL:
                        refused[pid] = (calc, w)
                    elif calc._is_sound_notice(text):
                        self.display.dismiss(w, calc.process)
                    else:
                        raise AssertionError(f"an unexpected message: {text}")
                if calc.process.poll() is not None and pid not in refused:
                    raise AssertionError(f"a copy ended (code {calc.process.returncode}) unasked")
            return True if len(windows) + len(refused) == len(copies) else None

        wait_until(decided, 40, "every copy to show its window or the refusal")
        return list(windows.values()), list(refused.values())

    def test_two_copies_at_once_give_one_window(self):
        folder = self.make_skin()
        for tag in ROUNDS:
            with self.subTest(tag):
                copies = [Calc(self.display, folder), Calc(self.display, folder)]
                for calc in copies:
                    self.addCleanup(calc.close)
                windows, refused = self.settle(copies)
                self.assertEqual(len(windows), 1, "exactly one window")
                (loser, box), = refused
                self.display.dismiss(box, loser.process)
                self.assertEqual(loser.wait_for_exit(), 0)
                winner = windows[0].wait_for_window()
                winner.click("6", "X", "7", "＝")
                self.assertEqual(winner.readout(), "42")
                # The next round races for the lock this copy leaves behind; the sound server
                # must have dropped it first, or the next copies may find no synthesizer.
                os.kill(winner.process.pid, signal.SIGKILL)
                winner.wait_for_exit()
                if tag != ROUNDS[-1]:
                    self.peer.wait_until_gone("calc")


if __name__ == "__main__":
    unittest.main()
