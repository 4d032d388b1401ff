#include <gtest/gtest.h>

#include <filesystem>

#include "IniFile.h"
#include "SchemaTestSupport.h"
#include "uSimpleInstallSchema.h"

using schema_test::PayloadFile;
using schema_test::ReadFile;
using schema_test::StandInHost;
using schema_test::WriteFile;
using testsupport::TempFolder;

namespace {

class PackageRecord : public ::testing::Test {
protected:
  void SetUp() override {
    schema.LoadFromDocument(*platform::XmlDocument::ParseFile(PayloadFile("install_schema.xml")));
    schema.PackageRecordFile = record.File("package.info");
    TSchm_PackageItem& wine = schema.Packages->Items(0);
    wine.InstalledVer.Text = "8.0";
    wine.InstalledVer.Major = 8;
    wine.CandidateVer.Text = "9.0-1";
    wine.CandidateVer.Major = 9;
    wine.Action = slpaUpdate;
    TSchm_PackageItem& tricks = schema.Packages->Items(1);
    tricks.InstalledVer.Text = "20230212";
  }

  StandInHost host;
  TempFolder temp;
  TempFolder record;
  TInstallCustomSchemaClass schema{lotAstra_1_8, temp.Path()};
};

TEST_F(PackageRecord, AMissingRecordIsCreatedWithTheSchemasPackagesOnly) {
  std::string error = "stale";
  ASSERT_TRUE(schema.WritePackageInfo(error)) << error;
  EXPECT_EQ(ReadFile(schema.PackageRecordFile), "[PACKAGES]\nwine=9.0\nwinetricks=20230212\n");
}

TEST_F(PackageRecord, KeysOfOtherProductsStay) {
  WriteFile(schema.PackageRecordFile, "[PACKAGES]\nother-product=1.2\nwine=7.0\n[Extra]\nk=v\n");
  std::string error;
  ASSERT_TRUE(schema.WritePackageInfo(error)) << error;
  platform::TIniFile ini(schema.PackageRecordFile);
  EXPECT_EQ(ini.ReadString("PACKAGES", "other-product", ""), "1.2");
  EXPECT_EQ(ini.ReadString("PACKAGES", "wine", ""), "9.0");
  EXPECT_EQ(ini.ReadString("PACKAGES", "winetricks", ""), "20230212");
  EXPECT_EQ(ini.ReadString("Extra", "k", ""), "v");

  // The working copy in the run's folder is not left open to other users.
  const auto permissions = std::filesystem::status(temp.File("package.info")).permissions();
  EXPECT_EQ(permissions & std::filesystem::perms::others_write, std::filesystem::perms::none);
}

TEST_F(PackageRecord, AFailingCommandIsReportedWithItsOutput) {
  schema.PackageRecordFile = record.File("missing-folder/package.info");
  std::string error;
  EXPECT_FALSE(schema.WritePackageInfo(error));
  EXPECT_NE(error.find("missing-folder"), std::string::npos) << error;
}

TEST_F(PackageRecord, ReadingFillsTheRecordedVersions) {
  EXPECT_EQ(schema.InstalledWineVersion(), "") << "no record read yet";
  schema.ReadPackageInfo();
  EXPECT_EQ(schema.InstalledWineVersion(), "") << "no record exists";

  WriteFile(schema.PackageRecordFile, "[packages]\nWINE=9.0\n");
  schema.ReadPackageInfo();
  EXPECT_EQ(schema.InstalledWineVersion(), "9.0");
  EXPECT_EQ(schema.Packages->Items(1).RecordedVersion, "");

  TempFolder otherTemp;
  TInstallCustomSchemaClass empty(lotAstra_1_8, otherTemp.Path());
  EXPECT_EQ(empty.InstalledWineVersion(), "") << "no package named wine";
}

} // namespace
