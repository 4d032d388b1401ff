#include "ufrmConfirmInstall.h"

#include "uConfirmSummary.h"
#include "uSimpleInstallSchema.h"
#include "uWizardStyle.h"

TfrmConfirmInstall::TfrmConfirmInstall() : TfrmPageCustomFrame("TfrmConfirmInstall") {
  mmConfirmInfo = Widget<Gtk::TextView>("mmConfirmInfo");
  lblTitle->set_size_request(-1, 51);
  wizard_style::SetFontFamily(*mmConfirmInfo);
}

void TfrmConfirmInstall::Activate() {
  // No parameter check and no Initialized: the summary follows the schema on every show.
  mmConfirmInfo->get_buffer()->set_text("");
  lblTitle->set_text(std::string("Мастер установки готов установить ") + ProductTitle +
                     " на ваш компьютер.\nПроверьте список предлагаемых действий мастера и "
                     "нажмите кнопку \"Установить\" для продолжения.");
  try {
    if (Schema()) {
      TConfirmSummary summary(*Schema());
      summary.Build();
      mmConfirmInfo->get_buffer()->set_text(summary.Text());
    }
  } catch (...) {
    DoChange();
    throw;
  }
  DoChange();
}
