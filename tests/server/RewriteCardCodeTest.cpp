#include "server/RewriteCardCode.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace mts {
namespace {

TEST(RewriteCardCode, KeypadGroupsBecomeTheirLetters) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {".1.0123456789", "OP0123456789"},
      {".1.00000000071", "OP00000000071"},
      {"9.2.4567", "9SL4567"},
      {"9.3.4567", "9ST4567"},
      {"9.4.4567", "9AM4567"},
      {"9.5.4567", "9AR4567"},
      {"9.2.", "9SL"},
      // Three characters or fewer stay as typed, even a whole group.
      {".1.", ".1."},
      {".2", ".2"},
      {"", ""},
      // Groups anywhere else, or other digits between the points, do not count.
      {"1.1.2345", "1.1.2345"},
      {"99.2.456", "99.2.456"},
      {".6.12345", ".6.12345"},
      {"9.6.4567", "9.6.4567"},
      {"00010100010000", "00010100010000"},
      {".2.12345", ".2.12345"},
  };
  for (const auto& [typed, rewritten] : cases) {
    EXPECT_EQ(RewriteCardCode(typed), rewritten) << typed;
  }
}

}  // namespace
}  // namespace mts
