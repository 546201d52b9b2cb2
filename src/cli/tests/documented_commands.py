#!/usr/bin/env python3
"""Every command line the user documentation shows, run exactly as written.

Reads the command lines from the README (its code blocks, and code spans that
start with a program), the manual pages (their no-fill blocks: every line in
EXAMPLES, elsewhere the lines that start with a program) and the help page
(its code elements that start with a program; one holding a placeholder such
as <var>FILE</var> is a synopsis, not a command line). Each document's lines
run in order through bash, with pipefail, in a private home of their own that
holds a few records, with the built korvane-cli first on the PATH. A line
fails when it exits non-zero or writes to the standard error anything but
korvane-cli's report of its success (which -q silences).

Where a peer asks for a password, it gets one as a user would give it:
keepassxc-cli on a terminal of its own (a pseudo-terminal, the command's
standard input and error), gpg from a passphrase file named in the private
home's gpg.conf.

Usage: documented_commands.py <korvane-cli> <source folder>
Exits 77 (skipped) when no line failed but a tool some line needs is not
installed.
"""

import html.parser
import os
import pty
import re
import select
import shlex
import shutil
import subprocess
import sys
import tempfile
import termios
import time

SKIPPED = 77
TIMEOUT = 30
PASSWORD = "correct horse battery staple"
SUCCESS_REPORT = re.compile(r"korvane-cli: (exported to|backed up the four databases to|restored the four databases"
                            r" from|the databases as they were are kept in|no damage found in|imported) ")
PROGRAMS = {"korvane-cli", "korvane", "keepassxc-cli", "gpg", "iconv", "man", "bash", "sudo"}
# The peers a line may use, by the Debian package that brings them; without
# it the line is skipped. Any other program a line names must be there.
PEERS = {"keepassxc-cli": "keepassxc", "gpg": "gnupg", "man": "man-db", "iconv": "libc-bin"}

# Lines that cannot run in a test, by document, with the reason.
NOT_RUN = {
    ("README.md", "bash scripts/run.sh"): "builds the program and starts its window, which runs until closed",
    ("README.md", "bash scripts/test.sh"): "builds and runs every test, this one included",
    ("README.md", "bash scripts/install.sh"): "installs the Debian package, as root",
    ("README.md", "sudo apt remove korvane"): "removes the installed package, as root",
    ("README.md", "bash scripts/orca-check.sh"): "drives the window with a screen reader for minutes",
    ("src/app/help.html", 'QT_LOGGING_RULES="korvane.*=true" korvane'):
        "starts the window, which runs until closed",
}

SEED_CSV = """Database,Product,Registrant,Customer ID,Registration,Web Contact,Registration Date,Recorded
work,Photo Studio,Ada Lovelace,C-100,PS-1234-5678,http://photo.example,2024-01-05,
games,Star Pilot,Ada Lovelace,,SP-0000-1111,mailto:sales@pilot.example,,
tools,Disk Doctor,Charles Babbage,77,DD-42,,2023-11-30,
misc,Font Pack,Ada Lovelace,,FP-9,http://fonts.example,,
"""


class Line:
    def __init__(self, document, number, text):
        self.document, self.number, self.text = document, number, text

    def place(self):
        return "%s:%d: %s" % (self.document, self.number, self.text)


def starts_with_program(text):
    """Whether the text is a command line: a known program, after any
    VARIABLE=value assignments, and more than the bare name by which prose
    names a program."""
    try:
        words = shlex.split(text)
    except ValueError:
        return False
    assignments = 0
    while assignments < len(words) and re.fullmatch(r"[A-Z_]+=.*", words[assignments]):
        assignments += 1
    return len(words) > max(1, assignments) and words[assignments] in PROGRAMS


def markdown_lines(document, text):
    lines, fenced = [], False
    for number, line in enumerate(text.split("\n"), 1):
        if line.startswith("```"):
            fenced = not fenced
        elif fenced and line.strip():
            lines.append(Line(document, number, line))
        elif not fenced:
            lines.extend(Line(document, number, span) for span in re.findall(r"`([^`]+)`", line)
                         if starts_with_program(span))
    return lines


def roff_text(line):
    for escape, text in ((r"\-", "-"), (r"\(aq", "'"), (r"\(dq", '"'), (r"\&", ""), (r"\e", "\\")):
        line = line.replace(escape, text)
    return re.sub(r"\\f[BIRP]", "", line)


def man_lines(document, text):
    lines, section, filled = [], "", True
    for number, line in enumerate(text.split("\n"), 1):
        if line.startswith(".SH "):
            section = line[4:].strip('"')
        elif line in (".nf", ".EX"):
            filled = False
        elif line in (".fi", ".EE"):
            filled = True
        elif not filled and not line.startswith("."):
            command = roff_text(line)
            if section == "EXAMPLES" or starts_with_program(command):
                lines.append(Line(document, number, command))
    return lines


class HelpPageCommands(html.parser.HTMLParser):
    def __init__(self, document):
        super().__init__()
        self.document, self.lines, self.code = document, [], None

    def handle_starttag(self, tag, attrs):
        if tag in ("code", "pre") and not self.code:
            self.code = {"tag": tag, "start": self.getpos()[0], "text": "", "placeholder": False}
        elif tag == "var" and self.code:
            self.code["placeholder"] = True

    def handle_data(self, data):
        if self.code:
            self.code["text"] += data

    def handle_endtag(self, tag):
        if self.code and tag == self.code["tag"]:
            text = " ".join(self.code["text"].split())
            if not self.code["placeholder"] and starts_with_program(text):
                self.lines.append(Line(self.document, self.code["start"], text))
            self.code = None


def help_page_lines(document, text):
    parser = HelpPageCommands(document)
    parser.feed(text)
    return parser.lines


def documented_lines(source):
    readers = [("README.md", markdown_lines), ("src/app/help.html", help_page_lines)]
    readers += [(os.path.join("docs/man", name), man_lines)
                for name in sorted(os.listdir(os.path.join(source, "docs/man"))) if name.endswith(".1")]
    documents = []
    for document, reader in readers:
        with open(os.path.join(source, document), encoding="utf-8") as file:
            documents.append((document, reader(document, file.read())))
    return documents


def programs_of(text):
    """The programs a shell line starts: the first word of each command."""
    lexer = shlex.shlex(text, posix=True, punctuation_chars=True)
    lexer.whitespace_split = True
    programs, expect = [], True
    for word in lexer:
        if word in ("|", "||", "&&", ";", "&"):
            expect = True
        elif expect and not re.fullmatch(r"[A-Z_]+=.*", word):
            programs.append(word)
            expect = False
    return programs


class Home:
    """A private home with the four databases holding a few records."""

    def __init__(self, root, cli, source):
        self.path = os.path.join(root, "home")
        self.cli = cli
        runtime = os.path.join(root, "runtime")
        manuals = os.path.join(root, "man", "man1")
        for folder in (self.path, runtime, manuals, os.path.join(self.path, ".gnupg")):
            os.makedirs(folder, mode=0o700)
        for page in os.listdir(os.path.join(source, "docs/man")):
            os.symlink(os.path.join(source, "docs/man", page), os.path.join(manuals, page))
        passphrase = os.path.join(root, "passphrase")
        with open(passphrase, "w") as file:
            file.write(PASSWORD + "\n")
        with open(os.path.join(self.path, ".gnupg", "gpg.conf"), "w") as file:
            file.write("batch\nquiet\npinentry-mode loopback\npassphrase-file %s\n" % passphrase)
        self.environment = {
            "HOME": self.path, "PATH": os.path.dirname(cli) + os.pathsep + os.environ["PATH"],
            "XDG_CONFIG_HOME": os.path.join(self.path, ".config"),
            "XDG_DATA_HOME": os.path.join(self.path, ".local", "share"),
            "XDG_RUNTIME_DIR": runtime, "MANPATH": os.path.dirname(manuals), "LC_ALL": "C.UTF-8",
            "TERM": "dumb",
        }
        seed = os.path.join(root, "seed.csv")
        with open(seed, "w", encoding="utf-8") as file:
            file.write(SEED_CSV)
        self.korvane_cli("import", "-q", "-f", "csv", seed)

    def korvane_cli(self, *arguments):
        subprocess.run([self.cli] + list(arguments), env=self.environment, cwd=self.path, check=True,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)

    def provide(self, text):
        """Makes the files the line reads that no earlier line wrote: a dated
        backup the documentation restores."""
        for name in re.findall(r"~/(korvane-\d{4}-\d\d-\d\d\.backup)", text):
            if not os.path.exists(os.path.join(self.path, name)):
                self.korvane_cli("backup", "-q", os.path.join(self.path, name))

    def stop_gpg_agent(self):
        if shutil.which("gpgconf"):
            subprocess.run(["gpgconf", "--kill", "gpg-agent"], env=self.environment, cwd=self.path,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def run_plainly(home, text):
    """Runs the line with no terminal; returns (status, standard error)."""
    try:
        result = subprocess.run(["bash", "-o", "pipefail", "-c", text], env=home.environment, cwd=home.path,
                                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                timeout=TIMEOUT)
    except subprocess.TimeoutExpired:
        return -1, "still running after %d seconds" % TIMEOUT
    return result.returncode, "\n".join(line for line in result.stderr.decode(errors="replace").splitlines()
                                         if not SUCCESS_REPORT.match(line))


def run_on_terminal(home, text):
    """Runs the line with a terminal for its input and messages, typing the
    password at each prompt; returns (status, what the terminal showed
    besides the prompts answered)."""
    controller, terminal = pty.openpty()
    process = subprocess.Popen(["bash", "-o", "pipefail", "-c", text], env=home.environment, cwd=home.path,
                               stdin=terminal, stdout=subprocess.DEVNULL, stderr=terminal,
                               start_new_session=True)
    os.close(terminal)
    shown, deadline = "", time.monotonic() + TIMEOUT
    while time.monotonic() < deadline:
        ready, _, _ = select.select([controller], [], [], 0.1)
        if not ready:
            if process.poll() is not None:
                break
            continue
        try:
            chunk = os.read(controller, 4096).decode(errors="replace")
        except OSError:
            break
        shown += chunk
        prompt = re.search(r"[^\n]*password[^\n]*: $", shown, re.IGNORECASE)
        if prompt:
            # As a person would, type once the program has turned the echo off.
            typing = time.monotonic() + 2
            while termios.tcgetattr(controller)[3] & termios.ECHO and time.monotonic() < typing:
                time.sleep(0.01)
            os.write(controller, (PASSWORD + "\n").encode())
            shown = shown[:prompt.start()]
    os.close(controller)
    try:
        status = process.wait(timeout=max(1, deadline - time.monotonic()))
    except subprocess.TimeoutExpired:
        process.kill()
        status = process.wait()
    return status, shown.replace("\r", "").strip("\n")


def asks_for_password(text):
    words = shlex.split(text)
    return "keepassxc-cli" in words and ("-p" in words or "--set-password" in words)


def main():
    cli, source = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    failures, skipped, run = [], [], 0
    for document, lines in documented_lines(source):
        with tempfile.TemporaryDirectory(prefix="korvane-doc-") as root:
            home = Home(root, cli, source)
            try:
                for line in lines:
                    reason = NOT_RUN.get((document, line.text))
                    missing = [PEERS[program] for program in programs_of(line.text)
                               if program in PEERS and not shutil.which(program, path=home.environment["PATH"])]
                    if reason or missing:
                        skipped.append((line, reason or "needs " + ", ".join(missing)))
                        continue
                    home.provide(line.text)
                    run_line = run_on_terminal if asks_for_password(line.text) else run_plainly
                    status, messages = run_line(home, line.text)
                    run += 1
                    if status != 0 or messages:
                        failures.append("%s\n  exit status %d%s" % (line.place(), status,
                                        "".join("\n  " + message for message in messages.splitlines())))
            finally:
                home.stop_gpg_agent()
    for line, reason in skipped:
        print("not run: %s (%s)" % (line.place(), reason))
    print("%d documented command lines run, %d not run, %d failed" % (run, len(skipped), len(failures)))
    for failure in failures:
        print("FAIL: " + failure)
    if failures:
        return 1
    missing_tool = [line for line, reason in skipped if reason.startswith("needs ")]
    return SKIPPED if missing_tool else 0


if __name__ == "__main__":
    sys.exit(main())
