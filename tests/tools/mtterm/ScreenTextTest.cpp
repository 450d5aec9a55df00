#include "mtterm/ScreenText.h"

#include <gtest/gtest.h>

#include "mtterm/ProtocolInterpreter.h"

namespace mts::termsim {
namespace {

TEST(ScreenText, SnapshotHasFixedWidthRowsLedsAndCursor) {
  ProtocolInterpreter interpreter(Dialect::Vt100);
  interpreter.feed("\x1B[HJO\xC3O\x1B[02;01HFICHA:12\x1B[lgl");
  EXPECT_EQ(formatSnapshot(interpreter.screen()),
            "|JO\xC3\x83O                |\n"
            "|FICHA:12            |\n"
            "|                    |\n"
            "|                    |\n"
            "LED red=off green=on\n"
            "CURSOR row=1 col=8\n");
}

TEST(ScreenText, CursorPastTheDisplayIsReported) {
  ProtocolInterpreter interpreter(Dialect::StxEtx);
  interpreter.feed(
      "\x1B[lrl\x02"
      "C10005\x03");
  const std::string snapshot = formatSnapshot(interpreter.screen());
  EXPECT_NE(snapshot.find("LED red=on green=off\nCURSOR row=100 col=5\n"), std::string::npos)
      << snapshot;
}

TEST(ScreenText, TextIsFoundInARowOrWrappedIntoTheNext) {
  ProtocolInterpreter interpreter(Dialect::Vt100);
  interpreter.feed("\x1B[01;15HFICHA NAO ATUALIZADA\x1B[04;01HFIM");
  const TerminalScreen& screen = interpreter.screen();
  EXPECT_TRUE(screenShows(screen, "FICHA NAO ATUALIZADA"));
  EXPECT_TRUE(screenShows(screen, "FIM"));
  EXPECT_FALSE(screenShows(screen, "FICHA NAO ATUALIZADAS"));
  EXPECT_FALSE(screenShows(screen, "CRACHA"));
}

}  // namespace
}  // namespace mts::termsim
