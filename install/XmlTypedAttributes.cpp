// Typed and binary accessors of TheXmlNode's attribute values.

#include <charconv>
#include <cstdio>

#include "Exceptions.h"
#include "XmlWriter.h"

namespace {

// The whole text must be the number; a leading + is allowed as well as a -.
const char* SkipPlusSign(const std::string& text) {
  const char* first = text.data();
  if (text.size() > 1 && text[0] == '+' && text[1] != '-')
    ++first;
  return first;
}

bool ParseInt64(const std::string& text, int64_t& value) {
  const char* first = SkipPlusSign(text);
  const char* last = text.data() + text.size();
  const auto [end, error] = std::from_chars(first, last, value);
  return first != last && error == std::errc() && end == last;
}

bool ParseDouble(const std::string& text, double& value) {
  const char* first = SkipPlusSign(text);
  const char* last = text.data() + text.size();
  const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
  return first != last && error == std::errc() && end == last;
}

int64_t ReadInteger(const TAttrSign& attribute) {
  const std::string text = Utf16ToUtf8(attribute.Value);
  int64_t value = 0;
  if (!ParseInt64(text, value))
    throw EConvertError("\"" + text + "\" is an invalid integer");
  return value;
}

// Up to 15 significant digits; the exponent without a plus sign or leading zeros (1E20, 1E-5).
std::string FormatFloat(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15G", value);
  std::string text = buffer;
  const std::size_t exponent = text.find('E');
  if (exponent == std::string::npos || exponent + 1 >= text.size())
    return text;
  const bool negative = text[exponent + 1] == '-';
  std::string digits = text.substr(exponent + 2);
  const std::size_t firstDigit = digits.find_first_not_of('0');
  digits = firstDigit == std::string::npos ? "0" : digits.substr(firstDigit);
  return text.substr(0, exponent + 1) + (negative ? "-" : "") + digits;
}

int HexDigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9')
    return c - u'0';
  if (c >= u'A' && c <= u'F')
    return c - u'A' + 10;
  if (c >= u'a' && c <= u'f')
    return c - u'a' + 10;
  return -1;
}

} // namespace

bool TheXmlNode::GetAttributeBool(const std::u16string& name, bool defaultValue) const {
  const PAttrSign attribute = FindAttrSign(name);
  if (!attribute)
    return defaultValue;
  const std::string text = Utf16ToUtf8(attribute->Value);
  double number = 0;
  if (ParseDouble(text, number))
    return number != 0;
  const std::u16string upper = UpperAscii(attribute->Value);
  if (upper == u"TRUE")
    return true;
  if (upper == u"FALSE")
    return false;
  throw EConvertError("\"" + text + "\" is not a valid boolean");
}

int32_t TheXmlNode::GetAttributeInt(const std::u16string& name, int32_t defaultValue) const {
  const PAttrSign attribute = FindAttrSign(name);
  if (!attribute)
    return defaultValue;
  // The low 32 bits of the 64-bit value.
  return static_cast<int32_t>(static_cast<uint32_t>(ReadInteger(*attribute)));
}

int64_t TheXmlNode::GetAttributeInt64(const std::u16string& name, int64_t defaultValue) const {
  const PAttrSign attribute = FindAttrSign(name);
  return attribute ? ReadInteger(*attribute) : defaultValue;
}

double TheXmlNode::GetAttributeFloat(const std::u16string& name, double defaultValue) const {
  const PAttrSign attribute = FindAttrSign(name);
  if (!attribute)
    return defaultValue;
  const std::string text = Utf16ToUtf8(attribute->Value);
  double value = 0;
  if (!ParseDouble(text, value))
    throw EConvertError("\"" + text + "\" is an invalid float");
  return value;
}

bool TheXmlNode::GetAttributeBinary(const std::u16string& name, const uint8_t*& data,
                                    int32_t& count) {
  count = 0;
  const PAttrSign attribute = FindAttrSign(name);
  if (!attribute)
    return false;
  count = static_cast<int32_t>(attribute->Value.size() / 2);
  const auto needed = static_cast<std::size_t>(count) + 2;
  if (Buffer_.size() < needed)
    Buffer_.resize(needed);
  if (count == 0)
    return false;
  // Decoding stops at the first pair that is not two hexadecimal digits; the bytes after it keep
  // what they held.
  for (int32_t i = 0; i < count; ++i) {
    const int high = HexDigitValue(attribute->Value[2 * i]);
    const int low = HexDigitValue(attribute->Value[2 * i + 1]);
    if (high < 0 || low < 0)
      break;
    Buffer_[i] = static_cast<uint8_t>(high << 4 | low);
  }
  Buffer_[count] = 0;
  Buffer_[count + 1] = 0;
  data = Buffer_.data();
  return true;
}

void TheXmlNode::SetAttributeBool(const std::u16string& name, bool value) {
  SetAttribute(name, std::u16string(value ? u"-1" : u"0"));
}

void TheXmlNode::SetAttributeInt(const std::u16string& name, int32_t value) {
  SetAttribute(name, std::to_string(value));
}

void TheXmlNode::SetAttributeInt64(const std::u16string& name, int64_t value) {
  SetAttribute(name, std::to_string(value));
}

void TheXmlNode::SetAttributeFloat(const std::u16string& name, double value) {
  SetAttribute(name, FormatFloat(value));
}

void TheXmlNode::SetAttributeBinary(const std::u16string& name, const uint8_t* data,
                                    int32_t count) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string value;
  for (int32_t i = 0; i < count; ++i) {
    value += kDigits[data[i] >> 4];
    value += kDigits[data[i] & 0x0F];
  }
  SetAttribute(name, value);
}
