#include "uFrmLicense.h"

#include <memory>

#include "RichMemo.h"
#include "uWizardStyle.h"
#include "u_self_resource.h"

namespace {
const char* const LicenseTitle =
    "Внимательно ознакомьтесь с условиями Лицензионного договора. Продолжение установки ПО "
    "возможно только в случае согласия с его условиями.";
}

TfrmLicense::TfrmLicense() : TfrmPageCustomFrame("TfrmLicense") {
  rchMemo = Widget<Gtk::TextView>("rchMemo");
  chbYes = Widget<Gtk::CheckButton>("chbYes");
  lblTitle->set_text(LicenseTitle);
  rchMemo->modify_base(Gtk::STATE_NORMAL, wizard_style::Color(0xFFFFFF));
  rchMemo->modify_text(Gtk::STATE_NORMAL, wizard_style::Color(0x000000));
  wizard_style::SetFontFamily(*rchMemo);
  chbYes->signal_toggled().connect(sigc::mem_fun(*this, &TfrmLicense::chbYesChange));
}

void TfrmLicense::Activate() {
  // No parameter check: the licence needs nothing of the schema.
  if (Initialized)
    return;
  {
    std::unique_ptr<std::istream> stream = FileResources->GetStream(frtLicense);
    platform::LoadRichText(*rchMemo, *stream);
  }
  chbYes->set_active(false);
  DoChange();
  Initialized = true;
}

void TfrmLicense::DoChange() {
  if (PageInfo) {
    if (chbYes->get_active())
      ButtonSetInclude(PageInfo->EnabledButtons, pbtNext);
    else
      ButtonSetExclude(PageInfo->EnabledButtons, pbtNext);
  }
  TfrmPageCustomFrame::DoChange();
}
