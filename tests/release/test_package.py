"""The release as a user gets it: the .deb and the tarball, packed from the built tree.

Nothing is installed on this machine: the .deb is unpacked into a temporary root and run from
there as an ordinary user (nobody, when the test runs as root) with a home of their own."""

import glob
import os
import pathlib
import re
import shlex
import shutil
import subprocess
import sys
import tarfile
import tempfile
import unittest
import zipfile
from xml.etree import ElementTree

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from calcx import CALC_SIZE, Display  # noqa: E402
from xsession import as_nobody, give_to_nobody  # noqa: E402

LIB = "usr/lib/picturecalc"
SKINS = ".local/share/picturecalc/skins"
WIZARD = "電卓 ｳｨｻﾞｰﾄﾞ"


def run(*args, **options):
    return subprocess.run(
        args, capture_output=True, timeout=600, check=True, **options
    ).stdout.decode()


def settings(folder):
    with open(os.path.join(folder, "calc.dat"), "rb") as f:
        return dict(line.split("=", 1) for line in f.read().decode("cp932").splitlines())


def skin_files(folder):
    """calc.dat and every file it names."""
    return {"calc.dat"} | {
        v for k, v in settings(folder).items() if v and (k == "Icon" or "Bmp" in k)
    }


class ReleaseTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="calc-release-")
        os.chmod(cls.work, 0o755)
        cls.addClassCleanup(shutil.rmtree, cls.work, True)
        dist = os.path.join(cls.work, "dist")
        run(
            "cpack",
            "--config",
            os.path.join(os.environ["RELEASE_BUILD_DIR"], "CPackConfig.cmake"),
            "-B",
            dist,
        )
        cls.deb, cls.tarball = (
            os.path.join(dist, next(f for f in os.listdir(dist) if f.endswith(suffix)))
            for suffix in (".deb", ".tar.gz")
        )
        cls.root = os.path.join(cls.work, "root")
        run("dpkg-deb", "-x", cls.deb, cls.root)
        cls.display = Display()
        cls.addClassCleanup(cls.display.close)
        cls.null_sound = shutil.copy(
            cls.display.env["ALSA_CONFIG_PATH"], cls.work
        )  # for nobody too

    def test_contents(self):
        depends = set(re.findall(r"[\w.+-]+", run("dpkg-deb", "--field", self.deb, "Depends")))
        self.assertLessEqual(
            {
                "libqt6widgets6",
                "librtmidi6",
                "libfluidsynth3",
                "timgm6mb-soundfont",
                "fonts-ipafont-gothic",
                "qt6-translations-l10n",
            },
            depends,
        )
        lib = os.path.join(self.root, LIB)
        self.assertLessEqual(skin_files(lib), set(os.listdir(lib)))
        with open(os.path.join(lib, "calc.dat"), "rb") as f:
            self.assertIn(b"\r\nZeiRitu=10\r\n", f.read())  # the consumption tax of today
        for name in (
            "picturecalc.desktop",
            "picturecalc-archive.desktop",
            "picturecalc-shelf.desktop",
            "picturecalc-skinwright.desktop",
        ):
            run("desktop-file-validate", os.path.join(self.root, "usr/share/applications", name))
        run("appstreamcli", "validate-tree", "--no-net", self.root)  # fails on a warning too
        (metainfo,) = glob.glob(os.path.join(self.root, "usr/share/metainfo/*.metainfo.xml"))
        version = run("dpkg-deb", "--field", self.deb, "Version").strip().rpartition("-")[0]
        self.assertEqual(
            ElementTree.parse(metainfo).find("releases/release").get("version"), version
        )
        lintian = subprocess.run(
            ["lintian", self.deb], capture_output=True, timeout=400
        ).stdout.decode()
        self.assertNotRegex(lintian, r"(?m)^E:")  # the copyright and changelog files among them
        with tarfile.open(self.tarball) as tar:
            tar.extractall(self.work)
        folder = os.path.join(self.work, os.path.basename(self.tarball).removesuffix(".tar.gz"))
        self.assertLessEqual(skin_files(folder) | {"calc", "Skinwright"}, set(os.listdir(folder)))
        for program in (os.path.join(lib, "calc"), os.path.join(folder, "Skinwright")):
            self.assertNotRegex(
                run("readelf", "-d", program), "R(UN)?PATH"
            )  # libraries from the system alone

    def test_manual_pages_render_and_name_every_option_of_the_help(self):
        env = dict(os.environ, LC_ALL="C.UTF-8", MANWIDTH="80", QT_QPA_PLATFORM="none")
        option = r"(?<![\w-])--[a-z][a-z-]*"
        for page, program in (
            ("picturecalc", "usr/bin/picturecalc"),
            ("picturecalc-thumbnailer", "usr/bin/picturecalc-thumbnailer"),
            ("picturecalc-calc", LIB + "/calc"),
            ("Skinwright", LIB + "/Skinwright"),
        ):
            options = set(
                re.findall(option, run(os.path.join(self.root, program), "--help", env=env))
            )
            for folder in ("man1", "ja/man1"):
                path = os.path.join(self.root, "usr/share/man", folder, page + ".1.gz")
                shown = subprocess.run(
                    ["man", "--warnings", "-E", "UTF-8", "-l", path],
                    env=env,
                    capture_output=True,
                    text=True,
                    check=True,
                )
                self.assertEqual(shown.stderr, "", path)
                self.assertLessEqual(options, set(re.findall(option, shown.stdout)), path)

    def test_a_file_manager_offers_the_shelf_for_archives(self):
        share = os.path.join(self.root, "usr/share")
        run("update-desktop-database", os.path.join(share, "applications"))
        with open(os.path.join(share, "applications/mimeinfo.cache")) as f:
            offered = {
                kind
                for kind, entries in re.findall(r"(?m)^([^=\n]+)=(.*)$", f.read())
                if "picturecalc-archive.desktop" in entries.split(";")
            }
        home = tempfile.mkdtemp(dir=self.work)
        for name in ("s.zip", "s.lzh", "s.7z", "s.tar", "s.tar.gz", "s.tar.bz2", "s.tar.xz"):
            path = pathlib.Path(home, name)
            path.write_bytes(b"x")
            self.assertIn(run("xdg-mime", "query", "filetype", path).strip(), offered, name)

    def test_a_calcskin_file_opens_in_picturecalc_and_the_menu_runs_it_again(self):
        """What the package's triggers do on installation, then the file manager's questions and
        its double click, which imports the skin and runs it."""
        share = os.path.join(self.root, "usr/share")
        run("update-mime-database", os.path.join(share, "mime"))
        run("update-desktop-database", os.path.join(share, "applications"))
        home = tempfile.mkdtemp(dir=self.work)
        skin = self.calcskin(home, "窓の電卓")
        env = dict(
            PATH="/usr/bin:/bin",
            HOME=home,
            LC_ALL="C.UTF-8",
            XDG_DATA_HOME=os.path.join(home, "data"),
            XDG_DATA_DIRS=share,
        )
        self.assertEqual(
            run("xdg-mime", "query", "filetype", skin, env=env), "application/x-picturecalc-skin\n"
        )
        self.assertEqual(
            run("xdg-mime", "query", "default", "application/x-picturecalc-skin", env=env),
            "picturecalc.desktop\n",
        )
        with open(os.path.join(share, "thumbnailers/picturecalc.thumbnailer")) as f:
            command = re.search(r"^Exec=(.*)$", f.read(), re.M)[1]
        thumbnail = os.path.join(home, "x.png")
        args = [
            a.replace("%s", "128").replace("%i", skin).replace("%o", thumbnail)
            for a in shlex.split(command)
        ]
        run(os.path.join(self.root, "usr/bin", args[0]), *args[1:], env=env)
        self.assertEqual(run("identify", "-format", "%m %h", thumbnail), "PNG 128")
        calc = self.start("picturecalc.desktop", home, skin)
        self.assertEqual(self.display.window(calc, lambda w: w.size == CALC_SIZE).name, "窓の電卓")
        folder = os.path.join(home, SKINS, "窓の電卓")
        self.assertEqual(os.readlink(f"/proc/{calc.pid}/exe"), os.path.join(folder, "calc"))
        self.display.stop(calc)
        listed = run(
            *self.as_user(["picturecalc", "--list"], home), env=self.user_env(home), cwd=home
        )
        self.assertEqual(listed, "窓の電卓\n電卓\n")
        # 「電卓」 starts the skin run last, not the shelf, and 「電卓 ｳｨｻﾞｰﾄﾞ」 a new skin; plugin
        # folders the skin brings along are never looked in.
        for kind in ("platforms", "imageformats", "styles"):
            os.makedirs(os.path.join(folder, kind))
        new_skin = os.path.join(home, SKINS, "新しいスキン")
        for entry, program, skin, fits in (
            ("picturecalc.desktop", "calc", folder, lambda w: w.size == CALC_SIZE),
            ("picturecalc-skinwright.desktop", "Skinwright", new_skin, lambda w: w.name == WIZARD),
        ):
            process = self.start(entry, home)
            self.display.window(process, fits)
            self.assertEqual(os.readlink(f"/proc/{process.pid}/exe"), os.path.join(skin, program))
            self.display.stop(process)
        with open(os.path.join(self.work, "plugins.log")) as log:
            looked_in = re.findall(r'checking directory path "([^"]*)"', log.read())
        self.assertTrue(looked_in)
        self.assertEqual([p for p in looked_in if p.startswith(folder)], [])

    def calcskin(self, folder, title):
        """The default skin as a .calcskin under another title."""
        lib = os.path.join(self.root, LIB)
        path = os.path.join(folder, title + ".calcskin")
        with zipfile.ZipFile(path, "w") as archive:
            for name in skin_files(lib) - {"calc.dat"}:
                archive.write(os.path.join(lib, name), name)
            with open(os.path.join(lib, "calc.dat"), "rb") as f:
                archive.writestr(
                    "calc.dat", f.read().replace("電卓".encode("cp932"), title.encode("cp932"), 1)
                )
        return path

    def user_env(self, home):
        """The environment of a user whose home it is, keeping the sanitizers' settings."""
        env = {k: v for k, v in os.environ.items() if k.endswith("SAN_OPTIONS")}
        env.update(
            HOME=home,
            XDG_RUNTIME_DIR=home,
            LC_ALL="C.UTF-8",
            QT_QPA_PLATFORM="xcb",
            QT_DEBUG_PLUGINS="1",
            DISPLAY=self.display.display,
            ALSA_CONFIG_PATH=self.null_sound,
            PATH=os.path.join(self.root, "usr/bin") + ":/usr/bin:/bin",
        )
        return env

    def as_user(self, args, home):
        """args run as an ordinary user (nobody, when the test runs as root) owning home."""
        give_to_nobody(home)
        return as_nobody() + args

    def start(self, entry, home, *files):
        """A desktop entry's program, started as the menu starts it, logging where it looks for
        Qt's plugins."""
        with open(os.path.join(self.root, "usr/share/applications", entry)) as f:
            command = re.search(r"^Exec=(.*)$", f.read(), re.M)[1].replace("%f", shlex.join(files))
        with open(os.path.join(self.work, "plugins.log"), "a") as log:
            return self.display.start(
                self.as_user(shlex.split(command), home),
                env=self.user_env(home),
                cwd=home,
                stderr=log,
            )


if __name__ == "__main__":
    unittest.main(verbosity=2)
