#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "IniFile.h"
#include "TempFolder.h"

namespace fs = std::filesystem;
using platform::TIniFile;

namespace {

class IniFileTest : public ::testing::Test {
protected:
  std::string Path(const std::string& name) const { return folder_.File(name); }

  static void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  testsupport::TempFolder folder_;
};

TEST_F(IniFileTest, LooksUpSectionsAndKeysWithoutRegardToCaseAndTrimsValues) {
  const std::string path = Path("a.ini");
  WriteFile(path, "[Settings]\r\n  UserName =  alice \r\n; note=ignored\r\n[other]\nkey=x\n");
  TIniFile ini(path);
  EXPECT_TRUE(ini.SectionExists("SETTINGS"));
  EXPECT_TRUE(ini.ValueExists("settings", "username"));
  EXPECT_EQ(ini.ReadString("SETTINGS", "USERNAME", "-"), "alice");
  EXPECT_FALSE(ini.ValueExists("settings", "; note"));
  EXPECT_EQ(ini.ReadString("settings", "key", "default"), "default"); // key of another section
  EXPECT_EQ(ini.ReadString("missing", "key", "default"), "default");
}

TEST_F(IniFileTest, ReadsBooleansByTheFirstCharacterAndIntegersStrictly) {
  const std::string path = Path("b.ini");
  WriteFile(path, "[S]\none=1\nten=10\nzero=0\nword=true\nempty=\nnum=42\nneg=-7\nbad=4x\n"
                  "big=99999999999\n");
  TIniFile ini(path);
  struct BoolCase {
    const char* key;
    bool defaultValue;
    bool expected;
  } boolCases[] = {{"one", false, true},   {"ten", false, true},    {"zero", true, false},
                   {"word", true, false},  {"empty", true, true},   {"empty", false, false},
                   {"absent", true, true}, {"absent", false, false}};
  for (const auto& c : boolCases)
    EXPECT_EQ(ini.ReadBool("S", c.key, c.defaultValue), c.expected)
        << c.key << " default " << c.defaultValue;

  EXPECT_EQ(ini.ReadInteger("S", "num", 0), 42);
  EXPECT_EQ(ini.ReadInteger("S", "neg", 0), -7);
  EXPECT_EQ(ini.ReadInteger("S", "bad", 5), 5);
  EXPECT_EQ(ini.ReadInteger("S", "empty", 5), 5);
  EXPECT_EQ(ini.ReadInteger("S", "big", 5), 5);
}

TEST_F(IniFileTest, WritingKeepsEverythingElseInPlace) {
  const std::string path = Path("c.ini");
  WriteFile(path, "; header comment\n[PACKAGES]\nWine=8.0\nother-product=1.2.3\n\n[Extra]\nk=v\n");
  TIniFile ini(path);
  ini.WriteString("packages", "wine", "9.0"); // existing key, other letter case
  ini.WriteString("PACKAGES", "winetricks", "20230212");
  ini.WriteBool("New", "flag", true);
  ini.WriteBool("New", "off", false);
  EXPECT_EQ(ReadFile(path), "; header comment\n"
                            "[PACKAGES]\n"
                            "Wine=9.0\n"
                            "other-product=1.2.3\n"
                            "winetricks=20230212\n"
                            "\n"
                            "[Extra]\n"
                            "k=v\n"
                            "\n"
                            "[New]\n"
                            "flag=1\n"
                            "off=0\n");
  TIniFile reread(path);
  EXPECT_EQ(reread.ReadString("PACKAGES", "other-product", ""), "1.2.3");
  EXPECT_TRUE(reread.ReadBool("new", "FLAG", false));
}

TEST_F(IniFileTest, AMissingFileIsCreatedByTheFirstWrite) {
  const std::string path = Path("new.ini");
  TIniFile ini(path);
  EXPECT_FALSE(ini.SectionExists("SETTINGS"));
  ini.WriteInteger("SETTINGS", "Mode", 0);
  ini.WriteString("SETTINGS", "username", "bob");
  EXPECT_EQ(ReadFile(path), "[SETTINGS]\nMode=0\nusername=bob\n");
}

TEST_F(IniFileTest, WritingKeepsTheFilesModeBecauseItRewritesInPlace) {
  const std::string path = Path("mode.ini");
  WriteFile(path, "[S]\nk=1\n");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
  TIniFile ini(path);
  ini.WriteString("S", "k", "2");
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(IniFileTest, FailuresNameTheFile) {
  const std::string folder = Path("folder.ini");
  fs::create_directories(folder);
  try {
    TIniFile ini(folder);
    ini.WriteString("S", "k", "v");
    FAIL() << "no error for a folder";
  } catch (const EGeneral& error) {
    EXPECT_NE(std::string(error.what()).find(folder), std::string::npos) << error.what();
  }
}

} // namespace
