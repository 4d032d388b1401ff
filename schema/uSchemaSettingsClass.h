#pragma once
// The schema's yes/no options and their two groups: the system group (the ptrace lock) and the
// user group (links, Wine autostart, Wine association, font smoothing, window decoration).

#include <vector>

#include "uBaseSchemaClasses.h"
#include "uSchemaCopyFileClasses.h"

// One selectable option.
class TSchm_CustomSettingsElement : public TSchm_CustomElement {
public:
  bool Selected = false;
  bool DefaultSelected = false; // the schema's selection; ResetToDefault copies it back

  const char* ClassName() const override { return "TSchm_CustomSettingsElement"; }
  // Copies the common fields and Selected (not DefaultSelected, commands, copy items or links).
  void Assign(const TSchm_CustomElement* source) override;
  void Clear() override; // keeps DefaultSelected
  void ResetToDefault() override { Selected = DefaultSelected; }
  // The common attributes, then "selected"; DefaultSelected := Selected.
  void LoadFromXML(const TXMLNode& node) override;

  virtual void SetSelected(bool value) { Selected = value; }
  // Loads the option from its element, children included.
  virtual void LoadFull(const TXMLNode& node) { LoadFromXML(node); }

  // The option takes effect only when it is visible and selected.
  bool IsActive() const { return Visible && Selected; }
};

// An option that brings its own install commands and copy items; invisible until loaded.
class TSchm_SettingsElement : public TSchm_CustomSettingsElement {
public:
  TSchm_InstallCommandList Commands; // from the child "commands"
  TSchm_InstallfileList CopyFiles;   // from the child "copyfiles"

  TSchm_SettingsElement() { Visible = false; }
  const char* ClassName() const override { return "TSchm_SettingsElement"; }
  void Clear() override; // also empties both lists and hides the option
  void LoadFull(const TXMLNode& node) override;
};

// The option that brings the desktop and start-menu links.
class TSchm_SettingsElementLink : public TSchm_CustomSettingsElement {
public:
  TSchm_LinkList Links; // from the children "link"

  const char* ClassName() const override { return "TSchm_SettingsElementLink"; }
  void Clear() override; // also empties the links; stays visible
  void ResetToDefault() override;
  void LoadFull(const TXMLNode& node) override;
};

class TSchm_CustomSystemSettings : public TSchm_CustomElement {
public:
  TSchm_CustomSettingsElement PTraceOff; // "ptrace_off"

  const char* ClassName() const override { return "TSchm_CustomSystemSettings"; }
  void Clear() override;
  // No ResetToDefault of its own: the ptrace option keeps its selection on a defaults reset.
};

class TSchm_CustomUserSettings : public TSchm_CustomElement {
public:
  TSchm_SettingsElementLink CreateLinks; // "create_links"
  TSchm_SettingsElement WineAutoStart;   // "wine_auto_start"
  TSchm_SettingsElement WineAssocOn;     // "wine_assoc_on"
  TSchm_SettingsElement FontSmooth;      // "font_smooth"
  TSchm_SettingsElement WineDecorated;   // "wine_decorated"
  // The same five options in the order CreateLinks, WineAutoStart, WineAssocOn, FontSmooth,
  // WineDecorated; not owned.
  std::vector<TSchm_CustomSettingsElement*> All;

  TSchm_CustomUserSettings();
  TSchm_CustomUserSettings(const TSchm_CustomUserSettings&) = delete;
  TSchm_CustomUserSettings& operator=(const TSchm_CustomUserSettings&) = delete;

  const char* ClassName() const override { return "TSchm_CustomUserSettings"; }
  void Clear() override;
  void ResetToDefault() override;
};
