// The command executer against real child processes and a stand-in sudo.
#include <gtest/gtest.h>

#include <ostream>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <future>
#include <thread>

#include "Exceptions.h"
#include "support_FakeCommands.h"
#include "uLnxOS_Info.h"

using testsupport::FakeCommands;

namespace {

bool ProcessGone(const std::string& pidText) {
  if (pidText.empty())
    return false;
  return ::kill(std::stoi(pidText), 0) == -1 && errno == ESRCH;
}

class CommandExecuterTest : public ::testing::Test {
protected:
  void SetUp() override {
    fake.AddSudo();
    fake.PutFirstInPath();
    fake.SetEnv("USER", "installer");
    fake.SetEnv("FAKE_SUDO_PASSWORD", "s3cret-pass");
  }

  FakeCommands fake;
  TLNX_CommandExecuter executer{lotAstra_1_8};
};

struct SuccessCase {
  const char* commandLine;
  bool execCommand;         // success under ExecCommand (nothing but blanks on stderr)
  bool execCommandExitCode; // success under ExecCommandExitCode (exit code 0)
  const char* output;       // error-stream text, then standard output
};
void PrintTo(const SuccessCase& c, std::ostream* os) {
  *os << c.commandLine;
}

class SuccessRules : public CommandExecuterTest,
                     public ::testing::WithParamInterface<SuccessCase> {};

TEST_P(SuccessRules, DecideByErrorStreamOrExitCodeAndPutErrorsFirst) {
  const SuccessCase& c = GetParam();
  std::string output;
  EXPECT_EQ(executer.ExecCommand(c.commandLine, output, false), c.execCommand);
  EXPECT_EQ(output, c.output);
  EXPECT_EQ(executer.ExecCommandExitCode(c.commandLine, output, false), c.execCommandExitCode);
  EXPECT_EQ(output, c.output);
}

INSTANTIATE_TEST_SUITE_P(CommandExecuter, SuccessRules,
                         ::testing::Values(SuccessCase{"sh -c \"echo warning >&2\"", false, true,
                                                       "warning\n"},
                                           SuccessCase{"sh -c \"exit 1\"", true, false, ""},
                                           SuccessCase{"sh -c \"printf ' \\n\\t ' >&2; echo out\"",
                                                       true, true, " \n\t out\n"},
                                           SuccessCase{"sh -c \"echo out; echo err >&2; exit 3\"",
                                                       false, false, "err\nout\n"},
                                           SuccessCase{"sh -c \"kill -TERM $$\"", true, true, ""}));

TEST_F(CommandExecuterTest, MegabyteOnStandardOutputDoesNotBlockTheErrorStreamWatch) {
  std::string output;
  EXPECT_FALSE(
      executer.ExecCommand("sh -c \"head -c 1048576 /dev/zero; echo done >&2\"", output, false));
  ASSERT_EQ(output.size(), 5u + 1048576u);
  EXPECT_EQ(output.substr(0, 5), "done\n");
  EXPECT_EQ(output.find_first_not_of('\0', 5), std::string::npos);
}

TEST_F(CommandExecuterTest, UnknownHostRefusesCommandsButRunsPlainOnes) {
  TLNX_CommandExecuter unknown(lotUnknown);
  std::string output = "stale";
  EXPECT_FALSE(unknown.ExecCommand("true", output, false));
  EXPECT_EQ(output, "Unknnown OS type!");
  EXPECT_FALSE(unknown.ExecCommandExitCode("true", output, true));
  EXPECT_EQ(output, "Unknnown OS type!");
  EXPECT_THROW(
      {
        try {
          unknown.CheckAndSetPassword("x", true, 0);
        } catch (const EGeneral& e) {
          EXPECT_STREQ(e.what(), "Unknnown OS type!");
          throw;
        }
      },
      EGeneral);
  EXPECT_TRUE(unknown.RunCommandPlain("echo plain", output));
  EXPECT_EQ(output, "plain\n");
  EXPECT_TRUE(fake.RecordsOf("sudo").empty());
}

TEST_F(CommandExecuterTest, CommandThatCannotStartRaisesAndReleasesTheLock) {
  std::string output;
  for (const char* line : {"", "   ", "no-such-program-sivrant-test --flag"}) {
    EXPECT_THROW(executer.ExecCommand(line, output, false), EGeneral) << line;
    EXPECT_THROW(executer.ExecCommandExitCode(line, output, false), EGeneral) << line;
    EXPECT_FALSE(executer.RunCommandPlain(line, output)) << line;
  }
  try {
    executer.ExecCommand("no-such-program-sivrant-test", output, false);
  } catch (const EGeneral& e) {
    EXPECT_NE(std::string(e.what()).find("no-such-program-sivrant-test"), std::string::npos);
  }
  // Another thread still gets the executer.
  auto other = std::async(std::launch::async, [this] {
    std::string text;
    return executer.ExecCommand("echo free", text, false) && text == "free\n";
  });
  ASSERT_EQ(other.wait_for(std::chrono::seconds(30)), std::future_status::ready);
  EXPECT_TRUE(other.get());
}

TEST_F(CommandExecuterTest, RunCommandPlainGivesOutputOnSuccessAndErrorsOnFailure) {
  std::string output;
  EXPECT_TRUE(executer.RunCommandPlain("sh -c \"echo out; echo err >&2\"", output));
  EXPECT_EQ(output, "out\n");
  EXPECT_FALSE(executer.RunCommandPlain("sh -c \"echo out; echo err >&2; exit 2\"", output));
  EXPECT_EQ(output, "err\n");
  EXPECT_FALSE(executer.RunCommandPlain("sh -c \"kill -KILL $$\"", output));
  // A program reading its input is not left waiting for it.
  EXPECT_TRUE(executer.RunCommandPlain("cat", output));
  EXPECT_EQ(output, "");
}

TEST_F(CommandExecuterTest, AsRootAnswersThePromptOnceAndKeepsItOutOfTheOutput) {
  ASSERT_TRUE(executer.CheckAndSetPassword("s3cret-pass", true, 5000));
  std::string output;
  EXPECT_TRUE(executer.ExecCommand("sh -c \"echo as-root\"", output, true));
  EXPECT_EQ(output, "as-root\n");
  EXPECT_EQ(fake.RecordsOf("sudo").back(), "sudo|-S|sh|-c|echo as-root");
  EXPECT_EQ(fake.ReadSideFile(".auth"), "password-ok\npassword-ok\n");
}

TEST_F(CommandExecuterTest, WrongStoredPasswordGivesExactlyAuthentificationFailed) {
  ASSERT_TRUE(executer.CheckAndSetPassword("s3cret-pass", true, 5000));
  fake.SetEnv("FAKE_SUDO_PASSWORD", "changed-meanwhile");
  std::string output;
  EXPECT_FALSE(executer.ExecCommand("sh -c \"echo never\"", output, true));
  EXPECT_EQ(output, "Authentification failed!");
  EXPECT_FALSE(executer.ExecCommandExitCode("sh -c \"echo never\"", output, true));
  EXPECT_EQ(output, "Authentification failed!");
}

TEST_F(CommandExecuterTest, PasswordTravelsOnlyThroughTheInputAfterAPrompt) {
  ASSERT_TRUE(executer.CheckAndSetPassword("s3cret-pass", true, 5000));
  std::string output;
  ASSERT_TRUE(executer.ExecCommand("sh -c \"echo x\"", output, true));
  fake.SetEnv("FAKE_SUDO_MODE", "cached");
  ASSERT_TRUE(executer.ExecCommand("bash -c \"read -t 1 line; echo got:$line\"", output, true));
  EXPECT_EQ(output, "got:\n"); // no prompt: nothing written to the child
  for (const std::string& line : fake.Records())
    EXPECT_EQ(line.find("s3cret-pass"), std::string::npos) << line;
  // The environment dump holds the expected value of the stand-in only through its own
  // variable, never as anything the executer added.
  std::string environment = fake.ReadSideFile(".env");
  std::size_t ownVariable = 0, mentions = 0;
  for (std::size_t at = environment.find("s3cret-pass"); at != std::string::npos;
       at = environment.find("s3cret-pass", at + 1))
    ++mentions;
  for (std::size_t at = environment.find("FAKE_SUDO_PASSWORD=\"s3cret-pass\"");
       at != std::string::npos; at = environment.find("FAKE_SUDO_PASSWORD=\"s3cret-pass\"", at + 1))
    ++ownVariable;
  EXPECT_EQ(mentions, ownVariable);
}

TEST_F(CommandExecuterTest, PromptOfACommandRunAsTheUserIsAnsweredToo) {
  ASSERT_TRUE(executer.CheckAndSetPassword("s3cret-pass", true, 5000));
  std::string output;
  EXPECT_TRUE(executer.ExecCommand("sh -c \"printf '[sudo] pw: ' >&2; read p; echo got:$p\"",
                                   output, false));
  EXPECT_EQ(output, "got:s3cret-pass\n");
}

TEST_F(CommandExecuterTest, CheckAndSetPasswordKeepsOnlyAnAcceptedPasswordWhenAsked) {
  std::string output;
  // Not kept: the stored password stays empty, which sudo then rejects.
  EXPECT_TRUE(executer.CheckAndSetPassword("s3cret-pass", false, 5000));
  EXPECT_FALSE(executer.ExecCommand("true", output, true));
  EXPECT_EQ(output, "Authentification failed!");
  // Kept, then a wrong one checked: the good one stays.
  EXPECT_TRUE(executer.CheckAndSetPassword("s3cret-pass", true, 5000));
  EXPECT_FALSE(executer.CheckAndSetPassword("wrong", true, 5000));
  EXPECT_TRUE(executer.ExecCommand("true", output, true));
  EXPECT_EQ(fake.RecordsOf("sudo").front(), "sudo|-v|-S");
}

TEST_F(CommandExecuterTest, CheckAndSetPasswordWithoutPromptOrWithinTheLimits) {
  fake.SetEnv("FAKE_SUDO_MODE", "cached");
  EXPECT_TRUE(executer.CheckAndSetPassword("anything", false, 5000));
  EXPECT_EQ(fake.ReadSideFile(".auth"), ""); // never asked, never answered

  fake.SetEnv("FAKE_SUDO_MODE", "slow-ok"); // ends 0.3 s after the answer
  EXPECT_TRUE(executer.CheckAndSetPassword("s3cret-pass", true, 0));

  fake.SetEnv("FAKE_SUDO_MODE", "hang"); // neither ends nor asks again
  EXPECT_FALSE(executer.CheckAndSetPassword("s3cret-pass", true, 300));
  // The hanging sudo is ended by the next operation.
  std::string pid = fake.ReadSideFile(".sudo-pid");
  std::string output;
  EXPECT_TRUE(executer.ExecCommand("true", output, false));
  EXPECT_TRUE(ProcessGone(pid));
}

TEST_F(CommandExecuterTest, IsPasswordRequiredLeavesSudoAtItsPromptUntilTheNextOperation) {
  EXPECT_TRUE(executer.IsPasswordRequired());
  EXPECT_EQ(fake.RecordsOf("sudo").back(), "sudo|-S|ls|/root");
  std::string pid = fake.ReadSideFile(".sudo-pid");
  EXPECT_FALSE(ProcessGone(pid));
  EXPECT_EQ(fake.ReadSideFile(".auth"), ""); // not answered

  std::string output;
  EXPECT_TRUE(executer.ExecCommand("true", output, false));
  EXPECT_TRUE(ProcessGone(pid));

  fake.SetEnv("FAKE_SUDO_MODE", "cached");
  EXPECT_FALSE(executer.IsPasswordRequired());
}

TEST_F(CommandExecuterTest, AcquireProcessNeedsAnOwner) {
  TLNX_CommandExecuterCallbackAuth callback;
  try {
    executer.AcquireProcess(nullptr, callback);
    FAIL() << "no exception";
  } catch (const EGeneral& e) {
    EXPECT_STREQ(e.what(), "TLNX_CommandExecuter: aOwner is not defined!");
  }
  // The lock was not taken.
  auto other = std::async(std::launch::async, [this] {
    std::string output;
    return executer.ExecCommand("true", output, false);
  });
  ASSERT_EQ(other.wait_for(std::chrono::seconds(30)), std::future_status::ready);
  EXPECT_TRUE(other.get());
}

TEST_F(CommandExecuterTest, BorrowerHoldsTheLockUntilItsOwnRelease) {
  int worker = 0, stranger = 0;
  std::promise<void> acquired, mayRelease;
  std::thread borrower([&] {
    TLNX_CommandExecuterCallbackAuth callback;
    platform::Process& process = executer.AcquireProcess(&worker, callback);
    process.SetStderrToOutput(true); // must not carry over to later commands
    acquired.set_value();
    mayRelease.get_future().wait();
    executer.ReleaseProcess(&worker);
  });
  acquired.get_future().wait();

  executer.ReleaseProcess(&stranger); // not the owner: the lock stays held
  auto blocked = std::async(std::launch::async, [this] {
    std::string output;
    bool ok = executer.ExecCommand("sh -c \"echo err >&2\"", output, false);
    return std::make_pair(ok, output);
  });
  EXPECT_EQ(blocked.wait_for(std::chrono::milliseconds(300)), std::future_status::timeout);

  mayRelease.set_value();
  borrower.join();
  ASSERT_EQ(blocked.wait_for(std::chrono::seconds(30)), std::future_status::ready);
  auto [ok, output] = blocked.get();
  EXPECT_FALSE(ok); // the error stream is separate again
  EXPECT_EQ(output, "err\n");
}

TEST_F(CommandExecuterTest, BorrowerGetsTheExecutersPromptAnswerer) {
  ASSERT_TRUE(executer.CheckAndSetPassword("s3cret-pass", true, 5000));
  int worker = 0;
  TLNX_CommandExecuterCallbackAuth callback;
  platform::Process& process = executer.AcquireProcess(&worker, callback);
  process.SetInactive();
  process.SetStderrToOutput(true);
  process.SetCommandLine("sudo -S  sh -c \"echo worker-output\"");
  process.Execute();
  std::string seen;
  int prompts = 0;
  while (process.Running() || process.Output().NumBytesAvailable() > 0) {
    if (process.Output().NumBytesAvailable() == 0) {
      process.WaitForActivity(50);
      continue;
    }
    std::string chunk = TLNX_CommandExecuter::ReadPipeChunk(process.Output());
    if (callback(chunk, process.Input()))
      ++prompts;
    else
      seen += chunk;
  }
  executer.ReleaseProcess(&worker);
  EXPECT_EQ(prompts, 1);
  EXPECT_EQ(seen, "worker-output\n");
  EXPECT_EQ(process.ExitStatus(), 0);
}

TEST(ReadPipeChunk, ReadsAtMost2048BytesOfWhatIsThere) {
  platform::Process process;
  process.SetCommandLine("head -c 5000 /dev/zero");
  process.Execute();
  while (process.Running())
    process.WaitForActivity(50);
  EXPECT_EQ(TLNX_CommandExecuter::ReadPipeChunk(process.Output()).size(), 2048u);
  EXPECT_EQ(TLNX_CommandExecuter::ReadPipeChunk(process.Output()).size(), 2048u);
  EXPECT_EQ(TLNX_CommandExecuter::ReadPipeChunk(process.Output()).size(), 904u);
  EXPECT_EQ(TLNX_CommandExecuter::ReadPipeChunk(process.Output()), "");
}

} // namespace
