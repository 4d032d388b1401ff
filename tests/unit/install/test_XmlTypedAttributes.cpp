// Typed and binary attribute accessors.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "Exceptions.h"
#include "XmlWriter.h"

namespace {

class TypedAttributes : public ::testing::Test {
protected:
  TheXmlWriter document{"", false};
  TheXmlNode* node = document.AddNode(nullptr, u"n");
};

} // namespace

TEST_F(TypedAttributes, BooleansReadNumbersAndTrueFalseInAnyCase) {
  const struct {
    const char16_t* text;
    bool expected;
  } readable[] = {
      {u"1", true},    {u"-1", true},     {u"2", true},      {u"0.5", true},
      {u"True", true}, {u"TRUE", true},   {u"true", true},   {u"0", false},
      {u"0.0", false}, {u"False", false}, {u"FALSE", false}, {u"-0", false},
  };
  for (const auto& c : readable) {
    node->SetAttribute(u"b", std::u16string(c.text));
    EXPECT_EQ(c.expected, node->GetAttributeBool(u"b", !c.expected)) << Utf16ToUtf8(c.text);
  }
  for (const char16_t* bad : {u"yes", u"", u"1x", u"t"}) {
    node->SetAttribute(u"b", std::u16string(bad));
    EXPECT_THROW(node->GetAttributeBool(u"b", false), EConvertError);
  }
  EXPECT_TRUE(node->GetAttributeBool(u"missing", true));
  EXPECT_FALSE(node->GetAttributeBool(u"missing", false));

  node->SetAttributeBool(u"w", true);
  EXPECT_EQ(u"-1", node->GetAttribute(u"w", std::u16string()));
  node->SetAttributeBool(u"w", false);
  EXPECT_EQ(u"0", node->GetAttribute(u"w", std::u16string()));
}

TEST_F(TypedAttributes, IntegersReadSixtyFourBitsAndTheNarrowFormKeepsTheLow32) {
  const struct {
    const char16_t* text;
    int64_t asInt64;
    int32_t asInt;
  } readable[] = {
      {u"0", 0, 0},
      {u"-17", -17, -17},
      {u"+5", 5, 5},
      {u"2147483647", 2147483647, 2147483647},
      {u"4294967296", 4294967296LL, 0},
      {u"4294967295", 4294967295LL, -1},
      {u"-9223372036854775808", std::numeric_limits<int64_t>::min(), 0},
  };
  for (const auto& c : readable) {
    node->SetAttribute(u"i", std::u16string(c.text));
    EXPECT_EQ(c.asInt64, node->GetAttributeInt64(u"i", 99));
    EXPECT_EQ(c.asInt, node->GetAttributeInt(u"i", 99));
  }
  for (const char16_t* bad : {u"", u"1.5", u"12a", u" 1", u"9223372036854775808", u"+-1"}) {
    node->SetAttribute(u"i", std::u16string(bad));
    EXPECT_THROW(node->GetAttributeInt64(u"i", 0), EConvertError);
    EXPECT_THROW(node->GetAttributeInt(u"i", 0), EConvertError);
  }
  EXPECT_EQ(42, node->GetAttributeInt(u"missing", 42));
  EXPECT_EQ(-42, node->GetAttributeInt64(u"missing", -42));

  node->SetAttributeInt(u"w", -123);
  EXPECT_EQ(u"-123", node->GetAttribute(u"w", std::u16string()));
  node->SetAttributeInt64(u"w", std::numeric_limits<int64_t>::max());
  EXPECT_EQ(u"9223372036854775807", node->GetAttribute(u"w", std::u16string()));
}

TEST_F(TypedAttributes, FloatsUseAPointAndAtMostFifteenSignificantDigits) {
  const struct {
    double value;
    const char16_t* written;
  } cases[] = {
      {0.0, u"0"},
      {1.5, u"1.5"},
      {-2.25, u"-2.25"},
      {0.1, u"0.1"},
      {1e20, u"1E20"},
      {1.5e-10, u"1.5E-10"},
      {1.0 / 3.0, u"0.333333333333333"},
  };
  for (const auto& c : cases) {
    node->SetAttributeFloat(u"f", c.value);
    EXPECT_EQ(std::u16string(c.written), node->GetAttribute(u"f", std::u16string()));
    EXPECT_NEAR(c.value, node->GetAttributeFloat(u"f", 99), std::fabs(c.value) * 1e-14);
  }
  node->SetAttribute(u"f", u"2.5e3");
  EXPECT_EQ(2500.0, node->GetAttributeFloat(u"f", 0));
  for (const char16_t* bad : {u"", u"1,5", u"abc", u"1.5x"}) {
    node->SetAttribute(u"f", std::u16string(bad));
    EXPECT_THROW(node->GetAttributeFloat(u"f", 0), EConvertError);
  }
  EXPECT_EQ(7.5, node->GetAttributeFloat(u"missing", 7.5));
}

TEST_F(TypedAttributes, BinaryValuesAreUpperCaseHexWithTwoZeroBytesAfterTheData) {
  const uint8_t bytes[] = {0x01, 0xAB};
  node->SetAttributeBinary(u"b", bytes, 2);
  EXPECT_EQ(u"01AB", node->GetAttribute(u"b", std::u16string()));

  const uint8_t* data = nullptr;
  int32_t count = -1;
  ASSERT_TRUE(node->GetAttributeBinary(u"b", data, count));
  EXPECT_EQ(2, count);
  EXPECT_EQ(0, std::memcmp(data, "\x01\xAB\x00\x00", 4));

  node->SetAttribute(u"b", u"ff0a");
  ASSERT_TRUE(node->GetAttributeBinary(u"b", data, count));
  EXPECT_EQ(0, std::memcmp(data, "\xFF\x0A\x00\x00", 4)) << "lower-case digits are read too";
}

TEST_F(TypedAttributes, BinaryDecodingStopsAtTheFirstPairThatIsNotHex) {
  const uint8_t* data = nullptr;
  int32_t count = 0;
  node->SetAttribute(u"b", u"11223344");
  ASSERT_TRUE(node->GetAttributeBinary(u"b", data, count));
  node->SetAttribute(u"b", u"AAzzBB");
  ASSERT_TRUE(node->GetAttributeBinary(u"b", data, count));
  EXPECT_EQ(3, count);
  // AA decoded; the pair zz stops decoding, so byte 2 keeps what the earlier read left there
  // (33) and only the two bytes after the data are zeroed.
  EXPECT_EQ(0, std::memcmp(data, "\xAA\x22\x33\x00\x00", 5));
}

TEST_F(TypedAttributes, BinaryReadsOfMissingOrShortValuesGiveFalse) {
  const uint8_t* data = nullptr;
  int32_t count = 5;
  EXPECT_FALSE(node->GetAttributeBinary(u"missing", data, count));
  EXPECT_EQ(0, count);
  node->SetAttribute(u"b", u"A");
  EXPECT_FALSE(node->GetAttributeBinary(u"b", data, count));
  EXPECT_EQ(0, count);
  EXPECT_EQ(nullptr, data);

  node->SetAttributeBinary(u"e", nullptr, 0);
  EXPECT_TRUE(node->HasAttribute(u"e"));
  EXPECT_EQ(u"", node->GetAttribute(u"e", std::u16string(u"x")));
}
