"""Inside the sandbox: works the wizard's windows through the accessibility tree, as a user would.

Run by harness.Sandbox.drive as
    gui-session python3 gui.py TEST_FILE NAME ARGS...
which calls drive_<NAME>(ui, *ARGS) of TEST_FILE with a Ui. Widgets are found by role and visible
name, their state is read through AT-SPI, clicks and keys are real X input events. When the
drive fails it prints what every window showed and keeps a screenshot (failure-NAME.png).
"""
import ast
import os
import re
import subprocess
import sys
import time
import traceback

from dogtail.config import config

config.logDebugToFile = False
config.logDebugToStdOut = False
config.checkForA11y = False  # GTK 2 is made accessible by GTK_MODULES, not by this setting
config.actionDelay = 0.05
config.typingDelay = 0.02
config.defaultDelay = 0.05
config.searchBackoffDuration = 0.1
config.searchCutoffCount = 20
import pyatspi  # noqa: E402  (after the configuration above)
from dogtail import tree  # noqa: E402

from harness import load_file  # noqa: E402

sys.excepthook = sys.__excepthook__  # dogtail sends tracebacks to its disabled logger

PROGRAM_NAME = "sivrant-setup"


class DriveFailed(AssertionError):
    pass


class Program:
    """A program started by the drive, in its session, as its user."""

    def __init__(self, argv, env):
        self.argv = argv
        self.process = subprocess.Popen(argv, env=env, stdout=subprocess.PIPE,
                                        stderr=subprocess.PIPE, text=True)
        self.stdout = self.stderr = None

    def running(self):
        return self.process.poll() is None

    def wait_exit(self, timeout=10):
        """Waits for the program to end; returns its exit status."""
        try:
            self.stdout, self.stderr = self.process.communicate(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise DriveFailed("%s still runs after %s s" % (self.argv[0], timeout))
        return self.process.returncode

    def kill(self):
        if self.running():
            self.process.kill()
            self.stdout, self.stderr = self.process.communicate()


class Ui:
    def __init__(self, artifacts_dir):
        self.artifacts_dir = artifacts_dir
        self.programs = []

    # --- programs

    def start(self, argv=None, env=None, unset=()):
        """Starts the wizard (or argv) in this session; env adds variables, unset removes some."""
        environment = dict(os.environ)
        environment.update(env or {})
        for name in unset:
            environment.pop(name, None)
        program = Program(argv or [os.environ["SIVRANT_SETUP"]], environment)
        self.programs.append(program)
        return program

    def application(self, name=PROGRAM_NAME, timeout=15):
        """The running program's accessible application."""
        return self.wait("application %s on the accessibility bus" % name,
                         lambda: _application(name), timeout)

    def applications(self, name=PROGRAM_NAME):
        return [a for a in tree.root.applications() if _safe(lambda: a.name) == name]

    # --- finding and waiting

    def wait(self, what, condition, timeout=10):
        """Waits until condition() gives something true, and returns it."""
        end = time.monotonic() + timeout
        while True:
            try:
                value = condition()
                if value:
                    return value
            except Exception:  # a node that went away while it was read
                pass
            if time.monotonic() > end:
                raise DriveFailed("timed out after %s s waiting for %s" % (timeout, what))
            time.sleep(0.05)

    def find(self, parent, role=None, name=None, timeout=10, showing=True):
        """The first descendant of parent with that role and name (showing, unless asked)."""
        what = "%s %r" % (role or "widget", name) if name is not None else (role or "widget")
        return self.wait(what, lambda: _first(parent, role, name, showing), timeout)

    def find_all(self, parent, role=None, name=None, showing=True):
        return [n for n in _walk(parent) if _matches(n, role, name, showing)]

    def is_showing(self, parent, role=None, name=None):
        return _first(parent, role, name, True) is not None

    def window(self, title, role="frame", timeout=15):
        """A top-level window of the program by its caption (frame, dialog or alert)."""
        return self.wait("%s %r" % (role, title),
                         lambda: _first(_application(PROGRAM_NAME), role, title, True), timeout)

    def texts(self, parent, role="label"):
        """The texts of the showing labels below parent, in tree order."""
        return [n.name for n in self.find_all(parent, role)]

    def click(self, parent, name, role="push button", timeout=10):
        """Clicks a showing, sensitive button (or other widget) with that visible name."""
        node = self.find(parent, role, name, timeout)
        self.wait("%r to become sensitive" % name, lambda: node.sensitive, timeout)
        node.click()
        return node

    # --- what the screen shows

    def screenshot(self, name):
        """Saves the whole screen as <name>.png in the artifacts folder."""
        path = os.path.join(self.artifacts_dir, name + ".png")
        subprocess.run(["import", "-window", "root", path], check=False, timeout=20)
        return path

    def window_titles(self):
        """Captions of the top-level X windows on screen (no window manager: children of root)."""
        listing = subprocess.run(["xwininfo", "-root", "-children"], capture_output=True,
                                 text=True, timeout=10).stdout
        titles = []
        for match in re.finditer(r'^\s+(0x[0-9a-f]+) "(.*)": \(', listing, re.M):
            state = subprocess.run(["xwininfo", "-id", match.group(1)], capture_output=True,
                                   text=True, timeout=10).stdout
            if "Map State: IsViewable" in state:
                titles.append(match.group(2))
        return titles

    def describe(self):
        """What every window of every program on the bus shows, one widget a line."""
        lines = []
        for app in tree.root.applications():
            lines.append("application %r" % _safe(lambda: app.name))
            for node, depth in _walk_depth(app, 1):
                if _safe(lambda: node.showing):
                    lines.append("  " * depth + _describe_node(node))
        lines.append("X windows on screen: %r" % _safe(self.window_titles, []))
        return "\n".join(lines)

    def finish(self):
        for program in self.programs:
            program.kill()


def _safe(read, default=None):
    try:
        return read()
    except Exception:
        return default


def _application(name):
    for app in tree.root.applications():
        if _safe(lambda: app.name) == name:
            return app
    return None


def _walk(node):
    for child, _ in _walk_depth(node, 0):
        yield child


def _walk_depth(node, depth):
    for child in _safe(lambda: list(node.children), []):
        yield child, depth
        yield from _walk_depth(child, depth + 1)


def _matches(node, role, name, showing):
    return ((role is None or _safe(lambda: node.roleName) == role)
            and (name is None or _safe(lambda: node.name) == name)
            and (not showing or _safe(lambda: node.showing, False)))


def _first(parent, role, name, showing):
    if parent is None:
        return None
    for node in _walk(parent):
        if _matches(node, role, name, showing):
            return node
    return None


def _describe_node(node):
    parts = ["[%s]" % _safe(lambda: node.roleName, "?")]
    name = _safe(lambda: node.name, "")
    if name:
        parts.append(repr(name))
    text = _safe(lambda: node.text)
    if text and text != name:
        parts.append("text=%r" % text)
    states = _safe(lambda: node.getState(), None)
    if states is not None:
        if not states.contains(pyatspi.STATE_SENSITIVE):
            parts.append("(insensitive)")
        if states.contains(pyatspi.STATE_CHECKED):
            parts.append("(checked)")
        if states.contains(pyatspi.STATE_FOCUSED):
            parts.append("(focused)")
    description = _safe(lambda: node.description, "")
    if description:
        parts.append("description=%r" % description)
    return " ".join(parts)


def main(argv):
    test_file, name = argv[0], argv[1]
    args = [ast.literal_eval(a) for a in argv[2:]]
    ui = Ui(os.environ.get("SIVRANT_E2E_ARTIFACTS", "/tmp"))
    try:
        getattr(load_file(test_file), "drive_" + name)(ui, *args)
        return 0
    except Exception:
        traceback.print_exc()
        ui.screenshot("failure-" + name)
        report = ui.describe()
        with open(os.path.join(ui.artifacts_dir, "failure-%s.txt" % name), "w") as out:
            out.write(report + "\n")
        print("\nWhat the windows showed:\n" + report, file=sys.stderr)
        print("A screenshot: failure-%s.png" % name, file=sys.stderr)
        for program in ui.programs:
            program.kill()
            print("\n%s ended with %s; its error stream:\n%s" % (
                " ".join(program.argv), program.process.returncode,
                (program.stderr or "")[-3000:]), file=sys.stderr)
        return 1
    finally:
        ui.finish()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
