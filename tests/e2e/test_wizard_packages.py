"""The Linux package check page against each state of the sandbox's repository: what it shows,
the details pane, the update toggle with its question, and the error panel blocking Next."""
from harness import scenario
from wizard_steps import without_password

UPDATE_QUESTION = ("ВНИМАНИЕ!\nОбновленная версия может иметь иные параметры конфигурационных "
                   "файлов, что, в свою очередь, может повлиять на запуск приложения!\n"
                   "Хотите обновить?")
NOT_SUPPORTED = ("Критическая ошибка!\nУстановленный пакет 8.19 не поддерживается Модуль "
                 "интеграции Тавир Про 2.0.1!\nМинимальная допустимая версия 9.0")


@scenario(repo="must-update", time_limit=120)
def test_outdated_wine_waits_for_an_allowed_update(sbx):
    without_password(sbx)
    sbx.drive("outdated_wine", time_limit=100)


def open_blocked_packages(w, rows):
    """From the welcome page to the package page, which shows rows, its error panel and Next
    disabled."""
    from wizard_steps import PACKAGE_ERROR, PACKAGES, expect_equal, reach_type_page
    reach_type_page(w)
    w.next()
    w.wait_page(PACKAGES, 30)
    expect_equal(w.package_rows(), rows, "package rows")
    assert w.label_shown(PACKAGE_ERROR), "no error panel"
    w.wait_buttons({"Назад": True, "Дальше": False, "Отмена": True})


def open_details(w, row_index):
    cell = w.table_rows("table", 2)[row_index][0]
    cell.click()
    details = w.ui.find(w.win, "toggle button", "ПОДРОБНЕЕ")
    w.ui.wait("the details button enabled", lambda: details.sensitive)
    details.click()
    w.ui.wait("the details pane open",
              lambda: w.label_shown("Минимальная версия:") and w.memo_texts() != [])


def drive_outdated_wine(ui):
    from wizard_steps import CONFIRM, PACKAGE_ERROR, Wizard, checked, expect_equal
    w = Wizard(ui)
    blocked = [["wine (8.19)", "Требуется обовить"], ["winetricks", "Установить"]]
    open_blocked_packages(w, blocked)
    details = ui.find(w.win, "toggle button", "ПОДРОБНЕЕ")
    assert not details.sensitive, "the details button is enabled before a package is chosen"
    w.shot("07-packages-must-update")

    open_details(w, 0)
    for value in ("9.0", "8.19"):
        assert w.label_shown(value), "the details lack %r" % value
    expect_equal(w.memo_texts()[0], NOT_SUPPORTED.replace("Минимальная допустимая версия 9.0",
                 "Минимальная допустимая версия 9.0\nРазрешите обновление пакета или обновите "
                 "самостоятельно!"), "status text")
    toggle = ui.find(w.win, "toggle button", "Обновить")
    w.shot("07b-packages-details")

    # First press asks; No releases the toggle and keeps the block.
    toggle.click()
    question = w.message()
    expect_equal(w.message_text(question), UPDATE_QUESTION, "update question")
    w.shot("07c-update-question")
    w.answer(question, "Нет")
    ui.wait("the toggle released", lambda: not checked(toggle))
    expect_equal(w.package_rows(), blocked, "rows after No")
    w.wait_buttons({"Назад": True, "Дальше": False, "Отмена": True})

    # Yes allows the update: the block goes.
    toggle.click()
    w.answer(w.message(), "Да")
    allowed = [["wine (8.19)", "Обновить"], ["winetricks", "Установить"]]
    ui.wait("the row shows the update", lambda: w.package_rows() == allowed)
    w.wait_buttons({"Назад": True, "Дальше": True, "Отмена": True})
    assert not w.label_shown(PACKAGE_ERROR), "the error panel stays"
    expect_equal(w.memo_texts()[0], "Пакет будет обновлен до версии 9.0", "status text")
    w.shot("07d-update-allowed")

    # Releasing blocks again without a question; pressing again does not ask again.
    toggle.click()
    ui.wait("blocked again", lambda: w.package_rows() == blocked)
    w.wait_buttons({"Назад": True, "Дальше": False, "Отмена": True})
    toggle.click()
    ui.wait("allowed again", lambda: w.package_rows() == allowed)
    assert not [n for n in w.app.children if n.roleName == "alert" and n.showing], "asked again"
    w.next()
    w.wait_page(CONFIRM)
    summary = w.memo_texts()[0].split("\n")
    assert "    wine: обновить до 9.0" in summary, summary
    assert "    winetricks: установить 20240105" in summary, summary


@scenario(repo="not-supported", time_limit=100)
def test_unreachable_minimum_blocks_the_wizard(sbx):
    without_password(sbx)
    sbx.drive("unreachable_minimum", time_limit=80)


def drive_unreachable_minimum(ui):
    from wizard_steps import Wizard, expect_equal
    w = Wizard(ui)
    open_blocked_packages(w, [["wine", "Не поддерживается!"], ["winetricks", "Установить"]])
    open_details(w, 0)
    expect_equal(w.memo_texts()[0], NOT_SUPPORTED, "status text")
    assert not ui.is_showing(w.win, "toggle button", "Обновить"), "an update is offered"
    w.shot("07-packages-not-supported")


@scenario(repo="no-winetricks", time_limit=100)
def test_unknown_package_blocks_the_wizard(sbx):
    without_password(sbx)
    sbx.drive("unknown_package", time_limit=80)


def drive_unknown_package(ui):
    from wizard_steps import OPTIONS, PACKAGES, TYPE, Wizard, expect_equal
    w = Wizard(ui)
    open_blocked_packages(w, [["wine", "Установить"], ["winetricks", "Не найден!"]])
    open_details(w, 1)
    assert w.label_shown("<ЛЮБАЯ>"), "a minimal version for a package without version check"
    expect_equal(w.memo_texts()[0],
                 "Критическая ошибка!\nИнформация о пакете не найдена!\nУбедитесь, что "
                 "репозитории подключены и выполнено обновление списка пакетов!", "status text")
    w.shot("07-packages-not-found")
    # Going round by the options page does not unblock it: winetricks is required.
    w.back()
    w.wait_page(TYPE)
    w.choose("Выборочная")
    w.next()
    w.wait_page(OPTIONS)
    w.next()
    w.wait_page(PACKAGES)
    w.wait_buttons({"Назад": True, "Дальше": False, "Отмена": True})
