"""A walk through the wizard's pages with a screenshot of each, for scripts/run without a display
(not a test: it checks nothing; $SIVRANT_RUN_REPO picks the repository state). It authenticates
with the sandbox user's password, accepts what must be accepted, goes forward while it can and
stops before anything is installed.
    tests/e2e/run-scenario BUILD_DIR tests/e2e/tour.py tour
"""
import os
import re

from harness import PASSWORDS, WINDOW_TITLE, scenario

FORWARD = ("Вперёд", "Дальше")
AUTHENTICATION_LINK = "Нажмите сюда, для запроса аутентификации."


@scenario(repo=os.environ.get("SIVRANT_RUN_REPO", "new"), time_limit=180)
def tour(sbx):
    sbx.drive("pages", PASSWORDS["installer"], time_limit=150)


def drive_pages(ui, password):
    ui.start()
    app = ui.application()
    window = ui.window(WINDOW_TITLE)
    title = _title(ui, window)
    for number in range(1, 20):
        ui.wait("the page drawn", lambda: window.showing, 5)
        ui.screenshot("%02d-%s" % (number, _slug(title)))
        if ui.is_showing(window, "push button", AUTHENTICATION_LINK):
            _authenticate(ui, app, window, password)
        for box in ui.find_all(window, "check box"):
            if "Принимаю" in box.name and not box.checked:
                box.click()
        forward = _enabled_button(ui, window, FORWARD)
        if forward is None:
            _choose_in_empty_lists(ui, app, window)
            forward = _enabled_button(ui, window, FORWARD)
        if forward is None:
            print("stopped at %r: no way forward but to install or to leave" % title)
            return
        forward.click()
        ui.wait("the next page", lambda: _title(ui, window) != title, 20)
        title = _title(ui, window)


def _authenticate(ui, app, window, password):
    ui.click(window, AUTHENTICATION_LINK)
    dialog = ui.find(app, "dialog")
    ui.screenshot("00-sudo-dialog")
    entry = ui.find(dialog, "password text")
    entry.click()
    entry.typeText(password)
    ui.wait("the password typed", lambda: len(entry.text) == len(password))
    ui.click(dialog, "Да")
    ui.wait("Forward enabled", lambda: _enabled_button(ui, window, ("Вперёд",)), 20)


def _choose_in_empty_lists(ui, app, window):
    """Picks the user "target" (or the first entry) in drop-down lists that show nothing."""
    for combo in ui.find_all(window, "combo box"):
        if combo.name:
            continue
        entries = [item.name for item in combo.child(roleName="menu").children]
        if not entries:
            continue
        combo.click()
        entry = ui.find(app, "menu item", "target" if "target" in entries else entries[0])
        entry.click()
        ui.wait("the list closed", lambda: not entry.showing)


def _enabled_button(ui, window, names):
    for name in names:
        for button in ui.find_all(window, "push button", name):
            if button.sensitive:
                return button
    return None


def _title(ui, window):
    labels = ui.texts(window)
    return labels[0] if labels else ""


def _slug(title):
    return re.sub(r"\W+", "-", title.lower()).strip("-")[:40] or "page"
