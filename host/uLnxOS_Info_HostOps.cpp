// Host operations of the executer: each builds one command line and runs it through ExecCommand
// or ExecCommandExitCode. Values inserted without quotes split at blanks into several arguments;
// values between double quotes stay one argument (the command line is split without a shell).
#include <chrono>
#include <string>
#include <sys/stat.h>

#include "Exceptions.h"
#include "HostText.h"
#include "PrivateTempDir.h"
#include "uLnxOS_Info.h"

namespace {

std::string Quoted(const std::string& value) {
  return "\"" + value + "\"";
}

long long MonotonicMillis() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

bool LocalStat(const std::string& path, struct stat& status) {
  return ::stat(path.c_str(), &status) == 0;
}

} // namespace

bool TLNX_CommandExecuter::MakeDir(const std::string& path, std::string& output, bool asRoot) {
  return ExecCommand("mkdir -p " + path, output, asRoot);
}

bool TLNX_CommandExecuter::RemoveTree(const std::string& path, std::string& output, bool asRoot) {
  return ExecCommand("rm -Rf " + path, output, asRoot);
}

bool TLNX_CommandExecuter::CopyPath(const std::string& source, const std::string& dest,
                                    std::string& output, bool asRoot) {
  return ExecCommand("cp " + source + " " + dest, output, asRoot);
}

bool TLNX_CommandExecuter::MovePath(const std::string& source, const std::string& dest,
                                    std::string& output, bool asRoot) {
  return ExecCommand("mv -f " + source + " " + dest, output, asRoot);
}

bool TLNX_CommandExecuter::MoveDirContent(const std::string& sourceDir, const std::string& dest,
                                          std::string& output, bool asRoot) {
  output.clear();
  // The script may run as root: it is written exclusively into a folder only this user can
  // enter, never under a guessable name in /tmp where another user could swap it.
  host::PrivateTempDir folder(".sivrant-mv-");
  const std::string script =
      folder.CreateFile(".mv" + std::to_string(MonotonicMillis()) + ".sh",
                        "mv -f " + Quoted(sourceDir) + "/* " + Quoted(dest) + "\n");
  return ExecCommand("bash " + script, output, asRoot);
  // The folder and the script are removed when `folder` goes, whatever the command did.
}

bool TLNX_CommandExecuter::Chmod777(const std::string& path, std::string& output) {
  return ExecCommand("chmod 777 " + path, output, true);
}

bool TLNX_CommandExecuter::Chmod777Recursive(const std::string& path, std::string& output) {
  return ExecCommand("chmod -R 777 " + path, output, true);
}

bool TLNX_CommandExecuter::Chmod(const std::string& path, uint16_t mode, bool recursive,
                                 std::string& output) {
  const std::string options = recursive ? "chmod -R " : "chmod ";
  return ExecCommand(options + std::to_string(mode) + " " + Quoted(path), output, true);
}

bool TLNX_CommandExecuter::ChownRoot(const std::string& path, std::string& output) {
  return ExecCommand("chown root:root " + path, output, true);
}

bool TLNX_CommandExecuter::Chown(const std::string& path, const std::string& user,
                                 const std::string& group, std::string& output, bool recursive) {
  const std::string options = recursive ? "chown -R " : "chown ";
  return ExecCommand(options + user + ":" + group + " " + path, output, true);
}

bool TLNX_CommandExecuter::AddGroup(const std::string& group, std::string& output) {
  return ExecCommand("groupadd " + group + " -f", output, true);
}

bool TLNX_CommandExecuter::AddUserToGroup(const std::string& user, const std::string& group,
                                          std::string& output) {
  return ExecCommand("usermod -a -G " + group + " " + user, output, true);
}

bool TLNX_CommandExecuter::CreateSymLink(const std::string& target, const std::string& linkPath,
                                         std::string& output) {
  return ExecCommand("ln -s " + Quoted(target) + " " + Quoted(linkPath), output, true);
}

bool TLNX_CommandExecuter::FileExistsEx(const std::string& path, std::string& output, bool asRoot) {
  output.clear();
  if (asRoot)
    return ExecCommandExitCode("test -e " + path, output, true);
  struct stat status {};
  return LocalStat(path, status) && !S_ISDIR(status.st_mode);
}

bool TLNX_CommandExecuter::DirExistsEx(const std::string& path, std::string& output, bool asRoot) {
  output.clear();
  if (asRoot)
    return ExecCommandExitCode("test -d " + path, output, true);
  struct stat status {};
  return LocalStat(path, status) && S_ISDIR(status.st_mode);
}

bool TLNX_CommandExecuter::ResolveLink(const std::string& path, std::string& target) {
  target.clear();
  std::string output;
  if (!ExecCommandExitCode("readlink " + Quoted(path), output, true))
    return false;
  const std::string linkText = host::TrimControl(output);
  if (linkText.empty() || linkText == path)
    return false;
  if (!DirExistsEx(linkText, target, true))
    return false;
  target = linkText;
  return true;
}

bool TLNX_CommandExecuter::FindPath(const std::string& folder, const std::string& wantedPath,
                                    std::string& foundPath, bool asRoot) {
  const std::size_t slash = wantedPath.find_last_of('/');
  const std::string fileName =
      slash == std::string::npos ? wantedPath : wantedPath.substr(slash + 1);
  ExecCommand("find " + Quoted(folder) + " -iname " + Quoted(fileName), foundPath, asRoot);
  for (const std::string& line : host::SplitLines(foundPath)) {
    if (host::SameTextIgnoringCase(line, wantedPath)) {
      foundPath = line;
      return true;
    }
  }
  foundPath = "File not found";
  return false;
}

bool TLNX_CommandExecuter::IsPtraceLockActive() {
  if (OSType_ != lotAstra_1_8)
    return false;
  std::string output;
  if (!ExecCommand("astra-ptrace-lock status", output, true))
    throw EGeneral("Ошибка выполнения команды:\n" + output);
  return host::TrimControl(output) == "АКТИВНО";
}
