#pragma once
// The target-user page: lists the login users, preselects the user of an installed
// configuration, writes the chosen user into the current schema and, on an update, offers
// "Новая установка", which switches the main window between the installed and the new schema.

#include <functional>
#include <memory>

#include <gtkmm/checkbutton.h>
#include <gtkmm/combobox.h>

#include "uComboList.h"
#include "uCustomPageFrame.h"
#include "uLnxOS_Info.h"

using TSelectUserChangeSchema = std::function<void(bool asNew)>;

class TfrmSelectUser : public TfrmPageCustomFrame {
public:
  Gtk::ComboBox* cbbSysuserList = nullptr;
  Gtk::CheckButton* chbAsNew = nullptr;
  TSelectUserChangeSchema OnNewInstallChanged;
  // List index of the installed configuration's user; -1 while not set.
  int32_t PrevIndex = -1;
  TLNX_UserInfoList Users;

  TfrmSelectUser();

  void DoChange() override;
  void Activate() override;
  virtual bool ConfirmChange();

  void NotifyNewInstall();
  void StoreUser();
  bool SelectByName(const std::string& name);

  // The list of the page (texts carry their index into Users).
  TComboList& UserList() { return *List; }

protected:
  void cbbSysuserListChange();
  void chbAsNewClick() { NotifyNewInstall(); }

private:
  std::unique_ptr<TComboList> List;
};
