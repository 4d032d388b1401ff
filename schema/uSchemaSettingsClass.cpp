#include "uSchemaSettingsClass.h"

// ---- TSchm_CustomSettingsElement ---------------------------------------------------------------

void TSchm_CustomSettingsElement::Assign(const TSchm_CustomElement* source) {
  const auto* other = dynamic_cast<const TSchm_CustomSettingsElement*>(source);
  if (!other)
    AssignError(source);
  TSchm_CustomElement::Assign(source);
  Selected = other->Selected;
}

void TSchm_CustomSettingsElement::Clear() {
  TSchm_CustomElement::Clear();
  Selected = false;
}

void TSchm_CustomSettingsElement::LoadFromXML(const TXMLNode& node) {
  TSchm_CustomElement::LoadFromXML(node);
  if (HasReadableAttributes(node))
    ReadBooleanAttribute(node, "selected", Selected);
  DefaultSelected = Selected;
}

// ---- TSchm_SettingsElement ---------------------------------------------------------------------

void TSchm_SettingsElement::Clear() {
  TSchm_CustomSettingsElement::Clear();
  Commands.Clear();
  CopyFiles.Clear();
  Visible = false;
}

void TSchm_SettingsElement::LoadFull(const TXMLNode& node) {
  Visible = true;
  LoadFromXML(node);
  // A later "commands" or "copyfiles" child replaces what an earlier one loaded.
  for (TXMLNode child = node.FirstChild(); child; child = child.NextSibling()) {
    if (child.IsComment())
      continue;
    const std::string name = child.Name();
    if (name == "commands")
      Commands.LoadItems(child);
    else if (name == "copyfiles")
      CopyFiles.LoadItems(child);
  }
}

// ---- TSchm_SettingsElementLink -----------------------------------------------------------------

void TSchm_SettingsElementLink::Clear() {
  TSchm_CustomSettingsElement::Clear();
  Links.Clear();
}

void TSchm_SettingsElementLink::ResetToDefault() {
  Selected = DefaultSelected;
  Links.ResetToDefault();
}

void TSchm_SettingsElementLink::LoadFull(const TXMLNode& node) {
  LoadFromXML(node);
  Links.LoadItems(node);
}

// ---- Groups ------------------------------------------------------------------------------------

void TSchm_CustomSystemSettings::Clear() {
  TSchm_CustomElement::Clear();
  PTraceOff.Clear();
}

TSchm_CustomUserSettings::TSchm_CustomUserSettings()
    : All{&CreateLinks, &WineAutoStart, &WineAssocOn, &FontSmooth, &WineDecorated} {
  TSchm_CustomUserSettings::Clear();
}

void TSchm_CustomUserSettings::Clear() {
  TSchm_CustomElement::Clear();
  for (auto* option : All)
    option->Clear();
}

void TSchm_CustomUserSettings::ResetToDefault() {
  for (auto* option : All)
    option->ResetToDefault();
}
