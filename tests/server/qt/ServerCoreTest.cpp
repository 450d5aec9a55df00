#include "server/ServerCore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "support/ServerFakes.h"
#include "support/TestDatabase.h"

namespace mts {
namespace {

using test::FakeListener;
using test::ManualTimer;
using test::RecordingView;
using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

constexpr const char* kNoDatabase = "Banco de Dados n\xE3o Configurado.";

class ServerCoreTest : public testing::Test {
 protected:
  ServerCoreTest()
      : core_({folder_ / "mtserver.ini", folder_ / "log"}, view_, listener_, timer_,
              [] { return LocalTime{2024, 3, 5, 7, 4, 9}; }) {}

  void WriteIni(const std::string& text) { WriteFile(folder_ / "mtserver.ini", text); }

  void WriteIniWithDatabase() {
    WriteIni("[SERVER-CONFIG]\nPORTA-IP=2001\n[BDADOS-CONFIG]\nBDADOS=" +
             database_.path().string() + "\n");
  }

  void StartWithDatabase() {
    WriteIniWithDatabase();
    core_.FormCreate();
    core_.FormShow();
  }

  // The log file's messages, without their time stamps.
  std::vector<std::string> LogMessages() {
    std::vector<std::string> messages;
    std::istringstream lines(ReadFile(folder_ / "log" / "server-log-05.log"));
    for (std::string line; std::getline(lines, line);) {
      EXPECT_EQ(line.substr(0, 22), "2024-03-05 07:04:09 : ");
      messages.push_back(line.substr(22));
    }
    return messages;
  }

  TempFolder folder_;
  test::TestDatabase database_{test::factorySchema()};
  RecordingView view_;
  FakeListener listener_;
  ManualTimer timer_;
  ServerCore core_;
};

TEST_F(ServerCoreTest, StartUpReadsSettingsListensAndCreatesTheModule) {
  WriteIni(
      "[SERVER-CONFIG]\r\nPROTOCOLO-TERMINAL=STX-ETX\r\nTIPO-TECLADO=44\r\nPORTA-IP=2001\r\n"
      "[IP_TERMINAL_LED]\r\n1=10.0.0.5\r\n"
      "[BDADOS-CONFIG]\r\nBDADOS=/dados/f\xE1"
      "brica.fdb\r\nCHAVE=3\r\nVersaoFirebird=3\r\n");
  core_.FormCreate();

  EXPECT_EQ(view_.panels, (std::array<std::string, 4>{"BD: /dados/f\xE1"
                                                      "brica.fdb",
                                                      "Protocolo Terminal: STX-ETX",
                                                      "Tipo Teclado: 44", "Porta IP: 2001"}));
  EXPECT_EQ(LogMessages(),
            (std::vector<std::string>{
                "LoadParam: (ProtocoloTerminal = STX-ETX), (TipoTeclado = 44), (PortaIp = 2001).",
                "AtivarServer: servidor ativo"}));
  EXPECT_EQ(listener_.ports, std::vector<int>{2001});
  EXPECT_TRUE(view_.received.empty());

  const db::ConnectionSettings& settings = core_.connectionSettings();
  EXPECT_EQ(settings.database,
            "/dados/f\xE1"
            "brica.fdb");
  EXPECT_EQ(settings.user, "SYSDBA");
  EXPECT_EQ(settings.password, "PelRot41");
  EXPECT_EQ(settings.dialect, 3);
  EXPECT_EQ(settings.charset, "WIN1252");

  EXPECT_TRUE(core_.screen().Settings().ProtocolStxEtx);
  EXPECT_TRUE(core_.screen().Settings().WideKeyboard);
  EXPECT_EQ(core_.registry().LedTerminals(), std::vector<std::string>{"10.0.0.5"});
  EXPECT_NE(core_.workers(), nullptr);

  // The workers cannot reach a database that does not exist: once they know,
  // the server says so once and goes on.
  EXPECT_TRUE(view_.errors.empty()) << "start-up does not wait on the database";
  ASSERT_TRUE(timer_.runPosted());
  EXPECT_EQ(view_.errors.size(), 1u);
}

TEST_F(ServerCoreTest, WithoutDatabaseNothingStartsButTheServerStillCloses) {
  WriteIni("[CONFIG_LED]\nTEMPO_LED_VERDE=50\n[IP_TERMINAL_LED]\n1=10.0.0.9\n");
  core_.FormCreate();
  core_.FormShow();

  EXPECT_EQ(view_.errors, std::vector<std::string>{kNoDatabase});
  const std::string problem = "error: " + (folder_ / "mtserver.ini").string() +
                              " [BDADOS-CONFIG] BDADOS: missing; no database is configured: "
                              "nothing listens for terminals (without a window the server "
                              "does not start)";
  EXPECT_EQ(view_.received, std::vector<std::string>{problem});
  EXPECT_EQ(view_.panels, (std::array<std::string, 4>{}));
  EXPECT_TRUE(listener_.ports.empty());
  EXPECT_EQ(core_.connectionSettings().database, "") << "the connection is left unset";
  EXPECT_EQ(core_.workers(), nullptr);
  EXPECT_TRUE(core_.SettingsUnusable());
  // The LED settings were stored before the database check.
  EXPECT_EQ(core_.screen().Settings().GreenLedTime, 50);
  EXPECT_EQ(core_.registry().LedTerminals(), std::vector<std::string>{"10.0.0.9"});

  core_.FormClose();
  core_.FormClose();
  EXPECT_EQ(LogMessages(), (std::vector<std::string>{problem, "servidor desativado."}));
}

TEST_F(ServerCoreTest, MissingIniFileIsNamedWithItsReasonThenTheNoDatabaseError) {
  core_.FormCreate();
  EXPECT_EQ(view_.errors, std::vector<std::string>{kNoDatabase});
  ASSERT_EQ(view_.received.size(), 1u);
  EXPECT_EQ(view_.received[0].rfind("error: " + (folder_ / "mtserver.ini").string() +
                                        ": cannot be read: No such file or directory;",
                                    0),
            0u)
      << view_.received[0];
  EXPECT_TRUE(listener_.ports.empty());
  EXPECT_TRUE(core_.SettingsUnusable());
}

// Settings it cannot use as written are warned about, in the view and the
// log, and start-up shows what it uses; the database user is the INI's.
TEST_F(ServerCoreTest, SettingsProblemsAreWarnedAboutAndWhatIsUsedIsShown) {
  WriteIni(
      "[SERVER-CONFIG]\nPROTOCOLO-TERMINAL=stx-etx\nPORTA-IP=2001\nCOR=azul\n"
      "[BDADOS-CONFIG]\nBDADOS=" +
      database_.path().string() + "\nUSUARIO=PRODUCAO\n");
  core_.FormCreate();

  const std::string file = (folder_ / "mtserver.ini").string();
  const std::vector<std::string> problems = {
      "warning: " + file +
          " [SERVER-CONFIG] PROTOCOLO-TERMINAL=\"stx-etx\": neither VT-100 nor STX-ETX (letter "
          "case counts); VT-100 is used (the terminals are spoken to in VT-100)",
      "warning: " + file + " [SERVER-CONFIG] COR: unknown key; ignored"};
  EXPECT_EQ(view_.received, problems);
  EXPECT_EQ(view_.panels[1], "Protocolo Terminal: VT-100");
  EXPECT_EQ(LogMessages(), (std::vector<std::string>{
                               problems[0], problems[1],
                               "LoadParam: (ProtocoloTerminal = VT-100), (TipoTeclado = 16), "
                               "(PortaIp = 2001).",
                               "AtivarServer: servidor ativo"}));
  EXPECT_FALSE(core_.screen().Settings().ProtocolStxEtx);
  EXPECT_EQ(core_.connectionSettings().user, "PRODUCAO");
  EXPECT_FALSE(core_.SettingsUnusable());
}

// An unusable terminal port: the window listens where the reading rules say
// (1001 for a value that is not a number); a run that refuses settings errors
// stops before anything listens.
TEST_F(ServerCoreTest, RefusingSettingsErrorsStopsStartUpBeforeListening) {
  WriteIni("[SERVER-CONFIG]\nPORTA-IP=abc\n[BDADOS-CONFIG]\nBDADOS=" + database_.path().string() +
           "\n");
  {
    TempFolder folder;
    RecordingView view;
    FakeListener listener;
    ServerCore lenient({folder_ / "mtserver.ini", folder / "log"}, view, listener, timer_);
    lenient.FormCreate();
    EXPECT_EQ(listener.ports, std::vector<int>{1001});
    EXPECT_FALSE(lenient.SettingsUnusable());
  }

  core_.setRefuseSettingsErrors(true);
  core_.FormCreate();
  EXPECT_TRUE(listener_.ports.empty());
  EXPECT_EQ(core_.workers(), nullptr);
  EXPECT_TRUE(core_.SettingsUnusable());
  ASSERT_EQ(view_.errors.size(), 1u);
  EXPECT_EQ(view_.errors[0], "mtserver does not start: " + (folder_ / "mtserver.ini").string() +
                                 " has the errors above (mtserver --check-config lists them)");
}

TEST_F(ServerCoreTest, PortThatCannotBeBoundIsShownAndSkipsTheModule) {
  listener_.onOpen = [](int, std::string& error) {
    error = "porta em uso";
    return false;
  };
  StartWithDatabase();

  EXPECT_EQ(view_.errors, std::vector<std::string>{"porta em uso"});
  EXPECT_EQ(core_.workers(), nullptr);
  EXPECT_TRUE(core_.SettingsUnusable());
  core_.FormClose();
  EXPECT_EQ(LogMessages(), (std::vector<std::string>{
                               "LoadParam: (ProtocoloTerminal = VT-100), (TipoTeclado = 16), "
                               "(PortaIp = 2001).",
                               "AtivarServer: servidor inativo", "servidor desativado."}));
}

TEST_F(ServerCoreTest, ErrorBeforeTheWindowShowsIsAnErrorBox) {
  WriteIniWithDatabase();
  core_.FormCreate();
  core_.HandleError("falhou");
  EXPECT_EQ(view_.errors, std::vector<std::string>{"falhou"});
  EXPECT_EQ(listener_.closes, 0);
}

TEST_F(ServerCoreTest, ServerExceptionRestartsTheListener) {
  StartWithDatabase();
  auto terminal = listener_.connect("10.0.0.1");
  core_.ClientConnect(terminal);

  core_.HandleError("Connection timed out");

  EXPECT_EQ(view_.received, (std::vector<std::string>{"Erro Conex\xE3o: Connection timed out",
                                                      "Conex\xE3o Servidor Reiniciada."}));
  EXPECT_TRUE(view_.errors.empty());
  EXPECT_FALSE(terminal->isOpen());
  EXPECT_TRUE(listener_.listening);
  EXPECT_EQ(listener_.ports, (std::vector<int>{2001, 2001}));
  const std::vector<std::string> log = LogMessages();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[2], "servidor desativado.");
  EXPECT_EQ(log[3], "AtivarServer: servidor ativo");
  // The terminal keeps its record: a reconnect gets the same number and no
  // second list entry.
  core_.ClientConnect(listener_.connect("10.0.0.1"));
  EXPECT_EQ(view_.entries, std::vector<std::string>{"0 - 10.0.0.1"});
}

TEST_F(ServerCoreTest, FailedRestartIsReportedOnceAndTheServerStillCloses) {
  StartWithDatabase();
  listener_.onOpen = [](int, std::string& error) {
    error = "porta em uso";
    return false;
  };

  core_.HandleError("Network unreachable");

  EXPECT_EQ(view_.received, std::vector<std::string>{"Erro Conex\xE3o: Network unreachable"});
  EXPECT_EQ(view_.errors, std::vector<std::string>{"porta em uso"});
  EXPECT_EQ(listener_.ports.size(), 2u);
  core_.FormClose();
  EXPECT_EQ(LogMessages().back(), "servidor desativado.");
}

TEST_F(ServerCoreTest, ErrorRaisedWhileRestartingDoesNotRestartAgain) {
  StartWithDatabase();
  int opens = 0;
  listener_.onOpen = [&](int, std::string&) {
    // The reopen itself runs into an error handler call.
    if (++opens < 5) core_.HandleError("de novo");
    return true;
  };

  core_.HandleError("primeiro");

  EXPECT_EQ(opens, 1);
  EXPECT_EQ(view_.received,
            (std::vector<std::string>{"Erro Conex\xE3o: primeiro", "Erro Conex\xE3o: de novo",
                                      "Conex\xE3o Servidor Reiniciada."}));
}

TEST_F(ServerCoreTest, LogFailureWhileRestartingStillReopensTheListener) {
  StartWithDatabase();
  // The log file turns into a folder: every further line fails.
  std::filesystem::remove(folder_ / "log" / "server-log-05.log");
  std::filesystem::create_directory(folder_ / "log" / "server-log-05.log");

  core_.HandleError("Connection timed out");

  EXPECT_TRUE(listener_.listening);
  EXPECT_EQ(listener_.ports.size(), 2u);
  EXPECT_EQ(view_.received.back(), "Conex\xE3o Servidor Reiniciada.");
  EXPECT_TRUE(view_.errors.empty());
}

TEST_F(ServerCoreTest, TheDatabasePasswordIsNeverShownNorLogged) {
  // Each key's password, and a key that is its own password, with a database
  // that cannot be reached: the failure is reported, the password is not.
  const std::pair<const char*, const char*> keys[] = {
      {"1", "tallowfen"}, {"3", "PelRot41"}, {"S3nh@Pr0pria", "S3nh@Pr0pria"}};
  for (const auto& [key, password] : keys) {
    SCOPED_TRACE(key);
    TempFolder folder;
    RecordingView view;
    FakeListener listener;
    ServerCore core({folder / "mtserver.ini", folder / "log"}, view, listener, timer_);
    WriteFile(folder / "mtserver.ini",
              std::string("[SERVER-CONFIG]\nPORTA-IP=2001\n[BDADOS-CONFIG]\nBDADOS=") +
                  (folder / "nowhere" / "db.fdb").string() + "\nCHAVE=" + key +
                  // Warned about, never with its value.
                  "\nCHAVE=" + key + "\n[SERVER-CONFIG]\nCHAVE=" + key + "\n");
    core.FormCreate();
    core.FormShow();
    ASSERT_TRUE(timer_.runPosted());
    core.HandleError("falhou");
    core.FormClose();
    ASSERT_EQ(core.connectionSettings().password, password);
    ASSERT_FALSE(view.errors.empty());
    std::string shown;
    for (const auto& lines : {view.errors, view.received, view.entries}) {
      for (const std::string& line : lines) shown += line + "\n";
    }
    for (const std::string& panel : view.panels) shown += panel + "\n";
    for (const auto& entry : std::filesystem::directory_iterator(folder / "log")) {
      shown += ReadFile(entry.path());
    }
    EXPECT_EQ(shown.find(password), std::string::npos) << shown;
  }
}

// The log's notices among the received lines.
std::vector<std::string> LogNotices(const std::vector<std::string>& received) {
  std::vector<std::string> notices;
  for (const std::string& line : received) {
    if (line.rfind("Log ", 0) == 0) notices.push_back(line.substr(0, line.find(':')));
  }
  return notices;
}

TEST_F(ServerCoreTest, UnwritableLogFolderIsReportedOnceAndAgainWhenItRecovers) {
  // A file where the log folder should be: the folder can be neither created
  // nor written to.
  WriteFile(folder_ / "log", "not a folder");
  StartWithDatabase();

  EXPECT_EQ(listener_.ports, std::vector<int>{2001});
  EXPECT_NE(core_.workers(), nullptr);
  EXPECT_TRUE(view_.errors.empty());
  core_.WriteLog("lost");
  EXPECT_EQ(LogNotices(view_.received),
            std::vector<std::string>{"Log inacess\xEDvel, terminais continuam atendidos"});

  std::filesystem::remove(folder_ / "log");
  std::filesystem::create_directory(folder_ / "log");
  core_.WriteLog("kept");
  core_.WriteLog("kept too");
  EXPECT_EQ(LogNotices(view_.received),
            (std::vector<std::string>{"Log inacess\xEDvel, terminais continuam atendidos",
                                      "Log gravado novamente"}));
  EXPECT_EQ(LogMessages(), (std::vector<std::string>{"kept", "kept too"}));
}

TEST_F(ServerCoreTest, EachAddressIsListedOnceAndShownTheBadgePrompt) {
  StartWithDatabase();
  auto first = listener_.connect("127.0.0.1");
  core_.ClientConnect(first);
  core_.ClientConnect(listener_.connect("127.0.0.2"));
  auto again = listener_.connect("127.0.0.1");
  core_.ClientConnect(again);

  EXPECT_EQ(view_.entries, (std::vector<std::string>{"0 - 127.0.0.1", "1 - 127.0.0.2"}));
  const std::string badgePrompt =
      "\x1B[H\x1B[J\x1B[01;01H\x1B[01;01H"
      "CRACHA:";
  EXPECT_EQ(first->sent(), badgePrompt);
  EXPECT_EQ(again->sent(), badgePrompt);
  EXPECT_EQ(core_.registry().FindTerminal("127.0.0.1"), 0);
  EXPECT_TRUE(view_.received.empty());
}

}  // namespace
}  // namespace mts
