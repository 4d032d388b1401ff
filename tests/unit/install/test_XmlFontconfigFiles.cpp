// Real fontconfig files (those of the installed fontconfig-config package, found at run time):
// after an edit of one value the saved file is still well-formed and holds every comment, the
// document type declaration and every element, attribute and text value in order. Only the
// declaration's form and the white space between elements may differ.

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "TempFolder.h"
#include "XmlWriter.h"
#include "support_XmlTest.h"

using namespace xmltest;
using testsupport::TempFolder;

namespace {

const char* const kEditedValue = "edited-by-test";

std::vector<std::filesystem::path> FontconfigPackageFiles() {
  std::vector<std::filesystem::path> files;
  FILE* pipe = popen("dpkg-query -L fontconfig-config 2>/dev/null", "r");
  if (!pipe)
    return files;
  char line[4096];
  while (std::fgets(line, sizeof line, pipe)) {
    std::string path(line);
    while (!path.empty() && (path.back() == '\n' || path.back() == '\r'))
      path.pop_back();
    std::error_code error;
    if (path.size() > 5 && path.ends_with(".conf") && std::filesystem::is_regular_file(path, error))
      files.emplace_back(path);
  }
  pclose(pipe);
  return files;
}

struct DocumentFree {
  void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};
using XmlDocument = std::unique_ptr<xmlDoc, DocumentFree>;

// Parses without touching the network or any external document type definition; a document
// that is not well-formed gives nullptr and the parser's message.
XmlDocument ParseWellFormed(const std::string& bytes, std::string& problem) {
  xmlParserCtxtPtr context = xmlNewParserCtxt();
  xmlDoc* document =
      xmlCtxtReadMemory(context, bytes.data(), static_cast<int>(bytes.size()), "document.xml",
                        nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  if (!document || !context->wellFormed) {
    const xmlError* error = xmlCtxtGetLastError(context);
    problem = error && error->message ? error->message : "not well-formed";
    if (document)
      xmlFreeDoc(document);
    document = nullptr;
  }
  xmlFreeParserCtxt(context);
  return XmlDocument(document);
}

std::string Text(const xmlChar* text) {
  return text ? reinterpret_cast<const char*>(text) : "";
}

bool IsBlank(const std::string& text) {
  return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

// Everything a reader of the file sees, in document order, without the white space between
// elements.
void CollectEvents(const xmlNode* node, std::vector<std::string>& events) {
  for (; node; node = node->next) {
    switch (node->type) {
    case XML_ELEMENT_NODE: {
      events.push_back("<" + Text(node->name));
      for (const xmlAttr* attribute = node->properties; attribute; attribute = attribute->next) {
        xmlChar* value = xmlNodeListGetString(node->doc, attribute->children, 1);
        events.push_back("  @" + Text(attribute->name) + "=" + Text(value));
        xmlFree(value);
      }
      CollectEvents(node->children, events);
      events.push_back("</" + Text(node->name));
      break;
    }
    case XML_TEXT_NODE:
      if (!IsBlank(Text(node->content)))
        events.push_back("text " + Text(node->content));
      break;
    case XML_CDATA_SECTION_NODE:
      events.push_back("cdata " + Text(node->content));
      break;
    case XML_COMMENT_NODE:
      events.push_back("comment " + Text(node->content));
      break;
    case XML_PI_NODE:
      events.push_back("pi " + Text(node->name) + " " + Text(node->content));
      break;
    case XML_ENTITY_REF_NODE:
      events.push_back("entity " + Text(node->name));
      break;
    case XML_DTD_NODE: {
      const auto* dtd = reinterpret_cast<const xmlDtd*>(node);
      events.push_back("doctype " + Text(dtd->name) + " " + Text(dtd->ExternalID) + " " +
                       Text(dtd->SystemID));
      break;
    }
    default:
      break;
    }
  }
}

std::vector<std::string> Events(const xmlDoc* document) {
  std::vector<std::string> events;
  CollectEvents(document->children, events);
  return events;
}

std::vector<const xmlNode*> ElementChildren(const xmlNode* node) {
  std::vector<const xmlNode*> children;
  for (const xmlNode* child = node->children; child; child = child->next)
    if (child->type == XML_ELEMENT_NODE)
      children.push_back(child);
  return children;
}

bool HoldsOneTextOnly(const xmlNode* node) {
  return node->children && !node->children->next && node->children->type == XML_TEXT_NODE &&
         !IsBlank(Text(node->children->content));
}

// The element to edit: the first const element holding just its value, else the first element
// holding just a text. Found as the element indexes from the root, which both models share.
bool FindEditTarget(const xmlNode* node, const std::string& name, std::vector<int>& path) {
  if ((name.empty() || Text(node->name) == name) && HoldsOneTextOnly(node))
    return true;
  const std::vector<const xmlNode*> children = ElementChildren(node);
  for (std::size_t i = 0; i < children.size(); ++i) {
    path.push_back(static_cast<int>(i));
    if (FindEditTarget(children[i], name, path))
      return true;
    path.pop_back();
  }
  return false;
}

xmlNode* ElementAt(xmlNode* root, const std::vector<int>& path) {
  xmlNode* node = root;
  for (int index : path)
    node = const_cast<xmlNode*>(ElementChildren(node)[static_cast<std::size_t>(index)]);
  return node;
}

TheXmlNode* ElementAt(TheXmlNode* root, const std::vector<int>& path) {
  TheXmlNode* node = root;
  for (int index : path)
    node = node->GetChild(index);
  return node;
}

} // namespace

TEST(XmlFontconfigFiles, EditedAndSavedFilesKeepEverythingButWhiteSpaceAndTheDeclaration) {
  const std::vector<std::filesystem::path> files = FontconfigPackageFiles();
  if (files.empty())
    GTEST_SKIP() << "the fontconfig-config package is not installed";

  TempFolder folder;
  int edited = 0, withComments = 0, withDoctype = 0;
  for (const std::filesystem::path& file : files) {
    SCOPED_TRACE(file.string());
    const std::string original = ReadFile(file);
    std::string problem;
    XmlDocument expected = ParseWellFormed(original, problem);
    ASSERT_TRUE(expected) << "the package's own file: " << problem;

    std::vector<int> path;
    xmlNode* libxmlRoot = xmlDocGetRootElement(expected.get());
    const bool hasTarget =
        FindEditTarget(libxmlRoot, "const", path) || FindEditTarget(libxmlRoot, "", path);
    if (hasTarget) // a file without any value (an empty root) is saved unedited
      xmlNodeSetContent(ElementAt(libxmlRoot, path),
                        reinterpret_cast<const xmlChar*>(kEditedValue));

    // Edit a copy as the font-smoothing step does: load, change a text, save in place.
    const std::filesystem::path copy = folder.File(file.filename().string());
    WriteFile(copy, original);
    {
      TheXmlWriter document(copy.string(), true);
      ASSERT_NE(nullptr, document.Root());
      EXPECT_EQ(tcUTF8, document.Encoding());
      if (hasTarget) {
        TheXmlNode* target = ElementAt(document.Root(), path);
        EXPECT_EQ(Text(ElementAt(libxmlRoot, path)->name), U8(target->Name));
        target->Text = Utf8ToUtf16(kEditedValue);
        ++edited;
      }
      document.Save();
    }

    const std::string saved = ReadFile(copy);
    EXPECT_TRUE(saved.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    EXPECT_FALSE(saved.ends_with("\n"));
    XmlDocument reread = ParseWellFormed(saved, problem);
    ASSERT_TRUE(reread) << "saved file is not well-formed: " << problem << "\n" << saved;
    const std::vector<std::string> expectedEvents = Events(expected.get());
    EXPECT_EQ(expectedEvents, Events(reread.get()));

    for (const std::string& event : expectedEvents) {
      withComments += event.starts_with("comment ") ? 1 : 0;
      withDoctype += event.starts_with("doctype ") ? 1 : 0;
    }
  }
  std::printf("[ round trip ] %zu files (%d with an edited value), %d comments, %d document type "
              "declarations kept\n",
              files.size(), edited, withComments, withDoctype);
  EXPECT_GT(withComments, 0) << "the package's files carry comments; the check saw none";
  EXPECT_GT(withDoctype, 0);
}
