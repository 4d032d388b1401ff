// The XML editor's reader, and the writer's bytes for what the reader gives it.

#include <gtest/gtest.h>

#include <filesystem>

#include "Exceptions.h"
#include "TempFolder.h"
#include "XmlWriter.h"
#include "support_XmlTest.h"

using namespace xmltest;
using testsupport::TempFolder;

namespace {

const std::string kUtf8Declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

std::string Utf16Le(const std::u16string& text) {
  return Utf16ToBytes(text, false);
}
std::string Utf16Be(const std::u16string& text) {
  return Utf16ToBytes(text, true);
}

// Loads bytes and expects the reader's error with an empty document afterwards.
void ExpectLoadError(const std::string& bytes, const std::string& what) {
  TheXmlWriter document("", false);
  try {
    LoadBytes(document, bytes);
    ADD_FAILURE() << what << ": loaded without error:\n" << DumpTree(document);
  } catch (const EGeneral& error) {
    EXPECT_STREQ("Can not load XML document!", error.what()) << what;
  }
  EXPECT_EQ(nullptr, document.Root()) << what;
}

} // namespace

// The shipped fontconfig template: the fixture written from its description, and the payload's
// own copy once it is there.
class FontconfigTemplate : public ::testing::TestWithParam<const char*> {};

TEST_P(FontconfigTemplate, LoadsAsUtf8AndSavesToTheDescribedBytes) {
  const std::filesystem::path path = GetParam();
  if (!std::filesystem::exists(path))
    GTEST_SKIP() << "not there yet: " << path;

  TheXmlWriter document(path.string(), true);
  EXPECT_EQ(tcUTF8, document.Encoding());
  EXPECT_EQ(1, document.CharWidth());
  const std::string rgbaMatch = "  match target=[font] text=[\\n ]\n"
                                "    edit mode=[assign] name=[rgba] text=[\\n  ]\n"
                                "      const text=[rgb]\n";
  EXPECT_EQ("fontconfig text=[\\n]\n" + rgbaMatch +
                "  match target=[font] text=[\\n ]\n"
                "    edit mode=[assign] name=[hinting] text=[\\n  ]\n"
                "      bool text=[true]\n"
                "  match target=[font] text=[\\n ]\n"
                "    edit mode=[assign] name=[hintstyle] text=[\\n  ]\n"
                "      const text=[hintmedium]\n"
                "  match target=[font] text=[\\n ]\n"
                "    edit mode=[assign] name=[antialias] text=[\\n  ]\n"
                "      bool text=[true]\n",
            DumpTree(document));

  auto match = [](const std::string& name, const std::string& leaf, const std::string& value) {
    return "<match target=\"font\">\n <edit mode=\"assign\" name=\"" + name + "\">\n  <" + leaf +
           ">" + value + "</" + leaf + "></edit></match>";
  };
  EXPECT_EQ(kUtf8Declaration + "<fontconfig>\n" + match("rgba", "const", "rgb") +
                match("hinting", "bool", "true") + match("hintstyle", "const", "hintmedium") +
                match("antialias", "bool", "true") + "</fontconfig>",
            SaveBytes(document));
}

INSTANTIATE_TEST_SUITE_P(Files, FontconfigTemplate,
                         ::testing::Values(SIVRANT_TEST_FIXTURES "/fonts.conf", SIVRANT_PAYLOAD_DIR
                                           "/data/SharedData/config/fonts.conf"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return info.index == 0 ? std::string("Fixture")
                                                  : std::string("ShippedPayload");
                         });

struct ReaderCase {
  const char* name;
  const char* body;         // follows an XML declaration
  const char* expectedTree; // DumpTree
  const char* expectedSave; // after the writer's UTF-8 declaration
};

class ReaderRules : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(ReaderRules, ReadsAndWritesBack) {
  const ReaderCase& c = GetParam();
  TheXmlWriter document("", false);
  LoadBytes(document, std::string("<?xml version=\"1.0\"?>\n") + c.body);
  EXPECT_EQ(c.expectedTree, DumpTree(document));
  EXPECT_EQ(kUtf8Declaration + c.expectedSave, SaveBytes(document));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReaderRules,
    ::testing::Values(
        ReaderCase{"TextIsTheLastRunBeforeTheEndTag", "<a>\n <b/>\n</a>", "a text=[\\n]\n  b\n",
                   "<a>\n<b/></a>"},
        ReaderCase{"MixedContentKeepsTheLastRunWrittenFirst", "<a>x<b/>y</a>", "a text=[y]\n  b\n",
                   "<a>y<b/></a>"},
        ReaderCase{"RepeatedAttributeKeepsFirstPlaceAndLastValue", "<a x=\"1\" y=\"2\" x=\"3\"/>",
                   "a x=[3] y=[2]\n", "<a x=\"3\" y=\"2\"/>"},
        ReaderCase{"EndTagNameIsNotCompared", "<a><b>t</c></a>", "a\n  b text=[t]\n",
                   "<a><b>t</b></a>"},
        ReaderCase{"ContentAfterTheRootIsIgnored", "<a/>tail<b/>", "a\n", "<a/>"},
        ReaderCase{"EqualsGreaterThanAndQuotesInTextAreText", "<a>x = \"y\" > z</a>",
                   "a text=[x = \"y\" > z]\n", "<a>x = \"y\" > z</a>"},
        ReaderCase{"SingleQuotesSpacesAroundEqualsTabsAndLineBreaksInTags",
                   "<a\n\tx = '1'\r\n y=\"2\"\t/>", "a x=[1] y=[2]\n", "<a x=\"1\" y=\"2\"/>"},
        ReaderCase{"ValueWithDoubleQuoteIsWrittenInSingleQuotes", "<a x='say \"hi\"'/>",
                   "a x=[say \"hi\"]\n", "<a x='say \"hi\"'/>"},
        ReaderCase{"ReferencesPassThroughUnchanged",
                   "<a t=\"&amp;&#1234;&quot;\">x &amp; &#x41; &lt;b&gt;</a>",
                   "a t=[&amp;&#1234;&quot;] text=[x &amp; &#x41; &lt;b&gt;]\n",
                   "<a t=\"&amp;&#1234;&quot;\">x &amp; &#x41; &lt;b&gt;</a>"},
        ReaderCase{"NameWithoutValueIsDropped", "<a checked x=\"1\"/>", "a x=[1]\n",
                   "<a x=\"1\"/>"},
        ReaderCase{"UnquotedValuesAreKeptAndQuoted", "<a x=1 y=2>t</a>", "a x=[1] y=[2] text=[t]\n",
                   "<a x=\"1\" y=\"2\">t</a>"},
        ReaderCase{"ElementWithoutTextOrChildrenBecomesEmptyElementTag", "<a><b x=\"1\"></b></a>",
                   "a\n  b x=[1]\n", "<a><b x=\"1\"/></a>"},
        ReaderCase{"AttributeValuesMayHoldMarkupCharacters", "<a x=\"<b>/c\" y='1=2'/>",
                   "a x=[<b>/c] y=[1=2]\n", "<a x=\"<b>/c\" y=\"1=2\"/>"}),
    [](const ::testing::TestParamInfo<ReaderCase>& info) { return info.param.name; });

// Comments, the document type declaration, processing instructions and CDATA sections stay in
// their places and are no elements.
class MarkupKept : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(MarkupKept, StaysInItsPlace) {
  const ReaderCase& c = GetParam();
  TheXmlWriter document("", false);
  LoadBytes(document, std::string("<?xml version=\"1.0\"?>\n") + c.body);
  EXPECT_EQ(c.expectedTree, DumpTree(document));
  const std::string saved = SaveBytes(document);
  EXPECT_EQ(kUtf8Declaration + c.expectedSave, saved);

  TheXmlWriter reloaded("", false);
  LoadBytes(reloaded, saved);
  EXPECT_EQ(saved, SaveBytes(reloaded));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MarkupKept,
    ::testing::Values(
        ReaderCase{"FontconfigProlog",
                   "<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n<!-- head -->\n"
                   "<fontconfig>\n <!-- first -->\n <dir>x</dir>\n <!-- last -->\n</fontconfig>\n"
                   "<!-- tail -->\n",
                   "#markup <!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
                   "#markup <!-- head -->\n"
                   "fontconfig text=[\\n]\n"
                   "  #markup <!-- first -->\n"
                   "  dir text=[x]\n"
                   "  #markup <!-- last -->\n"
                   "#markup <!-- tail -->\n",
                   "<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\"><!-- head -->"
                   "<fontconfig>\n<!-- first --><dir>x</dir><!-- last --></fontconfig>"
                   "<!-- tail -->"},
        ReaderCase{"DoctypeWithInternalSubset",
                   "<!DOCTYPE a [ <!ELEMENT a (#PCDATA)> <!-- ] > --> <!ENTITY e \"x>y\"> ]><a/>",
                   "#markup <!DOCTYPE a [ <!ELEMENT a (#PCDATA)> <!-- ] > --> "
                   "<!ENTITY e \"x>y\"> ]>\na\n",
                   "<!DOCTYPE a [ <!ELEMENT a (#PCDATA)> <!-- ] > --> <!ENTITY e \"x>y\"> ]><a/>"},
        ReaderCase{"CdataAndProcessingInstructionInContent", "<a><![CDATA[x<y>]]><?pi data?></a>",
                   "a\n  #markup <![CDATA[x<y>]]>\n  #markup <?pi data?>\n",
                   "<a><![CDATA[x<y>]]><?pi data?></a>"},
        ReaderCase{"CommentHoldingTags", "<a><!-- <b>not an element</b> --></a>",
                   "a\n  #markup <!-- <b>not an element</b> -->\n",
                   "<a><!-- <b>not an element</b> --></a>"},
        ReaderCase{"LeafWithTextAndComment", "<a>x<!--c--></a>", "a text=[x]\n  #markup <!--c-->\n",
                   "<a>x<!--c--></a>"},
        ReaderCase{"ProcessingInstructionBeforeTheRoot", "<?xml-stylesheet href=\"s\"?><a/>",
                   "#markup <?xml-stylesheet href=\"s\"?>\na\n",
                   "<?xml-stylesheet href=\"s\"?><a/>"}),
    [](const ::testing::TestParamInfo<ReaderCase>& info) { return info.param.name; });

TEST(XmlReaderMarkup, CommentsAreNotChildren) {
  TheXmlWriter document("", false);
  LoadBytes(document, "<?xml version=\"1.0\"?><a><!-- one --><b/><!-- two --><c/></a>");
  ASSERT_EQ(2, document.Root()->ChildCount());
  EXPECT_EQ(u"b", document.Root()->GetChild(0)->Name);
  EXPECT_EQ(u"c", document.Root()->GetChild(1)->Name);
  EXPECT_EQ(nullptr, document.Root()->FindChild(u"!--", true));
}

struct EncodingCase {
  const char* name;
  std::string bytes;
  TTypeChar encoding;
};

class EncodingDetection : public ::testing::TestWithParam<EncodingCase> {};

// Every form reads into the same tree; the byte-order mark and the declaration are no part of it.
TEST_P(EncodingDetection, ReadsTheSameTree) {
  const EncodingCase& c = GetParam();
  TheXmlWriter document("", false);
  LoadBytes(document, c.bytes);
  EXPECT_EQ(c.encoding, document.Encoding());
  EXPECT_EQ(c.encoding == tcUnicodeBE || c.encoding == tcUnicodeLE ? 2 : 1, document.CharWidth());
  EXPECT_EQ("корень a=[б] text=[тестовый текст]\n", DumpTree(document));
}

const std::u16string kRootElement = u"<корень a=\"б\">тестовый текст</корень>";
const std::u16string kUnicodeDeclaration = u"<?xml version=\"1.0\" encoding=\"unicode\"?>";

INSTANTIATE_TEST_SUITE_P(
    Forms, EncodingDetection,
    ::testing::Values(
        EncodingCase{"Utf8WithDeclaration", kUtf8Declaration + "\n" + Utf16ToUtf8(kRootElement),
                     tcUTF8},
        EncodingCase{"Utf8WithoutDeclaration", Utf16ToUtf8(kRootElement), tcUTF8},
        EncodingCase{"Utf8WithoutDeclarationAfterWhiteSpace", "\n  " + Utf16ToUtf8(kRootElement),
                     tcUTF8},
        EncodingCase{"Utf8MarkDeclarationDirectlyFollowedByRoot",
                     "\xEF\xBB\xBF" + kUtf8Declaration + Utf16ToUtf8(kRootElement), tcUTF8},
        EncodingCase{"Utf8MarkWithoutDeclaration", "\xEF\xBB\xBF" + Utf16ToUtf8(kRootElement),
                     tcUTF8},
        EncodingCase{"Utf8DeclaringUtf16StaysUtf8",
                     "<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + Utf16ToUtf8(kRootElement),
                     tcUTF8},
        EncodingCase{"Utf16LeMarkWithDeclaration",
                     "\xFF\xFE" + Utf16Le(kUnicodeDeclaration + kRootElement), tcUnicodeLE},
        EncodingCase{"Utf16LeMarkWithoutDeclaration", "\xFF\xFE" + Utf16Le(kRootElement),
                     tcUnicodeLE},
        EncodingCase{"Utf16LeWithoutMarkWithDeclaration",
                     Utf16Le(kUnicodeDeclaration + u"\r\n" + kRootElement), tcUnicodeLE},
        EncodingCase{"Utf16LeWithoutMarkOrDeclaration", Utf16Le(kRootElement), tcUnicodeLE},
        EncodingCase{"Utf16LeDeclaringUtf8StaysUtf16",
                     "\xFF\xFE" +
                         Utf16Le(u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + kRootElement),
                     tcUnicodeLE},
        EncodingCase{"Utf16BeMarkWithDeclaration",
                     "\xFE\xFF" + Utf16Be(kUnicodeDeclaration + kRootElement), tcUnicodeBE},
        EncodingCase{"Utf16BeWithoutMark", Utf16Be(kUnicodeDeclaration + kRootElement),
                     tcUnicodeBE},
        EncodingCase{"Windows1251Declared",
                     "<?xml version=\"1.0\" encoding=\"windows-1251\"?>" +
                         Utf16ToNarrow(kRootElement, true),
                     tcANSI}),
    [](const ::testing::TestParamInfo<EncodingCase>& info) { return info.param.name; });

TEST(XmlReaderEncoding, DeclaredWindows1251InAnyLetterCaseReadsAsAnsiAndSavesWith65001) {
  for (const char* declared : {"windows-1251", "WINDOWS-1251", "Windows-1251", "wInDoWs-1251"}) {
    SCOPED_TRACE(declared);
    TheXmlWriter document("", false);
    LoadBytes(document, std::string("<?xml version=\"1.0\" encoding=\"") + declared + "\"?>\n" +
                            "<a t=\"\xCF\xF0\xE8\xE2\xE5\xF2\">\xEC\xE8\xF0</a>");
    EXPECT_EQ(tcANSI, document.Encoding());
    EXPECT_EQ(u"Привет", document.Root()->GetAttribute(u"t", std::u16string()));
    EXPECT_EQ(u"мир", document.Root()->Text);
    EXPECT_EQ("<?xml version=\"1.0\" encoding=\"Windows-65001\"?>"
              "<a t=\"\xCF\xF0\xE8\xE2\xE5\xF2\">\xEC\xE8\xF0</a>",
              SaveBytes(document));
  }
}

TEST(XmlReaderShortFiles, FewerThan24BytesGiveAnEmptyDocumentWithoutError) {
  const std::string full = "<abcdefghijklmnopqrstu/>"; // 24 bytes
  ASSERT_EQ(24u, full.size());
  for (std::size_t size : {0u, 1u, 10u, 23u}) {
    SCOPED_TRACE(size);
    TheXmlWriter document("", false);
    document.SetEncoding(tcUnicodeBE);
    LoadBytes(document, "<a/>");
    document.AddNode(nullptr, u"old");
    LoadBytes(document, full.substr(0, size));
    EXPECT_EQ(nullptr, document.Root());
    EXPECT_EQ(tcUnicodeBE, document.Encoding()) << "the encoding survives a short load";
  }
  TheXmlWriter document("", false);
  LoadBytes(document, full);
  ASSERT_NE(nullptr, document.Root());
  EXPECT_EQ(u"abcdefghijklmnopqrstu", document.Root()->Name);
  EXPECT_EQ(tcUTF8, document.Encoding());
}

TEST(XmlReaderShortFiles, SavingTheEmptyDocumentFailsAndLeavesTheFileAsItWas) {
  TempFolder folder;
  const std::filesystem::path path = folder.File("short.xml");
  WriteFile(path, "<a>short</a>");
  TheXmlWriter document(path.string(), true);
  EXPECT_EQ(nullptr, document.Root());
  try {
    document.Save();
    FAIL() << "saved an empty document";
  } catch (const EGeneral& error) {
    EXPECT_STREQ("Can not save empty xml document!", error.what());
  }
  EXPECT_EQ("<a>short</a>", ReadFile(path));
}

// A buffer cut anywhere before the root's end tag is refused; the document is left empty rather
// than half read, so that nothing saves a truncated copy over the user's file.
TEST(XmlReaderTruncation, EveryCutBeforeTheRootEndsIsRefused) {
  const std::u16string text =
      u"<?xml version=\"1.0\" encoding=\"unicode\"?>\n<!DOCTYPE r [ <!ENTITY e \"v\"> ]>"
      u"<!-- c --><r a=\"1\" b='2'>\n <x>текст</x><?p i?><![CDATA[<z>]]>\n <y k=v/>\n</r>"
      u"\n<!-- after -->\n";
  const std::size_t rootEnd = text.find(u"</r>") + 4;
  struct Form {
    const char* name;
    std::string bytes;
    std::size_t rootEndByte;
  };
  const std::string utf8 = Utf16ToUtf8(text);
  const Form forms[] = {
      {"UTF-8", utf8, Utf16ToUtf8(text.substr(0, rootEnd)).size()},
      {"UTF-16LE", "\xFF\xFE" + Utf16Le(text), 2 + 2 * rootEnd},
  };
  for (const Form& form : forms) {
    SCOPED_TRACE(form.name);
    for (std::size_t size = 24; size < form.bytes.size(); ++size) {
      const std::string cut = form.bytes.substr(0, size);
      if (size < form.rootEndByte) {
        ExpectLoadError(cut, form.name + std::string(" cut at ") + std::to_string(size));
      } else {
        TheXmlWriter document("", false);
        EXPECT_NO_THROW(LoadBytes(document, cut)) << size;
        EXPECT_EQ(2, document.Root()->ChildCount()) << size;
      }
    }
  }
}

TEST(XmlReaderTruncation, MalformedBuffersAreRefused) {
  const std::string declaration = "<?xml version=\"1.0\"?>";
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"declaration without end", "<?xml version=\"1.0\" encoding=\"UTF-8\" "},
      {"only a declaration", declaration + "\n   "},
      {"text before the root", declaration + "text<a/>"},
      {"unterminated comment in the prolog", declaration + "<!-- <a/>"},
      {"unterminated doctype", declaration + "<!DOCTYPE a [ <a/>"},
      {"element name without end", declaration + "<abcdefgh"},
      {"unterminated attribute value", declaration + "<a x=\"1/>"},
      {"unquoted value holding a quote", declaration + "<a x=b\"c'd/>"},
      {"empty element name", declaration + "<><b/></>"},
      {"unclosed child", declaration + "<a><b></a>"},
  };
  for (const auto& c : cases)
    ExpectLoadError(c.bytes, c.what);
}

TEST(XmlReaderNesting, DeepNestingIsRefusedBeforeItCanExhaustTheStack) {
  auto nested = [](int depth) {
    std::string text = "<?xml version=\"1.0\"?>";
    for (int i = 0; i < depth; ++i)
      text += "<e>";
    for (int i = 0; i < depth; ++i)
      text += "</e>";
    return text;
  };
  TheXmlWriter document("", false);
  EXPECT_NO_THROW(LoadBytes(document, nested(256)));
  ExpectLoadError(nested(257), "257 levels");
  ExpectLoadError(nested(100000), "100000 levels");
}

TEST(XmlReaderEvents, OnAddNodeSeesEveryElementInDocumentOrderBeforeItsAttributes) {
  TheXmlWriter document("", false);
  std::vector<std::string> added;
  document.OnAddNode = [&](TheXmlNode* node) {
    added.push_back(U8(node->Name) + "/" + std::to_string(node->AttributeCount()) + "/" +
                    (node->Owner() == &document ? "owned" : "foreign"));
  };
  LoadBytes(document, "<?xml version=\"1.0\"?><a x=\"1\"><b y=\"2\"><c/></b><d/></a>");
  EXPECT_EQ((std::vector<std::string>{"a/0/owned", "b/0/owned", "c/0/owned", "d/0/owned"}), added);
}

TEST(XmlReaderFiles, LoadFromFileSetFileNameAndMissingFiles) {
  TempFolder folder;
  const std::filesystem::path first = folder.File("first.xml");
  const std::filesystem::path second = folder.File("second.xml");
  WriteFile(first, kUtf8Declaration + "<first/>");
  WriteFile(second, kUtf8Declaration + "<second/>");

  TheXmlWriter document(first.string(), true);
  EXPECT_EQ(u"first", document.Root()->Name);
  EXPECT_EQ(first.string(), document.FileName());

  document.Root()->Text = u"changed";
  document.SetFileName(first.string()); // same name: nothing is reloaded
  EXPECT_EQ(u"changed", document.Root()->Text);

  document.SetFileName(second.string());
  EXPECT_EQ(u"second", document.Root()->Name);
  EXPECT_EQ(second.string(), document.FileName());

  const std::filesystem::path missing = folder.File("missing.xml");
  document.LoadFromFile(missing.string());
  EXPECT_EQ(nullptr, document.Root());
  EXPECT_EQ(missing.string(), document.FileName());
  EXPECT_FALSE(std::filesystem::exists(missing));

  // A symbolic link is followed.
  const std::filesystem::path link = folder.File("link.xml");
  std::filesystem::create_symlink(first, link);
  TheXmlWriter linked(link.string(), true);
  ASSERT_NE(nullptr, linked.Root());
  EXPECT_EQ(u"first", linked.Root()->Name);
}

TEST(XmlReaderFiles, AConstructorThatFailsToLoadPassesTheErrorOn) {
  TempFolder folder;
  const std::filesystem::path path = folder.File("broken.xml");
  WriteFile(path, kUtf8Declaration + "<a><b></a>");
  EXPECT_THROW(TheXmlWriter(path.string(), true), EGeneral);
  EXPECT_NO_THROW(TheXmlWriter(path.string(), false));
}
