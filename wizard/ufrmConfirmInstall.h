#pragma once
// The confirmation page: the summary of what the installation is about to do, rebuilt from the
// current schema every time the page is shown.

#include <gtkmm/textview.h>

#include "uCustomPageFrame.h"

class TfrmConfirmInstall : public TfrmPageCustomFrame {
public:
  Gtk::TextView* mmConfirmInfo = nullptr;

  TfrmConfirmInstall();

  void DoChange() override { TfrmPageCustomFrame::DoChange(); }
  void Activate() override;
};
