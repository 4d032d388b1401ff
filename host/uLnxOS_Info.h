#pragma once
// Host record, user probe and the shared command executer with its host operations.

#include <cstdint>
#include <string>
#include <vector>

#include "Process.h"
#include "RecursiveLock.h"

enum TLNX_OS_Type : int32_t { lotUnknown = 0, lotAstra_1_8 = 1, lotRedOS_1 = 2 };
enum TLNX_OS_UserAccess : int32_t { luaUser = 0, luaSudories = 1, luaRoot = 2 };

struct TLNX_UserInfoItem {
  std::string Name;
  TLNX_OS_UserAccess Access = luaUser;
  std::string Home;
  bool SudoNoPassword = false;
};
using PLNX_UserInfoItem = TLNX_UserInfoItem*;
using TLNX_UserInfoList = std::vector<TLNX_UserInfoItem>;

struct TLNX_OS_Information {
  std::string ID;
  std::string Name;
  std::string VersionID;
  std::string VersionCodename;
  std::string FullName;
  TLNX_OS_Type OSType = lotUnknown;
  TLNX_UserInfoItem User;
};
using PLNX_OS_Information = TLNX_OS_Information*;

struct TLnx_OS_IDVER {
  const char* ID;
  const char* VersionID;
};

// The hosts the wizard recognises, indexed by TLNX_OS_Type.
extern const TLnx_OS_IDVER SupportedOS[3];

// Sudo command forms, indexed by TLNX_OS_Type (empty for lotUnknown).
extern const char* const SudoPrefix[3];      // put before a command run as root: "sudo -S "
extern const char* const SudoPrompt[3];      // marker of sudo's password prompt: "[sudo]"
extern const char* const SudoValidateCmd[3]; // password check: "sudo -v -S "

// Who borrows the executer's process: a worker thread (any object identity will do).
using TLNX_ProcessOwner = const void*;

// Answers sudo's prompt found in a chunk of output by writing the stored password to the child.
class TLNX_CommandExecuter;
struct TLNX_CommandExecuterCallbackAuth {
  TLNX_CommandExecuter* Executer = nullptr;
  bool operator()(const std::string& Buff, platform::ProcessPipe& aInput) const;
};

// The one command runner of the program. Every operation that runs a command holds the recursive
// lock for the whole command, so commands of the GUI thread and of the workers never overlap.
// The stored sudo password is only ever written to a child that has just shown sudo's prompt,
// and is wiped from memory when it is replaced and when the executer is freed.
class TLNX_CommandExecuter {
public:
  explicit TLNX_CommandExecuter(TLNX_OS_Type osType);
  virtual ~TLNX_CommandExecuter();
  TLNX_CommandExecuter(const TLNX_CommandExecuter&) = delete;
  TLNX_CommandExecuter& operator=(const TLNX_CommandExecuter&) = delete;

  TLNX_OS_Type OSType() const { return OSType_; }

  // Success: nothing but white space on the error stream. Output: the error-stream text followed
  // by the standard output; "Authentification failed!" alone when sudo rejects the password.
  bool ExecCommand(const std::string& commandLine, std::string& output, bool asRoot);
  // As ExecCommand, but success is exit code 0 (a command ended by a signal counts as 0).
  bool ExecCommandExitCode(const std::string& commandLine, std::string& output, bool asRoot);
  // Runs as the user without sudo; success is exit status 0. Output: the standard output on
  // success, the error-stream text on failure. Never raises.
  bool RunCommandPlain(const std::string& commandLine, std::string& output);
  // Validates the password with sudo; keeps it for later prompts when keep is set and it was
  // accepted. timeLimitMs 0 waits as long as sudo runs. Raises on an unrecognised host.
  bool CheckAndSetPassword(const std::string& password, bool keep, uint16_t timeLimitMs);
  // True as soon as sudo prompts for this user's password (that sudo is left waiting).
  bool IsPasswordRequired();
  // Writes the stored password and a line feed to aInput when Buff holds sudo's prompt.
  bool AnswerAuthPrompt(const std::string& Buff, platform::ProcessPipe& aInput);
  // Lends the process to a worker, which holds the executer's lock until ReleaseProcess.
  platform::Process& AcquireProcess(TLNX_ProcessOwner aOwner,
                                    TLNX_CommandExecuterCallbackAuth& callback);
  void ReleaseProcess(TLNX_ProcessOwner aOwner);
  // At most 2048 of the bytes available now.
  static std::string ReadPipeChunk(platform::ProcessPipe& pipe);

  // Host operations.
  bool MakeDir(const std::string& path, std::string& output, bool asRoot);
  bool RemoveTree(const std::string& path, std::string& output, bool asRoot);
  bool CopyPath(const std::string& source, const std::string& dest, std::string& output,
                bool asRoot);
  bool MovePath(const std::string& source, const std::string& dest, std::string& output,
                bool asRoot);
  bool MoveDirContent(const std::string& sourceDir, const std::string& dest, std::string& output,
                      bool asRoot);
  bool Chmod777(const std::string& path, std::string& output);
  bool Chmod777Recursive(const std::string& path, std::string& output);
  // mode holds octal digits written as a decimal number: 770 gives "chmod 770 ...".
  bool Chmod(const std::string& path, uint16_t mode, bool recursive, std::string& output);
  bool ChownRoot(const std::string& path, std::string& output);
  bool Chown(const std::string& path, const std::string& user, const std::string& group,
             std::string& output, bool recursive);
  bool AddGroup(const std::string& group, std::string& output);
  bool AddUserToGroup(const std::string& user, const std::string& group, std::string& output);
  bool CreateSymLink(const std::string& target, const std::string& linkPath, std::string& output);
  bool FileExistsEx(const std::string& path, std::string& output, bool asRoot);
  bool DirExistsEx(const std::string& path, std::string& output, bool asRoot);
  bool ResolveLink(const std::string& path, std::string& target);
  bool FindPath(const std::string& folder, const std::string& wantedPath, std::string& foundPath,
                bool asRoot);
  // Raises "Ошибка выполнения команды:\n" + output when the status query fails.
  bool IsPtraceLockActive();

private:
  bool CheckOSType(std::string& errorText) const;
  bool RunProcess(const std::string& commandLine, std::string& errorText, bool asRoot);
  // Ends a command left running by an earlier operation or borrower and resets the options.
  void PrepareProcess(const std::string& commandLine);
  // Shared body of ExecCommand and ExecCommandExitCode.
  bool RunAndCompose(const std::string& commandLine, std::string& output, bool asRoot,
                     bool successByExitCode);
  void ReplacePassword(const std::string& password);

  TLNX_OS_Type OSType_;
  std::string Password;
  platform::Process Process;
  platform::RecursiveLock Lock;
  TLNX_ProcessOwner LockOwner = nullptr;
};

// Where the host system is read from.
inline constexpr const char* kOsReleasePath = "/etc/os-release";

// Module globals: none until InitOSInformation creates them; freed by FreeOSInformation (also
// called when the program ends).
extern PLNX_OS_Information OSInformation;
extern TLNX_CommandExecuter* CommandExecuter;

// Creates the host record and the executer once; later calls change nothing.
void InitOSInformation();
void InitOSInformation(const std::string& osReleasePath);
void FreeOSInformation();
// Raises "File \"/etc/os-release\" not found!", a read error, or the user probe's error text.
void ReadOSInformation(TLNX_OS_Information& info);
void ReadOSInformation(TLNX_OS_Information& info, const std::string& osReleasePath);
bool ReadCurrentUser(TLNX_UserInfoItem& user, std::string& errorText);
TLNX_OS_UserAccess CheckSudo();
// Lists the login users (ids from UID_MIN to UID_MAX of /etc/login.defs) as name and home.
bool GetSystemUsers(TLNX_UserInfoList& users);
