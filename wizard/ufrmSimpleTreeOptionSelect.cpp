#include "ufrmSimpleTreeOptionSelect.h"

#include "uSimpleInstallSchema.h"
#include "uWizardStyle.h"

namespace {
constexpr int NodeHeight = 25;
constexpr int OpenDescriptionWidth = 200;
} // namespace

TfrmSimpleTreeOptionSelect::TfrmSimpleTreeOptionSelect()
    : TfrmPageCustomFrame("TfrmSimpleTreeOptionSelect") {
  vstComponents = Widget<Gtk::TreeView>("vstComponents");
  pnDescr = Widget<Gtk::Frame>("pnDescr");
  sbDescrShow = Widget<Gtk::Button>("sbDescrShow");
  mmDescription = Widget<Gtk::TextView>("mmDescription");
  chmWineRestore = Widget<Gtk::CheckButton>("chmWineRestore");
  scComponents = Widget<Gtk::ScrolledWindow>("scComponents");
  scDescription = Widget<Gtk::ScrolledWindow>("scDescription");

  Components = std::make_unique<platform::CheckTree>(*vstComponents);
  for (Gtk::TreeViewColumn* column : vstComponents->get_columns())
    for (Gtk::CellRenderer* renderer : column->get_cell_renderers())
      renderer->set_fixed_size(-1, NodeHeight);
  Components->OnChecking = [this](const TNode& node, bool checked) {
    return vstComponentsChecking(node, checked);
  };
  Components->OnChecked = [this](const TNode& node) { vstComponentsChecked(node); };
  Components->OnFocusChanged = [this](const TNode* node) { vstComponentsFocusChanged(node); };
  Components->OnFreeNode = [this](void* data) { vstComponentsFreeNode(data); };
  vstComponents->set_has_tooltip(true);

  sbDescrShow->get_accessible()->set_name("Показать описание элементов");
  sbDescrShow->signal_clicked().connect(
      sigc::mem_fun(*this, &TfrmSimpleTreeOptionSelect::sbDescrShowClick));
  chmWineRestore->signal_toggled().connect(
      sigc::mem_fun(*this, &TfrmSimpleTreeOptionSelect::chmWineRestoreChange));
  // The description pane starts closed: as narrow as its button.
  pnDescr->set_size_request(-1, -1);
  scDescription->hide();
}

TfrmSimpleTreeOptionSelect::~TfrmSimpleTreeOptionSelect() {
  // The tree releases the node data while the handlers still exist.
  Components.reset();
}

TVST_NodeData& TfrmSimpleTreeOptionSelect::NodeData(const TNode& node) const {
  return *static_cast<TVST_NodeData*>(Components->Data(node));
}

void TfrmSimpleTreeOptionSelect::Activate() {
  TfrmPageCustomFrame::Activate();
  if (ParamError || Initialized)
    return;
  Rebuild();
  chmWineRestore->set_active(false);
  ModeSetExclude(Schema()->Mode, iomRepair);
  Initialized = true;
  DoChange();
}

void TfrmSimpleTreeOptionSelect::Rebuild() {
  BuildTree();
  mmDescription->get_buffer()->set_text("");
}

void TfrmSimpleTreeOptionSelect::ExpandAll() {
  Components->ExpandAll();
}

TfrmSimpleTreeOptionSelect::TNode
TfrmSimpleTreeOptionSelect::AddNode(const TNode* parent, std::unique_ptr<TVST_NodeData> data,
                                    bool hasCheck, bool checked) {
  std::string caption = data->Caption;
  TVST_NodeData* raw = data.release(); // the tree's node owns it until vstComponentsFreeNode
  TNode node = Components->AddNode(parent, caption, hasCheck, checked, raw);
  if (raw->Element)
    raw->Element->Node = raw;
  return node;
}

void TfrmSimpleTreeOptionSelect::vstComponentsFreeNode(void* data) {
  auto* nodeData = static_cast<TVST_NodeData*>(data);
  if (nodeData->Element && nodeData->Element->Node == nodeData)
    nodeData->Element->Node = nullptr;
  delete nodeData;
}

void TfrmSimpleTreeOptionSelect::BuildTree() {
  TInstallCustomSchemaClass* schema = Schema();
  Components->Clear();
  if (OSInfo)
    schema->System->Visible = schema->System->PTraceOff.Visible || schema->Packages->Count() > 0;
  if (schema->System->Visible) {
    auto section = std::make_unique<TVST_NodeData>();
    section->Level = eltSection;
    section->Caption = schema->System->Caption;
    section->Description = schema->System->Description;
    TNode systemNode = AddNode(nullptr, std::move(section), false, false);
    AddPackagesNode(&systemNode);
    AddElementNode(&systemNode, schema->System->PTraceOff, eltElement);
  }
  if (schema->User->Visible) {
    TSchm_CustomUserSettings& user = *schema->User;
    auto section = std::make_unique<TVST_NodeData>();
    section->Level = eltSection;
    section->Caption = user.Caption;
    section->Description = user.Description;
    TNode userNode = AddNode(nullptr, std::move(section), false, false);
    AddElementNode(&userNode, user.WineAssocOn, eltElement);
    AddElementNode(&userNode, user.WineAutoStart, eltElement);
    AddElementNode(&userNode, user.FontSmooth, eltElement);
    AddElementNode(&userNode, user.WineDecorated, eltElement);
    TNode linksNode = AddElementNode(&userNode, user.CreateLinks, eltElementTree);
    if (linksNode)
      for (int32_t index = 0; index < user.CreateLinks.Links.Count(); ++index)
        AddLinkNode(&linksNode, user.CreateLinks.Links.Items(index));
  }
  ExpandAll();
  Components->ScrollToFirst();
}

TfrmSimpleTreeOptionSelect::TNode TfrmSimpleTreeOptionSelect::AddElementNode(
    const TNode* parent, TSchm_CustomSettingsElement& element, TVST_ElementLevelType level) {
  if (!element.Visible)
    return TNode();
  auto data = std::make_unique<TVST_NodeData>();
  data->Level = level;
  data->Caption = element.Caption;
  data->Description = element.Description;
  data->Element = &element;
  return AddNode(parent, std::move(data), true, element.Selected);
}

void TfrmSimpleTreeOptionSelect::AddLinkNode(const TNode* parent, TSchm_LinkItem& link) {
  auto data = std::make_unique<TVST_NodeData>();
  data->Level = eltElement;
  data->Caption = link.DisplayText();
  data->Element = &link;
  AddNode(parent, std::move(data), true, link.Selected);
}

void TfrmSimpleTreeOptionSelect::AddPackagesNode(const TNode* parent) {
  TSchm_PackageList& packages = *Schema()->Packages;
  if (packages.Count() == 0)
    return;
  auto section = std::make_unique<TVST_NodeData>();
  section->Level = eltSection;
  section->Caption = packages.Caption;
  section->Description = packages.Description;
  TNode packagesNode = AddNode(parent, std::move(section), false, false);
  for (int32_t index = 0; index < packages.Count(); ++index) {
    TSchm_PackageItem& package = packages.Items(index);
    if (!package.Visible)
      continue;
    auto data = std::make_unique<TVST_NodeData>();
    data->Level = eltElement;
    data->Caption = package.Name;
    data->Description = package.Description;
    data->Element = &package;
    data->ReadOnly = package.Required;
    TNode node =
        AddNode(&packagesNode, std::move(data), true, package.Required || package.Selected);
    Components->SetBoldItalic(node, package.Required);
  }
}

void TfrmSimpleTreeOptionSelect::ApplyCheck(TVST_NodeData& data, const TNode& node) {
  bool checked = Components->IsChecked(node);
  if (auto* package = dynamic_cast<TSchm_PackageItem*>(data.Element))
    package->SetSelected(checked);
  else if (auto* option = dynamic_cast<TSchm_CustomSettingsElement*>(data.Element))
    option->SetSelected(checked);
  else if (auto* link = dynamic_cast<TSchm_LinkItem*>(data.Element))
    link->Selected = checked;
}

void TfrmSimpleTreeOptionSelect::vstComponentsChecked(const TNode& node) {
  TVST_NodeData& data = NodeData(node);
  ApplyCheck(data, node);
  if (data.Level != eltElementTree)
    return;
  bool parentChecked = Components->IsChecked(node);
  for (const TNode& child : Components->Children(node)) {
    TVST_NodeData& childData = NodeData(child);
    if (childData.Excluded)
      continue;
    if (parentChecked) {
      Components->SetEnabled(child, true);
      Components->SetChecked(child, childData.SavedChecked);
    } else {
      childData.SavedChecked = Components->IsChecked(child);
      Components->SetChecked(child, false);
      Components->SetEnabled(child, false);
    }
    Components->Redraw(child);
  }
}

bool TfrmSimpleTreeOptionSelect::vstComponentsChecking(const TNode& node, bool) {
  return !NodeData(node).ReadOnly;
}

void TfrmSimpleTreeOptionSelect::SetNodeEnabled(const TNode& node, bool enabled) {
  TVST_NodeData& data = NodeData(node);
  if (enabled) {
    Components->SetEnabled(node, true);
    if (data.SavedChecked)
      Components->SetChecked(node, true);
  } else {
    data.SavedChecked = Components->IsChecked(node);
    Components->SetChecked(node, false);
    Components->SetEnabled(node, false);
  }
  data.Excluded = !enabled;
  ApplyCheck(data, node);
  Components->Redraw(node);
}

void TfrmSimpleTreeOptionSelect::vstComponentsFocusChanged(const TNode* node) {
  mmDescription->get_buffer()->set_text(node ? NodeData(*node).Description : "");
}

void TfrmSimpleTreeOptionSelect::sbDescrShowClick() {
  DescriptionOpen = !DescriptionOpen;
  if (DescriptionOpen) {
    pnDescr->set_size_request(OpenDescriptionWidth, -1);
    sbDescrShow->set_label(">");
    scDescription->show();
    scComponents->set_policy(Gtk::POLICY_AUTOMATIC, Gtk::POLICY_AUTOMATIC);
  } else {
    pnDescr->set_size_request(-1, -1);
    sbDescrShow->set_label("<");
    scDescription->hide();
    scComponents->set_policy(Gtk::POLICY_NEVER, Gtk::POLICY_AUTOMATIC);
  }
}

void TfrmSimpleTreeOptionSelect::chmWineRestoreChange() {
  TInstallCustomSchemaClass* schema = Schema();
  if (!schema)
    return;
  if (chmWineRestore->get_active())
    ModeSetInclude(schema->Mode, iomWDopInstall);
  else
    ModeSetExclude(schema->Mode, iomWDopInstall);
}
