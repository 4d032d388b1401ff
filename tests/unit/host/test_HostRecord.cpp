// Host record, user probe, start-up verdicts and the listing of login users.
#include <gtest/gtest.h>

#include <ostream>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Exceptions.h"
#include "StartupChecks.h"
#include "support_FakeCommands.h"
#include "uLnxOS_Info.h"

using testsupport::FakeCommands;
using testsupport::TempFolder;
namespace fs = std::filesystem;

namespace {

class HostRecordTest : public ::testing::Test {
protected:
  void SetUp() override {
    FreeOSInformation();
    fake.AddSudo();
    fake.AddScript("groups", R"(printf '%s\n' "$FAKE_GROUPS")");
    fake.PutFirstInPath();
    fake.SetEnv("USER", "installer");
    fake.SetEnv("HOME", "/home/installer");
    fake.SetEnv("FAKE_GROUPS", "installer astra-admin");
    fake.SetEnv("FAKE_SUDO_MODE", "ask");
  }
  void TearDown() override { FreeOSInformation(); }

  std::string OsRelease(const std::string& content) { return files.Write("os-release", content); }

  FakeCommands fake;
  TempFolder files;
};

struct OsReleaseCase {
  const char* name;
  const char* content;
  const char* id;
  const char* osName;
  const char* versionId;
  const char* fullName;
  TLNX_OS_Type type;
};
void PrintTo(const OsReleaseCase& c, std::ostream* os) {
  *os << c.name;
}

class OsReleaseParsing : public HostRecordTest,
                         public ::testing::WithParamInterface<OsReleaseCase> {};

TEST_P(OsReleaseParsing, FillsTheRecord) {
  const OsReleaseCase& c = GetParam();
  TLNX_OS_Information info;
  ReadOSInformation(info, OsRelease(c.content));
  EXPECT_EQ(info.ID, c.id);
  EXPECT_EQ(info.Name, c.osName);
  EXPECT_EQ(info.VersionID, c.versionId);
  EXPECT_EQ(info.FullName, c.fullName);
  EXPECT_EQ(info.OSType, c.type);
}

INSTANTIATE_TEST_SUITE_P(
    HostRecord, OsReleaseParsing,
    ::testing::Values(
        OsReleaseCase{"Astra", "NAME=\"Astra Linux\"\nID=astra\nVERSION_ID=1.8_x86-64\n", "astra",
                      "Astra Linux", "1.8_x86-64", "Astra Linux 1.8_x86-64", lotAstra_1_8},
        OsReleaseCase{"IdComparedInLowerCaseButKept", "ID=\"Astra\"\nVERSION_ID=\"1.8_x86-64\"\n",
                      "Astra", "", "1.8_x86-64", "1.8_x86-64", lotAstra_1_8},
        OsReleaseCase{"VersionComparedExactly", "ID=astra\nVERSION_ID=1.8_X86-64\n", "astra", "",
                      "1.8_X86-64", "1.8_X86-64", lotUnknown},
        OsReleaseCase{"SingleQuotesStay", "ID='astra'\nVERSION_ID=1.8_x86-64\n", "'astra'", "",
                      "1.8_x86-64", "1.8_x86-64", lotUnknown},
        OsReleaseCase{"KeysInAnyCase", "id=redos\nVersion_Id=8.0.2\nname=RED OS\n", "redos",
                      "RED OS", "8.0.2", "RED OS 8.0.2", lotRedOS_1},
        OsReleaseCase{"FirstOccurrenceCounts", "ID=redos\nID=astra\nVERSION_ID=8.0.2\n", "redos",
                      "", "8.0.2", "8.0.2", lotRedOS_1},
        OsReleaseCase{"AstraWithoutArchitecture",
                      "NAME=\"Astra Linux\"\nID=astra\nVERSION_ID=1.8\n", "astra", "Astra Linux",
                      "1.8", "Astra Linux 1.8", lotUnknown},
        OsReleaseCase{"NothingKnown", "PRETTY_NAME=\"Something\"\n", "", "", "", "", lotUnknown},
        OsReleaseCase{"NameTrimmedInsideQuotes", "NAME=\" Debian GNU/Linux \"\nID=debian\n",
                      "debian", "Debian GNU/Linux", "", "Debian GNU/Linux", lotUnknown},
        OsReleaseCase{"LoneQuoteAsName", "NAME=\"\nID=x\n", "x", "", "", "", lotUnknown},
        OsReleaseCase{"ValueKeepsLaterEquals", "ID=astra=1\nVERSION_ID=1.8_x86-64\n", "astra=1", "",
                      "1.8_x86-64", "1.8_x86-64", lotUnknown},
        OsReleaseCase{"WindowsLineEnds", "ID=astra\r\nVERSION_ID=1.8_x86-64\r\n", "astra", "",
                      "1.8_x86-64", "1.8_x86-64", lotAstra_1_8},
        OsReleaseCase{"BlankBeforeEqualsIsAnotherKey", "ID =astra\nVERSION_ID=1.8_x86-64\n", "", "",
                      "1.8_x86-64", "1.8_x86-64", lotUnknown}),
    [](const ::testing::TestParamInfo<OsReleaseCase>& info) { return info.param.name; });

TEST_F(HostRecordTest, CodenameIsKeptAsWrittenAndMissingKeysLeaveFields) {
  TLNX_OS_Information info;
  info.VersionCodename = "untouched";
  info.Name = "kept";
  ReadOSInformation(info, OsRelease("VERSION_CODENAME=\"bookworm\"\n"));
  EXPECT_EQ(info.VersionCodename, "\"bookworm\"");
  EXPECT_EQ(info.Name, "kept");
  EXPECT_EQ(info.FullName, "kept");
}

TEST_F(HostRecordTest, MissingOsReleaseIsReportedByName) {
  TLNX_OS_Information info;
  for (const std::string& path : {files.Path() + "/absent", files.Path()}) {
    try {
      ReadOSInformation(info, path);
      FAIL() << path;
    } catch (const EGeneral& e) {
      EXPECT_EQ(std::string(e.what()), "File \"" + path + "\" not found!");
    }
  }
}

TEST_F(HostRecordTest, UserProbeReadsTheEnvironmentAndTheGroups) {
  TLNX_UserInfoItem user;
  std::string error;
  fake.SetEnv("FAKE_GROUPS", "wheel ROOT");
  ASSERT_TRUE(ReadCurrentUser(user, error)) << error;
  EXPECT_EQ(user.Name, "installer");
  EXPECT_EQ(user.Home, "/home/installer");
  EXPECT_EQ(user.Access, luaRoot);
  EXPECT_TRUE(fake.RecordsOf("sudo").empty()); // no sudo query for a member of root

  fake.SetEnv("FAKE_GROUPS", "\"root users\" staff"); // one quoted word, not "root"
  ASSERT_TRUE(ReadCurrentUser(user, error));
  EXPECT_EQ(user.Access, luaSudories);
  EXPECT_EQ(fake.RecordsOf("sudo"), std::vector<std::string>{"sudo|-v|-S"});

  fake.UnsetEnv("HOME");
  fake.SetEnv("FAKE_SUDO_MODE", "deny");
  ASSERT_TRUE(ReadCurrentUser(user, error));
  EXPECT_EQ(user.Access, luaUser);
  EXPECT_EQ(user.Home, "");
}

TEST_F(HostRecordTest, UserProbeFailsWithoutUserOrWithoutSudo) {
  TLNX_UserInfoItem user;
  user.Access = luaRoot;
  std::string error;
  for (bool unset : {true, false}) {
    if (unset)
      fake.UnsetEnv("USER");
    else
      fake.SetEnv("USER", "");
    EXPECT_FALSE(ReadCurrentUser(user, error));
    EXPECT_EQ(error, "Не удалось получить имя пользователя!");
    EXPECT_EQ(user.Access, luaUser);
  }

  // Neither groups nor sudo installed: groups gives no words, sudo's start failure is the error.
  fake.SetEnv("USER", "installer");
  FakeCommands empty;
  empty.UseOnlyFakePath();
  EXPECT_FALSE(ReadCurrentUser(user, error));
  EXPECT_NE(error.find("sudo"), std::string::npos) << error;
}

struct SudoProbeCase {
  const char* mode;
  TLNX_OS_UserAccess access;
};
void PrintTo(const SudoProbeCase& c, std::ostream* os) {
  *os << c.mode;
}

class SudoProbe : public HostRecordTest, public ::testing::WithParamInterface<SudoProbeCase> {};

TEST_P(SudoProbe, JudgesByPromptOrExitCode) {
  fake.SetEnv("FAKE_SUDO_MODE", GetParam().mode);
  EXPECT_EQ(CheckSudo(), GetParam().access);
  EXPECT_EQ(fake.ReadSideFile(".auth"), ""); // never answered
}

INSTANTIATE_TEST_SUITE_P(
    HostRecord, SudoProbe,
    ::testing::Values(SudoProbeCase{"ask", luaSudories}, SudoProbeCase{"cached", luaSudories},
                      SudoProbeCase{"deny", luaUser}, SudoProbeCase{"late-ok", luaSudories},
                      SudoProbeCase{"late-fail", luaUser}, SudoProbeCase{"noise", luaUser}));

TEST_F(HostRecordTest, SudoProbeLeavesNoSudoBehind) {
  CheckSudo(); // "ask": sudo waits at its prompt when the probe has its answer
  EXPECT_EQ(::kill(std::stoi(fake.ReadSideFile(".sudo-pid")), 0), -1);
}

struct InitCase {
  const char* name;
  const char* groups;
  const char* sudoMode;
  TLNX_OS_UserAccess access;
  bool sudoNoPassword;
  const char* sudoCalls; // recorded sudo calls joined by ';'
};
void PrintTo(const InitCase& c, std::ostream* os) {
  *os << c.name;
}

class InitRecord : public HostRecordTest, public ::testing::WithParamInterface<InitCase> {};

TEST_P(InitRecord, DecidesWhetherSudoAsks) {
  const InitCase& c = GetParam();
  fake.SetEnv("FAKE_GROUPS", c.groups);
  fake.SetEnv("FAKE_SUDO_MODE", c.sudoMode);
  InitOSInformation(OsRelease("ID=astra\nVERSION_ID=1.8_x86-64\n"));
  ASSERT_NE(OSInformation, nullptr);
  ASSERT_NE(CommandExecuter, nullptr);
  EXPECT_EQ(CommandExecuter->OSType(), lotAstra_1_8);
  EXPECT_EQ(OSInformation->User.Access, c.access);
  EXPECT_EQ(OSInformation->User.SudoNoPassword, c.sudoNoPassword);
  std::string calls;
  for (const std::string& call : fake.RecordsOf("sudo"))
    calls += (calls.empty() ? "" : ";") + call;
  EXPECT_EQ(calls, c.sudoCalls);
}

INSTANTIATE_TEST_SUITE_P(
    HostRecord, InitRecord,
    ::testing::Values(InitCase{"MemberOfRoot", "root", "ask", luaRoot, true, ""},
                      InitCase{"SudoerNotAsked", "users", "cached", luaSudories, true,
                               "sudo|-v|-S;sudo|-S|ls|/root"},
                      InitCase{"SudoerAsked", "users", "ask", luaSudories, false,
                               "sudo|-v|-S;sudo|-S|ls|/root"},
                      InitCase{"NoSudo", "users", "deny", luaUser, false, "sudo|-v|-S"}),
    [](const ::testing::TestParamInfo<InitCase>& info) { return info.param.name; });

TEST_F(HostRecordTest, InitIsDoneOnceAndAFailureLeavesAnEmptyRecord) {
  fake.SetEnv("FAKE_GROUPS", "root");
  EXPECT_THROW(InitOSInformation(files.Path() + "/absent"), EGeneral);
  ASSERT_NE(OSInformation, nullptr);
  EXPECT_EQ(OSInformation->OSType, lotUnknown);
  EXPECT_EQ(OSInformation->User.Name, "");
  EXPECT_EQ(CommandExecuter, nullptr);
  FreeOSInformation();

  InitOSInformation(OsRelease("ID=redos\nVERSION_ID=8.0.2\n"));
  TLNX_OS_Information* first = OSInformation;
  TLNX_CommandExecuter* executer = CommandExecuter;
  InitOSInformation(OsRelease("ID=astra\nVERSION_ID=1.8_x86-64\n"));
  EXPECT_EQ(OSInformation, first);
  EXPECT_EQ(CommandExecuter, executer);
  EXPECT_EQ(OSInformation->OSType, lotRedOS_1);
}

struct VerdictCase {
  const char* name;
  const char* osRelease; // nullptr: no file
  const char* groups;
  const char* sudoMode;
  bool withUser;
  StartupVerdict verdict;
  const char* errorText;
};
void PrintTo(const VerdictCase& c, std::ostream* os) {
  *os << c.name;
}

class StartupVerdicts : public HostRecordTest, public ::testing::WithParamInterface<VerdictCase> {};

TEST_P(StartupVerdicts, FollowTheProbe) {
  const VerdictCase& c = GetParam();
  fake.SetEnv("FAKE_GROUPS", c.groups);
  fake.SetEnv("FAKE_SUDO_MODE", c.sudoMode);
  if (!c.withUser)
    fake.UnsetEnv("USER");
  const std::string path = c.osRelease ? OsRelease(c.osRelease) : files.Path() + "/os-release";
  StartupCheckResult result = ProbeHostForStartup(path);
  EXPECT_EQ(result.Verdict, c.verdict);
  std::string expected = c.errorText;
  if (expected == "FILE")
    expected = "File \"" + path + "\" not found!";
  EXPECT_EQ(result.ErrorText, expected);
}

INSTANTIATE_TEST_SUITE_P(
    HostRecord, StartupVerdicts,
    ::testing::Values(VerdictCase{"AstraRoot", "ID=astra\nVERSION_ID=1.8_x86-64\n", "root", "ask",
                                  true, StartupVerdict::Run, ""},
                      VerdictCase{"RedOSSudoer", "ID=redos\nVERSION_ID=8.0.2\n", "users", "ask",
                                  true, StartupVerdict::Run, ""},
                      VerdictCase{"AstraWithoutArchitecture", "ID=astra\nVERSION_ID=1.8\n", "root",
                                  "ask", true, StartupVerdict::OSNotSupported, ""},
                      VerdictCase{"HostBeforeUser", "ID=debian\nVERSION_ID=12\n", "users", "deny",
                                  true, StartupVerdict::OSNotSupported, ""},
                      VerdictCase{"NoSudo", "ID=astra\nVERSION_ID=1.8_x86-64\n", "users", "deny",
                                  true, StartupVerdict::SudoRequired, ""},
                      VerdictCase{"NoOsRelease", nullptr, "root", "ask", true,
                                  StartupVerdict::CriticalError, "FILE"},
                      VerdictCase{"NoUser", "ID=astra\nVERSION_ID=1.8_x86-64\n", "root", "ask",
                                  false, StartupVerdict::CriticalError,
                                  "Не удалось получить имя пользователя!"}),
    [](const ::testing::TestParamInfo<VerdictCase>& info) { return info.param.name; });

TEST_F(HostRecordTest, ProbeOfAnUnknownHostStillAsksSudo) {
  StartupCheckResult result = ProbeHostForStartup(OsRelease("NAME=Other\nID=other\n"));
  EXPECT_EQ(result.Verdict, StartupVerdict::OSNotSupported);
  EXPECT_EQ(OSInformation->FullName, "Other");
  EXPECT_FALSE(fake.RecordsOf("sudo").empty());
}

TEST_F(HostRecordTest, ProbeWithoutSudoInstalledIsCritical) {
  FakeCommands onlyGroups;
  onlyGroups.AddScript("groups", "echo users");
  onlyGroups.UseOnlyFakePath();
  StartupCheckResult result = ProbeHostForStartup(OsRelease("ID=astra\nVERSION_ID=1.8_x86-64\n"));
  EXPECT_EQ(result.Verdict, StartupVerdict::CriticalError);
  EXPECT_NE(result.ErrorText.find("sudo"), std::string::npos) << result.ErrorText;
}

// Listing of login users: getent and cat are stand-ins, the script and bash are real.
class SystemUsersTest : public HostRecordTest {
protected:
  void SetUp() override {
    HostRecordTest::SetUp();
    // Reports the arguments' range and the privacy of the result file it writes into.
    // Its parent is the generated inner script, which lies beside the result file.
    fake.AddScript("getent", R"SH(mapfile -d '' parent < /proc/$PPID/cmdline
dir=${parent[1]%/*}
modes="$(stat -c %a "$dir") $(stat -c %a "$dir/.usrs.tmp")"
printf 'getent|%s|%s|%s|%s\n' "$1" "$2" "${@: -1}" "$modes" >> "$SIVRANT_TEST_RECORD"
printf '%s\n' "$dir" > "$SIVRANT_TEST_RECORD.folder"
printf '%s\n' "$FAKE_PASSWD")SH");
    fake.SetEnv("FAKE_PASSWD", "ivan:x:1000:1000:Ivan:/home/ivan:/bin/bash\n"
                               "olga:x:1001:1001::/home/o l g a:/bin/bash");
  }
};

TEST_F(SystemUsersTest, ListsNameAndHomeInOrderFromPrivateFiles) {
  fake.AddScript("cat", R"(printf 'UID_MIN   2000\nUID_MAX  2002\n')");
  TLNX_UserInfoList users(5);
  ASSERT_TRUE(GetSystemUsers(users));
  ASSERT_EQ(users.size(), 2u);
  EXPECT_EQ(users[0].Name, "ivan");
  EXPECT_EQ(users[0].Home, "/home/ivan");
  EXPECT_EQ(users[1].Name, "olga");
  EXPECT_EQ(users[1].Home, "/home/o l g a");
  EXPECT_EQ(users[1].Access, luaUser);
  EXPECT_EQ(fake.RecordsOf("getent"), std::vector<std::string>{"getent|passwd|2000|2002|700 600"});
  // The private folder was in /tmp and is gone with everything in it.
  std::string folder = fake.ReadSideFile(".folder");
  ASSERT_FALSE(folder.empty());
  folder.pop_back();
  EXPECT_EQ(fs::path(folder).parent_path(), "/tmp");
  EXPECT_FALSE(fs::exists(folder)) << folder;
}

TEST_F(SystemUsersTest, PlantedFilesInTmpAreNotUsed) {
  const std::string planted = "/tmp/.usrs.tmp";
  int fd = ::open(planted.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
  if (fd < 0)
    GTEST_SKIP() << planted << " exists already";
  const std::string line = "mallory:/home/mallory\n";
  ASSERT_EQ(::write(fd, line.data(), line.size()), static_cast<ssize_t>(line.size()));
  ::close(fd);
  TLNX_UserInfoList users;
  bool listed = GetSystemUsers(users);
  ::unlink(planted.c_str());
  ASSERT_TRUE(listed);
  for (const TLNX_UserInfoItem& user : users)
    EXPECT_NE(user.Name, "mallory");
}

TEST_F(SystemUsersTest, LoginDefsWithoutTheRangeGivesAnEmptyList) {
  fake.AddScript("cat", R"(printf 'UID_MAX 60000\n')");
  TLNX_UserInfoList users(3);
  std::string realGetent = "/usr/bin/getent";
  fake.AddScript("getent", "exec " + realGetent + " \"$@\"");
  ASSERT_TRUE(GetSystemUsers(users));
  EXPECT_TRUE(users.empty());
}

TEST_F(SystemUsersTest, FailedListingLeavesTheListAlone) {
  fake.AddScript("bash", "exit 1");
  TLNX_UserInfoList users(1);
  users[0].Name = "kept";
  EXPECT_FALSE(GetSystemUsers(users));
  ASSERT_EQ(users.size(), 1u);
  EXPECT_EQ(users[0].Name, "kept");
}

} // namespace
