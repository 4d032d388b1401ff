"""The host probe and the command executer against the real sudo, users, groups and files."""
import json

from harness import PASSWORDS, expect, expect_equal, scenario

DRIVER = "tests/e2e/e2e-executer-driver"
SUDOERS = "/etc/sudoers.d/astra-admin"


def run_driver(sbx, operations, user="installer", timeout=60):
    """Runs the operations (tuples of strings) in one driver process; returns its replies."""
    lines = "".join("\t".join(str(field) for field in op) + "\n" for op in operations)
    result = sbx.run([sbx.program(DRIVER)], user=user, input=lines, timeout=timeout)
    replies = [json.loads(line) for line in result.stdout.splitlines()]
    expect_equal(len(replies), len(operations), "replies of the driver\n%s" % result)
    for reply in replies:
        expect("error" not in reply, "the driver reports an error: %r" % reply)
    return replies


@scenario()
def test_right_password_then_commands_as_root(sbx):
    init, required, accepted, whoami, *host_ops, ptrace = run_driver(sbx, [
        ("init",),
        ("password-required",),
        ("check-password", PASSWORDS["installer"], 1, 5000),
        ("exec", "id -un", 1),
        ("make-dir", "/opt/Kavex/Sivrant", 1),
        ("add-group", "kavex"),
        ("add-group", "kavex"),
        ("add-user-to-group", "target", "kavex"),
        ("chown", "/opt/Kavex", "root", "kavex", 1),
        ("chmod", "/opt/Kavex", 770, 0),
        ("symlink", "/opt/Kavex", "/home/target/Kavex"),
        ("resolve-link", "/home/target/Kavex"),
        ("file-exists", "/root/.bashrc", 1),
        ("dir-exists", "/root", 1),
        ("find-path", "/opt", "/OPT/kavex/SIVRANT", 1),
        ("ptrace-active",),
    ])
    expect_equal((init["ID"], init["OSType"], init["User"], init["Home"]),
                 ("astra", 1, "installer", "/home/installer"), "host record")
    expect_equal((init["Access"], init["SudoNoPassword"]), (1, False),
                 "a sudoer whom sudo asks: luaSudories, not yet without password")
    expect(required["ok"], "sudo asks installer for a password")
    expect(accepted["ok"], "the right password is accepted")
    expect_equal((whoami["ok"], whoami["output"]), (True, "root\n"), "id -un as root")
    for reply in host_ops:
        expect(reply["ok"], "host operation failed: %r" % reply)
    expect_equal(host_ops[7]["output"], "/opt/Kavex", "ResolveLink gives the link's target")
    expect_equal(host_ops[10]["output"], "/opt/Kavex/Sivrant", "FindPath gives the path on disk")
    expect(ptrace["ok"], "the ptrace lock is active")

    expect_equal(sbx.run(["stat", "-c", "%U:%G %a", "/opt/Kavex"]).stdout, "root:kavex 770\n",
                 "owner and mode of /opt/Kavex")
    expect_equal(sbx.run(["stat", "-c", "%U", "/opt/Kavex/Sivrant"]).stdout, "root\n",
                 "MakeDir as root")
    expect("kavex" in sbx.run(["id", "-nG", "target"]).stdout.split(), "target joined kavex")
    expect_equal(sbx.run(["readlink", "/home/target/Kavex"]).stdout, "/opt/Kavex\n", "link")
    expect_equal(sbx.read("/var/log/sivrant-stubs/astra-ptrace-lock.log"), "root status\n",
                 "astra-ptrace-lock ran once, as root")


@scenario()
def test_wrong_password_is_refused(sbx):
    # Each wrong answer costs sudo's two-second delay: two of them here.
    init, refused, as_root, as_user = run_driver(sbx, [
        ("init",),
        ("check-password", "wrong password", 1, 5000),
        ("exec", "id -un", 1),
        ("exec", "id -un", 0),
    ])
    expect(not refused["ok"], "a wrong password is refused")
    # The refused password was not kept: the stored one (none) is answered, and sudo asks again.
    expect_equal((as_root["ok"], as_root["output"]), (False, "Authentification failed!"),
                 "a command as root without an accepted password")
    expect_equal((as_user["ok"], as_user["output"]), (True, "installer\n"),
                 "a command as the user after that")


@scenario()
def test_sudoer_whom_sudo_does_not_ask(sbx):
    sbx.write(SUDOERS, "%astra-admin ALL=(ALL:ALL) NOPASSWD: ALL\n", mode="440")
    init, required, whoami = run_driver(sbx, [
        ("init",),
        ("password-required",),
        ("exec", "id -un", 1),
    ])
    expect_equal((init["Access"], init["SudoNoPassword"]), (1, True),
                 "SudoNoPassword at start-up")
    expect(not required["ok"], "sudo does not ask")
    expect_equal((whoami["ok"], whoami["output"]), (True, "root\n"), "id -un as root")


@scenario()
def test_credentials_cache_within_one_process(sbx):
    # The password is checked but not kept: later commands as root still run, because sudo
    # remembers the credentials of this process; a new process is asked again.
    first = run_driver(sbx, [
        ("init",),
        ("check-password", PASSWORDS["installer"], 0, 5000),
        ("password-required",),
        ("exec", "id -un", 1),
    ])
    expect(first[1]["ok"], "the password is accepted")
    expect(not first[2]["ok"], "no second prompt within the same process")
    expect_equal((first[3]["ok"], first[3]["output"]), (True, "root\n"),
                 "a command as root without a stored password")
    second = run_driver(sbx, [("init",), ("password-required",)])
    expect_equal(second[0]["SudoNoPassword"], False, "a new process is not trusted yet")
    expect(second[1]["ok"], "a new process is asked again")
