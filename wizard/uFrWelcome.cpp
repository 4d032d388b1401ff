#include "uFrWelcome.h"

#include <iterator>
#include <memory>

#include <gdkmm/cursor.h>
#include <glibmm/regex.h>

#include "GradientPanel.h"
#include "uAuthorization.h"
#include "uWizardStyle.h"
#include "u_self_resource.h"

std::string ExpandWelcomeText(const std::string& text) {
  static const Glib::RefPtr<Glib::Regex> placeholder =
      Glib::Regex::create("#ARM#", Glib::REGEX_CASELESS);
  return placeholder->replace_literal(text, 0, ProductTitle, static_cast<Glib::RegexMatchFlags>(0));
}

TfrmWellcome::TfrmWellcome() : TfrmPageCustomFrame("TfrmWellcome") {
  pnOSAuthError = Widget<Gtk::EventBox>("pnOSAuthError");
  lblGetUserAuth = Widget<Gtk::Button>("lblGetUserAuth");
  pnFixList = Widget<Gtk::HBox>("pnFixList");
  mmWelcome = Widget<Gtk::TextView>("mmWelcome");
  lblTitle->hide();
  platform::PaintAsShape(*pnOSAuthError, platform::RgbColor::FromHex(0xFCEFD9),
                         platform::RgbColor::FromHex(0xFAB84E), 2, 10);
  Gtk::Label* authInfo = Widget<Gtk::Label>("lblAuthInfo");
  authInfo->modify_fg(Gtk::STATE_NORMAL, wizard_style::Color(0x000000));
  wizard_style::SetFontFamily(*mmWelcome);
  // A window-less memo: the page's background shows through.
  mmWelcome->modify_base(Gtk::STATE_NORMAL, get_style()->get_bg(Gtk::STATE_NORMAL));
  lblGetUserAuth->signal_clicked().connect(
      sigc::mem_fun(*this, &TfrmWellcome::lblGetUserAuthClick));
  lblGetUserAuth->signal_realize().connect(
      [this] { lblGetUserAuth->get_window()->set_cursor(Gdk::Cursor(Gdk::HAND2)); });
}

void TfrmWellcome::Activate() {
  TfrmPageCustomFrame::Activate();
  if (ParamError || Initialized)
    return;
  std::unique_ptr<std::istream> stream = FileResources->GetStream(frtWellcome);
  std::string text((std::istreambuf_iterator<char>(*stream)), std::istreambuf_iterator<char>());
  mmWelcome->get_buffer()->set_text(ExpandWelcomeText(text));
  TFileResourcesItem fixList;
  FileResources->GetItem(fixList, frtFixList);
  pnFixList->set_visible(fixList.Found);
  DoChange();
  Initialized = true;
}

void TfrmWellcome::DoChange() {
  if (PageInfo) {
    bool sudoReady = OSInfo && OSInfo->User.SudoNoPassword;
    if (sudoReady)
      ButtonSetInclude(PageInfo->EnabledButtons, pbtForward);
    else
      ButtonSetExclude(PageInfo->EnabledButtons, pbtForward);
    pnOSAuthError->set_visible(!sudoReady);
  }
  TfrmPageCustomFrame::DoChange();
}

void TfrmWellcome::lblGetUserAuthClick() {
  if (OSInfo) {
    OSInfo->User.SudoNoPassword = ShowAuthorization();
    if (OSInfo->User.SudoNoPassword && OnAuthorized)
      OnAuthorized(this);
  }
  DoChange();
}
