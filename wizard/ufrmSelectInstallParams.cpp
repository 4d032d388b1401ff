#include "ufrmSelectInstallParams.h"

#include "uSimpleInstallSchema.h"
#include "uWizardStyle.h"

const char* const InstallSelectorTexts[3] = {"Обновить Sivrant", "По умолчанию", "Выборочная"};
const char* const InstallSelectorComments[3] = {
    "Будет выполнено обновление Sivrant по сенарию предыдущей установки",
    "Будет установлен Модуль интеграции Тавир Про 2.0.1 в типовой конфигурации",
    "Позволяет настроить параметры установки"};

TfrmSelectInstallParams::TfrmSelectInstallParams()
    : TfrmPageCustomFrame("TfrmSelectInstallParams") {
  cbbTypeSelect = Widget<Gtk::ComboBox>("cbbTypeSelect");
  lblComment = Widget<Gtk::Label>("lblComment");
  List = std::make_unique<TComboList>(*cbbTypeSelect);
  List->OnUserChange = [this] { cbbTypeSelectChange(); };
  wizard_style::WrapToWidth(*lblComment);
}

void TfrmSelectInstallParams::Activate() {
  TfrmPageCustomFrame::Activate();
  if (ParamError || Initialized)
    return;
  List->Clear();
  TSchm_InstallOperationModeSet mode = Schema()->Mode;
  TIC_InstallSelector first;
  if (ModeSetHas(mode, iomUpdate)) {
    first = icisUpdate;
  } else if (ModeSetHas(mode, iomNew)) {
    first = icisDefault;
  } else {
    ReportError(ParamErrorText);
    return;
  }
  List->Add(InstallSelectorTexts[first], first);
  List->Add(InstallSelectorTexts[icisCustom], icisCustom);
  List->SetSelectedIndex(0);
  Initialized = true;
  DoChange();
}

void TfrmSelectInstallParams::DoChange() {
  TInstallCustomSchemaClass* schema = Schema();
  int selected = List->SelectedIndex();
  if (PageInfo && schema && selected >= 0) {
    ButtonSetInclude(PageInfo->EnabledButtons, pbtNext);
    TIC_InstallSelector type = static_cast<TIC_InstallSelector>(List->Value(selected));
    lblComment->set_text(InstallSelectorComments[type]);
    if (type == icisCustom) {
      PageInfo->Next = wptSelect;
    } else {
      if (type == icisDefault)
        schema->ApplyPreset(sdptDefault, sdptDefault);
      else
        schema->ApplyPreset(sdptUpdate, sdptUpdate);
      ModeSetExclude(schema->Mode, iomWDopInstall);
      PageInfo->Next = wptPKGCheck;
    }
  } else if (PageInfo) {
    ButtonSetExclude(PageInfo->EnabledButtons, pbtNext);
  }
  TfrmPageCustomFrame::DoChange();
}

void TfrmSelectInstallParams::cbbTypeSelectChange() {
  DoChange();
  if (OnTypeChanged)
    OnTypeChanged(this);
}
