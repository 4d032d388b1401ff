#pragma once
// The install schema of one run: the object model loaded from the embedded XML schema for the
// running host, the run's operation modes, the target user and the user of an earlier
// installation, selection presets and snapshot, the installed configuration and the package
// record.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "IniFile.h"
#include "uBaseSchemaClasses.h"
#include "uPackageClasses.h"
#include "uSchemaCopyFileClasses.h"
#include "uSchemaSettingsClass.h"
#include "u_self_resource.h"

using TIniFile = platform::TIniFile;
using TXMLDocument = platform::XmlDocument;
using TBoolArray = std::vector<bool>;

// The Windows application's install script: start command, commands, end command.
class TSchm_CustomScriptClass {
public:
  TSchm_InstallCommand StartCmd;     // "start_cmd" of "arm_install"
  TSchm_InstallCommand EndCmd;       // "end_cmd"
  TSchm_InstallCommandList Commands; // "arm_install" itself and its "command" children

  void Clear();
  std::string GetArmPath() const { return Commands.ArmPath; }
};

// A snapshot of the selections (memory only); empty arrays mean that none was taken.
struct TSchm_SimplePresetItem {
  TBoolArray PackagesSelected;
  bool PTraceSelected = false;
  bool FontSmoothSelected = false;
  bool WineAssocOnSelected = false;
  bool WineAutoStartSelected = false;
  bool CreateLinksSelected = false;
  TBoolArray LinksSelected;
};

enum TSchm_DataPresetType : int32_t { sdptDefault, sdptUpdate, sdptOther };

// Fixed paths of the installed configuration and the package record.
extern const char* const InstalledConfigPath; // "/etc/Kavex/Sivrant/Sivrant.conf"
extern const char* const PackageRecordPath;   // "/etc/Kavex/package.info"

class TInstallCustomSchemaClass {
public:
  TSchm_SimplePresetItem SavedState;
  std::unique_ptr<TSchm_PackageList> Packages;
  std::string TempDir;
  TLNX_OS_Type OSType = lotUnknown;
  bool Loaded = false; // the last load found a package and an "arm_install" section
  TSchm_InstallOperationModeSet Mode = ModeBit(iomNew);
  std::unique_ptr<TInstall_UserInfo> UserInfo;          // the target user
  std::unique_ptr<TInstall_UserInfo> InstalledUserInfo; // the user of the earlier installation
  std::unique_ptr<TSchm_CustomSystemSettings> System;
  std::unique_ptr<TSchm_CustomUserSettings> User;
  std::unique_ptr<TSchm_InstallfileList> CopyFiles;
  std::unique_ptr<TSchm_CustomScriptClass> Script;
  bool RebootAfter = false;
  // Where the package record lives; tests point it elsewhere.
  std::string PackageRecordFile = PackageRecordPath;

  // Builds an empty schema; the package list writes its apt query script into tempDir.
  TInstallCustomSchemaClass(TLNX_OS_Type osType, const std::string& tempDir);
  virtual ~TInstallCustomSchemaClass();
  TInstallCustomSchemaClass(const TInstallCustomSchemaClass&) = delete;
  TInstallCustomSchemaClass& operator=(const TInstallCustomSchemaClass&) = delete;

  // Loads the schema from an embedded resource of the catalogue; returns Loaded.
  bool LoadSchemaFromResource(TFileResourceType kind);
  // Raises EGeneral "Choised OS not supported!" or "Unknown file format!".
  virtual void LoadFromDocument(const TXMLDocument& document);

  void ApplyPreset(TSchm_DataPresetType Preset, int64_t Arg);
  virtual void ResetDefaults(int64_t Arg);
  virtual void RestoreSaved(int64_t Arg);
  virtual void ApplyOtherPreset(int64_t) {}
  virtual void SaveState();
  virtual void Clear();
  void SetPackagesOnChange(TSchm_NotifyEvent handler);

  // Installed configuration and package record.
  bool ReadInstalledConfig(const std::string& path);
  void SaveConfig(const std::string& path);
  void ReadPackageInfo();
  bool WritePackageInfo(std::string& errorText);
  std::string InstalledWineVersion() const;

  // The selection record that SaveConfig encrypts into "data".
  std::string SelectionRecord() const;

protected:
  virtual void CreateSystem();
  virtual void CreateUser();
  virtual bool LoadOSSection(const TXMLNode& node);
  virtual void LoadSettings(const TXMLNode& node);
  virtual void LoadSystem(const TXMLNode& node);
  virtual void LoadUser(const TXMLNode& node);
  virtual void WritePTrace(TIniFile* writer);
  virtual void WriteFontSmooth(TIniFile* writer);
  virtual void SaveConfigHook1(TIniFile*) {}
  virtual void SaveConfigHook2(TIniFile*) {}
  virtual bool ReadConfig(TIniFile* reader);
  virtual void ReadPTrace(TIniFile* reader);
  virtual void ReadFontSmooth(TIniFile* reader);

  bool LoadPackages(const TXMLNode& node);
  void LoadPackageConfigs(TSchm_PackageItem& item, const TXMLNode& node);
  void LoadScriptCommand(const TXMLNode& node, TSchm_InstallCommand& command,
                         const std::string& name);
};
