// Runs operations of the host services in the sandbox, for the end-to-end tests: the host probe
// and the shared command executer against the real sudo, groups, files and rights.
//
// Reads one operation a line from standard input, its arguments separated by tabs (a password
// travels here, never in an argument), and prints one JSON object a line with the result:
//   init                                  the host probe; prints the host record
//   password-required                     IsPasswordRequired
//   check-password PASSWORD KEEP LIMIT    CheckAndSetPassword (KEEP 0/1, LIMIT in ms)
//   exec COMMAND AS_ROOT                  ExecCommand (AS_ROOT 0/1)
//   exec-exit-code COMMAND AS_ROOT        ExecCommandExitCode
//   make-dir PATH AS_ROOT | chmod PATH MODE RECURSIVE | chown PATH USER GROUP RECURSIVE
//   add-group GROUP | add-user-to-group USER GROUP | symlink TARGET LINK | resolve-link PATH
//   file-exists PATH AS_ROOT | dir-exists PATH AS_ROOT | find-path FOLDER WANTED AS_ROOT
//   ptrace-active                         IsPtraceLockActive
// An exception is printed as {"op": ..., "error": message}; the driver then goes on.
#include <cstdio>
#include <exception>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "uLnxOS_Info.h"

namespace {

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
    case '"':
      out += "\\\"";
      break;
    case '\\':
      out += "\\\\";
      break;
    case '\n':
      out += "\\n";
      break;
    case '\t':
      out += "\\t";
      break;
    default:
      if (c < 0x20) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
        out += escaped;
      } else {
        out += static_cast<char>(c);
      }
    }
  }
  return out + "\"";
}

class Reply {
public:
  explicit Reply(const std::string& op) { text_ << "{\"op\": " << JsonString(op); }
  Reply& Add(const std::string& key, const std::string& value) {
    text_ << ", " << JsonString(key) << ": " << JsonString(value);
    return *this;
  }
  Reply& Add(const std::string& key, bool value) {
    text_ << ", " << JsonString(key) << ": " << (value ? "true" : "false");
    return *this;
  }
  Reply& Add(const std::string& key, long value) {
    text_ << ", " << JsonString(key) << ": " << value;
    return *this;
  }
  void Print() { std::cout << text_.str() << "}" << std::endl; }

private:
  std::ostringstream text_;
};

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::string::npos)
      return fields;
    start = tab + 1;
  }
}

TLNX_CommandExecuter& Executer() {
  if (CommandExecuter == nullptr)
    throw std::runtime_error("no executer: run init first");
  return *CommandExecuter;
}

// Operations that answer with a Boolean and an output text.
bool RunOutputOperation(const std::vector<std::string>& f, bool& ok, std::string& output) {
  const std::string& op = f[0];
  auto flag = [&](std::size_t i) { return f.at(i) == "1"; };
  TLNX_CommandExecuter& executer = Executer();
  if (op == "exec")
    ok = executer.ExecCommand(f.at(1), output, flag(2));
  else if (op == "exec-exit-code")
    ok = executer.ExecCommandExitCode(f.at(1), output, flag(2));
  else if (op == "make-dir")
    ok = executer.MakeDir(f.at(1), output, flag(2));
  else if (op == "chmod")
    ok = executer.Chmod(f.at(1), static_cast<uint16_t>(std::stoi(f.at(2))), flag(3), output);
  else if (op == "chown")
    ok = executer.Chown(f.at(1), f.at(2), f.at(3), output, flag(4));
  else if (op == "add-group")
    ok = executer.AddGroup(f.at(1), output);
  else if (op == "add-user-to-group")
    ok = executer.AddUserToGroup(f.at(1), f.at(2), output);
  else if (op == "symlink")
    ok = executer.CreateSymLink(f.at(1), f.at(2), output);
  else if (op == "resolve-link")
    ok = executer.ResolveLink(f.at(1), output);
  else if (op == "file-exists")
    ok = executer.FileExistsEx(f.at(1), output, flag(2));
  else if (op == "dir-exists")
    ok = executer.DirExistsEx(f.at(1), output, flag(2));
  else if (op == "find-path")
    ok = executer.FindPath(f.at(1), f.at(2), output, flag(3));
  else
    return false;
  return true;
}

void RunOperation(const std::vector<std::string>& f) {
  const std::string& op = f[0];
  Reply reply(op);
  bool ok = false;
  std::string output;
  if (op == "init") {
    InitOSInformation();
    const TLNX_OS_Information& info = *OSInformation;
    reply.Add("ID", info.ID)
        .Add("FullName", info.FullName)
        .Add("OSType", static_cast<long>(info.OSType))
        .Add("User", info.User.Name)
        .Add("Home", info.User.Home)
        .Add("Access", static_cast<long>(info.User.Access))
        .Add("SudoNoPassword", info.User.SudoNoPassword);
  } else if (op == "password-required") {
    reply.Add("ok", Executer().IsPasswordRequired());
  } else if (op == "check-password") {
    ok = Executer().CheckAndSetPassword(f.at(1), f.at(2) == "1",
                                        static_cast<uint16_t>(std::stoi(f.at(3))));
    reply.Add("ok", ok);
  } else if (op == "ptrace-active") {
    reply.Add("ok", Executer().IsPtraceLockActive());
  } else if (RunOutputOperation(f, ok, output)) {
    reply.Add("ok", ok).Add("output", output);
  } else {
    reply.Add("error", std::string("unknown operation"));
  }
  reply.Print();
}

} // namespace

int main() {
  std::string line;
  while (std::getline(std::cin, line)) {
    if (line.empty())
      continue;
    std::vector<std::string> fields = SplitTabs(line);
    try {
      RunOperation(fields);
    } catch (const std::exception& error) {
      Reply(fields[0]).Add("error", std::string(error.what())).Print();
    }
  }
  FreeOSInformation();
  return 0;
}
