"""A new installation through the wizard's pages, as the desktop user "installer" does it: the
sudo password dialog, the licence, the target user, the default and the custom route with Back
retracing it, the confirmation summary and the close question."""
from harness import PASSWORDS, expect, expect_equal, scenario

DEFAULT_SUMMARY = "\n".join([
    "Системные",
    "  Linux-пакеты",
    "    wine: установить 9.0",
    "    winetricks: установить 20240105",
    "  Отключить блокировку трассировки PTrace: да",
    "Пользовательские",
    "  Пользователь: target",
    "    Включить сглаживание шрифтов: да",
    "    Отключить декорирование окон: да",
    "    Создавать ссылки(ярлыки):",
    "        на рабочем столе: да",
    "        в меню \"Пуск\": да",
])
AUTH_ERROR = "Ошибка аутентификации, попробуйте ещё раз."
TOO_MANY = "Превышено количество неверных попыток"


def run_folders(sbx):
    return sbx.sh("ls -d /tmp/Kavex_Sivrant_* 2>/dev/null || true").stdout.split()


def ptrace_queries(sbx):
    log = sbx.sh("cat /var/log/sivrant-stubs/astra-ptrace-lock.log 2>/dev/null || true").stdout
    return [line for line in log.splitlines() if line.endswith("status")]


@scenario(repo="new", time_limit=150)
def test_new_installation_default_and_custom_routes(sbx):
    sbx.drive("new_installation", PASSWORDS["installer"], time_limit=120)
    # The lock was asked for once, as root, after the password was accepted.
    expect_equal(ptrace_queries(sbx), ["root status"], "ptrace lock queries")
    # Closing removed the run's folder.
    expect_equal(run_folders(sbx), [], "run folders left in /tmp")


def drive_new_installation(ui, password):
    from wizard_steps import (ACCEPT, AUTH_INFO, AUTH_LINK, CONFIRM, LICENCE, OPTIONS, PACKAGE_ERROR,
                              PACKAGES, TITLE, TYPE, USER, WELCOME, Wizard, checked, enabled,
                              expect_equal)
    w = Wizard(ui)
    w.wait_page(WELCOME)
    assert w.label_shown(AUTH_INFO), "the authentication panel is missing"
    w.wait_buttons({"Вперёд": False, "Отмена": True})
    welcome = w.memo_texts()[0]
    assert "установит на ваш конмпьютер Модуль интеграции Тавир Про 2.0.1," in welcome, welcome
    # The run's folder exists from the start, open to the wizard's user only.
    folders = ui.wait("the run's folder", lambda: __import__("glob").glob("/tmp/Kavex_Sivrant_*"))
    assert len(folders) == 1, folders
    import os
    import stat
    info = os.stat(folders[0])
    assert stat.S_IMODE(info.st_mode) == 0o700 and info.st_uid == os.getuid(), oct(info.st_mode)
    w.shot("01-welcome")

    # The sudo dialog: wrong, wrong, right.
    w.press(AUTH_LINK)
    dialog = w.sudo_dialog()
    entry = ui.find(dialog, "password text")
    ok = ui.find(dialog, "push button", "Да")
    assert not enabled(ok), "OK is enabled with an empty password"
    assert not ui.is_showing(dialog, "label", AUTH_ERROR)
    w.shot("02-sudo-dialog")
    for attempt in (1, 2):
        w.enter_password(dialog, "wrong-%d" % attempt)
        ui.wait("the error panel", lambda: ui.is_showing(dialog, "label", AUTH_ERROR), 15)
        ui.wait("the password field emptied", lambda: entry.text == "")
        assert not enabled(ok), "OK is enabled after the field was emptied"
        assert dialog.showing
    w.shot("02b-sudo-dialog-wrong-password")
    # Holding the eye button shows the typed characters; releasing masks them again.
    from dogtail import rawinput
    entry.typeText("abc")
    ui.wait("typed", lambda: len(entry.text) == 3)
    assert entry.text != "abc", "the password shows in clear text"
    eye = ui.find(dialog, "push button", "Показать символы")
    x, y = eye.position[0] + eye.size[0] // 2, eye.position[1] + eye.size[1] // 2
    rawinput.press(x, y)
    ui.wait("the characters shown while the button is held", lambda: entry.text == "abc")
    rawinput.release(x, y)
    ui.wait("the characters masked again", lambda: entry.text != "abc")
    entry.text = ""
    w.enter_password(dialog, password)
    ui.wait("the dialog to close", lambda: not dialog.showing, 15)
    w.wait_buttons({"Вперёд": True, "Отмена": True})
    assert not w.label_shown(AUTH_INFO), "the authentication panel is still shown"
    w.shot("01b-welcome-authorised")

    # The licence: Next follows the box, and the box survives going back.
    w.press("Вперёд")
    w.wait_page(LICENCE)
    w.wait_buttons({"Назад": True, "Дальше": False, "Отмена": True})
    w.shot("03-licence")
    accept = ui.find(w.win, "check box", ACCEPT)
    accept.click()
    w.wait_buttons({"Назад": True, "Дальше": True, "Отмена": True})
    accept.click()
    w.wait_buttons({"Назад": True, "Дальше": False, "Отмена": True})
    accept.click()
    w.back()
    w.wait_page(WELCOME)
    w.press("Вперёд")
    w.wait_page(LICENCE)
    assert checked(ui.find(w.win, "check box", ACCEPT)), "the licence box lost its tick"
    w.next()

    # Two login users: none is preselected.
    w.wait_page(USER)
    expect_equal(w.items(), ["installer", "target"], "login users")
    w.wait_buttons({"Назад": True, "Дальше": False, "Отмена": True})
    assert not w.label_shown("Новая установка")
    w.shot("04-user")
    w.choose("target")
    w.wait_buttons({"Назад": True, "Дальше": True, "Отмена": True})
    w.next()

    # The default route leads straight to the package check.
    w.wait_page(TYPE)
    expect_equal(w.items(), ["По умолчанию", "Выборочная"], "installation types")
    expect_equal(w.combo().name, "По умолчанию", "preselected type")
    assert w.label_shown("Будет установлен Модуль интеграции Тавир Про 2.0.1 в типовой конфигурации")
    w.shot("05-type")
    import time
    started = time.monotonic()
    w.next()
    w.wait_page(PACKAGES, 30)
    # The apt queries run on the GUI thread: the window waits for them.
    print("package check shown %.1f s after Next" % (time.monotonic() - started))
    expect_equal(w.package_rows(), [["wine", "Установить"], ["winetricks", "Установить"]],
                 "package rows")
    assert not w.label_shown(PACKAGE_ERROR), "the error panel shows"
    w.wait_buttons({"Назад": True, "Дальше": True, "Отмена": True})
    w.shot("07-packages")
    w.next()
    w.wait_page(CONFIRM)
    w.wait_buttons({"Назад": True, "Установить": True, "Отмена": True})
    expect_equal(w.memo_texts()[0], DEFAULT_SUMMARY, "summary of a default new installation")
    w.shot("08-confirm")

    # Back retraces the default route; then the custom route, retraced too.
    w.back()
    w.wait_page(PACKAGES)
    w.back()
    w.wait_page(TYPE)
    w.choose("Выборочная")
    assert w.label_shown("Позволяет настроить параметры установки")
    w.next()
    w.wait_page(OPTIONS)
    work_options(w)
    w.next()
    w.wait_page(PACKAGES)
    w.next()
    w.wait_page(CONFIRM)
    summary = w.memo_texts()[0].split("\n")
    assert "    Добавить ассоциацию exe-файлов для Wine: да" in summary, summary
    assert not any("Создавать ссылки" in line or "на рабочем столе" in line for line in summary)
    for page in (PACKAGES, OPTIONS, TYPE):
        w.back()
        w.wait_page(page)

    # The close question: No keeps the wizard, Yes ends it.
    w.close()
    question = w.message()
    expect_equal(w.message_text(question), "Вы действительно хотите прекратить установку?",
                 "close question")
    # Main window and question both carry the window title.
    expect_equal(ui.window_titles().count(TITLE), 2, "windows titled %r" % TITLE)
    w.shot("09-close-question")
    w.answer(question, "Нет")
    assert w.program.running(), "No closed the wizard"
    w.close()
    w.answer(w.message(), "Да")
    expect_equal(w.program.wait_exit(20), 0, "exit status")


def work_options(w):
    from wizard_steps import checked, enabled, expect_equal
    ui = w.ui
    expect_equal(w.option_texts(),
                 ["Системные", "Linux-пакеты", "wine", "winetricks",
                  "Отключить блокировку трассировки PTrace", "Пользовательские",
                  "Добавить ассоциацию exe-файлов для Wine", "Включить сглаживание шрифтов",
                  "Отключить декорирование окон", "Создавать ссылки(ярлыки)", "на рабочем столе",
                  "в меню \"Пуск\""], "options tree")
    rows = w.option_rows()
    w.shot("06-options")
    # Required packages cannot be unticked.
    rows["wine"][0].click()
    assert checked(rows["wine"][0]), "a required package was unticked"
    # The links option switches its links off and back on with their own ticks.
    desktop, menu, links = (rows["на рабочем столе"][0], rows["в меню \"Пуск\""][0],
                            rows["Создавать ссылки(ярлыки)"][0])
    desktop.click()
    ui.wait("the desktop link unticked", lambda: not checked(desktop))
    links.click()
    ui.wait("the links unticked and disabled",
            lambda: not checked(menu) and not enabled(menu) and not enabled(desktop))
    w.shot("06b-options-links-off")
    links.click()
    ui.wait("each link back as it was", lambda: checked(menu) and enabled(menu)
            and enabled(desktop) and not checked(desktop))
    links.click()
    association = rows["Добавить ассоциацию exe-файлов для Wine"][0]
    association.click()
    ui.wait("the association ticked", lambda: checked(association))
    # The description pane shows the focused element's description.
    w.press("Показать описание элементов")
    rows["Включить сглаживание шрифтов"][1].click()
    ui.wait("the description", lambda: "Обеспечивает улучшенное качество отображения шрифтов"
            in w.memo_texts())
    w.shot("06c-options-description")


@scenario(repo="new", time_limit=90)
def test_three_wrong_passwords_end_the_dialog(sbx):
    sbx.drive("three_wrong_passwords", time_limit=75)
    expect_equal(ptrace_queries(sbx), [], "ptrace lock queries without a password")


def drive_three_wrong_passwords(ui):
    from wizard_steps import AUTH_INFO, AUTH_LINK, WELCOME, Wizard, expect_equal
    w = Wizard(ui)
    w.wait_page(WELCOME)
    w.press(AUTH_LINK)
    dialog = w.sudo_dialog()
    for attempt in (1, 2, 3):
        w.enter_password(dialog, "wrong-%d" % attempt)
        if attempt < 3:
            ui.wait("the error panel", lambda: ui.is_showing(dialog, "label", AUTH_ERROR), 15)
    message = w.message(20)
    expect_equal(w.message_text(message), TOO_MANY, "message after three wrong passwords")
    assert "Аутентификация!" in ui.window_titles(), ui.window_titles()
    w.shot("01-too-many-attempts")
    w.answer(message, "OK")
    ui.wait("the password dialog to close", lambda: not dialog.showing)
    w.wait_buttons({"Вперёд": False, "Отмена": True})
    assert w.label_shown(AUTH_INFO), "the authentication panel went away"
    # A new dialog counts its attempts anew: one wrong password leaves it open.
    w.press(AUTH_LINK)
    dialog = w.sudo_dialog()
    assert not ui.is_showing(dialog, "label", AUTH_ERROR), "the new dialog shows an old error"
    w.enter_password(dialog, "wrong-again")
    ui.wait("the error panel", lambda: ui.is_showing(dialog, "label", AUTH_ERROR), 15)
    assert not [n for n in w.app.children if n.roleName == "alert" and n.showing]
    ui.click(dialog, "Отмена")
    ui.wait("the dialog to close", lambda: not dialog.showing)
    w.wait_buttons({"Вперёд": False, "Отмена": True})


@scenario(repo="new", time_limit=90)
def test_sudoer_without_password_and_one_login_user(sbx):
    sbx.sh("echo 'installer ALL=(ALL) NOPASSWD: ALL' >/etc/sudoers.d/zz-installer"
           " && chmod 440 /etc/sudoers.d/zz-installer && userdel -r target")
    sbx.drive("without_password_one_user", time_limit=60)
    expect_equal(ptrace_queries(sbx), ["root status"], "ptrace lock queries at start")


def drive_without_password_one_user(ui):
    from wizard_steps import ACCEPT, AUTH_INFO, LICENCE, USER, WELCOME, Wizard, expect_equal
    w = Wizard(ui)
    w.wait_page(WELCOME)
    w.wait_buttons({"Вперёд": True, "Отмена": True})
    assert not w.label_shown(AUTH_INFO), "the authentication panel shows for a sudoer"
    w.shot("01-welcome-without-password")
    w.press("Вперёд")
    w.wait_page(LICENCE)
    ui.find(w.win, "check box", ACCEPT).click()
    w.next()
    # The only login user is preselected and Next is enabled at once.
    w.wait_page(USER)
    expect_equal(w.combo().name, "installer", "preselected user")
    w.wait_buttons({"Назад": True, "Дальше": True, "Отмена": True})
    w.shot("04-one-user")


@scenario(repo="new", time_limit=90)
def test_red_os_host_closes_after_saying_why(sbx):
    # RED OS passes the start-up check, but the install schema has no section for it.
    sbx.set_os_release('NAME="RED OS"\nID=redos\nVERSION_ID=8.0.2\n')
    sbx.sh("echo 'installer ALL=(ALL) NOPASSWD: ALL' >/etc/sudoers.d/zz-installer"
           " && chmod 440 /etc/sudoers.d/zz-installer")
    sbx.drive("red_os", time_limit=60)
    expect_equal(run_folders(sbx), [], "run folders left in /tmp")


def drive_red_os(ui):
    from wizard_steps import TITLE, expect_equal
    program = ui.start()
    app = ui.application()
    dialog = ui.find(app, "alert")
    expect_equal([t for t in ui.texts(dialog) if t.strip()],
                 ["Критическая ошибка при инициализации приложения:\nUnknown file format!\n"
                  "Приложение будет закрыто!"], "the dialog's text")
    assert TITLE in ui.window_titles(), ui.window_titles()
    ui.screenshot("01-red-os")
    ui.click(dialog, "OK")
    # The wizard closes by itself, without the close question.
    expect_equal(program.wait_exit(15), 0, "exit status")
