#include "MessageDialog.h"

#include <atkmm/object.h>
#include <glib.h>
#include <gtkmm/messagedialog.h>
#include <gtkmm/stock.h>

namespace platform {

namespace {

Glib::ustring ValidUtf8(const std::string& text) {
  gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
  Glib::ustring result(valid);
  g_free(valid);
  return result;
}

Gtk::MessageType GtkTypeOf(DialogType type) {
  switch (type) {
  case DialogType::Warning:
    return Gtk::MESSAGE_WARNING;
  case DialogType::Error:
    return Gtk::MESSAGE_ERROR;
  case DialogType::Confirmation:
    return Gtk::MESSAGE_QUESTION;
  case DialogType::Information:
    break;
  }
  return Gtk::MESSAGE_INFO;
}

DialogButton ClosedWithoutButton(DialogButton offered) {
  for (DialogButton button : {DialogButton::Cancel, DialogButton::No, DialogButton::Ok})
    if (HasButton(offered, button))
      return button;
  return DialogButton::None;
}

} // namespace

DialogButton ShowMessageDialog(const std::string& caption, const std::string& text, DialogType type,
                               DialogButton buttons, Gtk::Window* parent) {
  Gtk::MessageDialog dialog(ValidUtf8(text), false, GtkTypeOf(type), Gtk::BUTTONS_NONE, true);
  dialog.set_title(ValidUtf8(caption));
  // GTK names a message dialog after its type ("Error"); name it after its caption instead, so
  // that assistive tools (and the GUI tests) find it by the title the user sees.
  if (Glib::RefPtr<Atk::Object> accessible = dialog.get_accessible())
    accessible->set_name(ValidUtf8(caption));
  if (parent != nullptr)
    dialog.set_transient_for(*parent);
  else
    dialog.set_position(Gtk::WIN_POS_CENTER);

  // Negative buttons first: GTK puts the affirmative one at the right.
  if (HasButton(buttons, DialogButton::Cancel))
    dialog.add_button(Gtk::Stock::CANCEL, Gtk::RESPONSE_CANCEL);
  if (HasButton(buttons, DialogButton::No))
    dialog.add_button(Gtk::Stock::NO, Gtk::RESPONSE_NO);
  if (HasButton(buttons, DialogButton::Yes))
    dialog.add_button(Gtk::Stock::YES, Gtk::RESPONSE_YES);
  if (HasButton(buttons, DialogButton::Ok))
    dialog.add_button(Gtk::Stock::OK, Gtk::RESPONSE_OK);
  if (HasButton(buttons, DialogButton::Yes))
    dialog.set_default_response(Gtk::RESPONSE_YES);
  else if (HasButton(buttons, DialogButton::Ok))
    dialog.set_default_response(Gtk::RESPONSE_OK);

  switch (dialog.run()) {
  case Gtk::RESPONSE_OK:
    return DialogButton::Ok;
  case Gtk::RESPONSE_YES:
    return DialogButton::Yes;
  case Gtk::RESPONSE_NO:
    return DialogButton::No;
  case Gtk::RESPONSE_CANCEL:
    return DialogButton::Cancel;
  default:
    return ClosedWithoutButton(buttons);
  }
}

} // namespace platform
