#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "server/qt/ConsoleView.h"
#include "server/qt/HandlerGuard.h"
#include "server/qt/ServerOptions.h"
#include "server/qt/Windows1252.h"

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

TEST(Windows1252, EveryByteRoundTrips) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
  EXPECT_EQ(ToWindows1252(FromWindows1252(all)), all);
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
