#include "ufrmSelectUser.h"

#include "uSimpleInstallSchema.h"
#include "uWizardDialogs.h"
#include "uWizardStyle.h"

TfrmSelectUser::TfrmSelectUser() : TfrmPageCustomFrame("TfrmSelectUser") {
  cbbSysuserList = Widget<Gtk::ComboBox>("cbbSysuserList");
  chbAsNew = Widget<Gtk::CheckButton>("chbAsNew");
  List = std::make_unique<TComboList>(*cbbSysuserList);
  List->OnUserChange = [this] { cbbSysuserListChange(); };
  wizard_style::SetFont(*lblTitle, 15, true);
  lblTitle->set_size_request(-1, 40);
  wizard_style::SetFont(*cbbSysuserList, 15, true);
  if (Gtk::Widget* label = chbAsNew->get_child())
    wizard_style::SetFont(*label, 15, true);
  chbAsNew->signal_toggled().connect(sigc::mem_fun(*this, &TfrmSelectUser::chbAsNewClick));
}

void TfrmSelectUser::Activate() {
  TfrmPageCustomFrame::Activate();
  if (ParamError || Initialized)
    return;
  List->Clear();
  lblTitle->set_text(std::string("Выберите пользователя ПК, для которого будет развернут ") +
                     ProductTitle);
  Users.clear();
  if (GetSystemUsers(Users))
    for (size_t index = 0; index < Users.size(); ++index)
      List->Add(Users[index].Name, static_cast<int>(index));

  TInstallCustomSchemaClass* schema = Schema();
  const std::string installedUser = schema->InstalledUserInfo->UserName;
  if (ModeSetHas(schema->Mode, iomNew)) {
    if (List->Count() == 1)
      List->SetSelectedIndex(0);
    else if (!installedUser.empty())
      SelectByName(installedUser);
    Initialized = true;
    DoChange();
  } else if (ModeSetHas(schema->Mode, iomUpdate)) {
    if (SelectByName(installedUser)) {
      PrevIndex = List->SelectedIndex();
      chbAsNew->show();
    } else if (OnNewInstallChanged) {
      // The installed configuration's user is gone: the run becomes a new installation.
      OnNewInstallChanged(true);
    }
    Initialized = true;
    DoChange();
  } else {
    if (OnError())
      OnError()(this, ParamErrorText);
  }
}

void TfrmSelectUser::DoChange() {
  if (PageInfo) {
    if (List->SelectedIndex() < 0) {
      ButtonSetExclude(PageInfo->EnabledButtons, pbtNext);
    } else {
      ButtonSetInclude(PageInfo->EnabledButtons, pbtNext);
      StoreUser();
    }
  }
  TfrmPageCustomFrame::DoChange();
}

void TfrmSelectUser::StoreUser() {
  TInstallCustomSchemaClass* schema = Schema();
  if (!schema)
    return;
  schema->UserInfo->UserName = List->SelectedText();
  int index = List->Value(List->SelectedIndex());
  schema->UserInfo->Home =
      index >= 0 && index < static_cast<int>(Users.size()) ? Users[index].Home : "~";
}

bool TfrmSelectUser::SelectByName(const std::string& name) {
  int position = List->IndexOfText(name);
  if (position < 0)
    return false;
  List->SetSelectedIndex(position);
  return true;
}

void TfrmSelectUser::cbbSysuserListChange() {
  TInstallCustomSchemaClass* schema = Schema();
  if (schema && ModeSetHas(schema->Mode, iomUpdate)) {
    int index = List->Value(List->SelectedIndex());
    if (index < 0 || index >= static_cast<int>(Users.size())) {
      if (OnError())
        OnError()(this, ParamErrorText);
    } else if (PrevIndex >= 0) {
      if (List->SelectedIndex() != PrevIndex && !ConfirmChange())
        List->SetSelectedIndex(PrevIndex);
      chbAsNew->show();
      NotifyNewInstall();
    }
  }
  DoChange();
}

bool TfrmSelectUser::ConfirmChange() {
  if (PrevIndex < 0 || List->SelectedIndex() == PrevIndex)
    return true;
  return wizard_dialogs::AskYesNo(
      "Выбор пользователя...",
      "Вы действительно хотите сменить пользователя и выполнить для него новую установку?");
}

void TfrmSelectUser::NotifyNewInstall() {
  if (!chbAsNew->get_visible())
    return;
  if (OnNewInstallChanged)
    OnNewInstallChanged(chbAsNew->get_active());
  DoChange();
}
