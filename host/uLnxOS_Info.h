#pragma once
// Host record, user probe and the shared command executer with its host operations.

#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Process.h"

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

// Who borrows the executer's process: a worker thread (any object identity will do).
using TLNX_ProcessOwner = const void*;

// Answers sudo's prompt found in a chunk of output by writing the stored password to the child.
class TLNX_CommandExecuter;
struct TLNX_CommandExecuterCallbackAuth {
  TLNX_CommandExecuter* Executer = nullptr;
  bool operator()(const std::string& Buff, platform::ProcessPipe& aInput) const;
};

class TLNX_CommandExecuter {
public:
  explicit TLNX_CommandExecuter(TLNX_OS_Type osType);
  virtual ~TLNX_CommandExecuter(); // wipes the stored password

  TLNX_OS_Type OSType() const { return OSType_; }

  bool ExecCommand(const std::string& commandLine, std::string& output, bool asRoot);
  bool ExecCommandExitCode(const std::string& commandLine, std::string& output, bool asRoot);
  bool RunCommandPlain(const std::string& commandLine, std::string& output);
  bool CheckAndSetPassword(const std::string& password, bool keep, uint16_t timeLimitMs);
  bool IsPasswordRequired();
  bool AnswerAuthPrompt(const std::string& Buff, platform::ProcessPipe& aInput);
  platform::Process& AcquireProcess(TLNX_ProcessOwner aOwner,
                                    TLNX_CommandExecuterCallbackAuth& callback);
  void ReleaseProcess(TLNX_ProcessOwner aOwner);
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
  bool IsPtraceLockActive();

private:
  // ... implementation fields: Password, Process, recursive Lock, LockOwner
  TLNX_OS_Type OSType_;
};

extern const TLnx_OS_IDVER SupportedOS[3];

// Module globals: none until InitOSInformation creates them; freed by FreeOSInformation at exit.
extern PLNX_OS_Information OSInformation;
extern TLNX_CommandExecuter* CommandExecuter;

void InitOSInformation();
void FreeOSInformation();
void ReadOSInformation(TLNX_OS_Information& info); // reads /etc/os-release
bool ReadCurrentUser(TLNX_UserInfoItem& user, std::string& errorText);
TLNX_OS_UserAccess CheckSudo();
bool GetSystemUsers(TLNX_UserInfoList& users);
