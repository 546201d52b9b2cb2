#!/usr/bin/env python3
"""What a screen reader hears from Korvane, on a real X server.

Runs the program under Xvfb with AT-SPI on a private D-Bus session, as
keyboard_desktop.py does, works every record command with xdotool's keys and
listens as a screen reader listens: each command must be followed by its
announcement, a notification shown anew with the words for what happened.
Also checks the roles a reader tells: the database buttons as one group of
radio buttons and Main Menu as a button that opens a menu.

Usage: screenreader_desktop.py <path of the korvane program>
Exits 77 (skipped) when a tool it needs is not installed.
"""

import os
import sys

import keyboard_desktop as desktop
from keyboard_desktop import check, poll

PRODUCT = "Product,Software Name"


class ListeningSession(desktop.Session):
    def listen(self):
        super().listen()
        self.announcements = []
        self.pyatspi.Registry.registerEventListener(self.on_showing, "object:state-changed:showing")

    def on_showing(self, event):
        if event.detail1 and event.source.getRoleName() == "notification":
            self.announcements.append(event.source.name)

    def heard(self):
        while self.glib.MainContext.default().iteration(False):
            pass
        return list(self.announcements)

    def command(self, keys, announcement):
        """Presses the keys (lists of xdotool arguments) and waits for the announcement."""
        before = len(self.heard())
        for arguments in keys:
            self.xdotool(*arguments)
        heard = poll(lambda: self.heard()[before:], lambda new: announcement in new, 5)
        check(announcement in heard, "after %r a screen reader heard %r, not %r" % (keys, heard, announcement))

    def tab(self, times):
        return ["key"] + ["Tab"] * times

    def checks(self):
        self.frame = poll(self.main_frame, lambda frame: frame is not None, 15)
        check(self.frame is not None, "no main window in the accessibility tree")
        if not self.window_manager:
            self.xdotool("windowfocus", "--sync", self.x_window())
        check(self.wait_focus(PRODUCT) == PRODUCT, "the focus is not in the Product field at start-up")
        self.check_roles()

        typed = []
        for value in ["Studio 2024", "2024-05-01", "Jane Doe", "CID-1", "AAAA-2024", "studio.example"]:
            typed += [["type", value], ["key", "Tab"]]
        self.command(typed + [["key", "Return"]], "Record added")
        self.command([self.tab(6), ["key", "Return"]], "Record not added, the Registration field is empty")
        self.command([["key", "shift+Tab", "Home", "Return"]], "Studio 2024, Jane Doe chosen")
        # Back in the Product field, on to the Registration field, a new code,
        # and on to "Replace Selected Record".
        self.command([["key", "Tab"], self.tab(4), ["key", "ctrl+a"], ["type", "BBBB-2025"], self.tab(4),
                      ["key", "Return"]], "Record replaced")
        self.command([["type", "Nothing"], self.tab(8), ["key", "Return"]], "Nothing - Item not found")
        self.command([["key", "shift+Tab", "Return"]], "Studio 2024, Jane Doe chosen")
        self.command([self.tab(8), ["key", "Return"]], "Record removed")
        self.command([["type", "x"], self.tab(9), ["key", "Return"]], "Fields cleared")
        self.command([["key", "Menu", "Down", "Right", "Down", "Return"]], "Registrant copied")
        # An entry chosen from a sub-menu by key leaves the window taking no
        # keys until Escape.
        self.xdotool("key", "Escape")
        self.check_export_message()
        self.command([["key", "Menu", "Down", "Down", "Right", "Down", "Return"]], "Databases imported")

    def check_roles(self):
        group = self.named("Databases", "panel")
        buttons = [(button.name, button.getRoleName()) for button in group]
        check(buttons == [(name, "radio button") for name in ["Work applications", "Games", "Tools", "Miscelaneous"]],
              "the database group holds %r" % buttons)
        checked = [button.name for button in group if button.getState().contains(self.pyatspi.STATE_CHECKED)]
        check(checked == ["Work applications"], "the checked database buttons are %r" % checked)
        # This Qt does not carry the has-popup state over AT-SPI; the role a
        # reader speaks says it instead.
        role = self.named("Main Menu", "push button").getLocalizedRoleName()
        check(role == "button menu", "Main Menu is a %r" % role)

    def check_export_message(self):
        # The message box is the announcement: a dialog whose text a reader
        # reads as the dialog takes the focus.
        os.makedirs(os.environ["HOME"] + "/Desktop", exist_ok=True)
        self.xdotool("key", "Menu", "Down", "Down", "Right", "Return")
        text = poll(self.message_text, lambda text: text is not None, 5)
        check(text is not None and text.startswith("Databases exported to Desktop with name: Korvane_Data.cab"),
              "the export message reads %r" % text)
        self.xdotool("key", "Return")
        poll(self.message_text, lambda text: text is None)

    def message_text(self):
        for application in self.pyatspi.Registry.getDesktop(0):
            if application is not None and application.name == "Korvane":
                for window in application:
                    if window.getRoleName() in ("dialog", "alert"):
                        for node in self.controls(window):
                            if node.getRoleName() == "label" and node.name.startswith("Databases"):
                                return node.name
        return None


if __name__ == "__main__":
    sys.exit(desktop.main(ListeningSession, 100))
