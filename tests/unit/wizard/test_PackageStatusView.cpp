// What the package check page shows for each status and action: cell texts, colours, styles and
// the status text of the details pane.

#include <gtest/gtest.h>

#include "uPackageStatusView.h"

namespace {

struct RowCase {
  TSchm_PackageStatus Status;
  TSchm_PackageAction Action;
  const char* Name;    // column 0
  const char* Status_; // column 1
  std::optional<TCellColor> NameColor;
  TCellStyle StatusStyle;
};

void Fill(TSchm_PackageItem& package, TSchm_PackageStatus status, TSchm_PackageAction action) {
  package.Name = "wine";
  package.Status = status;
  package.Action = action;
  package.InstalledVer.Text = "8.19";
  package.CandidateVer.Text = "9.0";
  package.RequiredVer.Text = "9.0";
  package.VersionCheck = true;
}

class PackageRow : public ::testing::TestWithParam<RowCase> {};

TEST_P(PackageRow, TextsColoursAndStyles) {
  const RowCase& row = GetParam();
  TSchm_PackageItem package;
  Fill(package, row.Status, row.Action);
  EXPECT_EQ(PackageCellText(package, 0), row.Name);
  EXPECT_EQ(PackageCellText(package, 1), row.Status_);
  TCellStyle nameStyle = PackageCellStyle(package, 0);
  EXPECT_EQ(nameStyle.Color, row.NameColor);
  EXPECT_FALSE(nameStyle.Bold || nameStyle.Italic) << "column 0 has only a colour";
  EXPECT_EQ(PackageCellStyle(package, 1), row.StatusStyle);
}

const std::optional<TCellColor> Default;

INSTANTIATE_TEST_SUITE_P(
    StatusTable, PackageRow,
    ::testing::Values(
        RowCase{slpsNone, slpaInstall, "wine", "Установить", Default, {Default, false, false}},
        RowCase{slpsOK, slpaNone, "wine (8.19)", "OK", CellGreen, {CellGreen, true, false}},
        RowCase{slpsMustUpdate,
                slpaNone,
                "wine (8.19)",
                "Требуется обовить",
                CellOrange,
                {CellOrange, true, false}},
        RowCase{slpsMustUpdate,
                slpaUpdate,
                "wine (8.19)",
                "Обновить",
                CellOrange,
                {CellOrange, false, true}},
        RowCase{slpsCanUpdate, slpaNone, "wine (8.19)", "OK", CellGreen, {CellBlue, true, false}},
        RowCase{slpsCanUpdate,
                slpaUpdate,
                "wine (8.19)",
                "Обновить",
                CellGreen,
                {CellBlue, false, true}},
        RowCase{slpsDiffer, slpaNone, "wine (8.19)", "OK", CellGreen, {CellGreen, false, true}},
        RowCase{slpsNotFound, slpaNone, "wine", "Не найден!", CellRed, {CellRed, true, false}},
        RowCase{slpsNotSupported,
                slpaNone,
                "wine",
                "Не поддерживается!",
                CellRed,
                {CellRed, true, false}}));

TEST(PackageColours, ExactValues) {
  EXPECT_EQ(CellGreen, (TCellColor{0, 128, 0}));
  EXPECT_EQ(CellOrange, (TCellColor{250, 175, 32}));
  EXPECT_EQ(CellBlue, (TCellColor{0, 0, 255}));
  EXPECT_EQ(CellRed, (TCellColor{255, 0, 0}));
}

struct StatusTextCase {
  TSchm_PackageStatus Status;
  TSchm_PackageAction Action;
  TPackageStatusText Expected;
};

class PackageStatusTexts : public ::testing::TestWithParam<StatusTextCase> {};

TEST_P(PackageStatusTexts, DetailsPaneText) {
  TSchm_PackageItem package;
  Fill(package, GetParam().Status, GetParam().Action);
  EXPECT_EQ(PackageStatusText(package, "9.0", "8.19", "9.0"), GetParam().Expected);
}

const std::string NotSupported =
    "Установленный пакет 8.19 не поддерживается Модуль интеграции Тавир Про 2.0.1!\n"
    "Минимальная допустимая версия 9.0";

INSTANTIATE_TEST_SUITE_P(
    StatusTable, PackageStatusTexts,
    ::testing::Values(
        StatusTextCase{slpsNone, slpaInstall, {"Будет установлен пакет версии 9.0", false}},
        StatusTextCase{slpsOK, slpaNone, {"Пакет установлен. Действий не требуется.", false}},
        StatusTextCase{slpsMustUpdate,
                       slpaNone,
                       {"Критическая ошибка!\n" + NotSupported +
                            "\nРазрешите обновление пакета или обновите самостоятельно!",
                        true}},
        StatusTextCase{slpsMustUpdate, slpaUpdate, {"Пакет будет обновлен до версии 9.0", false}},
        StatusTextCase{slpsCanUpdate, slpaUpdate, {"Пакет будет обновлен до версии 9.0", false}},
        StatusTextCase{slpsCanUpdate,
                       slpaNone,
                       {"Пакет установлен. Действий не требуется.\n\nДополнительно: \n"
                        "Версия в репозитории новее установленной.\n"
                        "Возможно стоит обновить пакет!",
                        false}},
        StatusTextCase{slpsDiffer,
                       slpaNone,
                       {"Пакет установлен. Действий не требуется.\n\nДополнительно: \n"
                        "Есть различия установленной и доступной в репозитории версиях!",
                        false}},
        StatusTextCase{slpsNotFound,
                       slpaNone,
                       {"Критическая ошибка!\nИнформация о пакете не найдена!\n"
                        "Убедитесь, что репозитории подключены и выполнено обновление списка "
                        "пакетов!",
                        true}},
        StatusTextCase{
            slpsNotSupported, slpaNone, {"Критическая ошибка!\n" + NotSupported, true}}));

TEST(PackageMinVersion, AnyVersionWithoutACheck) {
  TSchm_PackageItem package;
  package.RequiredVer.Text = "9.0";
  package.VersionCheck = true;
  EXPECT_EQ(PackageMinVersionText(package), "9.0");
  package.VersionCheck = false;
  EXPECT_EQ(PackageMinVersionText(package), "<ЛЮБАЯ>");
}

TEST(PackageStatusTexts, AVersionWithAPercentSignIsShownAsItIs) {
  TSchm_PackageItem package;
  Fill(package, slpsNotSupported, slpaNone);
  TPackageStatusText text = PackageStatusText(package, "9%s", "8%d", "9.0");
  EXPECT_NE(text.Text.find("Установленный пакет 8%d не поддерживается"), std::string::npos);
  EXPECT_NE(text.Text.find("Минимальная допустимая версия 9%s"), std::string::npos);
}

} // namespace
