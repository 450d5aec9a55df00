#include "server/TerminalInput.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "server/CardSubmission.h"
#include "server/ClientConnect.h"
#include "server/RegConnections.h"
#include "server/TerminalScreen.h"
#include "support/ServerFakes.h"

namespace mts {
namespace {

using test::FakeProductionOperations;
using test::ManualTimer;
using test::RecordingConnection;
using test::RecordingView;
using Lines = std::vector<std::string>;

// VT-100 bytes of the screens the keys bring back.
std::string Cursor(int row1, int column1) {
  auto two = [](int n) { return std::string(n < 10 ? "0" : "") + std::to_string(n); };
  return "\x1B[" + two(row1) + ";" + two(column1) + "H";
}
const std::string kClear = "\x1B[H\x1B[J" + Cursor(1, 1);
const std::string kBadgePrompt = kClear + Cursor(1, 1) + "CRACHA:";
const std::string kCardPrompt = kClear + "JOAO" + Cursor(2, 1) + "FICHA:" + Cursor(2, 7);
std::string Result(const std::string& text) {
  return Cursor(4, 1) + std::string(20, ' ') + Cursor(4, 1) + Cursor(4, 1) + text;
}

const std::string kRefusal = "Ficha j\xE1 atualizada no setor \"CORTE\".";
const std::string kCardCode = "00010100010000";
// What badge 1001 and a posted card bring, on a terminal without LEDs.
const std::string kLoggedIn = Cursor(1, 1) + std::string(20, ' ') + Cursor(1, 1) + kCardPrompt;
const std::string kPosted = kCardPrompt + Result("FICHA ATUALIZADA") + Cursor(2, 7);

// Where a row starts from, reached with real keys.
enum class Start {
  TypingBadge,   // just connected
  BadgeRefused,  // badge 9999 not found
  TypingCard,    // badge 1001 (JOAO) accepted
  CardPosted,    // card 0001 posted
  CardRefused,   // card 0002 refused with kRefusal
  DetailShown,   // "," after the refusal
};

struct KeyCase {
  const char* name;
  Start start;
  std::vector<std::string> units;  // each delivered by one read event
  std::string sent;                // every byte the terminal received meanwhile
  std::string input;
  TerminalState state;
  std::string shownResult;
  std::string pendingError;
  Lines received;  // received-data lines added meanwhile
};

void PrintTo(const KeyCase& c, std::ostream* os) {
  *os << c.name;
}

class TerminalInputTest : public testing::TestWithParam<KeyCase> {
 protected:
  TerminalInputTest() {
    production.employees["1001"] = {"017", "JOAO", "10"};
    production.cards["0001"].request.TipoAtualizacao = "F";
    production.cards["0002"].refusal = kRefusal;
    production.cards[kCardCode].request.TipoAtualizacao = "F";
    connection = listener.connect("10.0.0.5");
    ClientConnect(registry, screen, connection, listener.active);
  }

  void Type(const std::vector<std::string>& units) {
    for (const std::string& unit : units) input.ServerClientRead(connection, unit);
  }

  void Reach(Start start) {
    switch (start) {
      case Start::TypingBadge:
        break;
      case Start::BadgeRefused:
        Type({"9", "9", "9", "9", "\r"});
        break;
      case Start::TypingCard:
        Type({"1", "0", "0", "1", "\r"});
        break;
      case Start::CardPosted:
        Type({"1", "0", "0", "1", "\r", "0", "0", "0", "1", "\r"});
        break;
      case Start::CardRefused:
        Type({"1", "0", "0", "1", "\r", "0", "0", "0", "2", "\r"});
        break;
      case Start::DetailShown:
        Type({"1", "0", "0", "1", "\r", "0", "0", "0", "2", "\r", ","});
        break;
    }
    connection->writes.clear();
    view.received.clear();
    production.calls.clear();
  }

  TRegConnection& Terminal() { return registry.TerminalAt(0); }

  test::FakeListener listener;
  ManualTimer timer;
  Lines log;
  TerminalScreen screen{{}, timer, [this](const std::string& line) { log.push_back(line); }};
  RegConnections registry;
  RecordingView view;
  FakeProductionOperations production;
  CardSubmission submission{screen, production,
                            [this](const std::string& line) { view.addReceived(line); }};
  TerminalInput input{registry, screen, submission,
                      [this](const std::string& line) { view.addReceived(line); }};
  std::shared_ptr<RecordingConnection> connection;
};

TEST_P(TerminalInputTest, KeysFromASituation) {
  const KeyCase& c = GetParam();
  Reach(c.start);

  Type(c.units);

  EXPECT_EQ(test::Printable(connection->sent()), test::Printable(c.sent));
  EXPECT_EQ(Terminal().Input, c.input);
  EXPECT_EQ(Terminal().State, c.state);
  EXPECT_EQ(Terminal().ShownResult, c.shownResult);
  EXPECT_EQ(Terminal().PendingError, c.pendingError);
  EXPECT_EQ(view.received, c.received);
}

constexpr TerminalState kBadge = TerminalState::WaitingBadge;
constexpr TerminalState kCard = TerminalState::WaitingCard;
const std::string k33(33, '7');
const std::string kNulThen5(
    "\0"
    "5",
    2);

INSTANTIATE_TEST_SUITE_P(
    Cases, TerminalInputTest,
    testing::Values(
        KeyCase{"LetterIsUpperCasedEchoedAndStored",
                Start::TypingBadge,
                {"a"},
                "A",
                "A",
                kBadge,
                "",
                "",
                Lines{"Terminal 0 - 65"}},
        KeyCase{"AccentedLetterStaysAsTyped",
                Start::TypingBadge,
                {"\xE7"},
                "\xE7",
                "\xE7",
                kBadge,
                "",
                "",
                Lines{"Terminal 0 - 231"}},
        KeyCase{"BlanksAreEchoedButNotKept",
                Start::TypingBadge,
                {"1", " ", "2", " "},
                "1 2 ",
                "12",
                kBadge,
                "",
                "",
                Lines{"Terminal 0 - 49", "Terminal 0 - 32", "Terminal 0 - 50", "Terminal 0 - 32"}},
        // The 13th key submits the 12 digits without echo or "Entrada:"; the
        // cursor after a 12-digit badge wraps to row 2, column 1 on the wire.
        KeyCase{"ThirteenthBadgeKeySubmits",
                Start::TypingBadge,
                {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0", "1", "2", "3"},
                "123456789012" + Result("FUNC. NAO LOCALIZADO") + "\x1B[02;01H",
                "123456789012",
                kBadge,
                "FUNC. NAO LOCALIZADO",
                "",
                Lines{"Terminal 0 - 49", "Terminal 0 - 50", "Terminal 0 - 51", "Terminal 0 - 52",
                      "Terminal 0 - 53", "Terminal 0 - 54", "Terminal 0 - 55", "Terminal 0 - 56",
                      "Terminal 0 - 57", "Terminal 0 - 48", "Terminal 0 - 49", "Terminal 0 - 50",
                      "Terminal 0 - 51", "Terminal 0 - Funcionario 123456789012 nao localizado."}},
        // 33 characters fit (one unit counts as one key); the 34th submits.
        KeyCase{"ThirtyFourthCardKeySubmits",
                Start::TypingCard,
                {std::string(32, '7'), "7", "8"},
                k33 + Result("FICHA NAO ATUALIZADA") + "\x1B[03;20H",
                k33,
                kCard,
                "FICHA NAO ATUALIZADA",
                "Ficha " + k33 + " n\xE3o encontrada.",
                Lines{"Terminal 0 - 55", "Terminal 0 - 55", "Terminal 0 - 56",
                      "Terminal 0 - Ficha " + k33 + " nao atualizada. Erro: Ficha " + k33 +
                          " n\xE3o encontrada."}},
        KeyCase{"EnterOnAnEmptyEntryOnlyLogsTheKey",
                Start::TypingBadge,
                {"\r"},
                "",
                "",
                kBadge,
                "",
                "",
                Lines{"Terminal 0 - 13"}},
        KeyCase{"EnterSubmitsTheBadge",
                Start::TypingBadge,
                {"1", "0", "0", "1", "\r"},
                "1001" + Cursor(1, 1) + std::string(20, ' ') + Cursor(1, 1) + kCardPrompt,
                "",
                kCard,
                "",
                "",
                Lines{"Terminal 0 - 49", "Terminal 0 - 48", "Terminal 0 - 48", "Terminal 0 - 49",
                      "Terminal 0 - 13", "Entrada: 1001", "Terminal 0 - Funcionario: 1001 JOAO"}},
        KeyCase{"BackspaceOnEmptySendsNothing",
                Start::TypingBadge,
                {"\x08"},
                "",
                "",
                kBadge,
                "",
                "",
                Lines{"Terminal 0 - 8"}},
        KeyCase{"BackspaceRemovesTheLastCharacter",
                Start::TypingBadge,
                {"1", "2", "\x08"},
                "12\x08 \x08",
                "1",
                kBadge,
                "",
                "",
                Lines{"Terminal 0 - 49", "Terminal 0 - 50", "Terminal 0 - 8"}},
        KeyCase{"EscapeWhileTypingACardForgetsTheEmployee",
                Start::TypingCard,
                {"5", "\x1B"},
                "5" + kBadgePrompt,
                "",
                kBadge,
                "",
                "",
                Lines{"Terminal 0 - 53", "Terminal 0 - 27"}},
        KeyCase{"DeleteCancelsLikeEscape",
                Start::CardRefused,
                {"\x7F"},
                kCardPrompt + kBadgePrompt,
                "",
                kBadge,
                "",
                "",
                Lines{"Terminal 0 - 127"}},
        KeyCase{"NulRedrawsWithoutALineThenTheKeysAfterItCount",
                Start::TypingCard,
                {"4", kNulThen5},
                "4" + kCardPrompt + "5",
                "5",
                kCard,
                "",
                "",
                Lines{"Terminal 0 - 52", "Terminal 0 - 53"}},
        KeyCase{"EmptyReadChangesNothing",
                Start::CardRefused,
                {""},
                "",
                "0002",
                kCard,
                "FICHA NAO ATUALIZADA",
                kRefusal,
                Lines{}},
        // The "," key in each situation.
        KeyCase{"CommaOnEmptyBadgeRedraws",
                Start::TypingBadge,
                {","},
                kBadgePrompt,
                "",
                kBadge,
                "",
                "",
                Lines{"Terminal 0 - 44"}},
        KeyCase{"CommaWhileTypingIsIgnored",
                Start::TypingCard,
                {"1", ","},
                "1",
                "1",
                kCard,
                "",
                "",
                Lines{"Terminal 0 - 49", "Terminal 0 - 44"}},
        KeyCase{"CommaAfterARefusedBadgeIsIgnored",
                Start::BadgeRefused,
                {","},
                "",
                "9999",
                kBadge,
                "FUNC. NAO LOCALIZADO",
                "",
                Lines{"Terminal 0 - 44"}},
        KeyCase{"CommaAfterARefusedCardShowsTheDetailFoldedAndUpperCased",
                Start::CardRefused,
                {","},
                kClear + "FICHA JA ATUALIZADA NO SETOR \"CORTE\".",
                "",
                kCard,
                "FICHA NAO ATUALIZADA",
                "",
                Lines{"Terminal 0 - 44"}},
        KeyCase{"CommaAfterTheDetailRedrawsTheCardPrompt",
                Start::DetailShown,
                {","},
                kCardPrompt,
                "",
                kCard,
                "",
                "",
                Lines{"Terminal 0 - 44"}},
        KeyCase{"CommaAfterAPostedCardRedrawsTheCardPrompt",
                Start::CardPosted,
                {","},
                kCardPrompt,
                "",
                kCard,
                "",
                "",
                Lines{"Terminal 0 - 44"}},
        // Any other key after a result brings the prompt back and is then handled.
        KeyCase{"KeyAfterAPostedCardRedrawsThenCounts",
                Start::CardPosted,
                {"7"},
                kCardPrompt + "7",
                "7",
                kCard,
                "",
                "",
                Lines{"Terminal 0 - 55"}},
        KeyCase{"KeyAfterTheDetailRedrawsThenCounts",
                Start::DetailShown,
                {"8"},
                kCardPrompt + "8",
                "8",
                kCard,
                "",
                "",
                Lines{"Terminal 0 - 56"}},
        KeyCase{"KeyAfterARefusedBadgeStartsANewBadge",
                Start::BadgeRefused,
                {"3"},
                kBadgePrompt + "3",
                "3",
                kBadge,
                "",
                "",
                Lines{"Terminal 0 - 51"}},
        KeyCase{"EnterAfterARefusedCardOnlyRedraws",
                Start::CardRefused,
                {"\r"},
                kCardPrompt,
                "",
                kCard,
                "",
                "",
                Lines{"Terminal 0 - 13"}},
        // Keys that arrive joined in one read: each is handled as if alone, in
        // order; a printable run is one key (a code scanned in one piece).
        KeyCase{"BadgeAndEnterInOneRead",
                Start::TypingBadge,
                {"1001\r"},
                "1001" + kLoggedIn,
                "",
                kCard,
                "",
                "",
                Lines{"Terminal 0 - 49", "Terminal 0 - 13", "Entrada: 1001",
                      "Terminal 0 - Funcionario: 1001 JOAO"}},
        KeyCase{"EnterBeforeTheCodeInOneRead",
                Start::TypingCard,
                {"\r0001"},
                "0001",
                "0001",
                kCard,
                "",
                "",
                Lines{"Terminal 0 - 13", "Terminal 0 - 48"}},
        KeyCase{"ScannedCodeAndEnterPostTheCard",
                Start::TypingCard,
                {kCardCode + "\r"},
                kCardCode + kPosted,
                "",
                kCard,
                "FICHA ATUALIZADA",
                "",
                Lines{"Terminal 0 - 48", "Terminal 0 - 13", "Entrada: " + kCardCode,
                      "Terminal 0 - Ficha " + kCardCode + " atualizada."}},
        KeyCase{"BadgeAndCardInOneRead",
                Start::TypingBadge,
                {"1001\r" + kCardCode + "\r"},
                "1001" + kLoggedIn + kCardCode + kPosted,
                "",
                kCard,
                "FICHA ATUALIZADA",
                "",
                Lines{"Terminal 0 - 49", "Terminal 0 - 13", "Entrada: 1001",
                      "Terminal 0 - Funcionario: 1001 JOAO", "Terminal 0 - 48", "Terminal 0 - 13",
                      "Entrada: " + kCardCode, "Terminal 0 - Ficha " + kCardCode + " atualizada."}},
        KeyCase{"SecondEnterInTheReadTakesTheRefusalAway",
                Start::TypingBadge,
                {"9999\r\r"},
                "9999" + Result("FUNC. NAO LOCALIZADO") + Cursor(1, 13) + kBadgePrompt,
                "",
                kBadge,
                "",
                "",
                Lines{"Terminal 0 - 57", "Terminal 0 - 13", "Entrada: 9999",
                      "Terminal 0 - Funcionario 9999 nao localizado.", "Terminal 0 - 13"}},
        KeyCase{"CommaJoinedToTextIsText",
                Start::TypingCard,
                {"1,"},
                "1,",
                "1,",
                kCard,
                "",
                "",
                Lines{"Terminal 0 - 49"}},
        KeyCase{"CommaThenEnterShowTheDetailThenTheCardPrompt",
                Start::CardRefused,
                {",\r"},
                kClear + "FICHA JA ATUALIZADA NO SETOR \"CORTE\"." + kCardPrompt,
                "",
                kCard,
                "",
                "",
                Lines{"Terminal 0 - 44", "Terminal 0 - 13"}},
        KeyCase{"EscapeJoinedToTextCancelsThenTypes",
                Start::TypingCard,
                {"\x1B"
                 "1002"},
                kBadgePrompt + "1002",
                "1002",
                kBadge,
                "",
                "",
                Lines{"Terminal 0 - 27", "Terminal 0 - 49"}},
        KeyCase{"TextJoinedToEscapeIsTypedThenCancelled",
                Start::TypingCard,
                {"12\x1B"},
                "12" + kBadgePrompt,
                "",
                kBadge,
                "",
                "",
                Lines{"Terminal 0 - 49", "Terminal 0 - 27"}},
        // Arrow and F keys of a VT-100 keyboard: ESC and more in one read.
        KeyCase{"FunctionKeysNeitherCancelNorType",
                Start::TypingCard,
                {"5", "\x1B[A", "\x1BOP6", "\x1B[11~"},
                "56",
                "56",
                kCard,
                "",
                "",
                Lines{"Terminal 0 - 53", "Terminal 0 - 27", "Terminal 0 - 27", "Terminal 0 - 54",
                      "Terminal 0 - 27"}},
        KeyCase{"FunctionKeyTakesAResultAwayLikeAnyKey",
                Start::CardPosted,
                {"\x1B[B"},
                kCardPrompt,
                "",
                kCard,
                "",
                "",
                Lines{"Terminal 0 - 27"}},
        KeyCase{"BackspacesJoinedToText",
                Start::TypingBadge,
                {"123\b\b"},
                "123\b \b\b \b",
                "1",
                kBadge,
                "",
                "",
                Lines{"Terminal 0 - 49", "Terminal 0 - 8", "Terminal 0 - 8"}},
        KeyCase{"DeleteJoinedToText",
                Start::TypingCard,
                {"45\x7F"},
                "45" + kBadgePrompt,
                "",
                kBadge,
                "",
                "",
                Lines{"Terminal 0 - 52", "Terminal 0 - 127"}},
        // A reader that frames its codes, or ends them with CR LF: the other
        // control bytes are no keys, so they neither echo nor take a result away.
        KeyCase{"OtherControlBytesAreNoKeys",
                Start::CardPosted,
                {"\n", "\x02\t\x03"},
                "",
                "",
                kCard,
                "FICHA ATUALIZADA",
                "",
                Lines{}},
        KeyCase{"OtherControlBytesPartTheText",
                Start::TypingBadge,
                {"\x02"
                 "12\t3\x03"},
                "123",
                "123",
                kBadge,
                "",
                "",
                Lines{"Terminal 0 - 49", "Terminal 0 - 51"}}),
    [](const auto& info) { return std::string(info.param.name); });

class TerminalInputLedTest : public TerminalInputTest {};

TEST_F(TerminalInputLedTest, PromptAfterAResultTurnsBothLedsOffOnLedTerminals) {
  Terminal().HasLeds = true;
  Type({"1", "0", "0", "1", "\r"});
  timer.runAll();  // the green blink of the accepted badge
  Type({"0", "0", "0", "2", "\r"});
  connection->writes.clear();

  Type({"9"});

  EXPECT_EQ(
      test::Printable(connection->sent()),
      test::Printable("\x1B[lrb" + Cursor(1, 1) + "\x1B[lgb" + Cursor(1, 1) + kCardPrompt + "9"));
}

TEST_F(TerminalInputLedTest, ReadFromAnUnregisteredAddressChangesNothing) {
  auto stranger = test::MakeConnection("10.9.9.9");
  input.ServerClientRead(stranger, "1");
  EXPECT_TRUE(stranger->writes.empty());
  EXPECT_TRUE(view.received.empty());
}

}  // namespace
}  // namespace mts
