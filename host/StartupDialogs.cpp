#include "StartupDialogs.h"

#include "MessageDialog.h"
#include "uLnxOS_Info.h"

std::string CriticalInitErrorText(const std::string& errorText) {
  return "Критическая ошибка при инициализации приложения:\n" + errorText +
         "\nПриложение будет закрыто!";
}

std::string OSNotSupportedText(const std::string& fullName) {
  return "ОС \"" + fullName +
         "\" не поддерживается!\nСписок поддерживаемых ОС можно узнать в описании дистрибутива "
         "или на сайте АО НВП Кавекс!\n\nПриложение будет закрыто!";
}

std::string SudoRequiredText() {
  return "Установка ПО требует повышенных привелегий (sudo)!\nТекущий пользователь не обладает "
         "достаточными полномочиями!\n\nПриложение будет закрыто!";
}

void ShowErrorMessage(const std::string& caption, const std::string& text) {
  platform::ShowMessageDialog(caption, text, platform::DialogType::Error,
                              platform::DialogButton::Ok);
}

void ShowCriticalInitError(const std::string& caption, const std::string& errorText) {
  ShowErrorMessage(caption, CriticalInitErrorText(errorText));
}

void ShowOSNotSupported(const std::string& caption) {
  ShowErrorMessage(caption, OSNotSupportedText(OSInformation ? OSInformation->FullName : ""));
}

void ShowSudoRequired(const std::string& caption) {
  ShowErrorMessage(caption, SudoRequiredText());
}
