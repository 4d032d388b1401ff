"""The program's start: one instance at a time, the host and user checks and their refusals."""
from harness import WINDOW_TITLE, scenario

OS_NOT_SUPPORTED = ("ОС \"%s\" не поддерживается!\n"
                    "Список поддерживаемых ОС можно узнать в описании дистрибутива или на сайте "
                    "АО НВП Кавекс!\n\nПриложение будет закрыто!")
SUDO_REQUIRED = ("Установка ПО требует повышенных привелегий (sudo)!\n"
                 "Текущий пользователь не обладает достаточными полномочиями!\n\n"
                 "Приложение будет закрыто!")
AUTHENTICATION_LINK = "Нажмите сюда, для запроса аутентификации."


def critical(message):
    return ("Критическая ошибка при инициализации приложения:\n" + message
            + "\nПриложение будет закрыто!")


# --- refusals: one modal error dialog captioned with the window title, then exit status 0

@scenario()
def test_unsupported_version_is_refused(sbx):
    sbx.set_os_release('NAME="Astra Linux"\nID=astra\nVERSION_ID=1.8\n')
    sbx.drive("refusal", OS_NOT_SUPPORTED % "Astra Linux 1.8", "unsupported-host", True)


@scenario()
def test_user_without_sudo_is_refused(sbx):
    sbx.let_into_display("target")
    sbx.drive("refusal", SUDO_REQUIRED, "sudo-required", user="target")


@scenario()
def test_missing_os_release_is_critical(sbx):
    sbx.set_os_release(None)
    sbx.drive("refusal", critical('File "/etc/os-release" not found!'), "missing-os-release")


@scenario()
def test_unset_user_is_critical(sbx):
    sbx.drive("refusal", critical("Не удалось получить имя пользователя!"), "user-unset", False,
              ["USER"])


def drive_refusal(ui, text, screenshot, try_second_start=False, unset=()):
    program = ui.start(unset=unset)
    app = ui.application()
    dialog = ui.find(app, "alert")
    assert dialog.name == WINDOW_TITLE, "the dialog is named %r" % dialog.name
    assert ui.texts(dialog) == [text], "the dialog says %r" % ui.texts(dialog)
    ui.wait("the dialog alone on screen, captioned with the window title",
            lambda: ui.window_titles() == [WINDOW_TITLE], 5)
    assert not ui.find_all(app, "frame"), "the main window shows beside the refusal"
    ui.screenshot(screenshot)
    if try_second_start:
        # An instance that still shows its refusal keeps a second start from showing anything.
        start_second_instance(ui)
    ui.click(dialog, "OK")
    status = program.wait_exit(10)
    assert status == 0, "exit status %d after the refusal" % status


# --- a start that goes on

@scenario()
def test_second_start_ends_silently(sbx):
    sbx.drive("second_start")


def drive_second_start(ui):
    first = ui.start()
    window = ui.find(ui.application(), "frame", WINDOW_TITLE)
    ui.wait("the main window on screen", lambda: ui.window_titles() == [WINDOW_TITLE], 5)
    start_second_instance(ui)
    assert first.running(), "the first instance has ended"
    assert not ui.find_all(ui.application(), "alert"), "the first instance shows a dialog"
    ui.screenshot("first-instance")
    assert ui.find(window, "push button", "Отмена").sensitive


def start_second_instance(ui):
    """Starts the wizard again: it must end at once with status 0, showing and printing nothing."""
    before = ui.window_titles()
    second = ui.start()
    while second.running():
        titles = ui.window_titles()
        assert titles == before, "windows while the second start runs: %r" % titles
    status = second.wait_exit(10)
    assert status == 0, "the second start's exit status is %d" % status
    assert second.stdout == "", "the second start printed %r" % second.stdout
    assert ui.window_titles() == before, "windows after it: %r" % ui.window_titles()


@scenario()
def test_sudoer_whom_sudo_asks_must_authenticate(sbx):
    sbx.drive("welcome", True)


@scenario()
def test_sudoer_whom_sudo_does_not_ask_goes_straight_on(sbx):
    sbx.write("/etc/sudoers.d/astra-admin", "%astra-admin ALL=(ALL:ALL) NOPASSWD: ALL\n",
              mode="440")
    sbx.drive("welcome", False)


def drive_welcome(ui, must_authenticate):
    ui.start()
    window = ui.find(ui.application(), "frame", WINDOW_TITLE)
    forward = ui.find(window, "push button", "Вперёд")
    ui.find(window, "label", "Добро пожаловать в мастер установки Модуль интеграции Тавир Про "
            "2.0.1")
    ui.screenshot("welcome")
    if must_authenticate:
        ui.find(window, "push button", AUTHENTICATION_LINK)
        assert not forward.sensitive, "Forward is enabled before sudo was authenticated"
    else:
        ui.wait("Forward enabled", lambda: forward.sensitive, 5)
        assert not ui.is_showing(window, "push button", AUTHENTICATION_LINK), \
            "authentication is asked of a sudoer whom sudo does not ask"
