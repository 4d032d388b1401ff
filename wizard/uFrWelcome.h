#pragma once
// The welcome page: the welcome text, and Forward only when root rights can be had; otherwise
// the link that opens the sudo password dialog.

#include <gtkmm/button.h>
#include <gtkmm/eventbox.h>
#include <gtkmm/textview.h>

#include "uCustomPageFrame.h"

// Replaces every "#ARM#", in any letter case, by the product title.
std::string ExpandWelcomeText(const std::string& text);

class TfrmWellcome : public TfrmPageCustomFrame {
public:
  Gtk::EventBox* pnOSAuthError = nullptr;
  Gtk::Button* lblGetUserAuth = nullptr;
  Gtk::HBox* pnFixList = nullptr;
  Gtk::TextView* mmWelcome = nullptr;
  TNotifyEvent OnAuthorized;

  TfrmWellcome();

  void DoChange() override;
  void Activate() override;

protected:
  void lblGetUserAuthClick();
};
