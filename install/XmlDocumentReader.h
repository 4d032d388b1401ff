#pragma once
// The reader of the XML file editor: builds a TheXmlWriter's tree from the bytes of a file.
//
// The buffer is read in code units of the detected encoding (one byte, or a 16-bit word of the
// detected byte order), always on their proper boundaries and never past the end. What it reads:
// an optional byte-order mark, an optional XML declaration whose encoding name may switch an 8-bit
// file to the narrow code page, then comments, processing instructions and a document type
// declaration (kept as markup), the root element, and the comments and processing instructions
// after it. An element's Text is its last non-empty text run that ends at a <. Anything the
// reader cannot follow to its end raises "Can not load XML document!".

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TheXmlWriter;
class TheXmlNode;

class XmlDocumentReader {
public:
  XmlDocumentReader(TheXmlWriter& document, const uint8_t* data, uint32_t size);
  // Expects an empty document of at least 24 bytes; sets its encoding and builds its tree.
  void Read();

private:
  void DetectEncoding();
  std::size_t ReadDeclaration(std::size_t at);
  void ApplyDeclaredEncoding(const std::u16string& declaration);
  std::size_t ReadElement(TheXmlNode* parent, std::size_t at, int depth,
                          std::vector<std::u16string> markupBefore);
  std::size_t ReadStartTagRest(TheXmlNode& node, std::size_t at, bool& emptyElement);
  std::size_t ReadContent(TheXmlNode& node, std::size_t at, int depth);

  // Unit access; indexes count code units from the first unit after the byte-order mark.
  uint16_t Code(std::size_t index) const;
  bool Is(std::size_t index, char character) const;
  bool IsAt(std::size_t index, const char* ascii) const;
  bool IsSpace(std::size_t index) const;
  bool IsMarkupStart(std::size_t index) const;
  std::size_t SkipSpace(std::size_t index) const;
  std::size_t Find(std::size_t from, const char* ascii) const;
  std::size_t FindCode(std::size_t from, uint16_t code) const;
  std::size_t MarkupEnd(std::size_t at) const;
  std::size_t DoctypeEnd(std::size_t at) const;
  std::u16string Decode(std::size_t from, std::size_t to) const;

  TheXmlWriter& document_;
  const uint8_t* data_;
  uint32_t size_;
  std::size_t firstByte_ = 0; // where the units start, past the byte-order mark
  std::size_t unitCount_ = 0;
};
