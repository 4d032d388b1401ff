#include "uWizardDialogs.h"

#include <gtkmm/messagedialog.h>

namespace wizard_dialogs {
namespace {

Gtk::Window* ActiveToplevel() {
  Gtk::Window* found = nullptr;
  for (Gtk::Window* window : Gtk::Window::list_toplevels())
    if (window->get_visible() && window->property_is_active())
      found = window;
  return found;
}

int Run(const std::string& caption, const std::string& text, Gtk::MessageType type, bool yesNo) {
  Gtk::MessageDialog dialog(text, false, type, Gtk::BUTTONS_NONE, true);
  if (Gtk::Window* parent = ActiveToplevel())
    dialog.set_transient_for(*parent);
  dialog.set_title(caption);
  dialog.set_position(Gtk::WIN_POS_CENTER_ON_PARENT);
  if (yesNo) {
    dialog.add_button("Да", Gtk::RESPONSE_YES);
    dialog.add_button("Нет", Gtk::RESPONSE_NO);
    dialog.set_default_response(Gtk::RESPONSE_YES);
  } else {
    dialog.add_button("OK", Gtk::RESPONSE_OK);
    dialog.set_default_response(Gtk::RESPONSE_OK);
  }
  return dialog.run();
}

} // namespace

void ShowError(const std::string& caption, const std::string& text) {
  Run(caption, text, Gtk::MESSAGE_ERROR, false);
}

bool AskYesNo(const std::string& caption, const std::string& text, TQuestionType type) {
  Gtk::MessageType messageType =
      type == TQuestionType::Warning ? Gtk::MESSAGE_WARNING : Gtk::MESSAGE_QUESTION;
  return Run(caption, text, messageType, true) == Gtk::RESPONSE_YES;
}

void ShowCriticalInitError(const std::string& caption, const std::string& errorText) {
  ShowError(caption, "Критическая ошибка при инициализации приложения:\n" + errorText +
                         "\nПриложение будет закрыто!");
}

} // namespace wizard_dialogs
