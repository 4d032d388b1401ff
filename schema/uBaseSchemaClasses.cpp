#include "uBaseSchemaClasses.h"

#include "Exceptions.h"

const char* const InstallCommandTypeTexts[6] = {"", "reg32", "reg64", "winetricks", "bash", "exec"};
const char* const ConfigTypeTexts[4] = {"", "new", "update", "always"};
const char* const ConfigCommandTexts[4] = {"", "copy", "command", "bash"};
const char* const FileCopyTypeTexts[3] = {"", "file", "directory"};
const char* const LinkRunTypeTexts[3] = {"", "link", "app"};
// The path kinds have no empty entry: an unknown text means the desktop.
const char* const LinkPathTypeTexts[3] = {"desktop", "startmenu", "other"};

const char* const OSSectionNames[3] = {"", "astra_1_8", "redos_1"};

int32_t KeywordIndex(const char* const* table, int32_t count, const std::string& text) {
  for (int32_t i = 0; i < count; ++i)
    if (text == table[i])
      return i;
  return 0;
}

TSchm_InstallCommandType CommandTypeFromText(const std::string& text) {
  return static_cast<TSchm_InstallCommandType>(KeywordIndex(InstallCommandTypeTexts, 6, text));
}

// ---- TSchm_CustomElement -----------------------------------------------------------------------

void TSchm_CustomElement::AssignError(const TSchm_CustomElement* source) const {
  const std::string sourceName = source ? source->ClassName() : "nil";
  throw EConvertError("Cannot assign a " + sourceName + " to a " + ClassName());
}

void TSchm_CustomElement::Assign(const TSchm_CustomElement* source) {
  if (!source)
    AssignError(source);
  Sudo = source->Sudo;
  Replace = source->Replace;
  Visible = source->Visible;
  Description = source->Description;
  Caption = source->Caption;
}

void TSchm_CustomElement::Clear() {
  Node = nullptr;
  Description.clear();
  Caption.clear();
  Replace = false;
  Sudo = true;
  Visible = true;
}

void TSchm_CustomElement::LoadFromXML(const TXMLNode& node) {
  if (!HasReadableAttributes(node)) {
    Visible = false;
    return;
  }
  ReadBooleanAttribute(node, "sudo", Sudo);
  ReadBooleanAttribute(node, "replace", Replace);
  ReadBooleanAttribute(node, "visible", Visible);
  ReadTextAttribute(node, "description", Description);
  ReadTextAttribute(node, "caption", Caption);
}

// ---- TSchm_CustomListElement -------------------------------------------------------------------

void TSchm_CustomListElement::Clear() {
  TSchm_CustomElement::Clear();
  ItemList.clear();
}

void TSchm_CustomListElement::ResetToDefault() {
  TSchm_CustomElement::ResetToDefault();
  for (auto& item : ItemList)
    item->ResetToDefault();
}

void TSchm_CustomListElement::LoadItems(const TXMLNode&) {
  Clear();
}

TSchm_CustomElement& TSchm_CustomListElement::ItemAt(int32_t index) const {
  if (index < 0 || index >= Count())
    throw EGeneral("List index (" + std::to_string(index) + ") out of bounds");
  return *ItemList[static_cast<std::size_t>(index)];
}

// ---- TSchm_BaseSourcedElement ------------------------------------------------------------------

void TSchm_BaseSourcedElement::Assign(const TSchm_CustomElement* source) {
  const auto* other = dynamic_cast<const TSchm_BaseSourcedElement*>(source);
  if (!other)
    AssignError(source);
  TSchm_CustomElement::Assign(source);
  Source = other->Source;
  Destination = other->Destination;
}

void TSchm_BaseSourcedElement::Clear() {
  TSchm_CustomElement::Clear();
  Source.clear();
  Destination.clear();
}

void TSchm_BaseSourcedElement::LoadFromXML(const TXMLNode& node) {
  TSchm_CustomElement::LoadFromXML(node);
  if (!HasReadableAttributes(node))
    return;
  ReadTextAttribute(node, "source", Source);
  ReadTextAttribute(node, "destination", Destination);
}

// ---- TSchm_CustomInstallElement ----------------------------------------------------------------

void TSchm_CustomInstallElement::Assign(const TSchm_CustomElement* source) {
  const auto* other = dynamic_cast<const TSchm_CustomInstallElement*>(source);
  if (!other)
    AssignError(source);
  TSchm_CustomElement::Assign(source);
  Mode = other->Mode;
}

void TSchm_CustomInstallElement::Clear() {
  TSchm_CustomElement::Clear();
  Mode = 0;
}

void TSchm_CustomInstallElement::LoadFromXML(const TXMLNode& node) {
  TSchm_CustomElement::LoadFromXML(node);
  if (!HasReadableAttributes(node))
    return;
  if (auto mode = FindAttribute(node, "mode"))
    Mode = static_cast<TSchm_InstallOperationModeSet>(StrToIntDef(*mode, 0));
}

// ---- TSchm_CustomSourcedInstallElement ---------------------------------------------------------

void TSchm_CustomSourcedInstallElement::Assign(const TSchm_CustomElement* source) {
  const auto* other = dynamic_cast<const TSchm_CustomSourcedInstallElement*>(source);
  if (!other)
    AssignError(source);
  TSchm_CustomInstallElement::Assign(source);
  Source = other->Source;
  Destination = other->Destination;
}

void TSchm_CustomSourcedInstallElement::Clear() {
  TSchm_CustomInstallElement::Clear();
  Source.clear();
  Destination.clear();
}

void TSchm_CustomSourcedInstallElement::LoadFromXML(const TXMLNode& node) {
  TSchm_CustomInstallElement::LoadFromXML(node);
  if (!HasReadableAttributes(node))
    return;
  ReadTextAttribute(node, "source", Source);
  ReadTextAttribute(node, "destination", Destination);
}

// ---- TSchm_InstallCommand ----------------------------------------------------------------------

void TSchm_InstallCommand::Assign(const TSchm_CustomElement* source) {
  const auto* other = dynamic_cast<const TSchm_InstallCommand*>(source);
  if (!other)
    AssignError(source);
  TSchm_CustomInstallElement::Assign(source);
  Cmd = other->Cmd;
  Params = other->Params;
  Source = other->Source;
}

void TSchm_InstallCommand::Clear() {
  TSchm_CustomInstallElement::Clear();
  Cmd = ictNone;
  Params.clear();
  Source.clear();
  Sudo = false;
}

void TSchm_InstallCommand::LoadFromXML(const TXMLNode& node) {
  TSchm_CustomInstallElement::LoadFromXML(node);
  if (!HasReadableAttributes(node))
    return;
  if (auto cmd = FindAttribute(node, "cmd"))
    Cmd = CommandTypeFromText(*cmd);
  ReadTextAttribute(node, "source", Source);
  ReadTextAttribute(node, "params", Params);
}

// ---- TSchm_InstallCommandList ------------------------------------------------------------------

void TSchm_InstallCommandList::Clear() {
  TSchm_CustomListElement::Clear();
  ArmPath.clear();
  Setup.clear();
}

void TSchm_InstallCommandList::LoadFromXML(const TXMLNode& node) {
  TSchm_CustomListElement::LoadFromXML(node);
  if (!HasReadableAttributes(node))
    return;
  ReadTextAttribute(node, "arm_path", ArmPath);
  ReadTextAttribute(node, "setup", Setup);
}

void TSchm_InstallCommandList::LoadItems(const TXMLNode& node) {
  TSchm_CustomListElement::LoadItems(node);
  LoadFromXML(node);
  // Children named "command" count even without attributes (unlike IsElementNamed).
  for (TXMLNode child = node.FirstChild(); child; child = child.NextSibling()) {
    if (child.IsComment() || child.Name() != "command")
      continue;
    Add().LoadFromXML(child);
  }
}

// ---- TInstall_UserInfo -------------------------------------------------------------------------

void TInstall_UserInfo::CopyFrom(const TInstall_UserInfo* other) {
  if (!other) {
    ArmPath.clear();
    Home.clear();
    UserName.clear();
    return;
  }
  ArmPath = other->ArmPath;
  Home = other->Home;
  UserName = other->UserName;
}
