"""The release as a user gets it: the .deb and the tarball, packed from the built tree.

Nothing is installed on this machine: the .deb is unpacked into a temporary root and run from
there as an ordinary user (nobody, when the test runs as root) with a home of their own."""

import os
import pwd
import re
import shlex
import shutil
import subprocess
import sys
import tarfile
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from calcx import CALC_SIZE, Display, wait_until  # noqa: E402

LIB = "usr/lib/picturecalc"
WIZARD = "電卓 ｳｨｻﾞｰﾄﾞ"
# What an input method on Linux gives for 〜 − ‖ ¢ £ ¬: calc.dat holds what Windows writes for
# them, and the calculator shows what code page 932 reads back.
TITLE, SHOWN = "私の電卓〜−‖¢£¬", "私の電卓～－∥￠￡￢"


def run(*args):
    return subprocess.run(args, capture_output=True, timeout=600, check=True).stdout.decode()


def skin_files(folder):
    """calc.dat and every file it names."""
    with open(os.path.join(folder, "calc.dat"), "rb") as f:
        values = dict(line.split("=", 1) for line in f.read().decode("cp932").splitlines())
    return {"calc.dat"} | {v for k, v in values.items() if v and (k == "Icon" or "Bmp" in k)}


class ReleaseTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="calc-release-")
        os.chmod(cls.work, 0o755)
        cls.addClassCleanup(shutil.rmtree, cls.work, True)
        dist = os.path.join(cls.work, "dist")
        run("cpack", "--config", os.path.join(os.environ["RELEASE_BUILD_DIR"], "CPackConfig.cmake"), "-B", dist)
        cls.deb, cls.tarball = (os.path.join(dist, next(f for f in os.listdir(dist) if f.endswith(suffix)))
                                for suffix in (".deb", ".tar.gz"))  # fmt: skip
        cls.root = os.path.join(cls.work, "root")
        run("dpkg-deb", "-x", cls.deb, cls.root)
        cls.display = Display()
        cls.addClassCleanup(cls.display.close)
        cls.null_sound = shutil.copy(cls.display.env["ALSA_CONFIG_PATH"], cls.work)  # for nobody too

    def test_contents(self):
        depends = set(re.findall(r"[\w.+-]+", run("dpkg-deb", "--field", self.deb, "Depends")))
        self.assertLessEqual({"libqt6widgets6", "librtmidi6", "libfluidsynth3", "timgm6mb-soundfont", "fonts-ipafont-gothic"}, depends)
        lib = os.path.join(self.root, LIB)
        self.assertLessEqual(skin_files(lib), set(os.listdir(lib)))
        for name in ("picturecalc.desktop", "picturecalc-skinwright.desktop"):
            run("desktop-file-validate", os.path.join(self.root, "usr/share/applications", name))
        with tarfile.open(self.tarball) as tar:
            tar.extractall(self.work)
        folder = os.path.join(self.work, os.path.basename(self.tarball).removesuffix(".tar.gz"))
        self.assertLessEqual(skin_files(folder) | {"calc", "Skinwright"}, set(os.listdir(folder)))
        for program in (os.path.join(lib, "calc"), os.path.join(folder, "Skinwright")):
            self.assertNotRegex(run("readelf", "-d", program), "R(UN)?PATH")  # libraries from the system alone

    def start(self, entry, home):
        """A desktop entry's program, as the user whose home it is, telling on stderr where it
        looks for Qt's plugins; the sanitizers' settings pass on, so that their reports of a
        sanitized build are not lost."""
        with open(os.path.join(self.root, "usr/share/applications", entry)) as f:
            args = shlex.split(re.search(r"^Exec=(.*)$", f.read(), re.M)[1])
        env = {k: v for k, v in os.environ.items() if k.endswith("SAN_OPTIONS")}
        env.update(HOME=home, XDG_RUNTIME_DIR=home, LC_ALL="C.UTF-8", QT_QPA_PLATFORM="xcb", QT_DEBUG_PLUGINS="1",
                   DISPLAY=self.display.display, ALSA_CONFIG_PATH=self.null_sound,
                   PATH=os.path.join(self.root, "usr/bin") + ":/usr/bin:/bin")  # fmt: skip
        if os.geteuid() == 0:
            nobody = pwd.getpwnam("nobody")
            os.chown(home, nobody.pw_uid, nobody.pw_gid)
            args = ["setpriv", f"--reuid={nobody.pw_uid}", f"--regid={nobody.pw_gid}", "--clear-groups", "--", *args]
        with open(os.path.join(self.work, "plugins.log"), "a") as log:
            return self.display.start(args, env=env, cwd=home, stderr=log)

    def test_desktop_entries_work_in_the_users_own_folder(self):
        home = tempfile.mkdtemp(dir=self.work)
        skin = os.path.join(home, ".local/share/picturecalc")

        def calc_title():
            process = self.start("picturecalc.desktop", home)
            window = self.display.window(process, lambda w: w.size == CALC_SIZE)
            self.assertEqual(os.readlink(f"/proc/{process.pid}/exe"), os.path.join(skin, "calc"))
            self.display.stop(process)
            return window.name

        self.assertEqual(calc_title(), "電卓")
        for kind in ("platforms", "imageformats", "styles"):  # a skin bringing plugin folders along
            os.makedirs(os.path.join(skin, kind))
        # Skinwright fills its pages from the skin beside it, takes a new title and writes the
        # skin back there; Enter moves on from a field, and presses the button with the focus.
        calc_dat = os.path.join(skin, "calc.dat")
        with open(calc_dat, "rb") as f:
            default_skin = f.read()
        os.utime(calc_dat, (0, 0))
        wizard = self.start("picturecalc-skinwright.desktop", home)
        pages = []
        for page in range(3):
            pages.append(self.display.window(wizard, lambda w: w.name == WIZARD and w.id not in [p.id for p in pages]))
            self.display.run("xdotool", "windowfocus", "--sync", pages[-1].id)  # there is no window manager
            if page == 0:  # 前回の情報 読込, which leaves the focus in the title
                self.display.run("xdotool", "mousemove", *pages[-1].point(45, 30, 1920, 345), "click", "1")
                self.display.type(TITLE)
            # on to the icon, 次へ, pressed; from "０" on to "３", 次へ, pressed; 実行
            self.display.keys(*[["Return"] * 3, ["Return"] * 4 + ["KP_Enter"], ["Return"]][page])
        wait_until(lambda: os.stat(calc_dat).st_mtime or None, "calc.dat written")
        self.display.keys("KP_Enter")  # 終了, where the focus went
        self.assertEqual(wait_until(wizard.poll, "end of Skinwright"), 0)
        with open(calc_dat, "rb") as f:
            self.assertEqual(f.read(), default_skin.replace("電卓".encode("cp932"), SHOWN.encode("cp932"), 1))
        self.assertEqual(calc_title(), SHOWN)
        with open(os.path.join(self.work, "plugins.log")) as log:  # none from the programs' folder
            looked_in = re.findall(r'checking directory path "([^"]*)"', log.read())
        self.assertTrue(looked_in)
        self.assertEqual([p for p in looked_in if p.startswith(skin)], [])


if __name__ == "__main__":
    unittest.main(verbosity=2)
