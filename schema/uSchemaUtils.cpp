#include "uSchemaUtils.h"

#include <algorithm>

#include "Aes128Ecb.h"
#include "Base64.h"
#include "IniFile.h"

namespace {

// The two cipher keys as raw bytes; selector 2 chooses the first.
const unsigned char kConfigKey[16] = {0x3b, 0x07, 0xd2, 0xe9, 0x6a, 0x4f, 0x10, 0x58,
                                      0xc3, 0xe7, 0x2b, 0x94, 0x6d, 0x0a, 0x5f, 0x81};
const unsigned char kOtherKey[16] = {0x7e, 0x2a, 0x94, 0xc0, 0xd3, 0x58, 0xb1, 0x6f,
                                     0x0a, 0x3c, 0x7d, 0x25, 0xe8, 0x1b, 0x49, 0xf6};

std::string KeyFor(int keySelector) {
  const unsigned char* key = keySelector == 2 ? kConfigKey : kOtherKey;
  return std::string(reinterpret_cast<const char*>(key), 16);
}

} // namespace

bool IsElementNamed(const TXMLNode& node, const std::string& name) {
  return node && !node.IsComment() && node.Name() == name && node.HasAttributes();
}

std::optional<std::string> FindAttribute(const TXMLNode& node, const std::string& name) {
  if (!node || !node.HasAttributes())
    return std::nullopt;
  return node.Attribute(name);
}

bool StrToBoolean(const std::string& text) {
  std::string lower = text;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) {
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  });
  return lower == "true" || lower == "t" || lower == "1";
}

int32_t StrToIntDef(const std::string& text, int32_t defaultValue) {
  int32_t value = 0;
  return platform::TryStrToInt32(text, value) ? value : defaultValue;
}

void ReadTextAttribute(const TXMLNode& node, const char* name, std::string& field) {
  if (auto value = FindAttribute(node, name))
    field = *value;
}

void ReadBooleanAttribute(const TXMLNode& node, const char* name, bool& field) {
  if (auto value = FindAttribute(node, name))
    field = StrToBoolean(*value);
}

void ReadIntegerAttribute(const TXMLNode& node, const char* name, int32_t& field) {
  if (auto value = FindAttribute(node, name))
    field = StrToIntDef(*value, 0);
}

std::string EncryptText(const std::string& plainText, int keySelector) {
  if (plainText.empty())
    return {};
  const std::size_t block = platform::kAesBlockSize;
  const std::size_t whole = plainText.size() / block * block;
  // The final block is always there: the rest, zero bytes, and the rest's length last.
  std::string padded = plainText.substr(0, whole);
  std::string last = plainText.substr(whole);
  const auto restLength = static_cast<char>(last.size());
  last.resize(block, '\0');
  last[block - 1] = restLength;
  padded += last;
  return platform::Base64Encode(platform::Aes128EcbEncrypt(KeyFor(keySelector), padded));
}

std::string DecryptText(const std::string& cipherText, int keySelector) {
  if (cipherText.empty())
    return {};
  try {
    // Only the alphabet's range may appear at all; Base64Decode checks the rest strictly.
    for (char c : cipherText)
      if (c < '+' || c > 'z')
        return {};
    std::string data;
    if (!platform::Base64Decode(cipherText, data))
      return {};
    const std::size_t block = platform::kAesBlockSize;
    const std::size_t blocks = data.size() / block;
    if (blocks == 0)
      return {};
    // A trailing piece shorter than a block is ignored.
    const std::string plain =
        platform::Aes128EcbDecrypt(KeyFor(keySelector), data.substr(0, blocks * block));
    const auto kept = static_cast<unsigned char>(plain.back());
    if (kept > block)
      return {};
    return plain.substr(0, (blocks - 1) * block + kept);
  } catch (...) {
    return {};
  }
}
