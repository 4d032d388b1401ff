"""End-to-end scenarios in the disposable Astra Linux system (tests/sandbox/sandbox).

A file tests/e2e/test_*.py holds scenarios: functions named test_* that take a Sandbox. They run
on the host, as root: they prepare the sandbox, run programs inside it and check what those left
behind. A scenario that works a window calls sbx.drive("name", ...): the function drive_<name>
of the same file then runs inside the sandbox as a desktop user, in a session of its own, and
gets a gui.Ui to find, read, click and type as a user would.

CMake registers every test_* function as the ctest test e2e.<file>.<function>. By hand (root):
    tests/e2e/run-scenario BUILD_DIR tests/e2e/test_startup.py test_missing_os_release
Screenshots and, on failure, what the window showed land in BUILD_DIR/e2e-artifacts/<test>/.
"""
import importlib.util
import os
import shutil
import signal
import subprocess
import sys
import time
import traceback

HERE = os.path.dirname(os.path.abspath(__file__))
SANDBOX_SCRIPT = os.path.join(HERE, "..", "sandbox", "sandbox")
INSIDE_BUILD = "/opt/sivrant-build"  # the build folder, read-only
INSIDE_TESTS = "/opt/sivrant-e2e"  # this folder, read-only
INSIDE_ARTIFACTS = "/var/tmp/sivrant-e2e"  # screenshots and reports made inside
PYTHON = "/usr/bin/python3"  # the system's, which has dogtail

# Passwords of the sandbox's users (tests/sandbox/base-layer.sh).
PASSWORDS = {"installer": "instpass", "target": "targetpass"}
WINDOW_TITLE = "Установка - Модуль интеграции Тавир Про 2.0.1 под ОС Linux"


class ScenarioFailed(AssertionError):
    pass


class TimeLimitExceeded(ScenarioFailed):
    pass


def scenario(repo="new", time_limit=90):
    """Marks a test_* function with the repository state of its sandbox and its time limit (s)."""

    def mark(function):
        function.repo_state = repo
        function.time_limit = time_limit
        return function

    return mark


def expect(condition, message):
    if not condition:
        raise ScenarioFailed(message)


def expect_equal(actual, wanted, what):
    if actual != wanted:
        raise ScenarioFailed("%s:\n  got:    %r\n  wanted: %r" % (what, actual, wanted))


class Result:
    def __init__(self, argv, returncode, stdout, stderr):
        self.argv, self.returncode, self.stdout, self.stderr = argv, returncode, stdout, stderr

    def __repr__(self):
        return "%r exited %d\n--- stdout\n%s--- stderr\n%s" % (
            self.argv, self.returncode, self.stdout, self.stderr)


class Sandbox:
    """One disposable Astra Linux system, started for one scenario and torn down after it."""

    def __init__(self, name, build_dir, scenario_file, repo="new"):
        self.name = name
        self.build_dir = os.path.abspath(build_dir)
        self.scenario_file = os.path.abspath(scenario_file)
        self.repo = repo

    # --- life cycle

    def up(self):
        binds = ["%s:%s" % (self.build_dir, INSIDE_BUILD), "%s:%s" % (HERE, INSIDE_TESTS)]
        argv = [SANDBOX_SCRIPT, "up", self.name, "--repo", self.repo]
        for bind in binds:
            argv += ["--bind", bind]
        env = dict(os.environ, SIVRANT_SBX_OWNER=str(os.getpid()))
        subprocess.run(argv, check=True, env=env, stdout=subprocess.DEVNULL, timeout=120)
        self.run(["install", "-d", "-m", "1777", INSIDE_ARTIFACTS])

    def down(self):
        subprocess.run([SANDBOX_SCRIPT, "down", self.name], stdout=subprocess.DEVNULL,
                       timeout=60)

    # --- running things inside

    def run(self, argv, user="root", env=None, input=None, timeout=60, check=True):
        """Runs argv inside as user; returns a Result. check: a non-zero exit fails the scenario."""
        command = [SANDBOX_SCRIPT, "exec", self.name, "-u", user]
        for key, value in (env or {}).items():
            command += ["-e", "%s=%s" % (key, value)]
        command += ["--"] + list(argv)
        try:
            done = subprocess.run(command, input=input, capture_output=True, text=True,
                                  timeout=timeout)
        except subprocess.TimeoutExpired:
            raise ScenarioFailed("%r as %s did not end within %d s" % (argv, user, timeout))
        result = Result(list(argv), done.returncode, done.stdout, done.stderr)
        if check and result.returncode != 0:
            raise ScenarioFailed("command failed inside the sandbox: %r" % result)
        return result

    def sh(self, script, user="root", **options):
        """Runs a bash script text inside."""
        return self.run(["bash", "-c", script], user=user, **options)

    def read(self, path):
        return self.run(["cat", path]).stdout

    def exists(self, path):
        return self.run(["test", "-e", path], check=False).returncode == 0

    def write(self, path, text, mode="644", owner="root"):
        self.run(["install", "-D", "-m", mode, "-o", owner, "/dev/stdin", path], input=text)

    def program(self, relative):
        """Inside path of a file of the build folder, given as a host path or one relative to it."""
        host_path = os.path.abspath(os.path.join(self.build_dir, relative))
        return INSIDE_BUILD + "/" + os.path.relpath(host_path, self.build_dir)

    @property
    def setup_program(self):
        return self.program("sivrant-setup")

    def set_os_release(self, text):
        """Replaces /etc/os-release (text None: removes it)."""
        self.run(["rm", "-f", "/etc/os-release"])
        if text is not None:
            self.write("/etc/os-release", text)

    def let_into_display(self, user):
        """What the wizard does before it runs programs of another user on the desktop."""
        self.run(["xhost", "+SI:localuser:" + user], user="installer")

    # --- driving a window

    def drive(self, name, *args, user="installer", time_limit=60, env=None):
        """Runs drive_<name>(ui, *args) of the scenario's file inside, as user, in a desktop
        session of its own. Its failure fails the scenario, with what the window showed."""
        argv = ["timeout", "-k", "5", str(time_limit),
                INSIDE_TESTS + "/gui-session", PYTHON, INSIDE_TESTS + "/gui.py",
                INSIDE_TESTS + "/" + os.path.basename(self.scenario_file), name]
        argv += [repr(a) for a in args]
        variables = {"SIVRANT_SETUP": self.setup_program, "SIVRANT_E2E_ARTIFACTS": INSIDE_ARTIFACTS}
        variables.update(env or {})
        result = self.run(argv, user=user, env=variables, timeout=time_limit + 15, check=False)
        sys.stdout.write(_quiet(result.stdout))
        if result.returncode == 124:
            raise ScenarioFailed("drive_%s did not end within %d s\n%s" % (name, time_limit,
                                                                          result.stderr))
        if result.returncode != 0:
            raise ScenarioFailed("drive_%s failed:\n%s" % (name, _quiet(result.stderr)))
        return result

    def copy_artifacts(self, host_dir):
        """Copies what the scenario made inside (screenshots, reports) to host_dir."""
        os.makedirs(host_dir, exist_ok=True)
        done = subprocess.run([SANDBOX_SCRIPT, "exec", self.name, "--", "tar", "-C",
                               INSIDE_ARTIFACTS, "-c", "."], capture_output=True, timeout=60)
        if done.returncode == 0 and done.stdout:
            subprocess.run(["tar", "-C", host_dir, "-x", "--no-same-owner"], input=done.stdout,
                           check=False)


def _quiet(text):
    """What a drive printed, without the session bus's start-up chatter."""
    noise = ("dbus-daemon[", "SpiRegistry daemon is running")
    return "".join(line for line in text.splitlines(True) if not line.startswith(noise))


def load_file(path):
    """The Python file at path as a module, with its folder first in sys.path for its imports.
    The harness loads a scenario file with it, gui.py the same file inside the sandbox."""
    spec = importlib.util.spec_from_file_location(os.path.splitext(os.path.basename(path))[0],
                                                  path)
    module = importlib.util.module_from_spec(spec)
    sys.path.insert(0, os.path.dirname(os.path.abspath(path)))
    spec.loader.exec_module(module)
    return module


def _on_time_limit(signum, frame):
    if signum == signal.SIGTERM:
        raise TimeLimitExceeded("terminated (ctest's time limit?)")
    raise TimeLimitExceeded("the scenario's time limit has passed")


def main(argv):
    if len(argv) != 3:
        print("usage: run-scenario BUILD_DIR TEST_FILE TEST_FUNCTION", file=sys.stderr)
        return 2
    build_dir, test_file, function_name = argv
    if os.geteuid() != 0:
        print("the sandbox needs root: skipped")
        return 77
    function = getattr(load_file(test_file), function_name)
    repo = getattr(function, "repo_state", "new")
    time_limit = getattr(function, "time_limit", 90)
    test_name = "%s.%s" % (os.path.splitext(os.path.basename(test_file))[0], function_name)
    artifacts = os.path.join(os.path.abspath(build_dir), "e2e-artifacts", test_name)
    shutil.rmtree(artifacts, ignore_errors=True)
    sandbox = Sandbox("e2e-%s-%d" % (function_name.removeprefix("test_")[:40], os.getpid()),
                      build_dir, test_file, repo)
    started = time.monotonic()
    signal.signal(signal.SIGALRM, _on_time_limit)
    signal.signal(signal.SIGTERM, _on_time_limit)  # ctest's own time limit: still clean up
    signal.alarm(time_limit)
    failed = True
    try:
        sandbox.up()
        function(sandbox)
        failed = False
    except Exception:  # report every failure, the harness's own included
        traceback.print_exc(file=sys.stdout)
    finally:
        signal.alarm(0)
        try:
            sandbox.copy_artifacts(artifacts)
        finally:
            sandbox.down()
    seconds = time.monotonic() - started
    if failed:
        print("FAILED %s after %.1f s; screenshots and reports: %s" % (test_name, seconds,
                                                                      artifacts))
        return 1
    print("passed %s in %.1f s (repository %s)" % (test_name, seconds, repo))
    if os.listdir(artifacts):
        print("screenshots: %s" % artifacts)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
