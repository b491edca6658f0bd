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
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from calcx import CALC_SIZE, Display, wait_until  # noqa: E402

LIB = "usr/lib/picturecalc"
WIZARD = "電卓 ｳｨｻﾞｰﾄﾞ"
# What an input method on Linux gives for 〜 − ‖ ¢ £ ¬: calc.dat holds what Windows writes for
# them, and the calculator shows what code page 932 reads back.
TITLE, SHOWN = "私の電卓〜−‖¢£¬", "私の電卓～－∥￠￡￢"


def run(*args):
    return subprocess.run(args, capture_output=True, timeout=600, check=True).stdout.decode()


class Cp932ZipInfo(zipfile.ZipInfo):
    """An entry named in code page 932 without the UTF-8 flag, as Japanese Windows writes it."""

    def _encodeFilenameFlags(self):
        return self.filename.encode("cp932"), self.flag_bits


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
        for name in ("copyright", "changelog.Debian.gz"):
            self.assertTrue(os.path.isfile(os.path.join(self.root, "usr/share/doc/picturecalc", name)))
        lintian = subprocess.run(["lintian", self.deb], capture_output=True, timeout=400).stdout.decode()
        self.assertNotRegex(lintian, r"(?m)^E:")
        with tarfile.open(self.tarball) as tar:
            tar.extractall(self.work)
        folder = os.path.join(self.work, os.path.basename(self.tarball).removesuffix(".tar.gz"))
        self.assertLessEqual(skin_files(folder) | {"calc", "Skinwright"}, set(os.listdir(folder)))
        for program in (os.path.join(lib, "calc"), os.path.join(folder, "Skinwright")):
            self.assertNotRegex(run("readelf", "-d", program), "R(UN)?PATH")  # libraries from the system alone

    def test_calcskin_files_open_in_picturecalc_and_show_their_start_picture(self):
        """What the package's triggers do on installation, then the file manager's questions."""
        share = os.path.join(self.root, "usr/share")
        run("update-mime-database", os.path.join(share, "mime"))
        run("update-desktop-database", os.path.join(share, "applications"))
        home = tempfile.mkdtemp(dir=self.work)
        skin = os.path.join(home, "x.calcskin")
        with zipfile.ZipFile(skin, "w") as archive:
            for name in skin_files(os.path.join(self.root, LIB)):
                archive.write(os.path.join(self.root, LIB, name), name)
        env = dict(PATH="/usr/bin:/bin", HOME=home, XDG_DATA_HOME=os.path.join(home, "data"), XDG_DATA_DIRS=share)
        query = subprocess.run(["xdg-mime", "query", "filetype", skin], env=env, capture_output=True, check=True)
        self.assertEqual(query.stdout.decode().strip(), "application/x-picturecalc-skin")
        query = subprocess.run(["xdg-mime", "query", "default", "application/x-picturecalc-skin"], env=env,
                               capture_output=True, check=True)  # fmt: skip
        self.assertEqual(query.stdout.decode().strip(), "picturecalc.desktop")
        with open(os.path.join(share, "thumbnailers/picturecalc.thumbnailer")) as f:
            command = re.search(r"^Exec=(.*)$", f.read(), re.M)[1]
        thumbnail = os.path.join(home, "x.png")
        args = [a.replace("%s", "128").replace("%i", skin).replace("%o", thumbnail) for a in shlex.split(command)]
        subprocess.run([os.path.join(self.root, "usr/bin", args[0]), *args[1:]], env=env, check=True, timeout=60)
        self.assertEqual(run("identify", "-format", "%m %h", thumbnail), "PNG 128")

    def test_new_user_imports_a_windows_zip_lists_exports_and_runs_it(self):
        home = tempfile.mkdtemp(dir=self.work)
        lib = os.path.join(self.root, LIB)
        with open(os.path.join(lib, "calc.dat"), "rb") as f:
            calc_dat = f.read().replace("電卓".encode("cp932"), "窓の電卓".encode("cp932"), 1)
        windows_zip = os.path.join(home, "窓の電卓.zip")
        with zipfile.ZipFile(windows_zip, "w") as archive:
            archive.writestr(Cp932ZipInfo("スキン/CALC.DAT"), calc_dat)
            archive.writestr(Cp932ZipInfo("スキン/calc.exe"), b"MZ")
            for name in skin_files(lib) - {"calc.dat"}:
                with open(os.path.join(lib, name), "rb") as f:
                    archive.writestr(Cp932ZipInfo("スキン/" + name.upper()), f.read())
        self.assertEqual(self.picturecalc(home, "--import", windows_zip).stdout, "窓の電卓\n")
        self.assertEqual(self.picturecalc(home, "--list").stdout, "標準\n窓の電卓\n")
        skin = os.path.join(home, ".local/share/picturecalc/skins/窓の電卓")
        self.assertEqual(set(os.listdir(skin)), skin_files(lib) | {"calc", "Skinwright"})
        exported = os.path.join(home, "out.calcskin")
        self.picturecalc(home, "--export", "窓の電卓", exported)
        with zipfile.ZipFile(exported) as archive:
            self.assertEqual(set(archive.namelist()), skin_files(lib))
        process = self.start_command(["picturecalc", "--run", "窓の電卓"], home)
        window = self.display.window(process, lambda w: w.size == CALC_SIZE)
        self.assertEqual(window.name, "窓の電卓")
        self.assertEqual(os.readlink(f"/proc/{process.pid}/exe"), os.path.join(skin, "calc"))
        self.display.stop(process)

    def user_env(self, home):
        """The environment of a user whose home it is; the sanitizers' settings pass on, so that
        their reports of a sanitized build are not lost."""
        env = {k: v for k, v in os.environ.items() if k.endswith("SAN_OPTIONS")}
        env.update(HOME=home, XDG_RUNTIME_DIR=home, LC_ALL="C.UTF-8", QT_QPA_PLATFORM="xcb", QT_DEBUG_PLUGINS="1",
                   DISPLAY=self.display.display, ALSA_CONFIG_PATH=self.null_sound,
                   PATH=os.path.join(self.root, "usr/bin") + ":/usr/bin:/bin")  # fmt: skip
        return env

    def as_user(self, args, home):
        """args run as an ordinary user (nobody, when the test runs as root) owning home."""
        if os.geteuid() != 0:
            return args
        nobody = pwd.getpwnam("nobody")
        for folder, _, files in os.walk(home):
            for path in [folder] + [os.path.join(folder, name) for name in files]:
                os.chown(path, nobody.pw_uid, nobody.pw_gid)
        return ["setpriv", f"--reuid={nobody.pw_uid}", f"--regid={nobody.pw_gid}", "--clear-groups", "--", *args]

    def picturecalc(self, home, *args, check=True):
        return subprocess.run(self.as_user(["picturecalc", *args], home), env=self.user_env(home), cwd=home,
                              capture_output=True, text=True, timeout=60, check=check)  # fmt: skip

    def start_command(self, args, home):
        """A program telling on stderr where it looks for Qt's plugins."""
        with open(os.path.join(self.work, "plugins.log"), "a") as log:
            return self.display.start(self.as_user(args, home), env=self.user_env(home), cwd=home, stderr=log)

    def start(self, entry, home):
        """A desktop entry's program, started as the menu starts it."""
        with open(os.path.join(self.root, "usr/share/applications", entry)) as f:
            args = [a for a in shlex.split(re.search(r"^Exec=(.*)$", f.read(), re.M)[1]) if a != "%f"]
        return self.start_command(args, home)

    def test_desktop_entries_work_in_the_users_own_folder(self):
        home = tempfile.mkdtemp(dir=self.work)
        skin = os.path.join(home, ".local/share/picturecalc/skins/標準")

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
