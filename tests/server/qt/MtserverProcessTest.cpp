// Runs the real mtserver executable headless and talks to it over TCP.
#include <gtest/gtest.h>

#include <signal.h>

#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <filesystem>
#include <memory>
#include <string>

#include "QtTestHelpers.h"
#include "ServerProcess.h"
#include "TempFolder.h"
#include "support/FreePort.h"
#include "support/TestDatabase.h"

namespace mts {
namespace {

using test::freePort;
using testing_support::ServerProcess;
using testing_support::TempFolder;
using testing_support::WaitUntil;
using testing_support::WriteFile;

const std::string kVt100BadgePrompt =
    "\x1B\x5B\x48\x1B\x5B\x4A"          // clear screen
    "\x1B\x5B\x30\x31\x3B\x30\x31\x48"  // cursor home (after the clear)
    "\x1B\x5B\x30\x31\x3B\x30\x31\x48"  // cursor to row 0, column 0
    "\x43\x52\x41\x43\x48\x41\x3A";     // CRACHA:
const std::string kStxEtxBadgePrompt =
    "\x02\x4C\x03"
    "\x02\x43\x30\x30\x30\x30\x03"
    "\x02\x43\x30\x30\x30\x30\x03"
    "\x02\x44\x43\x52\x41\x43\x48\x41\x3A\x03";

// A terminal connecting from a loopback address of its choice; returns the
// first bytes the server sends (as many as expected).
std::string ConnectAndRead(const char* from, int port, std::size_t expected,
                           std::unique_ptr<QTcpSocket>& socket) {
  socket = std::make_unique<QTcpSocket>();
  EXPECT_TRUE(socket->bind(QHostAddress(QString(from)), 0));
  socket->connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
  std::string received;
  WaitUntil([&] {
    received += socket->readAll().toStdString();
    return received.size() >= expected;
  });
  return received;
}

struct DialectCase {
  const char* protocol;
  const std::string* badgePrompt;
};

void PrintTo(const DialectCase& c, std::ostream* out) {
  *out << c.protocol;
}

class MtserverRun : public testing::TestWithParam<DialectCase> {};

TEST_P(MtserverRun, TerminalsConnectAreListedAndShownTheBadgePrompt) {
  TempFolder folder;
  test::TestDatabase database(test::factorySchema());
  const int port = freePort();
  WriteFile(folder / "mtserver.ini",
            std::string("[SERVER-CONFIG]\r\nPROTOCOLO-TERMINAL=") + GetParam().protocol +
                "\r\nPORTA-IP=" + std::to_string(port) +
                "\r\n[BDADOS-CONFIG]\r\nBDADOS=" + database.path().string() + "\r\n");
  ServerProcess server(folder);
  server.start();
  ASSERT_TRUE(WaitUntil([&] { return server.logHas("AtivarServer:"); })) << server.errors();
  ASSERT_TRUE(server.logHas("AtivarServer: servidor ativo\n")) << server.log();

  const std::string& prompt = *GetParam().badgePrompt;
  std::unique_ptr<QTcpSocket> first, second, third;
  EXPECT_EQ(ConnectAndRead("127.0.0.1", port, prompt.size(), first), prompt);
  EXPECT_EQ(ConnectAndRead("127.0.0.2", port, prompt.size(), second), prompt);
  // The first terminal leaves and comes back: same record, prompt again.
  first->disconnectFromHost();
  EXPECT_EQ(ConnectAndRead("127.0.0.1", port, prompt.size(), first), prompt);
  EXPECT_EQ(ConnectAndRead("127.0.0.3", port, prompt.size(), third), prompt);
  // A printable run in one read is one key (a scanned code): echoed whole and
  // listed by its first byte.
  second->write("123");
  second->waitForBytesWritten();
  std::string echo;
  EXPECT_TRUE(WaitUntil([&] {
    echo += second->readAll().toStdString();
    return echo == "123";
  })) << echo;

  EXPECT_EQ(server.terminate(), 0);
  EXPECT_EQ(server.output(), "Protocolo Terminal: " + std::string(GetParam().protocol) +
                                 "\nTipo Teclado: 16\nPorta IP: " + std::to_string(port) +
                                 "\nBD: " + database.path().string() +
                                 "\nTerminais Conectados: 0 - 127.0.0.1"
                                 "\nTerminais Conectados: 1 - 127.0.0.2"
                                 "\nTerminais Conectados: 2 - 127.0.0.3"
                                 "\nTerminal 1 - 49\n");
  EXPECT_EQ(server.errors(), "");

  const std::string log = server.log();
  EXPECT_NE(log.find(" : LoadParam: (ProtocoloTerminal = " + std::string(GetParam().protocol) +
                     "), (TipoTeclado = 16), (PortaIp = " + std::to_string(port) + ").\n"),
            std::string::npos)
      << log;
  const std::string lastLine = " : servidor desativado.\n";
  ASSERT_GE(log.size(), lastLine.size());
  EXPECT_EQ(log.substr(log.size() - lastLine.size()), lastLine);
  // Lines are "yyyy-mm-dd hh:nn:ss : message".
  EXPECT_EQ(log.substr(4, 1) + log.substr(7, 1) + log.substr(10, 1) + log.substr(13, 1) +
                log.substr(16, 1) + log.substr(19, 3),
            "-- :: : ");
}

INSTANTIATE_TEST_SUITE_P(Dialects, MtserverRun,
                         testing::Values(DialectCase{"VT-100", &kVt100BadgePrompt},
                                         DialectCase{"STX-ETX", &kStxEtxBadgePrompt}),
                         [](const auto& info) {
                           return std::string(info.param.protocol[0] == 'V' ? "Vt100" : "StxEtx");
                         });

// Without a window nobody would read the error: settings it cannot serve with
// end the process with status 78 (EX_CONFIG), which the service unit does
// not retry; the log says so and is closed as usual.
TEST(MtserverFailures, PortAlreadyBoundEndsAHeadlessServerWithStatus78) {
  TempFolder folder;
  QTcpServer occupant;
  ASSERT_TRUE(occupant.listen(QHostAddress::Any, 0));
  WriteFile(folder / "mtserver.ini",
            "[SERVER-CONFIG]\nPORTA-IP=" + std::to_string(occupant.serverPort()) +
                "\n[BDADOS-CONFIG]\nBDADOS=/nao/existe.fdb\n");
  ServerProcess server(folder);
  server.start();
  EXPECT_EQ(server.waitForExit(), 78);
  EXPECT_NE(server.errors().find("N\xC3\xA3o foi poss\xC3\xADvel abrir a porta " +
                                 std::to_string(occupant.serverPort())),
            std::string::npos)
      << server.errors();
  EXPECT_TRUE(server.logHas("AtivarServer: servidor inativo\n")) << server.log();
  EXPECT_TRUE(server.logHas(" : servidor desativado.\n"));
}

TEST(MtserverFailures, NoIniFileIsNamedWithItsReasonAndEndsAHeadlessServer) {
  TempFolder folder;
  ServerProcess server(folder);
  // Without a display it runs headless by itself.
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    environment.remove(name);
  }
  server.start(/*withIni=*/false, {}, environment);
  EXPECT_EQ(server.waitForExit(), 78);
  const std::string problem = "error: " + (folder / "absent.ini").string() +
                              ": cannot be read: No such file or directory; every setting "
                              "takes its default and no database is configured (without a "
                              "window the server does not start)";
  EXPECT_EQ(server.errors(), problem + "\nBanco de Dados n\xC3\xA3o Configurado.\n");
  EXPECT_EQ(server.output(), "");
  const std::string log = server.log();
  EXPECT_NE(log.find(" : " + problem + "\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("LoadParam"), std::string::npos);
  EXPECT_EQ(log.find("AtivarServer"), std::string::npos);
  EXPECT_NE(log.find(" : servidor desativado.\n"), std::string::npos);
}

TEST(MtserverWindow, SignalClosesTheWindowEvenWithTheStartUpErrorBoxOpen) {
  TempFolder folder;
  ServerProcess server(folder);
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  server.start(/*withIni=*/false, {}, environment);
  // The error box is up once the log folder exists (created before the INI
  // is read); the signal may arrive before or while it shows.
  ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(folder / "log"); }));

  EXPECT_EQ(server.terminate(), 0);
  EXPECT_NE(server.log().find(" : servidor desativado.\n"), std::string::npos);
}

TEST(MtserverWindow, WindowRunServesTerminalsAndStopsOnSignal) {
  TempFolder folder;
  const int port = freePort();
  WriteFile(folder / "mtserver.ini", "[SERVER-CONFIG]\nPORTA-IP=" + std::to_string(port) +
                                         "\n[BDADOS-CONFIG]\nBDADOS=/nao/existe.fdb\n");
  ServerProcess server(folder);
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  server.start(true, {}, environment);
  ASSERT_TRUE(WaitUntil([&] { return server.logHas("AtivarServer:"); }));

  std::unique_ptr<QTcpSocket> terminal;
  EXPECT_EQ(ConnectAndRead("127.0.0.1", port, kVt100BadgePrompt.size(), terminal),
            kVt100BadgePrompt);
  EXPECT_EQ(server.terminate(), 0);
  EXPECT_EQ(server.output(), "");
  EXPECT_NE(server.log().find(" : servidor desativado.\n"), std::string::npos);
}

// Stopped by a signal the way a supervisor stops it, a few times over: with the
// window and without, on a database and on a database server nobody answers
// for, always with a terminal connected. Every stop ends with status 0, neither
// a crash nor a hang (scripts/stop-loop runs the same for hundreds of cycles).
struct StopCase {
  const char* name;
  bool window;
  bool reachableDatabase;
};

void PrintTo(const StopCase& c, std::ostream* out) {
  *out << c.name;
}

class MtserverStop : public testing::TestWithParam<StopCase> {};

TEST_P(MtserverStop, EveryStopEndsCleanly) {
  test::TestDatabase database(test::factorySchema());
  const std::string databaseName =
      GetParam().reachableDatabase
          ? database.path().string()
          : "127.0.0.1/" + std::to_string(freePort()) + ":" + database.path().string();
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  for (int cycle = 1; cycle <= 3; ++cycle) {
    SCOPED_TRACE("cycle " + std::to_string(cycle));
    TempFolder folder;
    const int port = freePort();
    WriteFile(folder / "mtserver.ini", "[SERVER-CONFIG]\nPORTA-IP=" + std::to_string(port) +
                                           "\n[BDADOS-CONFIG]\nBDADOS=" + databaseName + "\n");
    ServerProcess server(folder);
    server.start(true, GetParam().window ? QStringList{} : QStringList{"--headless"}, environment);
    ASSERT_TRUE(WaitUntil([&] { return server.logHas("AtivarServer: servidor ativo"); }))
        << server.errors();

    std::unique_ptr<QTcpSocket> terminal;
    EXPECT_EQ(ConnectAndRead("127.0.0.1", port, kVt100BadgePrompt.size(), terminal),
              kVt100BadgePrompt);
    EXPECT_EQ(server.terminate(), 0) << server.errors();
  }
}

INSTANTIATE_TEST_SUITE_P(Runs, MtserverStop,
                         testing::Values(StopCase{"HeadlessOnADatabase", false, true},
                                         StopCase{"HeadlessDatabaseUnreachable", false, false},
                                         StopCase{"WindowOnADatabase", true, true},
                                         StopCase{"WindowDatabaseUnreachable", true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mts
