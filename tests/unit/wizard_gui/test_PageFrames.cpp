// The page protocol and the pages that need no host commands: the base frame's parameter check,
// the installation-type page's route and presets, the custom options tree and the package check
// page's buttons and Wine mode, each on the embedded install schema.

#include <gtest/gtest.h>

#include "Exceptions.h"
#include "WizardTestSupport.h"
#include "uProcessPlaceholder.h"
#include "ufrmChecketPackage.h"
#include "ufrmSelectInstallParams.h"
#include "ufrmSimpleTreeOptionSelect.h"

namespace {

class PageTest : public ::testing::Test {
protected:
  testsupport::TempFolder folder;
  std::unique_ptr<TInstallCustomSchemaClass> schema =
      wizard_test::LoadEmbeddedSchema(folder.Path());
  TLNX_OS_Information host;
  TWZRD_Pages pages = DefaultWizardPages();
  std::vector<std::string> errors;
  int changes = 0;

  void Wire(TfrmPageCustomFrame& page, TWZRD_PageType kind) {
    page.PageInfo = &pages[kind];
    page.OSInfo = &host;
    page.SetSchema(schema.get());
    page.TempDir = folder.Path();
    page.OnChange = [this](TfrmPageCustomFrame*) { ++changes; };
    page.SetOnError(
        [this](TfrmPageCustomFrame*, const std::string& error) { errors.push_back(error); });
  }

  TSchm_PackageItem& Package(const std::string& name) {
    TSchm_PackageItem* item = nullptr;
    if (!schema->Packages->FindByName(name, item))
      throw std::runtime_error("no package " + name);
    return *item;
  }
};

// ---- base frame -----------------------------------------------------------------------------

using BaseFrame = PageTest;

TEST_F(BaseFrame, MissingSchemaIsReportedOnceAndTheNextActivationPasses) {
  TfrmProcessPlaceholder page;
  Wire(page, wptProcess);
  page.SetSchema(nullptr);
  page.Activate();
  EXPECT_EQ(errors, std::vector<std::string>{"Ошибка параметров. Обратитесь к разработчику!"});
  EXPECT_TRUE(page.ParamError);
  page.SetSchema(schema.get());
  page.Activate();
  EXPECT_FALSE(page.ParamError);
  EXPECT_EQ(errors.size(), 1u);
}

TEST_F(BaseFrame, WithoutAnErrorHandlerTheParameterErrorIsRaised) {
  TfrmProcessPlaceholder page;
  page.PageInfo = &pages[wptProcess];
  try {
    page.Activate();
    FAIL() << "no exception";
  } catch (const EGeneral& error) {
    EXPECT_STREQ(error.what(), "Ошибка параметров. Обратитесь к разработчику!");
  }
  EXPECT_TRUE(page.ParamError);
}

TEST_F(BaseFrame, ResetOfAPageNeverActivatedOnlyClearsInitialized) {
  TfrmProcessPlaceholder page;
  page.Reset();
  EXPECT_FALSE(page.Initialized);
  EXPECT_FALSE(page.ParamError);
  page.DoChange(); // no handler: nothing happens
  EXPECT_TRUE(errors.empty());
}

// ---- installation type ----------------------------------------------------------------------

using InstallType = PageTest;

TEST_F(InstallType, NewInstallationOffersDefaultAndRoutesByType) {
  TfrmSelectInstallParams page;
  Wire(page, wptInstType);
  int typeChanges = 0;
  page.OnTypeChanged = [&](TfrmPageCustomFrame*) { ++typeChanges; };
  page.Activate();
  ASSERT_TRUE(page.Initialized);
  EXPECT_EQ(page.TypeList().Text(0), "По умолчанию");
  EXPECT_EQ(page.TypeList().Text(1), "Выборочная");
  EXPECT_EQ(page.TypeList().SelectedIndex(), 0);
  EXPECT_EQ(pages[wptInstType].Next, wptPKGCheck);
  EXPECT_TRUE(ButtonSetHas(pages[wptInstType].EnabledButtons, pbtNext));
  EXPECT_EQ(page.lblComment->get_text(),
            "Будет установлен Модуль интеграции Тавир Про 2.0.1 в типовой конфигурации");

  // Custom: Next leads to the options page and the schema keeps its selections.
  schema->User->WineAssocOn.SetSelected(true);
  ModeSetInclude(schema->Mode, iomWDopInstall);
  page.TypeList().SetSelectedIndex(1);
  page.DoChange();
  EXPECT_EQ(pages[wptInstType].Next, wptSelect);
  EXPECT_TRUE(schema->User->WineAssocOn.Selected);
  EXPECT_TRUE(ModeSetHas(schema->Mode, iomWDopInstall));

  // Default again: the defaults come back and the forced add-ons go.
  page.TypeList().SetSelectedIndex(0);
  page.DoChange();
  EXPECT_EQ(pages[wptInstType].Next, wptPKGCheck);
  EXPECT_FALSE(schema->User->WineAssocOn.Selected);
  EXPECT_FALSE(ModeSetHas(schema->Mode, iomWDopInstall));
  EXPECT_EQ(typeChanges, 0) << "changes made by the program are no user's choice";
}

TEST_F(InstallType, UpdateModeOffersTheUpdateAndNoModeIsAnError) {
  schema->Mode = ModeBit(iomUpdate);
  TfrmSelectInstallParams update;
  Wire(update, wptInstType);
  update.Activate();
  EXPECT_EQ(update.TypeList().Text(0), "Обновить Sivrant");
  EXPECT_EQ(update.lblComment->get_text(),
            "Будет выполнено обновление Sivrant по сенарию предыдущей установки");

  schema->Mode = ModeBit(iomWineModify);
  pages = DefaultWizardPages();
  TfrmSelectInstallParams neither;
  Wire(neither, wptInstType);
  neither.Activate();
  EXPECT_EQ(errors, std::vector<std::string>{"Ошибка параметров. Обратитесь к разработчику!"});
  EXPECT_FALSE(neither.Initialized);
  EXPECT_EQ(neither.TypeList().Count(), 0);
  EXPECT_FALSE(ButtonSetHas(pages[wptInstType].EnabledButtons, pbtNext));
}

// ---- custom options -------------------------------------------------------------------------

class Options : public PageTest {
protected:
  TfrmSimpleTreeOptionSelect page;

  void SetUp() override {
    schema->System->PTraceOff.Visible = true;
    schema->System->PTraceOff.SetSelected(true);
    Wire(page, wptSelect);
    page.Activate();
  }

  platform::CheckTree::Row Node(const std::string& text) {
    for (const auto& row : page.Tree().AllNodes())
      if (page.Tree().Text(row) == text)
        return row;
    throw std::runtime_error("no node " + text);
  }
};

TEST_F(Options, TreeShowsTheSchemaWithReadOnlyRequiredPackages) {
  std::vector<std::string> texts;
  for (const auto& row : page.Tree().AllNodes())
    texts.push_back(page.Tree().Text(row));
  EXPECT_EQ(texts, (std::vector<std::string>{
                       "Системные", "Linux-пакеты", "wine", "winetricks",
                       "Отключить блокировку трассировки PTrace", "Пользовательские",
                       "Добавить ассоциацию exe-файлов для Wine", "Включить сглаживание шрифтов",
                       "Отключить декорирование окон", "Создавать ссылки(ярлыки)",
                       "на рабочем столе", "в меню \"Пуск\""}));
  auto wine = Node("wine");
  EXPECT_TRUE(page.Tree().IsChecked(wine));
  EXPECT_TRUE(page.Tree().IsBoldItalic(wine));
  EXPECT_FALSE(page.Tree().IsBoldItalic(Node("Включить сглаживание шрифтов")));
  page.Tree().ToggleByUser(wine);
  EXPECT_TRUE(page.Tree().IsChecked(wine)) << "a required package was unticked";
  EXPECT_TRUE(Package("wine").Selected);
}

TEST_F(Options, TicksGoStraightIntoTheSchema) {
  page.Tree().ToggleByUser(Node("Добавить ассоциацию exe-файлов для Wine"));
  EXPECT_TRUE(schema->User->WineAssocOn.Selected);
  page.Tree().ToggleByUser(Node("Отключить блокировку трассировки PTrace"));
  EXPECT_FALSE(schema->System->PTraceOff.Selected);
  page.Tree().ToggleByUser(Node("в меню \"Пуск\""));
  EXPECT_FALSE(schema->User->CreateLinks.Links.Items(1).Selected);
}

TEST_F(Options, LinksOptionSwitchesItsLinksWithoutTouchingTheirSelections) {
  auto links = Node("Создавать ссылки(ярлыки)");
  auto desktop = Node("на рабочем столе");
  auto menu = Node("в меню \"Пуск\"");
  page.Tree().ToggleByUser(desktop); // the user's own choice for one link
  ASSERT_FALSE(schema->User->CreateLinks.Links.Items(0).Selected);

  page.Tree().ToggleByUser(links);
  EXPECT_FALSE(schema->User->CreateLinks.Selected);
  for (const auto& link : {desktop, menu}) {
    EXPECT_FALSE(page.Tree().IsChecked(link));
    EXPECT_FALSE(page.Tree().IsEnabled(link));
  }
  EXPECT_FALSE(schema->User->CreateLinks.Links.Items(0).Selected);
  EXPECT_TRUE(schema->User->CreateLinks.Links.Items(1).Selected);

  page.Tree().ToggleByUser(links);
  EXPECT_TRUE(schema->User->CreateLinks.Selected);
  EXPECT_FALSE(page.Tree().IsChecked(desktop));
  EXPECT_TRUE(page.Tree().IsChecked(menu));
  EXPECT_TRUE(page.Tree().IsEnabled(desktop) && page.Tree().IsEnabled(menu));
  EXPECT_TRUE(schema->User->CreateLinks.Links.Items(1).Selected);
}

TEST_F(Options, ForcedInstallationBoxAndRepairModeFollowTheBuilds) {
  page.chmWineRestore->set_active(true);
  EXPECT_TRUE(ModeSetHas(schema->Mode, iomWDopInstall));
  page.Activate(); // shown again without a reset: kept
  EXPECT_TRUE(page.chmWineRestore->get_active());
  EXPECT_TRUE(ModeSetHas(schema->Mode, iomWDopInstall));

  ModeSetInclude(schema->Mode, iomRepair);
  page.Reset();
  page.Activate();
  EXPECT_FALSE(page.chmWineRestore->get_active());
  EXPECT_FALSE(ModeSetHas(schema->Mode, iomWDopInstall));
  EXPECT_FALSE(ModeSetHas(schema->Mode, iomRepair));
}

TEST_F(Options, FocusShowsTheDescriptionAndLinksHaveNone) {
  page.vstComponentsFocusChanged(
      &static_cast<const platform::CheckTree::Row&>(Node("Включить сглаживание шрифтов")));
  EXPECT_EQ(page.mmDescription->get_buffer()->get_text(),
            "Обеспечивает улучшенное качество отображения шрифтов");
  auto link = Node("на рабочем столе");
  page.vstComponentsFocusChanged(&link);
  EXPECT_EQ(page.mmDescription->get_buffer()->get_text(), "");
}

TEST(OptionsWithoutSystemItems, SystemGroupIsLeftOutWithoutPackagesAndPtrace) {
  testsupport::TempFolder folder;
  auto schema = wizard_test::LoadEmbeddedSchema(folder.Path());
  schema->Packages->Clear();
  schema->System->PTraceOff.Visible = false;
  TLNX_OS_Information host;
  TWZRD_Pages pages = DefaultWizardPages();
  TfrmSimpleTreeOptionSelect page;
  page.PageInfo = &pages[wptSelect];
  page.OSInfo = &host;
  page.SetSchema(schema.get());
  page.Activate();
  std::vector<std::string> roots;
  for (const auto& row : page.Tree().RootNodes())
    roots.push_back(page.Tree().Text(row));
  EXPECT_EQ(roots, std::vector<std::string>{"Пользовательские"});
}

// ---- package check --------------------------------------------------------------------------

class Packages : public PageTest {
protected:
  // Packages already checked: the page queries nothing and shows their statuses.
  void Checked(const std::string& name, TSchm_PackageStatus status, TSchm_PackageAction action) {
    TSchm_PackageItem& package = Package(name);
    package.SetChecked(true);
    package.Status = status;
    package.Action = action;
  }
  std::vector<std::string> Names(const TfrmChecketPackage& page) {
    std::vector<std::string> names;
    for (PPKG_NodeData node : page.Nodes())
      names.push_back(node->Package->Name);
    return names;
  }
};

TEST_F(Packages, WineToInstallAllowsNextAndModifiesWine) {
  Checked("wine", slpsNone, slpaInstall);
  Checked("winetricks", slpsOK, slpaNone);
  TfrmChecketPackage page;
  Wire(page, wptPKGCheck);
  page.Activate();
  EXPECT_EQ(Names(page), (std::vector<std::string>{"wine", "winetricks"}));
  EXPECT_EQ(page.CheckResult, slpsOK);
  EXPECT_FALSE(page.pnError->get_visible());
  EXPECT_TRUE(ButtonSetHas(pages[wptPKGCheck].EnabledButtons, pbtNext));
  EXPECT_TRUE(ModeSetHas(schema->Mode, iomWineModify));
  EXPECT_FALSE(page.spbDetails->get_sensitive()) << "details before a package was chosen";
}

TEST_F(Packages, FailingPackageBlocksNextAndWineInOrderDropsTheWineMode) {
  ModeSetInclude(schema->Mode, iomWineModify);
  Checked("wine", slpsOK, slpaNone);
  Checked("winetricks", slpsNotFound, slpaNone);
  TfrmChecketPackage page;
  Wire(page, wptPKGCheck);
  page.Activate();
  EXPECT_EQ(page.CheckResult, slpsNotFound);
  EXPECT_TRUE(page.pnError->get_visible());
  EXPECT_FALSE(ButtonSetHas(pages[wptPKGCheck].EnabledButtons, pbtNext));
  EXPECT_FALSE(ModeSetHas(schema->Mode, iomWineModify));
}

TEST_F(Packages, DeselectedPackageLosesItsNodeOnTheNextBuild) {
  Checked("wine", slpsOK, slpaNone);
  Checked("winetricks", slpsOK, slpaNone);
  TfrmChecketPackage page;
  Wire(page, wptPKGCheck);
  page.Activate();
  Package("winetricks").Required = false;
  Package("winetricks").SetSelected(false);
  page.Reset();
  page.Activate();
  EXPECT_EQ(Names(page), std::vector<std::string>{"wine"});
  EXPECT_FALSE(page.DetailsOpen());
}

TEST_F(Packages, KeptNodeShowsThePackageOfTheSchemaNowCurrent) {
  Checked("wine", slpsOK, slpaNone);
  Checked("winetricks", slpsOK, slpaNone);
  TfrmChecketPackage page;
  Wire(page, wptPKGCheck);
  page.Activate();

  testsupport::TempFolder otherFolder;
  auto other = wizard_test::LoadEmbeddedSchema(otherFolder.Path());
  other->ApplyPreset(sdptDefault, sdptDefault);
  for (int i = 0; i < other->Packages->Count(); ++i) {
    other->Packages->Items(i).SetChecked(true);
    other->Packages->Items(i).Status = slpsOK;
  }
  page.SetSchema(other.get());
  page.Reset();
  page.Activate();
  for (PPKG_NodeData node : page.Nodes()) {
    TSchm_PackageItem* current = nullptr;
    ASSERT_TRUE(other->Packages->FindByName(node->Package->Name, current));
    EXPECT_EQ(node->Package, current) << node->Package->Name;
  }
}

} // namespace
