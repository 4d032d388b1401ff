#pragma once
// The wizard's main window: sizes itself to the monitor, creates the run's temporary folder and
// the resource catalogue, chooses between an update of an installed configuration and a new
// installation, keeps both install schemas, creates and wires one page per enabled page kind,
// navigates with six buttons, reacts to the pages' change and error callbacks, asks before
// closing, and on destruction reboots or removes the temporary folder.

#include <array>
#include <memory>
#include <string>

#include <gtkmm/box.h>
#include <gtkmm/builder.h>
#include <gtkmm/button.h>
#include <gtkmm/eventbox.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <gtkmm/window.h>

#include "GradientPanel.h"
#include "uCustomPageFrame.h"
#include "uPageWizardTypes.h"

class TInstallCustomSchemaClass;
class TSchm_CustomElement;

// The caption of the main window and of its dialogs.
extern const char* const MainWindowCaption;

class TfrmBaseInstall : public Gtk::Window {
public:
  // Controls of the window description.
  Gtk::EventBox* pnImage = nullptr;
  platform::GradientPanel* plGradient1 = nullptr;
  Gtk::VBox* pnMain = nullptr;
  Gtk::Label* lblMainTitle = nullptr;
  Gtk::HBox* pnButtons = nullptr;
  Gtk::Image* imgLogo = nullptr;
  Gtk::Button* btnBack = nullptr;
  Gtk::Button* btnNext = nullptr;
  Gtk::Button* btnRun = nullptr;
  Gtk::Button* btnFinish = nullptr;
  Gtk::Button* btnCancel = nullptr;
  Gtk::Button* btnFormawd = nullptr;

  std::string TempDir;
  TWZRD_Pages Pages{};
  TWZRD_PageType CurPage = wptNone;
  std::array<std::unique_ptr<TfrmPageCustomFrame>, WZRD_PageTypeCount> PageFrames;
  std::array<Gtk::Button*, Page_ButtonTypeCount> Buttons{};
  TInstallCustomSchemaClass* CurSchema = nullptr;
  std::unique_ptr<TInstallCustomSchemaClass> NewSchema;
  std::unique_ptr<TInstallCustomSchemaClass> InstalledSchema;

  TfrmBaseInstall();
  ~TfrmBaseInstall() override;

  virtual void SizeToMonitor();
  virtual void MakeTempDir();
  virtual void LoadInstalledConfig();
  virtual void CreatePages();
  virtual void InitButtons();
  virtual void Start();
  virtual void UpdateButtons();
  virtual void ShowPage(bool show);
  virtual void GoPage(bool forward);
  virtual std::unique_ptr<TInstallCustomSchemaClass> CreateSchema();
  virtual void CloseNoAsk();
  virtual void OnWellcomeAuthorized(TfrmPageCustomFrame* Sender);
  virtual void SelectSchema(bool asNew);
  virtual void OnPageChange(TfrmPageCustomFrame* Sender);
  virtual void OnPageError(TfrmPageCustomFrame* Sender, const std::string& aError);
  virtual void CheckPTraceLock();
  virtual void LoadDefaultPages();
  virtual void CreateWellcomePage();
  virtual void CreateLicensePage();
  virtual void CreateSelectUserPage();
  virtual void CreateInstTypePage();
  virtual void CreateSelectPage();
  virtual void CreatePKGCheckPage();
  virtual void CreateConfirmPage();
  virtual void CreateProcessPage();
  virtual void CreateCSOConnectPage() {}
  virtual void CreatePGConnectPage() {}
  virtual void CreateMasterKeyPage() {}
  virtual void OnPackagesChanged(TSchm_CustomElement* Sender);
  virtual void OnPresetChanged(TfrmPageCustomFrame* Sender);
  virtual void PlaceLogoOnImagePanel();

  // Closing as the close box does: asks first unless the question was switched off.
  void RequestClose();
  // Whether closing still asks (the window's close handler is set).
  bool AsksBeforeClose() const { return AskOnClose; }

protected:
  void FormCreate();
  void FormDestroy();
  bool FormClose(GdkEventAny* event);
  void btnBackClick();
  void btnCancelClick();
  void btnFinishClick();
  void btnNextClick();

private:
  Glib::RefPtr<Gtk::Builder> Builder;
  Gtk::VBox* pnClient = nullptr; // the page area of pnMain
  bool AskOnClose = true;
  bool Closing = false;
  bool FileResourcesCreated = false;

  void LoadWindowDescription();
  void WireFrame(TWZRD_PageType kind);
  void MoveLogoToButtons();
};
