#pragma once
// The host probe of the program entry and its verdict, apart from the dialogs so that the
// decision can be tested without a display.

#include <string>

#include "uLnxOS_Info.h"

enum class StartupVerdict {
  Run,            // recognised host and a user with sudo access
  OSNotSupported, // the host is not recognised
  SudoRequired,   // the user may not use sudo
  CriticalError,  // the probe raised; ErrorText holds its message
};

struct StartupCheckResult {
  StartupVerdict Verdict = StartupVerdict::Run;
  std::string ErrorText;
};

// Runs InitOSInformation and judges its result: host before user, both after the whole probe.
StartupCheckResult ProbeHostForStartup(const std::string& osReleasePath = kOsReleasePath);

// Shows the refusal dialog of a verdict other than Run, with the window title as caption.
void ShowStartupRefusal(const StartupCheckResult& result);
