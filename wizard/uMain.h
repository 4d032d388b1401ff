#pragma once
// The wizard's main window as the program entry creates it: the base main window unchanged.

#include "uBaseMainForm.h"

class TfrmMain : public TfrmBaseInstall {
public:
  TfrmMain() = default;
};
