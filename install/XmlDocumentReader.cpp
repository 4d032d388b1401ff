#include "XmlDocumentReader.h"

#include "Exceptions.h"
#include "XmlWriter.h"

namespace {

constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);
// Deeper nesting is refused rather than risking the stack (the parser and the tree's destructor
// recurse once per level). Real configuration files nest a handful of levels.
constexpr int kMaxNesting = 256;

[[noreturn]] void FailToLoad() {
  throw EGeneral("Can not load XML document!");
}

} // namespace

XmlDocumentReader::XmlDocumentReader(TheXmlWriter& document, const uint8_t* data, uint32_t size)
    : document_(document), data_(data), size_(size) {}

void XmlDocumentReader::Read() {
  DetectEncoding();
  std::size_t at = SkipSpace(0);
  if (IsAt(at, "<?xml") && (IsSpace(at + 5) || IsAt(at + 5, "?>")))
    at = ReadDeclaration(at);

  for (at = SkipSpace(at); IsMarkupStart(at); at = SkipSpace(at)) {
    const std::size_t end = MarkupEnd(at);
    if (end == kNotFound)
      FailToLoad();
    document_.PrologMarkup_.push_back(Decode(at, end));
    at = end;
  }
  if (!Is(at, '<'))
    FailToLoad();
  at = ReadElement(nullptr, at + 1, 1, {});

  // After the root only complete comments and processing instructions are kept; the rest is
  // ignored.
  for (at = SkipSpace(at); IsMarkupStart(at); at = SkipSpace(at)) {
    const std::size_t end = MarkupEnd(at);
    if (end == kNotFound)
      break;
    document_.EpilogMarkup_.push_back(Decode(at, end));
    at = end;
  }
}

void XmlDocumentReader::DetectEncoding() {
  const uint8_t first = data_[0], second = data_[1];
  TTypeChar encoding = tcUTF8;
  if (first == 0xFE && second == 0xFF) {
    encoding = tcUnicodeBE;
    firstByte_ = 2;
  } else if (first == 0xFF && second == 0xFE) {
    encoding = tcUnicodeLE;
    firstByte_ = 2;
  } else if (first == 0xEF && second == 0xBB && data_[2] == 0xBF) {
    firstByte_ = 3;
  } else if ((first == 0xEF && second == 0xBB) || (first == 0xBB && second == 0xEF)) {
    firstByte_ = 2;
  } else if (first == 0x3C && second == 0x00) {
    encoding = tcUnicodeLE;
  } else if (first == 0x00 && second == 0x3C) {
    encoding = tcUnicodeBE;
  }
  document_.Encoding_ = encoding;
  document_.SetCharWidthAndSigns();
  unitCount_ = (size_ - firstByte_) / document_.CharWidth_;
}

std::size_t XmlDocumentReader::ReadDeclaration(std::size_t at) {
  const std::size_t end = Find(at + 5, "?>");
  if (end == kNotFound)
    FailToLoad();
  ApplyDeclaredEncoding(Decode(at, end + 2));
  return end + 2;
}

void XmlDocumentReader::ApplyDeclaredEncoding(const std::u16string& declaration) {
  const std::u16string upper = UpperAscii(declaration);
  for (std::size_t at = upper.find(u"ENCODING"); at != std::u16string::npos;
       at = upper.find(u"ENCODING", at + 1)) {
    std::size_t next = upper.find_first_not_of(u" \t\r\n", at + 8);
    if (next == std::u16string::npos || upper[next] != u'=')
      continue;
    next = upper.find_first_not_of(u" \t\r\n", next + 1);
    if (next == std::u16string::npos || (upper[next] != u'"' && upper[next] != u'\''))
      continue;
    const std::size_t close = upper.find(upper[next], next + 1);
    if (close == std::u16string::npos)
      continue;
    const std::u16string name = upper.substr(next + 1, close - next - 1);
    // The bytes decide the width of a unit: a UTF-16 file keeps its byte order whatever it
    // declares, and an 8-bit file that declares UTF-16 cannot be read as such. What is left to
    // the name is the choice between UTF-8 and the narrow code page.
    if (document_.CharWidth_ == 1 && name != u"UNICODE" && name != u"UTF-16") {
      if (name.find(u"WINDOWS") != std::u16string::npos)
        document_.Encoding_ = tcANSI;
      else if (name == u"UTF-8")
        document_.Encoding_ = tcUTF8;
      document_.SetCharWidthAndSigns();
    }
    return;
  }
}

std::size_t XmlDocumentReader::ReadElement(TheXmlNode* parent, std::size_t at, int depth,
                                           std::vector<std::u16string> markupBefore) {
  if (depth > kMaxNesting)
    FailToLoad();
  const std::size_t nameStart = at;
  while (at < unitCount_ && !IsSpace(at) && !Is(at, '/') && !Is(at, '>'))
    ++at;
  if (at >= unitCount_ || at == nameStart)
    FailToLoad();

  TheXmlNode* node = document_.AddNode(parent, Decode(nameStart, at));
  node->MarkupBefore_ = std::move(markupBefore);
  bool emptyElement = false;
  at = ReadStartTagRest(*node, at, emptyElement);
  return emptyElement ? at : ReadContent(*node, at, depth);
}

std::size_t XmlDocumentReader::ReadStartTagRest(TheXmlNode& node, std::size_t at,
                                                bool& emptyElement) {
  for (;;) {
    at = SkipSpace(at);
    if (at >= unitCount_)
      FailToLoad();
    if (Is(at, '>')) {
      emptyElement = false;
      return at + 1;
    }
    if (Is(at, '/')) {
      const std::size_t close = FindCode(at, SignCode('>', document_.Encoding_));
      if (close == kNotFound)
        FailToLoad();
      emptyElement = true;
      return close + 1;
    }
    if (Is(at, '"') || Is(at, '\'')) { // a quoted text without a name: passed over
      const std::size_t close = FindCode(at + 1, Code(at));
      if (close == kNotFound)
        FailToLoad();
      at = close + 1;
      continue;
    }

    const std::size_t nameStart = at;
    while (at < unitCount_ && !IsSpace(at) && !Is(at, '=') && !Is(at, '>') && !Is(at, '/'))
      ++at;
    if (at >= unitCount_)
      FailToLoad();
    const std::u16string name = Decode(nameStart, at);
    std::size_t next = SkipSpace(at);
    if (!Is(next, '=')) { // a name without a value is not kept
      at = next;
      continue;
    }
    next = SkipSpace(next + 1);
    if (next >= unitCount_)
      FailToLoad();
    std::u16string value;
    if (Is(next, '"') || Is(next, '\'')) {
      const std::size_t close = FindCode(next + 1, Code(next));
      if (close == kNotFound)
        FailToLoad();
      value = Decode(next + 1, close);
      at = close + 1;
    } else {
      // An unquoted value runs to white space or the end of the tag. It may hold no quote:
      // no quoting could write such a value back as it was read.
      at = next;
      while (at < unitCount_ && !IsSpace(at) && !Is(at, '>') && !IsAt(at, "/>")) {
        if (Is(at, '"') || Is(at, '\''))
          FailToLoad();
        ++at;
      }
      value = Decode(next, at);
    }
    node.SetAttribute(name, value);
  }
}

std::size_t XmlDocumentReader::ReadContent(TheXmlNode& node, std::size_t at, int depth) {
  std::size_t textStart = at;
  std::vector<std::u16string> pendingMarkup;
  for (;;) {
    if (at >= unitCount_)
      FailToLoad();
    if (!Is(at, '<')) {
      ++at;
      continue;
    }
    if (at > textStart)
      node.Text = Decode(textStart, at);
    if (IsAt(at, "</")) { // the end tag's name is not compared with the element's
      const std::size_t close = FindCode(at + 2, SignCode('>', document_.Encoding_));
      if (close == kNotFound)
        FailToLoad();
      node.MarkupAtEnd_ = std::move(pendingMarkup);
      return close + 1;
    }
    if (IsMarkupStart(at)) {
      const std::size_t end = MarkupEnd(at);
      if (end == kNotFound)
        FailToLoad();
      pendingMarkup.push_back(Decode(at, end));
      at = end;
    } else {
      at = ReadElement(&node, at + 1, depth + 1, std::move(pendingMarkup));
      pendingMarkup.clear();
    }
    textStart = at;
  }
}

uint16_t XmlDocumentReader::Code(std::size_t index) const {
  if (document_.CharWidth_ == 1)
    return data_[firstByte_ + index];
  const std::size_t byte = firstByte_ + 2 * index;
  return static_cast<uint16_t>(data_[byte] | (data_[byte + 1] << 8));
}

bool XmlDocumentReader::Is(std::size_t index, char character) const {
  return index < unitCount_ && Code(index) == SignCode(character, document_.Encoding_);
}

bool XmlDocumentReader::IsAt(std::size_t index, const char* ascii) const {
  for (std::size_t i = 0; ascii[i] != '\0'; ++i)
    if (!Is(index + i, ascii[i]))
      return false;
  return true;
}

bool XmlDocumentReader::IsSpace(std::size_t index) const {
  return Is(index, ' ') || Is(index, '\t') || Is(index, '\n') || Is(index, '\r');
}

bool XmlDocumentReader::IsMarkupStart(std::size_t index) const {
  return IsAt(index, "<!") || IsAt(index, "<?");
}

std::size_t XmlDocumentReader::SkipSpace(std::size_t index) const {
  while (IsSpace(index))
    ++index;
  return index;
}

std::size_t XmlDocumentReader::Find(std::size_t from, const char* ascii) const {
  for (std::size_t index = from; index < unitCount_; ++index)
    if (IsAt(index, ascii))
      return index;
  return kNotFound;
}

std::size_t XmlDocumentReader::FindCode(std::size_t from, uint16_t code) const {
  for (std::size_t index = from; index < unitCount_; ++index)
    if (Code(index) == code)
      return index;
  return kNotFound;
}

// Index just past a comment, CDATA section, processing instruction or <!...> declaration
// starting at `at`; kNotFound when it does not end.
std::size_t XmlDocumentReader::MarkupEnd(std::size_t at) const {
  std::size_t end = kNotFound;
  if (IsAt(at, "<!--")) {
    end = Find(at + 4, "-->");
    return end == kNotFound ? kNotFound : end + 3;
  }
  if (IsAt(at, "<![CDATA[")) {
    end = Find(at + 9, "]]>");
    return end == kNotFound ? kNotFound : end + 3;
  }
  if (IsAt(at, "<?")) {
    end = Find(at + 2, "?>");
    return end == kNotFound ? kNotFound : end + 2;
  }
  return DoctypeEnd(at);
}

// A <!...> declaration ends at the first > outside quotes and outside an internal subset in
// square brackets; comments inside the subset may hold anything.
std::size_t XmlDocumentReader::DoctypeEnd(std::size_t at) const {
  uint16_t quote = 0;
  int bracketDepth = 0;
  for (std::size_t index = at + 2; index < unitCount_; ++index) {
    if (quote != 0) {
      if (Code(index) == quote)
        quote = 0;
    } else if (bracketDepth > 0 && IsAt(index, "<!--")) {
      const std::size_t commentEnd = Find(index + 4, "-->");
      if (commentEnd == kNotFound)
        return kNotFound;
      index = commentEnd + 2;
    } else if (Is(index, '"') || Is(index, '\'')) {
      quote = Code(index);
    } else if (Is(index, '[')) {
      ++bracketDepth;
    } else if (Is(index, ']') && bracketDepth > 0) {
      --bracketDepth;
    } else if (Is(index, '>') && bracketDepth == 0) {
      return index + 1;
    }
  }
  return kNotFound;
}

std::u16string XmlDocumentReader::Decode(std::size_t from, std::size_t to) const {
  const std::size_t width = document_.CharWidth_;
  return DecodeText(data_ + firstByte_ + from * width, static_cast<int32_t>((to - from) * width),
                    document_.Encoding_);
}
