#include "Aes128Ecb.h"

#include <memory>

#include <openssl/err.h>
#include <openssl/evp.h>

namespace platform {

namespace {

std::string OpenSslErrorText() {
  const unsigned long code = ERR_get_error();
  if (code == 0)
    return "unknown error";
  char buffer[256];
  ERR_error_string_n(code, buffer, sizeof buffer);
  return buffer;
}

std::string RunCipher(const std::string& key, const std::string& data, bool encrypt) {
  if (key.size() != 16)
    throw EGeneral("AES-128: the key must be 16 bytes, not " + std::to_string(key.size()));
  if (data.size() % kAesBlockSize != 0)
    throw EGeneral("AES-128 ECB: the data length " + std::to_string(data.size()) +
                   " is not a multiple of 16");
  std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> context(EVP_CIPHER_CTX_new(),
                                                                          EVP_CIPHER_CTX_free);
  if (!context)
    throw EGeneral("AES-128: " + OpenSslErrorText());
  const auto* keyBytes = reinterpret_cast<const unsigned char*>(key.data());
  if (EVP_CipherInit_ex(context.get(), EVP_aes_128_ecb(), nullptr, keyBytes, nullptr,
                        encrypt ? 1 : 0) != 1 ||
      EVP_CIPHER_CTX_set_padding(context.get(), 0) != 1)
    throw EGeneral("AES-128: " + OpenSslErrorText());
  std::string result(data.size() + kAesBlockSize, '\0');
  int written = 0;
  int finalWritten = 0;
  auto* out = reinterpret_cast<unsigned char*>(result.data());
  if (EVP_CipherUpdate(context.get(), out, &written,
                       reinterpret_cast<const unsigned char*>(data.data()),
                       static_cast<int>(data.size())) != 1 ||
      EVP_CipherFinal_ex(context.get(), out + written, &finalWritten) != 1)
    throw EGeneral("AES-128: " + OpenSslErrorText());
  result.resize(static_cast<std::size_t>(written + finalWritten));
  return result;
}

} // namespace

std::string Aes128EcbEncrypt(const std::string& key, const std::string& data) {
  return RunCipher(key, data, true);
}

std::string Aes128EcbDecrypt(const std::string& key, const std::string& data) {
  return RunCipher(key, data, false);
}

} // namespace platform
