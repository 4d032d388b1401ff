#pragma once
// The modal message dialog: caption, text, dialog type and buttons; returns the button pressed.

#include <string>

namespace Gtk {
class Window;
}

namespace platform {

enum class DialogType { Information, Warning, Error, Confirmation };

// Buttons, combinable with |; also the result of the dialog.
enum class DialogButton : unsigned { None = 0, Ok = 1, Yes = 2, No = 4, Cancel = 8 };

constexpr DialogButton operator|(DialogButton a, DialogButton b) {
  return static_cast<DialogButton>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}
constexpr bool HasButton(DialogButton set, DialogButton button) {
  return (static_cast<unsigned>(set) & static_cast<unsigned>(button)) != 0;
}

// Shows the dialog and waits until the user has closed it. The caption is the dialog's title,
// the text its message (shown as plain text, never as markup; invalid UTF-8 is repaired). Closing
// the dialog without a button gives Cancel when offered, else No, else Ok.
DialogButton ShowMessageDialog(const std::string& caption, const std::string& text, DialogType type,
                               DialogButton buttons, Gtk::Window* parent = nullptr);

} // namespace platform
