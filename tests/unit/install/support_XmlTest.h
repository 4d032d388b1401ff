#pragma once
// Helpers of the XML editor's tests: byte buffers, whole files and a readable tree dump.

#include <filesystem>
#include <string>

#include "XmlWriter.h"

namespace xmltest {

// UTF-16 text as UTF-8, for readable failure messages.
std::string U8(const std::u16string& text);

// The tree as one line per node: indentation, name, attributes in order, Text with \n and \t
// spelled out; kept markup as "#markup ..." lines in its place.
std::string DumpTree(const TheXmlWriter& document);

// Loads bytes into a fresh document (the constructor's file is never there).
void LoadBytes(TheXmlWriter& document, const std::string& bytes);
std::string SaveBytes(TheXmlWriter& document);

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& bytes);

} // namespace xmltest
