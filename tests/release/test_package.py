"""The release as a user gets it: the .deb and the tarball, packed from the built tree.

Nothing is installed on this machine: the .deb is unpacked into a temporary root and its
desktop entries' commands run from there as an ordinary user (nobody, when the test runs as
root) with a home of their own, on a private X display.
"""

import configparser
import os
import pwd
import re
import shlex
import shutil
import stat
import subprocess
import sys
import tarfile
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))

from xdisplay import Display, wait_until  # noqa: E402

BUILD_DIR = os.environ.get("RELEASE_BUILD_DIR", "")
LIB = "usr/lib/picturecalc"
CALC_SIZE = (162, 169)
WIZARD_TITLE = "電卓 ｳｨｻﾞｰﾄﾞ"
FILE_KEYS = ("Icon", "StartBmp") + tuple(f"SglBmp{k}" for k in "123456789AEC")
work = deb = tarball = None


def run(args, **options):
    return subprocess.run(args, capture_output=True, timeout=120, check=True, **options)


def skin_files(calc_dat):
    """calc.dat and every file it names."""
    with open(calc_dat, "rb") as f:
        lines = f.read().decode("cp932").splitlines()
    values = dict(line.split("=", 1) for line in lines if "=" in line)
    return {"calc.dat"} | {values[key] for key in FILE_KEYS if values.get(key)}


def dynamic_paths(binary):
    out = run(["readelf", "-d", binary]).stdout.decode()
    return [line for line in out.splitlines() if "RPATH" in line or "RUNPATH" in line]


def desktop_entry(root, name):
    entries = configparser.ConfigParser(interpolation=None)
    entries.optionxform = str
    entries.read(os.path.join(root, "usr/share/applications", name), encoding="utf-8")
    return entries["Desktop Entry"]


def remove_tree(path):
    """Removes a tree that may hold read-only folders."""
    for folder, _, _ in os.walk(path):
        os.chmod(folder, 0o755)
    shutil.rmtree(path, ignore_errors=True)


def setUpModule():
    global work, deb, tarball
    if not os.path.isfile(os.path.join(BUILD_DIR, "CPackConfig.cmake")):
        raise AssertionError(f"no CPack configuration in RELEASE_BUILD_DIR={BUILD_DIR!r}")
    work = tempfile.mkdtemp(prefix="calc-release-")
    os.chmod(work, 0o755)
    unittest.addModuleCleanup(remove_tree, work)
    dist = os.path.join(work, "dist")
    started = time.monotonic()
    run(["cpack", "--config", os.path.join(BUILD_DIR, "CPackConfig.cmake"), "-B", dist])
    deb, tarball = (os.path.join(dist, next(f for f in os.listdir(dist) if f.endswith(suffix)))
                    for suffix in (".deb", ".tar.gz"))  # fmt: skip
    sizes = ", ".join(f"{os.path.basename(p)} {os.path.getsize(p) // 1024} KiB" for p in (deb, tarball))
    print(f"packed in {time.monotonic() - started:.1f} s: {sizes}")


def unpack_deb():
    root = tempfile.mkdtemp(prefix="root-", dir=work)
    os.chmod(root, 0o755)
    run(["dpkg-deb", "-x", deb, root])
    return root


def unpack_tarball():
    unpacked = tempfile.mkdtemp(prefix="fresh-", dir=work)
    with tarfile.open(tarball) as tar:
        tar.extractall(unpacked)
    return unpacked


class User:
    """Runs the launchers: nobody when we are root, else ourselves with the unpacked tree made
    read-only; with a fresh home and no variable of ours but the display."""

    def __init__(self, root):
        self.home = os.path.join(tempfile.mkdtemp(prefix="user-", dir=work), "home")
        os.makedirs(os.path.join(self.home, "run"), mode=0o700)
        self.ids = None
        if os.geteuid() == 0:
            nobody = pwd.getpwnam("nobody")
            self.ids = (nobody.pw_uid, nobody.pw_gid)
            for folder in (os.path.dirname(self.home), self.home, os.path.join(self.home, "run")):
                os.chown(folder, *self.ids)
        else:
            for folder, _, files in os.walk(root):
                for path in [folder] + [os.path.join(folder, f) for f in files]:
                    os.chmod(path, os.stat(path).st_mode & ~0o222)
        self.skin_folder = os.path.join(self.home, ".local/share/picturecalc")
        self.env = {"HOME": self.home, "PATH": os.path.join(root, "usr/bin") + ":/usr/bin:/bin",
                    "LC_ALL": "C.UTF-8", "XDG_RUNTIME_DIR": os.path.join(self.home, "run")}  # fmt: skip

    def command(self, args):
        if self.ids is None:
            return args
        uid, gid = self.ids
        return ["setpriv", f"--reuid={uid}", f"--regid={gid}", "--clear-groups", "--"] + args

    def run(self, args, **extra):
        return subprocess.run(self.command(args), env=dict(self.env, **extra), cwd=self.home,
                              capture_output=True, timeout=60)  # fmt: skip


class PackageContentsTest(unittest.TestCase):
    def test_deb_depends_on_what_the_programs_need_and_this_machine_has(self):
        depends = run(["dpkg-deb", "--field", deb, "Depends"]).stdout.decode()
        groups = [[alt.split("(")[0].strip() for alt in group.split("|")]
                  for group in depends.split(",")]  # fmt: skip
        named = {name for group in groups for name in group}
        for package in ("libqt6widgets6", "libqt6gui6", "librtmidi6", "libfluidsynth3",
                        "timgm6mb-soundfont", "fonts-ipafont-gothic"):  # fmt: skip
            self.assertIn(package, named)
        for group in groups:
            status = [subprocess.run(["dpkg-query", "-W", "-f=${Status}", p],
                                     capture_output=True).stdout for p in group]  # fmt: skip
            self.assertTrue(any(s.endswith(b" installed") for s in status), group)

    def test_deb_holds_programs_skin_and_desktop_entries(self):
        root = unpack_deb()
        lib = os.path.join(root, LIB)
        for program in ("calc", "Skinwright"):
            self.assertEqual(dynamic_paths(os.path.join(lib, program)), [], program)
        self.assertLessEqual(skin_files(os.path.join(lib, "calc.dat")), set(os.listdir(lib)))
        for name in ("picturecalc.desktop", "picturecalc-skinwright.desktop"):
            path = os.path.join(root, "usr/share/applications", name)
            self.assertEqual(subprocess.run(["desktop-file-validate", path]).returncode, 0)
            entry = desktop_entry(root, name)
            self.assertTrue(os.access(os.path.join(root, "usr/bin", entry["Exec"].split()[0]),
                                      os.X_OK))  # fmt: skip
            icon = f"usr/share/icons/hicolor/scalable/apps/{entry['Icon']}.svg"
            self.assertTrue(os.path.isfile(os.path.join(root, icon)), icon)
        for folder, _, files in os.walk(root):
            for path in [folder] + [os.path.join(folder, f) for f in files]:
                self.assertFalse(os.lstat(path).st_mode & (stat.S_IWGRP | stat.S_IWOTH), path)

    def test_tarball_is_one_skin_folder(self):
        unpacked = unpack_tarball()
        (name,) = os.listdir(unpacked)
        self.assertEqual(name + ".tar.gz", os.path.basename(tarball))
        self.assertTrue(name.endswith("-linux-x86_64"))
        folder = os.path.join(unpacked, name)
        contents = set(os.listdir(folder))
        self.assertLessEqual({"calc", "Skinwright", "README.txt"}, contents)
        self.assertLessEqual(skin_files(os.path.join(folder, "calc.dat")), contents)
        for program in ("calc", "Skinwright"):
            self.assertEqual(dynamic_paths(os.path.join(folder, program)), [], program)


class LauncherTest(unittest.TestCase):
    """The launcher without a display: the user's skin folder and what goes into it."""

    def test_first_start_copies_later_starts_update_only_the_programs(self):
        root = unpack_deb()
        installed = os.path.join(root, LIB)

        def same(folder, name):
            with open(os.path.join(folder, name), "rb") as a:
                with open(os.path.join(installed, name), "rb") as b:
                    return a.read() == b.read()

        user = User(root)
        rows = [
            # (tag, extra environment, the folder)
            ("default data home", {}, user.skin_folder),
            ("XDG_DATA_HOME", {"XDG_DATA_HOME": user.home + "/data"}, user.home + "/data/picturecalc"),
            ("relative XDG_DATA_HOME", {"XDG_DATA_HOME": "data"}, user.skin_folder),
        ]  # fmt: skip
        for tag, extra, folder in rows:
            with self.subTest(tag):
                result = user.run(["picturecalc", "--folder"], **extra)
                self.assertEqual(result.returncode, 0, result.stderr.decode())
                self.assertEqual(result.stdout.decode().strip(), folder)
                self.assertEqual(sorted(os.listdir(folder)), sorted(os.listdir(installed)))
                self.assertTrue(all(same(folder, name) for name in os.listdir(folder)))

        users_skin = b"Title=my skin\r\n"
        for name, data in (("calc", b"an older calc"), ("calc.dat", users_skin)):
            with open(os.path.join(user.skin_folder, name), "wb") as f:
                f.write(data)
        os.remove(os.path.join(user.skin_folder, "start.bmp"))
        self.assertEqual(user.run(["picturecalc", "--folder"]).returncode, 0)
        self.assertTrue(same(user.skin_folder, "calc"))
        with open(os.path.join(user.skin_folder, "calc.dat"), "rb") as f:
            self.assertEqual(f.read(), users_skin)
        self.assertNotIn("start.bmp", os.listdir(user.skin_folder))


class RunningTest(unittest.TestCase):
    """The programs on a private display, from the unpacked tarball and the unpacked .deb."""

    def setUp(self):
        self.display = Display()
        self.addCleanup(self.display.close)

    def wait_for_window(self, process, fits):
        """A window that fits; the calculator's notice about the sound output, which this
        display lacks, is answered on the way."""
        seen = []

        def window():
            seen[:] = self.display.visible_windows(process.pid)
            for w in seen:
                if fits(w):
                    return w
                if w.name == "電卓" and (w.width, w.height) != CALC_SIZE:
                    self.display.dismiss(w, process)
            if process.poll() is not None:
                raise AssertionError(f"{process.args} ended with {process.returncode}")
            return None

        try:
            return wait_until(window, 30, "window")
        except AssertionError as error:
            shown = [(w.name, w.width, w.height) for w in seen]
            raise AssertionError(f"{error}; {process.args} shows {shown}") from None

    def test_tarball_programs_take_no_plugins_from_their_folder(self):
        unpacked = unpack_tarball()
        folder = os.path.join(unpacked, os.listdir(unpacked)[0])
        # A skin from someone else that brings plugin folders along.
        for kind in ("platforms", "imageformats", "styles"):
            os.makedirs(os.path.join(folder, kind))
        for program, fits in (("calc", lambda w: (w.width, w.height) == CALC_SIZE),
                              ("Skinwright", lambda w: w.name == WIZARD_TITLE)):  # fmt: skip
            with self.subTest(program):
                log_path = os.path.join(work, program + ".plugins")
                with open(log_path, "wb") as log:
                    process = self.display.start([os.path.join(folder, program)], cwd=work,
                                                 env=dict(self.display.env, QT_DEBUG_PLUGINS="1"),
                                                 stderr=log)  # fmt: skip
                    self.wait_for_window(process, fits)
                    self.display.stop(process)
                with open(log_path, errors="replace") as f:
                    plugin_log = f.read()
                # Qt logs every folder it looks for plugins in, and every plugin it loads.
                looked_in = re.findall(r'checking directory path "([^"]*)"', plugin_log)
                loaded = re.findall(r'"([^"]*)" loaded library', plugin_log)
                self.assertTrue(any(p.endswith("/platforms") for p in looked_in), plugin_log[-2000:])
                self.assertEqual([p for p in looked_in + loaded if p.startswith(folder + "/")], [])

    def test_desktop_entries_work_for_a_user_in_their_own_folder(self):
        root = unpack_deb()
        user = User(root)

        def start(entry_name):
            args = shlex.split(desktop_entry(root, entry_name)["Exec"])
            env = dict(user.env, DISPLAY=self.display.env["DISPLAY"], QT_QPA_PLATFORM="xcb")
            return self.display.start(user.command(args), env=env, cwd=user.home,
                                      stderr=subprocess.DEVNULL)  # fmt: skip

        def start_calc():
            process = start("picturecalc.desktop")
            window = self.wait_for_window(process, lambda w: (w.width, w.height) == CALC_SIZE)
            self.assertEqual(os.readlink(f"/proc/{process.pid}/exe"),
                             os.path.join(user.skin_folder, "calc"))  # fmt: skip
            if user.ids:
                self.assertEqual(os.stat(f"/proc/{process.pid}").st_uid, user.ids[0])
            self.display.stop(process)
            return window.name

        self.assertEqual(start_calc(), "電卓")

        # Skinwright fills its pages from the skin beside it and writes it back there.
        calc_dat = os.path.join(user.skin_folder, "calc.dat")
        with open(calc_dat, "rb") as f:
            default_skin = f.read()
        os.utime(calc_dat, (0, 0))
        wizard = start("picturecalc-skinwright.desktop")
        pages = []

        def click_on_new_page(*twips_rects):
            page = self.wait_for_window(wizard, lambda w: w.name == WIZARD_TITLE
                                        and w.id not in [p.id for p in pages])  # fmt: skip
            pages.append(page)
            time.sleep(0.3)  # painted and taking clicks
            for left, top, width, height in twips_rects:
                x, y = page.x + (left + width // 2) // 15, page.y + (top + height // 2) // 15
                self.display.run(["xdotool", "mousemove", str(x), str(y), "click", "1"])

        click_on_new_page((45, 30, 1920, 345), (3420, 2640, 1005, 420))  # 前回の情報 読込, 次へ
        click_on_new_page((60, 2460, 1200, 420))  # 次へ
        click_on_new_page((1620, 2580, 1095, 495))  # 実行
        wait_until(lambda: os.stat(calc_dat).st_mtime or None, 10, "calc.dat written")
        self.display.run(["xdotool", "click", "1"])  # 終了, in the same place
        self.assertEqual(wait_until(wizard.poll, 10, "end of Skinwright"), 0)
        with open(calc_dat, "rb") as f:
            self.assertEqual(f.read(), default_skin)

        # From now on the calculator shows the skin of the user's folder.
        with open(calc_dat, "wb") as f:
            f.write(default_skin.replace("電卓".encode("cp932"), "私の電卓".encode("cp932"), 1))
        self.assertEqual(start_calc(), "私の電卓")


if __name__ == "__main__":
    unittest.main(verbosity=2)
