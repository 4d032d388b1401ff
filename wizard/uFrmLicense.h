#pragma once
// The licence page: the licence agreement (RTF) read-only; Next only while it is accepted.

#include <gtkmm/checkbutton.h>
#include <gtkmm/textview.h>

#include "uCustomPageFrame.h"

class TfrmLicense : public TfrmPageCustomFrame {
public:
  Gtk::TextView* rchMemo = nullptr;
  Gtk::CheckButton* chbYes = nullptr;

  TfrmLicense();

  void DoChange() override;
  void Activate() override;

protected:
  void chbYesChange() { DoChange(); }
};
