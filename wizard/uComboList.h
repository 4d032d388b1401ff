#pragma once
// A drop-down list without typing over a Gtk::ComboBox of a window description: items are
// texts, each carrying an integer value. Selecting by program raises no change event; only the
// user's choice does (OnUserChange).

#include <functional>
#include <string>

#include <gtkmm/combobox.h>
#include <gtkmm/liststore.h>

class TComboList {
public:
  explicit TComboList(Gtk::ComboBox& combo);

  void Clear();
  void Add(const std::string& text, int value);
  int Count() const;
  // -1 when nothing is selected.
  int SelectedIndex() const;
  void SetSelectedIndex(int index); // -1 clears the selection
  int Value(int index) const;
  std::string Text(int index) const;
  // The selected item's text, or empty.
  std::string SelectedText() const;
  // Index of the first item with that text, or -1.
  int IndexOfText(const std::string& text) const;

  std::function<void()> OnUserChange;

private:
  struct Columns : Gtk::TreeModel::ColumnRecord {
    Gtk::TreeModelColumn<Glib::ustring> Text;
    Gtk::TreeModelColumn<int> Value;
    Columns() {
      add(Text);
      add(Value);
    }
  };
  Gtk::ComboBox& Combo;
  Columns Cols;
  Glib::RefPtr<Gtk::ListStore> Store;
  Gtk::CellRendererText Renderer;
  bool Updating = false;

  Gtk::TreeModel::iterator At(int index) const;
};
