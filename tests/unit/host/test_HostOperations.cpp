// Host operations: the exact command lines they build, and their results on real files.
#include <gtest/gtest.h>

#include <ostream>

#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

#include "Exceptions.h"
#include "support_FakeCommands.h"
#include "uLnxOS_Info.h"

using testsupport::FakeCommands;
using testsupport::TempFolder;
namespace fs = std::filesystem;

namespace {

class HostOperationsTest : public ::testing::Test {
protected:
  void SetUp() override {
    fake.AddSudo();
    fake.SetEnv("FAKE_SUDO_MODE", "cached"); // runs the command as this user
    fake.PutFirstInPath();
  }

  FakeCommands fake;
  TLNX_CommandExecuter executer{lotAstra_1_8};
};

struct CommandLineCase {
  const char* name;
  std::function<bool(TLNX_CommandExecuter&, std::string&)> operation;
  const char* program;  // the stand-in that records the call
  const char* recorded; // its name and arguments joined by '|'
  bool asRoot;
};
void PrintTo(const CommandLineCase& c, std::ostream* os) {
  *os << c.name;
}

class CommandLines : public HostOperationsTest,
                     public ::testing::WithParamInterface<CommandLineCase> {};

TEST_P(CommandLines, ReachTheProgramAsTheseArguments) {
  const CommandLineCase& c = GetParam();
  fake.AddRecorder(c.program);
  std::string output;
  EXPECT_TRUE(c.operation(executer, output)) << output;
  std::vector<std::string> calls = fake.Records();
  if (c.asRoot) {
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], "sudo|-S|" + std::string(c.recorded));
    EXPECT_EQ(calls[1], c.recorded);
  } else {
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], c.recorded);
  }
}

using E = TLNX_CommandExecuter;
INSTANTIATE_TEST_SUITE_P(
    HostOperations, CommandLines,
    ::testing::Values(
        CommandLineCase{"MakeDirSplitsABlank",
                        [](E& e, std::string& o) { return e.MakeDir("/a b", o, false); }, "mkdir",
                        "mkdir|-p|/a|b", false},
        CommandLineCase{"MakeDirAsRoot",
                        [](E& e, std::string& o) { return e.MakeDir("/opt/x", o, true); }, "mkdir",
                        "mkdir|-p|/opt/x", true},
        CommandLineCase{"RemoveTreeOfNothing",
                        [](E& e, std::string& o) { return e.RemoveTree("", o, false); }, "rm",
                        "rm|-Rf", false},
        CommandLineCase{"RemoveTreeGluesThePath",
                        [](E& e, std::string& o) { return e.RemoveTree("/t/a b", o, true); }, "rm",
                        "rm|-Rf|/t/a|b", true},
        CommandLineCase{"CopyPath",
                        [](E& e, std::string& o) { return e.CopyPath("/s x", "/d", o, false); },
                        "cp", "cp|/s|x|/d", false},
        CommandLineCase{"MovePath",
                        [](E& e, std::string& o) { return e.MovePath("/s", "/d y", o, true); },
                        "mv", "mv|-f|/s|/d|y", true},
        CommandLineCase{"Chmod777", [](E& e, std::string& o) { return e.Chmod777("/p q", o); },
                        "chmod", "chmod|777|/p|q", true},
        CommandLineCase{"Chmod777Recursive",
                        [](E& e, std::string& o) { return e.Chmod777Recursive("/p", o); }, "chmod",
                        "chmod|-R|777|/p", true},
        CommandLineCase{"ChmodRecursiveKeepsThePathWhole",
                        [](E& e, std::string& o) { return e.Chmod("/p q", 770, true, o); }, "chmod",
                        "chmod|-R|770|/p q", true},
        CommandLineCase{"ChmodPrintsTheModeInDecimal",
                        [](E& e, std::string& o) { return e.Chmod("/p", 644, false, o); }, "chmod",
                        "chmod|644|/p", true},
        CommandLineCase{"ChownRoot", [](E& e, std::string& o) { return e.ChownRoot("/p q", o); },
                        "chown", "chown|root:root|/p|q", true},
        CommandLineCase{"Chown",
                        [](E& e, std::string& o) { return e.Chown("/p", "u", "g", o, false); },
                        "chown", "chown|u:g|/p", true},
        CommandLineCase{"ChownRecursive",
                        [](E& e, std::string& o) { return e.Chown("/p", "u", "g", o, true); },
                        "chown", "chown|-R|u:g|/p", true},
        CommandLineCase{"AddGroup", [](E& e, std::string& o) { return e.AddGroup("kavex", o); },
                        "groupadd", "groupadd|kavex|-f", true},
        CommandLineCase{"AddUserToGroup",
                        [](E& e, std::string& o) { return e.AddUserToGroup("ivan", "kavex", o); },
                        "usermod", "usermod|-a|-G|kavex|ivan", true},
        CommandLineCase{"CreateSymLinkKeepsBothPathsWhole",
                        [](E& e, std::string& o) { return e.CreateSymLink("/t x", "/l y", o); },
                        "ln", "ln|-s|/t x|/l y", true},
        CommandLineCase{"FileExistsAsRoot",
                        [](E& e, std::string& o) { return e.FileExistsEx("/a b", o, true); },
                        "test", "test|-e|/a|b", true},
        CommandLineCase{"DirExistsAsRoot",
                        [](E& e, std::string& o) { return e.DirExistsEx("/a b", o, true); }, "test",
                        "test|-d|/a|b", true}),
    [](const ::testing::TestParamInfo<CommandLineCase>& info) { return info.param.name; });

TEST_F(HostOperationsTest, ResolveLinkAndFindPathQuoteTheirPaths) {
  fake.AddRecorder("readlink");
  fake.AddRecorder("find");
  std::string text;
  EXPECT_FALSE(executer.ResolveLink("/l x", text)); // the recorder prints no link text
  EXPECT_FALSE(executer.FindPath("/f x", "/f x/Some Name", text, false));
  EXPECT_EQ(text, "File not found");
  EXPECT_EQ(fake.RecordsOf("readlink"), std::vector<std::string>{"readlink|/l x"});
  EXPECT_EQ(fake.RecordsOf("find"), std::vector<std::string>{"find|/f x|-iname|Some Name"});
}

TEST_F(HostOperationsTest, LocalExistenceChecksRunNothingAndFollowLinks) {
  TempFolder dir;
  const std::string file = dir.Write("file.txt", "x");
  const std::string link = dir.Path() + "/link";
  ASSERT_EQ(::symlink(file.c_str(), link.c_str()), 0);
  std::string output = "stale";
  EXPECT_TRUE(executer.FileExistsEx(file, output, false));
  EXPECT_EQ(output, "");
  EXPECT_TRUE(executer.FileExistsEx(link, output, false));
  EXPECT_FALSE(executer.FileExistsEx(dir.Path(), output, false)); // a folder is no file here
  EXPECT_FALSE(executer.FileExistsEx(dir.Path() + "/missing", output, false));
  EXPECT_TRUE(executer.DirExistsEx(dir.Path(), output, false));
  EXPECT_FALSE(executer.DirExistsEx(file, output, false));
  EXPECT_TRUE(fake.Records().empty());
  // As root, "test -e" also counts a folder.
  EXPECT_TRUE(executer.FileExistsEx(dir.Path(), output, true));
  EXPECT_FALSE(executer.DirExistsEx(file, output, true));
}

TEST_F(HostOperationsTest, ResolveLinkTellsLinksToExistingFolders) {
  TempFolder dir;
  fs::create_directory(dir.Path() + "/target");
  const std::string file = dir.Write("file", "x");
  fs::create_directory_symlink(dir.Path() + "/target", dir.Path() + "/good");
  fs::create_directory_symlink(dir.Path() + "/gone", dir.Path() + "/dangling");
  fs::create_symlink(file, dir.Path() + "/tofile");

  std::string target;
  EXPECT_TRUE(executer.ResolveLink(dir.Path() + "/good", target));
  EXPECT_EQ(target, dir.Path() + "/target");
  for (const char* notALinkToAFolder : {"/target", "/file", "/dangling", "/tofile", "/missing"}) {
    EXPECT_FALSE(executer.ResolveLink(dir.Path() + notALinkToAFolder, target)) << notALinkToAFolder;
  }
}

TEST_F(HostOperationsTest, FindPathReturnsThePathAsWrittenOnDisk) {
  TempFolder dir;
  const std::string onDisk = dir.Write("Drive_C/Kavex/Sivrant.CONF", "x");
  std::string found;
  EXPECT_TRUE(
      executer.FindPath(dir.Path(), dir.Path() + "/drive_c/KAVEX/sivrant.conf", found, false));
  EXPECT_EQ(found, onDisk);
  EXPECT_FALSE(executer.FindPath(dir.Path() + "/nowhere", dir.Path() + "/nowhere/x", found, true));
  EXPECT_EQ(found, "File not found");
}

TEST_F(HostOperationsTest, MoveDirContentMovesVisibleEntriesOnly) {
  TempFolder dir;
  dir.Write("src/a.txt", "a");
  dir.Write("src/sub/b.txt", "b");
  dir.Write("src/.hidden", "h");
  fs::create_directory(dir.Path() + "/dst");
  std::string output;
  EXPECT_TRUE(executer.MoveDirContent(dir.Path() + "/src", dir.Path() + "/dst", output, true))
      << output;
  EXPECT_TRUE(fs::exists(dir.Path() + "/dst/a.txt"));
  EXPECT_TRUE(fs::exists(dir.Path() + "/dst/sub/b.txt"));
  EXPECT_TRUE(fs::exists(dir.Path() + "/src/.hidden"));
  EXPECT_FALSE(fs::exists(dir.Path() + "/dst/.hidden"));

  // Only hidden entries left: the pattern stays unexpanded and mv complains.
  EXPECT_FALSE(executer.MoveDirContent(dir.Path() + "/src", dir.Path() + "/dst", output, false));
  EXPECT_NE(output.find("mv"), std::string::npos);
  EXPECT_TRUE(fs::exists(dir.Path() + "/src/.hidden"));
}

TEST_F(HostOperationsTest, MoveDirContentScriptIsPrivateAndRemoved) {
  // A bash stand-in that reports where the script lies and who may touch it, then runs it.
  fake.AddScript("bash", R"(printf '%s\n' "$1" >> "$SIVRANT_TEST_RECORD"
stat -c '%a %u' "${1%/*}" "$1" >> "$SIVRANT_TEST_RECORD"
cat "$1" >> "$SIVRANT_TEST_RECORD"
exec /bin/bash "$@")");
  TempFolder dir;
  dir.Write("src/a", "a");
  fs::create_directory(dir.Path() + "/dst");
  std::string output;
  ASSERT_TRUE(executer.MoveDirContent(dir.Path() + "/src", dir.Path() + "/dst", output, false));
  std::vector<std::string> calls = fake.Records();
  ASSERT_EQ(calls.size(), 4u);
  const std::string script = calls[0];
  EXPECT_EQ(fs::path(script).filename().string().rfind(".mv", 0), 0u) << script;
  EXPECT_EQ(calls[1], "700 " + std::to_string(::getuid())); // the folder: this user only
  EXPECT_EQ(calls[2], "600 " + std::to_string(::getuid())); // the script
  EXPECT_EQ(calls[3],
            "mv -f \"" + dir.Path() + "/src\"/* \"" + dir.Path() + "/dst\""); // one line
  EXPECT_FALSE(fs::exists(script));
  EXPECT_FALSE(fs::exists(fs::path(script).parent_path()));
}

struct PtraceCase {
  const char* standardOutput;
  bool active;
};
void PrintTo(const PtraceCase& c, std::ostream* os) {
  *os << "\"" << c.standardOutput << "\"";
}

class PtraceStatus : public HostOperationsTest, public ::testing::WithParamInterface<PtraceCase> {};

TEST_P(PtraceStatus, IsActiveOnlyForThatOneWord) {
  fake.AddScript("astra-ptrace-lock", R"(printf '%s' "$FAKE_PTRACE_OUT")");
  fake.SetEnv("FAKE_PTRACE_OUT", GetParam().standardOutput);
  EXPECT_EQ(executer.IsPtraceLockActive(), GetParam().active);
  EXPECT_EQ(fake.RecordsOf("sudo"), std::vector<std::string>{"sudo|-S|astra-ptrace-lock|status"});
}

INSTANTIATE_TEST_SUITE_P(
    HostOperations, PtraceStatus,
    ::testing::Values(PtraceCase{"АКТИВНО\n", true}, PtraceCase{"  АКТИВНО \n\n", true},
                      PtraceCase{"НЕАКТИВНО\n", false}, PtraceCase{"активно\n", false},
                      PtraceCase{"АКТИВНО ПОЛНОСТЬЮ\n", false}, PtraceCase{"", false}));

TEST_F(HostOperationsTest, PtraceQueryFailureRaisesWithTheOutput) {
  fake.AddScript("astra-ptrace-lock", R"(echo 'no such mode' >&2; echo АКТИВНО)");
  try {
    executer.IsPtraceLockActive();
    FAIL() << "no exception";
  } catch (const EGeneral& e) {
    EXPECT_EQ(std::string(e.what()), "Ошибка выполнения команды:\nno such mode\nАКТИВНО\n");
  }
}

TEST_F(HostOperationsTest, PtraceQueryRunsNothingOnRedOS) {
  TLNX_CommandExecuter redOS(lotRedOS_1);
  fake.AddRecorder("astra-ptrace-lock");
  EXPECT_FALSE(redOS.IsPtraceLockActive());
  EXPECT_TRUE(fake.Records().empty());
}

} // namespace
