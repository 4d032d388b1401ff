#pragma once
// The root of the schema element family: the common element, the owning list, the elements with
// a source and a destination, the install element with its operation-mode set, the install
// command and its list, the record of an installation user, and the keyword enumerations.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "uLnxOS_Info.h"
#include "uSchemaUtils.h"

// ---- Operation modes ---------------------------------------------------------------------------

enum TSchm_InstallOperationMode : int32_t {
  iomNew = 0,
  iomWineModify = 1,
  iomUpdate = 2,
  iomRepair = 3,
  iomWDopInstall = 4,
  iomServerOnly = 5
};

// Bit i stands for the mode with ordinal i; the XML "mode" attribute holds this number.
using TSchm_InstallOperationModeSet = uint32_t;

constexpr TSchm_InstallOperationModeSet ModeBit(TSchm_InstallOperationMode mode) {
  return 1u << static_cast<uint32_t>(mode);
}
constexpr bool ModeSetHas(TSchm_InstallOperationModeSet set, TSchm_InstallOperationMode mode) {
  return (set & ModeBit(mode)) != 0;
}
inline void ModeSetInclude(TSchm_InstallOperationModeSet& set, TSchm_InstallOperationMode mode) {
  set |= ModeBit(mode);
}
inline void ModeSetExclude(TSchm_InstallOperationModeSet& set, TSchm_InstallOperationMode mode) {
  set &= ~ModeBit(mode);
}
// An install element applies to a run when its set and the run's set share a mode.
constexpr bool ModeSetsMeet(TSchm_InstallOperationModeSet a, TSchm_InstallOperationModeSet b) {
  return (a & b) != 0;
}

// ---- Keyword enumerations ----------------------------------------------------------------------
// Each XML text is looked up exactly (case-sensitive) in a fixed table whose index is the
// ordinal; an unrecognised text gives ordinal 0.

enum TSchm_InstallCommandType : int32_t {
  ictNone,
  ictReg32,
  ictReg64,
  ictWinetricks,
  ictBashScript,
  ictWineExec
};
enum TSchm_ConfigType : int32_t { sctNone, sctNew, sctUpdate, sctAlways };
enum TSchm_ConfigCommand : int32_t { sccNone, sccCopy, sccCommand, sccExecBash };
enum TSchm_FileCopyTypes : int32_t { fstNone, fctFile, fctDirectory };
enum TSchm_LinkRunType : int32_t { lrtNone, lrtLink, lrtApp };
enum TSchm_Link_PathType : int32_t { _ldDesktop, _ldStartMenu, _ldOther };

// The three installation types of the installation-type page.
enum TIC_InstallSelector : int32_t { icisUpdate, icisDefault, icisCustom };

extern const char* const InstallCommandTypeTexts[6];
extern const char* const ConfigTypeTexts[4];
extern const char* const ConfigCommandTexts[4];
extern const char* const FileCopyTypeTexts[3];
extern const char* const LinkRunTypeTexts[3];
extern const char* const LinkPathTypeTexts[3];

// Schema section name of each host kind: "", "astra_1_8", "redos_1".
extern const char* const OSSectionNames[3];

// Index of the first table entry equal to the text, or 0.
int32_t KeywordIndex(const char* const* table, int32_t count, const std::string& text);

TSchm_InstallCommandType CommandTypeFromText(const std::string& text);

// ---- Element classes ---------------------------------------------------------------------------

class TSchm_CustomElement;
// A change notification; the argument is the element that changed.
using TSchm_NotifyEvent = std::function<void(TSchm_CustomElement* Sender)>;

class TSchm_CustomElement {
public:
  void* Node = nullptr; // the tree node that shows the element on the custom options page
  std::string Description;
  std::string Caption;
  bool Replace = false; // placeholders are to be expanded in what the element installs
  bool Sudo = true;     // the element's action runs as root
  bool Visible = true;  // shown to the user

  TSchm_CustomElement() = default;
  virtual ~TSchm_CustomElement() = default;
  TSchm_CustomElement(const TSchm_CustomElement&) = delete;
  TSchm_CustomElement& operator=(const TSchm_CustomElement&) = delete;

  // The class name used in conversion errors.
  virtual const char* ClassName() const { return "TSchm_CustomElement"; }

  // Raises EConvertError "Cannot assign a <source class or nil> to a <own class>".
  [[noreturn]] virtual void AssignError(const TSchm_CustomElement* source) const;
  // Copies the XML-level fields (never Node) from an element of the same class or a descendant.
  virtual void Assign(const TSchm_CustomElement* source);
  virtual void Clear();
  virtual void ResetToDefault() {}
  // Reads the attributes of one element; no node, or a node without attributes, only makes the
  // element invisible. Absent attributes leave their fields unchanged.
  virtual void LoadFromXML(const TXMLNode& node);

protected:
  // True when LoadFromXML may read attributes of the node (descendants test it again).
  static bool HasReadableAttributes(const TXMLNode& node) { return node && node.HasAttributes(); }
};

// An element that owns an ordered list of elements.
class TSchm_CustomListElement : public TSchm_CustomElement {
public:
  std::vector<std::unique_ptr<TSchm_CustomElement>> ItemList;

  const char* ClassName() const override { return "TSchm_CustomListElement"; }
  int32_t Count() const { return static_cast<int32_t>(ItemList.size()); }
  void Clear() override;                        // also destroys every item
  void ResetToDefault() override;               // of every item, in order
  virtual void LoadItems(const TXMLNode& node); // here only Clear

protected:
  // The item at a 0-based index; raises EGeneral "List index (i) out of bounds" outside.
  TSchm_CustomElement& ItemAt(int32_t index) const;
  template <class T> T& AppendNew() {
    ItemList.push_back(std::make_unique<T>());
    return static_cast<T&>(*ItemList.back());
  }
};

class TSchm_BaseSourcedElement : public TSchm_CustomElement {
public:
  std::string Source;
  std::string Destination;

  const char* ClassName() const override { return "TSchm_BaseSourcedElement"; }
  void Assign(const TSchm_CustomElement* source) override;
  void Clear() override;
  void LoadFromXML(const TXMLNode& node) override;
};

class TSchm_CustomInstallElement : public TSchm_CustomElement {
public:
  TSchm_InstallOperationModeSet Mode = 0;

  TSchm_CustomInstallElement() { Sudo = false; }
  const char* ClassName() const override { return "TSchm_CustomInstallElement"; }
  void Assign(const TSchm_CustomElement* source) override;
  void Clear() override;
  void LoadFromXML(const TXMLNode& node) override;
  // The element applies to a run whose mode set shares a mode with its own.
  bool AppliesToModes(TSchm_InstallOperationModeSet runModes) const {
    return ModeSetsMeet(Mode, runModes);
  }
};

class TSchm_CustomSourcedInstallElement : public TSchm_CustomInstallElement {
public:
  std::string Source;
  std::string Destination;

  const char* ClassName() const override { return "TSchm_CustomSourcedInstallElement"; }
  void Assign(const TSchm_CustomElement* source) override;
  void Clear() override;
  void LoadFromXML(const TXMLNode& node) override;
};

class TSchm_InstallCommand : public TSchm_CustomInstallElement {
public:
  TSchm_InstallCommandType Cmd = ictNone;
  std::string Params;
  std::string Source;

  const char* ClassName() const override { return "TSchm_InstallCommand"; }
  void Assign(const TSchm_CustomElement* source) override;
  void Clear() override;
  void LoadFromXML(const TXMLNode& node) override;
};

class TSchm_InstallCommandList : public TSchm_CustomListElement {
public:
  std::string ArmPath; // "arm_path"
  std::string Setup;   // "setup"; kept, read by nothing else

  const char* ClassName() const override { return "TSchm_InstallCommandList"; }
  void Clear() override;
  void LoadFromXML(const TXMLNode& node) override;
  // Rebuilds the list: clear, the list's own attributes, one command per child "command".
  void LoadItems(const TXMLNode& node) override;

  TSchm_InstallCommand& Items(int32_t index) const {
    return static_cast<TSchm_InstallCommand&>(ItemAt(index));
  }
  TSchm_InstallCommand& Add() { return AppendNew<TSchm_InstallCommand>(); }
};

// A user of the installation (not a schema element).
class TInstall_UserInfo {
public:
  std::string ArmPath; // the application folder
  std::string Home;    // the user's home folder
  std::string UserName;

  // Copies all fields; given none, empties them.
  void CopyFrom(const TInstall_UserInfo* other);
};
