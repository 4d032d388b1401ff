#include "uPackageStatusView.h"

#include <cstdio>

const TCellColor CellGreen{0, 128, 0};
const TCellColor CellOrange{250, 175, 32};
const TCellColor CellBlue{0, 0, 255};
const TCellColor CellRed{255, 0, 0};

const char* const PackageCheckErrorText =
    "ПРОДОЛЖЕНИЕ УСТАНОВКИ НЕ ВОЗМОЖНО!\nКак минимум 1 пакет не прошел проверку!";
const char* const PackageUpdateQuestion =
    "ВНИМАНИЕ!\nОбновленная версия может иметь иные параметры конфигурационных файлов, что, в "
    "свою очередь, может повлиять на запуск приложения!\nХотите обновить?";

namespace {

const char* const NotSupportedFormat =
    "Установленный пакет %s не поддерживается Модуль интеграции Тавир Про 2.0.1!\nМинимальная "
    "допустимая версия %s";
const char* const NothingToDo = "Пакет установлен. Действий не требуется.";

std::string Format2(const char* format, const std::string& a, const std::string& b) {
  int length = std::snprintf(nullptr, 0, format, a.c_str(), b.c_str());
  std::string result(static_cast<size_t>(length), '\0');
  std::snprintf(result.data(), result.size() + 1, format, a.c_str(), b.c_str());
  return result;
}

// The memo's "add a line": a line feed before every line but the first.
void AddLine(std::string& memo, const std::string& line) {
  if (!memo.empty())
    memo += '\n';
  memo += line;
}

} // namespace

std::string PackageCellText(const TSchm_PackageItem& package, int column) {
  bool update = package.Action == slpaUpdate;
  if (column == 0) {
    switch (package.Status) {
    case slpsOK:
    case slpsMustUpdate:
    case slpsCanUpdate:
    case slpsDiffer:
      return package.Name + " (" + package.InstalledVer.Text + ")";
    default:
      return package.Name;
    }
  }
  switch (package.Status) {
  case slpsNone:
    return "Установить";
  case slpsOK:
    return "OK";
  case slpsMustUpdate:
    return update ? "Обновить" : "Требуется обовить";
  case slpsCanUpdate:
    return update ? "Обновить" : "OK";
  case slpsDiffer:
    return "OK";
  case slpsNotFound:
    return "Не найден!";
  case slpsNotSupported:
    return "Не поддерживается!";
  }
  return "";
}

TCellStyle PackageCellStyle(const TSchm_PackageItem& package, int column) {
  bool update = package.Action == slpaUpdate;
  TCellStyle style;
  switch (package.Status) {
  case slpsNone:
    break;
  case slpsOK:
    style = {CellGreen, true, false};
    break;
  case slpsMustUpdate:
    style = {CellOrange, !update, update};
    break;
  case slpsCanUpdate:
    style = {column == 0 ? CellGreen : CellBlue, !update, update};
    break;
  case slpsDiffer:
    style = {CellGreen, false, true};
    break;
  case slpsNotFound:
  case slpsNotSupported:
    style = {CellRed, true, false};
    break;
  }
  if (column == 0) {
    style.Bold = false;
    style.Italic = false;
  }
  return style;
}

std::string PackageMinVersionText(const TSchm_PackageItem& package) {
  return package.VersionCheck ? package.RequiredVer.Text : "<ЛЮБАЯ>";
}

TPackageStatusText PackageStatusText(const TSchm_PackageItem& package, const std::string& minVer,
                                     const std::string& curVer, const std::string& repoVer) {
  TPackageStatusText result;
  std::string& memo = result.Text;
  bool hasAction = package.Action != slpaNone;
  switch (package.Status) {
  case slpsNone:
    memo = "Будет установлен пакет версии " + repoVer;
    break;
  case slpsOK:
    AddLine(memo, NothingToDo);
    break;
  case slpsMustUpdate:
  case slpsCanUpdate:
    if (hasAction) {
      memo = "Пакет будет обновлен до версии " + repoVer;
    } else if (package.Status == slpsMustUpdate) {
      result.Red = true;
      AddLine(memo, "Критическая ошибка!");
      AddLine(memo, Format2(NotSupportedFormat, curVer, minVer));
      AddLine(memo, "Разрешите обновление пакета или обновите самостоятельно!");
    } else {
      AddLine(memo, std::string(NothingToDo) + "\n\nДополнительно: ");
      AddLine(memo, "Версия в репозитории новее установленной.");
      AddLine(memo, "Возможно стоит обновить пакет!");
    }
    break;
  case slpsDiffer:
    AddLine(memo, std::string(NothingToDo) + "\n\nДополнительно: ");
    AddLine(memo, "Есть различия установленной и доступной в репозитории версиях!");
    break;
  case slpsNotFound:
    AddLine(memo, "Критическая ошибка!");
    AddLine(memo, "Информация о пакете не найдена!");
    AddLine(memo, "Убедитесь, что репозитории подключены и выполнено обновление списка пакетов!");
    result.Red = true;
    break;
  case slpsNotSupported:
    AddLine(memo, "Критическая ошибка!");
    AddLine(memo, Format2(NotSupportedFormat, curVer, minVer));
    result.Red = true;
    break;
  }
  return result;
}
