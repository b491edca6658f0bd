"""What the fault tests share: the end-to-end harness on the path, and the figures they
measure on the real calculator (its peak memory, how long a step takes)."""

import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))
sys.path.insert(0, os.path.join(HERE, "..", "sound"))

MIB = 1024 * 1024

# Under AddressSanitizer freed blocks wait in a quarantine of 256 MB before they are reused;
# reading 100 MB block by block would fill it and count as the reader's memory. A small one
# keeps the peak memory figures about the program.
if "ASAN_OPTIONS" in os.environ:
    os.environ["ASAN_OPTIONS"] += ":quarantine_size_mb=4"


def peak_memory(pid):
    """The process's peak resident memory in bytes (VmHWM)."""
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) * 1024
    raise AssertionError(f"no VmHWM for process {pid}")


def report(what, value):
    """A figure for the robustness notes, on stderr so that CTest shows it with -V."""
    print(f"figure: {what}: {value}", file=sys.stderr)


class Stopwatch:
    def __enter__(self):
        self.start = time.monotonic()
        return self

    def __exit__(self, *exc):
        self.seconds = time.monotonic() - self.start
