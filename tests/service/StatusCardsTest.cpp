// Badges and cards submitted at mtterm terminals on the demo factory, as the
// status listener reports them.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ServiceTestSupport.h"
#include "support/TestDatabase.h"

namespace mts::test {
namespace {

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(StatusOfCards, BadgesAndCardsPostedAndRefusedAreCountedAndShown) {
  TestDatabase database(DemoFactoryScript());
  ServerUnderTest::Options options;
  options.database = database.path().string();
  ServerUnderTest server(options);
  server.Start();
  const int port = server.statusPort();
  const std::filesystem::path folder = server.folder();

  // Sector 30 posts a card that was stitched; sector 40 tries a card that
  // never went through 30; a badge nobody has.
  auto posting = Mtterm("127.0.0.2", server.terminalPort(),
                        "1004{enter}{wait-for:FICHA:}00010100010000{enter}"
                        "{wait-for:ATUALIZADA}{wait:20000}",
                        folder / "posting.txt");
  auto refusing = Mtterm("127.0.0.3", server.terminalPort(),
                         "1005{enter}{wait-for:FICHA:}00010100050000{enter}"
                         "{wait-for:NAO ATUALIZADA}{wait:20000}",
                         folder / "refusing.txt");
  auto stranger = Mtterm("127.0.0.4", server.terminalPort(),
                         "9999{enter}{wait-for:LOCALIZADO}{wait:20000}", folder / "stranger.txt");

  std::string status;
  ASSERT_TRUE(WaitFor([&] {
    status = StatusJson(port);
    return Field(TerminalJson(status, "127.0.0.2"), "lastResult") == "\"FICHA ATUALIZADA\"" &&
           Field(TerminalJson(status, "127.0.0.3"), "lastResult") == "\"FICHA NAO ATUALIZADA\"" &&
           Field(TerminalJson(status, "127.0.0.4"), "lastResult") == "\"FUNC. NAO LOCALIZADO\"";
  })) << status
      << readFile(folder / "posting.txt") << readFile(folder / "refusing.txt");

  const std::string posted = TerminalJson(status, "127.0.0.2");
  EXPECT_EQ(Field(posted, "state"), "\"card\"");
  EXPECT_EQ(Field(posted, "employee"), "\"ROS\xC3\x82NGELA DOS SANTOS\"");
  EXPECT_NE(Field(posted, "lastResultAt"), "null");
  EXPECT_TRUE(Has(posted,
                  "\"cards\":{\"today\":{\"posted\":1,\"refused\":0},"
                  "\"lastHour\":{\"posted\":1,\"refused\":0}}"))
      << posted;
  const std::string refused = TerminalJson(status, "127.0.0.3");
  EXPECT_TRUE(Has(refused, "\"today\":{\"posted\":0,\"refused\":1}")) << refused;
  EXPECT_EQ(Field(TerminalJson(status, "127.0.0.4"), "state"), "\"badge\"");
  EXPECT_TRUE(Has(status, "{\"sector\":\"30\",\"cards\":{\"today\":{\"posted\":1,\"refused\":0}"))
      << status;
  EXPECT_TRUE(Has(status, "{\"sector\":\"40\",\"cards\":{\"today\":{\"posted\":0,\"refused\":1}"))
      << status;
  EXPECT_TRUE(Has(status, "\"database\":{\"reachable\":true,\"errors\":0,"));

  const std::string metrics = HttpGet(port, "/metrics").body;
  EXPECT_TRUE(Has(metrics, "mtserver_cards_total{sector=\"30\",kind=\"F\",result=\"posted\"} 1\n"))
      << metrics;
  EXPECT_TRUE(Has(metrics, "mtserver_cards_total{sector=\"40\",kind=\"F\",result=\"refused\"} 1\n"))
      << metrics;
  EXPECT_TRUE(Has(metrics, "mtserver_card_latency_seconds_count 2\n"));
  EXPECT_TRUE(Has(metrics, "mtserver_card_latency_seconds_bucket{le=\"+Inf\"} 2\n"));
  EXPECT_TRUE(Has(metrics, "mtserver_database_up 1\n"));

  const std::string page = HttpGet(port, "/").body;
  EXPECT_TRUE(Has(page, "FUNC. NAO LOCALIZADO"));
  EXPECT_TRUE(Has(page, "ROS\xC3\x82NGELA DOS SANTOS"));
  EXPECT_EQ(server.Stop(), 0) << server.Output();
}

}  // namespace
}  // namespace mts::test
