"""The wizard's own steps for the drives of the test_wizard_*.py scenarios: its main window, the
six buttons, drop-down lists, the check-box tree and the package table, the sudo dialog and the
message dialogs, read and worked through gui.Ui as a user would."""
import time

import pyatspi

TITLE = "Установка - Модуль интеграции Тавир Про 2.0.1 под ОС Linux"
WELCOME = "Добро пожаловать в мастер установки Модуль интеграции Тавир Про 2.0.1"
LICENCE = "Лицензионный договор"
USER = "Выбор пользователя"
TYPE = "Выбор типа установки"
OPTIONS = "Выбор параметров установки"
PACKAGES = "Проверка необходимости установки Linux-пакетов"
CONFIRM = "Подтверждение действий"
AUTH_LINK = "Нажмите сюда, для запроса аутентификации."
AUTH_INFO = "Для продолжения установки, вам нужна аутентификация."
ACCEPT = "Принимаю условия Лицензионного договора"
AS_NEW = "Новая установка"
PACKAGE_ERROR = ("ПРОДОЛЖЕНИЕ УСТАНОВКИ НЕ ВОЗМОЖНО!\n"
                 "Как минимум 1 пакет не прошел проверку!")
WIZARD_BUTTONS = ("Назад", "Дальше", "Установить", "Готово", "Вперёд", "Отмена", "Закрыть")


def checked(node):
    return node.getState().contains(pyatspi.STATE_CHECKED)


def enabled(node):
    return node.getState().contains(pyatspi.STATE_SENSITIVE)


class Wizard:
    """The running wizard's main window."""

    def __init__(self, ui, env=None):
        self.ui = ui
        self.program = ui.start(env=env)
        self.app = ui.application()
        self.win = ui.window(TITLE)

    def shot(self, name):
        time.sleep(0.3)  # let the last change be drawn
        self.ui.screenshot(name)

    # --- the main window

    def main_title(self):
        """The main title above the page: the first showing label of the window."""
        labels = self.ui.texts(self.win)
        return labels[0] if labels else None

    def wait_page(self, title, timeout=20):
        self.ui.wait("the page %r (showing %r)" % (title, self.main_title()),
                     lambda: self.main_title() == title, timeout)

    def buttons(self):
        """The wizard buttons shown, each with whether it is enabled."""
        return {b.name: enabled(b) for b in self.ui.find_all(self.win, "push button")
                if b.name in WIZARD_BUTTONS}

    def wait_buttons(self, wanted, timeout=10):
        self.ui.wait("buttons %r (now %r)" % (wanted, self.buttons()),
                     lambda: self.buttons() == wanted, timeout)

    def label_shown(self, text):
        return self.ui.is_showing(self.win, "label", text)

    def press(self, name, role="push button"):
        return self.ui.click(self.win, name, role)

    def next(self):
        self.press("Дальше")

    def back(self):
        self.press("Назад")

    def memo_texts(self):
        return [n.text for n in self.ui.find_all(self.win, "text")]

    # --- drop-down lists

    def combo(self, index=0):
        return self.ui.find_all(self.win, "combo box")[index]

    def items(self, index=0):
        menu = self.combo(index).child(roleName="menu")
        return [item.name for item in menu.children]

    def choose(self, item, index=0):
        self.combo(index).click()
        entry = self.ui.find(self.app, "menu item", item)
        entry.click()
        self.ui.wait("the list to close", lambda: not entry.showing)

    # --- tables: the options tree (check column, text column) and the package list

    def table_rows(self, role, columns):
        table = self.ui.find(self.win, role).queryTable()
        return [[table.getAccessibleAt(r, c) for c in range(columns)]
                for r in range(table.nRows)]

    def option_rows(self):
        """Each row of the options tree by its text: (check cell, text cell)."""
        return {row[1].name: row for row in self.table_rows("tree table", 2)}

    def option_texts(self):
        return [row[1].name for row in self.table_rows("tree table", 2)]

    def package_rows(self):
        return [[cell.name for cell in row] for row in self.table_rows("table", 2)]

    # --- dialogs

    def message(self, timeout=15):
        """The message dialog on screen (GTK names it by its kind, not by its caption)."""
        return self.ui.wait("a message dialog",
                            lambda: next((n for n in self.app.children
                                          if n.roleName == "alert" and n.showing), None), timeout)

    def message_text(self, dialog):
        return "\n".join(t for t in self.ui.texts(dialog) if t.strip())

    def answer(self, dialog, button):
        self.ui.click(dialog, button)
        self.ui.wait("the dialog to close", lambda: not dialog.showing)

    def sudo_dialog(self):
        return self.ui.window("Аутентификация!", role="dialog")

    def enter_password(self, dialog, password):
        entry = self.ui.find(dialog, "password text")
        entry.click()
        entry.typeText(password)
        self.ui.wait("the password typed", lambda: len(entry.text) == len(password))
        assert password not in entry.text, "the password shows in clear text"
        self.ui.click(dialog, "Да")

    def close(self):
        """Cancel (or "Закрыть"), as the user ends the wizard."""
        name = "Закрыть" if "Закрыть" in self.buttons() else "Отмена"
        self.press(name)


def expect_equal(actual, wanted, what):
    assert actual == wanted, "%s:\n  got:    %r\n  wanted: %r" % (what, actual, wanted)


def without_password(sbx):
    """Root's setup: the desktop user may use sudo without typing a password."""
    sbx.sh("echo 'installer ALL=(ALL) NOPASSWD: ALL' >/etc/sudoers.d/zz-installer"
           " && chmod 440 /etc/sudoers.d/zz-installer")


def reach_user_page(w):
    """Welcome to the user page for a sudoer without a password prompt: accepts the licence."""
    w.wait_page(WELCOME)
    w.press("Вперёд")
    w.wait_page(LICENCE)
    w.ui.find(w.win, "check box", ACCEPT).click()
    w.next()
    w.wait_page(USER)


def reach_type_page(w, user="target"):
    """Welcome to the installation-type page for a sudoer without a password prompt."""
    reach_user_page(w)
    if user is not None and w.combo().name != user:
        w.choose(user)
    w.next()
    w.wait_page(TYPE)
