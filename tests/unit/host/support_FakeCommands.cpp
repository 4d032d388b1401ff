#include "support_FakeCommands.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace testsupport {

namespace {

const char* const kRecorder = R"(#!/bin/bash
(IFS='|'; printf '%s\n' "${0##*/}|$*") >> "$SIVRANT_TEST_RECORD"
exit "${FAKE_EXIT:-0}"
)";

const char* const kSudo = R"(#!/bin/bash
(IFS='|'; printf '%s\n' "sudo|$*") >> "$SIVRANT_TEST_RECORD"
printf '%s\n' "$$" > "$SIVRANT_TEST_RECORD.sudo-pid"
export -p >> "$SIVRANT_TEST_RECORD.env"
prompt() { printf '[sudo] пароль для %s: ' "$USER" >&2; }
check() {
  if [ "$1" = "$FAKE_SUDO_PASSWORD" ]; then
    echo password-ok >> "$SIVRANT_TEST_RECORD.auth"; return 0
  fi
  echo password-bad >> "$SIVRANT_TEST_RECORD.auth"; return 1
}
validate=0
while [ $# -gt 0 ]; do
  case "$1" in
    -S) shift ;;
    -v) validate=1; shift ;;
    *) break ;;
  esac
done
case "${FAKE_SUDO_MODE:-ask}" in
  cached) ;;
  deny) printf 'Sorry, user %s may not run sudo on testhost.\n' "$USER" >&2; exit 1 ;;
  hang) prompt; read -r pw; check "$pw"; exec sleep 30 ;;
  slow-ok) prompt; read -r pw; check "$pw"; sleep 0.3; exit 0 ;;
  late-ok) sleep 0.2; exit 0 ;;
  late-fail) sleep 0.2; exit 1 ;;
  noise) printf 'sudo: unable to resolve host testhost\n' >&2; sleep 0.3; exit 0 ;;
  *)
    prompt; read -r pw
    if ! check "$pw"; then
      printf 'Попробуйте ещё раз.\n' >&2; prompt; read -r pw
      if ! check "$pw"; then printf 'sudo: 2 incorrect password attempts\n' >&2; exit 1; fi
    fi ;;
esac
[ "$validate" = 1 ] && exit 0
[ $# -eq 0 ] && exit 0
exec "$@"
)";

void WriteExecutable(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
  out.close();
  ::chmod(path.c_str(), 0755);
}

} // namespace

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

FakeCommands::FakeCommands() : recordPath_(data_.Path() + "/record") {
  SetEnv("SIVRANT_TEST_RECORD", recordPath_);
}

FakeCommands::~FakeCommands() {
  for (const auto& [name, value] : savedEnv_) {
    if (value)
      ::setenv(name.c_str(), value->c_str(), 1);
    else
      ::unsetenv(name.c_str());
  }
}

void FakeCommands::Remember(const std::string& name) {
  if (savedEnv_.count(name) == 0) {
    const char* value = std::getenv(name.c_str());
    savedEnv_[name] = value ? std::optional<std::string>(value) : std::nullopt;
  }
}

void FakeCommands::SetEnv(const std::string& name, const std::string& value) {
  Remember(name);
  ::setenv(name.c_str(), value.c_str(), 1);
}

void FakeCommands::UnsetEnv(const std::string& name) {
  Remember(name);
  ::unsetenv(name.c_str());
}

void FakeCommands::AddRecorder(const std::string& name) {
  WriteExecutable(bin_.Path() + "/" + name, kRecorder);
}

void FakeCommands::AddSudo() {
  WriteExecutable(bin_.Path() + "/sudo", kSudo);
}

void FakeCommands::AddScript(const std::string& name, const std::string& body) {
  WriteExecutable(bin_.Path() + "/" + name, "#!/bin/bash\n" + body + "\n");
}

void FakeCommands::PutFirstInPath() {
  Remember("PATH");
  const std::optional<std::string>& original = savedEnv_["PATH"];
  ::setenv("PATH", (bin_.Path() + ":" + original.value_or("/usr/bin:/bin")).c_str(), 1);
}

void FakeCommands::UseOnlyFakePath() {
  SetEnv("PATH", bin_.Path());
}

std::vector<std::string> FakeCommands::Records() const {
  std::vector<std::string> lines;
  std::istringstream in(ReadFile(recordPath_));
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

std::vector<std::string> FakeCommands::RecordsOf(const std::string& name) const {
  std::vector<std::string> matching;
  for (const std::string& line : Records())
    if (line == name || line.rfind(name + "|", 0) == 0)
      matching.push_back(line);
  return matching;
}

std::string FakeCommands::ReadSideFile(const std::string& suffix) const {
  return ReadFile(recordPath_ + suffix);
}

} // namespace testsupport
