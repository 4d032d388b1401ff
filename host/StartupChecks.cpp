#include "StartupChecks.h"

#include <exception>

#include "StartupDialogs.h"

StartupCheckResult ProbeHostForStartup(const std::string& osReleasePath) {
  StartupCheckResult result;
  try {
    InitOSInformation(osReleasePath);
    if (OSInformation->OSType == lotUnknown)
      result.Verdict = StartupVerdict::OSNotSupported;
    else if (OSInformation->User.Access == luaUser)
      result.Verdict = StartupVerdict::SudoRequired;
  } catch (const std::exception& error) {
    result.Verdict = StartupVerdict::CriticalError;
    result.ErrorText = error.what();
  }
  return result;
}

void ShowStartupRefusal(const StartupCheckResult& result) {
  switch (result.Verdict) {
  case StartupVerdict::OSNotSupported:
    ShowOSNotSupported(kSetupWindowTitle);
    break;
  case StartupVerdict::SudoRequired:
    ShowSudoRequired(kSetupWindowTitle);
    break;
  case StartupVerdict::CriticalError:
    ShowCriticalInitError(kSetupWindowTitle, result.ErrorText);
    break;
  case StartupVerdict::Run:
    break;
  }
}
