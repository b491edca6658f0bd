"""A private JACK server on dummy audio with jack_midi_dump listening, for the end-to-end tests.

Programs given env see this server and no ALSA sequencer, so the dump's port is the only
synthesizer they can find. The processes are started and ended by their id through the
display that owns them.
"""

import os
import re
import subprocess
import time

from harness import wait_until

SETTLE = 0.3  # long enough for a stray message to reach the dump
MESSAGE_LINE = re.compile(r"^\s*\d+:\s+((?:[0-9a-f]{2}(?:\s|$))+)", re.MULTILINE)


class JackPeer:
    def __init__(self, display):
        self.display = display
        self.name = f"calc-sound-e2e-{os.getpid()}"
        empty_alsa = os.path.join(display.root, "empty-alsa.conf")
        open(empty_alsa, "w").close()
        self.env = dict(
            display.env,
            JACK_DEFAULT_SERVER=self.name,
            JACK_NO_START_SERVER="1",
            ALSA_CONFIG_PATH=empty_alsa,
        )
        self.server_log = os.path.join(display.root, "jackd.log")
        with open(self.server_log, "wb") as log:
            self.server = display.start(
                ["jackd", "--no-realtime", "--name", self.name,
                 "-d", "dummy", "-r", "48000", "-p", "256"],
                env=self.env, stdout=log, stderr=subprocess.STDOUT,
            )  # fmt: skip
        wait_until(lambda: True if "system:playback_1" in self.ports() else None, 15, "jackd")
        self.dump_file = os.path.join(display.root, "midi-dump.txt")
        with open(self.dump_file, "wb") as out:
            self.dump = display.start(["stdbuf", "-oL", "jack_midi_dump"], env=self.env, stdout=out)
        wait_until(lambda: True if "midi-monitor:input" in self.ports() else None, 15, "dump")

    def ports(self, *options):
        result = subprocess.run(["jack_lsp", *options], env=self.env, capture_output=True, timeout=10)
        return result.stdout.decode().split("\n") if result.returncode == 0 else []

    def wait_until_gone(self, client):
        """Waits until the server has dropped every port of a client that ended."""
        prefix = client + ":"
        gone = lambda: None if any(p.startswith(prefix) for p in self.ports()) else True  # noqa
        wait_until(gone, 10, f"the end of {client}'s ports")

    def wait_for(self, sent, count):
        """Waits for count messages from sent(), then a little longer for any stray one."""
        try:
            wait_until(lambda: True if len(sent()) >= count else None, 10,
                       f"{count} messages (have {sent()})")  # fmt: skip
        except AssertionError as error:
            with open(self.server_log, encoding="utf-8", errors="replace") as log:
                said = log.read()[-1500:]
            raise AssertionError(f"{error}; ports: {self.ports('-c')}; jackd: {said}") from None
        time.sleep(SETTLE)

    def received(self):
        """Every message the dump has printed, each as its bytes in hex ("90 3c 79")."""
        with open(self.dump_file, encoding="latin-1") as dump:
            return [" ".join(m.split()) for m in MESSAGE_LINE.findall(dump.read())]

    def close(self):
        # A server ended while it still drops a client that just died keeps its entry in
        # JACK's table of servers; after a few of those no server starts at all.
        self.display.stop(self.dump)
        deadline = time.monotonic() + 3
        while "midi-monitor:input" in self.ports() and time.monotonic() < deadline:
            time.sleep(0.05)
        self.display.stop(self.server)
