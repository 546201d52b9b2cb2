#!/usr/bin/env python3
"""Korvane on a Wayland desktop, worked with real keys and a real pointer.

Takes the main window's picture on X11 (Xvfb with openbox) as the reference,
then starts a headless sway (wlroots) with no X server at all and Korvane
with nothing but WAYLAND_DISPLAY set, so Qt must choose its Wayland plug-in.
Keys come from wtype through the compositor's virtual keyboard, pointer
clicks through its virtual-pointer protocol, a launcher's activation token
through xdg-activation, pictures from grim and the clipboard from
wl-paste. Checks the splash and the window as native Wayland windows, the
window's content against the X11 picture region by region, a record added
with the keys alone, the menu bar from Alt and F10, a copy carrying the
password-manager hint, F1 and the web-contact link reaching the desktop's
opener, export and import from the keyboard, the pop-up menu at the pointer,
and a second start from a launcher that brings the running window back from
another workspace.

sway refuses to run as root: run as root, the Wayland half runs as the
unprivileged user "nobody".

Usage: wayland_desktop.py <path of the korvane program>
Exits 77 (skipped) when a tool it needs is not installed.
"""

import json
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time

from keyboard_desktop import SCREEN, Failure, check, picture_of_main_window, poll, skip, start_display

TOOLS = ["sway", "swaymsg", "wtype", "grim", "wl-paste", "setpriv", "Xvfb", "openbox", "xdotool", "convert", "import"]
APP_ID = "example.tessaly.Korvane"
UNPRIVILEGED = 65534
LEFT_BUTTON, RIGHT_BUTTON = 0x110, 0x111  # the kernel's BTN_LEFT and BTN_RIGHT

# The window's content in regions of the design, in pixels at 96 DPI:
# (name, left, top, width, height).
REGIONS = [("record toolbar", 10, 12, 172, 52), ("database toolbar and web contact", 190, 0, 450, 64),
           ("product, registrant, customer id", 10, 64, 630, 40),
           ("registration date and registration", 10, 104, 630, 40), ("list header", 4, 150, 630, 20),
           ("list body", 4, 170, 630, 290)]
# Font smoothing may differ at the edges of letters, nothing more.
MEAN_DIFFERENCE_LIMIT = 4.0
DIFFERENT_PIXELS_LIMIT = 0.02


def pixels(png, region=None):
    """The RGB bytes of a picture, or of a region (left, top, width, height)."""
    command = ["convert", png]
    if region:
        command += ["-crop", "%dx%d+%d+%d" % (region[2], region[3], region[0], region[1]), "+repage"]
    return subprocess.run(command + ["-depth", "8", "rgb:-"], check=True, capture_output=True).stdout


def compare(reference, picture):
    """Mean difference per colour value and the share of clearly different pixels."""
    check(len(reference) == len(picture), "the pictures differ in size")
    differences = [abs(a - b) for a, b in zip(reference, picture)]
    strong = sum(1 for i in range(0, len(differences), 3) if max(differences[i:i + 3]) > 64)
    return sum(differences) / len(differences), strong / (len(differences) / 3)


class Home:
    """A private home, runtime folder and desktop opener for one session."""

    def __init__(self, root, owner):
        self.root = root
        self.runtime = root + "/runtime"
        self.data = root + "/.local/share"
        self.database = self.data + "/Tessaly/Korvane/sdb1.ppd"
        self.desktop = root + "/Desktop"
        self.opened = root + "/opened"
        for folder in (self.runtime, self.desktop, root + "/bin"):
            os.makedirs(folder, 0o700)
        opener = root + "/bin/xdg-open"
        with open(opener, "w") as script:
            script.write("#!/bin/sh\nprintf '%%s\\n' \"$1\" >> '%s'\n" % self.opened)
        os.chmod(opener, 0o755)
        for folder, _, files in os.walk(root):
            for name in [folder] + [os.path.join(folder, file) for file in files]:
                os.chown(name, owner, owner)

    def environment(self, **more):
        environment = {name: value for name, value in os.environ.items()
                       if name not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE")}
        environment.update(HOME=self.root, XDG_CONFIG_HOME=self.root + "/.config", XDG_DATA_HOME=self.data,
                           XDG_RUNTIME_DIR=self.runtime, XDG_DESKTOP_DIR=self.desktop,
                           PATH=self.root + "/bin:" + os.environ["PATH"], **more)
        return environment

    def database_lines(self):
        try:
            with open(self.database, "rb") as lines:
                return lines.read().count(b"\r\n")
        except FileNotFoundError:
            return 0

    def opened_targets(self):
        try:
            with open(self.opened) as targets:
                return targets.read().splitlines()
        except FileNotFoundError:
            return []


def x11_reference(program, picture):
    """The main window's content as Korvane draws it on X11."""
    server, display = start_display()
    try:
        with tempfile.TemporaryDirectory() as root:
            home = Home(root, os.getuid())
            environment = home.environment(DISPLAY=display, QT_QPA_PLATFORM="xcb")
            check(picture_of_main_window(program, environment, display, (655, 494), picture, 15),
                  "no Korvane main window on X11")
    finally:
        server.terminate()
        server.wait()


class WaylandSession:
    def __init__(self, program, root, reference):
        self.program_path = program
        self.reference = reference
        self.user = UNPRIVILEGED if os.geteuid() == 0 else os.getuid()
        self.home = Home(root, self.user)
        self.pictures = root + "/pictures"
        os.makedirs(self.pictures)
        os.chown(self.pictures, self.user, self.user)
        self.compositor = None
        self.program = None
        self.display = None
        self.command_socket = None
        self.keyboard = None
        self.desktop = None

    def as_user(self, command):
        if self.user == os.getuid():
            return command
        return ["setpriv", "--reuid=%d" % self.user, "--regid=%d" % self.user, "--clear-groups", "--"] + command

    def environment(self):
        return self.home.environment(WAYLAND_DISPLAY=self.display, SWAYSOCK=self.command_socket)

    def run(self, *command, **options):
        return subprocess.run(self.as_user(list(command)), env=self.environment(), capture_output=True,
                              text=True, **options)

    def start_compositor(self):
        config = self.home.root + "/sway.config"
        with open(config, "w") as lines:
            lines.write("output HEADLESS-1 resolution %dx%d scale 1\n" % SCREEN)
            # Korvane floats as on the stacking desktops most people use.
            lines.write("xwayland disable\ndefault_border none\ndefault_floating_border none\n"
                        "focus_follows_mouse no\nfor_window [app_id=\"%s\"] floating enable\n" % APP_ID)
            # Like GNOME and KDE Plasma, follow an activation by a token
            # that a launcher handed out.
            lines.write("focus_on_window_activation focus\n")
        environment = self.home.environment(WLR_BACKENDS="headless", WLR_LIBINPUT_NO_DEVICES="1",
                                            WLR_RENDERER="pixman")
        self.compositor = subprocess.Popen(self.as_user(["sway", "-c", config]), env=environment,
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        def sockets():
            names = os.listdir(self.home.runtime)
            return ([name for name in names if name.startswith("wayland-") and not name.endswith(".lock")],
                    [name for name in names if name.startswith("sway-ipc.")])

        displays, commands = poll(sockets, lambda found: all(found), 10)
        check(displays and commands, "sway did not start")
        self.display = displays[0]
        self.command_socket = self.home.runtime + "/" + commands[0]
        check(poll(lambda: self.run("swaymsg", "-t", "get_version").returncode, lambda code: code == 0) == 0,
              "sway does not answer")
        # Every wtype brings a keyboard and takes it away again; a seat left
        # without any keyboard takes the focus from the window and closes
        # its menus. This one stays for the whole session.
        self.keyboard = subprocess.Popen(self.as_user(["wtype", "-s", "3600000"]), env=self.environment())
        self.desktop = subprocess.Popen(self.as_user([sys.executable, os.path.abspath(__file__), "--desktop",
                                                    self.home.runtime + "/" + self.display]),
                                      env=self.environment(), stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                      text=True)
        check(self.desktop.stdout.readline().strip() == "ready", "no pointer and no launcher")

    def windows(self):
        """Korvane's shown windows: (name, shell, rectangle, focused)."""
        reply = self.run("swaymsg", "-t", "get_tree", "-r")
        if reply.returncode != 0:
            return []
        found = []

        def walk(node):
            if node.get("app_id") == APP_ID and node.get("visible"):
                rect = node["rect"]
                found.append((node.get("name") or "", node.get("shell"),
                              (rect["x"], rect["y"], rect["width"], rect["height"]), node.get("focused")))
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                walk(child)

        walk(json.loads(reply.stdout))
        return found

    def window(self, name):
        return next((window for window in self.windows() if window[0] == name), None)

    def keys(self, *arguments):
        # Each wtype is a new keyboard: the pause lets the program take its
        # key map before the first key.
        self.run("wtype", "-s", "150", "-d", "15", *arguments, check=True)
        time.sleep(0.3)

    def key(self, *names):
        for name in names:
            self.keys("-k", name)

    def ask_desktop(self, *request):
        self.desktop.stdin.write(" ".join(str(part) for part in request) + "\n")
        self.desktop.stdin.flush()
        return self.desktop.stdout.readline().strip()

    def pointer(self, *action):
        check(self.ask_desktop(*action) == "done", "the virtual pointer stopped")
        time.sleep(0.2)

    def click(self, x, y, button=LEFT_BUTTON):
        self.pointer("move", x, y)
        self.pointer("press", button)
        self.pointer("release", button)
        time.sleep(0.3)

    def screenshot(self, name):
        path = self.pictures + "/" + name + ".png"
        self.run("grim", path, check=True)
        return path

    def start(self):
        self.program = subprocess.Popen(self.as_user([self.program_path]), env=self.environment())

    def stop(self):
        for process in (self.program, self.keyboard, self.desktop, self.compositor):
            if process and process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()

    def checks(self):
        self.start_compositor()
        self.start()
        splash = poll(lambda: self.window("Korvane"), lambda window: window and window[2][2] < 400, 10)
        check(splash is not None, "no splash window on Wayland")
        check(splash[1] == "xdg_shell", "the splash window is not a Wayland window but %r" % splash[1])
        check(splash[2][2:] == (366, 252), "the splash window measures %r" % (splash[2][2:],))
        main = poll(lambda: self.window("Korvane"), lambda window: window and window[2][2] > 400, 10)
        check(main is not None, "no main window on Wayland")
        check(main[1] == "xdg_shell", "the main window is not a Wayland window but %r" % main[1])
        check(main[3], "the main window does not have the focus")
        self.left, self.top = main[2][0], main[2][1]
        print("native Wayland windows: splash 366x252, main window %dx%d" % main[2][2:])
        time.sleep(0.5)
        self.compare_with_x11(main[2])
        self.add_with_keys()
        self.add_from_menu_bar()
        self.copy_customer_id()
        self.open_help_and_link()
        self.export_and_import()
        self.popup_at_pointer()
        self.second_start_raises()

    def compare_with_x11(self, rectangle):
        picture = self.screenshot("wayland")
        for name, left, top, width, height in REGIONS:
            expected = pixels(self.reference, (left, top, width, height))
            shown = pixels(picture, (rectangle[0] + left, rectangle[1] + top, width, height))
            mean, different = compare(expected, shown)
            check(mean <= MEAN_DIFFERENCE_LIMIT and different <= DIFFERENT_PIXELS_LIMIT,
                  "the %s differs from X11: mean difference %.1f, %.1f %% of pixels" % (name, mean,
                                                                                        100 * different))
            print("%s: as on X11 (mean difference %.2f, %.2f %% of pixels)" % (name, mean, 100 * different))

    def type_record(self, values):
        # Product, Registration Date, Registrant, Customer ID, Registration,
        # Web Contact: the designed Tab order.
        for value in values:
            if value:
                self.keys(value)
            self.key("Tab")

    def add_with_keys(self):
        self.type_record(["Zeta Editor", "2026-01-01", "Ann Example", "CID-7", "AAAA-BBBB", "zeta.example"])
        self.key("Return")  # Add Record has the focus after the last field
        lines = poll(self.home.database_lines, lambda lines: lines == 1, 5)
        check(lines == 1, "a record added with the keys gave %d lines" % lines)
        print("keyboard-only add: one record on disk")

    def add_from_menu_bar(self):
        self.keys("Beta Tool")
        self.key("Tab", "Tab", "Tab", "Tab")
        self.keys("CODE-2")
        self.key("Alt_L", "F10", "Return")  # Alt shows the bar, F10 opens Records, Add Record is first
        lines = poll(self.home.database_lines, lambda lines: lines == 2, 5)
        check(lines == 2, "Add Record from the menu bar gave %d lines" % lines)
        self.key("Alt_L")
        self.keys("-M", "ctrl", "a", "-m", "ctrl")
        self.key("BackSpace")
        print("menu bar: Alt, F10 and Add Record work")

    def copy_customer_id(self):
        self.key("Tab", "Tab", "Tab")
        self.keys("CID-42")
        self.key("Menu")
        self.keys("-M", "ctrl", "p", "-m", "ctrl")  # Copy Customer ID, while the main menu is open
        self.key("Escape")
        types = poll(lambda: self.run("wl-paste", "--list-types").stdout.split(),
                     lambda types: "x-kde-passwordManagerHint" in types, 5)
        check("x-kde-passwordManagerHint" in types, "the copy offers %r" % types)
        text = self.run("wl-paste", "--no-newline", "--type", "text/plain").stdout
        check(text == "CID-42", "the clipboard holds %r" % text)
        hint = self.run("wl-paste", "--no-newline", "--type", "x-kde-passwordManagerHint").stdout
        check(hint == "secret", "the password-manager hint reads %r" % hint)
        self.keys("-M", "ctrl", "a", "-m", "ctrl")
        self.key("BackSpace", "Escape")
        print("clipboard: %r with x-kde-passwordManagerHint %r" % (text, hint))

    def open_help_and_link(self):
        self.key("F1")
        targets = poll(self.home.opened_targets, lambda targets: len(targets) == 1, 5)
        check(len(targets) == 1 and targets[0].endswith("/help.html"), "F1 opened %r" % targets)
        # The web contact field: the design puts it at (197, 41), 422 x 18.
        # A click past the text puts the caret after the "http://" it gets.
        self.click(self.left + 560, self.top + 50)
        self.keys("mail.example")
        # Moving over an address lights the link; a click opens it.
        self.pointer("move", self.left + 260, self.top + 48)
        self.click(self.left + 262, self.top + 50)
        targets = poll(self.home.opened_targets, lambda targets: len(targets) == 2, 5)
        check(targets[1:] == ["http://mail.example"], "the web contact link opened %r" % targets[1:])
        self.keys("-M", "ctrl", "a", "-m", "ctrl")
        self.key("BackSpace")
        print("F1 and the web contact link reach the desktop's opener")

    def export_and_import(self):
        container = self.home.desktop + "/Korvane_Data.cab"
        # The main menu: Recall Registrant, Copy, Database > Export, Import.
        self.key("Menu", "Down", "Down", "Right", "Return")
        check(poll(lambda: os.path.exists(container), bool), "Export wrote no container on the Desktop")
        self.key("Return")  # the export message
        self.click(self.left + 60, self.top + 92)  # the Product field
        self.type_record(["Gamma", "", "", "", "CODE-3"])
        self.key("Tab", "Return")
        check(poll(self.home.database_lines, lambda lines: lines == 3) == 3, "the third record was not added")
        self.key("Menu", "Down", "Down", "Right", "Down", "Return")
        lines = poll(self.home.database_lines, lambda lines: lines == 2, 5)
        check(lines == 2, "Import left %d records where the export held 2" % lines)
        print("export and import from the keyboard")

    def popup_at_pointer(self):
        # A right click on a row opens "Other" at the pointer.
        x, y = self.left + 300, self.top + 180
        self.pointer("move", x, y)
        before = self.screenshot("before-popup")
        self.pointer("press", RIGHT_BUTTON)
        self.pointer("release", RIGHT_BUTTON)
        time.sleep(0.5)
        after = self.screenshot("popup")
        self.key("Escape")
        # The menu's top left corner is at the pointer; left of it, below
        # the row that the click selected, nothing changes.
        right = (x + 20, y + 4, 40, 12)
        left = (x - 42, y + 14, 40, 12)
        changed, _ = compare(pixels(before, right), pixels(after, right))
        unchanged, _ = compare(pixels(before, left), pixels(after, left))
        check(changed > 10 and unchanged < 1, "the pop-up menu is not at the pointer")
        print("pop-up menu opens at the pointer")

    def second_start_raises(self):
        # The user is on another workspace, where no Korvane window has the
        # focus, and starts Korvane again from a launcher, which gives the
        # new process an activation token.
        self.run("swaymsg", "workspace", "2", check=True)
        check(poll(lambda: [window for window in self.windows() if window[3]], lambda focused: not focused) == [],
              "a Korvane window kept the focus on another workspace")
        token = self.ask_desktop("token")
        environment = dict(self.environment(), XDG_ACTIVATION_TOKEN=token)
        second = subprocess.run(self.as_user([self.program_path]), env=environment, timeout=20)
        check(second.returncode == 0, "the second start ended with %d" % second.returncode)
        focused = poll(lambda: [window[0] for window in self.windows() if window[3]],
                       lambda focused: focused == ["Korvane"], 5)
        check(focused == ["Korvane"], "after a second start the focus is on %r" % focused)
        check(self.program.poll() is None, "the running Korvane ended")
        print("second start with the launcher's token brings the main window to the front")


class DesktopClient:
    """What the desktop itself does for the test: a pointer device (the
    virtual-pointer protocol of wlroots) and a launcher's activation token
    (xdg-activation), spoken on the Wayland socket directly; the few
    messages they need do not warrant a binding."""

    POINTERS = "zwlr_virtual_pointer_manager_v1"
    ACTIVATION = "xdg_activation_v1"
    POINTER_ID, ACTIVATION_ID, FIRST_FREE_ID = 5, 6, 7

    def __init__(self, socket_path):
        import socket
        self.connection = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.connection.connect(socket_path)
        self.buffered = b""
        self.next_id = self.FIRST_FREE_ID
        self.send(1, 1, struct.pack("<I", 2))  # wl_display.get_registry -> 2
        self.send(1, 0, struct.pack("<I", 3))  # wl_display.sync -> 3
        globals_ = {}
        while True:
            sender, opcode, body = self.event()
            if sender == 2 and opcode == 0:  # wl_registry.global
                name, length = struct.unpack_from("<II", body)
                globals_[body[8:8 + length - 1].decode()] = name
            elif sender == 3:  # the sync's wl_callback.done: every global seen
                break
        check(self.POINTERS in globals_ and self.ACTIVATION in globals_,
              "the compositor offers no virtual pointer or no activation")
        self.bind(globals_[self.POINTERS], self.POINTERS, 4)
        self.send(4, 0, struct.pack("<II", 0, self.POINTER_ID))  # create_virtual_pointer(any seat)
        self.bind(globals_[self.ACTIVATION], self.ACTIVATION, self.ACTIVATION_ID)

    def bind(self, name, interface, new_id):
        text = interface.encode() + b"\0"
        text = struct.pack("<I", len(text)) + text + b"\0" * (-len(text) % 4)
        self.send(2, 0, struct.pack("<I", name) + text + struct.pack("<II", 1, new_id))

    def send(self, target, opcode, body=b""):
        self.connection.sendall(struct.pack("<II", target, (8 + len(body)) << 16 | opcode) + body)

    def event(self):
        while len(self.buffered) < 8 or len(self.buffered) < struct.unpack_from("<II", self.buffered)[1] >> 16:
            self.buffered += self.connection.recv(4096)
        sender, size_opcode = struct.unpack_from("<II", self.buffered)
        size = size_opcode >> 16
        body, self.buffered = self.buffered[8:size], self.buffered[size:]
        return sender, size_opcode & 0xFFFF, body

    def move(self, x, y):
        self.send(self.POINTER_ID, 1, struct.pack("<IIIII", self.now(), x, y, SCREEN[0], SCREEN[1]))
        self.send(self.POINTER_ID, 4)  # frame

    def button(self, button, pressed):
        self.send(self.POINTER_ID, 2, struct.pack("<III", self.now(), button, 1 if pressed else 0))
        self.send(self.POINTER_ID, 4)

    def activation_token(self):
        token = self.next_id
        self.next_id += 1
        self.send(self.ACTIVATION_ID, 1, struct.pack("<I", token))  # get_activation_token
        self.send(token, 3)  # commit
        while True:
            sender, opcode, body = self.event()
            if sender == token and opcode == 0:  # done
                length = struct.unpack_from("<I", body)[0]
                return body[4:4 + length - 1].decode()

    @staticmethod
    def now():
        return int(time.monotonic() * 1000) & 0xFFFFFFFF


def serve_desktop(socket_path):
    """Runs as the session's user, driven by lines on stdin."""
    desktop = DesktopClient(socket_path)
    print("ready", flush=True)
    for line in sys.stdin:
        action, *numbers = line.split()
        if action == "move":
            desktop.move(int(numbers[0]), int(numbers[1]))
            print("done", flush=True)
        elif action == "token":
            print(desktop.activation_token(), flush=True)
        else:
            desktop.button(int(numbers[0]), action == "press")
            print("done", flush=True)


def reachable_copy(program, folder):
    """The program, its help page and its leak suppressions, copied where the
    unprivileged user reaches them whatever the modes of the build folder."""
    os.makedirs(folder, 0o755)
    for path in (program, os.path.join(os.path.dirname(program), "help.html")):
        if os.path.exists(path):
            shutil.copy2(path, folder)
    options = os.environ.get("LSAN_OPTIONS", "")
    suppressions = re.search(r"suppressions=([^:]*)", options)
    if suppressions:
        shutil.copy2(suppressions.group(1), folder + "/leaks.supp")
        os.environ["LSAN_OPTIONS"] = options.replace(suppressions.group(1), folder + "/leaks.supp")
    return os.path.join(folder, os.path.basename(program))


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "--desktop":
        return serve_desktop(sys.argv[2])
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    missing = [tool for tool in TOOLS if not shutil.which(tool)]
    if missing:
        skip("missing " + ", ".join(missing))
    program = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory() as root:
        os.chmod(root, 0o755)
        program = reachable_copy(program, root + "/program")
        reference = root + "/x11.png"
        x11_reference(program, reference)
        session = WaylandSession(program, root + "/wayland", reference)
        try:
            session.checks()
            print("PASS")
            return 0
        except Failure as failure:
            print("FAIL: %s" % failure)
            return 1
        finally:
            session.stop()


if __name__ == "__main__":
    sys.exit(main())
