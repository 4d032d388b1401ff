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

// Resource type of every entry: raw data.
inline constexpr int kRawDataResourceType = 10;

struct TFileResourcesItem {
  int32_t Handle = 0; // 0: not found
  std::string ResName;
  int ResType = 0;
  std::string FileName;
  std::string FilePath; // set by Extract
  bool Required = false;
  bool Found = false;
};
using PFileResourcesItem = TFileResourcesItem*;

class TFileResourcesClass {
public:
  std::string TempDir;

  // Fills the entries from the default table; false with "Resource \"NAME\" not found!" at the
  // first required resource that is missing (the entries after it stay empty).
  bool CheckResources(std::string& errorText);
  void GetItem(TFileResourcesItem& item, TFileResourceType kind) const;
  // A read-only stream over the resource's bytes, read in place; throws when not found.
  std::unique_ptr<std::istream> GetStream(TFileResourceType kind) const;
  // Writes the resource to TempDir/FileName (creating or replacing it) and sets FilePath;
  // throws on failure.
  void Extract(TFileResourceType kind);

private:
  TFileResourcesItem Entries[6];
};

// The one catalogue: none until the main window creates it; freed when the program ends.
extern TFileResourcesClass* FileResources;
void FreeFileResources();
