#include "XmlWriter.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <istream>
#include <iterator>
#include <limits>
#include <ostream>
#include <stdexcept>

#include "Exceptions.h"
#include "XmlDocumentReader.h"

int32_t AnsiCodePage = 65001;

const char16_t* const XmlUnicodeDeclaration = u"<?xml version=\"1.0\" encoding=\"unicode\"?>";
const char* const XmlUtf8Declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

namespace {

const char* const kSaveEmptyError = "Can not save empty xml document!";

char16_t UpperAsciiChar(char16_t c) {
  return (c >= u'a' && c <= u'z') ? c - (u'a' - u'A') : c;
}

[[noreturn]] void ThrowListIndexError(int32_t index) {
  throw std::out_of_range("List index (" + std::to_string(index) + ") out of bounds");
}

// A value holding a double quote but no single quote is written between single quotes, so that
// the file stays well-formed; everything else between double quotes.
char16_t QuoteFor(const std::u16string& value) {
  return value.find(u'"') != std::u16string::npos && value.find(u'\'') == std::u16string::npos
             ? u'\''
             : u'"';
}

void AppendMarkup(std::u16string& out, const std::vector<std::u16string>& markup,
                  const std::u16string& lineBreak) {
  for (const std::u16string& item : markup) {
    out += item;
    out += lineBreak;
  }
}

std::string ReadWholeFile(const std::string& fileName) {
  std::error_code error;
  if (std::filesystem::is_directory(fileName, error))
    throw EGeneral("Can not read file \"" + fileName + "\": it is a folder");
  std::ifstream in(fileName, std::ios::binary);
  if (!in)
    throw EGeneral("Can not open file \"" + fileName + "\": " + std::strerror(errno));
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad())
    throw EGeneral("Can not read file \"" + fileName + "\": " + std::strerror(errno));
  return bytes;
}

} // namespace

std::u16string UpperAscii(const std::u16string& text) {
  std::u16string upper(text);
  for (char16_t& c : upper)
    c = UpperAsciiChar(c);
  return upper;
}

bool SameXmlName(const std::u16string& left, const std::u16string& right) {
  if (left.size() != right.size())
    return false;
  for (std::size_t i = 0; i < left.size(); ++i)
    if (UpperAsciiChar(left[i]) != UpperAsciiChar(right[i]))
      return false;
  return true;
}

uint16_t SignCode(char character, TTypeChar encoding) {
  const auto code = static_cast<uint16_t>(static_cast<uint8_t>(character));
  return encoding == tcUnicodeBE ? static_cast<uint16_t>(code << 8) : code;
}

// ---------------------------------------------------------------------------------------------
// TheXmlNode

TheXmlNode::TheXmlNode(TheXmlNode* parent, const std::u16string& name)
    : Name(name), Parent_(parent) {
  if (Parent_)
    Parent_->Children_.push_back(this);
}

TheXmlNode::~TheXmlNode() {
  if (Owner_ && Owner_->OnDeleteNode)
    Owner_->OnDeleteNode(this);
  if (Parent_)
    Parent_->RemoveChild(this);
  else if (Owner_ && Owner_->Root_ == this)
    Owner_->RootFreed();
  ClearChildren();
}

void TheXmlNode::RemoveChild(TheXmlNode* child) {
  // From the back: children are freed last first, so this stays cheap for large lists.
  for (auto it = Children_.rbegin(); it != Children_.rend(); ++it) {
    if (*it == child) {
      Children_.erase(std::next(it).base());
      return;
    }
  }
}

void TheXmlNode::Delete() {
  delete this;
}

void TheXmlNode::ClearChildren() {
  while (!Children_.empty())
    delete Children_.back();
}

void TheXmlNode::ClearAttributes() {
  Attributes_.clear();
}

int32_t TheXmlNode::ChildCount() const {
  return static_cast<int32_t>(Children_.size());
}

int32_t TheXmlNode::AttributeCount() const {
  return static_cast<int32_t>(Attributes_.size());
}

TheXmlNode* TheXmlNode::GetChild(int32_t index) const {
  if (index < 0 || index >= ChildCount())
    ThrowListIndexError(index);
  return Children_[static_cast<std::size_t>(index)];
}

PAttrSign TheXmlNode::GetAttributeAt(int32_t index) const {
  if (index < 0)
    ThrowListIndexError(index);
  if (index >= AttributeCount())
    return nullptr;
  return Attributes_[static_cast<std::size_t>(index)].get();
}

TheXmlNode* TheXmlNode::AddChild(const std::u16string& name) {
  return Owner_->AddNode(this, name);
}

TheXmlNode* TheXmlNode::FindChild(const std::u16string& name, bool descend) const {
  for (TheXmlNode* child : Children_)
    if (SameXmlName(child->Name, name))
      return child;
  if (descend)
    for (const TheXmlNode* child : Children_)
      if (TheXmlNode* found = child->FindChild(name, true))
        return found;
  return nullptr;
}

TheXmlNode* TheXmlNode::FindChildByAttribute(const std::u16string& attrName,
                                             const std::u16string& value, bool descend) const {
  const std::u16string wanted = UpperAscii(value);
  for (TheXmlNode* child : Children_)
    if (UpperAscii(child->GetAttribute(attrName, std::u16string())) == wanted)
      return child;
  if (descend)
    for (const TheXmlNode* child : Children_)
      if (TheXmlNode* found = child->FindChildByAttribute(attrName, value, true))
        return found;
  return nullptr;
}

PAttrSign TheXmlNode::FindAttrSign(const std::u16string& name) const {
  const std::u16string key = UpperAscii(name);
  for (const auto& attribute : Attributes_)
    if (attribute->Key == key)
      return attribute.get();
  return nullptr;
}

bool TheXmlNode::HasAttribute(const std::u16string& name) const {
  return FindAttrSign(name) != nullptr;
}

std::u16string TheXmlNode::GetAttribute(const std::u16string& name,
                                        const std::u16string& defaultValue) const {
  const PAttrSign attribute = FindAttrSign(name);
  return attribute ? attribute->Value : defaultValue;
}

std::string TheXmlNode::GetAttribute(const std::u16string& name,
                                     const std::string& defaultValue) const {
  const PAttrSign attribute = FindAttrSign(name);
  return attribute ? Utf16ToNarrow(attribute->Value, false) : defaultValue;
}

void TheXmlNode::SetAttribute(const std::u16string& name, const std::u16string& value) {
  if (const PAttrSign attribute = FindAttrSign(name)) {
    attribute->Value = value;
    return;
  }
  Attributes_.push_back(std::make_unique<TAttrSign>(TAttrSign{name, UpperAscii(name), value}));
}

void TheXmlNode::SetAttribute(const std::u16string& name, const std::string& value) {
  SetAttribute(name, Utf8ToUtf16(value));
}

// ---------------------------------------------------------------------------------------------
// TheXmlWriter

TheXmlWriter::TheXmlWriter(const std::string& fileName, bool load) : FileName_(fileName) {
  std::error_code error;
  if (load && std::filesystem::exists(fileName, error)) {
    try {
      LoadFromFile(fileName);
    } catch (...) {
      Clear();
      throw;
    }
  }
}

TheXmlWriter::~TheXmlWriter() {
  Clear();
}

void TheXmlWriter::Clear() {
  delete Root_; // the root's destructor calls RootFreed
  RootFreed();
}

void TheXmlWriter::RootFreed() {
  Root_ = nullptr;
  PrologMarkup_.clear();
  EpilogMarkup_.clear();
}

void TheXmlWriter::SetCharWidthAndSigns() {
  CharWidth_ = (Encoding_ == tcUnicodeBE || Encoding_ == tcUnicodeLE) ? 2 : 1;
  SpaceSign_ = SignCode(' ', Encoding_);
  GtSign_ = SignCode('>', Encoding_);
  LtSign_ = SignCode('<', Encoding_);
  QuoteSign_ = SignCode('"', Encoding_);
  SlashSign_ = SignCode('/', Encoding_);
  EqSign_ = SignCode('=', Encoding_);
}

void TheXmlWriter::SetEncoding(TTypeChar encoding) {
  if (encoding == Encoding_)
    return;
  Encoding_ = encoding;
  SetCharWidthAndSigns();
}

void TheXmlWriter::SetFileName(const std::string& fileName) {
  if (fileName != FileName_)
    LoadFromFile(fileName);
}

void TheXmlWriter::LoadFromFile(const std::string& fileName) {
  FileName_ = fileName;
  Clear();
  std::error_code error;
  if (!std::filesystem::exists(fileName, error))
    return;
  const std::string bytes = ReadWholeFile(fileName);
  if (bytes.size() > std::numeric_limits<uint32_t>::max())
    throw EGeneral("File \"" + fileName + "\" is too large for an XML document");
  LoadFromBuffer(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

void TheXmlWriter::LoadFromStream(std::istream& stream) {
  Clear();
  stream.clear();
  stream.seekg(0, std::ios::beg);
  stream.clear(); // a stream that cannot seek is read from where it stands
  const std::string bytes((std::istreambuf_iterator<char>(stream)),
                          std::istreambuf_iterator<char>());
  if (bytes.size() > std::numeric_limits<uint32_t>::max())
    throw EGeneral("The stream is too large for an XML document");
  LoadFromBuffer(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

void TheXmlWriter::LoadFromBuffer(const void* data, uint32_t size) {
  Clear();
  if (data == nullptr || size < 24)
    return;
  try {
    XmlDocumentReader(*this, static_cast<const uint8_t*>(data), size).Read();
  } catch (...) {
    Clear();
    throw;
  }
}

void TheXmlWriter::SaveToFile(const std::string& fileName) {
  // The whole output is built first, so that a failure leaves the file as it was.
  const std::string bytes = SaveToBytes();
  std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
  if (!out)
    throw EGeneral("Can not create file \"" + fileName + "\": " + std::strerror(errno));
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  if (!out)
    throw EGeneral("Can not write file \"" + fileName + "\": " + std::strerror(errno));
}

void TheXmlWriter::Save() {
  SaveToFile(FileName_);
}

void TheXmlWriter::SaveToStream(std::ostream& stream) {
  const std::string bytes = SaveToBytes();
  stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!stream)
    throw EGeneral("Can not write the XML document to the stream");
}

std::string TheXmlWriter::SaveToBytes() const {
  if (!Root_)
    throw EGeneral(kSaveEmptyError);
  const std::u16string lineBreak = LineBreaks ? u"\n" : u"";
  std::u16string tree;
  AppendMarkup(tree, PrologMarkup_, lineBreak);
  SerializeNode(*Root_, tree);
  AppendMarkup(tree, EpilogMarkup_, lineBreak);

  std::string out;
  switch (Encoding_) {
  case tcUnicodeBE:
    out = "\xFE\xFF";
    break;
  case tcUnicodeLE:
    out = "\xFF\xFE";
    break;
  case tcUTF8:
  case tcANSI:
    break;
  }
  if (Encoding_ == tcANSI)
    out += "<?xml version=\"1.0\" encoding=\"Windows-" + std::to_string(AnsiCodePage) + "\"?>";
  else
    out += EncodeForFile(Encoding_ == tcUTF8 ? Utf8ToUtf16(XmlUtf8Declaration)
                                             : std::u16string(XmlUnicodeDeclaration));
  out += EncodeForFile(lineBreak);
  out += EncodeForFile(tree);
  return out;
}

std::string TheXmlWriter::EncodeForFile(const std::u16string& text) const {
  switch (Encoding_) {
  case tcUnicodeBE:
    return Utf16ToBytes(text, true);
  case tcUnicodeLE:
    return Utf16ToBytes(text, false);
  case tcUTF8:
    return Utf16ToUtf8(text);
  case tcANSI:
    return Utf16ToNarrow(text, true);
  }
  return {};
}

// Nothing is escaped and nothing is indented. An element without text, children and kept markup
// is written as an empty-element tag.
void TheXmlWriter::SerializeNode(const TheXmlNode& node, std::u16string& out) const {
  const std::u16string lineBreak = LineBreaks ? u"\n" : u"";
  const bool hasContent = !node.Children_.empty() || !node.MarkupAtEnd_.empty();
  out += u'<';
  out += node.Name;
  for (const auto& attribute : node.Attributes_) {
    const char16_t quote = QuoteFor(attribute->Value);
    out += u' ';
    out += attribute->Name;
    out += u'=';
    out += quote;
    out += attribute->Value;
    out += quote;
  }
  if (!node.Text.empty()) {
    out += u'>';
    out += node.Text;
  }
  if (hasContent) {
    if (node.Text.empty()) {
      out += u'>';
      out += lineBreak;
    }
    for (const TheXmlNode* child : node.Children_) {
      AppendMarkup(out, child->MarkupBefore_, lineBreak);
      SerializeNode(*child, out);
    }
    AppendMarkup(out, node.MarkupAtEnd_, lineBreak);
  }
  if (!node.Text.empty() || hasContent) {
    out += u"</";
    out += node.Name;
    out += u'>';
  } else {
    out += u"/>";
  }
  out += lineBreak;
}

TheXmlNode* TheXmlWriter::AddNode(TheXmlNode* parent, const std::u16string& name) {
  auto* node = new TheXmlNode(parent ? parent : Root_, name);
  if (!Root_)
    Root_ = node;
  node->Owner_ = this;
  if (OnAddNode)
    OnAddNode(node);
  return node;
}

TheXmlNode* TheXmlWriter::FindNode(const std::u16string& name, bool descend) const {
  if (!Root_)
    return nullptr;
  if (SameXmlName(Root_->Name, name))
    return Root_;
  return Root_->FindChild(name, descend);
}
