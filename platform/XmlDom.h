#pragma once
// A small read-only XML DOM over libxml2: element names, comment nodes, attributes by exact name,
// first child and next sibling. Node names follow the DOM: an element's qualified name,
// "#comment", "#text", "#cdata-section"; a processing instruction gives its target.

#include <memory>
#include <optional>
#include <string>

#include "Exceptions.h"

struct _xmlNode;
struct _xmlDoc;

namespace platform {

// A document that the reader could not parse; the message is the reader's.
class EXmlReadError : public EGeneral {
public:
  using EGeneral::EGeneral;
};

// A non-owning handle to one node of a parsed document; it is valid while its document lives.
// A default-constructed handle is "no node".
class XmlNode {
public:
  XmlNode() = default;
  explicit XmlNode(_xmlNode* node) : node_(node) {}

  explicit operator bool() const { return node_ != nullptr; }

  std::string Name() const;
  bool IsElement() const;
  bool IsComment() const;

  bool HasAttributes() const;
  // The value of the attribute of exactly that (qualified) name, case-sensitive.
  std::optional<std::string> Attribute(const std::string& name) const;

  bool HasChildNodes() const;
  XmlNode FirstChild() const;
  XmlNode NextSibling() const;
  // Concatenated text content of the node and its descendants.
  std::string TextContent() const;

private:
  _xmlNode* node_ = nullptr;
};

class XmlDocument {
public:
  // Parses the bytes as one XML document; sourceName only names it in error messages.
  // Throws EXmlReadError with the reader's message when the text is not well-formed.
  static std::unique_ptr<XmlDocument> Parse(const std::string& bytes,
                                            const std::string& sourceName = "document");
  static std::unique_ptr<XmlDocument> ParseFile(const std::string& fileName);

  ~XmlDocument();
  XmlDocument(const XmlDocument&) = delete;
  XmlDocument& operator=(const XmlDocument&) = delete;

  // The first child of the document that is an element (no node when there is none).
  XmlNode DocumentElement() const;

private:
  explicit XmlDocument(_xmlDoc* doc) : doc_(doc) {}
  _xmlDoc* doc_;
};

} // namespace platform
