#pragma once
// Catalogue of the data resources embedded in the executable.

#include <cstdint>
#include <istream>
#include <memory>
#include <string>

enum TFileResourceType {
  frtInstallSchema,
  frtLicense,
  frtWellcome,
  frtFixList,
  frtData_Source,
  frtARM_Source
};

struct TFileResourcesItem {
  int32_t Handle = 0;
  std::string ResName;
  int ResType = 0;
  std::string FileName;
  std::string FilePath;
  bool Required = false;
  bool Found = false;
};
using PFileResourcesItem = TFileResourcesItem*;

class TFileResourcesClass {
public:
  std::string TempDir;

  bool CheckResources(std::string& errorText);
  void GetItem(TFileResourcesItem& item, TFileResourceType kind) const;
  // A read-only stream over the resource's bytes, read in place; throws when not found.
  std::unique_ptr<std::istream> GetStream(TFileResourceType kind) const;
  // Writes the resource to TempDir/FileName and sets FilePath; throws on failure.
  void Extract(TFileResourceType kind);

private:
  TFileResourcesItem Entries[6];
};

extern TFileResourcesClass* FileResources;
