#pragma once
// Child processes without a shell. The command line is split into program and arguments by
// SplitCommandLine; the child gets pipes for its standard streams (or its error stream merged
// into the output) and inherits the environment and the working folder.
//
// Reading one pipe never lets the child block on the other: whenever either output pipe is looked
// at (and whenever Running or WaitForActivity is called), everything the child has written so far
// is taken out of both pipes into buffers of the parent. NumBytesAvailable and ReadAvailable work
// on those buffers, so a caller that watches only the error stream while the child writes
// megabytes to its standard output never stalls the child.
//
// Interface agreed between the host services (the executer) and the installation workers.

#include <cstddef>
#include <string>
#include <vector>

namespace platform {

// Splits a command line: blanks, tabs, CR and LF separate; a single or double quote opens a
// stretch closed by the same quote in which separators do not separate; an argument that begins
// and ends with the same quote loses those two quotes, other quotes stay. Runs of separators give
// no empty words; a quoted empty stretch ("") gives an empty argument.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

// One end of a child's pipe, as the parent sees it.
class ProcessPipe {
public:
  virtual ~ProcessPipe() = default;
  // Bytes that can be read now without blocking.
  virtual std::size_t NumBytesAvailable() = 0;
  // Reads up to maxBytes of what is available now; never blocks. Empty when nothing is there.
  virtual std::string ReadAvailable(std::size_t maxBytes) = 0;
  // Writes all bytes (standard input only); throws EGeneral when the child has closed it.
  virtual void Write(const std::string& bytes) = 0;
};

class Process {
public:
  Process();
  ~Process(); // terminates and reaps a running child
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  void SetCommandLine(const std::string& commandLine);
  const std::string& CommandLine() const;
  // false: three separate pipes; true: the error stream goes into the output pipe.
  void SetStderrToOutput(bool merge);
  bool StderrToOutput() const;

  // Starts the child (ending and closing a previous one first). Throws EGeneral naming the
  // command when the command line is empty or the program cannot be started.
  void Execute();
  // True while the child has not ended; collects the exit status once it has.
  bool Running();
  // Raw wait status of the ended child (exit 1 gives 256); -1 while it has not been collected.
  int ExitStatus() const;
  // Code passed to exit(); 0 while it runs or when it ended by a signal.
  int ExitCode() const;
  // Terminate signal, a kill signal if it still runs shortly after, then reap. No-op when idle.
  void Terminate();
  // Ends a running child (Terminate) and closes the pipes, ready for the next Execute.
  void SetInactive();

  // Sleeps at most timeoutMs, returning early when the child writes to a pipe or ends. Used in
  // place of a fixed poll interval so that short commands are not slowed down by it.
  void WaitForActivity(int timeoutMs);

  ProcessPipe& Input();
  ProcessPipe& Output();
  ProcessPipe& Stderr(); // empty when merged into Output

  // Starts the child and runs it to its end, collecting its standard output and error stream.
  // Throws like Execute when it cannot be started.
  void RunAndCollect(std::string& output, std::string& errors);

private:
  struct Impl;
  Impl* impl_;
};

} // namespace platform
