#include "u_self_resource.h"

#include "EmbeddedResources.h"
#include "Exceptions.h"

TFileResourcesClass* FileResources = nullptr;

namespace {

struct DefaultEntry {
  const char* ResName;
  const char* FileName;
  bool Required;
};

// Indexed by TFileResourceType.
const DefaultEntry kDefaultTable[6] = {
    {"INSTALL_SCHEMA", "instschema.xml", true}, {"LICENSE_RTF", "license.rtf", true},
    {"WELLCOME_TXT", "wellcome.txt", true},     {"FIXLIST_TXT", "fixlist.txt", false},
    {"DATA_SOURCE", "source.zip", true},        {"ARM_Source", "_install.exe", true},
};

struct ModuleFinaliser {
  ~ModuleFinaliser() { FreeFileResources(); }
} moduleFinaliser;

// A seekable read-only stream buffer over bytes that stay where they are.
class InPlaceStreamBuf : public std::streambuf {
public:
  InPlaceStreamBuf(const char* data, std::size_t size) {
    char* begin = const_cast<char*>(data); // never written: the buffer has no put area
    setg(begin, begin, begin + size);
  }

protected:
  pos_type seekoff(off_type offset, std::ios_base::seekdir direction,
                   std::ios_base::openmode which) override {
    if (!(which & std::ios_base::in))
      return pos_type(off_type(-1));
    off_type base = direction == std::ios_base::beg   ? 0
                    : direction == std::ios_base::cur ? gptr() - eback()
                                                      : egptr() - eback();
    off_type target = base + offset;
    if (target < 0 || target > egptr() - eback())
      return pos_type(off_type(-1));
    setg(eback(), eback() + target, egptr());
    return pos_type(target);
  }
  pos_type seekpos(pos_type position, std::ios_base::openmode which) override {
    return seekoff(off_type(position), std::ios_base::beg, which);
  }
  std::streamsize showmanyc() override { return egptr() - gptr(); }
};

class InPlaceStream : public std::istream {
public:
  InPlaceStream(const char* data, std::size_t size) : std::istream(nullptr), buffer_(data, size) {
    rdbuf(&buffer_);
  }

private:
  InPlaceStreamBuf buffer_;
};

host::EmbeddedResource OpenResource(TFileResourceType kind) {
  const char* name = kDefaultTable[kind].ResName;
  int32_t handle = host::FindEmbeddedResource(name);
  if (handle == 0)
    throw EGeneral(std::string("Resource \"") + name + "\" not found!");
  return host::EmbeddedResourceAt(handle);
}

} // namespace

bool TFileResourcesClass::CheckResources(std::string& errorText) {
  errorText.clear();
  for (TFileResourcesItem& entry : Entries)
    entry = TFileResourcesItem{};
  for (int kind = frtInstallSchema; kind <= frtARM_Source; ++kind) {
    TFileResourcesItem& entry = Entries[kind];
    entry.ResName = kDefaultTable[kind].ResName;
    entry.ResType = kRawDataResourceType;
    entry.FileName = kDefaultTable[kind].FileName;
    entry.Required = kDefaultTable[kind].Required;
    entry.Handle = host::FindEmbeddedResource(entry.ResName);
    if (entry.Handle == 0 && entry.Required) {
      errorText = "Resource \"" + entry.ResName + "\" not found!";
      return false;
    }
    entry.Found = entry.Handle > 0;
  }
  return true;
}

void TFileResourcesClass::GetItem(TFileResourcesItem& item, TFileResourceType kind) const {
  item = Entries[kind];
}

std::unique_ptr<std::istream> TFileResourcesClass::GetStream(TFileResourceType kind) const {
  host::EmbeddedResource resource = OpenResource(kind);
  return std::make_unique<InPlaceStream>(resource.Data, resource.Size);
}

void TFileResourcesClass::Extract(TFileResourceType kind) {
  host::EmbeddedResource resource = OpenResource(kind);
  const std::string path = TempDir + "/" + kDefaultTable[kind].FileName;
  host::WriteEmbeddedResourceToFile(resource, path);
  Entries[kind].FilePath = path;
}

void FreeFileResources() {
  delete FileResources;
  FileResources = nullptr;
}
