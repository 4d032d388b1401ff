#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "XmlDom.h"

using platform::EXmlReadError;
using platform::XmlDocument;
using platform::XmlNode;

namespace {

std::vector<std::string> ChildNames(const XmlNode& node) {
  std::vector<std::string> names;
  for (XmlNode child = node.FirstChild(); child; child = child.NextSibling())
    names.push_back(child.Name());
  return names;
}

TEST(XmlDom, PresentsNodeNamesAsTheDomDoes) {
  auto doc = XmlDocument::Parse("<?xml version=\"1.0\"?>\n<!-- lead -->\n<root>text<!-- c -->"
                                "<item a=\"1\"/><![CDATA[x]]><?target data?><Item/></root>");
  const XmlNode root = doc->DocumentElement();
  ASSERT_TRUE(root);
  EXPECT_EQ(root.Name(), "root");
  EXPECT_EQ(ChildNames(root), (std::vector<std::string>{"#text", "#comment", "item",
                                                        "#cdata-section", "target", "Item"}));
  const XmlNode comment = root.FirstChild().NextSibling();
  EXPECT_TRUE(comment.IsComment());
  EXPECT_FALSE(comment.IsElement());
  EXPECT_FALSE(comment.HasAttributes());
}

TEST(XmlDom, FindsAttributesByExactNameWithEntitiesDecoded) {
  auto doc = XmlDocument::Parse(
      "<r caption=\"Linux-пакеты &amp; &quot;x&quot;\" Mode=\"1\" xml:lang=\"ru\" empty=\"\"/>");
  const XmlNode root = doc->DocumentElement();
  EXPECT_TRUE(root.HasAttributes());
  EXPECT_EQ(root.Attribute("caption").value_or("?"), "Linux-пакеты & \"x\"");
  EXPECT_EQ(root.Attribute("Mode").value_or("?"), "1");
  EXPECT_FALSE(root.Attribute("mode").has_value());
  EXPECT_EQ(root.Attribute("xml:lang").value_or("?"), "ru");
  ASSERT_TRUE(root.Attribute("empty").has_value());
  EXPECT_EQ(*root.Attribute("empty"), "");

  auto bare = XmlDocument::Parse("<r><c/></r>");
  EXPECT_FALSE(bare->DocumentElement().HasAttributes());
  EXPECT_FALSE(bare->DocumentElement().Attribute("x").has_value());
  EXPECT_TRUE(bare->DocumentElement().HasChildNodes());
  EXPECT_FALSE(bare->DocumentElement().FirstChild().HasChildNodes());
}

TEST(XmlDom, ANodeHandleWithoutNodeAnswersEmpty) {
  const XmlNode none;
  EXPECT_FALSE(none);
  EXPECT_EQ(none.Name(), "");
  EXPECT_FALSE(none.FirstChild());
  EXPECT_FALSE(none.NextSibling());
  EXPECT_FALSE(none.Attribute("a").has_value());
}

TEST(XmlDom, ADocumentThatCannotBeParsedRaisesTheReadersMessage) {
  const struct {
    const char* text;
    const char* expectedPart;
  } cases[] = {
      {"<a>\n<b></a>", "line 2"},    {"<a>\n<b></a>", "mismatch"},  {"", "sample.xml"},
      {"<a attr=1/>", "sample.xml"}, {"<a/><b/>", "Extra content"},
  };
  for (const auto& c : cases) {
    try {
      XmlDocument::Parse(c.text, "sample.xml");
      ADD_FAILURE() << "parsed: " << c.text;
    } catch (const EXmlReadError& error) {
      EXPECT_NE(std::string(error.what()).find(c.expectedPart), std::string::npos) << error.what();
    }
  }
}

TEST(XmlDom, DoesNotFetchExternalEntities) {
  // An external entity must neither be loaded nor fail the parse of an otherwise sound document.
  auto doc = XmlDocument::Parse("<!DOCTYPE r [<!ENTITY e SYSTEM \"file:///etc/hostname\">]>"
                                "<r a=\"1\">&e;</r>");
  EXPECT_EQ(doc->DocumentElement().TextContent(), "");
}

} // namespace
