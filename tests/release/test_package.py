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


def run(*args):
    return subprocess.run(args, capture_output=True, timeout=120, check=True).stdout.decode()


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
        depends = run("dpkg-deb", "--field", self.deb, "Depends")
        for package in ("libqt6widgets6", "librtmidi6", "libfluidsynth3", "timgm6mb-soundfont", "fonts-ipafont-gothic"):
            self.assertIn(package, depends)
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

    def start(self, args, home, extra=(), **options):
        """As the user whose home it is; the sanitizers' settings pass on, so that their reports
        of a sanitized build are not lost."""
        env = {k: v for k, v in os.environ.items() if k.endswith("SAN_OPTIONS")}
        env.update(HOME=home, XDG_RUNTIME_DIR=home, LC_ALL="C.UTF-8", QT_QPA_PLATFORM="xcb",
                   DISPLAY=self.display.display, ALSA_CONFIG_PATH=self.null_sound,
                   PATH=os.path.join(self.root, "usr/bin") + ":/usr/bin:/bin", **dict(extra))  # fmt: skip
        if os.geteuid() == 0:
            nobody = pwd.getpwnam("nobody")
            os.chown(home, nobody.pw_uid, nobody.pw_gid)
            args = ["setpriv", f"--reuid={nobody.pw_uid}", f"--regid={nobody.pw_gid}", "--clear-groups", "--", *args]
        return self.display.start(args, env=env, cwd=home, **options)

    def test_programs_take_no_plugins_from_their_folder(self):
        folder = shutil.copytree(os.path.join(self.root, LIB), os.path.join(self.work, "brought-plugins"))
        for kind in ("platforms", "imageformats", "styles"):  # a skin bringing plugin folders along
            os.makedirs(os.path.join(folder, kind))
        for program, fits in (("calc", lambda w: w.size == CALC_SIZE), ("Skinwright", lambda w: w.name == WIZARD)):
            with self.subTest(program), open(os.path.join(self.work, program + ".log"), "w+") as log:
                process = self.start([os.path.join(folder, program)], tempfile.mkdtemp(dir=self.work),
                                     {"QT_DEBUG_PLUGINS": "1"}, stderr=log)  # fmt: skip
                self.display.window(process, fits)
                self.display.stop(process)
                log.seek(0)
                looked_in = re.findall(r'checking directory path "([^"]*)"', log.read())
                self.assertTrue(looked_in)
                self.assertEqual([p for p in looked_in if p.startswith(folder)], [])

    def test_desktop_entries_work_in_the_users_own_folder(self):
        home = tempfile.mkdtemp(dir=self.work)
        skin = os.path.join(home, ".local/share/picturecalc")

        def start(entry):
            with open(os.path.join(self.root, "usr/share/applications", entry)) as f:
                return self.start(shlex.split(re.search(r"^Exec=(.*)$", f.read(), re.M)[1]), home)

        def calc_title():
            process = start("picturecalc.desktop")
            window = self.display.window(process, lambda w: w.size == CALC_SIZE)
            self.assertEqual(os.readlink(f"/proc/{process.pid}/exe"), os.path.join(skin, "calc"))
            self.display.stop(process)
            return window.name

        self.assertEqual(calc_title(), "電卓")
        # Skinwright fills its pages from the skin beside it and writes it back there.
        calc_dat = os.path.join(skin, "calc.dat")
        with open(calc_dat, "rb") as f:
            default_skin = f.read()
        os.utime(calc_dat, (0, 0))
        wizard = start("picturecalc-skinwright.desktop")
        pages = []
        # 前回の情報 読込 and 次へ; 次へ; 実行
        for clicks in (((45, 30, 1920, 345), (3420, 2640, 1005, 420)), ((60, 2460, 1200, 420),), ((1620, 2580, 1095, 495),)):
            pages.append(self.display.window(wizard, lambda w: w.name == WIZARD and w.id not in [p.id for p in pages]))
            for rect in clicks:
                self.display.run("xdotool", "mousemove", *pages[-1].point(*rect), "click", "1")
        wait_until(lambda: os.stat(calc_dat).st_mtime or None, 10, "calc.dat written")
        self.display.run("xdotool", "click", "1")  # 終了, in the same place
        self.assertEqual(wait_until(wizard.poll, 10, "end of Skinwright"), 0)
        with open(calc_dat, "rb") as f:
            self.assertEqual(f.read(), default_skin)
        with open(calc_dat, "wb") as f:  # from now on the calculator shows the user's skin
            f.write(default_skin.replace("電卓".encode("cp932"), "私の電卓".encode("cp932"), 1))
        self.assertEqual(calc_title(), "私の電卓")


if __name__ == "__main__":
    unittest.main(verbosity=2)
