#include "server/TerminalScreen.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "support/ServerFakes.h"

namespace mts {
namespace {

using test::Journal;
using test::MakeConnection;
using test::ManualTimer;
using test::RecordingConnection;
using Writes = std::vector<std::string>;

const std::string kRedOn = "\x1B[lrl";
const std::string kRedOff = "\x1B[lrb";
const std::string kGreenOn = "\x1B[lgl";
const std::string kGreenOff = "\x1B[lgb";

// The literal commands of one dialect that the screen operations are built of.
struct DialectBytes {
  const char* name;
  bool stxEtx;
  std::string clear;
  std::string home;    // row 0, column 0
  std::string row1;    // row 1, column 0
  std::string row1c6;  // row 1, column 6
  std::string row3;    // row 3, column 0
  std::string (*write)(const std::string& text);
};

const DialectBytes kVt100{
    "Vt100",       false,         "\x1B[H\x1B[J", "\x1B[01;01H",
    "\x1B[02;01H", "\x1B[02;07H", "\x1B[04;01H",  [](const std::string& t) { return t; }};
const DialectBytes kStxEtx{"StxEtx",
                           true,
                           "\x02L\x03",
                           "\x02"
                           "C0000\x03",
                           "\x02"
                           "C0100\x03",
                           "\x02"
                           "C0106\x03",
                           "\x02"
                           "C0300\x03",
                           [](const std::string& t) {
                             return "\x02"
                                    "D" +
                                    t + "\x03";
                           }};

void PrintTo(const DialectBytes& d, std::ostream* os) {
  *os << d.name;
}

class TerminalScreenTest : public testing::TestWithParam<DialectBytes> {
 protected:
  TerminalScreenTest() {
    TerminalSettings settings;
    settings.ProtocolStxEtx = GetParam().stxEtx;
    screen = std::make_unique<TerminalScreen>(
        settings, timer, [this](const std::string& line) { log.push_back(line); });
    terminal.Connection = connection;
    terminal.SocketIndex = 4;
    terminal.TerminalNumber = 2;
  }

  const DialectBytes& d() const { return GetParam(); }
  std::string Blanks() const { return d().write(std::string(20, ' ')); }

  Journal journal;
  ManualTimer timer{&journal};
  std::vector<std::string> log;
  std::unique_ptr<TerminalScreen> screen;
  std::shared_ptr<RecordingConnection> connection = MakeConnection("10.1.1.5", &journal);
  TRegConnection terminal;
};

INSTANTIATE_TEST_SUITE_P(BothDialects, TerminalScreenTest, testing::Values(kVt100, kStxEtx),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(TerminalScreenTest, ClearScreenIsFollowedByCursorHome) {
  screen->ClearScreen(terminal);
  EXPECT_EQ(connection->writes, (Writes{d().clear, d().home}));
}

TEST_P(TerminalScreenTest, ClearLineBlanksTwentyColumnsThroughWriteText) {
  screen->Settings().WideKeyboard = true;  // the blanks are 20 whatever the keyboard
  screen->ClearLine(terminal, 3);
  EXPECT_EQ(connection->writes, (Writes{d().row3, Blanks(), d().row3}));
}

TEST_P(TerminalScreenTest, WriteTextCutsByKeyboardTypeAndLongTextAt80) {
  const std::string text25(25, 'K');
  const std::string text100(100, 'L');
  screen->WriteText(terminal, text25);
  screen->WriteLongText(terminal, text100);
  screen->Settings().WideKeyboard = true;
  screen->WriteText(terminal, text25);
  screen->WriteLongText(terminal, text100);

  const std::string long80 = d().write(std::string(80, 'L'));
  EXPECT_EQ(connection->writes,
            (Writes{d().write(std::string(20, 'K')), long80, d().write(text25), long80}));
}

TEST_P(TerminalScreenTest, LedCommandsAreTheSameInBothDialectsAndEndWithCursorHome) {
  screen->RedLed(terminal, LedMode::On);
  screen->RedLed(terminal, LedMode::Off);
  screen->GreenLed(terminal, LedMode::On);
  screen->GreenLed(terminal, LedMode::Off);
  screen->RedLed(terminal, static_cast<LedMode>(7));  // unknown mode: nothing
  EXPECT_EQ(connection->writes,
            (Writes{kRedOn, d().home, kRedOff, d().home, kGreenOn, d().home, kGreenOff, d().home}));
  EXPECT_EQ(timer.pendingCount(), 0u);
}

TEST_P(TerminalScreenTest, BlinkUsesTheLedSettingsAndPausesAfterEachCommand) {
  screen->Settings().GreenLedRepeats = 1;
  screen->Settings().GreenLedTime = 300;
  screen->Settings().RedLedRepeats = 2;
  screen->Settings().RedLedTime = 150;

  screen->GreenLed(terminal, LedMode::Blink);
  // Only the first step is sent: the rest waits for the event loop.
  EXPECT_EQ(journal, (Journal{kGreenOn, d().home, "<pause 300>"}));
  timer.runAll();
  EXPECT_EQ(journal,
            (Journal{kGreenOn, d().home, "<pause 300>", kGreenOff, d().home, "<pause 300>"}));

  journal.clear();
  screen->RedLed(terminal, LedMode::Blink);
  timer.runAll();
  EXPECT_EQ(journal, (Journal{kRedOn, d().home, "<pause 150>", kRedOff, d().home, "<pause 150>",
                              kRedOn, d().home, "<pause 150>", kRedOff, d().home, "<pause 150>"}));
}

TEST_P(TerminalScreenTest, BlinkGoesOnWithItsContinuationOnlyAfterItsLastPause) {
  int continued = 0;
  screen->BlinkLed(terminal, Led::Green, 2, 100, [&] { ++continued; });
  while (timer.pendingCount() > 0) {
    EXPECT_EQ(continued, 0);
    timer.runNext();
  }
  EXPECT_EQ(continued, 1);
  EXPECT_EQ(timer.delays, (std::vector<int>{100, 100, 100, 100}));
}

TEST_P(TerminalScreenTest, BlinkOfZeroOrNegativeTimesSendsNothingAndContinuesAtOnce) {
  int continued = 0;
  screen->BlinkLed(terminal, Led::Green, 0, 300, [&] { ++continued; });
  screen->BlinkLed(terminal, Led::Red, -2, 300, [&] { ++continued; });
  EXPECT_TRUE(journal.empty());
  EXPECT_EQ(continued, 2);
}

TEST_P(TerminalScreenTest, BlinkWithNegativeTimePausesForZero) {
  screen->BlinkLed(terminal, Led::Green, 1, -50);
  timer.runAll();
  EXPECT_EQ(timer.delays, (std::vector<int>{0, 0}));
}

TEST_P(TerminalScreenTest, BlinkStopsWhenItsConnectionIsReplacedOrClosedDuringAPause) {
  enum class During { Reconnect, Disconnect, Release };
  for (During during : {During::Reconnect, During::Disconnect, During::Release}) {
    SCOPED_TRACE(static_cast<int>(during));
    auto first = MakeConnection("10.1.1.5");
    terminal.Connection = first;
    std::shared_ptr<RecordingConnection> reconnected;
    int continued = 0;

    screen->BlinkLed(terminal, Led::Green, 2, 100, [&] { ++continued; });
    first->close();
    if (during == During::Reconnect) {
      reconnected = MakeConnection("10.1.1.5");
      terminal.Connection = reconnected;
      screen->ShowBadgePrompt(terminal);
    }
    const Writes sentBeforePause = first->writes;
    if (during == During::Release) first.reset();
    timer.runAll();

    EXPECT_EQ(sentBeforePause, (Writes{kGreenOn, d().home}));
    // A new connection gets its prompt and nothing of the old blink.
    if (reconnected) {
      EXPECT_EQ(reconnected->writes, (Writes{d().clear, d().home, d().home, d().write("CRACHA:")}));
    }
    EXPECT_EQ(continued, 0);
  }
}

TEST_P(TerminalScreenTest, PendingBlinkStepsOutlivingTheScreenDoNothing) {
  int continued = 0;
  screen->BlinkLed(terminal, Led::Green, 1, 100, [&] { ++continued; });
  screen.reset();
  timer.runAll();
  EXPECT_EQ(connection->writes, (Writes{kGreenOn, d().home}));
  EXPECT_EQ(continued, 0);
}

TEST_P(TerminalScreenTest, BadgePromptDrawsCrachaAndResetsTheRecord) {
  terminal.State = TerminalState::WaitingCard;
  terminal.Input = "123";
  terminal.ShownResult = "FICHA ATUALIZADA";
  terminal.PendingError = "erro";
  terminal.EmployeeCode = "77";
  terminal.EmployeeName = "MARIA";
  terminal.EmployeeSector = "5";
  terminal.CardKind = "T";
  terminal.HasLeds = true;

  screen->ShowBadgePrompt(terminal);

  EXPECT_EQ(connection->writes, (Writes{d().clear, d().home, d().home, d().write("CRACHA:")}));
  EXPECT_EQ(terminal.State, TerminalState::WaitingBadge);
  for (const std::string* field :
       {&terminal.Input, &terminal.ShownResult, &terminal.PendingError, &terminal.EmployeeCode,
        &terminal.EmployeeName, &terminal.EmployeeSector, &terminal.CardKind}) {
    EXPECT_EQ(*field, "");
  }
  // The connection fields belong to the connect, not to the prompt.
  EXPECT_TRUE(terminal.HasLeds);
  EXPECT_EQ(terminal.SocketIndex, 4);
  EXPECT_EQ(terminal.TerminalNumber, 2);
}

TEST_P(TerminalScreenTest, CardPromptShowsNameAndFichaAndKeepsTheEmployee) {
  terminal.State = TerminalState::WaitingCard;
  terminal.EmployeeCode = "77";
  terminal.EmployeeName = "JOSE DA SILVA";
  terminal.EmployeeSector = "5";
  terminal.CardKind = "S";
  terminal.Input = "9.2.45";
  terminal.PendingError = "erro";
  terminal.ShownResult = "FICHA NAO ATUALIZADA";

  screen->ShowCardPrompt(terminal);

  EXPECT_EQ(connection->writes, (Writes{d().clear, d().home, d().write("JOSE DA SILVA"), d().row1,
                                        d().write("FICHA:"), d().row1c6}));
  EXPECT_EQ(terminal.Input, "");
  EXPECT_EQ(terminal.PendingError, "");
  EXPECT_EQ(terminal.ShownResult, "");
  EXPECT_EQ(terminal.State, TerminalState::WaitingCard);
  EXPECT_EQ(terminal.EmployeeName, "JOSE DA SILVA");
  EXPECT_EQ(terminal.EmployeeCode, "77");
  EXPECT_EQ(terminal.CardKind, "S");
}

TEST_P(TerminalScreenTest, ResultIsLoggedAsGivenAndShownOnRow3) {
  screen->ShowResult(terminal, " FUNC. NAO LOCALIZADO\r\n");

  EXPECT_EQ(log, (std::vector<std::string>{"Indice Terminal: 4 Msg:  FUNC. NAO LOCALIZADO\r\n"}));
  EXPECT_EQ(connection->writes,
            (Writes{d().row3, Blanks(), d().row3, d().row3, d().write("FUNC. NAO LOCALIZADO")}));
  EXPECT_EQ(terminal.ShownResult, "FUNC. NAO LOCALIZADO");
}

TEST_P(TerminalScreenTest, CommandsToAClosedOrReleasedConnectionAreDropped) {
  connection->close();
  screen->ShowResult(terminal, "FICHA ATUALIZADA");
  screen->GreenLed(terminal, LedMode::On);
  EXPECT_TRUE(connection->writes.empty());

  connection.reset();  // released: the record's weak reference expires
  screen->ShowBadgePrompt(terminal);
  screen->ShowResult(terminal, "TALAO ATUALIZADO");

  // The record and the log go on as for a connected terminal.
  EXPECT_EQ(terminal.ShownResult, "TALAO ATUALIZADO");
  EXPECT_EQ(log.size(), 2u);
}

struct ResultTextCase {
  std::string given;
  std::string shown;
};

void PrintTo(const ResultTextCase& c, std::ostream* os) {
  *os << "given \"" << test::Printable(c.given) << "\"";
}

class ResultTextTest : public testing::TestWithParam<ResultTextCase> {};

TEST_P(ResultTextTest, TrimsBlanksAndControlsThenCutsTo20) {
  ManualTimer timer;
  std::vector<std::string> log;
  TerminalScreen screen({}, timer, [&](const std::string& line) { log.push_back(line); });
  auto connection = MakeConnection("10.0.0.1");
  TRegConnection terminal;
  terminal.Connection = connection;
  terminal.ShownResult = "OLD";

  screen.ShowResult(terminal, GetParam().given);

  EXPECT_EQ(terminal.ShownResult, GetParam().shown);
  EXPECT_EQ(log.at(0), "Indice Terminal: -1 Msg: " + GetParam().given);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ResultTextTest,
    testing::Values(ResultTextCase{"FICHA ATUALIZADA", "FICHA ATUALIZADA"},
                    ResultTextCase{"\t\x01 TALAO ATUALIZADO \x7F\r", "TALAO ATUALIZADO \x7F"},
                    ResultTextCase{"FICHA OP.SETOR ATUALIZADA", "FICHA OP.SETOR ATUAL"},
                    ResultTextCase{"   " + std::string(22, 'Z'), std::string(20, 'Z')},
                    // Accented Windows-1252 letters are text, not controls.
                    ResultTextCase{"\xC7"
                                   "ODIGO INV\xC1LIDO \xE3",
                                   "\xC7"
                                   "ODIGO INV\xC1LIDO \xE3"},
                    ResultTextCase{"", ""}, ResultTextCase{" \r\n ", ""}));

struct SuccessTextCase {
  std::string cardKind;
  std::string text;
};

void PrintTo(const SuccessTextCase& c, std::ostream* os) {
  *os << "kind \"" << c.cardKind << "\"";
}

class SuccessTextTest : public testing::TestWithParam<SuccessTextCase> {};

TEST_P(SuccessTextTest, ChosenByCardKind) {
  EXPECT_EQ(SuccessText(GetParam().cardKind), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(CardKinds, SuccessTextTest,
                         testing::Values(SuccessTextCase{"S", "SUBFICHA ATUALIZADA"},
                                         SuccessTextCase{"T", "TALAO ATUALIZADO"},
                                         SuccessTextCase{"I", "ID SUBFICHA ATUALIZADA"},
                                         SuccessTextCase{"FC", "FICHA CORTE ATUALIZADA"},
                                         SuccessTextCase{"O", "FICHA OP.SETOR ATUALIZADA"},
                                         SuccessTextCase{"F", "FICHA ATUALIZADA"},
                                         SuccessTextCase{"", "FICHA ATUALIZADA"},
                                         SuccessTextCase{"s", "FICHA ATUALIZADA"}));

}  // namespace
}  // namespace mts
