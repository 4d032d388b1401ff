"""An update run from an installed configuration: the installed user is preselected with the box
"Новая установка", the installation type offers the update, changing the user asks first, and
the box switches to a new installation. A configuration whose user is gone makes a new
installation at once."""
from harness import expect_equal, scenario
from wizard_steps import without_password

# The selection record "pkg=0;1;\nlink=0;1;\n" encrypted as the configuration keeps it.
SELECTIONS = "OWlNFHmKMBqMoBoZiqhx4blhkb/abF6lEwk6kSxD5YM="


def installed_configuration(user, home):
    return ("[SETTINGS]\nMode=1\ntype_mode=1\nusername=%s\nuhome=%s\narm_path=/opt/Kavex\n"
            "PTrace=1\nfont_smooth=1\nwine_assoc_on=1\nwine_auto_start=0\ncreate_links=1\n"
            "data=%s\n" % (user, home, SELECTIONS))


@scenario(repo="new", time_limit=150)
def test_update_of_an_installed_configuration(sbx):
    without_password(sbx)
    sbx.write("/etc/Kavex/Sivrant/Sivrant.conf", installed_configuration("target", "/home/target"))
    sbx.drive("update", time_limit=130)
    expect_equal(sbx.read("/etc/Kavex/Sivrant/Sivrant.conf"),
                 installed_configuration("target", "/home/target"), "installed configuration")


def drive_update(ui):
    from wizard_steps import (AS_NEW, CONFIRM, PACKAGES, TYPE, USER, Wizard, checked,
                              expect_equal, reach_user_page)
    w = Wizard(ui)
    reach_user_page(w)
    expect_equal(w.combo().name, "target", "preselected user")
    box = ui.find(w.win, "check box", AS_NEW)
    assert not checked(box), "Новая установка is ticked"
    w.wait_buttons({"Назад": True, "Дальше": True, "Отмена": True})
    w.shot("04-user-update")
    w.next()
    w.wait_page(TYPE)
    expect_equal(w.items(), ["Обновить Sivrant", "Выборочная"], "installation types")
    assert w.label_shown("Будет выполнено обновление Sivrant по сенарию предыдущей установки")
    w.shot("05-type-update")
    w.next()
    w.wait_page(PACKAGES, 30)
    w.next()
    w.wait_page(CONFIRM)
    summary = w.memo_texts()[0].split("\n")
    # The update restores the installed selections, the association included.
    for line in ("  Пользователь: target", "    Добавить ассоциацию exe-файлов для Wine: да",
                 "        на рабочем столе: да"):
        assert line in summary, summary
    for page in (PACKAGES, TYPE, USER):
        w.back()
        w.wait_page(page)

    # Another user: the question first; No restores the installed user.
    w.choose("installer")
    question = w.message()
    expect_equal(w.message_text(question),
                 "Вы действительно хотите сменить пользователя и выполнить для него новую "
                 "установку?", "user question")
    assert "Выбор пользователя..." in ui.window_titles(), ui.window_titles()
    w.shot("04b-user-question")
    w.answer(question, "Нет")
    ui.wait("the installed user back", lambda: w.combo().name == "target")
    # Yes keeps the new user; the run stays an update until the box is ticked.
    w.choose("installer")
    w.answer(w.message(), "Да")
    ui.wait("the new user kept", lambda: w.combo().name == "installer")
    w.next()
    w.wait_page(TYPE)
    expect_equal(w.items(), ["Обновить Sivrant", "Выборочная"], "types of the update")
    w.back()
    w.wait_page(USER)
    ui.find(w.win, "check box", AS_NEW).click()
    w.next()
    w.wait_page(TYPE)
    expect_equal(w.items(), ["По умолчанию", "Выборочная"], "types of a new installation")
    w.next()
    w.wait_page(PACKAGES, 30)
    w.next()
    w.wait_page(CONFIRM)
    summary = w.memo_texts()[0].split("\n")
    assert "  Пользователь: installer" in summary, summary
    assert "    Добавить ассоциацию exe-файлов для Wine: да" not in summary, summary


@scenario(repo="new", time_limit=100)
def test_configuration_of_a_vanished_user_makes_a_new_installation(sbx):
    without_password(sbx)
    sbx.write("/etc/Kavex/Sivrant/Sivrant.conf",
              installed_configuration("olduser", "/home/olduser"))
    sbx.drive("vanished_user", time_limit=80)


def drive_vanished_user(ui):
    from wizard_steps import AS_NEW, TYPE, Wizard, expect_equal, reach_user_page
    w = Wizard(ui)
    reach_user_page(w)
    assert not w.label_shown(AS_NEW) and not ui.is_showing(w.win, "check box", AS_NEW)
    w.wait_buttons({"Назад": True, "Дальше": False, "Отмена": True})
    w.choose("target")
    w.next()
    w.wait_page(TYPE)
    expect_equal(w.items(), ["По умолчанию", "Выборочная"], "installation types")
