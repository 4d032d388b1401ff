#include "uPageWizardTypes.h"

#include <algorithm>

const char* const ProductTitle = "Модуль интеграции Тавир Про 2.0.1";

namespace {

constexpr TPage_ButtonTypes Buttons(std::initializer_list<TPage_ButtonType> list) {
  TPage_ButtonTypes set = 0;
  for (TPage_ButtonType button : list)
    set |= ButtonBit(button);
  return set;
}

TWZRD_PageInfo Page(bool enabled, const char* title, bool mainTitle, int32_t fontSize,
                    bool frameTitle, bool imagePanel, TPage_ButtonTypes enabledButtons,
                    TPage_ButtonTypes visibleButtons, TWZRD_PageType prev, TWZRD_PageType next) {
  return TWZRD_PageInfo{enabled,    title,          mainTitle,      fontSize, frameTitle,
                        imagePanel, enabledButtons, visibleButtons, prev,     next};
}

TWZRD_Pages MakeDefaultPages() {
  const TPage_ButtonTypes cancel = Buttons({pbtCancel});
  const TPage_ButtonTypes backCancel = Buttons({pbtBack, pbtCancel});
  const TPage_ButtonTypes backNextCancel = Buttons({pbtBack, pbtNext, pbtCancel});
  const TPage_ButtonTypes backRunCancel = Buttons({pbtBack, pbtRun, pbtCancel});
  TWZRD_Pages pages;
  pages[wptNone] =
      Page(false, "", false, 14, false, true, cancel, cancel, wptWellcome, wptWellcome);
  pages[wptWellcome] =
      Page(true, "Добро пожаловать в мастер установки Модуль интеграции Тавир Про 2.0.1", true, 14,
           false, true, cancel, Buttons({pbtCancel, pbtForward}), wptWellcome, wptLicense);
  pages[wptLicense] = Page(true, "Лицензионный договор", true, 12, true, false, backCancel,
                           backNextCancel, wptWellcome, wptSelectUser);
  pages[wptSelectUser] = Page(true, "Выбор пользователя", true, 12, true, false, backCancel,
                              backNextCancel, wptLicense, wptInstType);
  pages[wptInstType] = Page(true, "Выбор типа установки", true, 12, false, false, backCancel,
                            backNextCancel, wptSelectUser, wptPKGCheck);
  pages[wptCSOConnect] = Page(false, "Параметры подключения к ЦСО", true, 12, false, false,
                              backCancel, backNextCancel, wptInstType, wptPKGCheck);
  pages[wptSelect] = Page(true, "Выбор параметров установки", true, 12, false, false,
                          backNextCancel, backNextCancel, wptInstType, wptPKGCheck);
  pages[wptMasterKey] = Page(false, "Мастер-пароль установщика", true, 12, false, false,
                             backNextCancel, backNextCancel, wptInstType, wptPKGCheck);
  pages[wptPKGCheck] = Page(true, "Проверка необходимости установки Linux-пакетов", true, 12, false,
                            false, backNextCancel, backNextCancel, wptInstType, wptConfirm);
  pages[wptPGConnect] = Page(false, "Подключение к СУБД PostgreSQL", true, 12, false, false,
                             backCancel, backNextCancel, wptPKGCheck, wptConfirm);
  pages[wptConfirm] = Page(true, "Подтверждение действий", true, 12, true, false, backRunCancel,
                           backRunCancel, wptPKGCheck, wptProcess);
  pages[wptProcess] = Page(true, "Установка Sivrant...", false, 12, true, false, cancel, cancel,
                           wptConfirm, wptProcess);
  return pages;
}

} // namespace

const TWZRD_Pages& DefaultWizardPages() {
  static const TWZRD_Pages pages = MakeDefaultPages();
  return pages;
}

TWZRD_PageType StepThroughPages(TWZRD_Pages& pages, TWZRD_PageType current, bool forward) {
  if (forward) {
    TWZRD_PageType next = pages[current].Next;
    pages[next].Prev = current;
    return next;
  }
  return pages[current].Prev;
}

TWindowSize WindowSizeForMonitorHeight(int monitorHeight) {
  int height = monitorHeight < 600 ? 400 : monitorHeight < 760 ? 500 : 600;
  int width = height + 200;
  return TWindowSize{std::clamp(width, 600, 800), std::clamp(height, 400, 560)};
}
