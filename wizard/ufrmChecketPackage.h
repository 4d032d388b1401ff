#pragma once
// The Linux package check page: checks the selected packages against apt, shows each with its
// status, explains the chosen package's status, lets the user allow the update of an outdated
// package and keeps the wizard from going on while a package fails the check.

#include <memory>
#include <vector>

#include <gtkmm/eventbox.h>
#include <gtkmm/label.h>
#include <gtkmm/liststore.h>
#include <gtkmm/textview.h>
#include <gtkmm/togglebutton.h>
#include <gtkmm/treeview.h>

#include "uCustomPageFrame.h"
#include "uPackageClasses.h"

struct TPKG_NodeData {
  bool Confirmed = false; // the user has already agreed to update this package
  TSchm_PackageAction SavedAction = slpaNone;
  TSchm_PackageItem* Package = nullptr; // not owned
};
using PPKG_NodeData = TPKG_NodeData*;

class TfrmChecketPackage : public TfrmPageCustomFrame {
public:
  Gtk::TreeView* vstPackage = nullptr;
  Gtk::VBox* pnDetails = nullptr;
  Gtk::ToggleButton* spbDetails = nullptr;
  Gtk::EventBox* shDetail = nullptr;
  Gtk::Label* lblMinVer = nullptr;
  Gtk::Label* lblCurVer = nullptr;
  Gtk::Label* lblRepoVer = nullptr;
  Gtk::ToggleButton* spbUpdate = nullptr;
  Gtk::TextView* mmStatus = nullptr;
  Gtk::EventBox* pnError = nullptr;
  Gtk::Label* lbErr = nullptr;
  TSchm_PackageStatus CheckResult = slpsNone;

  TfrmChecketPackage();
  ~TfrmChecketPackage() override;

  void DoChange() override;
  void Activate() override;
  virtual void CheckWine();

  // The nodes in list order (for the page's own use and for tests).
  std::vector<PPKG_NodeData> Nodes() const;
  bool DetailsOpen() const { return spbDetails->get_active(); }

  // Handlers, public so that tests can act as the user.
  void vstPackageChange();
  void spbUpdateClick();
  void spbDetailsClick();

private:
  struct Columns : Gtk::TreeModel::ColumnRecord {
    Gtk::TreeModelColumn<PPKG_NodeData> Data;
    Columns() { add(Data); }
  };
  Columns Cols;
  Glib::RefPtr<Gtk::ListStore> Store;
  Gtk::TreeViewColumn PackageColumn;
  Gtk::TreeViewColumn StatusColumn;
  Gtk::CellRendererText PackageRenderer;
  Gtk::CellRendererText StatusRenderer;
  bool Updating = false; // the program, not the user, changes a toggle

  void BuildList();
  void ShowStatusText(const TSchm_PackageItem& package);
  void SetDetailsOpen(bool open);
  void SetToggle(Gtk::ToggleButton& button, bool pressed);
  Gtk::TreeModel::iterator SelectedNode() const;
  // The node's data when the node is a row of a package, otherwise nullptr.
  PPKG_NodeData PackageData(const Gtk::TreeModel::iterator& node) const;
  void vstPackageGetText(Gtk::CellRendererText& renderer, const Gtk::TreeModel::iterator& node,
                         int column);
  void vstPackageFreeNode(const Gtk::TreeModel::iterator& node);
};
