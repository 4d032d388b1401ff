// The RTF reader behind the licence view: code page escapes, Unicode, formatting, paragraphs and
// the destinations that must not leak into the text.

#include <gtest/gtest.h>

#include "RtfReader.h"

using platform::ParseRtf;
using platform::RtfRun;

namespace {

struct PlainCase {
  const char* Name;
  const char* Rtf;
  const char* Expected;
};

class RtfPlainText : public ::testing::TestWithParam<PlainCase> {};

TEST_P(RtfPlainText, GivesTheDocumentText) {
  EXPECT_EQ(ParseRtf(GetParam().Rtf).PlainText(), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RtfPlainText,
    ::testing::Values(
        PlainCase{"Cp1251Escapes", R"({\rtf1\ansi\ansicpg1251 \'cb\'e8\'f6\'e5\'ed\'e7\'e8\'ff})",
                  "Лицензия"},
        PlainCase{"UpperCaseHex", R"({\rtf1\ansi\ansicpg1251 \'C0\'E1})", "Аб"},
        PlainCase{"UnicodeSkipsItsFallback", R"({\rtf1\ansi \u1044\'c4\u1072?})", "Да"},
        PlainCase{"NegativeUnicode", R"({\rtf1 \u-3913?})", "\xEF\x82\xB7"},
        PlainCase{"UcZeroHasNoFallback", R"({\rtf1\uc0 \u1071 x})", "Яx"},
        PlainCase{"UcTwoSkipsTwo", R"({\rtf1\uc2 \u1071\'3f\'3fz})", "Яz"},
        PlainCase{"ParagraphsAndLines", R"({\rtf1 one\par two\line three\par})", "one\ntwo\nthree"},
        PlainCase{"RawLineBreaksAreNotText", "{\\rtf1 a\r\nb}", "ab"},
        PlainCase{"EscapedSpecials", R"({\rtf1 a\\b\{c\}})", "a\\b{c}"},
        PlainCase{"TabAndNoBreakSpace", R"({\rtf1 a\tab b\~c})",
                  "a\tb\xC2\xA0"
                  "c"},
        PlainCase{"SkipsFontColourStyleTables",
                  R"({\rtf1\ansi\ansicpg1251{\fonttbl{\f0\fswiss Arial;}{\f1 Times;}})"
                  R"({\colortbl;\red255\green0\blue0;}{\stylesheet{\s0 Normal;}})"
                  R"({\*\generator Writer;}{\info{\title T}}Text})",
                  "Text"},
        PlainCase{"SkipsUnknownIgnorableDestination", R"({\rtf1 a{\*\unknowndest junk}b})", "ab"},
        PlainCase{"KeepsUnknownPlainGroup", R"({\rtf1 a{\unknownword b}c})", "abc"},
        PlainCase{"ToleratesUnbalancedGroups", R"({\rtf1 a}}b{)", "ab"},
        PlainCase{"TruncatedEscape", R"({\rtf1 a\')", "a"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(RtfFormatting, BoldAndItalicRunsFollowGroupsAndSwitches) {
  platform::RtfDocument doc =
      ParseRtf(R"({\rtf1 plain {\b bold {\i both}} \i it\i0 \b b\plain  p})");
  ASSERT_EQ(doc.Paragraphs.size(), 1u);
  std::vector<RtfRun> expected = {
      {"plain ", false, false}, {"bold ", true, false}, {"both", true, true}, {" ", false, false},
      {"it", false, true},      {"b", true, false},     {" p", false, false}};
  EXPECT_EQ(doc.Paragraphs[0], expected);
}

TEST(RtfFormatting, FormattingChangeInsideEscapedBytesSplitsRuns) {
  platform::RtfDocument doc = ParseRtf(R"({\rtf1\ansicpg1251 \'c0{\b \'c1}\'c2})");
  std::vector<RtfRun> expected = {{"А", false, false}, {"Б", true, false}, {"В", false, false}};
  EXPECT_EQ(doc.Paragraphs.at(0), expected);
}

TEST(RtfParagraphs, EachParKeepsItsOwnRunsAndEmptyParagraphsStay) {
  platform::RtfDocument doc = ParseRtf(R"({\rtf1 {\b Title}\par\par body\par})");
  ASSERT_EQ(doc.Paragraphs.size(), 3u);
  EXPECT_EQ(doc.Paragraphs[0], (platform::RtfParagraph{{"Title", true, false}}));
  EXPECT_TRUE(doc.Paragraphs[1].empty());
  EXPECT_EQ(doc.Paragraphs[2], (platform::RtfParagraph{{"body", false, false}}));
}

TEST(RtfCodePage, UnknownCodePageKeepsAsciiAndMarksTheRest) {
  EXPECT_EQ(ParseRtf(R"({\rtf1\ansicpg99999 a\'e9b})").PlainText(), "a?b");
}

} // namespace
