#!/usr/bin/env python3
"""Korvane worked with the keyboard alone, on a real X server.

Starts the program under Xvfb (with openbox when it is installed), presses
keys with xdotool and reads the window as a screen reader does, through the
accessibility tree (AT-SPI) on a private D-Bus session. Checks the start-up
focus, both Tab cycles, Alt twice while typing, a record typed and added with
the keys, the names a screen reader hears, the main menu from the
context-menu key, Quit from the keyboard, and that the window opens centred
with its frame.

Usage: keyboard_desktop.py <path of the korvane program>
Exits 77 (skipped) when a tool it needs is not installed.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIPPED = 77
SCREEN = (1280, 1024)
TOOLS = ["Xvfb", "xdotool", "xprop", "xwininfo", "dbus-run-session"]
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"

FIELDS = ["Product,Software Name", "Registration Date", "Registered to", "Customer #, Product ID",
          "Registration #, Code", "Web Contact (Email, URL)"]
DESCRIPTIONS = {"Product,Software Name": "or Software Title", "Registration Date": "Effective date",
                "Registered to": "Name of Registrant (licensed to)",
                "Customer #, Product ID": "Usually comes with the software",
                "Registration #, Code": "Code to enable product",
                "Web Contact (Email, URL)": "Provider (licenser) web site, or email address"}
TAB_CYCLE = FIELDS + ["Add Record", "Remove Selected Record", "Replace Selected Record", "Clear Input Fields",
                      "Work applications", "Games", "Tools", "Miscelaneous", "Main Menu", "Records"]


def skip(reason):
    print("SKIP: " + reason + " (the test tools of scripts/install-deps.sh)")
    sys.exit(SKIPPED)


def missing_tools():
    missing = [tool for tool in TOOLS if not shutil.which(tool)]
    if not os.access(BUS_LAUNCHER, os.X_OK):
        missing.append("at-spi2-core")
    try:
        import pyatspi  # noqa: F401
    except ImportError:
        missing.append("python3-pyatspi")
    return missing


def start_display(screen=SCREEN):
    """Xvfb on a free display number; returns (process, display name)."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % screen,
                               "-nolisten", "tcp"], pass_fds=[write_end], stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as numbers:
        display = ":" + numbers.readline().strip()
    return server, display


def main(session=None, seconds=50):
    """Runs the checks of session (a Session class) in the script that calls."""
    if len(sys.argv) == 3 and sys.argv[1] == "--inside":
        return (session or Session)(sys.argv[2]).run()
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    missing = missing_tools()
    if missing:
        skip("missing " + ", ".join(missing))
    server, display = start_display()
    window_manager = None
    # Everything run here, the window manager too, keeps its files in a
    # private home that goes at the end.
    with tempfile.TemporaryDirectory() as home:
        try:
            environment = dict(os.environ, DISPLAY=display, HOME=home, XDG_CONFIG_HOME=home + "/.config",
                               XDG_DATA_HOME=home + "/.local/share", XDG_CACHE_HOME=home + "/.cache",
                               XDG_STATE_HOME=home + "/.local/state", XDG_RUNTIME_DIR=home + "/runtime",
                               KORVANE_PROGRAM=os.path.abspath(sys.argv[1]), QT_QPA_PLATFORM="xcb",
                               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
            os.mkdir(home + "/runtime", 0o700)
            if shutil.which("openbox"):
                window_manager = subprocess.Popen(["openbox"], env=environment, stderr=subprocess.DEVNULL)
                time.sleep(0.5)
            else:
                print("openbox is not installed: the window is checked without a window manager")
            result = subprocess.run(["dbus-run-session", "--", sys.executable, os.path.abspath(sys.argv[0]),
                                     "--inside", "wm" if window_manager else "no-wm"], env=environment,
                                    timeout=seconds)
            return result.returncode
        finally:
            if window_manager:
                window_manager.terminate()
                window_manager.wait()
            server.terminate()
            server.wait()


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def poll(read, accept, seconds=3.0):
    """The first value of read() that accept() takes, or the last one read."""
    deadline = time.monotonic() + seconds
    value = read()
    while not accept(value) and time.monotonic() < deadline:
        time.sleep(0.05)
        value = read()
    return value


def picture_of_main_window(program, environment, display, size, picture, seconds=20):
    """Starts a window manager and the program on the display and takes a
    picture of the main window, known from the splash, which bears the same
    name, by its size (within a pixel, for a scaled one). False when no such
    window came."""
    processes = [subprocess.Popen(["openbox"], env=environment, stderr=subprocess.DEVNULL)]
    try:
        processes.append(subprocess.Popen([program], env=environment))

        def sized(window):
            reply = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window], env=environment,
                                   capture_output=True, text=True).stdout
            # Empty when the window (the splash) went away meanwhile.
            geometry = dict(line.split("=") for line in reply.split())
            return all(abs(int(geometry.get(name, 0)) - wanted) <= 1 for name, wanted in zip(("WIDTH", "HEIGHT"), size))

        def main_windows():
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Korvane$"], env=environment,
                                   capture_output=True, text=True).stdout.split()
            return [window for window in found if sized(window)]

        windows = poll(main_windows, bool, seconds)
        if not windows:
            return False
        time.sleep(1)
        subprocess.run(["import", "-display", display, "-window", windows[0], picture], env=environment,
                       check=True)
        return True
    finally:
        for process in reversed(processes):
            process.kill()
            process.wait()


class Session:
    def __init__(self, window_manager):
        self.window_manager = window_manager == "wm"
        self.program = None

    def run(self):
        import pyatspi
        from gi.repository import GLib
        self.pyatspi = pyatspi
        self.glib = GLib
        bus = subprocess.Popen([BUS_LAUNCHER, "--launch-immediately"], stderr=subprocess.DEVNULL)
        time.sleep(0.3)
        # The program learns at its start which events a reader listens to,
        # so the listeners come first.
        self.listen()
        self.program = subprocess.Popen([os.environ["KORVANE_PROGRAM"]])
        try:
            self.checks()
            print("PASS")
            return 0
        except Failure as failure:
            print("FAIL: %s" % failure)
            return 1
        finally:
            if self.program.poll() is None:
                self.program.kill()
            bus.terminate()

    def listen(self):
        # Pop-up menus are no part of the tree; a screen reader hears their
        # entries as they take the focus.
        self.focused_entries = []
        self.pyatspi.Registry.registerEventListener(self.on_focus, "object:state-changed:focused")

    def checks(self):
        # The splash window stands for three seconds before the main window.
        self.frame = poll(self.main_frame, lambda frame: frame is not None, 15)
        check(self.frame is not None, "no main window in the accessibility tree")
        self.window = self.x_window()
        if not self.window_manager:
            self.xdotool("windowfocus", "--sync", self.window)

        self.check_centred()
        check(self.wait_focus("Product,Software Name") == "Product,Software Name",
              "the focus is not in the Product field at start-up")
        self.check_names()
        for keys, order in (("Tab", TAB_CYCLE[1:] + TAB_CYCLE[:1]),
                            ("shift+Tab", list(reversed(TAB_CYCLE)))):
            for expected in order:
                self.xdotool("key", keys)
                focused = self.wait_focus(expected)
                check(focused == expected, "%s reached %r instead of %r" % (keys, focused, expected))

        self.check_alt_while_typing()
        self.add_record_with_keys()
        self.walk_menu_bar()
        self.quit_from_main_menu()

    # The accessibility tree

    def main_frame(self):
        try:
            for application in self.pyatspi.Registry.getDesktop(0):
                if application is not None and application.name == "Korvane":
                    for window in application:
                        if window.getRoleName() == "frame" and window.name.startswith("Korvane") \
                                and window.getState().contains(self.pyatspi.STATE_SHOWING):
                            return window
        except self.glib.Error:
            pass  # the splash window went while it was read
        return None

    def controls(self, node=None):
        """Every node below the frame but the cells of the list."""
        node = node or self.frame
        for child in node:
            yield child
            if child.getRoleName() != "table":
                yield from self.controls(child)

    def focused_name(self):
        for node in self.controls():
            if node.getState().contains(self.pyatspi.STATE_FOCUSED):
                return node.name
        return None

    def wait_focus(self, name):
        return poll(self.focused_name, lambda focused: focused == name)

    def named(self, name, role):
        return next(node for node in self.controls() if node.name == name and node.getRoleName() == role)

    def field_text(self, name):
        return self.named(name, "text").queryText().getText(0, -1)

    def check_names(self):
        focusable = [node for node in self.controls() if node.getState().contains(self.pyatspi.STATE_FOCUSABLE)]
        check(sorted(node.name for node in focusable) == sorted(TAB_CYCLE),
              "the controls that take the focus are named %r" % [node.name for node in focusable])
        for field, hint in DESCRIPTIONS.items():
            description = self.named(field, "text").description
            check(description == hint, "field %r is described as %r" % (field, description))
        check(self.named("Work applications", "radio button").getState().contains(self.pyatspi.STATE_CHECKED),
              "the current database's button is not shown pressed")
        check(not self.named("Games", "radio button").getState().contains(self.pyatspi.STATE_CHECKED),
              "another database's button is shown pressed")

    # Keys and the X window

    def xdotool(self, *arguments):
        return subprocess.run(["xdotool"] + list(arguments), check=True, capture_output=True,
                              text=True).stdout.strip()

    def x_window(self):
        windows = self.xdotool("search", "--sync", "--onlyvisible", "--name", "^Korvane$").split()
        check(len(windows) == 1, "%d shown X windows are called Korvane" % len(windows))
        return windows[0]

    def check_centred(self):
        def frame_rectangle():
            reply = subprocess.run(["xwininfo", "-id", self.window], capture_output=True, text=True).stdout
            geometry = {name.strip(): value.strip() for name, _, value in
                        (line.partition(":") for line in reply.splitlines())}
            x, y = int(geometry["Absolute upper-left X"]), int(geometry["Absolute upper-left Y"])
            extents = [0, 0, 0, 0]  # left, right, top, bottom
            if self.window_manager:
                reply = subprocess.run(["xprop", "-id", self.window, "_NET_FRAME_EXTENTS"],
                                       capture_output=True, text=True).stdout
                if "=" in reply:
                    extents = [int(value) for value in reply.split("=")[1].split(",")]
            return (x - extents[0], y - extents[2], int(geometry["Width"]) + extents[0] + extents[1],
                    int(geometry["Height"]) + extents[2] + extents[3])

        def centre_offset(rectangle):
            x, y, width, height = rectangle
            return (abs(2 * x + width - SCREEN[0]), abs(2 * y + height - SCREEN[1]))

        # The window manager's frame comes a moment after the window.
        frame = poll(frame_rectangle, lambda rectangle: max(centre_offset(rectangle)) <= 2)
        check(max(centre_offset(frame)) <= 2, "the window's frame %r is not centred on the screen" % (frame,))

    def check_alt_while_typing(self):
        product = "Product,Software Name"
        self.xdotool("type", "ab")
        self.xdotool("key", "alt")
        self.xdotool("type", "cd")
        self.xdotool("key", "alt")
        self.xdotool("type", "ef")
        text = poll(lambda: self.field_text(product), lambda text: text == "abcdef")
        check(text == "abcdef", "typing around Alt, Alt gave %r" % text)
        check(self.focused_name() == product, "Alt moved the focus to %r" % self.focused_name())
        self.xdotool("key", "ctrl+a", "BackSpace")

    def add_record_with_keys(self):
        values = ["Zeta Editor", "2026-01-01", "Ann Example", "CID-7", "AAAA-BBBB", "zeta.example"]
        for value in values:
            self.xdotool("type", value)
            self.xdotool("key", "Tab")
        check(self.wait_focus("Add Record") == "Add Record", "Tab after the last field does not reach Add Record")
        self.xdotool("key", "Return")
        table = self.named("Records", "table").queryTable()
        rows = poll(lambda: table.nRows, lambda rows: rows == 1)
        check(rows == 1, "the list holds %d rows after adding one" % rows)
        row = [table.getAccessibleAt(0, column).name for column in range(6)]
        expected = ["Zeta Editor", "Ann Example", "CID-7", "AAAA-BBBB", "http://zeta.example", "2026-01-01"]
        check(row == expected, "the added row reads %r" % row)
        check(self.wait_focus("Product,Software Name") == "Product,Software Name",
              "the focus did not come back to the Product field after adding")
        database = os.environ["XDG_DATA_HOME"] + "/Tessaly/Korvane/sdb1.ppd"
        with open(database, "rb") as lines:
            check(lines.read().count(b"\r\n") == 1, "the database file does not hold one line")

    def on_focus(self, event):
        if event.detail1 and event.source.getRoleName() == "menu item":
            self.focused_entries.append(event.source.name)

    def last_focused_entry(self):
        while self.glib.MainContext.default().iteration(False):
            pass
        return self.focused_entries[-1] if self.focused_entries else None

    def wait_entry(self, name):
        return poll(self.last_focused_entry, lambda entry: entry == name)

    def walk_menu_bar(self):
        self.xdotool("key", "alt", "F10")
        check(self.wait_entry("Add Record") == "Add Record", "F10 does not open the Records menu")
        self.xdotool("key", "Right")
        check(self.wait_entry("Use") == "Use", "Right does not open the Databases menu")
        # Out of the menu, then out of the bar, then the bar hidden again.
        self.xdotool("key", "Escape", "Escape", "alt")
        focused = self.wait_focus("Product,Software Name")
        check(focused == "Product,Software Name", "leaving the menu bar put the focus on %r" % focused)

    def quit_from_main_menu(self):
        self.xdotool("key", "Menu")
        entry = self.wait_entry("Recall Registrant")
        check(entry == "Recall Registrant", "the context-menu key opens no main menu (focus on %r)" % entry)
        # The last entry is Quit; Up from the first one wraps round to it.
        self.xdotool("key", "Up")
        check(self.wait_entry("Quit") == "Quit", "Up from the first entry does not reach Quit")
        self.xdotool("key", "Return")
        try:
            self.program.wait(5)
        except subprocess.TimeoutExpired:
            raise Failure("Quit chosen from the keyboard did not end the program")


if __name__ == "__main__":
    sys.exit(main())
