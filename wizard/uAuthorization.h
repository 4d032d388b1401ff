#pragma once
// The sudo password dialog: takes the user's password, has the command executer validate it
// through sudo within 5 seconds and keep it for every later sudo command; gives up after three
// wrong passwords in one showing.

#include <cstdint>

#include <gtkmm/builder.h>
#include <gtkmm/button.h>
#include <gtkmm/dialog.h>
#include <gtkmm/entry.h>
#include <gtkmm/eventbox.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>

class TfrmAuthorization : public Gtk::Dialog {
public:
  Gtk::Image* Image1 = nullptr;
  Gtk::Label* lblCaption = nullptr;
  Gtk::Label* lblTextInfo = nullptr;
  Gtk::EventBox* pnError = nullptr;
  Gtk::Label* lbErr = nullptr;
  Gtk::Button* sbHide = nullptr;
  Gtk::Entry* lePass = nullptr;
  Gtk::Button* SpeedButton1 = nullptr;
  Gtk::Button* btnOK = nullptr;
  Gtk::Button* btnCancel = nullptr;

  uint16_t Attempts = 0;
  uint16_t MaxAttempts = 3;

  explicit TfrmAuthorization(Gtk::Window* owner);
  ~TfrmAuthorization() override;

  virtual bool CheckPassword();

protected:
  void FormCreate();
  void lePassChange();
  bool lePassKeyDown(GdkEventKey* event);
  void btnOKClick();
  void sbHideClick();
  void SpeedButton1MouseDown();
  void SpeedButton1MouseUp();

private:
  Glib::RefPtr<Gtk::Builder> Builder;
};

// Shows a new sudo password dialog modally over the main window; true exactly when a password
// was accepted.
bool ShowAuthorization();
