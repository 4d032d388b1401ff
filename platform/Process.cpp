#include "Process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <pthread.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>

#include "Exceptions.h"

extern char** environ;

namespace platform {

namespace {

// How long a child gets to end after the terminate signal before it is killed.
constexpr int kTerminateGraceMs = 300;
// Exit status reported when someone else reaped our child and its real status is lost.
constexpr int kLostStatus = 255 << 8;

bool IsSeparator(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsQuote(char c) {
  return c == '"' || c == '\'';
}

std::string Unquote(const std::string& word) {
  if (word.size() >= 2 && IsQuote(word.front()) && word.back() == word.front())
    return word.substr(1, word.size() - 2);
  return word;
}

std::string ErrorText(int error) {
  return std::error_code(error, std::generic_category()).message();
}

void CloseFd(int& fd) {
  if (fd >= 0)
    ::close(fd);
  fd = -1;
}

// A pipe whose two ends are above the standard streams, so that the child's dup2 onto 0, 1 and 2
// always clears the close-on-exec flag (dup2 of a descriptor onto itself would not).
void MakePipe(int ends[2]) {
  if (::pipe2(ends, O_CLOEXEC) != 0)
    throw EGeneral("Cannot create a pipe for a child process: " + ErrorText(errno));
  for (int i = 0; i < 2; ++i) {
    if (ends[i] >= 3)
      continue;
    int moved = ::fcntl(ends[i], F_DUPFD_CLOEXEC, 3);
    int error = errno;
    ::close(ends[i]);
    ends[i] = moved;
    if (moved < 0) {
      CloseFd(ends[1 - i]);
      throw EGeneral("Cannot create a pipe for a child process: " + ErrorText(error));
    }
  }
}

int OpenPidFd(pid_t pid) {
#ifdef SYS_pidfd_open
  return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
  (void)pid;
  return -1;
#endif
}

// The child's standard input as the parent sees it.
class InputPipe : public ProcessPipe {
public:
  void Attach(int fd) { fd_ = fd; }
  void Close() { CloseFd(fd_); }

  std::size_t NumBytesAvailable() override { return 0; }
  std::string ReadAvailable(std::size_t) override { return {}; }

  void Write(const std::string& bytes) override {
    if (fd_ < 0)
      throw EGeneral("Cannot write to the child process: its standard input is closed");
    // A child that has closed its input must not kill us with SIGPIPE: block the signal on this
    // thread while writing and swallow the one the failed write raised.
    sigset_t pipeSignal, previous;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
    std::size_t written = 0;
    int error = 0;
    while (written < bytes.size()) {
      ssize_t n = ::write(fd_, bytes.data() + written, bytes.size() - written);
      if (n < 0) {
        if (errno == EINTR)
          continue;
        error = errno;
        break;
      }
      written += static_cast<std::size_t>(n);
    }
    if (error == EPIPE) {
      timespec noWait{0, 0};
      sigtimedwait(&pipeSignal, nullptr, &noWait);
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    if (error != 0)
      throw EGeneral("Cannot write to the child process: " + ErrorText(error));
  }

private:
  int fd_ = -1;
};

// The child's standard output or error stream. What the child writes is taken into a buffer
// whenever any pipe of the process is looked at, so the child never waits on a full pipe.
class OutputPipe : public ProcessPipe {
public:
  explicit OutputPipe(std::function<void()> fillAll) : fillAll_(std::move(fillAll)) {}

  void Attach(int fd) {
    fd_ = fd;
    atEnd_ = false;
  }
  void Close() {
    CloseFd(fd_);
    buffer_.clear();
    readPos_ = 0;
    atEnd_ = true;
  }
  int Fd() const { return atEnd_ ? -1 : fd_; }

  // Takes everything that is in the pipe now; never blocks (the descriptor is non-blocking).
  void Fill() {
    if (fd_ < 0 || atEnd_)
      return;
    char chunk[65536];
    for (;;) {
      ssize_t n = ::read(fd_, chunk, sizeof chunk);
      if (n > 0) {
        buffer_.append(chunk, static_cast<std::size_t>(n));
        continue;
      }
      if (n == 0)
        atEnd_ = true;
      else if (errno == EINTR)
        continue;
      return; // EAGAIN: nothing more now
    }
  }

  std::string TakeAll() {
    fillAll_();
    std::string all = buffer_.substr(readPos_);
    buffer_.clear();
    readPos_ = 0;
    return all;
  }

  std::size_t NumBytesAvailable() override {
    fillAll_();
    return buffer_.size() - readPos_;
  }

  std::string ReadAvailable(std::size_t maxBytes) override {
    fillAll_();
    std::size_t n = std::min(maxBytes, buffer_.size() - readPos_);
    std::string chunk = buffer_.substr(readPos_, n);
    readPos_ += n;
    if (readPos_ == buffer_.size()) {
      buffer_.clear();
      readPos_ = 0;
    } else if (readPos_ > 65536 && readPos_ * 2 > buffer_.size()) {
      buffer_.erase(0, readPos_);
      readPos_ = 0;
    }
    return chunk;
  }

  void Write(const std::string&) override {
    throw EGeneral("Cannot write to an output stream of a child process");
  }

private:
  std::function<void()> fillAll_;
  int fd_ = -1;
  bool atEnd_ = true;
  std::string buffer_;
  std::size_t readPos_ = 0;
};

} // namespace

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  char quote = 0;
  for (char c : commandLine) {
    if (quote != 0) {
      word += c;
      if (c == quote)
        quote = 0;
      continue;
    }
    if (IsSeparator(c)) {
      if (inWord)
        words.push_back(Unquote(word));
      word.clear();
      inWord = false;
      continue;
    }
    inWord = true;
    word += c;
    if (IsQuote(c))
      quote = c;
  }
  if (inWord)
    words.push_back(Unquote(word));
  return words;
}

struct Process::Impl {
  std::string commandLine;
  bool merge = false;
  pid_t pid = -1; // a started child not yet reaped
  int pidFd = -1;
  int status = -1;
  InputPipe input;
  OutputPipe output{[this] { FillAll(); }};
  OutputPipe errors{[this] { FillAll(); }};

  void FillAll() {
    output.Fill();
    errors.Fill();
  }

  // Collects the exit status if the child has ended; with block, waits for it.
  bool Reap(bool block) {
    if (pid < 0)
      return true;
    int waitStatus = 0;
    for (;;) {
      pid_t r = ::waitpid(pid, &waitStatus, block ? 0 : WNOHANG);
      if (r == pid)
        break;
      if (r == 0)
        return false;
      if (errno == EINTR)
        continue;
      waitStatus = kLostStatus; // ECHILD: reaped elsewhere
      break;
    }
    status = waitStatus;
    pid = -1;
    CloseFd(pidFd);
    FillAll();
    return true;
  }

  // Waits up to timeoutMs for the child to end; true when it has been reaped.
  bool WaitForExit(int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!Reap(false)) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                      deadline - std::chrono::steady_clock::now())
                      .count();
      if (left <= 0)
        return false;
      if (pidFd >= 0) {
        pollfd p{pidFd, POLLIN, 0};
        ::poll(&p, 1, static_cast<int>(left));
      } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min<long>(left, 5)));
      }
    }
    return true;
  }

  void Signal(int signalNumber) {
    // The child leads its own process group; its helpers get the signal too.
    ::kill(-pid, signalNumber);
    ::kill(pid, signalNumber);
  }

  void Terminate() {
    if (pid < 0 || Reap(false))
      return;
    Signal(SIGTERM);
    if (WaitForExit(kTerminateGraceMs))
      return;
    Signal(SIGKILL);
    Reap(true);
  }

  void CloseAll() {
    input.Close();
    output.Close();
    errors.Close();
  }
};

Process::Process() : impl_(new Impl) {}

Process::~Process() {
  impl_->Terminate();
  impl_->CloseAll();
  delete impl_;
}

void Process::SetCommandLine(const std::string& commandLine) {
  impl_->commandLine = commandLine;
}
const std::string& Process::CommandLine() const {
  return impl_->commandLine;
}
void Process::SetStderrToOutput(bool merge) {
  impl_->merge = merge;
}
bool Process::StderrToOutput() const {
  return impl_->merge;
}

void Process::Execute() {
  SetInactive();
  impl_->status = -1;
  const std::string& line = impl_->commandLine;
  std::vector<std::string> args = SplitCommandLine(line);
  if (args.empty())
    throw EGeneral("Cannot execute command \"" + line + "\": the command line is empty");

  int in[2] = {-1, -1}, out[2] = {-1, -1}, err[2] = {-1, -1};
  try {
    MakePipe(in);
    MakePipe(out);
    if (!impl_->merge)
      MakePipe(err);
  } catch (...) {
    for (int* fd : {&in[0], &in[1], &out[0], &out[1], &err[0], &err[1]})
      CloseFd(*fd);
    throw;
  }

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, impl_->merge ? out[1] : err[1], STDERR_FILENO);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
  // Descriptors of the program opened without close-on-exec stay out of the child.
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
#endif

  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t noSignals, allSignals;
  sigemptyset(&noSignals);
  sigfillset(&allSignals);
  posix_spawnattr_setsigmask(&attributes, &noSignals);
  posix_spawnattr_setsigdefault(&attributes, &allSignals);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);

  std::vector<char*> argv;
  for (std::string& arg : args)
    argv.push_back(arg.data());
  argv.push_back(nullptr);

  pid_t pid = -1;
  int rc = ::posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  CloseFd(in[0]);
  CloseFd(out[1]);
  CloseFd(err[1]);
  if (rc != 0) {
    CloseFd(in[1]);
    CloseFd(out[0]);
    CloseFd(err[0]);
    throw EGeneral("Cannot execute command \"" + line + "\": " + ErrorText(rc));
  }

  ::fcntl(out[0], F_SETFL, ::fcntl(out[0], F_GETFL) | O_NONBLOCK);
  if (err[0] >= 0)
    ::fcntl(err[0], F_SETFL, ::fcntl(err[0], F_GETFL) | O_NONBLOCK);
  impl_->pid = pid;
  impl_->pidFd = OpenPidFd(pid);
  impl_->input.Attach(in[1]);
  impl_->output.Attach(out[0]);
  impl_->errors.Attach(err[0]);
}

bool Process::Running() {
  impl_->FillAll();
  return !impl_->Reap(false);
}

int Process::ExitStatus() const {
  return impl_->pid >= 0 ? -1 : impl_->status;
}

int Process::ExitCode() const {
  int status = ExitStatus();
  return status >= 0 && WIFEXITED(status) ? WEXITSTATUS(status) : 0;
}

void Process::Terminate() {
  impl_->Terminate();
}

void Process::SetInactive() {
  impl_->Terminate();
  impl_->CloseAll();
}

void Process::WaitForActivity(int timeoutMs) {
  impl_->FillAll();
  pollfd fds[3];
  nfds_t count = 0;
  for (int fd : {impl_->output.Fd(), impl_->errors.Fd(), impl_->pid >= 0 ? impl_->pidFd : -1})
    if (fd >= 0)
      fds[count++] = pollfd{fd, POLLIN, 0};
  if (count == 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
    return;
  }
  ::poll(fds, count, timeoutMs);
  impl_->FillAll();
}

ProcessPipe& Process::Input() {
  return impl_->input;
}
ProcessPipe& Process::Output() {
  return impl_->output;
}
ProcessPipe& Process::Stderr() {
  return impl_->errors;
}

void Process::RunAndCollect(std::string& output, std::string& errors) {
  Execute();
  // Nobody writes to the child here: let a program that reads its input see the end at once.
  impl_->input.Close();
  while (Running())
    WaitForActivity(50);
  output = impl_->output.TakeAll();
  errors = impl_->errors.TakeAll();
}

} // namespace platform
