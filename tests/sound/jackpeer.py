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
        self.empty_alsa = os.path.join(display.root, "empty-alsa.conf")
        open(self.empty_alsa, "w").close()
        self.server_log = os.path.join(display.root, "jackd.log")
        # JACK keeps a table of at most eight servers, and a server that dies uncleanly
        # stays in it until a server of the same name starts: so the names come from a
        # small set, and a name in use by another test run is passed over.
        for number in range(1, 7):
            if self._start_server(f"calc-sound-peer-{number}"):
                break
        else:
            raise AssertionError(f"no JACK server would start: {self._server_says()}")
        self.dump_file = os.path.join(display.root, "midi-dump.txt")
        with open(self.dump_file, "wb") as out:
            self.dump = display.start(["stdbuf", "-oL", "jack_midi_dump"], env=self.env, stdout=out)
        wait_until(lambda: True if "midi-monitor:input" in self.ports() else None, 15, "dump")
        self._warm_up()

    def _start_server(self, name):
        self.name = name
        self.env = dict(self.display.env, JACK_DEFAULT_SERVER=name, JACK_NO_START_SERVER="1",
                        ALSA_CONFIG_PATH=self.empty_alsa)  # fmt: skip
        with open(self.server_log, "wb") as log:
            self.server = self.display.start(
                ["jackd", "--no-realtime", "--name", name,
                 "-d", "dummy", "-r", "48000", "-p", "256"],
                env=self.env, stdout=log, stderr=subprocess.STDOUT,
            )  # fmt: skip

        def up_or_ended():
            if self.server.poll() is not None:
                return False
            return True if "system:playback_1" in self.ports() else None

        # The ports seen may be another run's server of that name if this one is about to
        # give up, so it must still be running a moment later.
        if wait_until(up_or_ended, 15, "jackd"):
            time.sleep(0.2)
            if self.server.poll() is None:
                return True
        self.display.stop(self.server)
        return False

    def _server_says(self):
        with open(self.server_log, encoding="utf-8", errors="replace") as log:
            return log.read()[-1500:]

    def _warm_up(self):
        """The dump's port shows before the dump listens: a note from a sequencer proves it."""
        sequencer = self.display.start(["jack_midiseq", "warm-up", "4800", "0", "60", "100"],
                                       env=self.env, stderr=subprocess.DEVNULL)  # fmt: skip
        wait_until(lambda: True if "warm-up:out" in self.ports() else None, 15, "sequencer")
        subprocess.run(["jack_connect", "warm-up:out", "midi-monitor:input"], env=self.env,
                       capture_output=True, timeout=10, check=True)  # fmt: skip
        wait_until(lambda: True if self.received() else None, 15, "the dump's first message")
        self.display.stop(sequencer)
        self.wait_until_gone("warm-up")

    def ports(self, *options):
        result = subprocess.run(
            ["jack_lsp", *options], env=self.env, capture_output=True, timeout=10
        )
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
            raise AssertionError(
                f"{error}; ports: {self.ports('-c')}; jackd: {self._server_says()}"
            ) from None
        time.sleep(SETTLE)

    def received(self):
        """Every message the dump has printed, each as its bytes in hex ("90 3c 79")."""
        with open(self.dump_file, encoding="latin-1") as dump:
            return [" ".join(m.split()) for m in MESSAGE_LINE.findall(dump.read())]

    def close(self):
        # A server ended while it still drops a client that just died keeps its entry in
        # JACK's table of servers: only the server's own ports may be left when it goes.
        self.display.stop(self.dump)
        deadline = time.monotonic() + 10
        while any(p and not p.startswith("system:") for p in self.ports()):
            if time.monotonic() > deadline:
                break
            time.sleep(0.05)
        self.display.stop(self.server)


def play_into_peer(display, add_cleanup):
    """A peer that every calculator started on display from now on plays into."""
    peer = JackPeer(display)
    add_cleanup(peer.close)
    display.env = peer.env
    return peer
