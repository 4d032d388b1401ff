// The process layer: command-line splitting, pipes, exit status, termination.
#include <gtest/gtest.h>

#include <ostream>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "Exceptions.h"
#include "Process.h"

using platform::Process;
using platform::SplitCommandLine;

namespace {

struct SplitCase {
  const char* line;
  std::vector<std::string> words;
};
void PrintTo(const SplitCase& c, std::ostream* os) {
  *os << '"';
  for (char ch : std::string(c.line))
    *os << (ch == '\t' ? "\\t" : ch == '\r' ? "\\r" : ch == '\n' ? "\\n" : std::string(1, ch));
  *os << '"';
}

class Splitting : public ::testing::TestWithParam<SplitCase> {};

TEST_P(Splitting, FollowsTheQuoteRule) {
  EXPECT_EQ(SplitCommandLine(GetParam().line), GetParam().words) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Process, Splitting,
    ::testing::Values(SplitCase{"ls -l /tmp", {"ls", "-l", "/tmp"}},
                      SplitCase{"  a\t b\r\nc  ", {"a", "b", "c"}},
                      SplitCase{"sudo -S  ls /root", {"sudo", "-S", "ls", "/root"}},
                      SplitCase{"rm -Rf ", {"rm", "-Rf"}},
                      SplitCase{"chmod 770 \"/a b/c\"", {"chmod", "770", "/a b/c"}},
                      SplitCase{"echo 'x  y'", {"echo", "x  y"}},
                      SplitCase{"--opt=\"a b\" z", {"--opt=\"a b\"", "z"}},
                      SplitCase{"\"it's\"", {"it's"}}, SplitCase{"'say \"hi\"'", {"say \"hi\""}},
                      SplitCase{"a\"b c\"d", {"a\"b c\"d"}}, SplitCase{"\"a\"b\"c\"", {"a\"b\"c"}},
                      SplitCase{"\"unclosed stretch", {"\"unclosed stretch"}},
                      SplitCase{"find \"\" -iname x", {"find", "", "-iname", "x"}},
                      SplitCase{"", {}}, SplitCase{" \t\r\n", {}}));

std::string ReadAll(platform::ProcessPipe& pipe) {
  return pipe.ReadAvailable(SIZE_MAX);
}

void WaitForEnd(Process& process) {
  while (process.Running())
    process.WaitForActivity(50);
}

bool Gone(pid_t pid) {
  return ::kill(pid, 0) == -1 && errno == ESRCH;
}

// Ended: gone, or a zombie waiting for whoever adopted it (not every init reaps at once).
bool Ended(pid_t pid) {
  if (Gone(pid))
    return true;
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(stat, line);
  const std::size_t close = line.rfind(')');
  return close != std::string::npos && line.size() > close + 2 && line[close + 2] == 'Z';
}

struct StatusCase {
  const char* script;
  int status;
  int code;
};
void PrintTo(const StatusCase& c, std::ostream* os) {
  *os << c.script;
}

class ExitStatus : public ::testing::TestWithParam<StatusCase> {};

TEST_P(ExitStatus, IsTheRawWaitStatusAndCodeOnlyForANormalExit) {
  Process process;
  process.SetCommandLine(std::string("sh -c \"") + GetParam().script + "\"");
  process.Execute();
  EXPECT_EQ(process.ExitStatus(), -1);
  WaitForEnd(process);
  EXPECT_EQ(process.ExitStatus(), GetParam().status);
  EXPECT_EQ(process.ExitCode(), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(Process, ExitStatus,
                         ::testing::Values(StatusCase{"exit 0", 0, 0}, StatusCase{"exit 1", 256, 1},
                                           StatusCase{"exit 3", 768, 3},
                                           StatusCase{"kill -TERM $$", SIGTERM, 0},
                                           StatusCase{"kill -KILL $$", SIGKILL, 0}));

TEST(Process, ProgramThatCannotStartRaisesNamingTheCommand) {
  Process process;
  for (const char* line : {"", "  ", "/nonexistent/program arg", "no-such-program-sivrant"}) {
    process.SetCommandLine(line);
    try {
      process.Execute();
      FAIL() << "started: " << line;
    } catch (const EGeneral& e) {
      EXPECT_NE(std::string(e.what()).find(std::string("\"") + line + "\""), std::string::npos)
          << e.what();
    }
    EXPECT_FALSE(process.Running());
  }
}

TEST(Process, StandardOutputIsTakenWhileOnlyTheErrorStreamIsWatched) {
  Process process;
  process.SetCommandLine("sh -c \"head -c 3000000 /dev/zero; echo done >&2\"");
  process.Execute();
  std::string errors;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (errors.find("done") == std::string::npos && std::chrono::steady_clock::now() < deadline) {
    errors += process.Stderr().ReadAvailable(2048);
    process.WaitForActivity(50);
  }
  EXPECT_EQ(errors, "done\n");
  WaitForEnd(process);
  EXPECT_EQ(process.Output().NumBytesAvailable(), 3000000u);
  std::string first = process.Output().ReadAvailable(2048);
  EXPECT_EQ(first, std::string(2048, '\0'));
  EXPECT_EQ(process.Output().NumBytesAvailable(), 3000000u - 2048u);
}

TEST(Process, MergedErrorStreamArrivesInTheOutput) {
  Process process;
  process.SetStderrToOutput(true);
  process.SetCommandLine("sh -c \"echo out; echo err >&2\"");
  process.Execute();
  WaitForEnd(process);
  EXPECT_EQ(ReadAll(process.Output()), "out\nerr\n");
  EXPECT_EQ(process.Stderr().NumBytesAvailable(), 0u);
}

TEST(Process, InputReachesTheChild) {
  Process process;
  process.SetCommandLine("sh -c \"read line; echo got:$line\"");
  process.Execute();
  process.Input().Write("hello\n");
  WaitForEnd(process);
  EXPECT_EQ(ReadAll(process.Output()), "got:hello\n");
}

TEST(Process, WritingToAChildThatClosedItsInputRaisesInsteadOfKilling) {
  Process process;
  process.SetCommandLine("true");
  process.Execute();
  WaitForEnd(process);
  EXPECT_THROW(process.Input().Write(std::string(100000, 'x')), EGeneral);
  process.SetInactive();
  EXPECT_THROW(process.Input().Write("x"), EGeneral);
}

TEST(Process, TerminateKillsAChildThatIgnoresTheSignalAndReapsIt) {
  Process process;
  process.SetCommandLine("sh -c \"trap '' TERM; echo $$; while :; do sleep 0.05; done\"");
  process.Execute();
  std::string pidText;
  while (pidText.find('\n') == std::string::npos && process.Running()) {
    process.WaitForActivity(50);
    pidText += ReadAll(process.Output());
  }
  const pid_t pid = std::stoi(pidText);
  process.Terminate();
  EXPECT_FALSE(process.Running());
  EXPECT_EQ(process.ExitStatus(), SIGKILL);
  EXPECT_TRUE(Gone(pid)); // reaped: no zombie left
}

TEST(Process, ObjectThatGoesEndsItsChildAndItsHelpers) {
  pid_t shell = 0, helper = 0;
  {
    Process process;
    process.SetCommandLine("sh -c \"sleep 30 & echo $$ $!; wait\"");
    process.Execute();
    std::string pids;
    while (pids.find('\n') == std::string::npos && process.Running()) {
      process.WaitForActivity(50);
      pids += ReadAll(process.Output());
    }
    ASSERT_EQ(std::sscanf(pids.c_str(), "%d %d", &shell, &helper), 2);
  }
  EXPECT_TRUE(Gone(shell));
  // The helper was killed too.
  for (int i = 0; i < 250 && !Ended(helper); ++i)
    ::usleep(20000);
  EXPECT_TRUE(Ended(helper));
}

TEST(Process, RunAndCollectGathersBothStreamsAndClosesTheInput) {
  Process process;
  process.SetCommandLine("sh -c \"cat; echo out; echo err >&2; exit 4\"");
  std::string output, errors;
  process.RunAndCollect(output, errors);
  EXPECT_EQ(output, "out\n");
  EXPECT_EQ(errors, "err\n");
  EXPECT_EQ(process.ExitStatus(), 4 << 8);
}

TEST(Process, RunAndCollectReturnsWhenTheChildEndsEvenIfAHelperKeepsThePipes) {
  Process process;
  process.SetCommandLine("sh -c \"sleep 20 & echo started\"");
  std::string output, errors;
  const auto start = std::chrono::steady_clock::now();
  process.RunAndCollect(output, errors);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
  EXPECT_EQ(output, "started\n");
}

TEST(Process, ExecuteAgainStartsFreshPipes) {
  Process process;
  process.SetCommandLine("echo first");
  process.Execute();
  WaitForEnd(process);
  process.SetCommandLine("echo second");
  process.Execute(); // unread output of the first run is dropped
  WaitForEnd(process);
  EXPECT_EQ(ReadAll(process.Output()), "second\n");
  EXPECT_EQ(process.CommandLine(), "echo second");
}

} // namespace
