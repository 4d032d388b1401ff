// Host record and user probe: which system this is, who runs the wizard, what sudo allows.
#include "uLnxOS_Info.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>

#include "Exceptions.h"
#include "HostText.h"
#include "PrivateTempDir.h"

const TLnx_OS_IDVER SupportedOS[3] = {
    {"", ""},
    {"astra", "1.8_x86-64"},
    {"redos", "8.0.2"},
};

PLNX_OS_Information OSInformation = nullptr;
TLNX_CommandExecuter* CommandExecuter = nullptr;

namespace {

// Frees the globals when the program ends, also on a path that did not free them itself.
struct ModuleFinaliser {
  ~ModuleFinaliser() { FreeOSInformation(); }
} moduleFinaliser;

std::string ReadWholeFile(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    throw EGeneral("Cannot read file \"" + path +
                   "\": " + std::error_code(errno, std::generic_category()).message());
  std::string content;
  char buffer[8192];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
      content.append(buffer, static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR)
      continue;
    int error = n < 0 ? errno : 0;
    ::close(fd);
    if (error != 0)
      throw EGeneral("Cannot read file \"" + path +
                     "\": " + std::error_code(error, std::generic_category()).message());
    return content;
  }
}

// The value of the first line whose part before its first "=" is the key, letter case ignored.
bool FindValue(const std::vector<std::string>& lines, const std::string& key, std::string& value) {
  const std::string wanted = host::LowerAscii(key);
  for (const std::string& line : lines) {
    std::size_t equals = line.find('=');
    if (equals == std::string::npos)
      continue;
    if (host::LowerAscii(line.substr(0, equals)) == wanted) {
      value = line.substr(equals + 1);
      return true;
    }
  }
  return false;
}

std::string WithoutDoubleQuotes(std::string text) {
  std::erase(text, '"');
  return text;
}

std::string CleanName(std::string name) {
  if (name.empty())
    return name;
  if (name.front() == '"')
    name.front() = ' ';
  if (name.back() == '"')
    name.back() = ' ';
  return host::TrimControl(name);
}

// Words of the "groups" output: separated by characters up to code 32; a stretch in double
// quotes is one word.
std::vector<std::string> SplitWords(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false, quoted = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;
      continue;
    }
    if (!quoted && static_cast<unsigned char>(c) <= 32) {
      if (inWord)
        words.push_back(word);
      word.clear();
      inWord = false;
      continue;
    }
    word += c;
    inWord = true;
  }
  if (inWord)
    words.push_back(word);
  return words;
}

std::string GroupsOfCurrentUser() {
  platform::Process groups;
  groups.SetCommandLine("groups");
  std::string output, errors;
  try {
    groups.RunAndCollect(output, errors);
  } catch (const EGeneral&) {
    return {}; // "groups" missing: no words, so no group root
  }
  return output;
}

} // namespace

void ReadOSInformation(TLNX_OS_Information& info) {
  ReadOSInformation(info, kOsReleasePath);
}

void ReadOSInformation(TLNX_OS_Information& info, const std::string& osReleasePath) {
  struct stat status {};
  if (::stat(osReleasePath.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
    throw EGeneral("File \"" + osReleasePath + "\" not found!");
  const std::vector<std::string> lines = host::SplitLines(ReadWholeFile(osReleasePath));

  std::string value;
  if (FindValue(lines, "ID", value))
    info.ID = WithoutDoubleQuotes(value);
  if (FindValue(lines, "NAME", value))
    info.Name = CleanName(value);
  if (FindValue(lines, "VERSION_ID", value))
    info.VersionID = WithoutDoubleQuotes(value);
  if (FindValue(lines, "VERSION_CODENAME", value))
    info.VersionCodename = value;
  info.FullName = host::TrimControl(info.Name + " " + info.VersionID);

  info.OSType = lotUnknown;
  const std::string lowerID = host::LowerAscii(info.ID);
  for (int kind = lotUnknown; kind <= lotRedOS_1; ++kind) {
    if (lowerID == SupportedOS[kind].ID && info.VersionID == SupportedOS[kind].VersionID) {
      info.OSType = static_cast<TLNX_OS_Type>(kind);
      break;
    }
  }

  std::string errorText;
  if (!ReadCurrentUser(info.User, errorText))
    throw EGeneral(errorText);
}

bool ReadCurrentUser(TLNX_UserInfoItem& user, std::string& errorText) {
  errorText.clear();
  user.Name.clear();
  user.Access = luaUser;
  try {
    const char* name = std::getenv("USER");
    const char* home = std::getenv("HOME");
    user.Name = name ? name : "";
    user.Home = home ? home : "";
    if (user.Name.empty()) {
      errorText = "Не удалось получить имя пользователя!";
      return false;
    }
    bool inGroupRoot = false;
    for (const std::string& word : SplitWords(GroupsOfCurrentUser()))
      if (host::LowerAscii(word) == "root")
        inGroupRoot = true;
    user.Access = inGroupRoot ? luaRoot : CheckSudo();
    return true;
  } catch (const std::exception& error) {
    errorText = error.what();
    return false;
  }
}

TLNX_OS_UserAccess CheckSudo() {
  constexpr int kPollMs = 50;
  platform::Process sudo;
  sudo.SetCommandLine("sudo -v -S");
  sudo.Execute();
  auto judgeByExit = [&sudo] { return sudo.ExitStatus() == 0 ? luaSudories : luaUser; };
  auto judgeByChunk = [&sudo] {
    std::string chunk = TLNX_CommandExecuter::ReadPipeChunk(sudo.Stderr());
    return chunk.find("[sudo]") != std::string::npos ? luaSudories : luaUser;
  };

  std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
  if (!sudo.Running())
    return judgeByExit();
  for (;;) {
    if (sudo.Stderr().NumBytesAvailable() > 0)
      return judgeByChunk();
    if (!sudo.Running())
      return sudo.Stderr().NumBytesAvailable() > 0 ? judgeByChunk() : judgeByExit();
    sudo.WaitForActivity(kPollMs);
  }
  // The process object ends a sudo still waiting for a password when it goes.
}

bool GetSystemUsers(TLNX_UserInfoList& users) {
  // Script, listing and the inner script live in a private folder made for this call, so no
  // other local user can plant or swap them (the names in /tmp would be guessable).
  host::PrivateTempDir folder(".sivrant-users-");
  const std::string resultFile = folder.CreateFile(".usrs.tmp", "");

  auto uidLine = [](const std::string& key) {
    return key + "=`cat /etc/login.defs | grep ^" + key +
           " | sed -E 's/\\s+/:/g' | cut -d ':' -f2`";
  };
  std::string script;
  script += "#!/usr/bin/bash\n";
  script += uidLine("UID_MIN") + "\n";
  script += uidLine("UID_MAX") + "\n";
  script += "_sh=\"" + folder.Path() + "/." + host::MinuteSecondMillisStamp() + ".tmp\"\n";
  script += "echo \"#!/usr/bin/bash\" > \"$_sh\"\n";
  script += "echo \"getent passwd {$UID_MIN..$UID_MAX} | cut -d ':' -f1,6\" >> \"$_sh\"\n";
  script += "`bash $_sh>> $1`\nrm \"$_sh\"\n";
  const std::string scriptFile =
      folder.CreateFile(".get_" + host::MinuteSecondMillisStamp() + ".sh", script);

  platform::Process listing;
  listing.SetCommandLine("bash " + scriptFile + " \"" + resultFile + "\"");
  std::string output, errors;
  try {
    listing.RunAndCollect(output, errors);
  } catch (const EGeneral&) {
    return false;
  }
  if (listing.ExitStatus() != 0)
    return false;

  const std::vector<std::string> lines = host::SplitLines(ReadWholeFile(resultFile));
  users.resize(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::size_t colon = lines[i].find(':');
    users[i] = TLNX_UserInfoItem{};
    users[i].Name = lines[i].substr(0, colon);
    users[i].Home = colon == std::string::npos ? std::string() : lines[i].substr(colon + 1);
    users[i].Access = luaUser;
  }
  return true;
}

void InitOSInformation() {
  InitOSInformation(kOsReleasePath);
}

void InitOSInformation(const std::string& osReleasePath) {
  if (OSInformation == nullptr) {
    OSInformation = new TLNX_OS_Information();
    TLNX_OS_Information read;
    ReadOSInformation(read, osReleasePath); // on failure the record stays empty
    *OSInformation = read;
  }
  if (CommandExecuter == nullptr) {
    CommandExecuter = new TLNX_CommandExecuter(OSInformation->OSType);
    TLNX_UserInfoItem& user = OSInformation->User;
    user.SudoNoPassword = user.Access == luaRoot ||
                          (user.Access == luaSudories && !CommandExecuter->IsPasswordRequired());
  }
}

void FreeOSInformation() {
  delete CommandExecuter;
  CommandExecuter = nullptr;
  delete OSInformation;
  OSInformation = nullptr;
}
