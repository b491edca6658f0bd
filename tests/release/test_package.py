"""The release as a user gets it: the .deb and the tarball, packed from the built tree.

Nothing is installed on this machine: the .deb is unpacked into a temporary root and run from
there as an ordinary user (nobody, when the test runs as root) with a home of their own."""

import glob
import os
import pwd
import re
import shlex
import shutil
import subprocess
import sys
import tarfile
import tempfile
import types
import unittest
import zipfile
from xml.etree import ElementTree

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from calcx import CALC_SIZE, Display, wait_until  # noqa: E402

LIB = "usr/lib/picturecalc"
WIZARD = "電卓 ｳｨｻﾞｰﾄﾞ"
SHELF = "電卓スキン"


def run(*args):
    return subprocess.run(args, capture_output=True, timeout=600, check=True).stdout.decode()


def paint(path, colour):
    """A start picture of the calculator's size in one colour."""
    run("convert", "-size", "x".join(map(str, CALC_SIZE)), f"xc:{colour}", "BMP3:" + path)
    return path


def files_in(folder):
    return [os.path.join(parent, name) for parent, _, names in os.walk(folder) for name in names]


def ended(pid):
    """Whether the process is gone, or a zombie that holds nothing."""
    try:
        with open(f"/proc/{pid}/stat") as f:
            return ") Z " in f.read()
    except FileNotFoundError:
        return True


def settings(folder):
    with open(os.path.join(folder, "calc.dat"), "rb") as f:
        return dict(line.split("=", 1) for line in f.read().decode("cp932").splitlines())


def skin_files(folder):
    """calc.dat and every file it names."""
    return {"calc.dat"} | {v for k, v in settings(folder).items() if v and (k == "Icon" or "Bmp" in k)}


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
        with open(os.path.join(lib, "calc.dat"), "rb") as f:
            self.assertIn(b"\r\nZeiRitu=10\r\n", f.read())  # the consumption tax of today
        for name in ("picturecalc.desktop", "picturecalc-shelf.desktop", "picturecalc-skinwright.desktop"):
            run("desktop-file-validate", os.path.join(self.root, "usr/share/applications", name))
        run("appstreamcli", "validate-tree", "--no-net", self.root)  # fails on a warning too
        (metainfo,) = glob.glob(os.path.join(self.root, "usr/share/metainfo/*.metainfo.xml"))
        version = run("dpkg-deb", "--field", self.deb, "Version").strip().rpartition("-")[0]
        self.assertEqual(ElementTree.parse(metainfo).find("releases/release").get("version"), version)
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

    def test_a_calcskin_file_opens_in_picturecalc_and_shows_its_start_picture(self):
        """What the package's triggers do on installation, then the file manager's questions and
        its double click, which imports the skin and runs it."""
        share = os.path.join(self.root, "usr/share")
        run("update-mime-database", os.path.join(share, "mime"))
        run("update-desktop-database", os.path.join(share, "applications"))
        home = tempfile.mkdtemp(dir=self.work)
        skin = self.calcskin(home, "窓の電卓")
        env = dict(PATH="/usr/bin:/bin", HOME=home, LC_ALL="C.UTF-8", XDG_DATA_HOME=os.path.join(home, "data"), XDG_DATA_DIRS=share)
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
        process = self.start("picturecalc.desktop", home, skin)
        self.assertEqual(self.display.window(process, lambda w: w.size == CALC_SIZE).name, "窓の電卓")
        folder = os.path.join(home, ".local/share/picturecalc/skins/窓の電卓")
        self.assertEqual(os.readlink(f"/proc/{process.pid}/exe"), os.path.join(folder, "calc"))
        self.display.stop(process)
        self.assertEqual(self.picturecalc(home, "--list").stdout, "標準\n窓の電卓\n")

    def calcskin(self, folder, title, start_colour=None):
        """The default skin as a .calcskin under another title, its start picture in start_colour."""
        lib = os.path.join(self.root, LIB)
        files = {name: os.path.join(lib, name) for name in skin_files(lib) - {"calc.dat"}}
        if start_colour:
            files[settings(lib)["StartBmp"]] = paint(os.path.join(folder, start_colour + ".bmp"), start_colour)
        path = os.path.join(folder, title + ".calcskin")
        with zipfile.ZipFile(path, "w") as archive:
            for name, source in files.items():
                archive.write(source, name)
            with open(os.path.join(lib, "calc.dat"), "rb") as f:
                archive.writestr("calc.dat", f.read().replace("電卓".encode("cp932"), title.encode("cp932"), 1))
        return path

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

    def picturecalc(self, home, *args):
        return subprocess.run(self.as_user(["picturecalc", *args], home), env=self.user_env(home), cwd=home,
                              capture_output=True, text=True, timeout=60, check=True)  # fmt: skip

    def start(self, entry, home, *files):
        """A desktop entry's program, started as the menu or the file manager starts it, telling on
        stderr where it looks for Qt's plugins."""
        with open(os.path.join(self.root, "usr/share/applications", entry)) as f:
            command = re.search(r"^Exec=(.*)$", f.read(), re.M)[1].replace("%f", shlex.join(files))
        with open(os.path.join(self.work, "plugins.log"), "a") as log:
            return self.display.start(self.as_user(shlex.split(command), home), env=self.user_env(home), cwd=home,
                                      stderr=log)  # fmt: skip

    def test_desktop_entries_work_in_the_users_own_folder(self):
        home = tempfile.mkdtemp(dir=self.work)
        skin = os.path.join(home, ".local/share/picturecalc/skins/標準")
        self.picturecalc(home, "--import", self.calcskin(home, "窓の電卓"))  # more than one, and still no shelf
        calc = self.start("picturecalc.desktop", home)
        self.assertEqual(self.display.window(calc, lambda w: w.size == CALC_SIZE).name, "電卓")
        self.assertEqual(os.readlink(f"/proc/{calc.pid}/exe"), os.path.join(skin, "calc"))
        self.display.stop(calc)
        for kind in ("platforms", "imageformats", "styles"):  # a skin bringing plugin folders along
            os.makedirs(os.path.join(skin, kind))
        wizard = self.start("picturecalc-skinwright.desktop", home)
        self.display.window(wizard, lambda w: w.name == WIZARD)
        self.assertEqual(os.readlink(f"/proc/{wizard.pid}/exe"), os.path.join(skin, "Skinwright"))
        self.display.stop(wizard)
        with open(os.path.join(self.work, "plugins.log")) as log:  # none from the programs' folder
            looked_in = re.findall(r'checking directory path "([^"]*)"', log.read())
        self.assertTrue(looked_in)
        self.assertEqual([p for p in looked_in if p.startswith(skin)], [])

    def test_the_shelf_takes_a_dropped_skin_and_starts_edits_exports_and_removes_skins(self):
        home = tempfile.mkdtemp(dir=self.work)
        self.picturecalc(home, "--import", self.calcskin(home, "A電卓", "red"))  # beside 標準
        dropped = self.calcskin(home, "B電卓", "blue")
        shelf = self.start("picturecalc-shelf.desktop", home)
        window = self.display.window(shelf, lambda w: w.name == SHELF)
        self.drop(dropped, window)
        wait_until(lambda: self.shows(window, "red") and self.shows(window, "blue") or None, "both tiles")
        folder = os.path.join(home, ".local/share/picturecalc/skins/A電卓")
        calc = self.opened(window, "A電卓", "Home", "Return")
        self.assertEqual(os.readlink(f"/proc/{calc.pid}/exe"), os.path.join(folder, "calc"))
        self.close(calc)
        cache = os.path.join(home, ".cache/picturecalc")
        wait_until(lambda: files_in(cache) or None, "the start picture's cache entry")
        replaced = os.stat(paint(os.path.join(folder, settings(folder)["StartBmp"]), "lime")).st_mtime
        calc = self.opened(window, "A電卓", "Return")
        wait_until(lambda: self.shows(calc, "lime") or None, "the new start picture")
        wait_until(lambda: [f for f in files_in(cache) if os.stat(f).st_mtime >= replaced] or None, "a new cache entry")
        self.close(calc)
        wizard = self.opened(window, WIZARD, "ctrl+e")
        self.assertEqual(os.readlink(f"/proc/{wizard.pid}/exe"), os.path.join(folder, "Skinwright"))
        self.close(wizard)
        exported = os.path.join(home, "exported.calcskin")
        self.in_dialog(shelf, window, "ctrl+s", "key", "ctrl+a", "type", exported)
        self.display.run("xdotool", "key", "Return")
        wait_until(lambda: zipfile.is_zipfile(exported) or None, "the exported skin")
        with zipfile.ZipFile(exported) as archive:
            self.assertEqual(set(archive.namelist()), skin_files(folder))
        self.in_dialog(shelf, window, "Delete", "key", "Tab", "space")  # 「はい」, past the default 「いいえ」
        trash = os.path.join(home, ".local/share/Trash/files/A電卓")
        wait_until(lambda: os.path.isdir(trash) or None, "the skin in the trash")
        wait_until(lambda: not (self.shows(window, "red") or self.shows(window, "lime")) or None, "its tile gone")

    def drop(self, path, window):
        """Drags path from dragsource's window onto window."""
        log = os.path.join(self.work, "drag.log")
        with open(log, "w") as out:
            source = self.display.start([os.environ["DRAG_SOURCE"], path], stdout=out)
        grip = self.display.window(source, lambda w: True)
        self.display.run("xdotool", "mousemove", str(grip.x + 9), str(grip.y + 9), "mousedown", "1", "mousemove",
                         "--window", window.id, str(window.size[0] // 2), str(window.size[1] // 2))  # fmt: skip

        def accepted():
            with open(log) as f:
                return "accepted" in f.read() or None

        wait_until(accepted, "the shelf taking the drop")
        self.display.run("xdotool", "mouseup", "1")

    def opened(self, shelf, name, *keys):
        """The window called name that keys pressed in the shelf window open, and its process."""
        self.display.run("xdotool", "windowfocus", "--sync", shelf.id, "key", "--delay", "50", *keys)
        search = ["xdotool", "search", "--onlyvisible", "--name", f"^{name}$"]
        wid = wait_until(lambda: self.display.run(*search, check=False).split() or None, name)[0]
        return types.SimpleNamespace(id=wid, pid=int(self.display.run("xdotool", "getwindowpid", wid)))

    def close(self, window):
        """Closes the window as its close button does, and waits for its program to end."""
        self.display.close_window(window)
        wait_until(lambda: ended(window.pid) or None, "the end of a program")

    def in_dialog(self, shelf, window, key, *then):
        """Presses key in the shelf window, then xdotool's commands then in the dialog it opens."""
        self.display.run("xdotool", "windowfocus", "--sync", window.id, "key", key)
        self.display.focused(self.display.window(shelf, lambda w: w.id != window.id))
        self.display.run("xdotool", *then)

    def shows(self, window, colour):
        """Whether a hundredth of the window is of that colour, or near it as a current tile is."""
        shot = os.path.join(self.work, "window.png")
        self.display.run("import", "-window", window.id, shot)
        fraction = run("convert", shot, "-fuzz", "30%", "-fill", "black", "+opaque", colour, "-fill", "white",
                       "-opaque", colour, "-format", "%[fx:mean]", "info:")  # fmt: skip
        return float(fraction) >= 0.01


if __name__ == "__main__":
    unittest.main(verbosity=2)
