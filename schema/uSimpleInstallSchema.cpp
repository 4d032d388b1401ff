#include "uSimpleInstallSchema.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <pwd.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "Exceptions.h"

const char* const InstalledConfigPath = "/etc/Kavex/Sivrant/Sivrant.conf";
const char* const PackageRecordPath = "/etc/Kavex/package.info";

namespace {

const char* const kSettingsSection = "SETTINGS";
const char* const kPackagesSection = "PACKAGES";
const int kConfigKeySelector = 2;

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

void RemoveIfExists(const std::string& path) {
  if (IsRegularFile(path))
    std::remove(path.c_str());
}

// Copies a text file line by line; every line end becomes a line feed.
void CopyTextFileLines(const std::string& source, const std::string& destination) {
  std::ifstream in(source, std::ios::binary);
  if (!in)
    throw EGeneral("Cannot open file \"" + source + "\": " + std::strerror(errno));
  std::ofstream out(destination, std::ios::binary | std::ios::trunc);
  if (!out)
    throw EGeneral("Cannot create file \"" + destination + "\": " + std::strerror(errno));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    out << line << '\n';
  }
  if (in.bad())
    throw EGeneral("Cannot read file \"" + source + "\"");
  out.close();
  if (!out)
    throw EGeneral("Cannot write file \"" + destination + "\"");
}

std::vector<std::string> SplitText(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream stream(text);
  while (std::getline(stream, part, separator))
    parts.push_back(part);
  return parts;
}

bool Contains(const std::vector<std::string>& parts, const std::string& wanted) {
  for (const auto& part : parts)
    if (part == wanted)
      return true;
  return false;
}

// The value of the first "name=value" line of that name, if any.
bool FindNamedLine(const std::string& text, const std::string& name, std::string& value) {
  for (const auto& line : SplitText(text, '\n')) {
    const auto equals = line.find('=');
    if (equals != std::string::npos && line.substr(0, equals) == name) {
      value = line.substr(equals + 1);
      return true;
    }
  }
  return false;
}

// The user the wizard runs as, who edits the working copy of the package record.
std::string EffectiveUserName() {
  if (const passwd* entry = getpwuid(geteuid()))
    return entry->pw_name;
  return std::to_string(geteuid());
}

} // namespace

// ---- TSchm_CustomScriptClass -------------------------------------------------------------------

void TSchm_CustomScriptClass::Clear() {
  StartCmd.Clear();
  Commands.Clear();
  EndCmd.Clear();
}

// ---- Construction and loading ------------------------------------------------------------------

TInstallCustomSchemaClass::TInstallCustomSchemaClass(TLNX_OS_Type osType,
                                                     const std::string& tempDir)
    : TempDir(tempDir), OSType(osType) {
  Packages = std::make_unique<TSchm_PackageList>(OSType, TempDir);
  UserInfo = std::make_unique<TInstall_UserInfo>();
  InstalledUserInfo = std::make_unique<TInstall_UserInfo>();
  // Called during construction: these run as this class's own, which no class overrides.
  CreateSystem();
  CreateUser();
  CopyFiles = std::make_unique<TSchm_InstallfileList>();
  Script = std::make_unique<TSchm_CustomScriptClass>();
  Mode = ModeBit(iomNew);
  Loaded = false;
  RebootAfter = false;
}

TInstallCustomSchemaClass::~TInstallCustomSchemaClass() = default;

void TInstallCustomSchemaClass::CreateSystem() {
  System = std::make_unique<TSchm_CustomSystemSettings>();
}

void TInstallCustomSchemaClass::CreateUser() {
  User = std::make_unique<TSchm_CustomUserSettings>();
}

bool TInstallCustomSchemaClass::LoadSchemaFromResource(TFileResourceType kind) {
  if (!FileResources)
    throw EGeneral("The resource catalogue is not created");
  std::unique_ptr<std::istream> stream = FileResources->GetStream(kind);
  const std::string bytes{std::istreambuf_iterator<char>(*stream),
                          std::istreambuf_iterator<char>()};
  stream.reset();
  const auto document = TXMLDocument::Parse(bytes, "instschema.xml");
  LoadFromDocument(*document);
  return Loaded;
}

void TInstallCustomSchemaClass::LoadFromDocument(const TXMLDocument& document) {
  Clear();
  if (OSType == lotUnknown)
    throw EGeneral("Choised OS not supported!");
  const TXMLNode root = document.DocumentElement();
  if (!root || root.Name() != "install_schema")
    throw EGeneral("Unknown file format!");

  const std::string sectionName = OSSectionNames[OSType];
  TXMLNode packages;
  TXMLNode section;
  for (TXMLNode child = root.FirstChild(); child; child = child.NextSibling()) {
    if (!child.IsElement())
      continue;
    const std::string name = child.Name();
    if (!packages && name == "packages")
      packages = child;
    else if (!section && name == sectionName)
      section = child;
  }
  if (!packages || !section)
    throw EGeneral("Unknown file format!");

  Loaded = LoadPackages(packages) ? LoadOSSection(section) : false;
}

bool TInstallCustomSchemaClass::LoadPackages(const TXMLNode& node) {
  Packages->LoadFromXML(node);
  for (TXMLNode child = node.FirstChild(); child; child = child.NextSibling()) {
    if (!IsElementNamed(child, "package"))
      continue;
    if (auto name = FindAttribute(child, "name")) {
      TSchm_PackageItem& item = Packages->Add();
      item.Name = *name;
      item.LoadFromXML(child);
      if (item.VersionCheck)
        item.RequiredVer.Text =
            std::to_string(item.RequiredVer.Major) + "." + std::to_string(item.RequiredVer.Minor);
      if (child.HasChildNodes())
        LoadPackageConfigs(item, child);
    }
    Packages->Visible = true;
  }
  return Packages->Count() > 0;
}

void TInstallCustomSchemaClass::LoadPackageConfigs(TSchm_PackageItem& item, const TXMLNode& node) {
  for (TXMLNode child = node.FirstChild(); child; child = child.NextSibling())
    if (IsElementNamed(child, "config"))
      item.Configs.Add().LoadFromXML(child);
}

bool TInstallCustomSchemaClass::LoadOSSection(const TXMLNode& node) {
  bool result = false;
  for (TXMLNode child = node.FirstChild(); child; child = child.NextSibling()) {
    if (child.IsComment())
      continue;
    const std::string name = child.Name();
    if (name == "settings") {
      LoadSettings(child);
    } else if (name == "copyfiles") {
      CopyFiles->LoadItems(child);
    } else if (name == "arm_install") {
      LoadScriptCommand(child, Script->StartCmd, "start_cmd");
      Script->Commands.LoadItems(child);
      LoadScriptCommand(child, Script->EndCmd, "end_cmd");
      result = true;
    }
  }
  return result;
}

void TInstallCustomSchemaClass::LoadScriptCommand(const TXMLNode& node,
                                                  TSchm_InstallCommand& command,
                                                  const std::string& name) {
  for (TXMLNode child = node.FirstChild(); child; child = child.NextSibling()) {
    if (!child.IsComment() && child.Name() == name) {
      command.LoadFromXML(child);
      return;
    }
  }
}

void TInstallCustomSchemaClass::LoadSettings(const TXMLNode& node) {
  for (TXMLNode child = node.FirstChild(); child; child = child.NextSibling()) {
    if (child.IsComment())
      continue;
    const std::string name = child.Name();
    if (name == "system")
      LoadSystem(child);
    else if (name == "user")
      LoadUser(child);
  }
}

void TInstallCustomSchemaClass::LoadSystem(const TXMLNode& node) {
  System->LoadFromXML(node);
  for (TXMLNode child = node.FirstChild(); child; child = child.NextSibling()) {
    if (child.IsComment() || child.Name() != "ptrace_off")
      continue;
    System->PTraceOff.LoadFromXML(child);
    System->PTraceOff.Visible = true;
    System->Visible = true;
  }
}

void TInstallCustomSchemaClass::LoadUser(const TXMLNode& node) {
  User->LoadFromXML(node);
  for (TXMLNode child = node.FirstChild(); child; child = child.NextSibling()) {
    if (child.IsComment())
      continue;
    const std::string name = child.Name();
    TSchm_CustomSettingsElement* option = nullptr;
    if (name == "wine_assoc_on")
      option = &User->WineAssocOn;
    else if (name == "wine_auto_start")
      option = &User->WineAutoStart;
    else if (name == "create_links")
      option = &User->CreateLinks;
    else if (name == "font_smooth")
      option = &User->FontSmooth;
    else if (name == "wine_decorated")
      option = &User->WineDecorated;
    if (!option)
      continue;
    option->LoadFull(child);
    User->Visible = true;
  }
}

// ---- Presets and the selection snapshot --------------------------------------------------------

void TInstallCustomSchemaClass::ApplyPreset(TSchm_DataPresetType Preset, int64_t Arg) {
  switch (Preset) {
  case sdptDefault:
    ResetDefaults(Arg);
    break;
  case sdptUpdate:
    RestoreSaved(Arg);
    break;
  case sdptOther:
    ApplyOtherPreset(Arg);
    break;
  }
}

void TInstallCustomSchemaClass::ResetDefaults(int64_t) {
  Packages->ResetToDefault();
  System->ResetToDefault();
  User->ResetToDefault();
}

void TInstallCustomSchemaClass::SaveState() {
  SavedState.PackagesSelected.clear();
  for (int32_t i = 0; i < Packages->Count(); ++i)
    SavedState.PackagesSelected.push_back(Packages->Items(i).Selected);
  SavedState.PTraceSelected = System->PTraceOff.IsActive();
  SavedState.FontSmoothSelected = User->FontSmooth.IsActive();
  SavedState.WineAssocOnSelected = User->WineAssocOn.IsActive();
  SavedState.WineAutoStartSelected = User->WineAutoStart.IsActive();
  SavedState.CreateLinksSelected = User->CreateLinks.IsActive();
  SavedState.LinksSelected.clear();
  const TSchm_LinkList& links = User->CreateLinks.Links;
  for (int32_t i = 0; i < links.Count(); ++i)
    SavedState.LinksSelected.push_back(links.Items(i).IsActive() && SavedState.CreateLinksSelected);
}

void TInstallCustomSchemaClass::RestoreSaved(int64_t Arg) {
  if (Arg != 1)
    return;
  if (static_cast<int64_t>(SavedState.PackagesSelected.size()) == Packages->Count()) {
    for (int32_t i = 0; i < Packages->Count(); ++i)
      Packages->Items(i).SetSelected(SavedState.PackagesSelected[static_cast<std::size_t>(i)]);
  } else {
    Packages->ResetToDefault();
  }
  System->PTraceOff.SetSelected(SavedState.PTraceSelected);
  User->FontSmooth.SetSelected(SavedState.FontSmoothSelected);
  User->WineAssocOn.SetSelected(SavedState.WineAssocOnSelected);
  User->WineAutoStart.SetSelected(SavedState.WineAutoStartSelected);
  User->CreateLinks.SetSelected(SavedState.CreateLinksSelected);

  TSchm_LinkList& links = User->CreateLinks.Links;
  if (static_cast<int64_t>(SavedState.LinksSelected.size()) == links.Count()) {
    const bool linksActive = User->CreateLinks.IsActive();
    for (int32_t i = 0; i < links.Count(); ++i)
      links.Items(i).Selected =
          SavedState.LinksSelected[static_cast<std::size_t>(i)] && linksActive;
  } else {
    links.ResetToDefault();
  }
}

void TInstallCustomSchemaClass::Clear() {
  CopyFiles->Clear();
  Script->Clear();
  Packages->Clear();
  System->Clear();
  User->Clear();
}

void TInstallCustomSchemaClass::SetPackagesOnChange(TSchm_NotifyEvent handler) {
  Packages->SetOnChange(std::move(handler));
}

// ---- Installed configuration -------------------------------------------------------------------

std::string TInstallCustomSchemaClass::SelectionRecord() const {
  std::string record = "pkg=";
  for (int32_t i = 0; i < Packages->Count(); ++i) {
    const TSchm_PackageItem& item = Packages->Items(i);
    if (item.Selected || item.Required)
      record += std::to_string(i) + ";";
  }
  record += "\nlink=";
  const TSchm_SettingsElementLink& createLinks = User->CreateLinks;
  if (createLinks.Selected)
    for (int32_t i = 0; i < createLinks.Links.Count(); ++i)
      if (createLinks.Links.Items(i).IsActive())
        record += std::to_string(i) + ";";
  record += "\n";
  return record;
}

void TInstallCustomSchemaClass::SaveConfig(const std::string& path) {
  if (IsRegularFile(path) && std::remove(path.c_str()) != 0)
    throw EGeneral("Cannot delete file \"" + path + "\": " + std::strerror(errno));
  TIniFile writer(path);
  writer.WriteInteger(kSettingsSection, "Mode", ModeSetHas(Mode, iomNew) ? 0 : 1);
  writer.WriteInteger(kSettingsSection, "type_mode", static_cast<int32_t>(OSType));
  writer.WriteString(kSettingsSection, "username", UserInfo->UserName);
  writer.WriteString(kSettingsSection, "uhome", UserInfo->Home);
  writer.WriteString(kSettingsSection, "arm_path", UserInfo->ArmPath);
  WritePTrace(&writer);
  WriteFontSmooth(&writer);
  writer.WriteBool(kSettingsSection, "wine_assoc_on", User->WineAssocOn.IsActive());
  writer.WriteBool(kSettingsSection, "wine_auto_start", User->WineAutoStart.IsActive());
  writer.WriteBool(kSettingsSection, "create_links", User->CreateLinks.IsActive());
  writer.WriteString(kSettingsSection, "data", EncryptText(SelectionRecord(), kConfigKeySelector));
  SaveConfigHook1(&writer);
  SaveConfigHook2(&writer);
}

void TInstallCustomSchemaClass::WritePTrace(TIniFile* writer) {
  if (!writer)
    return;
  const TSchm_CustomSettingsElement& option = System->PTraceOff;
  writer->WriteBool(kSettingsSection, "PTrace", option.Visible ? option.Selected : true);
}

void TInstallCustomSchemaClass::WriteFontSmooth(TIniFile* writer) {
  if (!writer)
    return;
  const TSchm_SettingsElement& option = User->FontSmooth;
  writer->WriteBool(kSettingsSection, "font_smooth", option.Visible ? option.Selected : true);
}

bool TInstallCustomSchemaClass::ReadInstalledConfig(const std::string& path) {
  if (!IsRegularFile(path))
    return false;
  const std::string copy = TempDir + "/.Sivrant.cfg";
  bool result = false;
  try {
    CopyTextFileLines(path, copy);
    TIniFile reader(copy);
    result = ReadConfig(&reader);
    Mode = result ? ModeBit(iomUpdate) : ModeBit(iomNew);
  } catch (...) {
    RemoveIfExists(copy);
    throw;
  }
  RemoveIfExists(copy);
  return result;
}

void TInstallCustomSchemaClass::ReadPTrace(TIniFile* reader) {
  TSchm_CustomSettingsElement& option = System->PTraceOff;
  option.SetSelected(reader->ReadBool(kSettingsSection, "PTrace", option.DefaultSelected));
}

void TInstallCustomSchemaClass::ReadFontSmooth(TIniFile* reader) {
  TSchm_SettingsElement& option = User->FontSmooth;
  option.SetSelected(reader->ReadBool(kSettingsSection, "font_smooth", option.DefaultSelected));
}

bool TInstallCustomSchemaClass::ReadConfig(TIniFile* reader) {
  try {
    if (!reader || !reader->ValueExists(kSettingsSection, "type_mode"))
      return false;
    const int32_t typeMode = reader->ReadInteger(kSettingsSection, "type_mode", 0);
    if (typeMode < 0 || typeMode > 2 || typeMode != static_cast<int32_t>(OSType))
      return false;
    InstalledUserInfo->UserName = reader->ReadString(kSettingsSection, "username", "");
    InstalledUserInfo->Home = reader->ReadString(kSettingsSection, "uhome", "");
    InstalledUserInfo->ArmPath = reader->ReadString(kSettingsSection, "arm_path", "");
    ReadPTrace(reader);
    ReadFontSmooth(reader);
    const struct {
      const char* key;
      TSchm_CustomSettingsElement* option;
    } userOptions[] = {{"wine_assoc_on", &User->WineAssocOn},
                       {"wine_auto_start", &User->WineAutoStart},
                       {"create_links", &User->CreateLinks}};
    for (const auto& entry : userOptions)
      entry.option->SetSelected(
          reader->ReadBool(kSettingsSection, entry.key, entry.option->DefaultSelected));

    const std::string plain =
        DecryptText(reader->ReadString(kSettingsSection, "data", ""), kConfigKeySelector);
    if (plain.empty())
      return false;

    std::string value;
    if (FindNamedLine(plain, "pkg", value)) {
      const auto parts = SplitText(value, ';');
      for (int32_t i = 0; i < Packages->Count(); ++i)
        Packages->Items(i).SetSelected(Contains(parts, std::to_string(i)));
    }
    if (FindNamedLine(plain, "link", value)) {
      const auto parts = SplitText(value, ';');
      TSchm_LinkList& links = User->CreateLinks.Links;
      const bool linksChosen = User->CreateLinks.Selected;
      for (int32_t i = 0; i < links.Count(); ++i) {
        TSchm_LinkItem& link = links.Items(i);
        link.Selected = Contains(parts, std::to_string(i)) && link.Visible && linksChosen;
      }
    }
    SaveState();
    return true;
  } catch (...) {
    return false;
  }
}

// ---- Package record ----------------------------------------------------------------------------

void TInstallCustomSchemaClass::ReadPackageInfo() {
  if (!IsRegularFile(PackageRecordFile))
    return;
  try {
    TIniFile reader(PackageRecordFile);
    for (int32_t i = 0; i < Packages->Count(); ++i) {
      TSchm_PackageItem& item = Packages->Items(i);
      item.RecordedVersion = reader.ReadString(kPackagesSection, item.Name, "");
    }
  } catch (const EGeneral&) {
    // An unreadable record counts as none: the versions stay unknown.
  }
}

std::string TInstallCustomSchemaClass::InstalledWineVersion() const {
  TSchm_PackageItem* wine = nullptr;
  return Packages->FindByName("wine", wine) ? wine->RecordedVersion : std::string();
}

bool TInstallCustomSchemaClass::WritePackageInfo(std::string& errorText) {
  errorText.clear();
  try {
    if (!CommandExecuter)
      throw EGeneral("The command executer is not created");
    TLNX_CommandExecuter& executer = *CommandExecuter;
    const std::string workingCopy = TempDir + "/package.info";
    errorText.clear();
    if (executer.FileExistsEx(PackageRecordFile, errorText, true)) {
      errorText.clear();
      if (!executer.CopyPath(PackageRecordFile, workingCopy, errorText, true))
        return false;
      // The copy belongs to root; hand it to the wizard's user instead of opening it to all.
      errorText.clear();
      if (!executer.Chown(workingCopy, EffectiveUserName(), "", errorText, false))
        return false;
    }
    {
      TIniFile writer(workingCopy);
      for (int32_t i = 0; i < Packages->Count(); ++i) {
        const TSchm_PackageItem& item = Packages->Items(i);
        writer.WriteString(kPackagesSection, item.Name, item.VersionText());
      }
    }
    errorText.clear();
    if (!executer.CopyPath(workingCopy, PackageRecordFile, errorText, true))
      return false;
    errorText.clear();
    return executer.ChownRoot(PackageRecordFile, errorText);
  } catch (const std::exception& error) {
    errorText = error.what();
    return false;
  }
}
