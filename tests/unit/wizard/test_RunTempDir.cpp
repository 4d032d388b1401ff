// The run's temporary folder is created exclusively and private to the wizard's user.

#include <regex>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Exceptions.h"
#include "WizardTestSupport.h"
#include "uRunTempDir.h"

namespace {

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
  return info.st_mode;
}

TEST(RunTempDir, NameIsThePrefixAndTheTimeOfDayWithMilliseconds) {
  EXPECT_TRUE(
      std::regex_match(RunTempDirName("/tmp/Kavex_Sivrant"),
                       std::regex("/tmp/Kavex_Sivrant_[0-2][0-9][0-5][0-9][0-5][0-9][0-9]{3}")));
}

TEST(RunTempDir, FreeNameIsCreatedPrivate) {
  testsupport::TempFolder parent;
  std::string wanted = parent.Path() + "/Kavex_Sivrant_120000000";
  umask(0);
  std::string made = CreateExclusiveFolder(wanted);
  umask(022);
  EXPECT_EQ(made, wanted);
  EXPECT_TRUE(S_ISDIR(ModeOf(made)));
  EXPECT_EQ(ModeOf(made) & 0777, 0700u);
}

TEST(RunTempDir, TakenNamesAreNeverReused) {
  // Whatever already has the guessed name (another user's folder, a file, a link to a folder
  // the attacker can read) is left alone and a fresh folder is made.
  testsupport::TempFolder parent;
  std::string planted = parent.Path() + "/planted";
  ASSERT_EQ(mkdir(planted.c_str(), 0777), 0);
  for (const std::string kind : {"folder", "file", "link"}) {
    std::string wanted = parent.Path() + "/guess_" + kind;
    if (kind == "folder")
      ASSERT_EQ(mkdir(wanted.c_str(), 0777), 0);
    else if (kind == "file")
      ASSERT_TRUE(std::ofstream(wanted).good());
    else
      ASSERT_EQ(symlink(planted.c_str(), wanted.c_str()), 0);
    std::string made = CreateExclusiveFolder(wanted);
    EXPECT_NE(made, wanted) << kind;
    EXPECT_EQ(made.rfind(wanted + "_", 0), 0u) << made;
    EXPECT_TRUE(S_ISDIR(ModeOf(made))) << kind;
    EXPECT_EQ(ModeOf(made) & 0777, 0700u) << kind;
  }
  EXPECT_TRUE(std::filesystem::is_empty(planted));
}

TEST(RunTempDir, MissingParentIsReportedWithThePath) {
  testsupport::TempFolder parent;
  std::string wanted = parent.Path() + "/no/such/Kavex_Sivrant_1";
  try {
    CreateExclusiveFolder(wanted);
    FAIL() << "no error";
  } catch (const EGeneral& error) {
    EXPECT_NE(std::string(error.what()).find(wanted), std::string::npos) << error.what();
  }
}

} // namespace
