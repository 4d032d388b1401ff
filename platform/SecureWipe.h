#pragma once
// Wiping secrets (the sudo password) from memory so they do not linger in freed buffers.

#include <cstring>
#include <string>

namespace platform {

// Overwrites the string's characters with zeros in a way the compiler may not drop, then empties
// it. Wipe before assigning a new value too: a longer value may move to a new buffer and leave
// the old one to the allocator as it was.
inline void SecureWipe(std::string& secret) {
  if (!secret.empty())
    explicit_bzero(secret.data(), secret.size());
  secret.clear();
}

} // namespace platform
