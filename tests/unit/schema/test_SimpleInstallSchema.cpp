#include <gtest/gtest.h>

#include <filesystem>

#include "SchemaTestSupport.h"
#include "uSimpleInstallSchema.h"

using schema_test::ParseXml;
using schema_test::PayloadFile;
using testsupport::TempFolder;

namespace {

class InstallSchema : public ::testing::Test {
protected:
  void Load(const std::string& xml) { schema.LoadFromDocument(*ParseXml(xml)); }
  void LoadEmbedded() {
    schema.LoadFromDocument(*platform::XmlDocument::ParseFile(PayloadFile("install_schema.xml")));
  }

  TempFolder temp;
  TInstallCustomSchemaClass schema{lotAstra_1_8, temp.Path()};
};

TEST_F(InstallSchema, StartsEmptyForANewInstallation) {
  EXPECT_EQ(schema.Mode, ModeBit(iomNew));
  EXPECT_FALSE(schema.Loaded);
  EXPECT_FALSE(schema.RebootAfter);
  EXPECT_EQ(schema.Packages->Count(), 0);
  EXPECT_TRUE(schema.SavedState.PackagesSelected.empty());
  EXPECT_TRUE(std::filesystem::exists(temp.File(".get_pkginfo.sh")));
}

TEST_F(InstallSchema, TheEmbeddedSchemaLoadsCompletelyOnAstraLinux) {
  LoadEmbedded();
  EXPECT_TRUE(schema.Loaded);

  TSchm_PackageList& packages = *schema.Packages;
  EXPECT_EQ(packages.Caption, "Linux-пакеты");
  EXPECT_TRUE(packages.Visible);
  ASSERT_EQ(packages.Count(), 2);
  const TSchm_PackageItem& wine = packages.Items(0);
  EXPECT_EQ(wine.Name, "wine");
  EXPECT_TRUE(wine.Required);
  EXPECT_TRUE(wine.VersionCheck);
  EXPECT_TRUE(wine.Selected);
  EXPECT_EQ(wine.RequiredVer.Text, "9.0");
  ASSERT_EQ(wine.Configs.Count(), 3);
  EXPECT_EQ(wine.Configs.Items(1).Params, "setcap cap_net_raw+epi /usr/bin/wine64-preloader");
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(wine.Configs.Items(i).ConfigType, sctAlways);
    EXPECT_EQ(wine.Configs.Items(i).Cmd, sccCommand);
    EXPECT_TRUE(wine.Configs.Items(i).Sudo);
  }
  const TSchm_PackageItem& tricks = packages.Items(1);
  EXPECT_EQ(tricks.Name, "winetricks");
  EXPECT_FALSE(tricks.VersionCheck);
  EXPECT_EQ(tricks.RequiredVer.Major, 0) << "major is not read without a version check";
  EXPECT_EQ(tricks.RequiredVer.Text, "");
  EXPECT_EQ(tricks.Configs.Count(), 0);

  const TSchm_CustomSettingsElement& ptrace = schema.System->PTraceOff;
  EXPECT_TRUE(ptrace.Visible);
  EXPECT_TRUE(ptrace.Selected);
  EXPECT_TRUE(schema.System->Visible);

  const TSchm_CustomUserSettings& user = *schema.User;
  EXPECT_TRUE(user.WineAssocOn.Visible);
  EXPECT_FALSE(user.WineAssocOn.Selected);
  EXPECT_EQ(user.WineAssocOn.Commands.Count(), 1);
  EXPECT_EQ(user.WineAssocOn.Commands.Items(0).Source, "$SCRIPTS/_wine_asc.sh");
  EXPECT_TRUE(user.FontSmooth.IsActive());
  EXPECT_TRUE(user.WineDecorated.IsActive());
  ASSERT_EQ(user.WineDecorated.Commands.Count(), 1);
  EXPECT_EQ(user.WineDecorated.Commands.Items(0).Cmd, ictReg32);
  EXPECT_FALSE(user.WineAutoStart.Visible) << "the embedded schema has no Wine autostart";
  EXPECT_FALSE(user.WineAutoStart.Selected);
  EXPECT_TRUE(user.CreateLinks.IsActive());
  ASSERT_EQ(user.CreateLinks.Links.Count(), 2);
  EXPECT_EQ(user.CreateLinks.Links.Items(0).PathType, _ldDesktop);
  EXPECT_EQ(user.CreateLinks.Links.Items(1).PathType, _ldStartMenu);
  for (int i = 0; i < 2; ++i) {
    const TSchm_LinkItem& link = user.CreateLinks.Links.Items(i);
    EXPECT_TRUE(link.CreateEntry);
    EXPECT_TRUE(link.IsActive());
    EXPECT_EQ(link.RunType, lrtApp);
    EXPECT_EQ(link.Icon, "Kavex_$APP_NAME");
    EXPECT_EQ(link.Mode, 0u);
  }

  ASSERT_EQ(schema.CopyFiles->Count(), 4);
  EXPECT_EQ(schema.CopyFiles->Items(0).Mode, 26u);
  EXPECT_EQ(schema.CopyFiles->Items(3).CopyType, fctFile);
  EXPECT_EQ(schema.CopyFiles->Items(3).Destination, "/etc/udev/rules.d/999-kavex_usb.rules");
  EXPECT_TRUE(schema.CopyFiles->Items(3).Sudo);

  const TSchm_CustomScriptClass& script = *schema.Script;
  EXPECT_EQ(script.GetArmPath(), "$WKavex/$APP_NAME");
  EXPECT_EQ(script.Commands.Setup, "$WKavex/$APP_NAME.txt");
  EXPECT_EQ(script.StartCmd.Source, "$TMP/SharedData/config/winedbg_off.reg");
  EXPECT_EQ(script.StartCmd.Mode, 15u);
  EXPECT_EQ(script.EndCmd.Source, "$TMP/SharedData/config/winedbg_on.reg");
  ASSERT_EQ(script.Commands.Count(), 11);
  int winetricks = 0;
  for (int i = 0; i < script.Commands.Count(); ++i)
    winetricks += script.Commands.Items(i).Cmd == ictWinetricks ? 1 : 0;
  EXPECT_EQ(winetricks, 4);
  EXPECT_TRUE(script.Commands.Items(7).Sudo) << "the link script runs as root";
  EXPECT_FALSE(script.Commands.Items(8).Sudo);
  EXPECT_EQ(script.Commands.Items(9).Cmd, ictWineExec);
  EXPECT_EQ(script.Commands.Items(9).Params, "/wsilent");
  EXPECT_TRUE(script.Commands.Items(10).Sudo);
}

TEST_F(InstallSchema, TheEmbeddedSchemaHasNoSectionForRedOs) {
  TempFolder other;
  TInstallCustomSchemaClass redos(lotRedOS_1, other.Path());
  const auto document = platform::XmlDocument::ParseFile(PayloadFile("install_schema.xml"));
  try {
    redos.LoadFromDocument(*document);
    FAIL() << "no error";
  } catch (const EGeneral& error) {
    EXPECT_STREQ(error.what(), "Unknown file format!");
  }
  EXPECT_FALSE(redos.Loaded);
}

TEST_F(InstallSchema, AnUnknownHostIsNotSupported) {
  TempFolder other;
  TInstallCustomSchemaClass unknown(lotUnknown, other.Path());
  try {
    unknown.LoadFromDocument(*ParseXml("<install_schema/>"));
    FAIL() << "no error";
  } catch (const EGeneral& error) {
    EXPECT_STREQ(error.what(), "Choised OS not supported!");
  }
}

TEST_F(InstallSchema, DocumentsOfAnotherShapeAreRefusedAndLeaveTheSchemaCleared) {
  LoadEmbedded();
  const char* refused[] = {
      "<Install_Schema><packages/><astra_1_8/></Install_Schema>",
      "<install_schema><group><packages/></group><astra_1_8/></install_schema>",
      "<install_schema><packages/></install_schema>",
      "<install_schema><!-- <astra_1_8/> --><packages/></install_schema>",
      "<install_schema><astra_1_8/></install_schema>",
  };
  for (const char* xml : refused) {
    try {
      Load(xml);
      ADD_FAILURE() << "no error: " << xml;
    } catch (const EGeneral& error) {
      EXPECT_STREQ(error.what(), "Unknown file format!") << xml;
    }
    EXPECT_EQ(schema.Packages->Count(), 0) << xml;
    EXPECT_EQ(schema.Script->Commands.Count(), 0) << xml;
  }
  EXPECT_THROW(Load("<install_schema><packages></install_schema>"), platform::EXmlReadError);
}

TEST_F(InstallSchema, PackagesWithoutNamesLoadNothingAndSkipTheSection) {
  Load("<install_schema>"
       "<packages caption=\"p\" visible=\"0\"><package required=\"1\"><config type=\"always\"/>"
       "</package><package/></packages>"
       "<astra_1_8><copyfiles><item type=\"file\"/></copyfiles>"
       "<arm_install arm_path=\"x\"><command cmd=\"bash\"/></arm_install></astra_1_8>"
       "</install_schema>");
  EXPECT_FALSE(schema.Loaded);
  EXPECT_EQ(schema.Packages->Count(), 0);
  EXPECT_TRUE(schema.Packages->Visible) << "a package element makes the list visible";
  EXPECT_EQ(schema.CopyFiles->Count(), 0);
  EXPECT_EQ(schema.Script->Commands.Count(), 0);
}

TEST_F(InstallSchema, ASectionWithoutArmInstallLoadsTheRestButIsNotLoaded) {
  Load("<install_schema><packages><package name=\"wine\"/></packages>"
       "<astra_1_8><settings><user><font_smooth visible=\"1\" selected=\"1\"/></user></settings>"
       "<copyfiles><item type=\"file\"/></copyfiles></astra_1_8></install_schema>");
  EXPECT_FALSE(schema.Loaded);
  EXPECT_EQ(schema.Packages->Count(), 1);
  EXPECT_TRUE(schema.User->FontSmooth.IsActive());
  EXPECT_EQ(schema.CopyFiles->Count(), 1);
}

TEST_F(InstallSchema, TheStartCommandIsTheFirstOneWhereverItStands) {
  Load("<install_schema><packages><package name=\"wine\"/></packages><astra_1_8>"
       "<arm_install arm_path=\"a\">"
       "<command description=\"c1\" cmd=\"bash\"/>"
       "<!-- <start_cmd description=\"commented\"/> -->"
       "<start_cmd description=\"first\" cmd=\"reg32\" mode=\"15\"/>"
       "<start_cmd description=\"second\" cmd=\"reg64\"/>"
       "</arm_install></astra_1_8></install_schema>");
  EXPECT_TRUE(schema.Loaded);
  EXPECT_EQ(schema.Script->StartCmd.Description, "first");
  EXPECT_EQ(schema.Script->StartCmd.Cmd, ictReg32);
  EXPECT_EQ(schema.Script->EndCmd.Mode, 0u) << "no end command: it never applies";
  EXPECT_EQ(schema.Script->Commands.Count(), 1);
}

class SchemaPresets : public InstallSchema {
protected:
  void SetUp() override {
    LoadEmbedded();
    schema.SetPackagesOnChange([this](TSchm_CustomElement*) { ++packageEvents; });
  }
  void ChangeEverything() {
    for (int i = 0; i < schema.Packages->Count(); ++i)
      schema.Packages->Items(i).Selected = false;
    schema.System->PTraceOff.SetSelected(false);
    for (auto* option : schema.User->All)
      option->SetSelected(!option->Selected);
    for (int i = 0; i < schema.User->CreateLinks.Links.Count(); ++i)
      schema.User->CreateLinks.Links.Items(i).Selected = false;
  }
  int packageEvents = 0;
};

TEST_F(SchemaPresets, DefaultsRestoreEverythingButThePtraceOption) {
  ChangeEverything();
  schema.ApplyPreset(sdptDefault, 0);
  EXPECT_TRUE(schema.Packages->Items(0).Selected);
  EXPECT_TRUE(schema.Packages->Items(1).Selected);
  EXPECT_FALSE(schema.System->PTraceOff.Selected);
  EXPECT_FALSE(schema.User->WineAssocOn.Selected);
  EXPECT_TRUE(schema.User->FontSmooth.Selected);
  EXPECT_TRUE(schema.User->CreateLinks.Links.Items(1).Selected);
}

TEST_F(SchemaPresets, TheUpdatePresetRestoresTheSnapshotOnlyWithArgumentOne) {
  schema.Packages->Items(1).Required = false;
  schema.User->WineAssocOn.SetSelected(true);
  schema.User->CreateLinks.Links.Items(0).Selected = false;
  schema.SaveState();
  EXPECT_TRUE(schema.SavedState.WineAssocOnSelected);
  EXPECT_EQ(schema.SavedState.LinksSelected, (TBoolArray{false, true}));

  ChangeEverything();
  schema.ApplyPreset(sdptUpdate, 0);
  EXPECT_FALSE(schema.User->WineAssocOn.Selected) << "argument 0 changes nothing";
  schema.ApplyPreset(sdptOther, 1);
  EXPECT_FALSE(schema.User->WineAssocOn.Selected);

  schema.ApplyPreset(sdptUpdate, 1);
  EXPECT_TRUE(schema.Packages->Items(1).Selected);
  EXPECT_EQ(packageEvents, 1) << "the restored non-required package reports its change";
  EXPECT_TRUE(schema.System->PTraceOff.Selected);
  EXPECT_TRUE(schema.User->WineAssocOn.Selected);
  EXPECT_TRUE(schema.User->FontSmooth.Selected);
  EXPECT_FALSE(schema.User->WineAutoStart.Selected) << "saved inactive: it is invisible";
  EXPECT_FALSE(schema.User->CreateLinks.Links.Items(0).Selected);
  EXPECT_TRUE(schema.User->CreateLinks.Links.Items(1).Selected);
}

TEST_F(SchemaPresets, WithoutASnapshotTheUpdatePresetFallsBackToDefaultsAndClearsOptions) {
  ChangeEverything();
  schema.ApplyPreset(sdptUpdate, 1);
  EXPECT_TRUE(schema.Packages->Items(0).Selected);
  EXPECT_TRUE(schema.User->CreateLinks.Links.Items(0).Selected);
  EXPECT_FALSE(schema.System->PTraceOff.Selected);
  for (const auto* option : schema.User->All)
    EXPECT_FALSE(option->Selected);
}

TEST_F(SchemaPresets, ASnapshotOfAnotherPackageCountResetsOnlyThePackages) {
  schema.User->WineAssocOn.SetSelected(true);
  schema.SaveState();
  schema.SavedState.PackagesSelected = {false, false, false};
  ChangeEverything();
  schema.ApplyPreset(sdptUpdate, 1);
  EXPECT_TRUE(schema.Packages->Items(0).Selected);
  EXPECT_TRUE(schema.Packages->Items(1).Selected);
  EXPECT_TRUE(schema.User->WineAssocOn.Selected);
  EXPECT_TRUE(schema.User->CreateLinks.Links.Items(0).Selected);
}

TEST_F(SchemaPresets, ClearKeepsTheRunStateAndEmptiesTheModel) {
  schema.Mode = ModeBit(iomUpdate);
  schema.UserInfo->UserName = "alice";
  schema.SaveState();
  schema.Clear();
  EXPECT_EQ(schema.Packages->Count(), 0);
  EXPECT_EQ(schema.CopyFiles->Count(), 0);
  EXPECT_EQ(schema.Script->Commands.Count(), 0);
  EXPECT_EQ(schema.User->CreateLinks.Links.Count(), 0);
  EXPECT_EQ(schema.Mode, ModeBit(iomUpdate));
  EXPECT_TRUE(schema.Loaded);
  EXPECT_EQ(schema.UserInfo->UserName, "alice");
  EXPECT_EQ(schema.SavedState.PackagesSelected.size(), 2u);
}

} // namespace
