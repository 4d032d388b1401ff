#include "EmbeddedResources.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <link.h>
#include <sys/sendfile.h>
#include <system_error>
#include <unistd.h>
#include <vector>

#include "Exceptions.h"

// The table written by the generated assembly of sivrant_embed_resources. Weak: an executable
// without resources links as well and sees none.
extern "C" {
struct SivrantResourceEntry {
  const char* name;
  const char* data;
  uint64_t size;
};
extern const uint64_t sivrant_resource_count __attribute__((weak));
extern const SivrantResourceEntry sivrant_resource_entries[] __attribute__((weak));
}

namespace host {

namespace {

std::string ErrorText(int error) {
  return std::error_code(error, std::generic_category()).message();
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

// Where in the executable file the bytes at [address, address + size) are stored.
struct FileOffsetSearch {
  uintptr_t address;
  std::size_t size;
  off_t offset = -1;
};

int FindFileOffset(dl_phdr_info* info, std::size_t, void* data) {
  auto* search = static_cast<FileOffsetSearch*>(data);
  for (int i = 0; i < info->dlpi_phnum; ++i) {
    const ElfW(Phdr)& segment = info->dlpi_phdr[i];
    if (segment.p_type != PT_LOAD)
      continue;
    uintptr_t start = info->dlpi_addr + segment.p_vaddr;
    if (search->address >= start && search->address + search->size <= start + segment.p_filesz) {
      search->offset = static_cast<off_t>(segment.p_offset + (search->address - start));
      return 1;
    }
  }
  return 0;
}

off_t FileOffsetOf(const EmbeddedResource& resource) {
  FileOffsetSearch search{reinterpret_cast<uintptr_t>(resource.Data), resource.Size};
  dl_iterate_phdr(FindFileOffset, &search);
  return search.offset;
}

// The executable file really holds the blob at offset (guards against a replaced executable or
// a blob that is not in the main program).
bool FileHoldsBlobAt(int exe, off_t offset, const EmbeddedResource& resource) {
  std::size_t probe = std::min<std::size_t>(resource.Size, 4096);
  std::vector<char> head(probe);
  if (::pread(exe, head.data(), probe, offset) != static_cast<ssize_t>(probe))
    return false;
  if (std::memcmp(head.data(), resource.Data, probe) != 0)
    return false;
  if (resource.Size > probe) {
    char last = 0;
    off_t lastOffset = offset + static_cast<off_t>(resource.Size - 1);
    if (::pread(exe, &last, 1, lastOffset) != 1 || last != resource.Data[resource.Size - 1])
      return false;
  }
  return true;
}

void WriteAll(int fd, const char* data, std::size_t size, const std::string& path) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, std::min<std::size_t>(size, 1 << 20));
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0)
      throw EGeneral("Cannot write file \"" + path + "\": " + ErrorText(errno));
    data += n;
    size -= static_cast<std::size_t>(n);
  }
}

// Copies size bytes from exe at offset to out inside the kernel. False when neither way is
// supported here (nothing written then); throws on a real write error.
bool CopyInKernel(int exe, off_t offset, int out, std::size_t size, const std::string& path) {
  std::size_t left = size;
  bool useSendfile = false;
  while (left > 0) {
    ssize_t n;
    if (!useSendfile) {
      off_t in = offset + static_cast<off_t>(size - left);
      n = ::copy_file_range(exe, &in, out, nullptr, left, 0);
    } else {
      off_t in = offset + static_cast<off_t>(size - left);
      n = ::sendfile(out, exe, &in, std::min<std::size_t>(left, 1 << 30));
    }
    if (n > 0) {
      left -= static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR)
      continue;
    const int error = n < 0 ? errno : EIO;
    const bool nothingWritten = left == size;
    const bool unsupported = error == EXDEV || error == EINVAL || error == ENOSYS ||
                             error == EOPNOTSUPP || error == EBADF || error == EIO;
    if (nothingWritten && unsupported) {
      if (!useSendfile) {
        useSendfile = true;
        continue;
      }
      return false;
    }
    throw EGeneral("Cannot write file \"" + path + "\": " + ErrorText(error));
  }
  return true;
}

} // namespace

std::size_t EmbeddedResourceCount() {
  return &sivrant_resource_count != nullptr ? static_cast<std::size_t>(sivrant_resource_count) : 0;
}

int32_t FindEmbeddedResource(std::string_view name) {
  const std::size_t count = EmbeddedResourceCount();
  for (std::size_t i = 0; i < count; ++i)
    if (SameNameIgnoringCase(sivrant_resource_entries[i].name, name))
      return static_cast<int32_t>(i + 1);
  return 0;
}

EmbeddedResource EmbeddedResourceAt(int32_t handle) {
  if (handle < 1 || static_cast<std::size_t>(handle) > EmbeddedResourceCount())
    throw EGeneral("Invalid resource handle " + std::to_string(handle));
  const SivrantResourceEntry& entry = sivrant_resource_entries[handle - 1];
  return EmbeddedResource{entry.name, entry.data, static_cast<std::size_t>(entry.size)};
}

void WriteEmbeddedResourceToFile(const EmbeddedResource& resource, const std::string& path) {
  int out = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (out < 0)
    throw EGeneral("Cannot write file \"" + path + "\": " + ErrorText(errno));
  try {
    bool copied = false;
    const off_t offset = FileOffsetOf(resource);
    int exe = offset >= 0 ? ::open("/proc/self/exe", O_RDONLY | O_CLOEXEC) : -1;
    if (exe >= 0) {
      try {
        if (FileHoldsBlobAt(exe, offset, resource))
          copied = CopyInKernel(exe, offset, out, resource.Size, path);
      } catch (...) {
        ::close(exe);
        throw;
      }
      ::close(exe);
    }
    if (!copied)
      WriteAll(out, resource.Data, resource.Size, path);
  } catch (...) {
    ::close(out);
    throw;
  }
  if (::close(out) != 0)
    throw EGeneral("Cannot write file \"" + path + "\": " + ErrorText(errno));
}

} // namespace host
