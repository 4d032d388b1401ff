// The resource catalogue in a program that carries every required resource.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "EmbeddedResources.h"
#include "Exceptions.h"
#include "support_FakeCommands.h"
#include "u_self_resource.h"

using testsupport::ReadFile;
using testsupport::TempFolder;
namespace fs = std::filesystem;

namespace {

const std::string kFixtures = FIXTURE_DIR;

struct EntryCase {
  TFileResourceType kind;
  const char* resName;
  const char* fileName;
  bool required;
  bool found;
};

TEST(ResourceCatalogue, CheckFillsEveryEntryFromTheDefaultTable) {
  TFileResourcesClass catalogue;
  std::string error = "stale";
  ASSERT_TRUE(catalogue.CheckResources(error));
  EXPECT_EQ(error, "");
  const EntryCase table[] = {
      {frtInstallSchema, "INSTALL_SCHEMA", "instschema.xml", true, true},
      {frtLicense, "LICENSE_RTF", "license.rtf", true, true},
      {frtWellcome, "WELLCOME_TXT", "wellcome.txt", true, true},
      {frtFixList, "FIXLIST_TXT", "fixlist.txt", false, false},
      {frtData_Source, "DATA_SOURCE", "source.zip", true, true},
      {frtARM_Source, "ARM_Source", "_install.exe", true, true}, // stored as ARM_SOURCE
  };
  for (const EntryCase& c : table) {
    TFileResourcesItem item;
    item.FilePath = "stale";
    catalogue.GetItem(item, c.kind);
    EXPECT_EQ(item.ResName, c.resName);
    EXPECT_EQ(item.ResType, 10) << c.resName;
    EXPECT_EQ(item.FileName, c.fileName);
    EXPECT_EQ(item.Required, c.required) << c.resName;
    EXPECT_EQ(item.Found, c.found) << c.resName;
    EXPECT_EQ(item.Handle > 0, c.found) << c.resName;
    EXPECT_EQ(item.FilePath, "") << c.resName;
  }
}

TEST(ResourceCatalogue, NamesAreFoundWithoutRegardToCase) {
  const int32_t handle = host::FindEmbeddedResource("ARM_SOURCE");
  ASSERT_GT(handle, 0);
  EXPECT_EQ(host::FindEmbeddedResource("arm_source"), handle);
  EXPECT_EQ(host::FindEmbeddedResource("ARM_Source"), handle);
  EXPECT_EQ(host::FindEmbeddedResource("ARM_SOURCE_"), 0);
  EXPECT_EQ(host::FindEmbeddedResource(""), 0);
  EXPECT_EQ(host::EmbeddedResourceAt(handle).Name, "ARM_SOURCE");
}

TEST(ResourceCatalogue, StreamsReadTheBytesAndSeek) {
  TFileResourcesClass catalogue;
  const std::string expected = ReadFile(kFixtures + "/wellcome.txt");
  auto stream = catalogue.GetStream(frtWellcome);
  std::string content((std::istreambuf_iterator<char>(*stream)), std::istreambuf_iterator<char>());
  EXPECT_EQ(content, expected);

  stream->clear();
  stream->seekg(0, std::ios::end);
  EXPECT_EQ(stream->tellg(), static_cast<std::streamoff>(expected.size()));
  stream->seekg(3);
  char three[3];
  stream->read(three, 3);
  EXPECT_EQ(std::string(three, 3), expected.substr(3, 3));
  stream->seekg(-2, std::ios::cur);
  EXPECT_EQ(stream->tellg(), 4);
  stream->seekg(1, std::ios::end);
  EXPECT_TRUE(stream->fail()); // no seeking past the end

  auto schema = catalogue.GetStream(frtInstallSchema);
  std::string xml((std::istreambuf_iterator<char>(*schema)), std::istreambuf_iterator<char>());
  EXPECT_EQ(xml, ReadFile(kFixtures + "/schema.xml"));
}

TEST(ResourceCatalogue, StreamOfAMissingResourceRaises) {
  TFileResourcesClass catalogue;
  try {
    catalogue.GetStream(frtFixList);
    FAIL() << "no exception";
  } catch (const EGeneral& e) {
    EXPECT_STREQ(e.what(), "Resource \"FIXLIST_TXT\" not found!");
  }
  EXPECT_THROW(catalogue.Extract(frtFixList), EGeneral);
}

TEST(ResourceCatalogue, ExtractWritesIntoTheRunsFolderAndReplaces) {
  TempFolder run;
  TFileResourcesClass catalogue;
  catalogue.TempDir = run.Path();
  std::string error;
  ASSERT_TRUE(catalogue.CheckResources(error));
  // A longer file is already there: it must be replaced, not overwritten in part.
  run.Write("source.zip", std::string(4 << 20, 'z'));

  const std::string expected = ReadFile(ODD_BLOB);
  for (int round = 0; round < 2; ++round) {
    catalogue.Extract(frtData_Source);
    EXPECT_EQ(ReadFile(run.Path() + "/source.zip"), expected) << "round " << round;
  }
  catalogue.Extract(frtARM_Source);
  EXPECT_EQ(ReadFile(run.Path() + "/_install.exe"), ReadFile(kFixtures + "/setup.exe"));

  TFileResourcesItem item;
  catalogue.GetItem(item, frtData_Source);
  EXPECT_EQ(item.FilePath, run.Path() + "/source.zip");
  catalogue.GetItem(item, frtARM_Source);
  EXPECT_EQ(item.FilePath, run.Path() + "/_install.exe");
  catalogue.GetItem(item, frtLicense);
  EXPECT_EQ(item.FilePath, "");
}

TEST(ResourceCatalogue, ExtractIntoAMissingFolderRaisesNamingTheFile) {
  TFileResourcesClass catalogue;
  catalogue.TempDir = "/nonexistent-sivrant-folder";
  try {
    catalogue.Extract(frtWellcome);
    FAIL() << "no exception";
  } catch (const EGeneral& e) {
    EXPECT_NE(std::string(e.what()).find("/nonexistent-sivrant-folder/wellcome.txt"),
              std::string::npos)
        << e.what();
  }
  TFileResourcesItem item;
  catalogue.GetItem(item, frtWellcome);
  EXPECT_EQ(item.FilePath, "");
}

TEST(ResourceCatalogue, EmptyResourceExtractsToAnEmptyFile) {
  TempFolder run;
  const std::string path = run.Write("empty.out", "previous content");
  const int32_t handle = host::FindEmbeddedResource("EMPTY_BLOB");
  ASSERT_GT(handle, 0);
  host::WriteEmbeddedResourceToFile(host::EmbeddedResourceAt(handle), path);
  EXPECT_EQ(fs::file_size(path), 0u);
}

} // namespace
