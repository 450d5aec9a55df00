#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "TempFolder.h"
#include "server/qt/CheckConfigCommand.h"
#include "server/qt/ConsoleView.h"
#include "server/qt/HandlerGuard.h"
#include "server/qt/JournalStream.h"
#include "server/qt/ServerOptions.h"

namespace mts {
namespace {

std::string Contents(std::FILE* file) {
  std::rewind(file);
  std::string text;
  for (int c; (c = std::fgetc(file)) != EOF;) text.push_back(static_cast<char>(c));
  return text;
}

TEST(ConsoleView, LinesGoOutAsUtf8ErrorsToTheirOwnStream) {
  std::FILE* output = std::tmpfile();
  std::FILE* errors = std::tmpfile();
  ASSERT_TRUE(output && errors);
  {
    ConsoleView view(output, errors);
    view.addReceived("Erro Conex\xE3o: \x80 5");
    view.addTerminalListEntry("0 - 127.0.0.1");
    view.setStatusPanel(3, "Porta IP: 1001");
    view.showError("Banco de Dados n\xE3o Configurado.");
  }
  EXPECT_EQ(Contents(output),
            "Erro Conex\xC3\xA3o: \xE2\x82\xAC 5\n"
            "Terminais Conectados: 0 - 127.0.0.1\n"
            "Porta IP: 1001\n");
  EXPECT_EQ(Contents(errors), "Banco de Dados n\xC3\xA3o Configurado.\n");
  std::fclose(output);
  std::fclose(errors);
}

// Each kind of line with the priority the journal files it under; the same
// lines elsewhere go out unchanged.
TEST(ConsoleView, TheJournalGetsEachLinesPriorityInFront) {
  for (const bool journal : {true, false}) {
    SCOPED_TRACE(journal ? "journal" : "terminal");
    std::FILE* output = std::tmpfile();
    std::FILE* errors = std::tmpfile();
    ASSERT_TRUE(output && errors);
    {
      ConsoleView view(output, errors, {journal, journal});
      view.setStatusPanel(3, "Porta IP: 1001");
      view.addTerminalListEntry("0 - 127.0.0.1");
      view.addReceivedAt(LinePriority::Trace, "Terminal 0 - 49");
      view.addReceived("Terminal 0 - Ficha 1 atualizada.");
      view.addReceivedAt(LinePriority::Warning, "Conex\xE3o recusada");
      view.addReceivedAt(LinePriority::Error, "Erro Conex\xE3o: falhou");
      view.showNotice("warning: mtserver.ini [SERVER-CONFIG] COR: unknown key; ignored");
      view.showError("I/O error for file \"/x.fdb\"\n-No such file or directory");
    }
    const std::string p3 = journal ? "<3>" : "", p4 = journal ? "<4>" : "",
                      p6 = journal ? "<6>" : "", p7 = journal ? "<7>" : "";
    EXPECT_EQ(Contents(output),
              p6 + "Porta IP: 1001\n" + p6 + "Terminais Conectados: 0 - 127.0.0.1\n" + p7 +
                  "Terminal 0 - 49\n" + p6 + "Terminal 0 - Ficha 1 atualizada.\n" + p4 +
                  "Conex\xC3\xA3o recusada\n" + p3 + "Erro Conex\xC3\xA3o: falhou\n");
    EXPECT_EQ(Contents(errors),
              p4 + "warning: mtserver.ini [SERVER-CONFIG] COR: unknown key; ignored\n" + p3 +
                  "I/O error for file \"/x.fdb\"\n" + p3 + "-No such file or directory\n");
    std::fclose(output);
    std::fclose(errors);
  }
}

// JOURNAL_STREAM names the journal's connection by device and inode: only the
// stream that is that very file counts.
TEST(JournalStream, OnlyTheStreamNamedByTheVariable) {
  std::FILE* stream = std::tmpfile();
  ASSERT_TRUE(stream);
  struct stat status {};
  ASSERT_EQ(fstat(fileno(stream), &status), 0);
  const std::string own = std::to_string(status.st_dev) + ":" + std::to_string(status.st_ino);
  EXPECT_TRUE(StreamIsJournal(stream, own.c_str()));
  const std::string other = std::to_string(status.st_dev) + ":" + std::to_string(status.st_ino + 1);
  EXPECT_FALSE(StreamIsJournal(stream, other.c_str()));
  EXPECT_FALSE(StreamIsJournal(stream, ""));
  EXPECT_FALSE(StreamIsJournal(stream, nullptr));
  std::fclose(stream);
}

// The exit status says how bad it is; the output ends with a line summing up.
TEST(CheckConfigCommand, ExitStatusAndSummary) {
  struct Case {
    const char* ini;
    int status;
    const char* lastLine;
  };
  const Case cases[] = {
      {"[SERVER-CONFIG]\nPORTA-IP=1001\n[BDADOS-CONFIG]\nBDADOS=x.fdb\n", 0, ": no problems"},
      {"[SERVER-CONFIG]\nPORTA-IP=1001\nX=1\n[BDADOS-CONFIG]\nBDADOS=x.fdb\n", 1, ": 1 problem"},
      {"[SERVER-CONFIG]\nPORTA-IP=0\nX=1\n", 78, ": 3 problems"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ini);
    testing_support::TempFolder folder;
    testing_support::WriteFile(folder / "mtserver.ini", c.ini);
    std::FILE* output = std::tmpfile();
    ASSERT_TRUE(output);
    EXPECT_EQ(CheckConfigCommand(folder / "mtserver.ini", output), c.status);
    const std::string text = Contents(output);
    const std::string last = text.substr(text.rfind('\n', text.size() - 2) + 1);
    EXPECT_EQ(last, (folder / "mtserver.ini").string() + c.lastLine + "\n");
    std::fclose(output);
  }
}

struct OptionsCase {
  const char* name;
  std::vector<std::string> arguments;
  bool headless;
  const char* iniFile;
  const char* logFolder;
};

void PrintTo(const OptionsCase& c, std::ostream* out) {
  *out << c.name;
}

class ServerOptionsTest : public testing::TestWithParam<OptionsCase> {};

TEST_P(ServerOptionsTest, PathsAndDefaults) {
  const OptionsCase& c = GetParam();
  const ServerOptions options = ParseServerOptions(c.arguments, "/opt/mts/mtserver");
  EXPECT_EQ(options.headless, c.headless);
  EXPECT_EQ(options.iniFile, c.iniFile);
  EXPECT_EQ(options.logFolder, c.logFolder);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ServerOptionsTest,
    testing::Values(
        OptionsCase{
            "defaults_beside_the_executable", {}, false, "/opt/mts/mtserver.ini", "/opt/mts/log"},
        OptionsCase{"all_given",
                    {"--headless", "--ini", "var/demo/s.ini", "--log-dir", "var/demo/log"},
                    true,
                    "var/demo/s.ini",
                    "var/demo/log"},
        OptionsCase{"equals_form", {"--ini=a.ini", "--log-dir=l"}, false, "a.ini", "l"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ServerOptions, DefaultIniReplacesTheExtension) {
  EXPECT_EQ(DefaultIniFile("/srv/server.exe"), "/srv/server.ini");
  EXPECT_EQ(DefaultIniFile("/srv/v1.2/mtserver"), "/srv/v1.2/mtserver.ini");
}

TEST(ServerOptions, CheckConfigTakesTheIniFile) {
  const ServerOptions options = ParseServerOptions({"--check-config", "--ini", "a.ini"}, "/x/m");
  EXPECT_TRUE(options.checkConfig);
  EXPECT_EQ(options.iniFile, "a.ini");
  EXPECT_FALSE(ParseServerOptions({}, "/x/m").checkConfig);
}

TEST(ServerOptions, BadCommandLinesAreRefused) {
  const std::vector<std::vector<std::string>> cases = {
      {"--ini"}, {"--log-dir"}, {"--ini="}, {"--port", "1"}, {"extra"}};
  for (const auto& arguments : cases) {
    EXPECT_THROW(ParseServerOptions(arguments, "/x/mtserver"), std::invalid_argument)
        << arguments[0];
  }
}

TEST(HandlerGuard, EscapingErrorsGoToTheSinkAndNoFurther) {
  std::vector<std::string> seen;
  RunGuarded([&](const std::string& message) { seen.push_back(message); },
             [] { throw std::runtime_error("socket falhou"); });
  RunGuarded([&](const std::string& message) { seen.push_back(message); }, [] { throw 42; });
  EXPECT_EQ(seen, (std::vector<std::string>{"socket falhou", "erro desconhecido"}));

  // A sink that throws too: the error ends on standard error, not in Qt.
  RunGuarded([](const std::string&) { throw std::runtime_error("sink falhou"); },
             [] { throw std::runtime_error("original"); });
}

}  // namespace
}  // namespace mts
