#pragma once
// The custom options page: the schema's packages, system and user options and links as a tree
// with check boxes. Every tick goes straight into its schema element; the links option switches
// its links on and off; read-only (required) packages cannot be unticked.

#include <memory>
#include <string>
#include <vector>

#include <gtkmm/button.h>
#include <gtkmm/checkbutton.h>
#include <gtkmm/frame.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/textview.h>
#include <gtkmm/treeview.h>

#include "CheckTree.h"
#include "uCustomPageFrame.h"

class TSchm_CustomElement;
class TSchm_CustomSettingsElement;
class TSchm_LinkItem;

enum TVST_ElementLevelType : int32_t { eltSection, eltElement, eltElementTree };

struct TVST_NodeData {
  TVST_ElementLevelType Level = eltSection;
  std::string Caption;
  std::string Description;
  bool SavedChecked = false;
  bool ReadOnly = false;
  bool Excluded = false;
  TSchm_CustomElement* Element = nullptr;
};

class TfrmSimpleTreeOptionSelect : public TfrmPageCustomFrame {
public:
  using TNode = platform::CheckTree::Row;

  Gtk::TreeView* vstComponents = nullptr;
  Gtk::Frame* pnDescr = nullptr;
  Gtk::Button* sbDescrShow = nullptr;
  Gtk::TextView* mmDescription = nullptr;
  Gtk::CheckButton* chmWineRestore = nullptr;

  TfrmSimpleTreeOptionSelect();
  ~TfrmSimpleTreeOptionSelect() override;

  void Activate() override;

  virtual void ExpandAll();
  virtual void BuildTree();
  // The node made, or an invalid one when the element is hidden.
  virtual TNode AddElementNode(const TNode* parent, TSchm_CustomSettingsElement& element,
                               TVST_ElementLevelType level);
  virtual void AddLinkNode(const TNode* parent, TSchm_LinkItem& link);
  virtual void AddPackagesNode(const TNode* parent);
  virtual void SetNodeEnabled(const TNode& node, bool enabled);
  virtual void Rebuild();
  virtual void ApplyCheck(TVST_NodeData& data, const TNode& node);

  platform::CheckTree& Tree() { return *Components; }
  TVST_NodeData& NodeData(const TNode& node) const;
  bool DescriptionShown() const { return DescriptionOpen; }

  // Handlers, public so that tests can act as the user.
  void vstComponentsChecked(const TNode& node);
  bool vstComponentsChecking(const TNode& node, bool newChecked);
  void vstComponentsFocusChanged(const TNode* node);
  void sbDescrShowClick();
  void chmWineRestoreChange();

private:
  std::unique_ptr<platform::CheckTree> Components;
  Gtk::ScrolledWindow* scComponents = nullptr;
  Gtk::ScrolledWindow* scDescription = nullptr;
  bool DescriptionOpen = false;

  TNode AddNode(const TNode* parent, std::unique_ptr<TVST_NodeData> data, bool hasCheck,
                bool checked);
  void vstComponentsFreeNode(void* data);
};
