#include "uPackageClasses.h"

#include <climits>
#include <cstdio>
#include <fstream>
#include <vector>

#include "Exceptions.h"

const char* const PkgNoneVersionText = "(отсутствует)";

namespace {

const char* const kInstalledLine = "Установлен";
const char* const kCandidateLine = "Кандидат";

// The query script: apt's report on the package, only the two lines, every space removed.
const char* const kQueryScript =
    "#!/usr/bin/bash\n"
    "apt-cache policy \"$1\" | grep -E 'Установлен|Кандидат' | sed -E 's/ *//g' >> \"$2\"\n";

bool FileExists(const std::string& path) {
  std::ifstream in(path);
  return static_cast<bool>(in);
}

// A decimal integer, or 2147483647 when the text is not one.
int32_t VersionNumber(const std::string& text) {
  return StrToIntDef(text, INT32_MAX);
}

// Splits at the first "."; without one, all of the text is the head.
void SplitAtDot(const std::string& text, std::string& head, std::string& rest) {
  const auto dot = text.find('.');
  if (dot == std::string::npos) {
    head = text;
    rest.clear();
  } else {
    head = text.substr(0, dot);
    rest = text.substr(dot + 1);
  }
}

// Restores a package's name and subpackage flag when the check of its versioned name ends.
class SubpackageNameGuard {
public:
  explicit SubpackageNameGuard(TSchm_PackageItem& item) : item_(item), name_(item.Name) {}
  ~SubpackageNameGuard() {
    item_.Name = name_;
    item_.Subpackage = true;
  }

private:
  TSchm_PackageItem& item_;
  std::string name_;
};

} // namespace

TSchm_ConfigType ConfigTypeFromText(const std::string& text) {
  return static_cast<TSchm_ConfigType>(KeywordIndex(ConfigTypeTexts, 4, text));
}

TSchm_ConfigCommand ConfigCommandFromText(const std::string& text) {
  return static_cast<TSchm_ConfigCommand>(KeywordIndex(ConfigCommandTexts, 4, text));
}

// ---- TSchm_PkgConfigItem -----------------------------------------------------------------------

void TSchm_PkgConfigItem::Assign(const TSchm_CustomElement* source) {
  const auto* other = dynamic_cast<const TSchm_PkgConfigItem*>(source);
  if (!other)
    AssignError(source);
  TSchm_BaseSourcedElement::Assign(source);
  ConfigType = other->ConfigType;
  Cmd = other->Cmd;
  Params = other->Params;
}

void TSchm_PkgConfigItem::LoadFromXML(const TXMLNode& node) {
  TSchm_BaseSourcedElement::LoadFromXML(node);
  if (!HasReadableAttributes(node))
    return;
  if (auto cmd = FindAttribute(node, "cmd"))
    Cmd = ConfigCommandFromText(*cmd);
  if (auto type = FindAttribute(node, "type"))
    ConfigType = ConfigTypeFromText(*type);
  ReadTextAttribute(node, "params", Params);
}

bool TSchm_PkgConfigItem::AppliesTo(TSchm_PackageAction action) const {
  return ConfigType == sctAlways || (ConfigType == sctNew && action == slpaInstall) ||
         (ConfigType == sctUpdate && action == slpaUpdate);
}

// ---- TSchm_PackageVerInfo ----------------------------------------------------------------------

std::string TSchm_PackageVerInfo::Normalize(const std::string& text) const {
  std::string result = text;
  for (char& c : result)
    if (c == ' ' || c == '+' || c == '-')
      c = '.';
  return result;
}

void TSchm_PackageVerInfo::Clear() {
  Major = 0;
  Minor = 0;
  Present = false;
}

void TSchm_PackageVerInfo::Parse(bool MajorOnly) {
  Major = 0;
  Minor = 0;
  if (!Present)
    return;
  std::string head;
  std::string rest;
  SplitAtDot(Normalize(Text), head, rest);
  Major = VersionNumber(head);
  if (rest.empty() || MajorOnly)
    return;
  std::string minorHead;
  std::string ignored;
  SplitAtDot(rest, minorHead, ignored);
  Minor = VersionNumber(minorHead);
}

int TSchm_PackageVerInfo::Compare(const TSchm_PackageVerInfo& A, const TSchm_PackageVerInfo& B) {
  if (A.Major != B.Major)
    return A.Major > B.Major ? -1 : 1;
  if (A.Minor != B.Minor)
    return A.Minor > B.Minor ? -1 : 1;
  return 0;
}

// ---- TSchm_PackageItem -------------------------------------------------------------------------

void TSchm_PackageItem::LoadFromXML(const TXMLNode& node) {
  TSchm_CustomElement::LoadFromXML(node);
  if (HasReadableAttributes(node)) {
    ReadBooleanAttribute(node, "required", Required);
    ReadBooleanAttribute(node, "version_check", VersionCheck);
    if (VersionCheck) {
      ReadIntegerAttribute(node, "major", RequiredVer.Major);
      ReadIntegerAttribute(node, "minor", RequiredVer.Minor);
    }
    ReadBooleanAttribute(node, "selected", Selected);
    ReadBooleanAttribute(node, "subpackage", Subpackage);
  }
  DefaultSelected = Required || Selected;
}

void TSchm_PackageItem::SetSelected(bool value) {
  if (Required) {
    Selected = true;
    return;
  }
  if (value == Selected)
    return;
  Selected = value;
  if (OnChange)
    OnChange(this);
}

std::string TSchm_PackageItem::VersionText() const {
  const TSchm_PackageVerInfo& version = Action != slpaNone ? CandidateVer : InstalledVer;
  if (VersionCheck)
    return std::to_string(version.Major) + "." + std::to_string(version.Minor);
  return version.Text;
}

std::string TSchm_PackageItem::MajorVersionText() const {
  if (!Checked)
    return {};
  const TSchm_PackageVerInfo* version = nullptr;
  switch (Status) {
  case slpsNone:
    version = &CandidateVer;
    break;
  case slpsOK:
  case slpsDiffer:
    version = &InstalledVer;
    break;
  case slpsMustUpdate:
  case slpsCanUpdate:
    version = Action == slpaUpdate ? &CandidateVer : &InstalledVer;
    break;
  case slpsNotFound:
  case slpsNotSupported:
    return {};
  }
  if (!version)
    return {};
  return VersionCheck ? std::to_string(version->Major) : version->Text;
}

// ---- TSchm_PackageList -------------------------------------------------------------------------

TSchm_PackageList::TSchm_PackageList(TLNX_OS_Type osType, const std::string& tempDir)
    : OSType(osType), TempDir(tempDir) {
  WriteScript();
}

TSchm_PackageItem& TSchm_PackageList::Add() {
  TSchm_PackageItem& item = AppendNew<TSchm_PackageItem>();
  item.SetOnChange(OnChange);
  return item;
}

void TSchm_PackageList::SetOnChange(TSchm_NotifyEvent event) {
  OnChange = std::move(event);
  for (int32_t i = 0; i < Count(); ++i)
    Items(i).SetOnChange(OnChange);
}

bool TSchm_PackageList::FindByName(const std::string& name, TSchm_PackageItem*& item) const {
  for (int32_t i = 0; i < Count(); ++i) {
    if (Items(i).Name == name) {
      item = &Items(i);
      return true;
    }
  }
  return false;
}

void TSchm_PackageList::WriteScript() {
  // Only Astra Linux 1.8 has an apt query; other hosts get no script and every query fails.
  if (OSType != lotAstra_1_8)
    return;
  const std::string path = TempDir + "/.get_pkginfo.sh";
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << kQueryScript;
  out.close();
  if (!out)
    throw EGeneral("Cannot write the package query script \"" + path + "\"");
  ScriptPath = path;
}

TSchm_PkgInfoResult TSchm_PackageList::QueryApt(const std::string& name,
                                                TSchm_PackageVerInfo& installedVer,
                                                TSchm_PackageVerInfo& candidateVer,
                                                std::string& errorText) {
  errorText.clear();
  const std::string answerFile = TempDir + "/" + name + ".info";
  bool answerRead = false;
  try {
    installedVer.Clear();
    candidateVer.Clear();
    // The script appends: an answer left over from an earlier failed query must not count.
    std::remove(answerFile.c_str());
    std::string output;
    if (ScriptPath.empty() || !CommandExecuter ||
        !CommandExecuter->RunCommandPlain(
            "bash " + ScriptPath + " \"" + name + "\" \"" + answerFile + "\"", output)) {
      errorText = "Cannot execute command!";
      return spirError;
    }
    if (!FileExists(answerFile))
      return spirNotFound;

    answerRead = true;
    std::ifstream in(answerFile, std::ios::binary);
    if (!in)
      throw EGeneral("Cannot read the package answer file \"" + answerFile + "\"");
    bool hasInstalled = false;
    bool hasCandidate = false;
    std::string installedValue;
    std::string candidateValue;
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r')
        line.pop_back();
      const auto colon = line.find(':');
      if (colon == std::string::npos)
        continue;
      const std::string lineName = line.substr(0, colon);
      const std::string value = line.substr(colon + 1);
      if (lineName == kInstalledLine && !hasInstalled) {
        hasInstalled = true;
        installedValue = value;
      } else if (lineName == kCandidateLine && !hasCandidate) {
        hasCandidate = true;
        candidateValue = value;
      }
    }
    in.close();
    std::remove(answerFile.c_str());
    answerRead = false;

    if (!hasInstalled && !hasCandidate)
      return spirNotFound;
    if (hasInstalled) {
      installedVer.Text = installedValue;
      installedVer.Present = installedValue != PkgNoneVersionText;
    }
    if (hasCandidate) {
      candidateVer.Text = candidateValue;
      candidateVer.Present = candidateValue != PkgNoneVersionText;
    } else {
      candidateVer.Text = PkgNoneVersionText;
      candidateVer.Present = false;
    }
    return spirOK;
  } catch (const std::exception& error) {
    if (answerRead)
      std::remove(answerFile.c_str());
    errorText = error.what();
    return spirError;
  }
}

void TSchm_PackageList::CheckPackage(TSchm_PackageItem& item) {
  // The package counts as checked whatever the outcome, also after an error.
  struct MarkChecked {
    TSchm_PackageItem& item;
    ~MarkChecked() { item.SetChecked(true); }
  } markChecked{item};

  std::string errorText;
  const TSchm_PkgInfoResult result =
      QueryApt(item.Name, item.InstalledVer, item.CandidateVer, errorText);
  if (result == spirNotFound) {
    item.Status = slpsNotFound;
    item.InstalledVer.Text = PkgNoneVersionText;
    item.CandidateVer.Text = PkgNoneVersionText;
    return;
  }
  if (result == spirError)
    throw EGeneral(errorText);

  item.Action = slpaNone;
  if (!item.VersionCheck) {
    if (item.InstalledVer.Present) {
      const bool differs =
          item.CandidateVer.Present && item.CandidateVer.Text != item.InstalledVer.Text;
      item.Status = differs ? slpsDiffer : slpsOK;
    } else if (item.CandidateVer.Present) {
      item.Status = slpsNone;
      item.Action = slpaInstall;
    } else {
      item.Status = slpsNotFound;
    }
    return;
  }

  item.InstalledVer.Parse(item.Subpackage);
  item.CandidateVer.Parse(item.Subpackage);
  if (item.Subpackage) {
    // Check the package of the versioned name (name-major); its results stay in the item.
    SubpackageNameGuard guard(item);
    const int32_t major =
        item.InstalledVer.Present ? item.InstalledVer.Major : item.CandidateVer.Major;
    item.Subpackage = false;
    item.Name = item.Name + "-" + std::to_string(major);
    CheckPackage(item);
    return;
  }

  const TSchm_PackageVerInfo& minimum = item.RequiredVer;
  const TSchm_PackageVerInfo& installed = item.InstalledVer;
  const TSchm_PackageVerInfo& candidate = item.CandidateVer;
  if (installed.Present) {
    if (TSchm_PackageVerInfo::Compare(minimum, installed) < 0) {
      // Installed below the minimum.
      item.Status = TSchm_PackageVerInfo::Compare(candidate, minimum) <= 0 ? slpsMustUpdate
                                                                           : slpsNotSupported;
    } else {
      item.Status =
          TSchm_PackageVerInfo::Compare(installed, candidate) > 0 ? slpsCanUpdate : slpsOK;
    }
  } else if (TSchm_PackageVerInfo::Compare(candidate, minimum) > 0) {
    // A missing candidate counts as version 0.0.
    item.Status = slpsNotSupported;
  } else {
    item.Status = slpsNone;
    item.Action = slpaInstall;
  }
}

void TSchm_PackageList::CheckSelected(TSchm_PackageStatus& summary) {
  for (int32_t i = 0; i < Count(); ++i) {
    TSchm_PackageItem& item = Items(i);
    if (item.Selected && !item.Checked)
      CheckPackage(item);
  }
  summary = Summary();
}

TSchm_PackageStatus TSchm_PackageList::Summary() const {
  TSchm_PackageStatusSet found = 0;
  auto add = [&found](TSchm_PackageStatus status) { found |= 1u << status; };
  for (int32_t i = 0; i < Count(); ++i) {
    const TSchm_PackageItem& item = Items(i);
    if (!item.Selected || !item.Checked)
      continue;
    switch (item.Status) {
    case slpsNotFound:
    case slpsNotSupported:
      add(item.Status);
      break;
    case slpsMustUpdate:
      if (item.Action == slpaNone)
        add(slpsMustUpdate);
      break;
    default:
      add(slpsOK);
      break;
    }
  }
  for (TSchm_PackageStatus status : {slpsNotFound, slpsNotSupported, slpsMustUpdate})
    if (found & (1u << status))
      return status;
  return slpsOK;
}

bool TSchm_PackageList::AnyAction() const {
  for (int32_t i = 0; i < Count(); ++i)
    if (Items(i).Action != slpaNone)
      return true;
  return false;
}
