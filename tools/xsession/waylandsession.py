"""A private headless sway (a Wayland compositor drawing in memory, without input devices) and
every process started on it. sway refuses to run as root: started by root, the compositor and
every program on it run as the ordinary user nobody, who then owns the session's folder."""

import glob
import json
import os
import pwd
import time

from xsession import DEADLINE, Session

SIZE = (1024, 768)
CONFIG = f"""xwayland disable
output * resolution {SIZE[0]}x{SIZE[1]} position 0 0
"""


class WaylandSession(Session):
    def __init__(self, prefix="calc-wl-"):
        super().__init__(prefix)
        if os.geteuid() == 0:
            nobody = pwd.getpwnam("nobody")
            self.user = [
                "setpriv",
                f"--reuid={nobody.pw_uid}",
                f"--regid={nobody.pw_gid}",
                "--clear-groups",
                "--",
            ]
        self.env = {k: v for k, v in os.environ.items() if k.endswith("SAN_OPTIONS")}
        self.env.update({k: os.path.join(self.root, v) for k, v in self.PRIVATE.items()})
        self.env.update(
            PATH=os.environ["PATH"],
            HOME=self.root,
            LC_ALL="C.UTF-8",
            LANG="C.UTF-8",
            WLR_BACKENDS="headless",
            WLR_RENDERER="pixman",
            WLR_LIBINPUT_NO_DEVICES="1",
        )
        config = os.path.join(self.root, "sway.config")
        with open(config, "w") as f:
            f.write(CONFIG)
        self.give_away(self.root)
        log_path = os.path.join(self.root, "sway.log")
        with open(log_path, "wb") as log:
            sway = self.start(["sway", "-c", config], stderr=log)
        run = self.env["XDG_RUNTIME_DIR"]
        deadline = time.monotonic() + DEADLINE
        while not (
            (displays := glob.glob(os.path.join(run, "wayland-[0-9]")))
            and (ipc := glob.glob(os.path.join(run, "sway-ipc.*.sock")))
        ):
            if sway.poll() is not None or time.monotonic() > deadline:
                with open(log_path, errors="replace") as log:
                    raise AssertionError("sway did not start: " + log.read()[-2000:])
            time.sleep(0.05)
        self.env.update(WAYLAND_DISPLAY=os.path.basename(displays[0]), SWAYSOCK=ipc[0])

    def give_away(self, folder):
        """Makes folder and what it holds the session user's."""
        if not self.user:
            return
        nobody = pwd.getpwnam("nobody")
        for parent, folders, files in os.walk(folder):
            for path in [parent] + [os.path.join(parent, n) for n in folders + files]:
                os.chown(path, nobody.pw_uid, nobody.pw_gid)

    def views(self):
        """The windows on the compositor, as sway's tree describes them."""

        def walk(node):
            if node.get("pid"):
                yield node
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                yield from walk(child)

        return list(walk(json.loads(self.run("swaymsg", "-t", "get_tree"))))
