#!/usr/bin/env python3
"""Korvane's icons stay legible on light and dark colour schemes, scaled.

Starts the program on Xvfb (with openbox) at scale factors 100 % to 200 %,
with Qt's own light colours and with a dark scheme from qt6ct, takes the
main window's picture and measures every toolbar icon against the button
behind it: at least a tenth of the icon's pixels must reach a contrast of
3:1 (WCAG's rule for graphics), so the icon's shape stands out. The window
must also have grown by the scale factor, so nothing was squeezed.

Usage: legibility_desktop.py <path of the korvane program>
Exits 77 (skipped) when a tool it needs is not installed.
"""

import os
import shutil
import subprocess
import sys
import tempfile
from collections import Counter

from keyboard_desktop import picture_of_main_window as desktop_picture
from keyboard_desktop import skip, start_display

TOOLS = ["Xvfb", "openbox", "xdotool", "import", "convert"]
DARK_SCHEME = "/usr/share/qt6ct/colors/darker.conf"
CASES = [("light", 1.0), ("dark", 1.0), ("dark", 1.25), ("dark", 1.5), ("dark", 2.0)]
WINDOW = (655, 494)
# The toolbar buttons at 100 %: (name, left, top, side, icon side); each
# toolbar's buttons stand side by side.
BUTTONS = [(name, 23 + 38 * index, 21, 38, 32)
           for index, name in enumerate(["Add Record", "Remove", "Replace", "Clear"])] + \
          [(name, 397 + 24 * index, 1, 24, 16)
           for index, name in enumerate(["Work", "Games", "Tools", "Miscelaneous", "Main Menu"])]
GRAPHICS_CONTRAST = 3.0
STRONG_SHARE = 0.1


def luminance(colour):
    def linear(value):
        value /= 255
        return value / 12.92 if value <= 0.04045 else ((value + 0.055) / 1.055) ** 2.4
    red, green, blue = colour
    return 0.2126 * linear(red) + 0.7152 * linear(green) + 0.0722 * linear(blue)


def contrast(one, other):
    darker, lighter = sorted((luminance(one), luminance(other)))
    return (lighter + 0.05) / (darker + 0.05)


def region(picture, left, top, width, height):
    raw = subprocess.run(["convert", picture, "-crop", "%dx%d+%d+%d" % (width, height, left, top), "+repage",
                          "-depth", "8", "rgb:-"], check=True, capture_output=True).stdout
    colours = [tuple(raw[i:i + 3]) for i in range(0, len(raw), 3)]
    return [colours[row * width:(row + 1) * width] for row in range(height)]


def icon_contrast(picture, scale, left, top, side, icon_side):
    """The contrast that a tenth of the icon's pixels reach against the
    button's own colour, read from the ring between icon and button edge."""
    button = region(picture, *(round(value * scale) for value in (left, top, side, side)))
    size = len(button)
    inset, icon_start = round(2 * scale), (size - round(icon_side * scale)) // 2
    icon_end = size - icon_start
    ring = [button[y][x] for y in range(inset, size - inset) for x in range(inset, size - inset)
            if not (icon_start <= x < icon_end and icon_start <= y < icon_end)]
    background = Counter(ring).most_common(1)[0][0]
    contrasts = sorted((contrast(button[y][x], background) for y in range(icon_start, icon_end)
                        for x in range(icon_start, icon_end)), reverse=True)
    return contrasts[int(len(contrasts) * STRONG_SHARE)], background


def picture_of_main_window(program, scheme, scale, folder):
    server, display = start_display((1600, 1200))
    home = tempfile.mkdtemp(dir=folder)
    os.makedirs(home + "/runtime", 0o700)
    environment = dict(os.environ, DISPLAY=display, HOME=home, XDG_CONFIG_HOME=home + "/.config",
                       XDG_DATA_HOME=home + "/.local/share", XDG_RUNTIME_DIR=home + "/runtime",
                       QT_QPA_PLATFORM="xcb", QT_SCALE_FACTOR=str(scale))
    environment.pop("QT_QPA_PLATFORMTHEME", None)
    if scheme == "dark":
        os.makedirs(home + "/.config/qt6ct")
        with open(home + "/.config/qt6ct/qt6ct.conf", "w") as settings:
            settings.write("[Appearance]\ncolor_scheme_path=%s\ncustom_palette=true\nstyle=Fusion\n" % DARK_SCHEME)
        environment["QT_QPA_PLATFORMTHEME"] = "qt6ct"
    try:
        picture = home + "/window.png"
        size = (WINDOW[0] * scale, WINDOW[1] * scale)
        return picture if desktop_picture(program, environment, display, size, picture) else None
    finally:
        server.terminate()
        server.wait()

def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    missing = [tool for tool in TOOLS if not shutil.which(tool)]
    if not os.path.exists(DARK_SCHEME):
        missing.append("qt6ct")
    if missing:
        skip("missing " + ", ".join(missing))
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        for scheme, scale in CASES:
            picture = picture_of_main_window(os.path.abspath(sys.argv[1]), scheme, scale, folder)
            if picture is None:
                failures.append("%s at %d %%: no main window of %d x %d" % (scheme, scale * 100,
                                                                            WINDOW[0] * scale, WINDOW[1] * scale))
                continue
            for name, *button in BUTTONS:
                reached, background = icon_contrast(picture, scale, *button)
                line = "%s at %d %%: %s reaches %.1f:1 on %s" % (scheme, scale * 100, name, reached, background)
                print(line)
                if reached < GRAPHICS_CONTRAST:
                    failures.append(line)
    for failure in failures:
        print("FAIL: " + failure)
    if not failures:
        print("PASS")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
