#!/usr/bin/env python3
"""Makes a skin with the real Skinwright on a private Xvfb display, driven by xdotool like a
user would, checks the calc.dat it writes byte for byte, loads it back in a second run, and then
starts the real calc from the skin folder and checks its title and start picture.

Exit 0 when all holds, 1 on a failure, 77 (skipped) when calc has not been built yet."""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

CAPTION = "電卓 ｳｨｻﾞｰﾄﾞ"
TITLE = "e2e電卓"
START_COLOUR = (0, 128, 255)
KEY_NAMES = ["k0.bmp", "k1.bmp", "k2.bmp", "k3.bmp", "k4.bmp", "k5.bmp", "k6.bmp", "k7.bmp",
             "k8.bmp", "k9.bmp", "ans.bmp", "cp.bmp"]
# Page 2's fields in index order: left, top in twips.
PAGE2_FIELDS = [(1380, 180), (1380, 660), (1380, 1140), (1380, 1620), (1380, 2100),
                (1380, 2580), (3600, 180), (3600, 660), (3600, 1140), (3600, 1620),
                (3600, 2100), (3600, 2580)]


class Failure(Exception):
    pass


class Session:
    """One private X display and every process started on it, each ended by its id."""

    def __init__(self, shots):
        self.processes = []
        self.shots = shots
        read_end, write_end = os.pipe()
        self.xvfb = self.start(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                                "1024x768x24", "-nolisten", "tcp"], pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise Failure("Xvfb did not start")
        self.env = dict(os.environ, DISPLAY=":" + number, QT_QPA_PLATFORM="xcb",
                        LANG="C.UTF-8", LC_ALL="C.UTF-8")

    def start(self, command, **options):
        log = open(os.path.join(self.shots, f"{len(self.processes)}-{os.path.basename(command[0])}.log"), "w")
        process = subprocess.Popen(command, stdout=log, stderr=subprocess.STDOUT, **options)
        log.close()
        self.processes.append(process)
        return process

    def logs(self):
        """What the programs wrote, for a failure report."""
        texts = []
        for name in sorted(os.listdir(self.shots)):
            if name.endswith(".log"):
                with open(os.path.join(self.shots, name), errors="replace") as log:
                    texts.append(f"--- {name}\n{log.read()[-2000:]}")
        return "\n".join(texts)

    def program(self, path, folder):
        return self.start([path], cwd=folder, env=self.env)

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()

    def xdotool(self, *args):
        result = subprocess.run(["xdotool", *args], env=self.env, capture_output=True,
                                text=True)
        return result.stdout.strip()

    def window(self, process, name, other_than=(), timeout=15, dismiss_others=False):
        """A visible window of process named exactly name, other than the given ones.
        dismiss_others answers any other window of the process (a message box) with Enter."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if process.poll() is not None:
                raise Failure(f"{process.args[0]} ended with {process.returncode}")
            found = self.xdotool("search", "--onlyvisible", "--pid", str(process.pid),
                                 "--name", ".").split()
            for window in found:
                if window in other_than:
                    continue
                title = self.xdotool("getwindowname", window)
                if title == name:
                    time.sleep(0.3)  # let it paint
                    return window
                if dismiss_others:
                    self.screenshot(f"box-{window}")
                    print(f"note: answered a box {title!r} of {process.args[0]}")
                    self.key(window, "Return")
            time.sleep(0.1)
        raise Failure(f"no window named {name!r} appeared")

    def origin(self, window):
        values = dict(line.split("=") for line in
                      self.xdotool("getwindowgeometry", "--shell", window).splitlines())
        return int(values["X"]), int(values["Y"])

    def click(self, window, left, top, width, height):
        """Clicks the middle of a control given in twips (15 twips make one pixel)."""
        x, y = (left + width // 2) // 15, (top + height // 2) // 15
        self.xdotool("mousemove", "--window", window, str(x), str(y), "click", "1")
        time.sleep(0.2)

    def type(self, window, text):
        self.xdotool("windowfocus", "--sync", window)
        self.xdotool("type", "--delay", "40", text)
        time.sleep(0.2)

    def type_checked(self, window, text, attempts=3):
        """Types into the focused field until the field holds text: xdotool types characters
        beyond the keyboard map by remapping a key, which now and then loses one. The field's
        text is read back through the clipboard."""
        for _ in range(attempts):
            self.key(window, "ctrl+a")
            self.type(window, text)
            self.key(window, "ctrl+a")
            self.key(window, "ctrl+c")
            held = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.env,
                                  capture_output=True, text=True, timeout=5).stdout
            if held == text:
                return
        raise Failure(f"could not type {text!r}; the field holds {held!r}")

    def key(self, window, name):
        self.xdotool("windowfocus", "--sync", window)
        self.xdotool("key", name)
        time.sleep(0.2)

    def screenshot(self, name):
        path = os.path.join(self.shots, name + ".png")
        subprocess.run(["import", "-window", "root", path], env=self.env, check=True)
        return path


def pixel(png, x, y):
    out = subprocess.run(["convert", png, "-crop", f"1x1+{x}+{y}", "txt:-"],
                         capture_output=True, text=True, check=True).stdout
    # "0,0: (0,128,255)  #0080FF  srgb(0,128,255)"
    values = out.splitlines()[-1].split("(")[1].split(")")[0].split(",")
    return tuple(round(float(v.rstrip("%"))) for v in values[:3])


def has_colour(png, x, y, width, height, wanted):
    """Whether any pixel of the area passes wanted(r, g, b)."""
    out = subprocess.run(["convert", png, "-crop", f"{width}x{height}+{x}+{y}", "-unique-colors",
                          "txt:-"], capture_output=True, text=True, check=True).stdout
    for line in out.splitlines()[1:]:
        values = line.split("(")[1].split(")")[0].split(",")
        if wanted(*(round(float(v.rstrip("%"))) for v in values[:3])):
            return True
    return False


def make_pictures(folder):
    def solid(name, colour, size="162x169", kind="BMP3:"):
        subprocess.run(["convert", "-size", size, f"xc:rgb{colour}", kind + os.path.join(
            folder, name)], check=True)
    solid("start.bmp", START_COLOUR)
    for index, name in enumerate(KEY_NAMES):
        solid(name, (index * 20, 200, 100))
    solid("calc.ico", (255, 160, 0), "32x32", "")


def expected_calc_dat():
    values = [("Title", TITLE), ("Icon", "calc.ico"), ("Color1", "3"), ("Color2", "2"),
              ("StartBmp", "start.bmp"), ("ZeiRitu", "8")]
    values += [(f"SglBmp{digit}", KEY_NAMES[digit]) for digit in range(1, 10)]
    values += [("SglBmpA", KEY_NAMES[0]), ("SglBmpE", KEY_NAMES[10]), ("SglBmpC", KEY_NAMES[11])]
    return b"".join(f"{key}={value}\r\n".encode("cp932") for key, value in values)


def read(path):
    with open(path, "rb") as file:
        return file.read()


def finish(session, wizard, page3, calc_dat, shot):
    session.click(page3, 1620, 2580, 1095, 495)  # 実行
    if not os.path.exists(calc_dat):
        raise Failure("実行 wrote no calc.dat")
    session.screenshot(shot)
    session.click(page3, 1620, 2580, 1095, 495)  # 終了, in the same place
    try:
        wizard.wait(10)
    except subprocess.TimeoutExpired:
        raise Failure("終了 did not end Skinwright")


def make_skin(session, wizard_path, skin):
    wizard = session.program(wizard_path, skin)
    page1 = session.window(wizard, CAPTION)
    session.screenshot("1-page1")
    session.type_checked(page1, TITLE)          # the title field has the focus at start
    session.key(page1, "Return")                # Enter moves on to the icon field
    session.type(page1, "calc.ico")
    session.click(page1, 1020 + 1740, 1140 + 180, 300, 225)  # 数字色 赤
    session.click(page1, 1020 + 1200, 1680 + 180, 300, 225)  # ﾎﾞﾀﾝ色 青
    session.click(page1, 1005, 2220, 3000, 285)
    session.type(page1, "start.bmp")
    session.click(page1, 1020, 2640, 495, 315)
    session.type(page1, "8")
    session.screenshot("2-page1-filled")
    session.click(page1, 3420, 2640, 1005, 420)  # 次へ

    page2 = session.window(wizard, CAPTION, other_than=(page1,))
    session.screenshot("3-page2")
    for index, (left, top) in enumerate(PAGE2_FIELDS):
        if index > 3:  # the first four go by Enter, which follows the designed order
            session.click(page2, left, top, 1740, 285)
        session.type(page2, KEY_NAMES[index])
        if index < 3:
            session.key(page2, "Return")
    session.screenshot("4-page2-filled")
    session.click(page2, 60, 2460, 1200, 420)  # 次へ

    page3 = session.window(wizard, CAPTION, other_than=(page1, page2))
    session.screenshot("5-page3")
    finish(session, wizard, page3, os.path.join(skin, "calc.dat"), "6-page3-finished")


def load_back(session, wizard_path, skin):
    """A later run: 前回の情報　読込, then straight through; the same file must come out."""
    first = os.path.join(skin, "calc.dat.first")
    wizard = session.program(wizard_path, skin)
    page1 = session.window(wizard, CAPTION)
    session.click(page1, 45, 30, 1920, 345)      # 前回の情報　読込
    session.screenshot("7-page1-loaded")
    session.click(page1, 3420, 2640, 1005, 420)  # 次へ
    page2 = session.window(wizard, CAPTION, other_than=(page1,))
    session.screenshot("8-page2-loaded")
    session.click(page2, 60, 2460, 1200, 420)
    page3 = session.window(wizard, CAPTION, other_than=(page1, page2))
    os.replace(os.path.join(skin, "calc.dat"), first)
    finish(session, wizard, page3, os.path.join(skin, "calc.dat"), "9-page3-again")
    if read(os.path.join(skin, "calc.dat")) != read(first):
        raise Failure("the second run did not bring every value back")


def run_calc(session, calc_path, skin):
    shutil.copy(calc_path, skin)
    calc = session.program(os.path.join(skin, os.path.basename(calc_path)), skin)
    # calc may first tell about its sound output, which this display has none of.
    window = session.window(calc, TITLE, dismiss_others=True)
    time.sleep(1)
    shot = session.screenshot("10-calc")
    x, y = session.origin(window)
    # Beside the keys and below the readout only the backdrop shows: the start picture.
    for dx, dy in ((1, 100), (159, 28)):
        colour = pixel(shot, x + dx, y + dy)
        if colour != START_COLOUR:
            raise Failure(f"calc shows {colour} at {dx},{dy}, not the start picture")
    # Color1 3 draws the readout's digits red, Color2 2 the digit keys' captions blue.
    if not has_colour(shot, x + 60 // 15, y + 60 // 15, 2265 // 15, 315 // 15,
                      lambda r, g, b: r > 200 and g < 60 and b < 60):
        raise Failure("the readout shows no red digits")
    if not has_colour(shot, x + 60 // 15, y + 900 // 15, 375 // 15, 315 // 15,
                      lambda r, g, b: r < 40 and g < 40 and b > 200):
        raise Failure("the key 7 shows no blue caption")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--skinwright", required=True)
    parser.add_argument("--calc", required=True)
    parser.add_argument("--screenshots", help="keep a PNG of every page in this folder")
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as work:
        skin = os.path.join(work, "skin")
        os.mkdir(skin)
        shots = args.screenshots or work
        os.makedirs(shots, exist_ok=True)
        wizard = shutil.copy(args.skinwright, skin)  # the wizard writes into its own folder
        make_pictures(skin)
        session = Session(shots)
        try:
            make_skin(session, wizard, skin)
            written = read(os.path.join(skin, "calc.dat"))
            if written != expected_calc_dat():
                raise Failure(f"calc.dat differs:\n{written!r}\n{expected_calc_dat()!r}")
            load_back(session, wizard, skin)
            if not os.path.exists(args.calc):
                print(f"SKIP: {args.calc} is not built yet; the wizard part passed")
                return 77
            run_calc(session, args.calc, skin)
        except Failure as failure:
            print(f"FAIL: {failure}\n{session.logs()}", file=sys.stderr)
            return 1
        finally:
            session.close()
    print("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main())
