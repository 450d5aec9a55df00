// Codes and badges no operator should type, through the real mtserver: each
// gets its answer on the terminal that sent it, nothing reaches the database in
// a form it refuses, and a terminal connected meanwhile stays connected.
#include <gtest/gtest.h>

#include <QHostAddress>
#include <QProcess>
#include <QTcpSocket>
#include <string>
#include <vector>

#include "DemoServerTest.h"

namespace mts {
namespace {

using testing_support::DemoServerTest;
using testing_support::WaitUntil;

// The demo factory with sub-cards cut 5 wide from the code: the sub-card part
// is then wider than the sub-card columns, the case that used to reach SQL.
class MtserverOddCodes : public DemoServerTest {
 protected:
  void SetUp() override {
    {
      db::Connection connection(database_.settings());
      connection.open();
      connection.execute(
          "update PARAM set VALOR_PA = '5' where GRUPO_PA = 'ATU_PRODUCAO' and "
          "PARAM_PA = 'SUBFICHA_TAM'");
    }
    rowsBefore_ = Rows();
    DemoServerTest::SetUp();
  }

  // The rows of the tables a hostile code could aim at.
  std::vector<int> Rows() {
    return {Count("SETOR", ""), Count("FUNCIONARIO", ""), Count("PRODUCAO_SETOR", ""),
            Count("PARAM", "")};
  }

  std::vector<int> rowsBefore_;
};

INSTANTIATE_TEST_SUITE_P(Vt100, MtserverOddCodes,
                         testing::Values(testing_support::Dialect{"VT-100", "vt100"}));

struct OddEntry {
  const char* name;
  bool badge;            // typed at the badge prompt (else at the card prompt, as 1006)
  const char* hexBytes;  // what is typed, as mtterm {hex:...}
  const char* answer;    // the text the terminal waits for
  const char* logged;    // a line the server must show (UTF-8), or ""
};

const OddEntry kOddEntries[] = {
    {"SubCardFiveWide", false, "30 30 30 31 30 31 30 30 30 34 30 30 30 30 31", "NAO ATUALIZADA",
     "Ficha 000101000400001 nao atualizada. Erro: C\xC3\xB3"
     "digo inv\xC3\xA1lido: Subficha com mais de 4 caracteres."},
    {"OverLong", false, "31 32 33 34 35 36 37 38 39 30 31 32 33 34 35 36 37 38 39",
     "NAO ATUALIZADA", ""},
    {"Short", false, "31 32", "NAO ATUALIZADA", ""},
    {"BlankFilled", false, "30 30 30 31 30 31 30 30 30 34 20 20 20 20 20 20", "ATUALIZADA", ""},
    {"LowerCase", false, "61 62 63 64 65 66 30 30 30 34 30 30 30 30", "NAO ATUALIZADA", ""},
    {"Accented", false, "E7 E3 6F 31 30 31 30 30 30 34 30 30 30 30", "NAO ATUALIZADA", ""},
    {"QuotesAndComments", false, "27 3B 2D 2D 2F 2A 22 31 30 30 34 30 30 30", "NAO ATUALIZADA", ""},
    {"HighBytes", false, "80 FF 9F A0 C0 31 30 30 30 34 30 30 30 30 31 31", "NAO ATUALIZADA", ""},
    {"BadgeWithQuote", true, "31 30 30 36 27 3B 2D 2D", "NAO LOCALIZADO", ""},
    {"BadgeOverLong", true, "31 30 30 36 31 30 30 36 31 30 30 36 31 30 30 36", "NAO LOCALIZADO",
     ""},
    {"BadgeAccented", true, "E7 E3 6F", "NAO LOCALIZADO", ""},
    {"BadgeLowerCase", true, "61 62 63", "NAO LOCALIZADO", ""},
};

TEST_P(MtserverOddCodes, EveryEntryIsAnsweredOnItsTerminal) {
  // A terminal that only watches: a database fault handled by restarting the
  // listener would drop it.
  QTcpSocket bystander;
  ASSERT_TRUE(bystander.bind(QHostAddress("127.0.0.9")));
  bystander.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port_));
  ASSERT_TRUE(bystander.waitForConnected(10000));
  ASSERT_TRUE(WaitUntil([&] { return bystander.bytesAvailable() > 0; }));

  for (const OddEntry& entry : kOddEntries) {
    SCOPED_TRACE(entry.name);
    const std::string keys = entry.badge ? std::string("{hex:") + entry.hexBytes + "}{enter}"
                                         : std::string("1006{enter}{wait-for:FICHA:}{hex:") +
                                               entry.hexBytes + "}{enter}";
    const std::string screen =
        Terminal("127.0.0.2", keys + "{wait-for:" + entry.answer + "}{esc}{wait-for:CRACHA:}");
    EXPECT_NE(screen.find("CRACHA:"), std::string::npos) << screen;
  }

  WaitUntil([&] { return bystander.state() != QAbstractSocket::ConnectedState; }, 500);
  EXPECT_EQ(bystander.state(), QAbstractSocket::ConnectedState);
  EXPECT_EQ(server_.terminate(), 0) << server_.errors();
  const std::string output = server_.output();
  for (const OddEntry& entry : kOddEntries) {
    if (*entry.logged) {
      EXPECT_NE(output.find(entry.logged), std::string::npos) << output;
    }
  }
  EXPECT_EQ(output.find("Erro Conex"), std::string::npos) << output;
  EXPECT_EQ(output.find("Reiniciada"), std::string::npos) << output;
  EXPECT_EQ(Rows(), rowsBefore_);
}

}  // namespace
}  // namespace mts
