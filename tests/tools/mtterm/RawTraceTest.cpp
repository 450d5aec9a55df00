#include "mtterm/RawTrace.h"

#include <gtest/gtest.h>

#include <sstream>

namespace mts::termsim {
namespace {

TEST(RawTrace, LongChunksSplitIntoAlignedLinesOfSixteen) {
  EXPECT_EQ(formatTraffic(412, "<<",
                          "\x1B[H\x1B[JCRACHA:\x02"
                          "D\xC7\x03"),
            "+    412 ms << 1B 5B 48 1B 5B 4A 43 52 41 43 48 41 3A 02 44 C7  |.[H.[JCRACHA:.D.|\n"
            "+    412 ms << 03                                               |.|\n");
  EXPECT_EQ(formatTraffic(0, ">>", ""), "");
}

TEST(RawTrace, WritesEachDirectionAsItHappens) {
  std::ostringstream out;
  RawTrace trace(out);
  trace.sent("1");
  trace.received("1");
  const std::string text = out.str();
  EXPECT_NE(text.find(" >> 31 "), std::string::npos) << text;
  EXPECT_LT(text.find(" >> 31 "), text.find(" << 31 ")) << text;
}

}  // namespace
}  // namespace mts::termsim
