// Paths of element names and of attribute values.

#include <gtest/gtest.h>

#include "Exceptions.h"
#include "XmlWriter.h"
#include "support_XmlTest.h"

using namespace xmltest;

namespace {

// fontconfig > [match(id=x) > [edit(id=y)], match(id=z)]
void LoadSample(TheXmlWriter& document) {
  LoadBytes(document, "<?xml version=\"1.0\"?><fontconfig><match id=\"x\"><edit id=\"y\"/></match>"
                      "<match id=\"z\"/></fontconfig>");
}

} // namespace

TEST(XmlFindByPath, FollowsNamesFromTheRoot) {
  TheXmlWriter document("", false);
  EXPECT_EQ(nullptr, document.FindByPath(u"fontconfig/match"));
  LoadSample(document);
  TheXmlNode* root = document.Root();
  TheXmlNode* firstMatch = root->GetChild(0);
  const struct {
    std::u16string path;
    TheXmlNode* expected;
  } cases[] = {
      {u"fontconfig/match", firstMatch},
      {u"FONTCONFIG\\MATCH", firstMatch},
      {u"fontconfig/match/", firstMatch},
      {u"fontconfig/match/edit", firstMatch->GetChild(0)},
      {u"fontconfig", root},
      {u"fontconfig\\", root},
      {u"fontconfig//match", nullptr},
      {u"/fontconfig/match", nullptr},
      {u"fontconfig/edit", nullptr},
      {u"match", nullptr},
      {u"fontconfig/missing/match", nullptr},
      {u"fontconfig/match//", nullptr},
      {u"", nullptr},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.expected, document.FindByPath(c.path)) << U8(c.path);
}

TEST(XmlFindPathByAttribute, FollowsAttributeValuesBelowTheRoot) {
  TheXmlWriter document("", false);
  EXPECT_EQ(nullptr, document.FindPathByAttribute(u"x/y", u"id", false));
  LoadSample(document);
  TheXmlNode* root = document.Root();
  TheXmlNode* edit = root->GetChild(0)->GetChild(0);
  const struct {
    std::u16string path;
    bool wholePrefix;
    TheXmlNode* expected;
  } cases[] = {
      {u"x/y", false, edit},
      {u"X\\Y", false, edit},
      {u"x", false, root->GetChild(0)},
      {u"z", false, root->GetChild(1)},
      {u"fontconfig/x", false, nullptr}, // the root is never part of the path
      {u"y", false, nullptr},
      // With the whole prefix, the values looked for are x and then x/y.
      {u"x/y", true, nullptr},
      {u"x", true, root->GetChild(0)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.expected, document.FindPathByAttribute(c.path, u"id", c.wholePrefix))
        << U8(c.path) << " whole prefix " << c.wholePrefix;

  // With the whole prefix the second lookup is made below the first match.
  TheXmlWriter nested("", false);
  LoadBytes(nested, "<?xml version=\"1.0\"?><r><a id=\"x\"><b id=\"x/y\"/></a><c id=\"p/q\"/></r>");
  EXPECT_EQ(nested.Root()->GetChild(0)->GetChild(0),
            nested.FindPathByAttribute(u"x/y", u"id", true));
  // The segment start moves only on a match, so an unmatched p runs on into p/q.
  EXPECT_EQ(nested.Root()->GetChild(1), nested.FindPathByAttribute(u"p/q", u"id", false));
}

TEST(XmlFindChildByAttribute, ComparesValuesAsciiCaseInsensitivelyAndMissingAsEmpty) {
  TheXmlWriter document("", false);
  LoadBytes(document, "<?xml version=\"1.0\"?><r><a><deep k=\"v\"/></a><b k=\"V\"/><c/></r>");
  TheXmlNode* root = document.Root();
  // Direct children come first: b matches before a's child is looked at.
  EXPECT_EQ(root->GetChild(1), root->FindChildByAttribute(u"K", u"v", true));
  EXPECT_EQ(root->GetChild(0), root->FindChildByAttribute(u"k", u"", false));
  EXPECT_EQ(nullptr, root->FindChildByAttribute(u"k", u"w", true));

  TheXmlWriter deep("", false);
  LoadBytes(deep, "<?xml version=\"1.0\"?><r><a><x k=\"v\"/></a><b k=\"w\"/></r>");
  EXPECT_EQ(nullptr, deep.Root()->FindChildByAttribute(u"k", u"v", false));
  EXPECT_EQ(deep.Root()->GetChild(0)->GetChild(0),
            deep.Root()->FindChildByAttribute(u"k", u"v", true));
}

TEST(XmlAddPath, CreatesWhatIsMissingAndReturnsTheLastElement) {
  TheXmlWriter document("", false);
  TheXmlNode* leaf = document.AddPath(u"top\\mid\\leaf");
  ASSERT_NE(nullptr, leaf);
  EXPECT_EQ("top\n  mid\n    leaf\n", DumpTree(document));
  EXPECT_EQ(u"leaf", leaf->Name);

  EXPECT_EQ(leaf, document.AddPath(u"top\\mid\\leaf"));
  EXPECT_EQ(leaf, document.AddPath(u"TOP/MID/LEAF/"));
  EXPECT_EQ("top\n  mid\n    leaf\n", DumpTree(document)) << "nothing new was created";

  TheXmlNode* other = document.AddPath(u"top\\\\mid\\\\other");
  EXPECT_EQ("top\n  mid\n    leaf\n    other\n", DumpTree(document)) << "empty segments pass";
  EXPECT_EQ(other, document.Root()->GetChild(0)->GetChild(1));

  EXPECT_EQ(document.Root(), document.AddPath(u"top"));
}

TEST(XmlAddPath, EmptySegmentsAndALeadingSeparatorOnAnEmptyDocument) {
  TheXmlWriter document("", false);
  document.AddPath(u"top\\\\mid");
  EXPECT_EQ("top\n  mid\n", DumpTree(document));

  TheXmlWriter leading("", false);
  leading.AddPath(u"/top/mid");
  EXPECT_EQ("top\n  mid\n", DumpTree(leading));
}

TEST(XmlAddPath, ARootOfAnotherNameIsAnError) {
  TheXmlWriter document("", false);
  document.AddNode(nullptr, u"other");
  try {
    document.AddPath(u"top\\mid");
    FAIL() << "no error";
  } catch (const EGeneral& error) {
    EXPECT_STREQ("Can not create node with AParent <> nil in empty xml document!", error.what());
  }
  EXPECT_EQ("other\n", DumpTree(document));

  TheXmlNode* mid = document.AddPath(u"other\\mid");
  EXPECT_EQ("other\n  mid\n", DumpTree(document));
  EXPECT_EQ(mid, document.Root()->GetChild(0));
}

TEST(XmlDeletePath, DeletesTheElementAndItsSameNamedSiblings) {
  TheXmlWriter document("", false);
  EXPECT_FALSE(document.DeletePath(u"r/a"));
  LoadBytes(document, "<?xml version=\"1.0\"?><r><a>1</a><b/><A>2</A><a><x/></a><c/></r>");
  EXPECT_FALSE(document.DeletePath(u"r/missing"));
  EXPECT_TRUE(document.DeletePath(u"r/a"));
  EXPECT_EQ("r\n  b\n  c\n", DumpTree(document));

  EXPECT_TRUE(document.DeletePath(u"R"));
  EXPECT_EQ(nullptr, document.Root());
  EXPECT_THROW(SaveBytes(document), EGeneral);
}

TEST(XmlDeletePathByAttribute, DeletesOnlyTheElementFound) {
  TheXmlWriter document("", false);
  EXPECT_FALSE(document.DeletePathByAttribute(u"x", u"id", false));
  LoadBytes(document, "<?xml version=\"1.0\"?><r><m id=\"x\"><e id=\"y\"/></m><m id=\"x\"/></r>");
  EXPECT_FALSE(document.DeletePathByAttribute(u"q", u"id", false));
  EXPECT_TRUE(document.DeletePathByAttribute(u"x/y", u"id", false));
  EXPECT_EQ("r\n  m id=[x]\n  m id=[x]\n", DumpTree(document));
  EXPECT_TRUE(document.DeletePathByAttribute(u"x", u"id", false));
  EXPECT_EQ("r\n  m id=[x]\n", DumpTree(document));
}
