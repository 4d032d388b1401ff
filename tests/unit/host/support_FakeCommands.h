#pragma once
// Stand-in host commands for tests: small bash scripts in a private folder put first in PATH.
// Recorders append one line per call to the record file: the command's name and its arguments
// joined by '|' ("mkdir|-p|/a|b" shows that "/a b" reached mkdir as two arguments).

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "TempFolder.h"

namespace testsupport {

std::string ReadFile(const std::string& path);

class FakeCommands {
public:
  FakeCommands();
  ~FakeCommands(); // restores PATH and every variable set through SetEnv
  FakeCommands(const FakeCommands&) = delete;
  FakeCommands& operator=(const FakeCommands&) = delete;

  // A command that records its call and exits with $FAKE_EXIT (0 when unset).
  void AddRecorder(const std::string& name);
  // The stand-in sudo. FAKE_SUDO_MODE chooses its behaviour:
  //   ask (default): prompts "[sudo] пароль для USER: " on stderr without a line feed, reads the
  //     password, prompts once more on a wrong one and exits 1 after the second wrong one;
  //   cached: no prompt; deny: "Sorry, user ... may not run sudo" and exit 1;
  //   hang: prompts, reads, then neither ends nor prompts again;
  //   slow-ok: prompts, reads, ends with 0 after 0.3 s;
  //   late-ok / late-fail: no output, ends after 0.2 s with 0 / 1;
  //   noise: a line on stderr that is no prompt, then ends after 0.3 s with 0.
  // The expected password is FAKE_SUDO_PASSWORD. Leading -S and -v are options; without -v the
  // remaining arguments are run. It records its call, writes its pid to <record>.sudo-pid, its
  // environment to <record>.env and "password-ok"/"password-bad" lines to <record>.auth.
  void AddSudo();
  // Any other stand-in: body is bash run with the command's arguments.
  void AddScript(const std::string& name, const std::string& body);

  // PATH becomes the stand-in folder followed by the original PATH, or the folder alone.
  void PutFirstInPath();
  void UseOnlyFakePath();

  void SetEnv(const std::string& name, const std::string& value);
  void UnsetEnv(const std::string& name);

  const std::string& BinDir() const { return bin_.Path(); }
  const std::string& RecordPath() const { return recordPath_; }
  // The recorded calls, in order.
  std::vector<std::string> Records() const;
  // The recorded calls of one command.
  std::vector<std::string> RecordsOf(const std::string& name) const;
  std::string ReadSideFile(const std::string& suffix) const; // <record><suffix>, "" if missing

private:
  void Remember(const std::string& name);

  TempFolder bin_;
  TempFolder data_;
  std::string recordPath_;
  std::map<std::string, std::optional<std::string>> savedEnv_;
};

} // namespace testsupport
