#include "routines/Windows1252Unicode.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace mts::text {
namespace {

// The bytes 80 to 9F in UTF-8, from the published Windows-1252 table; the
// undefined ones as the C1 control of the same value.
constexpr std::array<const char*, 32> kBlock80Utf8{
    "\xE2\x82\xAC", "\xC2\x81",     "\xE2\x80\x9A", "\xC6\x92",     "\xE2\x80\x9E", "\xE2\x80\xA6",
    "\xE2\x80\xA0", "\xE2\x80\xA1", "\xCB\x86",     "\xE2\x80\xB0", "\xC5\xA0",     "\xE2\x80\xB9",
    "\xC5\x92",     "\xC2\x8D",     "\xC5\xBD",     "\xC2\x8F",     "\xC2\x90",     "\xE2\x80\x98",
    "\xE2\x80\x99", "\xE2\x80\x9C", "\xE2\x80\x9D", "\xE2\x80\xA2", "\xE2\x80\x93", "\xE2\x80\x94",
    "\xCB\x9C",     "\xE2\x84\xA2", "\xC5\xA1",     "\xE2\x80\xBA", "\xC5\x93",     "\xC2\x9D",
    "\xC5\xBE",     "\xC5\xB8"};

// Outside 80 to 9F a byte is the Latin-1 character of its value.
std::string ExpectedUtf8(int byte) {
  if (byte < 0x80) return std::string(1, static_cast<char>(byte));
  if (byte <= 0x9F) return kBlock80Utf8[static_cast<std::size_t>(byte - 0x80)];
  return {static_cast<char>(0xC0 | (byte >> 6)), static_cast<char>(0x80 | (byte & 0x3F))};
}

TEST(Windows1252Unicode, EveryByteIsOneCharacterAndComesBackFromIt) {
  std::string all;
  std::string allUtf8;
  for (int byte = 0; byte < 256; ++byte) {
    const std::string one(1, static_cast<char>(byte));
    SCOPED_TRACE(testing::Message() << "byte " << std::hex << byte);
    EXPECT_EQ(Utf8FromWindows1252(one), ExpectedUtf8(byte));
    EXPECT_EQ(Windows1252FromUtf8(ExpectedUtf8(byte)), one);
    all += one;
    allUtf8 += ExpectedUtf8(byte);
  }
  EXPECT_EQ(Utf8FromWindows1252(all), allUtf8);
  EXPECT_EQ(Windows1252FromUtf8(allUtf8), all);
  EXPECT_EQ(Windows1252FromUtf8(""), std::string());
}

TEST(Windows1252Unicode, TextWindows1252CannotHoldIsRefusedOrSubstituted) {
  struct Case {
    const char* what;
    std::string utf8;
    std::string substituted;  // with '?' for what cannot be held
  };
  const Case cases[]{
      {"a snowman", "a\xE2\x98\x83z", "a?z"},
      {"the replacement character", "\xEF\xBF\xBD", "?"},
      {"a character beyond the basic plane", "\xF0\x9F\x91\x9E", "?"},
      {"cut short", "o\xC3", "o?"},
      {"two-byte overlong", "\xC0\x80", "??"},
      {"three-byte overlong of a Latin-1 letter", "\xE0\x83\xA9", "???"},
      {"a lone continuation byte", "\xA7", "?"},
      {"a lead byte without its continuation",
       "\xC3"
       "A",
       "?A"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(Windows1252FromUtf8(c.utf8));
    EXPECT_EQ(Windows1252FromUtf8Or(c.utf8, '?'), c.substituted);
  }
  EXPECT_EQ(Windows1252FromUtf8Or("Jo\xC3\xA3o \xE2\x82\xAC", '?'), "Jo\xE3o \x80");
}

}  // namespace
}  // namespace mts::text
