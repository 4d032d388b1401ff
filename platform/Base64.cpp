#include "Base64.h"

#include <cstdint>
#include <utility>

namespace platform {

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The 6-bit value of a character of the alphabet, or -1.
int SextetOf(char c) {
  if (c >= 'A' && c <= 'Z')
    return c - 'A';
  if (c >= 'a' && c <= 'z')
    return c - 'a' + 26;
  if (c >= '0' && c <= '9')
    return c - '0' + 52;
  if (c == '+')
    return 62;
  if (c == '/')
    return 63;
  return -1;
}

} // namespace

std::string Base64Encode(const std::string& bytes) {
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const uint32_t group = (static_cast<uint8_t>(bytes[i]) << 16) |
                           (static_cast<uint8_t>(bytes[i + 1]) << 8) |
                           static_cast<uint8_t>(bytes[i + 2]);
    text += kAlphabet[(group >> 18) & 63];
    text += kAlphabet[(group >> 12) & 63];
    text += kAlphabet[(group >> 6) & 63];
    text += kAlphabet[group & 63];
  }
  const std::size_t rest = bytes.size() - i;
  if (rest > 0) {
    uint32_t group = static_cast<uint8_t>(bytes[i]) << 16;
    if (rest == 2)
      group |= static_cast<uint8_t>(bytes[i + 1]) << 8;
    text += kAlphabet[(group >> 18) & 63];
    text += kAlphabet[(group >> 12) & 63];
    text += rest == 2 ? kAlphabet[(group >> 6) & 63] : '=';
    text += '=';
  }
  return text;
}

bool Base64Decode(const std::string& text, std::string& bytes) {
  if (text.size() % 4 != 0)
    return false;
  std::string result;
  result.reserve(text.size() / 4 * 3);
  for (std::size_t i = 0; i < text.size(); i += 4) {
    const bool lastGroup = i + 4 == text.size();
    int padding = 0;
    if (lastGroup && text[i + 3] == '=')
      padding = text[i + 2] == '=' ? 2 : 1;
    uint32_t group = 0;
    for (int k = 0; k < 4; ++k) {
      int sextet = 0;
      if (k < 4 - padding) {
        sextet = SextetOf(text[i + k]);
        if (sextet < 0)
          return false;
      }
      group = (group << 6) | static_cast<uint32_t>(sextet);
    }
    result += static_cast<char>((group >> 16) & 0xFF);
    if (padding < 2)
      result += static_cast<char>((group >> 8) & 0xFF);
    if (padding < 1)
      result += static_cast<char>(group & 0xFF);
  }
  bytes = std::move(result);
  return true;
}

} // namespace platform
