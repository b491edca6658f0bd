"""A private headless sway (a Wayland compositor drawing in memory, without input devices) and
every process started on it. sway refuses to run as root: started by root, the compositor and
every program on it run as the ordinary user nobody, who then owns the session's folder."""

import glob
import json
import os
import time

from xsession import DEADLINE, Session, as_nobody, give_to_nobody

CONFIG = """xwayland disable
output * resolution 1024x768 position 0 0
"""


class WaylandSession(Session):
    def __init__(self, prefix="calc-wl-"):
        super().__init__(prefix)
        self.user = as_nobody()
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
        give_to_nobody(self.root)
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

    def views(self):
        """The windows on the compositor, as sway's tree describes them."""

        def walk(node):
            if node.get("pid"):
                yield node
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                yield from walk(child)

        return list(walk(json.loads(self.run("swaymsg", "-t", "get_tree"))))
