#pragma once
// Utility routines of the schema layer: reading schema XML attributes, the Boolean conversion and
// the encryption of the installed configuration's selection data.

#include <cstdint>
#include <optional>
#include <string>

#include "XmlDom.h"

using TXMLNode = platform::XmlNode;

// True when the node is an element (not a comment) of exactly that name (case-sensitive) that
// has at least one attribute. An element without attributes never counts as named.
bool IsElementNamed(const TXMLNode& node, const std::string& name);

// The value of the node's attribute of exactly that name, or nothing.
std::optional<std::string> FindAttribute(const TXMLNode& node, const std::string& name);

// True exactly for "true", "t" or "1" after lower-casing.
bool StrToBoolean(const std::string& text);

// Integer attribute text: a whole decimal 32-bit integer, anything else gives the default.
int32_t StrToIntDef(const std::string& text, int32_t defaultValue);

// Attribute readers: each changes the field only when the attribute is present.
void ReadTextAttribute(const TXMLNode& node, const char* name, std::string& field);
void ReadBooleanAttribute(const TXMLNode& node, const char* name, bool& field);
void ReadIntegerAttribute(const TXMLNode& node, const char* name, int32_t& field);

// AES-128 ECB over the text with the final-block rule (the remaining 0 to 15 bytes, zero bytes,
// and the count of remaining bytes in the last byte), then Base64. Key selector 2 chooses the
// configuration key; any other selector the second key. Empty text gives empty text; cipher
// errors raise.
std::string EncryptText(const std::string& plainText, int keySelector);

// The reverse of EncryptText. Empty text, undecodable or undecryptable input give empty text;
// it never raises.
std::string DecryptText(const std::string& cipherText, int keySelector);
