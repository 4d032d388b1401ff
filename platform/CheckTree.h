#pragma once
// A tree of text nodes with check boxes over a Gtk::TreeView: a node may have a check box, may
// be disabled (greyed, its tick unchangeable) and may be drawn bold italic. The user's clicks on
// a check box first ask OnChecking and then report OnChecked; ticks set by the program raise
// nothing. Each node carries an opaque data pointer that the owner releases in OnFreeNode.

#include <functional>
#include <vector>

#include <gtkmm/treestore.h>
#include <gtkmm/treeview.h>

namespace platform {

class CheckTree {
public:
  using Row = Gtk::TreeModel::iterator;

  // Sets up the view: a check column and a text column, no header, one node always selected.
  explicit CheckTree(Gtk::TreeView& view);
  ~CheckTree();
  CheckTree(const CheckTree&) = delete;
  CheckTree& operator=(const CheckTree&) = delete;

  // Appends a node under parent (none: a root node).
  Row AddNode(const Row* parent, const Glib::ustring& text, bool hasCheck, bool checked,
              void* data);
  // Removes every node, releasing each node's data through OnFreeNode.
  void Clear();
  void ExpandAll();
  void ScrollToFirst();

  bool IsChecked(const Row& row) const;
  void SetChecked(const Row& row, bool checked);
  bool IsEnabled(const Row& row) const;
  void SetEnabled(const Row& row, bool enabled);
  void SetBoldItalic(const Row& row, bool boldItalic);
  bool IsBoldItalic(const Row& row) const;
  void* Data(const Row& row) const;
  Glib::ustring Text(const Row& row) const;
  std::vector<Row> Children(const Row& row) const;
  std::vector<Row> RootNodes() const;
  // Every node in tree order (depth first).
  std::vector<Row> AllNodes() const;
  void Redraw(const Row& row);
  // Clicks a node's check box as the user would (OnChecking, then OnChecked).
  void ToggleByUser(const Row& row);

  std::function<bool(const Row& row, bool newChecked)> OnChecking; // false refuses the change
  std::function<void(const Row& row)> OnChecked;
  std::function<void(const Row* focused)> OnFocusChanged; // none when no node is focused
  std::function<void(void* data)> OnFreeNode;

  Gtk::TreeView& View() { return View_; }

private:
  struct Columns : Gtk::TreeModel::ColumnRecord {
    Gtk::TreeModelColumn<bool> Checked;
    Gtk::TreeModelColumn<bool> HasCheck;
    Gtk::TreeModelColumn<bool> Enabled;
    Gtk::TreeModelColumn<bool> BoldItalic;
    Gtk::TreeModelColumn<Glib::ustring> Text;
    Gtk::TreeModelColumn<void*> Data;
    Columns() {
      add(Checked);
      add(HasCheck);
      add(Enabled);
      add(BoldItalic);
      add(Text);
      add(Data);
    }
  };

  Gtk::TreeView& View_;
  Columns Cols;
  Glib::RefPtr<Gtk::TreeStore> Store;
  Gtk::TreeViewColumn CheckColumn;
  Gtk::TreeViewColumn TextColumn;
  Gtk::CellRendererToggle CheckRenderer;
  Gtk::CellRendererText TextRenderer;

  void OnToggled(const Glib::ustring& path);
  void OnCursorChanged();
  void CollectNodes(const Gtk::TreeModel::Children& children, std::vector<Row>& out) const;
};

} // namespace platform
