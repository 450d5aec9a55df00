#include "server/status/ShopFloorStatus.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "StatusTestClock.h"

namespace mts {
namespace {

using namespace std::chrono_literals;
using test::LocalMoment;
using test::ManualClock;

class FakeConnection : public TerminalConnection {
 public:
  explicit FakeConnection(std::string address) : address_(std::move(address)) {}
  std::string remoteAddress() const override { return address_; }
  bool isOpen() const override { return open; }
  void send(std::string_view) override {}
  bool open = true;

 private:
  std::string address_;
};

class ShopFloorStatusTest : public testing::Test {
 protected:
  // Registers a connect from the address as the server core does, and reports it.
  std::shared_ptr<FakeConnection> Connect(const std::string& address) {
    auto connection = std::make_shared<FakeConnection>(address);
    active_.push_back(connection);
    const int number = registry_.RegisterTerminal(address, active_);
    status_.terminalConnected(number, address);
    return connection;
  }

  CardResult Card(int terminal, const std::string& sector, bool posted,
                  std::chrono::microseconds latency = 20ms) {
    return {terminal, sector,  "F",
            posted,   latency, posted ? "FICHA ATUALIZADA" : "FICHA NAO ATUALIZADA"};
  }

  StatusSnapshot Snapshot() const { return status_.snapshot(registry_); }

  ManualClock clock_;
  ShopFloorStatus status_{"7.1", [this] { return clock_.now; }};
  RegConnections registry_;
  ActiveConnections active_;
};

TEST_F(ShopFloorStatusTest, TerminalsJoinTheirLiveRecordsWithWhatWasSeen) {
  registry_.SetLedTerminals({"10.0.0.2"});
  const StatusTime start = clock_.now;
  auto first = Connect("10.0.0.1");
  clock_.now += 5min;
  Connect("10.0.0.2");
  clock_.now += 1min;
  status_.keyReceived(0, "5");
  TRegConnection& second = registry_.TerminalAt(1);
  second.State = static_cast<decltype(second.State)>(1);
  second.EmployeeName = "JOS\xC9 DA SILVA";
  second.ShownResult = "FICHA ATUALIZADA";
  status_.cardResult(Card(1, "COSTURA", true));
  first->open = false;

  StatusSnapshot snapshot = Snapshot();
  EXPECT_EQ(snapshot.version, "7.1");
  EXPECT_EQ(snapshot.startedAt, start);
  ASSERT_EQ(snapshot.terminals.size(), 2u);
  const TerminalStatus& t0 = snapshot.terminals[0];
  EXPECT_EQ(t0.number, 0);
  EXPECT_EQ(t0.address, "10.0.0.1");
  EXPECT_FALSE(t0.hasLeds);
  EXPECT_FALSE(t0.connected);
  EXPECT_EQ(t0.connectedSince, start);
  EXPECT_EQ(t0.lastKey, "5");
  EXPECT_EQ(t0.lastKeyAt, start + 6min);
  EXPECT_FALSE(t0.waitingCard);
  EXPECT_EQ(t0.lastResult, "");

  const TerminalStatus& t1 = snapshot.terminals[1];
  EXPECT_TRUE(t1.hasLeds);
  EXPECT_TRUE(t1.connected);
  EXPECT_EQ(t1.connectedSince, start + 5min);
  EXPECT_TRUE(t1.waitingCard);
  EXPECT_EQ(t1.employeeName, "JOS\xC9 DA SILVA");
  EXPECT_EQ(t1.shownResult, "FICHA ATUALIZADA");
  EXPECT_EQ(t1.lastResult, "FICHA ATUALIZADA");
  EXPECT_EQ(t1.lastResultAt, start + 6min);
  EXPECT_FALSE(t1.lastKeyAt.has_value());

  // Back at the badge prompt the employee is no longer shown, even if the
  // record still holds his name.
  second.State = static_cast<decltype(second.State)>(0);
  EXPECT_EQ(Snapshot().terminals[1].employeeName, "");

  // A reconnect keeps the number and restarts "connected since".
  clock_.now += 10min;
  Connect("10.0.0.1");
  snapshot = Snapshot();
  ASSERT_EQ(snapshot.terminals.size(), 2u);
  EXPECT_TRUE(snapshot.terminals[0].connected);
  EXPECT_EQ(snapshot.terminals[0].connectedSince, start + 16min);
  EXPECT_EQ(snapshot.terminals[0].lastKey, "5");
}

TEST_F(ShopFloorStatusTest, DisconnectsAreTimedAndNamedTerminalsListedBeforeTheyConnect) {
  registry_.SetLedTerminals({"10.0.0.9"});
  status_.nameTerminals({{"10.0.0.9", "Corte 1", "Linha 1"},
                         {"10.0.0.2", "Costura 2", ""},
                         {"10.0.0.8", "Pesponto", "Linha 3"}});
  const StatusTime start = clock_.now;
  auto first = Connect("10.0.0.1");
  auto second = Connect("10.0.0.2");
  clock_.now += 5min;
  first->open = false;
  status_.terminalDisconnected(0);
  clock_.now += 1min;

  StatusSnapshot snapshot = Snapshot();
  ASSERT_EQ(snapshot.terminals.size(), 4u);
  struct Row {
    int number;
    const char* address;
    const char* name;
    const char* place;
    bool connected;
    std::optional<StatusTime> disconnectedSince;
    bool hasLeds;
  };
  const std::vector<Row> rows{
      {0, "10.0.0.1", "", "", false, start + 5min, false},
      {1, "10.0.0.2", "Costura 2", "", true, std::nullopt, false},
      {-1, "10.0.0.9", "Corte 1", "Linha 1", false, std::nullopt, true},
      {-1, "10.0.0.8", "Pesponto", "Linha 3", false, std::nullopt, false},
  };
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const Row& row = rows[i];
    const TerminalStatus& terminal = snapshot.terminals[i];
    SCOPED_TRACE(row.address);
    EXPECT_EQ(terminal.number, row.number);
    EXPECT_EQ(terminal.address, row.address);
    EXPECT_EQ(terminal.name, row.name);
    EXPECT_EQ(terminal.place, row.place);
    EXPECT_EQ(terminal.connected, row.connected);
    EXPECT_EQ(terminal.disconnectedSince, row.disconnectedSince);
    EXPECT_EQ(terminal.hasLeds, row.hasLeds);
  }

  // The named terminal connects: it takes the next number and leaves the tail.
  Connect("10.0.0.8");
  snapshot = Snapshot();
  ASSERT_EQ(snapshot.terminals.size(), 4u);
  EXPECT_EQ(snapshot.terminals[2].address, "10.0.0.8");
  EXPECT_EQ(snapshot.terminals[2].number, 2);
  EXPECT_EQ(snapshot.terminals[2].name, "Pesponto");
  EXPECT_EQ(snapshot.terminals[3].address, "10.0.0.9");

  // Back again, the first is connected with no disconnect time; an old
  // connection of the same address closing later does not make it leave.
  clock_.now += 1min;
  Connect("10.0.0.1");
  clock_.now += 1min;
  status_.terminalDisconnected(0);
  snapshot = Snapshot();
  EXPECT_TRUE(snapshot.terminals[0].connected);
  EXPECT_FALSE(snapshot.terminals[0].disconnectedSince);
  // A close that was never reported leaves the time unknown rather than that
  // of an earlier connection.
  second->open = false;
  status_.terminalDisconnected(1);
  clock_.now += 1min;
  auto again = Connect("10.0.0.2");
  again->open = false;
  EXPECT_FALSE(Snapshot().terminals[1].connected);
  EXPECT_FALSE(Snapshot().terminals[1].disconnectedSince);
}

TEST(KeyNameTest, NamesTheFirstByteOfAUnit) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"5", "5"},      {"A", "A"},         {"12\r", "1"},
      {"\r", "Enter"}, {"\x08", "BS"},     {"\x1B", "Esc"},
      {"\x7F", "Del"}, {" ", "Espa\xE7o"}, {std::string(1, '\0'), "0"},
      {"\x01", "1"},   {"\xC7", "\xC7"},   {"", ""}};
  for (const auto& [unit, name] : cases) {
    SCOPED_TRACE(testing::PrintToString(unit));
    EXPECT_EQ(KeyName(unit), name);
  }
}

TEST_F(ShopFloorStatusTest, CardsCountForTodayAndTheLastHourAcrossMidnight) {
  Connect("10.0.0.1");
  Connect("10.0.0.2");
  struct Posting {
    StatusTime at;
    int terminal;
    const char* sector;
    bool posted;
  };
  // Now is 00:30 on the 6th: 23:45 on the 5th is in the last hour but not
  // today; 22:00 on the 5th is in neither and is forgotten.
  const std::vector<Posting> postings{
      {LocalMoment(2026, 3, 5, 22, 0), 0, "CORTE", true},
      {LocalMoment(2026, 3, 5, 23, 45), 0, "COSTURA", true},
      {LocalMoment(2026, 3, 5, 23, 50), 1, "COSTURA", false},
      {LocalMoment(2026, 3, 6, 0, 10), 0, "COSTURA", true},
      {LocalMoment(2026, 3, 6, 0, 20), 1, "MONTAGEM", false},
  };
  for (const Posting& posting : postings) {
    clock_.now = posting.at;
    status_.cardResult(Card(posting.terminal, posting.sector, posting.posted));
  }
  clock_.now = LocalMoment(2026, 3, 6, 0, 30);
  const StatusSnapshot snapshot = Snapshot();

  auto counts = [](const CardCounts& c) { return std::pair(c.posted, c.refused); };
  EXPECT_EQ(counts(snapshot.terminals[0].today), std::pair(1, 0));
  EXPECT_EQ(counts(snapshot.terminals[0].lastHour), std::pair(2, 0));
  EXPECT_EQ(counts(snapshot.terminals[1].today), std::pair(0, 1));
  EXPECT_EQ(counts(snapshot.terminals[1].lastHour), std::pair(0, 2));

  ASSERT_EQ(snapshot.sectors.size(), 2u);  // CORTE only had a card two and a half hours ago
  EXPECT_EQ(snapshot.sectors[0].sector, "COSTURA");
  EXPECT_EQ(counts(snapshot.sectors[0].today), std::pair(1, 0));
  EXPECT_EQ(counts(snapshot.sectors[0].lastHour), std::pair(2, 1));
  EXPECT_EQ(snapshot.sectors[1].sector, "MONTAGEM");
  EXPECT_EQ(counts(snapshot.sectors[1].today), std::pair(0, 1));

  // The totals since start keep every card, the old one included.
  std::uint64_t total = 0;
  for (const CardTotal& card : snapshot.cardTotals) total += card.count;
  EXPECT_EQ(total, postings.size());
}

TEST_F(ShopFloorStatusTest, TotalsAndLatencyHistogramCountEveryCard) {
  Connect("10.0.0.1");
  status_.cardResult({0, "CORTE", "FC", true, 5ms, "FICHA CORTE ATUALIZADA"});
  status_.cardResult({0, "CORTE", "FC", true, 10ms, "FICHA CORTE ATUALIZADA"});
  status_.cardResult({0, "CORTE", "", false, 30ms, "FICHA NAO ATUALIZADA"});
  status_.cardResult({0, "COSTURA", "T", true, 20s, "TALAO ATUALIZADO"});

  const StatusSnapshot snapshot = Snapshot();
  ASSERT_EQ(snapshot.cardTotals.size(), 3u);
  EXPECT_EQ(snapshot.cardTotals[0].sector, "CORTE");
  EXPECT_EQ(snapshot.cardTotals[0].cardKind, "");
  EXPECT_FALSE(snapshot.cardTotals[0].posted);
  EXPECT_EQ(snapshot.cardTotals[0].count, 1u);
  EXPECT_EQ(snapshot.cardTotals[1].cardKind, "FC");
  EXPECT_EQ(snapshot.cardTotals[1].count, 2u);
  EXPECT_EQ(snapshot.cardTotals[2].sector, "COSTURA");

  const LatencyHistogram& latency = snapshot.latency;
  ASSERT_EQ(latency.bucketCounts.size(), latency.upperBounds.size() + 1);
  EXPECT_EQ(latency.upperBounds.front(), 0.01);
  // 5 ms and exactly 10 ms fall in the first bucket, 30 ms in the 0.05 one,
  // 20 s beyond the last bound.
  EXPECT_EQ(latency.bucketCounts[0], 2u);
  EXPECT_EQ(latency.bucketCounts[2], 1u);
  EXPECT_EQ(latency.bucketCounts.back(), 1u);
  EXPECT_EQ(latency.count, 4u);
  EXPECT_NEAR(latency.sumSeconds, 20.045, 1e-9);
}

TEST_F(ShopFloorStatusTest, DatabaseReachabilityFollowsAnswersAndLostConnections) {
  enum Event { StartedOk, SqlError, ConnectionGone, CardAnswered, BadgeAnswered };
  struct Row {
    const char* name;
    std::vector<Event> events;
    Reachability expected;
    std::uint64_t errors;
  };
  const std::vector<Row> rows{
      {"nothing yet", {}, Reachability::Unknown, 0},
      {"start-up read", {StartedOk}, Reachability::Reachable, 0},
      {"unreachable at start", {ConnectionGone}, Reachability::Unreachable, 1},
      {"an SQL error keeps the connection", {StartedOk, SqlError}, Reachability::Reachable, 1},
      {"lost, then a card answered",
       {StartedOk, ConnectionGone, CardAnswered},
       Reachability::Reachable,
       1},
      {"lost, then a badge answered", {ConnectionGone, BadgeAnswered}, Reachability::Reachable, 1},
      {"answered, then lost", {CardAnswered, ConnectionGone}, Reachability::Unreachable, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ShopFloorStatus status("1", [this] { return clock_.now; });
    for (Event event : row.events) {
      switch (event) {
        case StartedOk:
          status.databaseReachable();
          break;
        case SqlError:
          status.databaseError("violation of FOREIGN KEY", true);
          break;
        case ConnectionGone:
          status.databaseError("connection lost to database", false);
          break;
        case CardAnswered:
          status.cardResult(Card(0, "CORTE", false));
          break;
        case BadgeAnswered:
          status.badgeResult(0, false, "FUNC. NAO LOCALIZADO");
          break;
      }
    }
    const DatabaseStatus database = status.snapshot(registry_).database;
    EXPECT_EQ(database.reachability, row.expected);
    EXPECT_EQ(database.unreachableSince.has_value(), row.expected == Reachability::Unreachable);
    EXPECT_EQ(database.errors, row.errors);
    EXPECT_EQ(database.lastErrorAt.has_value(), row.errors > 0);
  }
}

TEST_F(ShopFloorStatusTest, UnreachableSinceTheFirstErrorThatLostTheConnection) {
  const StatusTime lost = clock_.now;
  status_.databaseError("connection lost to database", false);
  clock_.now += 10min;
  status_.databaseError("connection lost to database", false);
  EXPECT_EQ(Snapshot().database.unreachableSince, lost);
  EXPECT_EQ(Snapshot().database.lastErrorAt, clock_.now);
}

TEST_F(ShopFloorStatusTest, BadgeResultsAndListenerRestartsAreRemembered) {
  Connect("10.0.0.1");
  status_.badgeResult(0, false, "FUNC. NAO LOCALIZADO");
  EXPECT_EQ(Snapshot().terminals[0].lastResult, "FUNC. NAO LOCALIZADO");
  status_.badgeResult(0, true, "");
  EXPECT_EQ(Snapshot().terminals[0].lastResult, "");

  clock_.now += 1h;
  status_.listenerRestarted("Connection reset by peer", true);
  status_.listenerRestarted("Broken pipe", true);
  const StatusSnapshot snapshot = Snapshot();
  EXPECT_EQ(snapshot.listenerRestarts, 2u);
  EXPECT_EQ(snapshot.lastRestartAt, clock_.now);
  EXPECT_EQ(snapshot.lastRestartReason, "Broken pipe");
}

}  // namespace
}  // namespace mts
