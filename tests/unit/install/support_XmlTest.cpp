#include "support_XmlTest.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace xmltest {

namespace {

std::string Escaped(const std::u16string& text) {
  std::string out;
  for (char c : U8(text)) {
    if (c == '\n')
      out += "\\n";
    else if (c == '\t')
      out += "\\t";
    else
      out += c;
  }
  return out;
}

void DumpMarkup(const std::vector<std::u16string>& markup, const std::string& indent,
                std::string& out) {
  for (const std::u16string& item : markup)
    out += indent + "#markup " + Escaped(item) + "\n";
}

void DumpNode(const TheXmlNode& node, const std::string& indent, std::string& out) {
  DumpMarkup(node.MarkupBefore(), indent, out);
  out += indent + U8(node.Name);
  for (int32_t i = 0; i < node.AttributeCount(); ++i) {
    const PAttrSign attribute = node.GetAttributeAt(i);
    out += " " + U8(attribute->Name) + "=[" + Escaped(attribute->Value) + "]";
  }
  if (!node.Text.empty())
    out += " text=[" + Escaped(node.Text) + "]";
  out += "\n";
  for (int32_t i = 0; i < node.ChildCount(); ++i)
    DumpNode(*node.GetChild(i), indent + "  ", out);
  DumpMarkup(node.MarkupAtEnd(), indent + "  ", out);
}

} // namespace

std::string U8(const std::u16string& text) {
  return Utf16ToUtf8(text);
}

std::string DumpTree(const TheXmlWriter& document) {
  std::string out;
  DumpMarkup(document.PrologMarkup(), "", out);
  if (document.Root())
    DumpNode(*document.Root(), "", out);
  DumpMarkup(document.EpilogMarkup(), "", out);
  return out;
}

void LoadBytes(TheXmlWriter& document, const std::string& bytes) {
  document.LoadFromBuffer(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

std::string SaveBytes(TheXmlWriter& document) {
  std::ostringstream out;
  document.SaveToStream(out);
  return out.str();
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    throw std::runtime_error("cannot open " + path.string());
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out)
    throw std::runtime_error("cannot write " + path.string());
}

} // namespace xmltest
