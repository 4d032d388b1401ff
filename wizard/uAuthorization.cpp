#include "uAuthorization.h"

#include <chrono>
#include <thread>

#include <gdk/gdkkeysyms.h>
#include <gdkmm/cursor.h>
#include <gtkmm/fixed.h>
#include <gtkmm/main.h>
#include <gtkmm/stock.h>

#include "DeferredCalls.h"
#include "Exceptions.h"
#include "GradientPanel.h"
#include "uLnxOS_Info.h"
#include "uPageWizardTypes.h"
#include "uWindowDescriptions.h"
#include "uWizardDialogs.h"
#include "uWizardStyle.h"

namespace {

const char* const DialogCaption = "Аутентификация!";

// Makes a cursor change visible before the blocking work starts.
void ShowCursorNow(const Glib::RefPtr<Gdk::Window>& window, const Gdk::Cursor* cursor) {
  if (window) {
    if (cursor)
      window->set_cursor(*cursor);
    else
      window->set_cursor();
  }
  platform::ProcessMessages();
  std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

Gtk::Window* MainWindow() {
  // The application's main window is the first visible top-level window without an owner.
  for (Gtk::Window* window : Gtk::Window::list_toplevels())
    if (window->get_visible() && !window->get_transient_for() &&
        window->get_type_hint() == Gdk::WINDOW_TYPE_HINT_NORMAL)
      return window;
  return nullptr;
}

} // namespace

TfrmAuthorization::TfrmAuthorization(Gtk::Window* owner) {
  Builder = Gtk::Builder::create_from_string(WindowDescription("TfrmAuthorization"));
  Gtk::Fixed* client = nullptr;
  Builder->get_widget("pnClient", client);
  Builder->get_widget("Image1", Image1);
  Builder->get_widget("lblCaption", lblCaption);
  Builder->get_widget("lblTextInfo", lblTextInfo);
  Builder->get_widget("pnError", pnError);
  Builder->get_widget("lbErr", lbErr);
  Builder->get_widget("sbHide", sbHide);
  Builder->get_widget("lePass", lePass);
  Builder->get_widget("SpeedButton1", SpeedButton1);
  Builder->get_widget("btnOK", btnOK);
  Builder->get_widget("btnCancel", btnCancel);
  if (!client || !Image1 || !lblCaption || !lblTextInfo || !pnError || !lbErr || !sbHide ||
      !lePass || !SpeedButton1 || !btnOK || !btnCancel)
    throw EGeneral("The sudo dialog's description lacks a control!");

  set_title(DialogCaption);
  set_modal(true);
  set_resizable(false);
  set_has_separator(false);
  set_skip_taskbar_hint(true);
  if (owner) {
    set_transient_for(*owner);
    set_position(Gtk::WIN_POS_CENTER_ON_PARENT);
  } else {
    set_position(Gtk::WIN_POS_CENTER);
  }
  set_icon(render_icon(Gtk::Stock::DIALOG_AUTHENTICATION, Gtk::ICON_SIZE_DIALOG));
  get_action_area()->hide();
  get_vbox()->pack_start(*client, Gtk::PACK_EXPAND_WIDGET, 0);
  wizard_style::SetFontFamily(*this);

  Image1->set(render_icon(Gtk::Stock::DIALOG_AUTHENTICATION, Gtk::ICON_SIZE_DIALOG)
                  ->scale_simple(96, 96, Gdk::INTERP_BILINEAR));
  wizard_style::SetFont(*lblCaption, 16, true, true);
  wizard_style::SetFont(*lblTextInfo, 13, true);
  wizard_style::SetFont(*lbErr, 13, true);
  Gtk::Label* passLabel = nullptr;
  Builder->get_widget("lePassLabel", passLabel);
  if (passLabel) {
    wizard_style::SetFont(*passLabel, 16, true, false, false, "PT Astra Sans");
    passLabel->set_padding(5, 0);
  }
  platform::PaintAsShape(*pnError, platform::RgbColor::FromHex(0xFED5D5),
                         platform::RgbColor::FromHex(0xFF0000), 2);
  if (Gtk::Widget* hideLabel = sbHide->get_child()) {
    wizard_style::SetFont(*hideLabel, 10, false, true, false, "OpenSymbol");
    hideLabel->modify_fg(Gtk::STATE_NORMAL, wizard_style::Color(0x3195DC));
    hideLabel->modify_fg(Gtk::STATE_PRELIGHT, wizard_style::Color(0x3195DC));
  }
  sbHide->get_accessible()->set_name("Скрыть сообщение об ошибке");
  auto* eye = Gtk::manage(new Gtk::Image(Gtk::Stock::FIND, Gtk::ICON_SIZE_MENU));
  SpeedButton1->add(*eye);
  eye->show();
  SpeedButton1->get_accessible()->set_name("Показать символы");
  lePass->get_accessible()->set_name("Пароль:");
  lePass->set_invisible_char('*');

  lePass->signal_changed().connect(sigc::mem_fun(*this, &TfrmAuthorization::lePassChange));
  lePass->signal_key_press_event().connect(sigc::mem_fun(*this, &TfrmAuthorization::lePassKeyDown),
                                           false);
  btnOK->signal_clicked().connect(sigc::mem_fun(*this, &TfrmAuthorization::btnOKClick));
  btnCancel->signal_clicked().connect([this] { response(Gtk::RESPONSE_CANCEL); });
  sbHide->signal_clicked().connect(sigc::mem_fun(*this, &TfrmAuthorization::sbHideClick));
  SpeedButton1->signal_pressed().connect(
      sigc::mem_fun(*this, &TfrmAuthorization::SpeedButton1MouseDown));
  SpeedButton1->signal_released().connect(
      sigc::mem_fun(*this, &TfrmAuthorization::SpeedButton1MouseUp));

  FormCreate();
  lePass->grab_focus();
}

TfrmAuthorization::~TfrmAuthorization() {
  // Leave no copy of the password in the entry's buffer.
  if (lePass)
    lePass->set_text("");
}

void TfrmAuthorization::FormCreate() {
  Attempts = 0;
  MaxAttempts = 3;
  lblCaption->set_text(std::string("Установка ") + ProductTitle);
}

void TfrmAuthorization::lePassChange() {
  btnOK->set_sensitive(!lePass->get_text().empty());
}

bool TfrmAuthorization::lePassKeyDown(GdkEventKey* event) {
  bool enter = event->keyval == GDK_KEY_Return || event->keyval == GDK_KEY_KP_Enter;
  if (enter && btnOK->get_sensitive()) {
    btnOK->clicked();
    return true;
  }
  return false;
}

void TfrmAuthorization::btnOKClick() {
  if (CheckPassword()) {
    response(Gtk::RESPONSE_OK);
    return;
  }
  lePass->set_text("");
  pnError->show();
  ++Attempts;
  if (Attempts == MaxAttempts) {
    wizard_dialogs::ShowError(DialogCaption, "Превышено количество неверных попыток");
    response(Gtk::RESPONSE_CANCEL);
  }
}

bool TfrmAuthorization::CheckPassword() {
  Glib::RefPtr<Gdk::Window> window = get_window();
  Gdk::Cursor busy(Gdk::WATCH);
  ShowCursorNow(window, &busy);
  try {
    if (!OSInformation)
      InitOSInformation();
    bool accepted = CommandExecuter->CheckAndSetPassword(lePass->get_text(), true, 5000);
    ShowCursorNow(window, nullptr);
    return accepted;
  } catch (...) {
    ShowCursorNow(window, nullptr);
    throw;
  }
}

void TfrmAuthorization::sbHideClick() {
  pnError->hide();
}

void TfrmAuthorization::SpeedButton1MouseDown() {
  lePass->set_visibility(true);
}

void TfrmAuthorization::SpeedButton1MouseUp() {
  lePass->set_visibility(false);
  lePass->set_invisible_char('*');
}

bool ShowAuthorization() {
  TfrmAuthorization dialog(MainWindow());
  return dialog.run() == Gtk::RESPONSE_OK;
}
