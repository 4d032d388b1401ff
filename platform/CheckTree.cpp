#include "CheckTree.h"

namespace platform {

CheckTree::CheckTree(Gtk::TreeView& view) : View_(view) {
  Store = Gtk::TreeStore::create(Cols);
  View_.set_model(Store);
  View_.set_headers_visible(false);
  View_.get_selection()->set_mode(Gtk::SELECTION_BROWSE);

  CheckColumn.pack_start(CheckRenderer, false);
  CheckColumn.set_cell_data_func(CheckRenderer, [this](Gtk::CellRenderer*, const Row& row) {
    bool hasCheck = (*row)[Cols.HasCheck];
    bool enabled = (*row)[Cols.Enabled];
    CheckRenderer.property_visible() = hasCheck;
    CheckRenderer.property_active() = static_cast<bool>((*row)[Cols.Checked]);
    CheckRenderer.property_activatable() = hasCheck && enabled;
    CheckRenderer.property_sensitive() = enabled;
  });
  TextColumn.pack_start(TextRenderer, true);
  TextColumn.set_cell_data_func(TextRenderer, [this](Gtk::CellRenderer*, const Row& row) {
    bool boldItalic = (*row)[Cols.BoldItalic];
    TextRenderer.property_text() = static_cast<Glib::ustring>((*row)[Cols.Text]);
    TextRenderer.property_weight() = boldItalic ? Pango::WEIGHT_BOLD : Pango::WEIGHT_NORMAL;
    TextRenderer.property_style() = boldItalic ? Pango::STYLE_ITALIC : Pango::STYLE_NORMAL;
    TextRenderer.property_sensitive() = static_cast<bool>((*row)[Cols.Enabled]);
  });
  View_.append_column(CheckColumn);
  View_.append_column(TextColumn);
  View_.set_expander_column(CheckColumn);
  CheckRenderer.signal_toggled().connect(sigc::mem_fun(*this, &CheckTree::OnToggled));
  View_.signal_cursor_changed().connect(sigc::mem_fun(*this, &CheckTree::OnCursorChanged));
}

CheckTree::~CheckTree() {
  // The view may outlive the tree: release the data and detach the model.
  Clear();
  View_.unset_model();
}

CheckTree::Row CheckTree::AddNode(const Row* parent, const Glib::ustring& text, bool hasCheck,
                                  bool checked, void* data) {
  Row row = parent ? Store->append((*parent)->children()) : Store->append();
  (*row)[Cols.Checked] = checked;
  (*row)[Cols.HasCheck] = hasCheck;
  (*row)[Cols.Enabled] = true;
  (*row)[Cols.BoldItalic] = false;
  (*row)[Cols.Text] = text;
  (*row)[Cols.Data] = data;
  return row;
}

void CheckTree::Clear() {
  for (const Row& row : AllNodes()) {
    void* data = (*row)[Cols.Data];
    (*row)[Cols.Data] = nullptr;
    if (data && OnFreeNode)
      OnFreeNode(data);
  }
  Store->clear();
}

void CheckTree::ExpandAll() {
  View_.expand_all();
}

void CheckTree::ScrollToFirst() {
  Gtk::TreeModel::Children roots = Store->children();
  if (!roots.empty() && View_.get_realized())
    View_.scroll_to_row(Store->get_path(roots.begin()));
}

bool CheckTree::IsChecked(const Row& row) const {
  return (*row)[Cols.Checked];
}
void CheckTree::SetChecked(const Row& row, bool checked) {
  (*row)[Cols.Checked] = checked;
}
bool CheckTree::IsEnabled(const Row& row) const {
  return (*row)[Cols.Enabled];
}
void CheckTree::SetEnabled(const Row& row, bool enabled) {
  (*row)[Cols.Enabled] = enabled;
}
void CheckTree::SetBoldItalic(const Row& row, bool boldItalic) {
  (*row)[Cols.BoldItalic] = boldItalic;
}
bool CheckTree::IsBoldItalic(const Row& row) const {
  return (*row)[Cols.BoldItalic];
}
void* CheckTree::Data(const Row& row) const {
  return (*row)[Cols.Data];
}
Glib::ustring CheckTree::Text(const Row& row) const {
  return (*row)[Cols.Text];
}

std::vector<CheckTree::Row> CheckTree::Children(const Row& row) const {
  std::vector<Row> result;
  for (Row child = row->children().begin(); child != row->children().end(); ++child)
    result.push_back(child);
  return result;
}

std::vector<CheckTree::Row> CheckTree::RootNodes() const {
  std::vector<Row> result;
  for (Row child = Store->children().begin(); child != Store->children().end(); ++child)
    result.push_back(child);
  return result;
}

void CheckTree::CollectNodes(const Gtk::TreeModel::Children& children,
                             std::vector<Row>& out) const {
  for (Row child = children.begin(); child != children.end(); ++child) {
    out.push_back(child);
    CollectNodes(child->children(), out);
  }
}

std::vector<CheckTree::Row> CheckTree::AllNodes() const {
  std::vector<Row> result;
  CollectNodes(Store->children(), result);
  return result;
}

void CheckTree::Redraw(const Row& row) {
  Store->row_changed(Store->get_path(row), row);
}

void CheckTree::ToggleByUser(const Row& row) {
  bool hasCheck = (*row)[Cols.HasCheck];
  bool enabled = (*row)[Cols.Enabled];
  if (!hasCheck || !enabled)
    return;
  bool newChecked = !static_cast<bool>((*row)[Cols.Checked]);
  if (OnChecking && !OnChecking(row, newChecked))
    return;
  (*row)[Cols.Checked] = newChecked;
  if (OnChecked)
    OnChecked(row);
}

void CheckTree::OnToggled(const Glib::ustring& path) {
  Row row = Store->get_iter(path);
  if (row)
    ToggleByUser(row);
}

void CheckTree::OnCursorChanged() {
  if (!OnFocusChanged)
    return;
  Gtk::TreeModel::Path path;
  Gtk::TreeViewColumn* column = nullptr;
  View_.get_cursor(path, column);
  if (path.empty()) {
    OnFocusChanged(nullptr);
    return;
  }
  Row row = Store->get_iter(path);
  OnFocusChanged(row ? &row : nullptr);
}

} // namespace platform
