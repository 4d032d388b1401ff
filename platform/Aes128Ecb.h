#pragma once
// AES-128 (FIPS 197) in ECB mode over whole 16-byte blocks, through OpenSSL's libcrypto with its
// padding switched off: callers pad the data themselves.

#include <string>

#include "Exceptions.h"

namespace platform {

constexpr std::size_t kAesBlockSize = 16;

// key: 16 raw bytes; data: a multiple of 16 bytes. Throws EGeneral on a wrong key or data length
// or a cipher failure.
std::string Aes128EcbEncrypt(const std::string& key, const std::string& data);
std::string Aes128EcbDecrypt(const std::string& key, const std::string& data);

} // namespace platform
