#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StatusTestClock.h"
#include "server/status/StatusJson.h"
#include "server/status/StatusMetrics.h"
#include "server/status/StatusPage.h"
#include "server/status/StatusText.h"

namespace mts {
namespace {

using namespace std::chrono_literals;
using test::LocalMoment;

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// One named terminal with a logged-in employee whose name needs every kind of
// escaping, one that left, a named one that never came, a sector, two card
// totals, three latencies and the process's figures.
StatusSnapshot SampleSnapshot() {
  StatusSnapshot status;
  status.now = LocalMoment(2026, 3, 5, 10, 30);
  status.startedAt = LocalMoment(2026, 3, 5, 7, 0);
  status.version = "1.4";
  status.terminalPort = 1001;
  status.listening = true;

  TerminalStatus working;
  working.number = 0;
  working.address = "10.0.0.1";
  working.name = "Montagem 1";
  working.place = "Linha 2";
  working.hasLeds = true;
  working.connected = true;
  working.connectedSince = LocalMoment(2026, 3, 5, 7, 5);
  working.lastKey = "Enter";
  working.lastKeyAt = LocalMoment(2026, 3, 5, 10, 29, 50);
  working.waitingCard = true;
  working.employeeName = "<b>Jo\xE3o \"Z\xE9\"";
  working.shownResult = "FICHA ATUALIZADA";
  working.lastResult = "FICHA ATUALIZADA";
  working.lastResultAt = LocalMoment(2026, 3, 5, 10, 29, 51);
  working.today = {12, 1};
  working.lastHour = {3, 0};
  TerminalStatus gone;
  gone.number = 1;
  gone.address = "10.0.0.2";
  gone.connectedSince = LocalMoment(2026, 3, 5, 7, 10);
  gone.disconnectedSince = LocalMoment(2026, 3, 5, 10, 25);
  TerminalStatus never;
  never.address = "10.0.0.9";
  never.name = "Corte <3>";
  status.terminals = {working, gone, never};

  status.sectors = {{"COSTURA", {12, 1}, {3, 0}}};
  status.database.reachability = Reachability::Unreachable;
  status.database.errors = 2;
  status.database.lastError = "connection lost\nto database";
  status.database.lastErrorAt = LocalMoment(2026, 3, 5, 9, 0);
  status.cardTotals = {{"COSTURA", "F", true, 12}, {"A\"B\\C", "", false, 1}};
  status.latency.upperBounds = {0.01, 0.1};
  status.latency.bucketCounts = {1, 1, 1};
  status.latency.sumSeconds = 2.5;
  status.latency.count = 3;
  status.process.residentBytes = 52428800;
  status.process.openDescriptors = 23;
  status.process.startTime = 1772704800.25;
  return status;
}

TEST(StatusText, ConvertsAndEscapesWindows1252ForEachFormat) {
  struct Row {
    std::string input;
    std::string json;
    std::string html;
    std::string label;
  };
  const std::vector<Row> rows{
      {"plain", "\"plain\"", "plain", "plain"},
      {"Jo\xE3o", "\"Jo\xC3\xA3o\"", "Jo\xE3o", "Jo\xC3\xA3o"},  // HTML stays 1252 until the end
      {"\x80 5", "\"\xE2\x82\xAC 5\"", "\x80 5", "\xE2\x82\xAC 5"},
      {"a\"b\\c", "\"a\\\"b\\\\c\"", "a&quot;b\\c", "a\\\"b\\\\c"},
      {"<i>&'", "\"<i>&'\"", "&lt;i&gt;&amp;&#39;", "<i>&'"},
      {"l1\nl2\r\x01", "\"l1\\nl2\\r\\u0001\"", "l1\nl2\r\x01", "l1\\nl2\r\x01"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.input));
    EXPECT_EQ(JsonString(row.input), row.json);
    EXPECT_EQ(HtmlText(row.input), row.html);
    EXPECT_EQ(MetricLabelValue(row.input), row.label);
  }
}

TEST(StatusJson, RendersTheWholeSnapshot) {
  const StatusSnapshot status = SampleSnapshot();
  auto at = [](StatusTime moment) { return "\"" + IsoLocalTime(moment) + "\""; };
  const std::string noCards =
      "\"cards\":{\"today\":{\"posted\":0,\"refused\":0},"
      "\"lastHour\":{\"posted\":0,\"refused\":0}}}";
  const std::string expected =
      "{\"server\":{\"version\":\"1.4\",\"startedAt\":" + at(status.startedAt) +
      ",\"now\":" + at(status.now) +
      ",\"terminalPort\":1001,\"listening\":true,\"listenerRestarts\":0,"
      "\"lastRestartAt\":null,\"lastRestartReason\":null},"
      "\"problems\":[{\"kind\":\"database\",\"text\":\"Banco de dados inacess\xC3\xADvel "
      "h\xC3\xA1 1 h 30 min: connection lost\\nto database.\"},"
      "{\"kind\":\"terminals\",\"text\":\"2 terminais desconectados: 10.0.0.2 h\xC3\xA1 5 min; "
      "Corte <3> (10.0.0.9) nunca conectou.\"}],"
      "\"database\":{\"reachable\":false,\"errors\":2,"
      "\"lastError\":\"connection lost\\nto database\",\"lastErrorAt\":" +
      at(*status.database.lastErrorAt) +
      ",\"unreachableSince\":null},"
      "\"terminals\":[{\"number\":0,\"address\":\"10.0.0.1\",\"name\":\"Montagem 1\","
      "\"place\":\"Linha 2\",\"leds\":true,\"connected\":true,"
      "\"connectedSince\":" +
      at(*status.terminals[0].connectedSince) +
      ",\"disconnectedSince\":null,\"state\":\"card\","
      "\"employee\":\"<b>Jo\xC3\xA3o \\\"Z\xC3\xA9\\\"\","
      "\"lastKey\":\"Enter\",\"lastKeyAt\":" +
      at(*status.terminals[0].lastKeyAt) +
      ",\"shownResult\":\"FICHA ATUALIZADA\",\"lastResult\":\"FICHA ATUALIZADA\","
      "\"lastResultAt\":" +
      at(*status.terminals[0].lastResultAt) +
      ",\"cards\":{\"today\":{\"posted\":12,\"refused\":1},"
      "\"lastHour\":{\"posted\":3,\"refused\":0}}},"
      "{\"number\":1,\"address\":\"10.0.0.2\",\"name\":\"\",\"place\":\"\",\"leds\":false,"
      "\"connected\":false,\"connectedSince\":" +
      at(*status.terminals[1].connectedSince) +
      ",\"disconnectedSince\":" + at(*status.terminals[1].disconnectedSince) +
      ",\"state\":\"badge\",\"employee\":\"\",\"lastKey\":\"\","
      "\"lastKeyAt\":null,\"shownResult\":\"\",\"lastResult\":\"\",\"lastResultAt\":null," +
      noCards +
      ",{\"number\":null,\"address\":\"10.0.0.9\",\"name\":\"Corte <3>\",\"place\":\"\","
      "\"leds\":false,\"connected\":false,\"connectedSince\":null,\"disconnectedSince\":null,"
      "\"state\":\"badge\",\"employee\":\"\",\"lastKey\":\"\",\"lastKeyAt\":null,"
      "\"shownResult\":\"\",\"lastResult\":\"\",\"lastResultAt\":null," +
      noCards +
      "],"
      "\"sectors\":[{\"sector\":\"COSTURA\",\"cards\":{\"today\":{\"posted\":12,\"refused\":1},"
      "\"lastHour\":{\"posted\":3,\"refused\":0}}}]}\n";
  EXPECT_EQ(StatusJson(status), expected);
}

TEST(StatusJson, TimesCarryTheLocalOffset) {
  const std::string time = IsoLocalTime(LocalMoment(2026, 3, 5, 7, 4, 9));
  ASSERT_EQ(time.size(), 25u) << time;
  EXPECT_EQ(time.substr(0, 19), "2026-03-05T07:04:09");
  EXPECT_TRUE(time[19] == '+' || time[19] == '-') << time;
  EXPECT_EQ(time[22], ':');
}

TEST(StatusMetrics, ExposesCountersGaugesAndACumulativeHistogram) {
  StatusSnapshot status = SampleSnapshot();
  status.listenerRestarts = 4;
  const std::string metrics = StatusMetrics(status);
  for (const std::string& line : {
           std::string("mtserver_info{version=\"1.4\"} 1\n"),
           std::string("mtserver_listening 1\n"),
           std::string("mtserver_terminals_connected 1\n"),
           std::string("mtserver_terminal_connected{address=\"10.0.0.1\"} 1\n"
                       "mtserver_terminal_connected{address=\"10.0.0.2\"} 0\n"
                       "mtserver_terminal_connected{address=\"10.0.0.9\"} 0\n"),
           std::string("mtserver_terminal_info{address=\"10.0.0.1\",name=\"Montagem 1\","
                       "place=\"Linha 2\"} 1\n"
                       "mtserver_terminal_info{address=\"10.0.0.2\",name=\"\",place=\"\"} 1\n"
                       "mtserver_terminal_info{address=\"10.0.0.9\",name=\"Corte <3>\","
                       "place=\"\"} 1\n"),
           std::string("# TYPE mtserver_cards_total counter\n"),
           std::string(
               "mtserver_cards_total{sector=\"COSTURA\",kind=\"F\",result=\"posted\"} 12\n"),
           std::string(
               "mtserver_cards_total{sector=\"A\\\"B\\\\C\",kind=\"\",result=\"refused\"} 1\n"),
           std::string("# TYPE mtserver_card_latency_seconds histogram\n"),
           std::string("mtserver_card_latency_seconds_bucket{le=\"0.01\"} 1\n"
                       "mtserver_card_latency_seconds_bucket{le=\"0.1\"} 2\n"
                       "mtserver_card_latency_seconds_bucket{le=\"+Inf\"} 3\n"
                       "mtserver_card_latency_seconds_sum 2.5\n"
                       "mtserver_card_latency_seconds_count 3\n"),
           std::string("mtserver_database_errors_total 2\n"),
           std::string("mtserver_database_up 0\n"),
           std::string("mtserver_listener_restarts_total 4\n"),
           std::string("# TYPE process_resident_memory_bytes gauge\n"
                       "process_resident_memory_bytes 52428800\n"),
           std::string("# TYPE process_open_fds gauge\nprocess_open_fds 23\n"),
           std::string("# TYPE process_start_time_seconds gauge\n"
                       "process_start_time_seconds 1772704800.25\n"),
       }) {
    EXPECT_TRUE(Has(metrics, line)) << line << "\nin:\n" << metrics;
  }
  // Terminals are told apart by their address alone: their numbers follow
  // the order they connected in, which changes from one run to the next.
  EXPECT_FALSE(Has(metrics, "terminal=")) << metrics;
  // The terminals that never sent a key have no last-key sample.
  EXPECT_TRUE(Has(metrics, "mtserver_terminal_last_key_time_seconds{address=\"10.0.0.1\"}"));
  EXPECT_FALSE(Has(metrics, "mtserver_terminal_last_key_time_seconds{address=\"10.0.0.2\"}"));
  // Process figures the system did not give are left out, not shown as 0.
  StatusSnapshot unknown = SampleSnapshot();
  unknown.process = {};
  EXPECT_FALSE(Has(StatusMetrics(unknown), "process_"));
  // Every sample line belongs to a family declared before it.
  std::string family;
  std::size_t start = 0;
  while (start < metrics.size()) {
    const std::size_t end = metrics.find('\n', start);
    const std::string line = metrics.substr(start, end - start);
    start = end + 1;
    if (line.rfind("# TYPE ", 0) == 0) {
      family = line.substr(7, line.find(' ', 7) - 7);
    } else if (line[0] != '#') {
      EXPECT_EQ(line.rfind(family, 0), 0u) << line;
    }
  }
}

TEST(StatusPage, ShowsEverythingEscapedInUtf8AndRefreshesItself) {
  const std::string page = StatusPage(SampleSnapshot());
  EXPECT_TRUE(Has(page, "<meta charset=\"utf-8\">"));
  EXPECT_TRUE(Has(page, "<meta http-equiv=\"refresh\" content=\"10\">"));
  EXPECT_TRUE(Has(page, "name=\"viewport\" content=\"width=device-width, initial-scale=1\""));
  // The employee's name arrives escaped, never as markup.
  EXPECT_TRUE(Has(page, "&lt;b&gt;Jo\xC3\xA3o &quot;Z\xC3\xA9&quot;"));
  EXPECT_FALSE(Has(page, "<b>Jo"));
  EXPECT_TRUE(Has(page, "Terminais: 1 de 3 conectados"));
  EXPECT_TRUE(Has(page, "<td data-label=\"Endere\xC3\xA7o\"><span>10.0.0.1</span></td>"));
  EXPECT_TRUE(Has(page, "<b>Montagem 1</b> <span class=\"when\">Linha 2</span>"));
  EXPECT_TRUE(Has(page, "aguardando ficha"));
  EXPECT_TRUE(Has(page, "conectado desde 07:05:00"));
  EXPECT_TRUE(Has(page, "inacess\xC3\xADvel"));
  EXPECT_TRUE(Has(page, "connection lost\nto database"));
  EXPECT_TRUE(Has(page, "<td data-label=\"Setor\"><span>COSTURA</span></td>"));
  EXPECT_TRUE(Has(page, "<span class=\"posted\">12</span> / <span class=\"refused\">1</span>"));
  EXPECT_TRUE(Has(page, "porta 1001 escutando"));
  // Times of today show as hours; a moment of an earlier day with its date.
  EXPECT_TRUE(Has(page, "10:29:51"));
  StatusSnapshot yesterday = SampleSnapshot();
  yesterday.startedAt = LocalMoment(2026, 3, 4, 22, 15);
  EXPECT_TRUE(Has(StatusPage(yesterday), "iniciado 04/03 22:15"));
}

// Each terminal's row: how its connection reads and whether it stands out.
TEST(StatusPage, DisconnectedTerminalsStandOutWithTheTimeSinceTheyLeft) {
  const std::string page = StatusPage(SampleSnapshot());
  struct Row {
    const char* address;
    bool highlighted;
    std::string connection;
  };
  const std::vector<Row> rows{
      {"10.0.0.1", false, "conectado desde 07:05:00"},
      {"10.0.0.2", true,
       "<b class=\"down\">desconectado h\xC3\xA1 5 min</b> <span class=\"when\">10:25:00</span>"},
      {"10.0.0.9", true, "<b class=\"down\">nunca conectou</b>"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.address);
    const std::size_t cell = page.find(std::string("<span>") + row.address + "</span>");
    ASSERT_NE(cell, std::string::npos);
    const std::size_t rowStart = page.rfind("<tr", cell);
    const std::string html = page.substr(rowStart, page.find("</tr>", cell) - rowStart);
    EXPECT_EQ(html.rfind("<tr class=\"offline\">", 0) == 0, row.highlighted) << html;
    EXPECT_TRUE(
        Has(html, "<td data-label=\"Conex\xC3\xA3o\"><span>" + row.connection + "</span></td>"))
        << html;
    // Only a connected terminal has a state; a disconnected one never reads
    // as connected.
    EXPECT_EQ(Has(html, "aguardando"), !row.highlighted) << html;
    EXPECT_NE(Has(html, "conectado desde"), row.highlighted) << html;
  }
}

TEST(StatusPage, ProblemsComeFirstOrThePageSaysThereAreNone) {
  const std::string page = StatusPage(SampleSnapshot());
  const std::size_t problems = page.find("<div class=\"box bad\" id=\"problems\">");
  ASSERT_NE(problems, std::string::npos) << page;
  EXPECT_LT(problems, page.find("<h2>Banco de dados</h2>"));
  EXPECT_TRUE(Has(page,
                  "<li class=\"terminals\">2 terminais desconectados: 10.0.0.2 h\xC3\xA1 "
                  "5 min; Corte &lt;3&gt; (10.0.0.9) nunca conectou.</li>"))
      << page;

  StatusSnapshot fine = SampleSnapshot();
  fine.database = {};
  fine.database.reachability = Reachability::Reachable;
  fine.terminals.resize(1);
  EXPECT_TRUE(Has(StatusPage(fine),
                  "<div class=\"box good\" id=\"problems\"><b>Nenhum problema.</b></div>"));
}

TEST(StatusPage, EmptyShopFloorSaysSo) {
  StatusSnapshot status;
  status.now = status.startedAt = LocalMoment(2026, 3, 5, 7, 0);
  const std::string page = StatusPage(status);
  EXPECT_TRUE(Has(page, "Nenhum terminal conectou."));
  EXPECT_TRUE(Has(page, "Nenhuma ficha hoje."));
  EXPECT_TRUE(Has(page, "ainda n\xC3\xA3o consultado"));
  EXPECT_TRUE(Has(page, "porta 0 fechada"));
}

}  // namespace
}  // namespace mts
