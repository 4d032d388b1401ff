"""The package check of the install schema against the real apt-cache, in Russian, for each state
of the sandbox's repository (wine must be 9.0 or later; winetricks any version)."""
import json

from harness import expect, expect_equal, scenario

DRIVER = "tests/e2e/e2e-apt-driver"
SCHEMA = "tests/e2e/install_schema.xml"
NONE = "(отсутствует)"


def check_packages(sbx, env=None):
    """Runs the check as installer; returns ({name: package}, summary)."""
    result = sbx.run([sbx.program(DRIVER), sbx.program(SCHEMA)], user="installer", env=env)
    replies = [json.loads(line) for line in result.stdout.splitlines()]
    errors = [r for r in replies if "error" in r]
    expect(not errors, "the check raised: %r" % errors)
    packages = {r["Name"]: r for r in replies if "Name" in r}
    expect_equal(sorted(packages), ["wine", "winetricks"], "packages of the schema")
    for package in packages.values():
        expect(package["Checked"], "%s is not marked checked" % package["Name"])
    return packages, replies[-1]["Summary"]


def expect_package(package, status, action, installed, candidate):
    expect_equal((package["Status"], package["Action"], package["Installed"],
                  package["Candidate"]), (status, action, installed, candidate),
                 "%s: status, action, installed, candidate" % package["Name"])


@scenario(repo="new")
def test_new_installation(sbx):
    packages, summary = check_packages(sbx)
    expect_package(packages["wine"], "slpsNone", "slpaInstall", NONE, "9.0")
    expect_package(packages["winetricks"], "slpsNone", "slpaInstall", NONE, "20240105")
    expect_equal(packages["wine"]["MajorVersionText"], "9", "wine's major version to install")
    expect_equal(summary, "slpsOK", "summary")


@scenario(repo="must-update")
def test_installed_wine_must_be_updated(sbx):
    packages, summary = check_packages(sbx)
    expect_package(packages["wine"], "slpsMustUpdate", "slpaNone", "8.19", "9.0")
    expect_package(packages["winetricks"], "slpsNone", "slpaInstall", NONE, "20240105")
    expect_equal(summary, "slpsMustUpdate", "summary")


@scenario(repo="not-supported")
def test_installed_wine_cannot_reach_the_minimum(sbx):
    packages, summary = check_packages(sbx)
    expect_package(packages["wine"], "slpsNotSupported", "slpaNone", "8.19", "8.20")
    expect_equal(summary, "slpsNotSupported", "summary")


@scenario(repo="no-winetricks")
def test_winetricks_missing_from_the_repository(sbx):
    packages, summary = check_packages(sbx)
    expect_package(packages["wine"], "slpsNone", "slpaInstall", NONE, "9.0")
    expect_package(packages["winetricks"], "slpsNotFound", "slpaNone", NONE, NONE)
    expect_equal(summary, "slpsNotFound", "summary")


@scenario(repo="new")
def test_installed_wine_is_up_to_date(sbx):
    sbx.run(["apt-get", "install", "-yq", "wine", "winetricks"])
    packages, summary = check_packages(sbx)
    expect_package(packages["wine"], "slpsOK", "slpaNone", "9.0", "9.0")
    expect_package(packages["winetricks"], "slpsOK", "slpaNone", "20240105", "20240105")
    expect_equal(summary, "slpsOK", "summary")


@scenario(repo="new")
def test_apt_in_another_language_finds_nothing(sbx):
    # The check reads only apt's Russian words: an English apt-cache counts as not found.
    packages, summary = check_packages(sbx, env={"LANG": "C.UTF-8"})
    expect_equal((packages["wine"]["Status"], packages["winetricks"]["Status"]),
                 ("slpsNotFound", "slpsNotFound"), "statuses with English output")
    expect_equal(summary, "slpsNotFound", "summary")
