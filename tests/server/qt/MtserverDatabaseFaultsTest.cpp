// The database failing under a running shift: the real mtserver, headless,
// serving the demo factory through a Firebird server of the test's own, with
// terminals played by mtterm. The Firebird server is killed, stopped and
// brought back while cards are posted; afterwards what each terminal was shown
// is compared with the rows in the database.
#include <gtest/gtest.h>

#include <QProcess>
#include <chrono>
#include <string>
#include <thread>

#include "QtTestHelpers.h"
#include "ServerProcess.h"
#include "TempFolder.h"
#include "dataaccess/firebird/Connection.h"
#include "support/DatabaseRows.h"
#include "support/DemoFactory.h"
#include "support/PrivateFirebirdServer.h"

namespace mts {
namespace {

using testing_support::FreePort;
using testing_support::ServerProcess;
using testing_support::TempFolder;
using testing_support::WaitUntil;
using testing_support::WriteFile;

// One card as an operator posts it: badge, card, and the text to wait for.
struct Posting {
  const char* badge;
  const char* card;
  const char* postedText;  // row 3 when the card is recorded
  const char* rowsWhere;   // the PRODUCAO_SETOR rows the card writes
};

const Posting kAssemblyCard{"1004", "00010100010000", "FICHA ATUALIZADA",
                            "PROG_PS = '000101' and FICHA_PS = '0001' and SETOR_PS = '30'"};
const Posting kBoxLabel{"1006", "1000030100", "TALAO ATUALIZADO",
                        "CODCXCOLET_PS = 301 and SETOR_PS = '50'"};
const Posting kSubCard{"1002", "00010100020001", "SUBFICHA ATUALIZADA",
                       "PROG_PS = '000101' and FICHA_PS = '0002' and SUBFICHA_PS = '0001' and "
                       "SETOR_PS = '21'"};

class MtserverDatabaseFaults : public testing::Test {
 protected:
  void SetUp() override {
    WriteFile(folder_ / "mtserver.ini",
              "[SERVER-CONFIG]\nPORTA-IP=" + std::to_string(port_) + "\n[BDADOS-CONFIG]\nBDADOS=" +
                  firebird_.connectionString(database_.path()) + "\nCHAVE=" + firebird_.password() +
                  "\nVersaoFirebird=3\nTEMPO-ESPERA-BLOQUEIO=2\n");
    server_.start();
    ASSERT_TRUE(WaitUntil([&] { return server_.logHas("AtivarServer:"); })) << server_.errors();
    ASSERT_TRUE(server_.logHas("AtivarServer: servidor ativo\n")) << server_.log();
  }

  // Posts the card from a terminal of its own: the result it was shown, or ""
  // when the connection closed before any result.
  std::string Post(const Posting& posting) {
    QProcess mtterm;
    const std::string keys = std::string(posting.badge) +
                             "{enter}{wait-for:FICHA:}{send:" + posting.card +
                             "}{enter}{wait-for:ATUALIZAD}";
    mtterm.start(MTTERM_PATH, {"--dialect", "vt100", "--settle-ms", "300", "--timeout-ms", "8000",
                               "--wait-for", "CRACHA:", "--keys", QString::fromStdString(keys),
                               "127.0.0.1", QString::number(port_)});
    if (!mtterm.waitForFinished(30000)) mtterm.kill();
    mtterm.waitForFinished();
    const std::string screen = mtterm.readAllStandardOutput().toStdString();
    for (const char* text : {posting.postedText, "NAO ATUALIZAD"}) {
      if (screen.find(text) != std::string::npos) return text;
    }
    return "";
  }

  // Posts the card again and again until it is recorded, for at most `limit`:
  // how long the database took to come back for the terminals.
  std::chrono::milliseconds PostUntilRecorded(const Posting& posting, std::chrono::seconds limit) {
    const auto started = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - started < limit) {
      if (Post(posting) == posting.postedText) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 started);
  }

  int Rows(const Posting& posting) {
    db::Connection connection(firebird_.settings(database_.path()));
    return static_cast<int>(test::countRows(connection, "PRODUCAO_SETOR", posting.rowsWhere));
  }

  TempFolder folder_;
  test::DemoFactoryDatabase database_;
  test::PrivateFirebirdServer firebird_;
  int port_ = FreePort();
  ServerProcess server_{folder_};
};

TEST_F(MtserverDatabaseFaults, CardsPostAgainAfterTheDatabaseComesBackAndNoneIsHalfRecorded) {
  ASSERT_EQ(Post(kAssemblyCard), kAssemblyCard.postedText);

  // A crash of the database server: the card is not shown as posted, and once
  // the database is back the same card posts without restarting mtserver.
  firebird_.kill();
  EXPECT_NE(Post(kBoxLabel), kBoxLabel.postedText);
  firebird_.start();
  EXPECT_LT(PostUntilRecorded(kBoxLabel, std::chrono::seconds(30)), std::chrono::seconds(15));

  // An administrator's stop and start.
  firebird_.stop();
  EXPECT_NE(Post(kSubCard), kSubCard.postedText);
  firebird_.start();
  EXPECT_LT(PostUntilRecorded(kSubCard, std::chrono::seconds(30)), std::chrono::seconds(15));

  // Each card shown as posted is recorded exactly once; a card posted twice
  // is refused the second time and stays recorded once.
  EXPECT_NE(Post(kAssemblyCard), kAssemblyCard.postedText);
  for (const Posting& posting : {kAssemblyCard, kBoxLabel, kSubCard}) {
    SCOPED_TRACE(posting.card);
    EXPECT_EQ(Rows(posting), 1);
  }
  EXPECT_EQ(server_.terminate(), 0) << server_.errors();
}

}  // namespace
}  // namespace mts
