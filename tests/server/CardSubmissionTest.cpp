#include "server/CardSubmission.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "dataaccess/firebird/DatabaseError.h"
#include "server/ClientConnect.h"
#include "server/RegConnections.h"
#include "server/TerminalInput.h"
#include "support/ServerFakes.h"

namespace mts {
namespace {

using test::FakeProductionOperations;
using test::Journal;
using test::ManualTimer;
using test::RecordingConnection;
using Lines = std::vector<std::string>;

const std::string kRedOn = "\x1B[lrl";
const std::string kGreenOn = "\x1B[lgl";
const std::string kGreenOff = "\x1B[lgb";

// The commands of one dialect, 0-based rows and columns as the server asks.
struct Dialect {
  const char* name;
  bool stxEtx;
  std::string clear;
  std::string (*cursor)(int row, int column);  // on the wire, after the wrap rule
  std::string (*write)(const std::string& text);
};

std::string Two(int n) {
  return std::string(n < 10 ? "0" : "") + std::to_string(n);
}

const Dialect kVt100{
    "Vt100", false, "\x1B[H\x1B[J",
    [](int row, int column) { return "\x1B[" + Two(row) + ";" + Two(column) + "H"; },
    [](const std::string& text) { return text; }};
const Dialect kStxEtx{"StxEtx", true, "\x02L\x03",
                      [](int row, int column) {
                        return "\x02"
                               "C" +
                               Two(row) + Two(column) + "\x03";
                      },
                      [](const std::string& text) {
                        return "\x02"
                               "D" +
                               text + "\x03";
                      }};

void PrintTo(const Dialect& d, std::ostream* os) {
  *os << d.name;
}

// A terminal with LEDs, registered and at the badge prompt, with the flow
// wired to a scripted production module.
class SubmissionTest : public testing::TestWithParam<Dialect> {
 protected:
  SubmissionTest() {
    TerminalSettings settings;
    settings.ProtocolStxEtx = GetParam().stxEtx;
    settings.GreenLedTime = 300;
    screen = std::make_unique<TerminalScreen>(
        settings, timer, [this](const std::string& line) { log.push_back(line); });
    submission = std::make_unique<CardSubmission>(
        *screen, production, [this](const std::string& line) { received.push_back(line); },
        [this](const std::string& line) { log.push_back(line); });
    registry.SetLedTerminals({"10.0.0.5"});
    connection = listener.connect("10.0.0.5", &journal);
    ClientConnect(registry, *screen, connection, listener.active);
    journal.clear();

    production.employees["1001"] = {"017", "JOAO BATISTA DA SILVA NETO", "10"};
  }

  const Dialect& d() const { return GetParam(); }
  std::string Home() const { return d().stxEtx ? d().cursor(0, 0) : d().cursor(1, 1); }
  // Cursor commands as the wire shows them, for rows and columns without wrap.
  std::string At(int row, int column) const {
    return d().stxEtx ? d().cursor(row, column) : d().cursor(row + 1, column + 1);
  }
  std::string Blanks() const { return d().write(std::string(20, ' ')); }
  Journal CardPrompt(const std::string& name) const {
    return {d().clear, Home(), d().write(name), At(1, 0), d().write("FICHA:"), At(1, 6)};
  }
  Journal ResultRow(const std::string& text) const {
    return {At(3, 0), Blanks(), At(3, 0), At(3, 0), d().write(text)};
  }
  static Journal Join(std::initializer_list<Journal> parts) {
    Journal all;
    for (const Journal& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
  }

  TRegConnection& Terminal() { return registry.TerminalAt(0); }
  void LogInJoao() {
    submission->SubmitBadge(Terminal(), "1001");
    timer.runAll();
    journal.clear();
    received.clear();
    log.clear();
  }

  Journal journal;
  ManualTimer timer{&journal};
  Lines log;
  Lines received;
  std::unique_ptr<TerminalScreen> screen;
  FakeProductionOperations production;
  std::unique_ptr<CardSubmission> submission;
  RegConnections registry;
  test::FakeListener listener;
  std::shared_ptr<RecordingConnection> connection;
};

INSTANTIATE_TEST_SUITE_P(BothDialects, SubmissionTest, testing::Values(kVt100, kStxEtx),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(SubmissionTest, AcceptedBadgeBlinksGreenThenShowsTheNameCutTo20AndTheCardPrompt) {
  Terminal().Input = "1001";
  submission->SubmitBadge(Terminal(), "1001");
  // Nothing is switched until the blink has ended.
  EXPECT_EQ(Terminal().State, TerminalState::WaitingBadge);
  EXPECT_EQ(Terminal().Input, "1001");
  timer.runAll();

  EXPECT_EQ(journal, Join({{kGreenOn, Home(), "<pause 300>", kGreenOff, Home(), "<pause 300>"},
                           {At(0, 0), Blanks(), At(0, 0)},
                           CardPrompt("JOAO BATISTA DA SILV")}));
  EXPECT_EQ(Terminal().State, TerminalState::WaitingCard);
  EXPECT_EQ(Terminal().EmployeeCode, "017");
  EXPECT_EQ(Terminal().EmployeeName, "JOAO BATISTA DA SILV");
  EXPECT_EQ(Terminal().EmployeeSector, "10");
  EXPECT_EQ(Terminal().Input, "");
  EXPECT_EQ(received, Lines{"Terminal 0 - Funcionario: 1001 JOAO BATISTA DA SILV"});
  EXPECT_TRUE(log.empty());
}

TEST_P(SubmissionTest, RefusedBadgeLightsRedShowsTheMessageAndPutsTheCursorAfterTheBadge) {
  Terminal().Input = "123456789012";
  submission->SubmitBadge(Terminal(), "123456789012");

  // Column 12 + 8 = 20: the next row's first column in VT-100, kept in STX-ETX.
  const std::string cursor = d().stxEtx ? d().cursor(0, 20) : d().cursor(2, 1);
  EXPECT_EQ(journal, Join({{kRedOn, Home()}, ResultRow("FUNC. NAO LOCALIZADO"), {cursor}}));
  EXPECT_EQ(received, Lines{"Terminal 0 - Funcionario 123456789012 nao localizado."});
  EXPECT_EQ(log, Lines{"Indice Terminal: 0 Msg: FUNC. NAO LOCALIZADO"});
  EXPECT_EQ(Terminal().State, TerminalState::WaitingBadge);
  EXPECT_EQ(Terminal().Input, "123456789012");
  EXPECT_EQ(Terminal().ShownResult, "FUNC. NAO LOCALIZADO");
}

TEST_P(SubmissionTest, PostedCardLightsGreenRedrawsThePromptAndShowsTheKindsText) {
  LogInJoao();
  production.cards["OP0123456789"].request.TipoAtualizacao = "T";
  Terminal().Input = ".1.0123456789";

  submission->SubmitCard(Terminal(), ".1.0123456789");

  EXPECT_EQ(journal, Join({{kGreenOn, Home()},
                           CardPrompt("JOAO BATISTA DA SILV"),
                           ResultRow("TALAO ATUALIZADO"),
                           {At(1, 6)}}));
  EXPECT_EQ(received, Lines{"Terminal 0 - Ficha OP0123456789 atualizada."});
  EXPECT_EQ(log, Lines{"Indice Terminal: 0 Msg: TALAO ATUALIZADO"});
  EXPECT_EQ(Terminal().CardKind, "T");
  EXPECT_EQ(Terminal().Input, "");
  EXPECT_EQ(Terminal().ShownResult, "TALAO ATUALIZADO");
}

TEST_P(SubmissionTest, RefusedCardLightsRedKeepsTheDetailAndTheTypedCode) {
  LogInJoao();
  const std::string message =
      "Ficha j\xE1 atualizada no setor \"CORTE\". Func: JO\xC3O BATISTA DA SILVA";
  production.cards["9SL4567"].request.TipoAtualizacao = "F";
  production.verdicts.push_back({false, message});
  Terminal().Input = "9.2.4567";

  submission->SubmitCard(Terminal(), "9.2.4567");

  // The cursor follows the code as typed (8 characters), the line names it
  // as rewritten.
  EXPECT_EQ(journal, Join({{kRedOn, Home()}, ResultRow("FICHA NAO ATUALIZADA"), {At(1, 14)}}));
  EXPECT_EQ(received, Lines{"Terminal 0 - Ficha 9SL4567 nao atualizada. Erro: " + message});
  EXPECT_EQ(log, Lines{"Indice Terminal: 0 Msg: FICHA NAO ATUALIZADA"});
  EXPECT_EQ(Terminal().PendingError, message);
  EXPECT_EQ(Terminal().Input, "9.2.4567");
  EXPECT_EQ(Terminal().State, TerminalState::WaitingCard);
}

// A failure while a card is handled is that card's answer on its terminal:
// the refusal, plain words behind ",", and the database's own message in the
// received-data view and the log.
struct Failure {
  const char* name;
  std::function<void()> raise;
  std::string words;   // PendingError
  std::string detail;  // in the received line and the log
};

const std::vector<Failure> kFailures = {
    {"RowHeldByAnotherUser",
     [] {
       throw db::DatabaseError(
           "deadlock\n-update conflicts with concurrent update\n-concurrent transaction number "
           "is 7",
           db::DatabaseError::Cause::Conflict, 7);
     },
     "Registro em uso por outro usu\xE1rio. Tente novamente.",
     "deadlock -update conflicts with concurrent update -concurrent transaction number is 7"},
    {"DatabaseOutOfReach",
     [] { throw db::DatabaseError("Error reading data from the connection.", true); },
     "Banco de dados fora de alcance. Tente novamente.", "Error reading data from the connection."},
    {"OtherDatabaseError",
     [] { throw db::DatabaseError("Dynamic SQL Error\n-Table unknown\n-BLOQUEIO_FICHA"); },
     "Erro no banco de dados: Dynamic SQL Error -Table unknown -BLOQUEIO_FICHA",
     "Dynamic SQL Error -Table unknown -BLOQUEIO_FICHA"},
    {"WriterRefusingTheRow",
     [] { throw std::runtime_error("A produ\xE7\xE3o da ficha 000101/0001 n\xE3o foi gravada."); },
     "A produ\xE7\xE3o da ficha 000101/0001 n\xE3o foi gravada.",
     "A produ\xE7\xE3o da ficha 000101/0001 n\xE3o foi gravada."},
};

TEST_P(SubmissionTest, AFailedCardIsAnsweredOnItsTerminalInPlainWords) {
  for (const Failure& failure : kFailures) {
    SCOPED_TRACE(failure.name);
    LogInJoao();
    production.cards["1"].request.TipoAtualizacao = "F";
    production.onWrite = [&](const std::string&) { failure.raise(); };
    Terminal().Input = "1";

    submission->SubmitCard(Terminal(), "1");

    const std::string line = "Terminal 0 - Ficha 1 nao atualizada. Erro: " + failure.detail;
    EXPECT_EQ(journal, Join({{kRedOn, Home()}, ResultRow("FICHA NAO ATUALIZADA"), {At(1, 7)}}));
    EXPECT_EQ(received, Lines{line});
    EXPECT_EQ(log, (Lines{line, "Indice Terminal: 0 Msg: FICHA NAO ATUALIZADA"}));
    EXPECT_EQ(Terminal().PendingError, failure.words);
    EXPECT_EQ(Terminal().Input, "1");
    EXPECT_EQ(Terminal().State, TerminalState::WaitingCard);
  }
}

// An answer that comes back after the terminal connected again belongs to the
// old connection: the card is told in the view and the log, the new screen
// and session are left alone, and the terminal may submit again.
TEST_P(SubmissionTest, AnAnswerAfterAReconnectIsLoggedButNotShown) {
  const struct {
    const char* name;
    std::function<void()> raise;  // null: the card is posted
    std::string line;
  } cases[] = {
      {"Posted", nullptr, "Terminal 0 - Ficha 1 atualizada."},
      {"Failed", [] { throw db::DatabaseError("Error reading data from the connection.", true); },
       "Terminal 0 - Ficha 1 nao atualizada. Erro: Error reading data from the connection."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LogInJoao();
    production.cards["1"].request.TipoAtualizacao = "F";
    production.onWrite = [&](const std::string&) {
      if (c.raise) c.raise();
    };
    production.deferAnswers = true;
    submission->SubmitCard(Terminal(), "1");
    EXPECT_TRUE(Terminal().Busy);

    listener.disconnect(connection);
    connection = listener.connect("10.0.0.5", &journal);
    ClientConnect(registry, *screen, connection, listener.active);
    journal.clear();
    ASSERT_TRUE(production.answerNext());

    EXPECT_FALSE(Terminal().Busy);
    EXPECT_TRUE(journal.empty()) << "nothing on the new connection's screen";
    EXPECT_EQ(received, Lines{c.line});
    EXPECT_EQ(log, Lines{c.line});
    EXPECT_EQ(Terminal().State, TerminalState::WaitingBadge);
    production.deferAnswers = false;
    production.onWrite = nullptr;
  }
}

// A link lost while the card's commit was under way leaves the card perhaps
// posted: the terminal must not say it was not.
TEST_P(SubmissionTest, ACommitCutOffIsNeverCalledNotPosted) {
  LogInJoao();
  production.cards["1"].request.TipoAtualizacao = "F";
  production.onWrite = [](const std::string&) {
    db::DatabaseError lost("Error reading data from the connection.", true);
    lost.markOutcomeUnknown();
    throw lost;
  };
  Terminal().Input = "1";

  submission->SubmitCard(Terminal(), "1");

  const std::string line =
      "Terminal 0 - Ficha 1 sem confirmacao. Erro: Error reading data from the connection.";
  EXPECT_EQ(journal, Join({{kRedOn, Home()}, ResultRow("FICHA NAO CONFIRMADA"), {At(1, 7)}}));
  EXPECT_EQ(received, Lines{line});
  EXPECT_EQ(Terminal().PendingError,
            "Sem resposta ao gravar: pode ter sido atualizada. Passe a ficha de novo.");
}

TEST_P(SubmissionTest, ABadgeLookUpFailureIsAnsweredOnTheBadgePrompt) {
  production.onBadge = [] {
    throw db::DatabaseError("Error reading data from the connection.", true);
  };
  Terminal().Input = "1001";

  submission->SubmitBadge(Terminal(), "1001");

  const std::string line =
      "Terminal 0 - Funcionario 1001 nao verificado. Erro: Error reading data from the "
      "connection.";
  EXPECT_EQ(journal, Join({{kRedOn, Home()}, ResultRow("FUNC. NAO VERIFICADO"), {At(0, 12)}}));
  EXPECT_EQ(received, Lines{line});
  EXPECT_EQ(log, (Lines{line, "Indice Terminal: 0 Msg: FUNC. NAO VERIFICADO"}));
  EXPECT_EQ(Terminal().PendingError, "Banco de dados fora de alcance. Tente novamente.");
  EXPECT_EQ(Terminal().State, TerminalState::WaitingBadge);
  EXPECT_EQ(Terminal().Input, "1001");
}

TEST_P(SubmissionTest, WithoutLedsNoLedCommandIsSentAndTheLoginIsImmediate) {
  Terminal().HasLeds = false;
  submission->SubmitBadge(Terminal(), "1001");
  EXPECT_EQ(timer.pendingCount(), 0u);
  EXPECT_EQ(Terminal().State, TerminalState::WaitingCard);
  submission->SubmitBadge(Terminal(), "0000");
  production.cards["1"].request.TipoAtualizacao = "F";
  submission->SubmitCard(Terminal(), "1");
  submission->SubmitCard(Terminal(), "2");
  for (const std::string& write : journal) {
    EXPECT_EQ(write.find("\x1B[l"), std::string::npos) << test::Printable(write);
  }
}

// --- Keys and connects during the blink of an accepted badge ---------------

class BlinkTest : public SubmissionTest {
 protected:
  BlinkTest()
      : input(registry, *screen, *submission,
              [this](const std::string& line) { received.push_back(line); }) {}
  void Type(const std::vector<std::string>& units) {
    for (const std::string& unit : units) input.ServerClientRead(connection, unit);
  }
  TerminalInput input;
};

INSTANTIATE_TEST_SUITE_P(Vt100, BlinkTest, testing::Values(kVt100),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(BlinkTest, KeysDuringTheBlinkMeetTheBadgeStateAndAreLostAtLogin) {
  Type({"1", "0", "0", "1", "\r"});
  Type({"5", "6"});
  EXPECT_EQ(Terminal().Input, "100156");
  timer.runAll();

  EXPECT_EQ(Terminal().State, TerminalState::WaitingCard);
  EXPECT_EQ(Terminal().Input, "");
  EXPECT_EQ(connection->writes.back(), At(1, 6));
}

TEST_P(BlinkTest, EnterDuringTheBlinkSubmitsTheBadgeAgainWithoutNesting) {
  Type({"1", "0", "0", "1", "\r"});
  Type({"\r"});
  // Two blinks run side by side; neither waits for the other.
  EXPECT_EQ(timer.pendingCount(), 2u);
  timer.runAll();

  EXPECT_EQ(production.calls, (Lines{"LocalizarFuncionario 1001", "LocalizarFuncionario 1001"}));
  EXPECT_EQ(Terminal().State, TerminalState::WaitingCard);
  EXPECT_EQ(std::count(received.begin(), received.end(),
                       "Terminal 0 - Funcionario: 1001 JOAO BATISTA DA SILV"),
            2);
}

TEST_P(BlinkTest, ReconnectOrDisconnectDuringTheBlinkLogsNobodyIn) {
  for (bool reconnect : {true, false}) {
    SCOPED_TRACE(reconnect ? "reconnect" : "disconnect");
    Type({"1", "0", "0", "1", "\r"});
    listener.disconnect(connection);
    std::shared_ptr<RecordingConnection> fresh;
    if (reconnect) {
      fresh = listener.connect("10.0.0.5");
      ClientConnect(registry, *screen, fresh, listener.active);
    }
    timer.runAll();

    EXPECT_EQ(Terminal().State, TerminalState::WaitingBadge);
    EXPECT_EQ(Terminal().EmployeeCode, "");
    if (fresh) {
      EXPECT_EQ(fresh->writes, (Journal{d().clear, Home(), Home(), d().write("CRACHA:")}));
    }
    connection = listener.connect("10.0.0.5", &journal);
    ClientConnect(registry, *screen, connection, listener.active);
    received.clear();
  }
}

TEST_P(BlinkTest, OtherTerminalsAreServedDuringTheBlink) {
  auto other = listener.connect("10.0.0.6");
  ClientConnect(registry, *screen, other, listener.active);
  Type({"1", "0", "0", "1", "\r"});

  input.ServerClientRead(other, "1");
  input.ServerClientRead(other, "0");
  input.ServerClientRead(other, "0");
  input.ServerClientRead(other, "1");
  input.ServerClientRead(other, "\r");  // no LEDs there: logged in at once
  EXPECT_EQ(registry.TerminalAt(1).State, TerminalState::WaitingCard);
  EXPECT_EQ(Terminal().State, TerminalState::WaitingBadge);

  timer.runAll();
  EXPECT_EQ(Terminal().State, TerminalState::WaitingCard);
}

}  // namespace
}  // namespace mts
