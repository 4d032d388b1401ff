#pragma once
// Copy items (one file or directory each) and links (one desktop or start-menu entry each), with
// their lists.

#include <string>

#include "uBaseSchemaClasses.h"

TSchm_FileCopyTypes FileCopyTypeFromText(const std::string& text);
TSchm_LinkRunType LinkRunTypeFromText(const std::string& text);
TSchm_Link_PathType LinkPathTypeFromText(const std::string& text);

class TSchm_InstallFileItem : public TSchm_CustomSourcedInstallElement {
public:
  TSchm_FileCopyTypes CopyType = fstNone; // "type"

  const char* ClassName() const override { return "TSchm_InstallFileItem"; }
  void Assign(const TSchm_CustomElement* source) override;
  void Clear() override;
  void LoadFromXML(const TXMLNode& node) override;
};

class TSchm_InstallfileList : public TSchm_CustomListElement {
public:
  const char* ClassName() const override { return "TSchm_InstallfileList"; }
  // Clears the list, then adds one item per child "item"; the element's own attributes are
  // not read.
  void LoadItems(const TXMLNode& node) override;

  TSchm_InstallFileItem& Items(int32_t index) const {
    return static_cast<TSchm_InstallFileItem&>(ItemAt(index));
  }
  TSchm_InstallFileItem& Add() { return AppendNew<TSchm_InstallFileItem>(); }
};

class TSchm_LinkItem : public TSchm_CustomSourcedInstallElement {
public:
  TSchm_LinkRunType RunType = lrtNone;       // "type"
  bool Selected = false;                     // "selected"
  bool CreateEntry = false;                  // "create": write a new entry rather than copy Source
  bool DefaultSelected = false;              // Selected as loaded
  std::string Path;                          // "path"
  std::string Icon;                          // "icon"
  TSchm_Link_PathType PathType = _ldDesktop; // "pathtype"

  const char* ClassName() const override { return "TSchm_LinkItem"; }
  void Assign(const TSchm_CustomElement* source) override;
  void Clear() override;
  void ResetToDefault() override { Selected = DefaultSelected; }
  void LoadFromXML(const TXMLNode& node) override;

  // The description when there is one, else the text of the path kind.
  std::string DisplayText() const;
  bool IsActive() const { return Visible && Selected; }
};

class TSchm_LinkList : public TSchm_CustomListElement {
public:
  const char* ClassName() const override { return "TSchm_LinkList"; }
  // Clears the list, then adds one link per child "link".
  void LoadItems(const TXMLNode& node) override;

  TSchm_LinkItem& Items(int32_t index) const { return static_cast<TSchm_LinkItem&>(ItemAt(index)); }
  TSchm_LinkItem& Add() { return AppendNew<TSchm_LinkItem>(); }
};
