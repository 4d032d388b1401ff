#pragma once
// Named data blobs linked into the executable by the CMake function sivrant_embed_resources
// (cmake/EmbedResources.cmake). The blobs live in their own allocated ELF section: the kernel maps
// their pages only when they are read, so a large payload does not slow the start, and strip
// keeps them. An executable built without resources simply has none.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace host {

struct EmbeddedResource {
  std::string_view Name; // as stored
  const char* Data = nullptr;
  std::size_t Size = 0;
};

// Number of resources the executable carries.
std::size_t EmbeddedResourceCount();
// 1-based handle of the resource whose name equals name without regard to ASCII letter case;
// 0 when there is none.
int32_t FindEmbeddedResource(std::string_view name);
// The resource of a handle from FindEmbeddedResource; throws EGeneral for an invalid handle.
EmbeddedResource EmbeddedResourceAt(int32_t handle);

// Writes the resource's bytes to path, creating or replacing the file. Copies straight from the
// executable file in the kernel (copy_file_range, else sendfile) at the blob's offset, which is
// as fast as cp; falls back to writing from memory. Throws EGeneral naming the path on failure.
void WriteEmbeddedResourceToFile(const EmbeddedResource& resource, const std::string& path);

} // namespace host
