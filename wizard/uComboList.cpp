#include "uComboList.h"

TComboList::TComboList(Gtk::ComboBox& combo) : Combo(combo) {
  Store = Gtk::ListStore::create(Cols);
  Combo.set_model(Store);
  Combo.clear();
  Combo.pack_start(Renderer, true);
  Combo.add_attribute(Renderer, "text", 0);
  Combo.signal_changed().connect([this] {
    if (!Updating && OnUserChange)
      OnUserChange();
  });
}

void TComboList::Clear() {
  Updating = true;
  Combo.unset_active();
  Store->clear();
  Updating = false;
}

void TComboList::Add(const std::string& text, int value) {
  Gtk::TreeModel::Row row = *Store->append();
  row[Cols.Text] = text;
  row[Cols.Value] = value;
}

int TComboList::Count() const {
  return static_cast<int>(Store->children().size());
}

int TComboList::SelectedIndex() const {
  return Combo.get_active_row_number();
}

void TComboList::SetSelectedIndex(int index) {
  Updating = true;
  if (index < 0 || index >= Count())
    Combo.unset_active();
  else
    Combo.set_active(index);
  Updating = false;
}

Gtk::TreeModel::iterator TComboList::At(int index) const {
  Gtk::TreeModel::iterator it = Store->children().begin();
  for (int i = 0; i < index && it; ++i)
    ++it;
  return it;
}

int TComboList::Value(int index) const {
  if (index < 0 || index >= Count())
    return -1;
  return (*At(index))[Cols.Value];
}

std::string TComboList::Text(int index) const {
  if (index < 0 || index >= Count())
    return "";
  return Glib::ustring((*At(index))[Cols.Text]);
}

std::string TComboList::SelectedText() const {
  return Text(SelectedIndex());
}

int TComboList::IndexOfText(const std::string& text) const {
  for (int i = 0; i < Count(); ++i)
    if (Text(i) == text)
      return i;
  return -1;
}
