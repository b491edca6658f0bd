"""A private X server (Xvfb, no window manager) and every process started on it.

Shared by the benchmark and the end-to-end tests. Each process runs in its own process group,
dies with the script that started it, and is ended by its id when the session closes. The
session's environment points the programs at the display and at private temporary folders.
"""

import atexit
import ctypes
import os
import pwd
import select
import shutil
import signal
import subprocess
import tempfile
import time

# How long to wait for what a started program is bound to do (announce its display, show a
# window, write a file): generous, for a machine busy with builds and the sanitizers. Only a
# failure waits this long.
DEADLINE = 60


def die_with_parent():
    ctypes.CDLL(None).prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG


def as_nobody():
    """What runs a program as the ordinary user nobody, when the test runs as root."""
    if os.geteuid() != 0:
        return []
    nobody = pwd.getpwnam("nobody")
    return [
        "setpriv",
        f"--reuid={nobody.pw_uid}",
        f"--regid={nobody.pw_gid}",
        "--clear-groups",
        "--",
    ]


def give_to_nobody(folder):
    """Makes folder and what it holds nobody's, when the test runs as root."""
    if os.geteuid() != 0:
        return
    nobody = pwd.getpwnam("nobody")
    for parent, folders, files in os.walk(folder):
        for path in [parent] + [os.path.join(parent, n) for n in folders + files]:
            os.chown(path, nobody.pw_uid, nobody.pw_gid)


class Session:
    """A private temporary folder and the processes started for it."""

    PRIVATE = {"TMPDIR": "tmp", "XDG_RUNTIME_DIR": "run", "XDG_CACHE_HOME": "cache"}
    # What runs a program as the session's user, where that is not the test's own.
    user = []

    def __init__(self, prefix):
        self.root = tempfile.mkdtemp(prefix=prefix)
        self._processes = []
        atexit.register(self.close)
        for folder in self.PRIVATE.values():
            os.makedirs(os.path.join(self.root, folder), mode=0o700)

    def start(self, args, env=None, **options):
        options.setdefault("stdin", subprocess.DEVNULL)
        options.setdefault("stdout", subprocess.DEVNULL)
        process = subprocess.Popen(
            self.user + list(args),
            env=env or self.env,
            start_new_session=True,
            preexec_fn=die_with_parent,
            **options,
        )
        self._processes.append(process)
        return process

    def run(self, *args, check=True):
        return subprocess.run(
            self.user + list(args),
            env=self.env,
            capture_output=True,
            timeout=DEADLINE,
            check=check,
            preexec_fn=die_with_parent,
        ).stdout.decode()

    def start_pulseaudio(self, env):
        """A PulseAudio daemon of the session's own whose default sink is a null sink; env
        (given to it and to its clients) names its socket, which this returns."""
        runtime = os.path.join(self.root, "pulse")
        os.makedirs(runtime)
        socket = os.path.join(runtime, "native")
        config = os.path.join(runtime, "default.pa")
        with open(config, "w") as file:
            file.write(
                f"load-module module-native-protocol-unix socket={socket} auth-anonymous=1\n"
                "load-module module-null-sink\nset-default-sink null\n"
            )
        env.update(PULSE_SERVER=f"unix:{socket}", PULSE_RUNTIME_PATH=runtime)
        daemon = ["pulseaudio", "-n", "-F", config, "--daemonize=no", "--exit-idle-time=-1"]
        self.start(
            daemon + ["--use-pid-file=no", "--system=no"], env=env, stderr=subprocess.DEVNULL
        )
        return socket

    def stop(self, process):
        """Ends a process this session started, and its process group, by their id."""
        for sig in (signal.SIGTERM, signal.SIGKILL):
            try:
                os.killpg(process.pid, sig)
                process.wait(3)
                return
            except (ProcessLookupError, subprocess.TimeoutExpired):
                pass

    def close(self):
        while self._processes:
            self.stop(self._processes.pop())
        shutil.rmtree(self.root, ignore_errors=True)


class XSession(Session):
    def __init__(self, screen="640x480x24", prefix="calc-x-"):
        super().__init__(prefix)
        self.display = ":" + self._start_xvfb(screen)
        self.env = {k: v for k, v in os.environ.items() if not k.startswith(("QT_", "WAYLAND"))}
        self.env.update({k: os.path.join(self.root, v) for k, v in self.PRIVATE.items()})
        self.env.update(
            DISPLAY=self.display, QT_QPA_PLATFORM="xcb", LC_ALL="C.UTF-8", LANG="C.UTF-8"
        )

    def _start_xvfb(self, screen):
        """Starts Xvfb on the first free display and returns its number."""
        read_end, write_end = os.pipe()
        log_path = os.path.join(self.root, "xvfb.log")
        with open(log_path, "wb") as log:
            self.start(
                [
                    "Xvfb",
                    "-displayfd",
                    str(write_end),
                    "-screen",
                    "0",
                    screen,
                    "-dpi",
                    "96",
                    "-nolisten",
                    "tcp",
                    "-noreset",
                ],
                pass_fds=(write_end,),
                env=dict(os.environ),
                stderr=log,
            )
        os.close(write_end)
        # Xvfb writes the number and then a newline; closing the pipe early would kill it.
        answer = b""
        deadline = time.monotonic() + DEADLINE
        while not answer.endswith(b"\n"):
            left = deadline - time.monotonic()
            if (
                left <= 0
                or not select.select([read_end], [], [], left)[0]
                or not (chunk := os.read(read_end, 32))
            ):
                break
            answer += chunk
        os.close(read_end)
        if not answer.endswith(b"\n"):
            with open(log_path, errors="replace") as log:
                raise AssertionError("Xvfb did not start: " + log.read()[-2000:])
        return answer.decode().strip()
