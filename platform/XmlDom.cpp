#include "XmlDom.h"

#include <fstream>
#include <sstream>

#include <libxml/parser.h>
#include <libxml/tree.h>

namespace platform {

namespace {

std::string ToString(const xmlChar* text) {
  return text ? std::string(reinterpret_cast<const char*>(text)) : std::string();
}

std::string QualifiedName(const xmlChar* name, const xmlNs* ns) {
  std::string result = ToString(name);
  if (ns && ns->prefix)
    result = ToString(ns->prefix) + ":" + result;
  return result;
}

std::string TrimRight(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
    text.pop_back();
  return text;
}

} // namespace

std::string XmlNode::Name() const {
  if (!node_)
    return {};
  switch (node_->type) {
  case XML_ELEMENT_NODE:
    return QualifiedName(node_->name, node_->ns);
  case XML_COMMENT_NODE:
    return "#comment";
  case XML_TEXT_NODE:
    return "#text";
  case XML_CDATA_SECTION_NODE:
    return "#cdata-section";
  default:
    return ToString(node_->name);
  }
}

bool XmlNode::IsElement() const {
  return node_ && node_->type == XML_ELEMENT_NODE;
}

bool XmlNode::IsComment() const {
  return node_ && node_->type == XML_COMMENT_NODE;
}

bool XmlNode::HasAttributes() const {
  return node_ && node_->type == XML_ELEMENT_NODE && node_->properties != nullptr;
}

std::optional<std::string> XmlNode::Attribute(const std::string& name) const {
  if (!HasAttributes())
    return std::nullopt;
  for (xmlAttr* attr = node_->properties; attr; attr = attr->next) {
    if (QualifiedName(attr->name, attr->ns) != name)
      continue;
    xmlChar* value = xmlNodeListGetString(node_->doc, attr->children, 1);
    std::string result = ToString(value);
    xmlFree(value);
    return result;
  }
  return std::nullopt;
}

bool XmlNode::HasChildNodes() const {
  return node_ && node_->children != nullptr;
}

XmlNode XmlNode::FirstChild() const {
  return XmlNode(node_ ? node_->children : nullptr);
}

XmlNode XmlNode::NextSibling() const {
  return XmlNode(node_ ? node_->next : nullptr);
}

std::string XmlNode::TextContent() const {
  if (!node_)
    return {};
  xmlChar* content = xmlNodeGetContent(node_);
  std::string result = ToString(content);
  xmlFree(content);
  return result;
}

namespace {

// The first error the reader reports; later ones are mostly consequences of it.
struct FirstError {
  bool seen = false;
  int line = 0;
  std::string message;
};

void RecordFirstError(void* userData, xmlErrorPtr error) {
  auto* context = static_cast<xmlParserCtxtPtr>(userData);
  auto* first = context ? static_cast<FirstError*>(context->_private) : nullptr;
  if (!first || first->seen || !error || error->level < XML_ERR_ERROR)
    return;
  first->seen = true;
  first->line = error->line;
  first->message = error->message ? TrimRight(error->message) : "unknown error";
}

} // namespace

std::unique_ptr<XmlDocument> XmlDocument::Parse(const std::string& bytes,
                                                const std::string& sourceName) {
  xmlParserCtxtPtr context = xmlNewParserCtxt();
  if (!context)
    throw EXmlReadError("Cannot create an XML parser for " + sourceName);
  // Errors go to our handler (never to the error stream) and are reported by the exception.
  FirstError firstError;
  context->_private = &firstError;
  context->sax->serror = RecordFirstError;
  const int options = XML_PARSE_NONET;
  xmlDocPtr doc = xmlCtxtReadMemory(context, bytes.data(), static_cast<int>(bytes.size()),
                                    sourceName.c_str(), nullptr, options);
  if (!doc || !context->wellFormed || firstError.seen) {
    std::ostringstream message;
    message << "XML error in " << sourceName;
    if (firstError.seen)
      message << " (line " << firstError.line << "): " << firstError.message;
    else
      message << ": the document is empty or not well-formed";
    if (doc)
      xmlFreeDoc(doc);
    xmlFreeParserCtxt(context);
    throw EXmlReadError(message.str());
  }
  xmlFreeParserCtxt(context);
  return std::unique_ptr<XmlDocument>(new XmlDocument(doc));
}

std::unique_ptr<XmlDocument> XmlDocument::ParseFile(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in)
    throw EXmlReadError("Cannot open XML file \"" + fileName + "\"");
  std::ostringstream content;
  content << in.rdbuf();
  return Parse(content.str(), fileName);
}

XmlDocument::~XmlDocument() {
  xmlFreeDoc(doc_);
}

XmlNode XmlDocument::DocumentElement() const {
  return XmlNode(xmlDocGetRootElement(doc_));
}

} // namespace platform
