// The XML editor's document model and its writer.

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

#include "Exceptions.h"
#include "TempFolder.h"
#include "XmlWriter.h"
#include "support_XmlTest.h"

using namespace xmltest;
using testsupport::TempFolder;

namespace {

std::string Utf16Le(const std::u16string& text) {
  return Utf16ToBytes(text, false);
}

// root(a="1" имя="значение") > [пункт "текст с пробелами", пусто, группа > [лист "x"]]
void BuildSampleTree(TheXmlWriter& document) {
  TheXmlNode* root = document.AddNode(nullptr, u"настройки");
  root->SetAttribute(u"a", u"1");
  root->SetAttribute(u"имя", u"значение");
  root->AddChild(u"пункт")->Text = u"текст с пробелами";
  root->AddChild(u"пусто");
  TheXmlNode* group = root->AddChild(u"группа");
  group->SetAttribute(u"k", u"v");
  group->AddChild(u"лист")->Text = u"x";
}

} // namespace

TEST(XmlWriterDocument, NewFileGetsTheUtf16DeclarationAndAnEmptyElementTag) {
  TempFolder folder;
  const std::filesystem::path path = folder.File("new.xml");
  TheXmlWriter document(path.string(), true);
  EXPECT_EQ(nullptr, document.Root());
  EXPECT_EQ(tcUnicodeLE, document.Encoding());

  TheXmlNode* root = document.AddNode(nullptr, u"a");
  EXPECT_EQ(root, document.Root());
  document.Save();

  const std::string bytes = ReadFile(path);
  EXPECT_EQ(2u + 80u + 8u, bytes.size());
  EXPECT_EQ("\xFF\xFE" + Utf16Le(u"<?xml version=\"1.0\" encoding=\"unicode\"?>") +
                std::string("<\0a\0/\0>\0", 8),
            bytes);
}

TEST(XmlWriterDocument, AddNodeWithoutParentCreatesTheRootOnceThenAddsItsChildren) {
  TheXmlWriter document("", false);
  std::vector<TheXmlNode*> added;
  document.OnAddNode = [&](TheXmlNode* node) { added.push_back(node); };

  TheXmlNode* root = document.AddNode(nullptr, u"root");
  TheXmlNode* second = document.AddNode(nullptr, u"second");
  TheXmlNode* grandchild = document.AddNode(second, u"grandchild");
  TheXmlNode* viaAddChild = root->AddChild(u"third");

  EXPECT_EQ(root, document.Root());
  EXPECT_EQ(nullptr, root->Parent());
  EXPECT_EQ(root, second->Parent());
  EXPECT_EQ(second, grandchild->Parent());
  ASSERT_EQ(2, root->ChildCount());
  EXPECT_EQ(second, root->GetChild(0));
  EXPECT_EQ(viaAddChild, root->GetChild(1));
  for (TheXmlNode* node : {root, second, grandchild, viaAddChild})
    EXPECT_EQ(&document, node->Owner());
  EXPECT_EQ((std::vector<TheXmlNode*>{root, second, grandchild, viaAddChild}), added);
}

TEST(XmlWriterDocument, FreeingReportsParentsBeforeTheirSubtreeAndLastChildFirst) {
  TheXmlWriter document("", false);
  LoadBytes(document, "<?xml version=\"1.0\"?><r><a><a1/><a2/></a><b/></r>");
  std::vector<std::string> deleted;
  document.OnDeleteNode = [&](TheXmlNode* node) { deleted.push_back(U8(node->Name)); };

  document.Root()->GetChild(0)->Delete();
  EXPECT_EQ((std::vector<std::string>{"a", "a2", "a1"}), deleted);
  ASSERT_EQ(1, document.Root()->ChildCount());
  EXPECT_EQ(u"b", document.Root()->GetChild(0)->Name);

  deleted.clear();
  document.Clear();
  EXPECT_EQ((std::vector<std::string>{"r", "b"}), deleted);
  EXPECT_EQ(nullptr, document.Root());
}

TEST(XmlWriterDocument, FreeingTheRootEmptiesTheDocumentWithItsProlog) {
  TheXmlWriter document("", false);
  LoadBytes(document, "<?xml version=\"1.0\"?><!DOCTYPE r><!-- c --><r><a/></r><!-- e -->");
  document.Root()->Delete();
  EXPECT_EQ(nullptr, document.Root());
  EXPECT_TRUE(document.PrologMarkup().empty());
  EXPECT_TRUE(document.EpilogMarkup().empty());
  EXPECT_THROW(SaveBytes(document), EGeneral);

  document.AddNode(nullptr, u"n");
  EXPECT_EQ("<?xml version=\"1.0\" encoding=\"UTF-8\"?><n/>", SaveBytes(document));
}

TEST(XmlWriterDocument, DeletingAnElementTakesTheMarkupBeforeItAlong) {
  TheXmlWriter document("", false);
  LoadBytes(document, "<?xml version=\"1.0\"?><r><!-- about a --><a/><!-- about b --><b/></r>");
  document.Root()->FindChild(u"a", false)->Delete();
  EXPECT_EQ("<?xml version=\"1.0\" encoding=\"UTF-8\"?><r><!-- about b --><b/></r>",
            SaveBytes(document));
}

TEST(XmlWriterDocument, ANewChildGoesBeforeTheMarkupAtTheEndOfItsParent) {
  TheXmlWriter document("", false);
  LoadBytes(document, "<?xml version=\"1.0\"?><r><edit name=\"rgba\"><!-- none yet --></edit></r>");
  document.Root()->GetChild(0)->AddChild(u"const")->Text = u"rgb";
  EXPECT_EQ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
            "<r><edit name=\"rgba\"><const>rgb</const><!-- none yet --></edit></r>",
            SaveBytes(document));
}

TEST(XmlWriterDocument, FindNodeMatchesTheRootFirst) {
  TheXmlWriter document("", false);
  EXPECT_EQ(nullptr, document.FindNode(u"fontconfig", false));
  LoadBytes(document, "<?xml version=\"1.0\"?><fontconfig><match><edit/></match></fontconfig>");
  EXPECT_EQ(document.Root(), document.FindNode(u"FONTCONFIG", false));
  EXPECT_EQ(u"match", document.FindNode(u"match", false)->Name);
  EXPECT_EQ(nullptr, document.FindNode(u"edit", false));
  EXPECT_EQ(u"edit", document.FindNode(u"edit", true)->Name);
}

TEST(XmlWriterNode, FindChildComparesAllDirectChildrenBeforeEnteringSubtrees) {
  TheXmlWriter document("", false);
  TheXmlNode* root = document.AddNode(nullptr, u"root");
  TheXmlNode* a = root->AddChild(u"a");
  TheXmlNode* deepT = a->AddChild(u"t");
  TheXmlNode* ownT = root->AddChild(u"t");
  TheXmlNode* b = root->AddChild(u"b");
  TheXmlNode* deepU = b->AddChild(u"x")->AddChild(u"u");
  TheXmlNode* shallowU = root->AddChild(u"c")->AddChild(u"u");

  EXPECT_EQ(ownT, root->FindChild(u"t", true));
  EXPECT_EQ(ownT, root->FindChild(u"T", false));
  EXPECT_EQ(deepT, a->FindChild(u"t", false));
  // The first child's whole subtree comes before the second child's.
  EXPECT_EQ(deepU, root->FindChild(u"u", true));
  EXPECT_EQ(nullptr, root->FindChild(u"u", false));
  (void)shallowU;
}

TEST(XmlWriterNode, NameComparisonsFoldAsciiLettersOnly) {
  const struct {
    std::u16string left, right;
    bool same;
  } cases[] = {
      {u"Match", u"MATCH", true},     {u"match", u"match", true}, {u"mätch", u"MäTCH", true},
      {u"имя", u"ИМЯ", false},        {u"a", u"ab", false},       {u"", u"", true},
      {u"straße", u"STRASSE", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.same, SameXmlName(c.left, c.right)) << U8(c.left) << " / " << U8(c.right);
}

TEST(XmlWriterNode, AttributeLookupsIgnoreTheCaseOfAsciiLetters) {
  TheXmlWriter document("", false);
  LoadBytes(document, "<?xml version=\"1.0\"?><match target=\"font\" Имя=\"1\"/>");
  TheXmlNode* match = document.Root();

  EXPECT_EQ(u"font", match->GetAttribute(u"TARGET", std::u16string()));
  EXPECT_TRUE(match->HasAttribute(u"Target"));
  EXPECT_FALSE(match->HasAttribute(u"ИМЯ")) << "Cyrillic letters are not folded";
  EXPECT_EQ(u"dflt", match->GetAttribute(u"missing", std::u16string(u"dflt")));

  match->SetAttribute(u"Target", u"pattern");
  ASSERT_EQ(2, match->AttributeCount());
  const PAttrSign first = match->GetAttributeAt(0);
  EXPECT_EQ(u"target", first->Name) << "the name keeps its first spelling";
  EXPECT_EQ(u"TARGET", first->Key);
  EXPECT_EQ(u"pattern", first->Value);

  match->SetAttribute(u"New", u"v");
  EXPECT_EQ(u"New", match->GetAttributeAt(2)->Name);
  EXPECT_EQ(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><match target=\"pattern\" Имя=\"1\" New=\"v\"/>",
      SaveBytes(document));

  match->ClearAttributes();
  EXPECT_EQ(0, match->AttributeCount());
}

TEST(XmlWriterNode, NarrowAccessorsUseTheNarrowCodePageForResultsAndUtf8ForValues) {
  TheXmlWriter document("", false);
  TheXmlNode* node = document.AddNode(nullptr, u"n");
  node->SetAttribute(u"name", std::string("Привет"));
  EXPECT_EQ(u"Привет", node->GetAttribute(u"name", std::u16string()));
  EXPECT_EQ("\xCF\xF0\xE8\xE2\xE5\xF2", node->GetAttribute(u"name", std::string()));
  EXPECT_EQ("font", node->GetAttribute(u"missing", std::string("font")));
  node->SetAttribute(u"other", u"日本");
  EXPECT_EQ("??", node->GetAttribute(u"other", std::string()));
}

TEST(XmlWriterNode, ListIndexErrors) {
  TheXmlWriter document("", false);
  TheXmlNode* node = document.AddNode(nullptr, u"n");
  node->AddChild(u"c");
  node->SetAttribute(u"a", u"1");
  EXPECT_THROW(node->GetChild(1), std::out_of_range);
  EXPECT_THROW(node->GetChild(-1), std::out_of_range);
  EXPECT_THROW(node->GetAttributeAt(-1), std::out_of_range);
  EXPECT_EQ(nullptr, node->GetAttributeAt(1));
  EXPECT_NE(nullptr, node->GetAttributeAt(0));
}

TEST(XmlWriterNode, ClearChildrenFreesEveryChild) {
  TheXmlWriter document("", false);
  int deleted = 0;
  document.OnDeleteNode = [&](TheXmlNode*) { ++deleted; };
  TheXmlNode* root = document.AddNode(nullptr, u"r");
  root->AddChild(u"a")->AddChild(u"aa");
  root->AddChild(u"b");
  root->ClearChildren();
  EXPECT_EQ(0, root->ChildCount());
  EXPECT_EQ(3, deleted);
}

TEST(XmlWriterOutput, TextDecidesBetweenAnEmptyElementTagAndAnEndTag) {
  TheXmlWriter document("", false);
  document.SetEncoding(tcUTF8);
  TheXmlNode* root = document.AddNode(nullptr, u"r");
  TheXmlNode* leaf = root->AddChild(u"leaf");
  leaf->SetAttribute(u"x", u"1");
  EXPECT_EQ("<?xml version=\"1.0\" encoding=\"UTF-8\"?><r><leaf x=\"1\"/></r>",
            SaveBytes(document));
  leaf->Text = u"t";
  EXPECT_EQ("<?xml version=\"1.0\" encoding=\"UTF-8\"?><r><leaf x=\"1\">t</leaf></r>",
            SaveBytes(document));
  root->Text = u"\n";
  EXPECT_EQ("<?xml version=\"1.0\" encoding=\"UTF-8\"?><r>\n<leaf x=\"1\">t</leaf></r>",
            SaveBytes(document));
}

TEST(XmlWriterOutput, CallersValuesAreWrittenUnescaped) {
  TheXmlWriter document("", false);
  document.SetEncoding(tcUTF8);
  TheXmlNode* root = document.AddNode(nullptr, u"r");
  root->SetAttribute(u"a", u"x<y&z");
  root->SetAttribute(u"b", u"say \"hi\"");
  root->Text = u"1 < 2 & 3";
  EXPECT_EQ("<?xml version=\"1.0\" encoding=\"UTF-8\"?><r a=\"x<y&z\" b='say \"hi\"'>1 < 2 & 3</r>",
            SaveBytes(document));
}

TEST(XmlWriterOutput, LineBreaksAddALineFeedAfterTagsAndTheDeclaration) {
  TheXmlWriter document("", false);
  document.SetEncoding(tcUTF8);
  document.LineBreaks = true;
  TheXmlNode* root = document.AddNode(nullptr, u"r");
  root->AddChild(u"a")->Text = u"t";
  root->AddChild(u"b");
  EXPECT_EQ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<r>\n<a>t</a>\n<b/>\n</r>\n",
            SaveBytes(document));
}

TEST(XmlWriterOutput, EachEncodingWritesItsMarkDeclarationAndText) {
  // Built by hand per encoding, for the tree <a>Б</a>.
  const std::string le = "\xFF\xFE" + Utf16Le(u"<?xml version=\"1.0\" encoding=\"unicode\"?>") +
                         std::string("<\0a\0>\0\x11\x04<\0/\0a\0>\0", 16);
  std::string be = "\xFE\xFF";
  for (char16_t c : std::u16string(u"<?xml version=\"1.0\" encoding=\"unicode\"?>")) {
    be += '\0';
    be += static_cast<char>(c);
  }
  be += std::string("\0<\0a\0>\x04\x11\0<\0/\0a\0>", 16);
  const struct {
    TTypeChar encoding;
    std::string expected;
  } forms[] = {
      {tcUnicodeLE, le},
      {tcUnicodeBE, be},
      {tcUTF8, "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xD0\x91</a>"},
      {tcANSI, "<?xml version=\"1.0\" encoding=\"Windows-65001\"?><a>\xC1</a>"},
  };
  for (const auto& form : forms) {
    SCOPED_TRACE(form.encoding);
    TheXmlWriter document("", false);
    document.SetEncoding(form.encoding);
    document.AddNode(nullptr, u"a")->Text = u"Б";
    EXPECT_EQ(form.expected, SaveBytes(document));
  }
}

// A document written in one encoding reloads into the same tree and saves to the same bytes.
TEST(XmlWriterOutput, RoundTripsInEveryEncoding) {
  for (TTypeChar encoding : {tcUnicodeLE, tcUTF8, tcANSI, tcUnicodeBE}) {
    SCOPED_TRACE(encoding);
    TheXmlWriter document("", false);
    document.SetEncoding(encoding);
    BuildSampleTree(document);
    const std::string tree = DumpTree(document);
    const std::string saved = SaveBytes(document);

    TheXmlWriter reloaded("", false);
    LoadBytes(reloaded, saved);
    EXPECT_EQ(encoding, reloaded.Encoding());
    EXPECT_EQ(tree, DumpTree(reloaded));
    EXPECT_EQ(saved, SaveBytes(reloaded));
  }
}

TEST(XmlWriterOutput, SetEncodingSetsTheCharWidthAndTheSignCodes) {
  TheXmlWriter document("", false);
  EXPECT_EQ(0, document.CharWidth()) << "nothing set it yet";
  document.SetEncoding(tcUnicodeLE);
  EXPECT_EQ(0, document.CharWidth()) << "the encoding it already has changes nothing";
  document.SetEncoding(tcUnicodeBE);
  EXPECT_EQ(2, document.CharWidth());
  EXPECT_EQ(0x2000, document.SpaceSign());
  EXPECT_EQ(0x3E00, document.GtSign());
  EXPECT_EQ(0x3C00, document.LtSign());
  EXPECT_EQ(0x2200, document.QuoteSign());
  EXPECT_EQ(0x2F00, document.SlashSign());
  EXPECT_EQ(0x3D00, document.EqSign());
  document.SetEncoding(tcANSI);
  EXPECT_EQ(1, document.CharWidth());
  EXPECT_EQ(0x3E, document.GtSign());
}

TEST(XmlWriterOutput, AFailedSaveLeavesTheFileAsItWas) {
  TempFolder folder;
  const std::filesystem::path path = folder.File("fonts.conf");
  WriteFile(path, "original");
  TheXmlWriter document("", false);
  document.SetEncoding(tcANSI);
  document.AddNode(nullptr, u"r")->Text = u"日本"; // no code in windows-1251
  EXPECT_THROW(document.SaveToFile(path.string()), EConvertError);
  EXPECT_EQ("original", ReadFile(path));

  EXPECT_THROW(document.SaveToFile(folder.File("no/such.xml")), EGeneral);
}

TEST(XmlWriterOutput, StreamsLoadFromTheirStartAndSaveTheWholeDocument) {
  std::stringstream stream;
  stream << "<?xml version=\"1.0\"?><r><a>1</a></r>";
  stream.seekg(5);
  TheXmlWriter document("", false);
  document.LoadFromStream(stream);
  ASSERT_NE(nullptr, document.Root());
  EXPECT_EQ(u"1", document.Root()->GetChild(0)->Text);

  std::ostringstream out;
  document.SaveToStream(out);
  EXPECT_EQ("<?xml version=\"1.0\" encoding=\"UTF-8\"?><r><a>1</a></r>", out.str());
}
