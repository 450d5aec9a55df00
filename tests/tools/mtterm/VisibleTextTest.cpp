#include "mtterm/VisibleText.h"

#include <gtest/gtest.h>

namespace mts::termsim {
namespace {

TEST(VisibleText, EveryByteIsOneVisibleCharacter) {
  const std::string replacement = "\xEF\xBF\xBD";
  struct Case {
    std::string bytes;
    std::string shown;
  };
  const Case cases[]{
      {"A\xE7\xE3o", "A\xC3\xA7\xC3\xA3o"},
      {"\x80\x84\x8C\x9F\xFF", "\xE2\x82\xAC\xE2\x80\x9E\xC5\x92\xC5\xB8\xC3\xBF"},
      // Controls the console would obey, and the bytes Windows-1252 leaves undefined.
      {std::string("\x00\x01\x1B\x7F", 4), replacement + replacement + replacement + replacement},
      {"\x81\x8D\x8F\x90\x9D", replacement + replacement + replacement + replacement + replacement},
      {" ~\xA0", " ~\xC2\xA0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    EXPECT_EQ(visibleUtf8(c.bytes), c.shown);
  }
}

}  // namespace
}  // namespace mts::termsim
