// The confirmation page's summary of a run, built from the embedded install schema.

#include <algorithm>

#include <gtest/gtest.h>

#include "WizardTestSupport.h"
#include "uConfirmSummary.h"

namespace {

using Lines = std::vector<std::string>;

class ConfirmSummary : public ::testing::Test {
protected:
  testsupport::TempFolder folder;
  std::unique_ptr<TInstallCustomSchemaClass> schema =
      wizard_test::LoadEmbeddedSchema(folder.Path());

  TSchm_PackageItem& Package(const std::string& name) {
    TSchm_PackageItem* item = nullptr;
    if (!schema->Packages->FindByName(name, item))
      throw std::runtime_error("no package " + name);
    return *item;
  }

  // A default new installation: wine is to be installed, the ptrace lock was found active.
  void DefaultNewInstallation() {
    schema->ApplyPreset(sdptDefault, sdptDefault);
    Package("wine").Action = slpaInstall;
    Package("wine").CandidateVer.Text = "9.0";
    schema->System->PTraceOff.Visible = true;
    schema->System->PTraceOff.SetSelected(true);
    schema->UserInfo->UserName = "target";
  }

  Lines Build() {
    TConfirmSummary summary(*schema);
    return summary.Build();
  }
};

TEST_F(ConfirmSummary, DefaultNewInstallationListsEverythingWithItsIndentation) {
  DefaultNewInstallation();
  EXPECT_EQ(Build(), (Lines{"Системные", "  Linux-пакеты", "    wine: установить 9.0",
                            "  Отключить блокировку трассировки PTrace: да", "Пользовательские",
                            "  Пользователь: target", "    Включить сглаживание шрифтов: да",
                            "    Отключить декорирование окон: да", "    Создавать ссылки(ярлыки):",
                            "        на рабочем столе: да", "        в меню \"Пуск\": да"}));
}

TEST_F(ConfirmSummary, UpdateLineAndForcedAddOnsAndTheAssociationOption) {
  DefaultNewInstallation();
  Package("wine").Action = slpaUpdate;
  Package("winetricks").Action = slpaInstall;
  Package("winetricks").CandidateVer.Text = "20230212";
  schema->User->WineAssocOn.SetSelected(true);
  ModeSetInclude(schema->Mode, iomWDopInstall);
  Lines lines = Build();
  EXPECT_EQ(lines[2], "    wine: обновить до 9.0");
  EXPECT_EQ(lines[3], "    winetricks: установить 20230212");
  EXPECT_EQ(lines[7], "    Добавить ассоциацию exe-файлов для Wine: да");
  EXPECT_EQ(lines.back(), "        Принудительная установка дополнений wine: да");
}

TEST_F(ConfirmSummary, WithoutPackageActionsAndPtraceTheSystemSectionIsLeftOut) {
  DefaultNewInstallation();
  Package("wine").Action = slpaNone;
  schema->System->PTraceOff.SetSelected(false);
  Lines lines = Build();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "Пользовательские");
  EXPECT_EQ(lines[1], "  Пользователь: target");
}

TEST_F(ConfirmSummary, PtraceAloneKeepsTheSectionButNotThePackageHeading) {
  DefaultNewInstallation();
  Package("wine").Action = slpaNone;
  Lines lines = Build();
  EXPECT_EQ(
      Lines(lines.begin(), lines.begin() + 3),
      (Lines{"Системные", "  Отключить блокировку трассировки PTrace: да", "Пользовательские"}));
}

TEST_F(ConfirmSummary, HiddenPtraceOptionIsNotListedEvenWhenSelected) {
  DefaultNewInstallation();
  schema->System->PTraceOff.Visible = false;
  Lines lines = Build();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "  Отключить блокировку трассировки PTrace: да"),
            0);
}

TEST_F(ConfirmSummary, UnselectedPackageWithAnActionGivesNoLine) {
  DefaultNewInstallation();
  Package("winetricks").Action = slpaInstall;
  Package("winetricks").Required = false;
  Package("winetricks").SetSelected(false);
  Lines lines = Build();
  for (const std::string& line : lines)
    EXPECT_EQ(line.find("winetricks"), std::string::npos) << line;
}

TEST_F(ConfirmSummary, UnselectedLinksOptionDropsItsHeadingAndAllLinks) {
  DefaultNewInstallation();
  schema->User->CreateLinks.SetSelected(false);
  Lines lines = Build();
  EXPECT_EQ(lines.back(), "    Отключить декорирование окон: да");
}

TEST_F(ConfirmSummary, UnselectedLinkIsLeftOutOfTheLinksList) {
  DefaultNewInstallation();
  schema->User->CreateLinks.Links.Items(0).Selected = false;
  Lines lines = Build();
  EXPECT_EQ(Lines(lines.end() - 2, lines.end()),
            (Lines{"    Создавать ссылки(ярлыки):", "        в меню \"Пуск\": да"}));
}

} // namespace
