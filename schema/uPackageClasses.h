#pragma once
// The Linux packages of the schema: configuration actions, versions, packages and the package
// list with its apt status check (Russian output of "apt-cache policy").

#include <cstdint>
#include <string>

#include "uBaseSchemaClasses.h"

enum TSchm_PackageStatus : int32_t {
  slpsNone, // not checked yet, or: to be installed
  slpsOK,
  slpsMustUpdate, // installed below the minimum; the repository has the minimum
  slpsCanUpdate,  // installed meets the minimum; the repository has a newer version
  slpsDiffer,     // installed and repository versions differ, no version check
  slpsNotFound,
  slpsNotSupported // the minimum cannot be reached from the repository
};
using TSchm_PackageStatusSet = uint32_t; // bit i for ordinal i

enum TSchm_PackageAction : int32_t { slpaNone, slpaInstall, slpaUpdate };
enum TSchm_PkgInfoResult : int32_t { spirOK, spirNotFound, spirError };

// apt's text for "no version".
extern const char* const PkgNoneVersionText; // "(отсутствует)"

TSchm_ConfigType ConfigTypeFromText(const std::string& text);
TSchm_ConfigCommand ConfigCommandFromText(const std::string& text);

// One configuration action of a package, run after the package step installed it.
class TSchm_PkgConfigItem : public TSchm_BaseSourcedElement {
public:
  TSchm_ConfigCommand Cmd = sccNone;     // "cmd"
  TSchm_ConfigType ConfigType = sctNone; // "type"
  std::string Params;                    // "params": the command line or the bash script path

  const char* ClassName() const override { return "TSchm_PkgConfigItem"; }
  void Assign(const TSchm_CustomElement* source) override;
  void LoadFromXML(const TXMLNode& node) override;

  // True for "always", for "new" with an installation and for "update" with an update.
  bool AppliesTo(TSchm_PackageAction action) const;
};

class TSchm_PackageConfigItems : public TSchm_CustomListElement {
public:
  const char* ClassName() const override { return "TSchm_PackageConfigItems"; }
  TSchm_PkgConfigItem& Items(int32_t index) const {
    return static_cast<TSchm_PkgConfigItem&>(ItemAt(index));
  }
  TSchm_PkgConfigItem& Add() { return AppendNew<TSchm_PkgConfigItem>(); }
};

// One version of a package.
class TSchm_PackageVerInfo {
public:
  bool Present = false;
  int32_t Major = 0;
  int32_t Minor = 0;
  std::string Text; // as apt prints it without spaces, or "(отсутствует)"

  virtual ~TSchm_PackageVerInfo() = default;

  // Every space, "+" and "-" becomes ".".
  virtual std::string Normalize(const std::string& text) const;
  // Major, Minor := 0, Present := False; Text stays.
  void Clear();
  // Fills Major (and Minor unless MajorOnly) from Text; a piece that is no integer gives
  // 2147483647.
  void Parse(bool MajorOnly);
  // -1 when A is greater, 1 when A is less, 0 when equal, by (Major, Minor).
  static int Compare(const TSchm_PackageVerInfo& A, const TSchm_PackageVerInfo& B);
};

class TSchm_PackageItem : public TSchm_CustomElement {
public:
  TSchm_PackageAction Action = slpaNone;
  bool Checked = false; // the apt check has run for it
  TSchm_PackageConfigItems Configs;
  TSchm_PackageVerInfo InstalledVer; // from "Установлен"
  TSchm_PackageVerInfo RequiredVer;  // the minimum: "major", "minor"
  std::string Name;                  // the apt package name
  TSchm_NotifyEvent OnChange;        // fired when Selected changes
  TSchm_PackageVerInfo CandidateVer; // from "Кандидат"
  bool Required = false;             // "required": cannot be deselected
  bool Selected = false;             // "selected"
  bool DefaultSelected = false;      // Required or Selected, as loaded
  TSchm_PackageStatus Status = slpsNone;
  bool Subpackage = false;     // "subpackage": query name + "-" + major version
  bool VersionCheck = false;   // "version_check": the minimum is enforced
  std::string RecordedVersion; // from the package record of an earlier installation

  const char* ClassName() const override { return "TSchm_PackageItem"; }
  void ResetToDefault() override { Selected = DefaultSelected; }
  void LoadFromXML(const TXMLNode& node) override;

  // A required package just becomes selected, without an event; otherwise a change of Selected
  // fires OnChange.
  void SetSelected(bool value);
  void SetOnChange(TSchm_NotifyEvent event) { OnChange = std::move(event); }
  void SetChecked(bool value) { Checked = value; }

  // The version in place after the package step ("%d.%d" with a version check, else the text).
  std::string VersionText() const;
  // The major version chosen by Status ("$MJR_VER"); empty unless checked.
  std::string MajorVersionText() const;
};

class TSchm_PackageList : public TSchm_CustomListElement {
public:
  TSchm_NotifyEvent OnChange;
  TLNX_OS_Type OSType = lotUnknown;
  std::string TempDir;    // the run's temporary folder, without a trailing "/"
  std::string ScriptPath; // the apt query script; empty until written

  // Stores the host kind and the folder and writes the query script (raises when it cannot).
  TSchm_PackageList(TLNX_OS_Type osType, const std::string& tempDir);

  const char* ClassName() const override { return "TSchm_PackageList"; }

  TSchm_PackageItem& Items(int32_t index) const {
    return static_cast<TSchm_PackageItem&>(ItemAt(index));
  }
  // A new package that already carries the list's change event.
  TSchm_PackageItem& Add();
  void SetOnChange(TSchm_NotifyEvent event);
  // The first package of exactly that name; false (item untouched) when there is none.
  bool FindByName(const std::string& name, TSchm_PackageItem*& item) const;

  // Checks every selected package not yet checked, then gives the summary. An error of a
  // query raises, and then summary is not written.
  void CheckSelected(TSchm_PackageStatus& summary);
  // The summary over the selected checked packages, without a query.
  TSchm_PackageStatus Summary() const;
  // Some package, selected or not, has an action.
  bool AnyAction() const;

  // Parts of the check, public for the package check page's tests and diagnostics.
  void WriteScript();
  TSchm_PkgInfoResult QueryApt(const std::string& name, TSchm_PackageVerInfo& installedVer,
                               TSchm_PackageVerInfo& candidateVer, std::string& errorText);
  void CheckPackage(TSchm_PackageItem& item);
};
