#!/usr/bin/env python3
"""Makes a skin with the real Skinwright on a private Xvfb display, typed and clicked through with
xdotool; checks calc.dat byte for byte; then starts the real calc in the skin folder and checks its title, start picture and colours.
Exit 0 when all holds, 1 on a failure, 77 (skipped) while calc is not built yet."""

import argparse, os, shutil, subprocess, sys, tempfile, time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "xsession"))
from xsession import XSession  # noqa: E402

CAPTION, TITLE, START = "電卓 ｳｨｻﾞｰﾄﾞ", "e2e電卓", (0, 128, 255)
KEYS = [f"k{digit}.bmp" for digit in range(10)] + ["ans.bmp", "cp.bmp"]  # cmdButton order
FIELDS = [(1380, 180 + 480 * row) for row in range(6)] + [(3600, 180 + 480 * row) for row in range(6)]
EXPECTED = b"".join(f"{key}={value}\r\n".encode("cp932") for key, value in
                    [("Title", TITLE), ("Icon", "calc.ico"), ("Color1", "3"), ("Color2", "2"),
                     ("StartBmp", "start.bmp"), ("ZeiRitu", "8")]
                    + [(f"SglBmp{digit}", KEYS[digit]) for digit in range(1, 10)]
                    + [("SglBmpA", KEYS[0]), ("SglBmpE", KEYS[10]), ("SglBmpC", KEYS[11])])


class Failure(Exception):
    pass


class Display(XSession):
    """The shared X session; each program's output goes to a log of its own."""

    def __init__(self):
        super().__init__(screen="1024x768x24", prefix="skinwright-e2e-")

    def start(self, command, **options):
        with open(os.path.join(self.root, f"{len(self._processes)}.log"), "w") as log:
            options.setdefault("stderr", log)
            return super().start(command, stdout=log, **options)

    def run(self, *command):
        return subprocess.run(command, env=self.env, capture_output=True, text=True,
                              timeout=20).stdout.strip()

    def window(self, process, name, other_than=(), answer_boxes=False):
        """A shown window of process named name; answer_boxes presses Enter on any other."""
        deadline = time.monotonic() + 15
        while time.monotonic() < deadline:
            if process.poll() is not None:
                raise Failure(f"{process.args[0]} ended with {process.returncode}")
            for window in self.run("xdotool", "search", "--onlyvisible", "--pid",
                                   str(process.pid), "--name", ".").split():
                title = self.run("xdotool", "getwindowname", window)
                if window in other_than:
                    continue
                if title == name:
                    time.sleep(0.3)  # let it paint
                    return window
                if answer_boxes:
                    print(f"note: answered a box {title!r} of {process.args[0]}")
                    self.key(window, "Return")
            time.sleep(0.1)
        raise Failure(f"no window named {name!r} appeared")

    def click(self, window, left, top, width, height):
        """Clicks the middle of a control placed in twips (15 twips make one pixel)."""
        self.run("xdotool", "mousemove", "--window", window, str((left + width // 2) // 15),
                 str((top + height // 2) // 15), "click", "1")
        time.sleep(0.2)

    def key(self, window, *keys):
        self.run("xdotool", "windowfocus", "--sync", window, "key", *keys)
        time.sleep(0.2)

    def type(self, window, text, field=None):
        """Characters beyond the keyboard map are typed by remapping a key, which now and then
        loses one: the field is read back through the clipboard and typed again if need be.
        A field given in twips is clicked before each attempt after the first."""
        held = []
        for attempt in range(3):
            if attempt and field:
                self.click(window, *field)
            self.key(window, "ctrl+a")
            self.run("xdotool", "type", "--delay", "40", text)
            self.key(window, "ctrl+a", "ctrl+c")
            held.append(self.run("xclip", "-o", "-selection", "clipboard"))
            if held[-1] == text:
                return
        raise Failure(f"could not type {text!r}; the clipboard held {held!r}")

    def colours(self, x, y, width=1, height=1):
        shot = os.path.join(self.root, "shot.png")
        self.run("import", "-window", "root", shot)
        out = subprocess.run(["convert", shot, "-crop", f"{width}x{height}+{x}+{y}",
                              "-unique-colors", "txt:-"], capture_output=True, text=True).stdout
        return [tuple(round(float(v.rstrip("%"))) for v in line.split("(")[1].split(")")[0]
                      .split(",")[:3]) for line in out.splitlines()[1:]]


def through_wizard(display, wizard, skin):
    process = display.start([wizard], cwd=skin, env=display.env)
    page1 = display.window(process, CAPTION)
    display.type(page1, TITLE)                                    # focus starts in the title
    display.key(page1, "Return")                                  # Enter moves to the icon
    display.type(page1, "calc.ico")
    display.click(page1, 1020 + 1740, 1140 + 180, 300, 225)       # 数字色 赤
    display.click(page1, 1020 + 1200, 1680 + 180, 300, 225)       # ﾎﾞﾀﾝ色 青
    start_field, tax_field = (1005, 2220, 3000, 285), (1020, 2640, 495, 315)
    display.click(page1, *start_field)
    display.type(page1, "start.bmp", start_field)
    display.click(page1, *tax_field)
    display.type(page1, "8", tax_field)
    display.click(page1, 3420, 2640, 1005, 420)                   # 次へ
    page2 = display.window(process, CAPTION, other_than=(page1,))
    for index, (left, top) in enumerate(FIELDS):
        field = (left, top, 1740, 285)
        if index > 3:  # the first four follow Enter, in the designed order
            display.click(page2, *field)
        display.type(page2, KEYS[index], field if index > 3 else None)
        if index < 3:
            display.key(page2, "Return")
    display.click(page2, 60, 2460, 1200, 420)                     # 次へ
    page3 = display.window(process, CAPTION, other_than=(page1, page2))
    display.click(page3, 1620, 2580, 1095, 495)                   # 実行
    display.click(page3, 1620, 2580, 1095, 495)                   # 終了, in the same place
    if process.wait(10) != 0:
        raise Failure(f"Skinwright ended with {process.returncode}")
    with open(os.path.join(skin, "calc.dat"), "rb") as file:
        written = file.read()
    if written != EXPECTED:
        raise Failure(f"calc.dat differs:\n{written!r}\n{EXPECTED!r}")


def run_calc(display, calc, skin):
    process = display.start([shutil.copy(calc, skin)], cwd=skin, env=display.env)
    # calc may first tell about its sound output, which this display has none of.
    window = display.window(process, TITLE, answer_boxes=True)
    time.sleep(1)
    geometry = dict(line.split("=") for line in
                    display.run("xdotool", "getwindowgeometry", "--shell", window).splitlines())
    x, y = int(geometry["X"]), int(geometry["Y"])
    # Beside the keys only the backdrop shows: the start picture.
    if display.colours(x + 1, y + 100) + display.colours(x + 159, y + 28) != [START, START]:
        raise Failure("calc does not show the start picture")
    if not any(r > 200 and g < 60 and b < 60 for r, g, b in display.colours(x + 4, y + 4, 151, 21)):
        raise Failure("the readout's digits are not red (Color1=3)")
    if not any(r < 40 and g < 40 and b > 200 for r, g, b in display.colours(x + 4, y + 60, 25, 21)):
        raise Failure("the key 7 is not blue (Color2=2)")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--skinwright", required=True)
    parser.add_argument("--calc", required=True)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as work:
        skin = os.path.join(work, "skin")
        os.mkdir(skin)
        for name, size, colour in [("start.bmp", "162x169", START), ("calc.ico", "32x32", (255, 160, 0))] \
                + [(key, "162x169", (20 * index, 200, 100)) for index, key in enumerate(KEYS)]:
            subprocess.run(["convert", "-size", size, f"xc:rgb{colour}",
                            ("BMP3:" if name.endswith(".bmp") else "") + os.path.join(skin, name)],
                           check=True)
        wizard = shutil.copy(args.skinwright, skin)  # the wizard writes into its own folder
        display = Display()
        try:
            through_wizard(display, wizard, skin)
            if not os.path.exists(args.calc):
                print(f"SKIP: {args.calc} is not built yet; the wizard part passed")
                return 77
            run_calc(display, args.calc, skin)
        except (Failure, subprocess.SubprocessError) as failure:
            print(f"FAIL: {failure}", file=sys.stderr)
            for log in sorted(name for name in os.listdir(display.root) if name.endswith(".log")):
                with open(os.path.join(display.root, log), errors="replace") as text:
                    print(f"--- {log}\n{text.read()[-2000:]}", file=sys.stderr)
            return 1
        finally:
            display.close()
    print("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main())
