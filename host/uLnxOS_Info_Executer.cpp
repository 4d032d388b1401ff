// The shared command executer: one command at a time, optionally through sudo, answering sudo's
// prompt from the stored password.
#include <algorithm>
#include <chrono>
#include <thread>

#include "Exceptions.h"
#include "HostText.h"
#include "SecureWipe.h"
#include "uLnxOS_Info.h"

const char* const SudoPrefix[3] = {"", "sudo -S ", "sudo -S "};
const char* const SudoPrompt[3] = {"", "[sudo]", "[sudo]"};
const char* const SudoValidateCmd[3] = {"", "sudo -v -S ", "sudo -v -S "};

namespace {

constexpr int kPollMs = 50;
constexpr std::size_t kChunkBytes = 2048;

int Row(TLNX_OS_Type osType) {
  return osType >= lotUnknown && osType <= lotRedOS_1 ? osType : lotUnknown;
}

bool HoldsPrompt(const std::string& chunk, TLNX_OS_Type osType) {
  const std::string prompt = SudoPrompt[Row(osType)];
  return !prompt.empty() && chunk.find(prompt) != std::string::npos;
}

} // namespace

bool TLNX_CommandExecuterCallbackAuth::operator()(const std::string& Buff,
                                                  platform::ProcessPipe& aInput) const {
  return Executer != nullptr && Executer->AnswerAuthPrompt(Buff, aInput);
}

TLNX_CommandExecuter::TLNX_CommandExecuter(TLNX_OS_Type osType) : OSType_(osType) {}

TLNX_CommandExecuter::~TLNX_CommandExecuter() {
  platform::SecureWipe(Password);
}

void TLNX_CommandExecuter::ReplacePassword(const std::string& password) {
  platform::SecureWipe(Password);
  Password = password;
}

std::string TLNX_CommandExecuter::ReadPipeChunk(platform::ProcessPipe& pipe) {
  return pipe.ReadAvailable(std::min(pipe.NumBytesAvailable(), kChunkBytes));
}

bool TLNX_CommandExecuter::CheckOSType(std::string& errorText) const {
  errorText.clear();
  if (OSType_ != lotUnknown)
    return true;
  errorText = "Unknnown OS type!";
  return false;
}

bool TLNX_CommandExecuter::AnswerAuthPrompt(const std::string& Buff,
                                            platform::ProcessPipe& aInput) {
  if (!HoldsPrompt(Buff, OSType_))
    return false;
  std::string answer = Password + "\n";
  try {
    aInput.Write(answer);
  } catch (const EGeneral&) {
    // sudo went away right after its prompt; the command's end tells the rest.
  }
  platform::SecureWipe(answer);
  std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
  return true;
}

void TLNX_CommandExecuter::PrepareProcess(const std::string& commandLine) {
  Process.SetInactive();
  Process.SetStderrToOutput(false);
  Process.SetCommandLine(commandLine);
}

bool TLNX_CommandExecuter::RunProcess(const std::string& commandLine, std::string& errorText,
                                      bool asRoot) {
  if (!CheckOSType(errorText))
    return false;
  platform::RecursiveLockGuard guard(Lock);
  PrepareProcess(asRoot ? SudoPrefix[Row(OSType_)] + commandLine : commandLine);
  Process.Execute();
  bool promptAnswered = false;
  while (Process.Running()) {
    if (Process.Stderr().NumBytesAvailable() == 0) {
      Process.WaitForActivity(kPollMs);
      continue;
    }
    while (Process.Stderr().NumBytesAvailable() > 0) {
      std::string chunk = ReadPipeChunk(Process.Stderr());
      if (AnswerAuthPrompt(chunk, Process.Input())) {
        if (promptAnswered) {
          errorText = "Authentification failed!";
          return false; // sudo keeps waiting; the next operation ends it
        }
        promptAnswered = true;
      } else {
        errorText += chunk;
      }
    }
  }
  return true;
}

bool TLNX_CommandExecuter::RunAndCompose(const std::string& commandLine, std::string& output,
                                         bool asRoot, bool successByExitCode) {
  output.clear();
  if (!CheckOSType(output))
    return false;
  platform::RecursiveLockGuard guard(Lock);
  if (!RunProcess(commandLine, output, asRoot))
    return false;
  const bool exitCodeZero = Process.ExitCode() == 0;
  while (Process.Stderr().NumBytesAvailable() > 0)
    output += ReadPipeChunk(Process.Stderr());
  const bool success = successByExitCode ? exitCodeZero : host::TrimControl(output).empty();
  while (Process.Output().NumBytesAvailable() > 0)
    output += ReadPipeChunk(Process.Output());
  return success;
}

bool TLNX_CommandExecuter::ExecCommand(const std::string& commandLine, std::string& output,
                                       bool asRoot) {
  return RunAndCompose(commandLine, output, asRoot, false);
}

bool TLNX_CommandExecuter::ExecCommandExitCode(const std::string& commandLine, std::string& output,
                                               bool asRoot) {
  return RunAndCompose(commandLine, output, asRoot, true);
}

bool TLNX_CommandExecuter::RunCommandPlain(const std::string& commandLine, std::string& output) {
  output.clear();
  platform::RecursiveLockGuard guard(Lock);
  PrepareProcess(commandLine);
  std::string standardOutput, errorStream;
  try {
    Process.RunAndCollect(standardOutput, errorStream);
  } catch (const EGeneral& error) {
    output = error.what(); // nothing came on the error stream: say why it did not run
    return false;
  }
  const bool success = Process.ExitStatus() == 0;
  output = success ? standardOutput : errorStream;
  return success;
}

bool TLNX_CommandExecuter::IsPasswordRequired() {
  platform::RecursiveLockGuard guard(Lock);
  PrepareProcess(std::string(SudoPrefix[Row(OSType_)]) + " ls /root");
  Process.Execute();
  while (Process.Running()) {
    if (Process.Stderr().NumBytesAvailable() == 0) {
      Process.WaitForActivity(kPollMs);
      continue;
    }
    while (Process.Stderr().NumBytesAvailable() > 0)
      if (HoldsPrompt(ReadPipeChunk(Process.Stderr()), OSType_))
        return true; // sudo stays at its prompt until the next operation ends it
  }
  return false;
}

bool TLNX_CommandExecuter::CheckAndSetPassword(const std::string& password, bool keep,
                                               uint16_t timeLimitMs) {
  std::string osError;
  if (!CheckOSType(osError))
    throw EGeneral(osError);
  platform::RecursiveLockGuard guard(Lock);
  std::string remembered = Password;
  bool result = false;
  try {
    PrepareProcess(SudoValidateCmd[Row(OSType_)]);
    Process.Execute();
    using Clock = std::chrono::steady_clock;
    Clock::time_point noted = Clock::now();
    ReplacePassword(password);
    bool promptAnswered = false;
    bool leftEarly = false;
    while (!leftEarly && Process.Running()) {
      if (timeLimitMs != 0 && Clock::now() - noted > std::chrono::milliseconds(timeLimitMs)) {
        leftEarly = true;
        break;
      }
      if (Process.Stderr().NumBytesAvailable() > 0 &&
          AnswerAuthPrompt(ReadPipeChunk(Process.Stderr()), Process.Input())) {
        if (promptAnswered) {
          leftEarly = true; // a second prompt: the password was wrong
          break;
        }
        noted = Clock::now();
        promptAnswered = true;
      }
      Process.WaitForActivity(kPollMs);
    }
    result = !leftEarly;
  } catch (...) {
    ReplacePassword(remembered);
    platform::SecureWipe(remembered);
    throw;
  }
  if (!(result && keep))
    ReplacePassword(remembered);
  platform::SecureWipe(remembered);
  return result;
}

platform::Process&
TLNX_CommandExecuter::AcquireProcess(TLNX_ProcessOwner aOwner,
                                     TLNX_CommandExecuterCallbackAuth& callback) {
  if (aOwner == nullptr)
    throw EGeneral("TLNX_CommandExecuter: aOwner is not defined!");
  Lock.Acquire();
  LockOwner = aOwner;
  callback.Executer = this;
  return Process;
}

void TLNX_CommandExecuter::ReleaseProcess(TLNX_ProcessOwner aOwner) {
  if (aOwner == LockOwner)
    Lock.Release(); // refused when the calling thread does not hold the lock
}
