#include "uCustomPageFrame.h"

#include "Exceptions.h"
#include "uWindowDescriptions.h"
#include "uWizardStyle.h"

const char* const ParamErrorText = "Ошибка параметров. Обратитесь к разработчику!";

TfrmPageCustomFrame::TfrmPageCustomFrame(const std::string& pageDescription) {
  Builder = Gtk::Builder::create_from_string(WindowDescription("TfrmPageCustomFrame"));
  Builder->get_widget("lblTitle", lblTitle);
  if (!lblTitle)
    MissingWidget("lblTitle");
  // The descriptions hold lblTitle and pnPage as objects of their own, without a parent.
  wizard_style::SetFontFamily(*lblTitle);
  wizard_style::WrapToWidth(*lblTitle);
  lblTitle->set_padding(10, 10);
  pack_start(*lblTitle, Gtk::PACK_SHRINK, 0);
  if (!pageDescription.empty()) {
    Builder->add_from_string(WindowDescription(pageDescription));
    pack_start(*Widget<Gtk::Widget>("pnPage"), Gtk::PACK_EXPAND_WIDGET, 0);
  }
  wizard_style::SetFontFamily(*this);
}

TfrmPageCustomFrame::~TfrmPageCustomFrame() = default;

void TfrmPageCustomFrame::DoChange() {
  if (OnChange)
    OnChange(this);
}

void TfrmPageCustomFrame::Activate() {
  ParamError = true;
  if (Schema_ && PageInfo && OSInfo) {
    ParamError = false;
    return;
  }
  ReportError(ParamErrorText);
}

void TfrmPageCustomFrame::Reset() {
  Initialized = false;
}

void TfrmPageCustomFrame::ReportError(const std::string& text) {
  if (OnError_)
    OnError_(this, text);
  else
    throw EGeneral(text);
}

void TfrmPageCustomFrame::MissingWidget(const char* id) const {
  throw EGeneral(std::string("Widget \"") + id + "\" missing in the window description!");
}
