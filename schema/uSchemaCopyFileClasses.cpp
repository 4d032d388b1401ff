#include "uSchemaCopyFileClasses.h"

TSchm_FileCopyTypes FileCopyTypeFromText(const std::string& text) {
  return static_cast<TSchm_FileCopyTypes>(KeywordIndex(FileCopyTypeTexts, 3, text));
}

TSchm_LinkRunType LinkRunTypeFromText(const std::string& text) {
  return static_cast<TSchm_LinkRunType>(KeywordIndex(LinkRunTypeTexts, 3, text));
}

TSchm_Link_PathType LinkPathTypeFromText(const std::string& text) {
  return static_cast<TSchm_Link_PathType>(KeywordIndex(LinkPathTypeTexts, 3, text));
}

namespace {

// Walks the children of a list element and loads one new item per child of the given name.
template <class TList>
void LoadNamedChildren(TList& list, const TXMLNode& node, const char* childName) {
  list.Clear();
  for (TXMLNode child = node.FirstChild(); child; child = child.NextSibling()) {
    if (child.IsComment() || child.Name() != childName)
      continue;
    list.Add().LoadFromXML(child);
  }
}

} // namespace

// ---- TSchm_InstallFileItem ---------------------------------------------------------------------

void TSchm_InstallFileItem::Assign(const TSchm_CustomElement* source) {
  const auto* other = dynamic_cast<const TSchm_InstallFileItem*>(source);
  if (!other)
    AssignError(source);
  TSchm_CustomSourcedInstallElement::Assign(source);
  CopyType = other->CopyType;
}

void TSchm_InstallFileItem::Clear() {
  TSchm_CustomSourcedInstallElement::Clear();
  CopyType = fstNone;
}

void TSchm_InstallFileItem::LoadFromXML(const TXMLNode& node) {
  TSchm_CustomSourcedInstallElement::LoadFromXML(node);
  if (!HasReadableAttributes(node))
    return;
  if (auto type = FindAttribute(node, "type"))
    CopyType = FileCopyTypeFromText(*type);
}

void TSchm_InstallfileList::LoadItems(const TXMLNode& node) {
  LoadNamedChildren(*this, node, "item");
}

// ---- TSchm_LinkItem ----------------------------------------------------------------------------

void TSchm_LinkItem::Assign(const TSchm_CustomElement* source) {
  const auto* other = dynamic_cast<const TSchm_LinkItem*>(source);
  if (!other)
    AssignError(source);
  TSchm_CustomSourcedInstallElement::Assign(source);
  Selected = other->Selected;
  Path = other->Path;
  RunType = other->RunType;
  CreateEntry = other->CreateEntry;
  Icon = other->Icon;
  PathType = other->PathType;
}

void TSchm_LinkItem::Clear() {
  TSchm_CustomSourcedInstallElement::Clear();
  RunType = lrtNone;
  Selected = false;
  Path.clear();
  CreateEntry = false;
  Icon.clear();
  PathType = _ldDesktop;
}

void TSchm_LinkItem::LoadFromXML(const TXMLNode& node) {
  TSchm_CustomSourcedInstallElement::LoadFromXML(node);
  if (HasReadableAttributes(node)) {
    ReadTextAttribute(node, "path", Path);
    ReadBooleanAttribute(node, "selected", Selected);
    if (auto type = FindAttribute(node, "type"))
      RunType = LinkRunTypeFromText(*type);
    ReadBooleanAttribute(node, "create", CreateEntry);
    ReadTextAttribute(node, "icon", Icon);
    if (auto pathType = FindAttribute(node, "pathtype"))
      PathType = LinkPathTypeFromText(*pathType);
  }
  DefaultSelected = Selected;
}

std::string TSchm_LinkItem::DisplayText() const {
  if (!Description.empty())
    return Description;
  switch (PathType) {
  case _ldStartMenu:
    return "в меню \"Пуск\"";
  case _ldOther:
    return "другое...";
  case _ldDesktop:
  default:
    return "на рабочем столе";
  }
}

void TSchm_LinkList::LoadItems(const TXMLNode& node) {
  LoadNamedChildren(*this, node, "link");
}
