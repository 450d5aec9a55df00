// The real mtserver as a factory's IT runs it: signals a service manager or a
// log rotation sends, its lines as the journal files them, and settings it
// cannot serve with.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "ServiceTestSupport.h"
#include "support/TempDir.h"

namespace mts::test {
namespace {

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

std::string TodaysLogFile(const ServerUnderTest& server) {
  for (const auto& entry : std::filesystem::directory_iterator(server.folder() / "log")) {
    return entry.path().filename().string();
  }
  return "";
}

// Log rotation moves the day's file away and sends SIGHUP: the server starts
// a new file and goes on serving the terminals it has. Other signals that end
// a process by default are ignored; SIGTERM still stops it cleanly.
TEST(ServerSignals, HupReopensTheLogAndNothingButAStopRequestEndsTheServer) {
  ServerUnderTest server({});
  server.Start();
  RawTerminal before("127.0.0.1", server.terminalPort());
  ASSERT_EQ(before.Read(kBadgePrompt.size()), kBadgePrompt);

  const std::string name = TodaysLogFile(server);
  ASSERT_FALSE(name.empty());
  std::filesystem::rename(server.folder() / "log" / name, server.folder() / name);
  ASSERT_EQ(::kill(server.pid(), SIGHUP), 0);
  ASSERT_TRUE(WaitFor([&] { return Has(server.Log(), " : Log reaberto.\n"); })) << server.Output();
  EXPECT_FALSE(Has(readFile(server.folder() / name), "Log reaberto.")) << "went to the old file";

  for (int signal : {SIGHUP, SIGUSR1, SIGUSR2, SIGPIPE, SIGALRM}) {
    ASSERT_EQ(::kill(server.pid(), signal), 0);
  }
  ASSERT_TRUE(before.Send("1"));
  EXPECT_EQ(before.Read(1), "1");
  RawTerminal after("127.0.0.2", server.terminalPort());
  EXPECT_EQ(after.Read(kBadgePrompt.size()), kBadgePrompt);
  EXPECT_TRUE(before.Open());

  EXPECT_EQ(server.Stop(), 0) << server.Output();
  EXPECT_TRUE(Has(server.Log(), " : servidor desativado.\n"));
  EXPECT_TRUE(Has(server.Output(), "Log reaberto: " + (server.folder() / "log" / name).string()));
}

// Under systemd standard output and error are the journal, named by
// JOURNAL_STREAM: every line carries its syslog priority, so
// "journalctl -p warning" shows what needs acting on and no key press.
TEST(ServerJournal, EveryLineCarriesItsPriority) {
  ServerUnderTest::Options options;
  options.withStatus = false;
  options.extraServerConfig = "TIPO-TECLADO=20\r\n";
  ServerUnderTest server(options);
  writeFile(server.folder() / "output.txt", "");
  struct stat output {};
  ASSERT_EQ(::stat((server.folder() / "output.txt").c_str(), &output), 0);
  server.setVariable("JOURNAL_STREAM",
                     std::to_string(output.st_dev) + ":" + std::to_string(output.st_ino));
  server.Start();
  RawTerminal terminal("127.0.0.1", server.terminalPort());
  ASSERT_EQ(terminal.Read(kBadgePrompt.size()), kBadgePrompt);
  ASSERT_TRUE(terminal.Send("1"));
  ASSERT_EQ(terminal.Read(1), "1");
  ASSERT_TRUE(WaitFor([&] { return Has(server.Output(), "Terminal 0 - 49"); }));
  // The database that does not exist is an error, told once the workers know.
  ASSERT_TRUE(WaitFor([&] { return Has(server.Output(), "\n<3>"); })) << server.Output();
  EXPECT_EQ(server.Stop(), 0);

  const std::string lines = server.Output();
  const std::string port = std::to_string(server.terminalPort());
  EXPECT_TRUE(Has(lines, "<4>warning: " + (server.folder() / "mtserver.ini").string() +
                             " [SERVER-CONFIG] TIPO-TECLADO=\"20\": neither 16 nor 44"))
      << lines;
  EXPECT_TRUE(Has(lines, "\n<6>Tipo Teclado: 16\n")) << lines;
  EXPECT_TRUE(Has(lines, "\n<6>Porta IP: " + port + "\n")) << lines;
  EXPECT_TRUE(Has(lines, "\n<6>Terminais Conectados: 0 - 127.0.0.1\n")) << lines;
  EXPECT_TRUE(Has(lines, "\n<7>Terminal 0 - 49\n")) << lines;
  std::istringstream each(lines);
  for (std::string line; std::getline(each, line);) {
    EXPECT_TRUE(line.size() > 3 && line[0] == '<' && line[1] >= '3' && line[1] <= '7' &&
                line[2] == '>')
        << line;
  }
}

struct RefusedCase {
  const char* name;
  std::optional<std::string> ini;  // none: no file at all
  const char* shown;               // part of what it says on standard error
};

void PrintTo(const RefusedCase& c, std::ostream* out) {
  *out << c.name;
}

class HeadlessRefusal : public testing::TestWithParam<RefusedCase> {};

// A server without window on settings it cannot serve with ends with status
// 78 (EX_CONFIG), which the unit's RestartPreventExitStatus does not retry,
// instead of idling or listening where nobody expects it.
TEST_P(HeadlessRefusal, EndsWithStatus78AndSaysWhy) {
  TempDir folder("refused");
  const std::filesystem::path ini = folder / "mtserver.ini";
  if (GetParam().ini) writeFile(ini, *GetParam().ini);
  ChildProcess server(
      {MTSERVER_PATH, "--headless", "--ini", ini.string(), "--log-dir", (folder / "log").string()},
      {{"LSAN_OPTIONS", "detect_leaks=0"}}, folder / "output.txt");
  ASSERT_TRUE(WaitFor([&] { return !server.running(); })) << readFile(folder / "output.txt");
  EXPECT_EQ(server.wait(), 78);
  const std::string said = readFile(folder / "output.txt");
  EXPECT_TRUE(Has(said, GetParam().shown)) << said;
  EXPECT_FALSE(Has(said, "AtivarServer")) << said;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HeadlessRefusal,
    testing::Values(
        RefusedCase{"no_settings_file", std::nullopt, "cannot be read: No such file or directory"},
        RefusedCase{"no_database", "[SERVER-CONFIG]\nPORTA-IP=1001\n",
                    "Banco de Dados n\xC3\xA3o Configurado."},
        RefusedCase{"port_not_a_number",
                    "[SERVER-CONFIG]\nPORTA-IP=abc\n[BDADOS-CONFIG]\nBDADOS=/nao/existe.fdb\n",
                    "PORTA-IP=\"abc\": not a whole number"},
        RefusedCase{"port_out_of_range",
                    "[SERVER-CONFIG]\nPORTA-IP=70000\n[BDADOS-CONFIG]\nBDADOS=/nao/existe.fdb\n",
                    "PORTA-IP=\"70000\": not a port (1 to 65535)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CheckConfig, NamesTheProblemsAndExitsWithTheirWeight) {
  TempDir folder("check");
  const std::filesystem::path ini = folder / "mtserver.ini";
  writeFile(ini,
            "[SERVER_CONFIG]\nPORTA-IP=2001\n[BDADOS-CONFIG]\nBDADOS=db:/x.fdb\n"
            "PROTOCOLO-TERMINAL=stx-etx\n");
  EXPECT_EQ(runProgram({MTSERVER_PATH, "--check-config", "--ini", ini.string()}, {},
                       folder / "output.txt"),
            1);
  EXPECT_EQ(readFile(folder / "output.txt"),
            "warning: " + ini.string() +
                " [SERVER_CONFIG]: unknown section; ignored with all its keys; did you mean "
                "[SERVER-CONFIG]?\nwarning: " +
                ini.string() +
                " [BDADOS-CONFIG] PROTOCOLO-TERMINAL: unknown key; ignored; PROTOCOLO-TERMINAL "
                "belongs in [SERVER-CONFIG]\n" +
                ini.string() + ": 2 problems\n");

  writeFile(ini, "[SERVER-CONFIG]\nPORTA-IP=2001\n[BDADOS-CONFIG]\nBDADOS=db:/x.fdb\n");
  std::filesystem::remove(folder / "output.txt");
  EXPECT_EQ(runProgram({MTSERVER_PATH, "--check-config", "--ini", ini.string()}, {},
                       folder / "output.txt"),
            0);
  EXPECT_EQ(readFile(folder / "output.txt"), ini.string() + ": no problems\n");
}

}  // namespace
}  // namespace mts::test
