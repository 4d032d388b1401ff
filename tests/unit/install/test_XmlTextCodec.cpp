// The XML editor's text conversions and byte searches.

#include <gtest/gtest.h>

#include "Exceptions.h"
#include "XmlByteSearch.h"
#include "XmlTextCodec.h"

namespace {

const uint8_t* Bytes(const std::string& text) {
  return reinterpret_cast<const uint8_t*>(text.data());
}

} // namespace

TEST(XmlTextCodec, Utf8AndUtf16ConvertBothWays) {
  const struct {
    std::string utf8;
    std::u16string utf16;
  } cases[] = {
      {"", u""},
      {"plain", u"plain"},
      {"\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82", u"Привет"},
      {"\xE2\x82\xAC", u"€"},
      {"\xF0\x9F\x98\x80", u"\U0001F600"}, // a surrogate pair
      {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.utf16, Utf8ToUtf16(c.utf8));
    EXPECT_EQ(c.utf16, Utf8ToUtf16(c.utf8.data(), c.utf8.size()));
    EXPECT_EQ(c.utf8, Utf16ToUtf8(c.utf16));
    EXPECT_EQ(c.utf8, Utf16ToUtf8(c.utf16.data(), c.utf16.size()));
  }
  EXPECT_EQ(u"Привет", Utf8ToUtf16("\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"));
  EXPECT_EQ(u"", Utf8ToUtf16(static_cast<const char*>(nullptr)));
}

// Bytes that are no UTF-8 survive a decode and an encode unchanged, so a user's file with a stray
// Latin-1 byte is written back as it was.
TEST(XmlTextCodec, InvalidUtf8BytesSurviveARoundTrip) {
  for (const std::string& bytes : {std::string("caf\xE9"), std::string("\xFF\xFE"),
                                   std::string("\xC0\xAF"),          // overlong /
                                   std::string("\xED\xA0\x80"),      // an encoded surrogate
                                   std::string("\xE2\x82"),          // cut sequence
                                   std::string("\xF4\x90\x80\x80"),  // above U+10FFFF
                                   std::string("ok\x80\xD0\x9F")}) { // stray continuation byte
    const std::u16string decoded = Utf8ToUtf16(bytes);
    EXPECT_EQ(bytes, Utf16ToUtf8(decoded));
  }
  EXPECT_EQ(u"caf\xDCE9", Utf8ToUtf16("caf\xE9"));
  // A lone surrogate that stands for no byte cannot be written as UTF-8.
  EXPECT_EQ("\xEF\xBF\xBD", Utf16ToUtf8(std::u16string(1, char16_t(0xD800))));
}

TEST(XmlTextCodec, NarrowCodePageIsWindows1251) {
  const std::string narrow = "\xCF\xF0\xE8\xE2\xE5\xF2 \xA8\xB8 \xB9";
  EXPECT_EQ(u"Привет Ёё №", NarrowToUtf16(narrow));
  EXPECT_EQ(narrow, Utf16ToNarrow(u"Привет Ёё №", true));
  EXPECT_EQ("\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xD0\x81\xD1\x91 \xE2\x84\x96",
            NarrowToUtf8(narrow));
  EXPECT_EQ("a?b", Utf16ToNarrow(u"a日b", false));
  EXPECT_THROW(Utf16ToNarrow(u"a日b", true), EConvertError);
  // 0x98 has no character in windows-1251; it is kept as the byte it was.
  EXPECT_EQ("x\x98y", Utf16ToNarrow(NarrowToUtf16("x\x98y"), true));
}

TEST(XmlTextCodec, DecodeTextPerEncoding) {
  const std::string be("\x04\x1F\x00\x41", 4), le("\x1F\x04\x41\x00", 4);
  EXPECT_EQ(u"ПA", DecodeText(Bytes(be), 4, tcUnicodeBE));
  EXPECT_EQ(u"ПA", DecodeText(Bytes(le), 4, tcUnicodeLE));
  EXPECT_EQ(u"П", DecodeText(Bytes(le), 3, tcUnicodeLE)) << "an odd last byte is left out";
  EXPECT_EQ(u"П", DecodeText(Bytes("\xD0\x9F"), 2, tcUTF8));
  EXPECT_EQ(u"П", DecodeText(Bytes("\xCF"), 1, tcANSI));
  EXPECT_EQ(u"", DecodeText(Bytes(le), -1, tcUnicodeLE)) << "a search that found nothing";
  EXPECT_EQ(u"", DecodeText(Bytes(le), 0, tcUTF8));
  EXPECT_EQ("\xCF", DecodeTextNarrow(Bytes("\xD0\x9F"), 2, tcUTF8));
}

TEST(XmlTextCodec, SwapBytesExchangesTheBytesOfEveryUnit) {
  EXPECT_EQ(std::u16string(u"\x3C00\x1F04"), SwapBytes(u"<П"));
  EXPECT_EQ(u"<П", SwapBytes(SwapBytes(u"<П")));
  EXPECT_EQ(std::string("\x00<\x04\x1F", 4), Utf16ToBytes(u"<П", true));
  EXPECT_EQ(std::string("<\x00\x1F\x04", 4), Utf16ToBytes(u"<П", false));
}

TEST(XmlByteSearch, SearchesMoveOneByteAndIncludeTheLastFittingOffset) {
  const std::string buffer("ab<\0c\0>\0", 8);
  const uint8_t* start = Bytes(buffer);
  const uint8_t gEq[] = {'c', 0};
  EXPECT_EQ(4, FindBytes(start, 8, gEq, 2));
  EXPECT_EQ(-1, FindBytes(start, 5, gEq, 2)) << "the pattern must fit in the window";
  EXPECT_EQ(4, FindBytes(start, 6, gEq, 2)) << "the last fitting offset is examined";

  EXPECT_EQ(2, FindSign(start, 8, '<', 1));
  EXPECT_EQ(2, FindSign(start, 8, '<', 2));
  EXPECT_EQ(5, FindSign(start + 1, 7, '>', 2)) << "from an odd start, found on its boundary";
  EXPECT_EQ(-1, FindSign(start, 7, '>', 2)) << "a word needs two bytes inside the window";
  EXPECT_EQ(-1, FindSign(start, 0, 'a', 1));

  const uint16_t ends[] = {' ', '/', '>'};
  EXPECT_EQ(6, FindAnySign(start, 8, ends, 3, 2));
  EXPECT_EQ(6, FindAnySign(start, 8, ends, 3, 1));

  EXPECT_EQ(1, FindByte(start, 8, 'b'));
  const uint8_t anyOf[] = {'x', 'c', '<'};
  EXPECT_EQ(2, FindAnyByte(start, 8, anyOf, 3));
  EXPECT_EQ(3, FindWord(start, 8, 0x6300)) << "bytes 00 63 read little-endian";
  const uint16_t words[] = {0x003E, 0x0063};
  EXPECT_EQ(4, FindAnyWord(start, 8, words, 2));
  EXPECT_EQ(-1, FindAnyWord(start, 8, words, 0));
}

TEST(XmlByteSearch, BigEndianSignsMatchTheirBytesReadAsLittleEndianWords) {
  const std::string buffer("\x00<\x00"
                           "a\x00>",
                           6);
  EXPECT_EQ(0, FindSign(Bytes(buffer), 6, 0x3C00, 2));
  EXPECT_EQ(4, FindSign(Bytes(buffer), 6, 0x3E00, 2));
}
