#include <gtest/gtest.h>

#include <string>

#include "Aes128Ecb.h"
#include "Base64.h"

namespace {

std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

TEST(Aes128Ecb, MatchesTheFips197KnownAnswerBothWays) {
  const std::string key = FromHex("000102030405060708090a0b0c0d0e0f");
  const std::string plain = FromHex("00112233445566778899aabbccddeeff");
  const std::string cipher = FromHex("69c4e0d86a7b0430d8cdb78070b4c55a");
  EXPECT_EQ(platform::Aes128EcbEncrypt(key, plain), cipher);
  EXPECT_EQ(platform::Aes128EcbDecrypt(key, cipher), plain);
  // ECB: equal blocks give equal cipher blocks, and no padding block is added.
  EXPECT_EQ(platform::Aes128EcbEncrypt(key, plain + plain), cipher + cipher);
}

TEST(Aes128Ecb, RefusesWrongKeyAndDataLengths) {
  const std::string key(16, 'k');
  EXPECT_THROW(platform::Aes128EcbEncrypt(std::string(15, 'k'), std::string(16, 'x')), EGeneral);
  EXPECT_THROW(platform::Aes128EcbEncrypt(key, std::string(17, 'x')), EGeneral);
  EXPECT_THROW(platform::Aes128EcbDecrypt(key, std::string(5, 'x')), EGeneral);
  EXPECT_EQ(platform::Aes128EcbEncrypt(key, ""), "");
}

TEST(Base64, EncodesTheRfc4648Vectors) {
  const std::pair<const char*, const char*> vectors[] = {{"", ""},
                                                         {"f", "Zg=="},
                                                         {"fo", "Zm8="},
                                                         {"foo", "Zm9v"},
                                                         {"foob", "Zm9vYg=="},
                                                         {"fooba", "Zm9vYmE="},
                                                         {"foobar", "Zm9vYmFy"}};
  for (const auto& [plain, encoded] : vectors) {
    EXPECT_EQ(platform::Base64Encode(plain), encoded);
    std::string decoded = "unchanged";
    EXPECT_TRUE(platform::Base64Decode(encoded, decoded)) << encoded;
    EXPECT_EQ(decoded, plain);
  }
}

TEST(Base64, RoundTripsEveryByteValue) {
  std::string bytes;
  for (int i = 0; i < 256; ++i)
    bytes += static_cast<char>(i);
  const std::string encoded = platform::Base64Encode(bytes);
  EXPECT_EQ(encoded.find_first_not_of(
                "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/="),
            std::string::npos);
  std::string decoded;
  ASSERT_TRUE(platform::Base64Decode(encoded, decoded));
  EXPECT_EQ(decoded, bytes);
}

TEST(Base64, RejectsMalformedTextWithoutTouchingTheOutput) {
  const char* malformed[] = {
      "Zg=",         // cut short
      "Zm9vY",       // cut short
      "Zg==Zm8=",    // padding before the end
      "Z===",        // too much padding
      "====",        //
      "Zm:v",        // inside the range of the alphabet, not in it
      "Zm9v\n",      // line break
      "Zm 9v",       // blank
      "Zm9\xd0\x96", // non-ASCII
  };
  for (const char* text : malformed) {
    std::string decoded = "unchanged";
    EXPECT_FALSE(platform::Base64Decode(text, decoded)) << text;
    EXPECT_EQ(decoded, "unchanged");
  }
}

} // namespace
