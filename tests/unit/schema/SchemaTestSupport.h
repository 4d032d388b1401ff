#pragma once
// Helpers of the schema tests: XML fixtures, stand-in host commands (apt-cache and sudo) earlier in
// PATH, and the shared command executer. A private folder per test is testsupport::TempFolder.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "TempFolder.h"
#include "XmlDom.h"
#include "uLnxOS_Info.h"

namespace schema_test {

namespace fs = std::filesystem;

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteFile(const std::string& path, const std::string& text, bool executable = false) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
  if (executable)
    ::chmod(path.c_str(), 0755);
}

inline std::unique_ptr<platform::XmlDocument> ParseXml(const std::string& text) {
  return platform::XmlDocument::Parse(text, "fixture.xml");
}

inline std::string PayloadFile(const std::string& name) {
  return std::string(SIVRANT_PAYLOAD_DIR) + "/" + name;
}

// Stand-in host commands in a folder put first in PATH, and the shared command executer for an
// Astra Linux host, for as long as the object lives.
//  - apt-cache: "apt-cache policy NAME" prints the file NAME.policy of the answers folder, as
//    apt prints its report; a package without such a file prints nothing (exit code 0).
//  - sudo: drops its options and runs the command as the current user.
class StandInHost {
public:
  StandInHost() {
    const std::string bin = folder_.File("bin");
    fs::create_directories(bin);
    fs::create_directories(AnswersFolder());
    WriteFile(bin + "/apt-cache",
              "#!/bin/bash\n"
              "[ \"$1\" = policy ] || exit 2\n"
              "answer=\"" +
                  AnswersFolder() +
                  "/$2.policy\"\n"
                  "[ -f \"$answer\" ] && cat \"$answer\"\n"
                  "exit 0\n",
              true);
    WriteFile(bin + "/sudo",
              "#!/bin/bash\n"
              "while [ \"${1#-}\" != \"$1\" ]; do shift; done\n"
              "exec \"$@\"\n",
              true);
    const char* path = std::getenv("PATH");
    savedPath_ = path ? path : "";
    ::setenv("PATH", (bin + ":" + savedPath_).c_str(), 1);
    savedExecuter_ = CommandExecuter;
    CommandExecuter = new TLNX_CommandExecuter(lotAstra_1_8);
  }
  ~StandInHost() {
    delete CommandExecuter;
    CommandExecuter = savedExecuter_;
    ::setenv("PATH", savedPath_.c_str(), 1);
  }
  StandInHost(const StandInHost&) = delete;
  StandInHost& operator=(const StandInHost&) = delete;

  std::string AnswersFolder() const { return folder_.File("answers"); }

  // apt's report on a package in the host's Russian output; an empty version leaves the line
  // out, "(отсутствует)" is apt's text for none.
  void SetPolicy(const std::string& package, const std::string& installed,
                 const std::string& candidate) const {
    std::string report = package + ":\n";
    if (!installed.empty())
      report += "  Установлен: " + installed + "\n";
    if (!candidate.empty())
      report += "  Кандидат:   " + candidate + "\n";
    report += "  Таблица версий:\n";
    if (!candidate.empty() && candidate != "(отсутствует)")
      report += "     " + candidate + " 500\n        500 http://repo stable/main amd64 Packages\n";
    WriteFile(AnswersFolder() + "/" + package + ".policy", report);
  }

private:
  testsupport::TempFolder folder_;
  std::string savedPath_;
  TLNX_CommandExecuter* savedExecuter_ = nullptr;
};

} // namespace schema_test
