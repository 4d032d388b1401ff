#include "XmlTextCodec.h"

#include <iconv.h>

#include <array>
#include <cstdio>
#include <unordered_map>

#include "Exceptions.h"

const char* const NarrowCodePage = "WINDOWS-1251";

namespace {

constexpr char16_t kReplacementCharacter = 0xFFFD;
// A byte b that the source encoding cannot decode is kept as the lone surrogate 0xDC00 + b.
constexpr char16_t kEscapedByteFirst = 0xDC80;
constexpr char16_t kEscapedByteLast = 0xDCFF;

bool IsEscapedByte(char16_t unit) {
  return unit >= kEscapedByteFirst && unit <= kEscapedByteLast;
}
char16_t EscapeByte(uint8_t byte) {
  return static_cast<char16_t>(0xDC00 + byte);
}

bool IsHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The length of the UTF-8 sequence starting at bytes[0], or 0 when it is not a valid one
// (overlong forms, surrogates and values above U+10FFFF are not valid).
std::size_t ValidUtf8SequenceLength(const uint8_t* bytes, std::size_t available, char32_t& code) {
  const uint8_t lead = bytes[0];
  std::size_t length = 0;
  uint8_t secondMin = 0x80, secondMax = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0F;
    if (lead == 0xE0)
      secondMin = 0xA0;
    if (lead == 0xED)
      secondMax = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07;
    if (lead == 0xF0)
      secondMin = 0x90;
    if (lead == 0xF4)
      secondMax = 0x8F;
  } else {
    return 0;
  }
  if (available < length)
    return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const uint8_t low = i == 1 ? secondMin : 0x80;
    const uint8_t high = i == 1 ? secondMax : 0xBF;
    if (bytes[i] < low || bytes[i] > high)
      return 0;
    code = (code << 6) | (bytes[i] & 0x3F);
  }
  return length;
}

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// The narrow code page is a single-byte one, so its whole upper half is asked of iconv once,
// byte by byte; both directions then work from these tables.
struct NarrowCodePageTables {
  std::array<char16_t, 256> ToUnicode{};
  std::unordered_map<char16_t, uint8_t> FromUnicode;

  NarrowCodePageTables() {
    iconv_t converter = iconv_open("UCS-2LE", NarrowCodePage);
    if (converter == reinterpret_cast<iconv_t>(-1))
      throw EConvertError(std::string("No converter for the code page ") + NarrowCodePage);
    for (int byte = 0; byte < 256; ++byte) {
      char in[1] = {static_cast<char>(byte)};
      unsigned char out[4] = {};
      char* inPtr = in;
      char* outPtr = reinterpret_cast<char*>(out);
      std::size_t inLeft = 1, outLeft = sizeof out;
      iconv(converter, nullptr, nullptr, nullptr, nullptr);
      const std::size_t done = iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft);
      char16_t unit = EscapeByte(static_cast<uint8_t>(byte));
      if (done != static_cast<std::size_t>(-1) && inLeft == 0 && sizeof out - outLeft == 2)
        unit = static_cast<char16_t>(out[0] | (out[1] << 8));
      ToUnicode[byte] = unit;
      if (!IsEscapedByte(unit))
        FromUnicode.emplace(unit, static_cast<uint8_t>(byte));
    }
    iconv_close(converter);
  }
};

const NarrowCodePageTables& NarrowTables() {
  static const NarrowCodePageTables tables;
  return tables;
}

} // namespace

std::u16string Utf8ToUtf16(const char* utf8, std::size_t length) {
  std::u16string out;
  out.reserve(length);
  const auto* bytes = reinterpret_cast<const uint8_t*>(utf8);
  std::size_t i = 0;
  while (i < length) {
    if (bytes[i] < 0x80) {
      out += static_cast<char16_t>(bytes[i++]);
      continue;
    }
    char32_t code = 0;
    const std::size_t sequence = ValidUtf8SequenceLength(bytes + i, length - i, code);
    if (sequence == 0) {
      out += EscapeByte(bytes[i++]);
      continue;
    }
    i += sequence;
    if (code >= 0x10000) {
      code -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (code >> 10));
      out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
      out += static_cast<char16_t>(code);
    }
  }
  return out;
}

std::u16string Utf8ToUtf16(const std::string& utf8) {
  return Utf8ToUtf16(utf8.data(), utf8.size());
}

std::u16string Utf8ToUtf16(const char* utf8) {
  return utf8 ? Utf8ToUtf16(utf8, std::char_traits<char>::length(utf8)) : std::u16string();
}

std::string Utf16ToUtf8(const char16_t* text, std::size_t length) {
  std::string out;
  out.reserve(length);
  for (std::size_t i = 0; i < length; ++i) {
    const char16_t unit = text[i];
    if (IsHighSurrogate(unit) && i + 1 < length && IsLowSurrogate(text[i + 1])) {
      AppendUtf8(out, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else if (IsEscapedByte(unit)) {
      out += static_cast<char>(unit - 0xDC00);
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      AppendUtf8(out, kReplacementCharacter);
    } else {
      AppendUtf8(out, unit);
    }
  }
  return out;
}

std::string Utf16ToUtf8(const std::u16string& text) {
  return Utf16ToUtf8(text.data(), text.size());
}

std::u16string NarrowToUtf16(const std::string& narrow) {
  const NarrowCodePageTables& tables = NarrowTables();
  std::u16string out;
  out.reserve(narrow.size());
  for (char byte : narrow)
    out += tables.ToUnicode[static_cast<uint8_t>(byte)];
  return out;
}

std::string Utf16ToNarrow(const std::u16string& text, bool strict) {
  const NarrowCodePageTables& tables = NarrowTables();
  std::string out;
  out.reserve(text.size());
  for (char16_t unit : text) {
    if (IsEscapedByte(unit)) {
      out += static_cast<char>(unit - 0xDC00);
      continue;
    }
    const auto found = tables.FromUnicode.find(unit);
    if (found != tables.FromUnicode.end()) {
      out += static_cast<char>(found->second);
      continue;
    }
    if (strict) {
      char code[16];
      std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(unit));
      throw EConvertError(std::string("The character ") + code + " has no code in " +
                          NarrowCodePage);
    }
    out += '?';
  }
  return out;
}

std::string NarrowToUtf8(const std::string& narrow) {
  return Utf16ToUtf8(NarrowToUtf16(narrow));
}

std::u16string DecodeText(const uint8_t* bytes, int32_t count, TTypeChar encoding) {
  if (count <= 0 || bytes == nullptr)
    return {};
  const auto length = static_cast<std::size_t>(count);
  switch (encoding) {
  case tcUnicodeBE:
  case tcUnicodeLE: {
    std::u16string out(length / 2, u'\0');
    for (std::size_t i = 0; i < out.size(); ++i) {
      const uint8_t first = bytes[2 * i], second = bytes[2 * i + 1];
      out[i] = encoding == tcUnicodeBE ? static_cast<char16_t>(first << 8 | second)
                                       : static_cast<char16_t>(second << 8 | first);
    }
    return out;
  }
  case tcUTF8:
    return Utf8ToUtf16(reinterpret_cast<const char*>(bytes), length);
  case tcANSI:
    return NarrowToUtf16(std::string(reinterpret_cast<const char*>(bytes), length));
  }
  return {};
}

std::string DecodeTextNarrow(const uint8_t* bytes, int32_t count, TTypeChar encoding) {
  return Utf16ToNarrow(DecodeText(bytes, count, encoding), false);
}

std::u16string SwapBytes(const std::u16string& text) {
  std::u16string out(text);
  for (char16_t& unit : out)
    unit = static_cast<char16_t>((unit << 8) | (unit >> 8));
  return out;
}

std::string Utf16ToBytes(const std::u16string& text, bool bigEndian) {
  std::string out;
  out.reserve(text.size() * 2);
  for (char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
  }
  return out;
}
