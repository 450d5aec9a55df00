// The database failing under a running shift: the real mtserver, headless,
// serving the demo factory through a Firebird server of the test's own, with
// terminals played by mtterm. The Firebird server is killed, stopped and
// brought back, another program holds a row the cards write, the log folder
// becomes unusable, all while cards are posted; afterwards what each terminal
// was shown is compared with the rows in the database.
//
// A badge or card whose database work fails is answered on its own terminal
// ("FICHA NAO ATUALIZADA", or "FUNC. NAO VERIFICADO" at the badge prompt, with
// plain words behind ","), with nothing of it recorded; no other terminal is
// touched and the listener is never restarted.
#include <gtest/gtest.h>

#include <QProcess>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "QtTestHelpers.h"
#include "ServerProcess.h"
#include "ShiftHistory.h"
#include "SimulatedTerminal.h"
#include "TempFolder.h"
#include "dataaccess/firebird/Connection.h"
#include "support/DatabaseRows.h"
#include "support/DemoFactory.h"
#include "support/FreePort.h"
#include "support/PrivateFirebirdServer.h"

namespace mts {
namespace {

using bench::SimulatedTerminal;
using std::chrono::milliseconds;
using std::chrono::seconds;
using test::freePort;
using testing_support::ExpectHistoryMatches;
using testing_support::ServerProcess;
using testing_support::ShiftCard;
using testing_support::ShownAnswer;
using testing_support::TempFolder;
using testing_support::WaitUntil;
using testing_support::WriteFile;

constexpr int kLockTimeoutSeconds = 2;

// The cards of the demo factory's shift, in an order each can be posted in,
// with what each writes. Card 0001 goes through 30 and 40 to dispatch (50),
// which enters its 12 pairs into stock and marks its order item in stock;
// the last box label of item 00004502/001 releases the item and enters its
// 36 pairs.
const std::vector<ShiftCard> kShift = {
    {"1004", "00010100010000", "FICHA ATUALIZADA",
     "PROG_PS = '000101' and FICHA_PS = '0001' and SETOR_PS = '30'"},
    {"1005", "00010100010000", "FICHA ATUALIZADA",
     "PROG_PS = '000101' and FICHA_PS = '0001' and SETOR_PS = '40'"},
    {"1002", "00010100020001", "SUBFICHA ATUALIZADA",
     "PROG_PS = '000101' and FICHA_PS = '0002' and SUBFICHA_PS = '0001' and SETOR_PS = '21'"},
    {"1006", "1000030100", "TALAO ATUALIZADO", "CODCXCOLET_PS = 301 and SETOR_PS = '50'"},
    {"1006", "1000030200", "TALAO ATUALIZADO", "CODCXCOLET_PS = 302 and SETOR_PS = '50'"},
    {"1006", "00010100010000", "FICHA ATUALIZADA",
     "PROG_PS = '000101' and FICHA_PS = '0001' and SETOR_PS = '50'",
     "P.PROG_ES = '000101' and P.FICHA_ES = '0001'", 12,
     "PEDIDO_IT = '00004501' and ITEM_IT = '001'", "P", "E"},
    {"1006", "1000030300", "TALAO ATUALIZADO", "CODCXCOLET_PS = 303 and SETOR_PS = '50'",
     "P.PEDIDO_ES = '00004502' and P.ITEM_PED_ES = '001'", 36,
     "PEDIDO_IT = '00004502' and ITEM_IT = '001'", "P", "L",
     "ARQ_LA = 'ITENSPV' and CHAVE_LA = '00004502|001'"},
};
const ShiftCard& kAssembly = kShift[0];
const ShiftCard& kFinishing = kShift[1];
const ShiftCard& kSubCard = kShift[2];
const ShiftCard& kBox301 = kShift[3];
const ShiftCard& kBox302 = kShift[4];
const ShiftCard& kDispatch = kShift[5];
const ShiftCard& kBox303 = kShift[6];

// What a terminal was shown for one card and how long the whole exchange
// took (connect, badge, card, answer).
struct Attempt {
  std::string shown;
  milliseconds took{0};
};

std::size_t Occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

// Another program's transaction (an office program editing an order item)
// that has changed a row and neither commits nor rolls back until told.
class HeldRow {
 public:
  HeldRow(const db::ConnectionSettings& settings, const std::string& update)
      : connection_(settings) {
    connection_.startTransaction();
    connection_.execute(update);
  }
  void release() { connection_.rollback(); }

 private:
  db::Connection connection_;
};

// True once a statement of another attachment (the server's) is running an
// update of order items: with the row held, it is waiting for the lock.
bool SomeoneWaitsToUpdateItems(db::Connection& monitor) {
  return test::countRows(monitor, "MON$STATEMENTS",
                         "MON$STATE = 1 and MON$ATTACHMENT_ID <> current_connection and "
                         "upper(MON$SQL_TEXT) containing 'UPDATE ITENSPV'") > 0;
}

class MtserverDatabaseFaults : public testing::Test {
 protected:
  void SetUp() override {
    WriteFile(folder_ / "mtserver.ini",
              "[SERVER-CONFIG]\nPORTA-IP=" + std::to_string(port_) +
                  "\n[BDADOS-CONFIG]\nBDADOS=" + firebird_.connectionString(database_.path()) +
                  "\nCHAVE=" + firebird_.password() + "\nVersaoFirebird=3\nTEMPO-ESPERA-BLOQUEIO=" +
                  std::to_string(kLockTimeoutSeconds) + "\n");
    server_.start();
    ASSERT_TRUE(WaitUntil([&] { return server_.logHas("AtivarServer:"); })) << server_.errors();
    ASSERT_TRUE(server_.logHas("AtivarServer: servidor ativo\n")) << server_.log();
  }

  // Posts the card from a terminal of its own at `address`, the operator
  // pausing `pauseMs` between the login and the card, and records what it was
  // shown: the card's posted text, "NAO ATUALIZAD" for a refused card, the
  // result row for any other answer (a refused badge), or "" when no answer
  // came. Safe to call from several threads at once.
  Attempt Post(const ShiftCard& card, const char* address = "127.0.0.1", int pauseMs = 0) {
    const auto started = std::chrono::steady_clock::now();
    QProcess mtterm;
    // Each entry's echo is awaited before its Enter: while the server waits
    // for a lock, keys sent meanwhile reach it in one read.
    const std::string keys = std::string("{send:") + card.badge + "}{wait-for:" + card.badge +
                             "}{enter}{wait-for:FICHA:}{wait:" + std::to_string(pauseMs) +
                             "}{send:" + card.card + "}{wait-for:" + card.card +
                             "}{enter}{wait-for:ATUALIZAD}";
    mtterm.start(MTTERM_PATH, {"--dialect", "vt100", "--source-address", address, "--settle-ms",
                               "300", "--timeout-ms", "8000", "--wait-for", "CRACHA:", "--keys",
                               QString::fromStdString(keys), "127.0.0.1", QString::number(port_)});
    if (!mtterm.waitForFinished(30000)) mtterm.kill();
    mtterm.waitForFinished();
    Attempt attempt;
    attempt.took =
        std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - started);
    attempt.shown = ShownText(card, mtterm.readAllStandardOutput().toStdString());
    std::lock_guard<std::mutex> lock(answersMutex_);
    answers_.push_back({&card, attempt.shown});
    return attempt;
  }

  // Posts the card, running `fault` once the operator has logged in and
  // before the card is sent.
  Attempt PostWhile(const ShiftCard& card, const std::function<void()>& fault) {
    // The server's output is read only while events are processed: take in
    // what it wrote so far before counting the logins.
    WaitUntil([] { return false; }, 300);
    const std::string login = std::string("Funcionario: ") + card.badge + " ";
    const std::size_t logins = Occurrences(server_.output(), login);
    auto attempt = std::async(std::launch::async, [&] { return Post(card, "127.0.0.1", 4000); });
    EXPECT_TRUE(WaitUntil([&] { return Occurrences(server_.output(), login) > logins; }));
    fault();
    return attempt.get();
  }

  // Posts the card again and again until it is recorded, for at most `limit`.
  struct Retried {
    bool posted = false;
    milliseconds took{0};            // from the first attempt to the answer
    milliseconds withoutService{0};  // spent on attempts that got no answer
  };
  Retried PostUntilRecorded(const ShiftCard& card, seconds limit,
                            const char* address = "127.0.0.1") {
    const auto started = std::chrono::steady_clock::now();
    Retried retried;
    while (!retried.posted && std::chrono::steady_clock::now() - started < limit) {
      const Attempt attempt = Post(card, address);
      retried.posted = attempt.shown == card.postedText;
      if (!retried.posted) {
        retried.withoutService += attempt.took;
        std::this_thread::sleep_for(milliseconds(200));
      }
    }
    retried.took =
        std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - started);
    return retried;
  }

  // How many times the server restarted its listener so far.
  std::size_t Restarts() { return Occurrences(server_.output(), "Servidor Reiniciada"); }

  HeldRow Hold(const std::string& update) {
    return HeldRow(firebird_.settings(database_.path()), update);
  }

  // Waits (at most 10 s) until the server waits for a held order item.
  bool ServerWaitsForTheLock() {
    db::Connection monitor(firebird_.settings(database_.path()));
    return WaitUntil([&] { return SomeoneWaitsToUpdateItems(monitor); }, 10000);
  }

  void ExpectNotRecorded(const ShiftCard& card) {
    db::Connection connection(firebird_.settings(database_.path()));
    testing_support::ExpectNotRecorded(connection, card);
  }

  void ExpectHistory() {
    db::Connection connection(firebird_.settings(database_.path()));
    ExpectHistoryMatches(connection, kShift, answers_);
  }

  static std::string ShownText(const ShiftCard& card, const std::string& screen) {
    for (const char* text : {card.postedText, "NAO ATUALIZAD"}) {
      if (screen.find(text) != std::string::npos) return text;
    }
    // The last block's result row (the fourth), "|....................|".
    const std::size_t block = screen.rfind("\n\n");
    std::size_t row = block == std::string::npos ? 0 : block + 2;
    for (int skip = 0; skip < 3 && row != std::string::npos; ++skip) {
      row = screen.find('\n', row);
      if (row != std::string::npos) ++row;
    }
    if (row == std::string::npos || row + 22 > screen.size()) return "";
    const std::string text = screen.substr(row + 1, 20);
    return text.find_first_not_of(' ') == std::string::npos ? "" : text;
  }

  TempFolder folder_;
  test::DemoFactoryDatabase database_;
  test::PrivateFirebirdServer firebird_;
  int port_ = freePort();
  ServerProcess server_{folder_};
  std::mutex answersMutex_;
  std::vector<ShownAnswer> answers_;
};

TEST_F(MtserverDatabaseFaults, CardsPostAgainAfterTheDatabaseComesBackAndNoneIsHalfRecorded) {
  ASSERT_EQ(Post(kAssembly).shown, kAssembly.postedText);
  const std::size_t restarts = Restarts();

  // A crash of the database server while an operator is logged in: the card
  // meets the lost database and is refused on its terminal; a badge typed
  // while the database is gone is refused at the badge prompt. Once the
  // database is back the same card posts without restarting mtserver, and
  // nothing of the failed attempt was recorded.
  EXPECT_EQ(PostWhile(kFinishing, [&] { firebird_.kill(); }).shown, "NAO ATUALIZAD");
  EXPECT_EQ(Post(kSubCard).shown, "FUNC. NAO VERIFICADO");
  firebird_.start();
  ExpectNotRecorded(kFinishing);
  const Retried afterCrash = PostUntilRecorded(kFinishing, seconds(30));
  EXPECT_TRUE(afterCrash.posted);
  EXPECT_LT(afterCrash.took, seconds(15));

  // An administrator's stop and start, while the card that writes stock and
  // item status is posted.
  EXPECT_EQ(PostWhile(kDispatch, [&] { firebird_.stop(); }).shown, "NAO ATUALIZAD");
  firebird_.start();
  ExpectNotRecorded(kDispatch);
  const Retried afterStop = PostUntilRecorded(kDispatch, seconds(30));
  EXPECT_TRUE(afterStop.posted);
  EXPECT_LT(afterStop.took, seconds(15));
  std::cerr << "[ figures  ] posted again after the restart: " << afterCrash.took.count()
            << " ms after a crash, " << afterStop.took.count() << " ms after a stop\n";
  EXPECT_EQ(Restarts(), restarts) << server_.output();
  // Standard output names the terminal, the card and the database's error.
  EXPECT_NE(server_.output().find("Ficha 00010100010000 nao atualizada. Erro: "), std::string::npos)
      << server_.output();
  EXPECT_EQ(Post(kSubCard).shown, kSubCard.postedText);

  // A card posted twice is refused the second time.
  EXPECT_EQ(Post(kAssembly).shown, "NAO ATUALIZAD");
  ExpectHistory();
  EXPECT_EQ(server_.terminate(), 0) << server_.errors();
}

TEST_F(MtserverDatabaseFaults, ALockHeldPastTheTimeoutFailsTheCardAndTheFloorGoesOn) {
  Attempt assembly = Post(kAssembly);
  ASSERT_EQ(assembly.shown, kAssembly.postedText);
  ASSERT_EQ(Post(kFinishing).shown, kFinishing.postedText);
  const milliseconds unhindered = assembly.took;
  const std::size_t restarts = Restarts();

  // The dispatch card marks item 00004501/001 in stock; an office program
  // holds that row for well over the lock timeout while one terminal keeps
  // trying the card (an operator trying again after each refusal, logged in
  // all along) and another posts cards that do not need the row.
  HeldRow item = Hold(
      "update ITENSPV set SIT_IT = SIT_IT where PEDIDO_IT = '00004501' and "
      "ITEM_IT = '001'");
  const auto held = std::chrono::steady_clock::now();
  std::atomic<bool> holding{true};
  std::vector<SimulatedTerminal::CardAnswer> blocked;
  std::string blockedFailure;
  std::thread dispatch([&] {
    try {
      SimulatedTerminal terminal(port_, "127.0.0.4", milliseconds(20000));
      terminal.badgeIn(kDispatch.badge);
      while (holding) {
        blocked.push_back(terminal.postCard(kDispatch.card));
        std::this_thread::sleep_for(seconds(kLockTimeoutSeconds));
      }
    } catch (const std::exception& error) {
      blockedFailure = error.what();
    }
  });
  EXPECT_TRUE(ServerWaitsForTheLock());
  std::vector<Retried> others;
  for (const ShiftCard* card : {&kSubCard, &kBox301, &kBox302}) {
    others.push_back(PostUntilRecorded(*card, seconds(30), "127.0.0.3"));
  }
  std::this_thread::sleep_until(held + seconds(4 * kLockTimeoutSeconds));
  holding = false;
  dispatch.join();
  EXPECT_EQ(blockedFailure, "");

  // Each attempt waited out the lock timeout and was refused on its own
  // terminal, within the lock timeout and a second, with plain words behind
  // ","; nothing was recorded and the listener was never restarted.
  ASSERT_FALSE(blocked.empty());
  for (const SimulatedTerminal::CardAnswer& answer : blocked) {
    EXPECT_TRUE(answer.refused) << answer.screen;
    EXPECT_LT(answer.latency, seconds(kLockTimeoutSeconds + 1));
    std::string detail = answer.detail;
    std::erase(detail, '\n');
    EXPECT_NE(detail.find("REGISTRO EM USO POR OUTRO USUARIO. TENTE NOVAMENTE."), std::string::npos)
        << answer.detail;
  }
  EXPECT_EQ(Restarts(), restarts) << server_.output();
  EXPECT_EQ(Occurrences(server_.output(), "Erro Conex"), 0u) << server_.output();
  // Standard output and the log name the terminal, the card and the
  // database's conflict with the held row.
  const std::string line =
      std::string(" - Ficha ") + kDispatch.card +
      " nao atualizada. Erro: deadlock -update conflicts with concurrent update";
  EXPECT_EQ(Occurrences(server_.output(), line), blocked.size()) << server_.output();
  EXPECT_EQ(Occurrences(server_.log(), line), blocked.size()) << server_.log();
  item.release();
  ExpectNotRecorded(kDispatch);

  // The floor goes on: the other terminal stays connected and each of its
  // cards posts at the first try (waiting, while the database work runs on
  // the event loop, for the blocked card's lock timeout at most).
  for (std::size_t i = 0; i < others.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(others[i].posted);
    EXPECT_EQ(others[i].withoutService, milliseconds(0));
  }
  std::cerr << "[ figures  ] unhindered " << unhindered.count() << " ms; while held, until posted:";
  for (const Retried& retried : others) std::cerr << " " << retried.took.count() << " ms";
  std::cerr << "; blocked card attempts " << blocked.size() << ", answered after";
  for (const SimulatedTerminal::CardAnswer& answer : blocked) {
    std::cerr << " " << std::chrono::duration_cast<milliseconds>(answer.latency).count() << " ms";
  }
  std::cerr << "\n";

  // Once the row is free the same card posts at the next try.
  EXPECT_EQ(Post(kDispatch, "127.0.0.2").shown, kDispatch.postedText);

  // A lock released before the timeout: the card waits for it, then posts.
  HeldRow release = Hold(
      "update ITENSPV set SIT_IT = SIT_IT where PEDIDO_IT = '00004502' and "
      "ITEM_IT = '001'");
  auto lastBox = std::async(std::launch::async, [&] { return Post(kBox303, "127.0.0.2"); });
  EXPECT_TRUE(ServerWaitsForTheLock());
  std::this_thread::sleep_for(milliseconds(kLockTimeoutSeconds * 1000 / 3));
  release.release();
  const Attempt waited = lastBox.get();
  EXPECT_EQ(waited.shown, kBox303.postedText);
  std::cerr << "[ figures  ] card that waited for a lock released after "
            << kLockTimeoutSeconds * 1000 / 3 << " ms: " << waited.took.count() << " ms\n";

  ExpectHistory();
  EXPECT_EQ(server_.terminate(), 0) << server_.errors();
}

TEST_F(MtserverDatabaseFaults, CardsArePostedWhileTheLogFolderIsUnusableAndLoggedAgainAfter) {
  ASSERT_EQ(Post(kAssembly).shown, kAssembly.postedText);

  // The log folder replaced by a regular file of the same name: every line
  // fails to open (ENOTDIR), whoever runs the server.
  const std::filesystem::path logFolder = folder_ / "log";
  const std::filesystem::path setAside = folder_ / "log.aside";
  std::filesystem::rename(logFolder, setAside);
  WriteFile(logFolder, "not a folder\n");
  EXPECT_EQ(Post(kFinishing).shown, kFinishing.postedText);
  EXPECT_EQ(Post(kSubCard).shown, kSubCard.postedText);

  std::filesystem::remove(logFolder);
  std::filesystem::rename(setAside, logFolder);
  EXPECT_EQ(Post(kBox301).shown, kBox301.postedText);
  EXPECT_EQ(Post(kBox302).shown, kBox302.postedText);

  ExpectHistory();
  ASSERT_EQ(server_.terminate(), 0) << server_.errors();

  // Reported (on standard error, headless) once when it fails and once when
  // it recovers, however many lines were lost in between; the lines after
  // recovery are in the file.
  const std::string errors = server_.errors();
  EXPECT_EQ(Occurrences(errors, "Log inacess\xC3\xADvel"), 1u) << errors;
  EXPECT_EQ(Occurrences(errors, "Log gravado novamente"), 1u) << errors;
  const std::string log = server_.log();
  EXPECT_EQ(Occurrences(log, "Msg: TALAO ATUALIZADO"), 2u) << log;
  EXPECT_EQ(Occurrences(log, "Msg: SUBFICHA ATUALIZADA"), 0u) << log;
}

}  // namespace
}  // namespace mts
