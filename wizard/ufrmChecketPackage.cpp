#include "ufrmChecketPackage.h"

#include "GradientPanel.h"
#include "uBaseMainForm.h"
#include "uPackageStatusView.h"
#include "uSimpleInstallSchema.h"
#include "uWizardDialogs.h"
#include "uWizardStyle.h"

namespace {
constexpr int DetailsOpenHeight = 200;  // the Tag of the pane and of its button
constexpr int DetailsClosedHeight = 22; // the height of the button

Gdk::Color ToGdk(const TCellColor& color) {
  return wizard_style::Color((color.R << 16) | (color.G << 8) | color.B);
}
} // namespace

TfrmChecketPackage::TfrmChecketPackage() : TfrmPageCustomFrame("TfrmChecketPackage") {
  vstPackage = Widget<Gtk::TreeView>("vstPackage");
  pnDetails = Widget<Gtk::VBox>("pnDetails");
  spbDetails = Widget<Gtk::ToggleButton>("spbDetails");
  shDetail = Widget<Gtk::EventBox>("shDetail");
  lblMinVer = Widget<Gtk::Label>("lblMinVer");
  lblCurVer = Widget<Gtk::Label>("lblCurVer");
  lblRepoVer = Widget<Gtk::Label>("lblRepoVer");
  spbUpdate = Widget<Gtk::ToggleButton>("spbUpdate");
  mmStatus = Widget<Gtk::TextView>("mmStatus");
  pnError = Widget<Gtk::EventBox>("pnError");
  lbErr = Widget<Gtk::Label>("lbErr");

  Store = Gtk::ListStore::create(Cols);
  vstPackage->set_model(Store);
  vstPackage->modify_base(Gtk::STATE_NORMAL, wizard_style::Color(0xFFFFFF));
  vstPackage->get_selection()->set_mode(Gtk::SELECTION_BROWSE);
  PackageColumn.set_title("Пакет");
  PackageColumn.set_alignment(0.5);
  PackageColumn.set_min_width(250);
  PackageColumn.set_fixed_width(435);
  PackageColumn.set_resizable(true);
  PackageColumn.set_expand(true);
  PackageColumn.pack_start(PackageRenderer, true);
  PackageColumn.set_cell_data_func(PackageRenderer,
                                   [this](Gtk::CellRenderer*, const Gtk::TreeModel::iterator& it) {
                                     vstPackageGetText(PackageRenderer, it, 0);
                                   });
  StatusColumn.set_title("Статус");
  StatusColumn.set_alignment(0.5);
  StatusColumn.set_sizing(Gtk::TREE_VIEW_COLUMN_FIXED);
  StatusColumn.set_fixed_width(200);
  StatusRenderer.property_xalign() = 0.5;
  StatusColumn.pack_start(StatusRenderer, true);
  StatusColumn.set_cell_data_func(StatusRenderer,
                                  [this](Gtk::CellRenderer*, const Gtk::TreeModel::iterator& it) {
                                    vstPackageGetText(StatusRenderer, it, 1);
                                  });
  vstPackage->append_column(PackageColumn);
  vstPackage->append_column(StatusColumn);
  vstPackage->get_selection()->signal_changed().connect(
      sigc::mem_fun(*this, &TfrmChecketPackage::vstPackageChange));

  lblTitle->hide();
  platform::PaintAsShape(*pnError, platform::RgbColor::FromHex(0xFED5D5),
                         platform::RgbColor::FromHex(0xFF0000), 2);
  lbErr->set_text(PackageCheckErrorText);
  wizard_style::SetFont(*lbErr, 15, true, true);
  lbErr->modify_fg(Gtk::STATE_NORMAL, wizard_style::Color(0xFF0000));
  // A navy frame on the page's own background.
  Gdk::Color background = get_style()->get_bg(Gtk::STATE_NORMAL);
  platform::PaintAsShape(*shDetail,
                         platform::RgbColor{static_cast<uint8_t>(background.get_red() >> 8),
                                            static_cast<uint8_t>(background.get_green() >> 8),
                                            static_cast<uint8_t>(background.get_blue() >> 8)},
                         platform::RgbColor::FromHex(0x000080), 1);
  mmStatus->modify_text(Gtk::STATE_NORMAL, wizard_style::Color(0xFF0000));

  spbDetails->signal_toggled().connect([this] {
    if (!Updating)
      spbDetailsClick();
  });
  spbUpdate->signal_toggled().connect([this] {
    if (!Updating)
      spbUpdateClick();
  });
  SetDetailsOpen(false);
}

TfrmChecketPackage::~TfrmChecketPackage() {
  for (Gtk::TreeModel::iterator it = Store->children().begin(); it != Store->children().end(); ++it)
    vstPackageFreeNode(it);
}

std::vector<PPKG_NodeData> TfrmChecketPackage::Nodes() const {
  std::vector<PPKG_NodeData> result;
  for (Gtk::TreeModel::iterator it = Store->children().begin(); it != Store->children().end(); ++it)
    result.push_back((*it)[Cols.Data]);
  return result;
}

void TfrmChecketPackage::Activate() {
  TfrmPageCustomFrame::Activate();
  try {
    if (!ParamError && !Initialized) {
      BuildList();
      SetToggle(*spbDetails, false);
      SetDetailsOpen(false);
      Initialized = true;
    }
  } catch (...) {
    DoChange();
    throw;
  }
  DoChange();
}

void TfrmChecketPackage::BuildList() {
  TSchm_PackageList& packages = *Schema()->Packages;
  vstPackage->freeze_child_notify();
  try {
    for (int32_t index = 0; index < packages.Count(); ++index) {
      TSchm_PackageItem& package = packages.Items(index);
      Gtk::TreeModel::iterator found;
      for (Gtk::TreeModel::iterator it = Store->children().begin(); it != Store->children().end();
           ++it) {
        PPKG_NodeData data = (*it)[Cols.Data];
        if (data && data->Package && data->Package->Name == package.Name) {
          found = it;
          break;
        }
      }
      if (found && !package.Selected) {
        vstPackageFreeNode(found);
        Store->erase(found);
      } else if (found) {
        // A node kept from the other schema shows this schema's package of that name.
        PPKG_NodeData data = (*found)[Cols.Data];
        data->Package = &package;
      } else if (package.Selected) {
        auto* data = new TPKG_NodeData{false, package.Action, &package};
        (*Store->append())[Cols.Data] = data;
      }
    }
    packages.CheckSelected(CheckResult);
  } catch (...) {
    vstPackage->thaw_child_notify();
    vstPackage->queue_draw();
    throw;
  }
  vstPackage->thaw_child_notify();
  vstPackage->queue_draw();
}

void TfrmChecketPackage::DoChange() {
  TInstallCustomSchemaClass* schema = Schema();
  if (!ParamError && PageInfo && schema) {
    if (schema->Packages->Count() == 0) {
      for (TPage_ButtonType button : {pbtNext, pbtRun, pbtFinish, pbtForward})
        ButtonSetExclude(PageInfo->EnabledButtons, button);
    } else {
      CheckWine();
      bool failed = CheckResult != slpsOK;
      pnError->set_visible(failed);
      if (failed)
        ButtonSetExclude(PageInfo->EnabledButtons, pbtNext);
      else
        ButtonSetInclude(PageInfo->EnabledButtons, pbtNext);
    }
  }
  TfrmPageCustomFrame::DoChange();
}

void TfrmChecketPackage::CheckWine() {
  TInstallCustomSchemaClass* schema = Schema();
  TSchm_PackageItem* wine = nullptr;
  if (!schema || !schema->Packages->FindByName("wine", wine))
    return;
  if (wine->Action == slpaNone)
    ModeSetExclude(schema->Mode, iomWineModify);
  else
    ModeSetInclude(schema->Mode, iomWineModify);
}

void TfrmChecketPackage::vstPackageGetText(Gtk::CellRendererText& renderer,
                                           const Gtk::TreeModel::iterator& node, int column) {
  PPKG_NodeData data = PackageData(node);
  if (!data) {
    renderer.property_text() = "";
    return;
  }
  renderer.property_text() = PackageCellText(*data->Package, column);
  TCellStyle style = PackageCellStyle(*data->Package, column);
  if (style.Color)
    renderer.property_foreground_gdk() = ToGdk(*style.Color);
  else
    renderer.property_foreground_set() = false;
  renderer.property_weight() = style.Bold ? Pango::WEIGHT_BOLD : Pango::WEIGHT_NORMAL;
  renderer.property_style() = style.Italic ? Pango::STYLE_ITALIC : Pango::STYLE_NORMAL;
}

void TfrmChecketPackage::vstPackageFreeNode(const Gtk::TreeModel::iterator& node) {
  PPKG_NodeData data = (*node)[Cols.Data];
  (*node)[Cols.Data] = nullptr;
  delete data;
}

Gtk::TreeModel::iterator TfrmChecketPackage::SelectedNode() const {
  return vstPackage->get_selection()->get_selected();
}

PPKG_NodeData TfrmChecketPackage::PackageData(const Gtk::TreeModel::iterator& node) const {
  if (!node)
    return nullptr;
  PPKG_NodeData data = (*node)[Cols.Data];
  return data && data->Package ? data : nullptr;
}

void TfrmChecketPackage::vstPackageChange() {
  Gtk::TreeModel::iterator node = SelectedNode();
  spbDetails->set_sensitive(static_cast<bool>(node));
  PPKG_NodeData data = PackageData(node);
  if (!data)
    return;
  TSchm_PackageItem& package = *data->Package;
  lblMinVer->set_text(PackageMinVersionText(package));
  lblCurVer->set_text(package.InstalledVer.Text);
  lblRepoVer->set_text(package.CandidateVer.Text);
  spbUpdate->set_visible(package.Status == slpsMustUpdate || package.Status == slpsCanUpdate);
  SetToggle(*spbUpdate, package.Action == slpaUpdate);
  if (auto* versions = dynamic_cast<Gtk::Fixed*>(spbUpdate->get_parent())) {
    Gtk::Requisition size = lblRepoVer->size_request();
    versions->move(*spbUpdate, 200 + size.width + 10, 56);
  }
  ShowStatusText(package);
}

void TfrmChecketPackage::ShowStatusText(const TSchm_PackageItem& package) {
  TPackageStatusText status = PackageStatusText(package, lblMinVer->get_text(),
                                                lblCurVer->get_text(), lblRepoVer->get_text());
  mmStatus->get_buffer()->set_text(status.Text);
  if (status.Red)
    mmStatus->modify_text(Gtk::STATE_NORMAL, wizard_style::Color(0xFF0000));
  else
    mmStatus->unset_text(Gtk::STATE_NORMAL);
}

void TfrmChecketPackage::spbUpdateClick() {
  Gtk::TreeModel::iterator node = SelectedNode();
  PPKG_NodeData data = PackageData(node);
  if (!data)
    return;
  TSchm_PackageItem& package = *data->Package;
  if (spbUpdate->get_active()) {
    bool yes = data->Confirmed || wizard_dialogs::AskYesNo(MainWindowCaption, PackageUpdateQuestion,
                                                           wizard_dialogs::TQuestionType::Warning);
    if (yes) {
      data->Confirmed = true;
      data->SavedAction = package.Action;
      package.Action = slpaUpdate;
    } else {
      SetToggle(*spbUpdate, false);
      package.Action = data->SavedAction;
    }
  } else {
    package.Action = data->SavedAction;
  }
  Store->row_changed(Store->get_path(node), node);
  ShowStatusText(package);
  CheckResult = Schema()->Packages->Summary();
  DoChange();
}

void TfrmChecketPackage::spbDetailsClick() {
  SetDetailsOpen(spbDetails->get_active());
}

void TfrmChecketPackage::SetDetailsOpen(bool open) {
  pnDetails->set_size_request(-1, open ? DetailsOpenHeight : DetailsClosedHeight);
  shDetail->set_visible(open);
  mmStatus->set_visible(open);
}

void TfrmChecketPackage::SetToggle(Gtk::ToggleButton& button, bool pressed) {
  Updating = true;
  button.set_active(pressed);
  Updating = false;
}
