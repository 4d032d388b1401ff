#include <gtest/gtest.h>

#include <filesystem>

#include "IniFile.h"
#include "SchemaTestSupport.h"
#include "uSimpleInstallSchema.h"

using schema_test::PayloadFile;
using schema_test::ReadFile;
using schema_test::WriteFile;
using testsupport::TempFolder;

namespace {

class InstalledConfig : public ::testing::Test {
protected:
  static std::unique_ptr<TInstallCustomSchemaClass> NewSchema(const TempFolder& folder,
                                                              TLNX_OS_Type osType = lotAstra_1_8) {
    auto schema = std::make_unique<TInstallCustomSchemaClass>(osType, folder.Path());
    if (osType == lotAstra_1_8)
      schema->LoadFromDocument(
          *platform::XmlDocument::ParseFile(PayloadFile("install_schema.xml")));
    return schema;
  }

  // Writes a configuration file with the given lines after the section header.
  std::string WriteConfig(const std::string& lines) {
    const std::string path = files.File("Sivrant.conf");
    WriteFile(path, "[SETTINGS]\n" + lines);
    return path;
  }

  static std::string Data(const std::string& record) { return EncryptText(record, 2); }

  TempFolder files;
  TempFolder temp;
  std::unique_ptr<TInstallCustomSchemaClass> saved = NewSchema(temp);
};

TEST_F(InstalledConfig, SaveWritesTheKeysInOrderWithTheEncryptedSelection) {
  saved->Mode = ModeBit(iomUpdate) | ModeBit(iomWineModify);
  saved->UserInfo->UserName = "alice";
  saved->UserInfo->Home = "/home/alice";
  saved->UserInfo->ArmPath = "/opt/Kavex";
  saved->User->WineAssocOn.SetSelected(true);
  const std::string path = files.File("Sivrant.conf");
  WriteFile(path, "[SETTINGS]\nstale=1\n");
  saved->SaveConfig(path);
  EXPECT_EQ(ReadFile(path), "[SETTINGS]\n"
                            "Mode=1\n"
                            "type_mode=1\n"
                            "username=alice\n"
                            "uhome=/home/alice\n"
                            "arm_path=/opt/Kavex\n"
                            "PTrace=1\n"
                            "font_smooth=1\n"
                            "wine_assoc_on=1\n"
                            "wine_auto_start=0\n"
                            "create_links=1\n"
                            "data=" +
                                EncryptText("pkg=0;1;\nlink=0;1;\n", 2) + "\n");
  EXPECT_EQ(saved->SelectionRecord().size(), 19u);
}

TEST_F(InstalledConfig, TheSelectionRecordListsChosenPackagesAndActiveLinks) {
  saved->Packages->Items(1).Required = false;
  saved->Packages->Items(1).Selected = false;
  saved->User->CreateLinks.Links.Items(0).Visible = false;
  EXPECT_EQ(saved->SelectionRecord(), "pkg=0;\nlink=1;\n");
  saved->User->CreateLinks.SetSelected(false);
  saved->Packages->Items(0).Required = false;
  saved->Packages->Items(0).Selected = false;
  EXPECT_EQ(saved->SelectionRecord(), "pkg=\nlink=\n");
}

TEST_F(InstalledConfig, HiddenPtraceAndFontOptionsAreWrittenAsTrue) {
  saved->System->PTraceOff.Visible = false;
  saved->System->PTraceOff.SetSelected(false);
  saved->User->FontSmooth.Visible = false;
  saved->User->FontSmooth.SetSelected(false);
  saved->User->CreateLinks.Visible = false;
  const std::string path = files.File("a.conf");
  saved->SaveConfig(path);
  platform::TIniFile ini(path);
  EXPECT_EQ(ini.ReadString("SETTINGS", "PTrace", ""), "1");
  EXPECT_EQ(ini.ReadString("SETTINGS", "font_smooth", ""), "1");
  EXPECT_EQ(ini.ReadString("SETTINGS", "create_links", ""), "0") << "hidden: not active";
  EXPECT_EQ(ini.ReadString("SETTINGS", "Mode", ""), "0");
}

TEST_F(InstalledConfig, ASavedConfigurationIsReadBackIntoANewSchema) {
  saved->UserInfo->UserName = "bob";
  saved->UserInfo->Home = "/home/bob";
  saved->UserInfo->ArmPath = "/opt/Kavex";
  saved->System->PTraceOff.SetSelected(false);
  saved->User->FontSmooth.SetSelected(false);
  saved->User->WineAssocOn.SetSelected(true);
  saved->User->CreateLinks.Links.Items(1).Selected = false;
  const std::string path = files.File("Sivrant.conf");
  saved->SaveConfig(path);

  TempFolder otherTemp;
  auto read = NewSchema(otherTemp);
  ASSERT_TRUE(read->ReadInstalledConfig(path));
  EXPECT_EQ(read->Mode, ModeBit(iomUpdate));
  EXPECT_EQ(read->InstalledUserInfo->UserName, "bob");
  EXPECT_EQ(read->InstalledUserInfo->Home, "/home/bob");
  EXPECT_EQ(read->InstalledUserInfo->ArmPath, "/opt/Kavex");
  EXPECT_EQ(read->UserInfo->UserName, "") << "the target user is the page's to choose";
  EXPECT_FALSE(read->System->PTraceOff.Selected);
  EXPECT_FALSE(read->User->FontSmooth.Selected);
  EXPECT_TRUE(read->User->WineAssocOn.Selected);
  EXPECT_TRUE(read->User->CreateLinks.Links.Items(0).Selected);
  EXPECT_FALSE(read->User->CreateLinks.Links.Items(1).Selected);
  EXPECT_EQ(read->SavedState.PackagesSelected, (TBoolArray{true, true}));
  EXPECT_TRUE(read->SavedState.WineAssocOnSelected);
  EXPECT_FALSE(std::filesystem::exists(otherTemp.File(".Sivrant.cfg")))
      << "the private copy is deleted";
}

TEST_F(InstalledConfig, WindowsLineEndsAreAccepted) {
  const std::string path =
      WriteConfig("type_mode=1\r\nusername=carol\r\ndata=" + Data("pkg=0;1;\nlink=0;\n") + "\r\n");
  auto read = NewSchema(temp);
  ASSERT_TRUE(read->ReadInstalledConfig(path));
  EXPECT_EQ(read->InstalledUserInfo->UserName, "carol");
  EXPECT_FALSE(read->User->CreateLinks.Links.Items(1).Selected);
}

TEST_F(InstalledConfig, ConfigurationsThatAreNotAcceptedGiveANewInstallation) {
  const std::string goodData = "data=" + Data("pkg=0;1;\nlink=0;1;\n") + "\n";
  const struct {
    std::string lines;
    const char* why;
  } refused[] = {
      {"type_mode=1\n", "no data"},
      {"type_mode=1\ndata=\n", "empty data"},
      {"type_mode=1\ndata=not:base64\n", "undecryptable data"},
      {"type_mode=1\ndata=" + EncryptText("pkg=0;\n", 1) + "\n", "data under the other key"},
      {goodData, "no type_mode"},
      {"type_mode=3\n" + goodData, "type_mode 3"},
      {"type_mode=-1\n" + goodData, "type_mode -1"},
      {"type_mode=0\n" + goodData, "unknown host"},
      {"type_mode=x\n" + goodData, "type_mode not a number"},
  };
  for (const auto& c : refused) {
    auto read = NewSchema(temp);
    read->Mode = ModeBit(iomWDopInstall);
    EXPECT_FALSE(read->ReadInstalledConfig(WriteConfig(c.lines))) << c.why;
    EXPECT_EQ(read->Mode, ModeBit(iomNew)) << c.why;
    EXPECT_TRUE(read->SavedState.PackagesSelected.empty()) << c.why;
  }
}

TEST_F(InstalledConfig, AConfigurationFromAstraLinuxIsRefusedOnRedOs) {
  TempFolder redosTemp;
  TInstallCustomSchemaClass redos(lotRedOS_1, redosTemp.Path());
  EXPECT_FALSE(
      redos.ReadInstalledConfig(WriteConfig("type_mode=1\ndata=" + Data("pkg=\nlink=\n") + "\n")));
  EXPECT_EQ(redos.Mode, ModeBit(iomNew));
}

TEST_F(InstalledConfig, AMissingFileIsNoErrorAndLeavesTheModeAlone) {
  auto read = NewSchema(temp);
  read->Mode = ModeBit(iomRepair);
  EXPECT_FALSE(read->ReadInstalledConfig(files.File("absent.conf")));
  EXPECT_EQ(read->Mode, ModeBit(iomRepair));
}

TEST_F(InstalledConfig, TheSelectionRecordDecidesPackagesAndLinks) {
  const struct {
    const char* record;
    bool createLinks;
    bool secondLinkVisible;
    bool package1;
    bool link0;
    bool link1;
    const char* why;
  } cases[] = {
      {"pkg=\nlink=0;1;\n", true, true, true, true, true, "required packages stay selected"},
      {"pkg=0;\n", true, true, true, true, true, "no link line: links as loaded"},
      {"pkg=0;1;\nlink=1;\n", true, true, true, false, true, "only the listed link"},
      {"pkg=0;1;\nlink=0;1;\n", false, true, true, false, false, "links option off"},
      {"pkg=0;1;\nlink=0;1;\n", true, false, true, true, false, "link no longer visible"},
      {"pkg=0;1;\nlink=0;1;\npkg=\n", true, true, true, true, true, "the first pkg line counts"},
  };
  for (const auto& c : cases) {
    auto read = NewSchema(temp);
    read->User->CreateLinks.Links.Items(1).Visible = c.secondLinkVisible;
    const std::string path =
        WriteConfig(std::string("type_mode=1\ncreate_links=") + (c.createLinks ? "1" : "0") +
                    "\ndata=" + Data(c.record) + "\n");
    ASSERT_TRUE(read->ReadInstalledConfig(path)) << c.why;
    EXPECT_EQ(read->Packages->Items(1).Selected, c.package1) << c.why;
    EXPECT_EQ(read->User->CreateLinks.Links.Items(0).Selected, c.link0) << c.why;
    EXPECT_EQ(read->User->CreateLinks.Links.Items(1).Selected, c.link1) << c.why;
  }

  auto read = NewSchema(temp);
  read->Packages->Items(1).Required = false;
  ASSERT_TRUE(read->ReadInstalledConfig(WriteConfig("type_mode=1\ndata=" + Data("pkg=\n") + "\n")));
  EXPECT_TRUE(read->Packages->Items(0).Selected);
  EXPECT_FALSE(read->Packages->Items(1).Selected) << "a package that is not required is deselected";
}

TEST_F(InstalledConfig, AbsentSwitchesTakeTheOptionsDefaults) {
  auto read = NewSchema(temp);
  read->User->FontSmooth.SetSelected(false);
  read->System->PTraceOff.SetSelected(false);
  ASSERT_TRUE(read->ReadInstalledConfig(
      WriteConfig("type_mode=1\nwine_assoc_on=\ndata=" + Data("pkg=0;1;\n") + "\n")));
  EXPECT_TRUE(read->User->FontSmooth.Selected);
  EXPECT_TRUE(read->System->PTraceOff.Selected);
  EXPECT_FALSE(read->User->WineAssocOn.Selected);
  EXPECT_TRUE(read->User->CreateLinks.Selected);
}

} // namespace
