#include "mtterm/Cp1252.h"

#include <gtest/gtest.h>

namespace mts::termsim {
namespace {

TEST(Cp1252, EveryByteBecomesOneCharacter) {
  EXPECT_EQ(cp1252ToUtf8("A\xE7\xE3o"), "A\xC3\xA7\xC3\xA3o");
  EXPECT_EQ(cp1252ToUtf8("\x80\x84\x8C\x9F\xFF"),
            "\xE2\x82\xAC\xE2\x80\x9E\xC5\x92\xC5\xB8\xC3\xBF");
  // Undefined bytes and control bytes show as the replacement character.
  EXPECT_EQ(cp1252ToUtf8("\x81\x9D\x01"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(Cp1252, EveryDefinedByteComesBack) {
  for (int b = 0x20; b <= 0xFF; ++b) {
    if (b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) continue;
    const std::string byte(1, static_cast<char>(b));
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(byte)), byte) << "byte " << b;
  }
}

TEST(Cp1252, TextWindows1252CannotHoldIsRefused) {
  EXPECT_FALSE(utf8ToCp1252("\xE2\x98\x83"));  // a snowman
  EXPECT_FALSE(utf8ToCp1252("\xEF\xBF\xBD"));  // the replacement character itself
  EXPECT_FALSE(utf8ToCp1252("\xC3"));          // cut short
  EXPECT_FALSE(utf8ToCp1252("\xC0\x80"));      // overlong
  EXPECT_FALSE(utf8ToCp1252("\xE0\x81\x81"));  // overlong
  EXPECT_FALSE(utf8ToCp1252("\xA7"));          // a lone continuation byte
  EXPECT_EQ(utf8ToCp1252(""), std::string());
}

}  // namespace
}  // namespace mts::termsim
