#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "Base64.h"
#include "SchemaTestSupport.h"
#include "uSchemaUtils.h"

using schema_test::ReadFile;
using schema_test::WriteFile;
using testsupport::TempFolder;

namespace {

const char* const kConfigKeyHex = "3b07d2e96a4f1058c3e72b946d0a5f81";
const char* const kOtherKeyHex = "7e2a94c0d358b16f0a3c7d25e81b49f6";

std::string Decoded(const std::string& base64) {
  std::string bytes;
  EXPECT_TRUE(platform::Base64Decode(base64, bytes)) << base64;
  return bytes;
}

// Encrypts the padded bytes with the openssl command-line tool and gives the Base64 text.
std::string EncryptWithOpenSsl(const std::string& padded, const char* keyHex) {
  TempFolder folder;
  WriteFile(folder.File("plain"), padded);
  const std::string command = std::string("openssl enc -aes-128-ecb -nopad -K ") + keyHex +
                              " -in " + folder.File("plain") + " -out " + folder.File("cipher");
  if (std::system(command.c_str()) != 0)
    return "openssl failed";
  return platform::Base64Encode(ReadFile(folder.File("cipher")));
}

// The final-block rule: the rest after whole blocks, zero bytes, and the rest's length last.
std::string Padded(const std::string& plain) {
  const std::size_t rest = plain.size() % 16;
  std::string padded = plain + std::string(16 - rest, '\0');
  padded.back() = static_cast<char>(rest);
  return padded;
}

TEST(ConfigCipher, AgreesWithTheOpensslToolForBothKeys) {
  if (std::system("openssl version >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "the openssl tool is not installed";
  const std::string texts[] = {"pkg=0;1;\nlink=0;1;\n", "0123456789abcdef", "x",
                               std::string(40, 'z')};
  for (const auto& text : texts) {
    EXPECT_EQ(EncryptText(text, 2), EncryptWithOpenSsl(Padded(text), kConfigKeyHex)) << text;
    EXPECT_EQ(EncryptText(text, 1), EncryptWithOpenSsl(Padded(text), kOtherKeyHex)) << text;
    EXPECT_EQ(EncryptText(text, 7), EncryptText(text, 1)) << "any other selector: second key";
  }
}

TEST(ConfigCipher, SizesFollowTheFinalBlockRule) {
  const std::string record = "pkg=0;1;\nlink=0;1;\n";
  ASSERT_EQ(record.size(), 19u);
  const std::string cipher = EncryptText(record, 2);
  EXPECT_EQ(cipher.size(), 44u);
  EXPECT_EQ(Decoded(cipher).size(), 32u);
  EXPECT_EQ(cipher.find('\n'), std::string::npos);

  const std::string sixteen = EncryptText("0123456789abcdef", 2);
  EXPECT_EQ(Decoded(sixteen).size(), 32u);
  EXPECT_EQ(DecryptText(sixteen, 2), "0123456789abcdef");
  EXPECT_EQ(EncryptText("", 2), "");
}

TEST(ConfigCipher, DecryptionReversesEncryptionUnderTheSameKeyOnly) {
  const std::string texts[] = {"pkg=0;1;\nlink=0;1;\n", "a", "пакеты=0;\n", std::string(33, 'q')};
  for (const auto& text : texts)
    EXPECT_EQ(DecryptText(EncryptText(text, 2), 2), text);
  // Under the other key the final block's count byte is almost surely above 16.
  EXPECT_NE(DecryptText(EncryptText("pkg=0;1;\nlink=0;1;\n", 2), 1), "pkg=0;1;\nlink=0;1;\n");
}

TEST(ConfigCipher, MalformedCipherTextGivesEmptyText) {
  const std::string good = EncryptText("pkg=0;1;\nlink=0;1;\n", 2);
  std::string withSpace = good;
  withSpace[3] = ' ';
  std::string withTilde = good;
  withTilde[5] = '~';
  std::string withColon = good;
  withColon[5] = ':';
  const std::string malformed[] = {
      "",
      withSpace,                                    // below "+"
      withTilde,                                    // above "z"
      withColon,                                    // inside the range, not in the alphabet
      good.substr(0, 43),                           // cut short
      platform::Base64Encode(std::string(15, 'x')), // less than one block
      good + "\n",
  };
  for (const auto& text : malformed)
    EXPECT_EQ(DecryptText(text, 2), "") << text;
}

TEST(ConfigCipher, TheFinalBlockCountDecidesWhatIsKept) {
  // A final block whose count is 16 keeps it whole; above 16 nothing is accepted.
  if (std::system("openssl version >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "the openssl tool is not installed";
  std::string block(16, 'b');
  block[15] = 16;
  const std::string whole = EncryptWithOpenSsl(block, kConfigKeyHex);
  std::string expected(16, 'b');
  expected[15] = 16;
  EXPECT_EQ(DecryptText(whole, 2), expected);
  block[15] = 17;
  EXPECT_EQ(DecryptText(EncryptWithOpenSsl(block, kConfigKeyHex), 2), "");

  // 20 decoded bytes: the first 16 are the final block, the trailing 4 are ignored.
  const std::string oneBlock = Decoded(EncryptText("abc", 2));
  EXPECT_EQ(DecryptText(platform::Base64Encode(oneBlock + "tail"), 2), "abc");
}

} // namespace
