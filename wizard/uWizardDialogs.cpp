#include "uWizardDialogs.h"

#include <gtkmm/window.h>

#include "MessageDialog.h"
#include "StartupDialogs.h"

namespace wizard_dialogs {
namespace {

// The dialog belongs to the window the user is working in (the main window or the sudo dialog).
Gtk::Window* ActiveToplevel() {
  Gtk::Window* found = nullptr;
  for (Gtk::Window* window : Gtk::Window::list_toplevels())
    if (window->get_visible() && window->property_is_active())
      found = window;
  return found;
}

} // namespace

void ShowError(const std::string& caption, const std::string& text) {
  platform::ShowMessageDialog(caption, text, platform::DialogType::Error,
                              platform::DialogButton::Ok, ActiveToplevel());
}

bool AskYesNo(const std::string& caption, const std::string& text, TQuestionType type) {
  platform::DialogType dialogType = type == TQuestionType::Warning
                                        ? platform::DialogType::Warning
                                        : platform::DialogType::Confirmation;
  return platform::ShowMessageDialog(caption, text, dialogType,
                                     platform::DialogButton::Yes | platform::DialogButton::No,
                                     ActiveToplevel()) == platform::DialogButton::Yes;
}

void ShowCriticalInitError(const std::string& caption, const std::string& errorText) {
  ::ShowCriticalInitError(caption, errorText);
}

} // namespace wizard_dialogs
