"""Hundreds of random key sequences, clicked on the real calculator and on the model.

The sequences are seeded (E2E_SEED, E2E_SEQUENCES to vary them) and steer clear of message
boxes. The model carries on from one sequence to the next like the calculator does, and only
some sequences start with "AC", so states left behind by one sequence meet the next.
"""

import os
import random
import unittest

from calcmodel import DIGITS, CalcModel, Unmodelled, same_readout
from harness import CalcTestCase

SEED = int(os.environ.get("E2E_SEED", "1957"))
SEQUENCES = int(os.environ.get("E2E_SEQUENCES", "300"))
TAX_RATE = 5

KEY_WEIGHTS = {d: 4 for d in DIGITS}
KEY_WEIGHTS.update({"・": 4, "+": 5, "-": 8, "X": 5, "/": 5, "＝": 8})
KEY_WEIGHTS.update({"%": 3, "税込": 2, "税抜": 2, "Ｃ": 3, "AC": 1})


def random_sequence(rng, model):
    """Keys that bring no message box from the model's state, and the state after them."""
    keys = ["AC"] if rng.random() < 0.25 else []
    state = model.copy()
    state.press_all(keys)
    length = rng.randint(2, 14)
    while len(keys) < length:
        (key,) = rng.choices(list(KEY_WEIGHTS), weights=list(KEY_WEIGHTS.values()))
        trial = state.copy()
        try:
            if trial.press(key):
                continue
        except Unmodelled:
            continue
        keys.append(key)
        state = trial
    return keys, state


class RandomSequenceTest(CalcTestCase):
    def test_random_sequences_agree_with_model(self):
        calc = self.start_calc()
        rng = random.Random(SEED)
        model = CalcModel(tax_rate=TAX_RATE)
        history = []
        for number in range(SEQUENCES):
            keys, model = random_sequence(rng, model)
            history = (history if keys[:1] != ["AC"] else []) + keys
            calc.click(*keys)
            where = f"seed {SEED}, sequence {number}: {' '.join(history)}"
            try:
                calc.wait_for_backdrop(model.backdrop)
            except AssertionError as e:
                self.fail(f"{where}: {e}")
            model.press("COPY")
            readout = calc.readout()
            if not same_readout(model.readout, readout):
                self.fail(f"{where}: readout {readout!r}, expected {model.readout!r}")


if __name__ == "__main__":
    unittest.main()
