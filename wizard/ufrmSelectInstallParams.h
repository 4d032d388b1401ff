#pragma once
// The installation-type page: update, default or custom. Applies the chosen preset to the
// schema and routes Next to the custom options page or straight to the package check page.

#include <memory>

#include <gtkmm/combobox.h>
#include <gtkmm/label.h>

#include "uBaseSchemaClasses.h"
#include "uComboList.h"
#include "uCustomPageFrame.h"

// The list text and the comment of each installation type.
extern const char* const InstallSelectorTexts[3];
extern const char* const InstallSelectorComments[3];

class TfrmSelectInstallParams : public TfrmPageCustomFrame {
public:
  Gtk::ComboBox* cbbTypeSelect = nullptr;
  Gtk::Label* lblComment = nullptr;
  TNotifyEvent OnTypeChanged;

  TfrmSelectInstallParams();

  void DoChange() override;
  void Activate() override;

  TComboList& TypeList() { return *List; }

protected:
  void cbbTypeSelectChange();

private:
  std::unique_ptr<TComboList> List;
};
