#include "server/RegConnections.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "server/ClientConnect.h"
#include "server/TerminalScreen.h"
#include "support/ServerFakes.h"

namespace mts {
namespace {

using test::MakeConnection;
using test::ManualTimer;
using test::RecordingConnection;
using Writes = std::vector<std::string>;

const Writes kBadgePromptVt{"\x1B[H\x1B[J", "\x1B[01;01H", "\x1B[01;01H", "CRACHA:"};
const Writes kResultVt{"\x1B[04;01H", std::string(20, ' '), "\x1B[04;01H", "\x1B[04;01H", "OK"};

// A listening socket's view: connections come and go, the registry and the
// screen live for the whole run.
class RegistryTest : public testing::Test {
 protected:
  std::shared_ptr<RecordingConnection> Connect(const std::string& address) {
    auto connection = MakeConnection(address);
    active.push_back(connection);
    last = ClientConnect(registry, screen, connection, active);
    return connection;
  }

  void Disconnect(const std::shared_ptr<RecordingConnection>& connection) {
    connection->close();
    std::erase(active, connection);
  }

  TRegConnection& Record(const std::string& address) {
    return registry.TerminalAt(registry.FindTerminal(address));
  }

  ManualTimer timer;
  std::vector<std::string> log;
  TerminalScreen screen{{}, timer, [this](const std::string& line) { log.push_back(line); }};
  RegConnections registry;
  ActiveConnections active;
  ConnectedTerminal last;
};

TEST_F(RegistryTest, AddressesAreNumberedInOrderOfFirstConnect) {
  Connect("192.168.0.21");
  EXPECT_EQ(last.TerminalNumber, 0);
  EXPECT_EQ(last.ListEntry, "0 - 192.168.0.21");
  EXPECT_TRUE(last.IsNewTerminal);

  Connect("192.168.0.22");
  EXPECT_EQ(last.TerminalNumber, 1);
  EXPECT_EQ(last.ListEntry, "1 - 192.168.0.22");
  EXPECT_TRUE(last.IsNewTerminal);

  EXPECT_EQ(registry.Count(), 2);
  EXPECT_EQ(registry.FindTerminal("192.168.0.22"), 1);
  EXPECT_EQ(registry.FindTerminal("192.168.0.23"), -1);
  EXPECT_EQ(registry.AddressAt(0), "192.168.0.21");
  EXPECT_EQ(registry.TerminalAt(1).TerminalNumber, 1);
  EXPECT_THROW(registry.TerminalAt(2), std::out_of_range);
  EXPECT_THROW(registry.TerminalAt(-1), std::out_of_range);
}

TEST_F(RegistryTest, ConnectShowsTheBadgePrompt) {
  auto connection = Connect("192.168.0.21");
  EXPECT_EQ(connection->writes, kBadgePromptVt);
  EXPECT_TRUE(log.empty());
}

TEST_F(RegistryTest, ReconnectKeepsTheNumberAndForgetsTheEmployee) {
  Connect("10.0.0.1");
  auto first = Connect("10.0.0.2");
  TRegConnection& record = Record("10.0.0.2");
  record.State = TerminalState::WaitingCard;
  record.EmployeeCode = "15";
  record.EmployeeName = "ANA";
  record.EmployeeSector = "3";
  record.Input = "12";
  record.CardKind = "F";

  Disconnect(first);
  auto second = Connect("10.0.0.2");

  EXPECT_EQ(last.TerminalNumber, 1);
  EXPECT_EQ(last.ListEntry, "1 - 10.0.0.2");
  EXPECT_FALSE(last.IsNewTerminal);
  EXPECT_EQ(registry.Count(), 2);
  // The same record, refreshed and reset.
  EXPECT_EQ(&Record("10.0.0.2"), &record);
  EXPECT_EQ(record.SocketIndex, 1);
  EXPECT_EQ(record.State, TerminalState::WaitingBadge);
  EXPECT_EQ(record.EmployeeCode, "");
  EXPECT_EQ(record.EmployeeName, "");
  EXPECT_EQ(record.Input, "");
  EXPECT_EQ(record.CardKind, "");
  EXPECT_EQ(second->writes, kBadgePromptVt);
  EXPECT_EQ(first->writes, kBadgePromptVt);  // only its own first prompt
}

TEST_F(RegistryTest, TwoConnectionsFromOneAddressShareOneRecordAndOutputGoesToTheNewest) {
  Connect("10.0.0.9");
  auto older = Connect("10.0.0.5");
  auto newer = Connect("10.0.0.5");

  EXPECT_EQ(registry.Count(), 2);
  TRegConnection& record = Record("10.0.0.5");
  EXPECT_EQ(record.SocketIndex, 2);

  older->writes.clear();
  newer->writes.clear();
  screen.ShowResult(record, "OK");
  EXPECT_TRUE(older->writes.empty());
  EXPECT_EQ(newer->writes, kResultVt);
  EXPECT_EQ(log, (std::vector<std::string>{"Indice Terminal: 2 Msg: OK"}));
}

TEST_F(RegistryTest, AClosedConnectionStillListedIsNotTakenAsTheNewest) {
  auto open = Connect("10.0.0.5");
  auto closed = MakeConnection("10.0.0.5");
  closed->close();
  active.push_back(closed);

  registry.RegisterTerminal("10.0.0.5", active);

  EXPECT_EQ(Record("10.0.0.5").SocketIndex, 0);
  EXPECT_EQ(Record("10.0.0.5").Connection.lock(), open);
}

TEST_F(RegistryTest, OutputForAClosedConnectionIsDroppedUntilTheTerminalReconnects) {
  auto connection = Connect("10.0.0.5");
  TRegConnection& record = Record("10.0.0.5");
  connection->writes.clear();

  connection->close();
  screen.ShowResult(record, "OK");
  screen.GreenLed(record, LedMode::Blink);
  EXPECT_TRUE(connection->writes.empty());

  Disconnect(connection);
  connection.reset();
  screen.ShowResult(record, "OK");  // the record's reference has expired

  auto again = Connect("10.0.0.5");
  again->writes.clear();
  screen.ShowResult(record, "OK");
  EXPECT_EQ(again->writes, kResultVt);
}

TEST_F(RegistryTest, OutputStillReachesATerminalAfterALowerListedOneDisconnects) {
  auto a = Connect("10.0.0.1");
  auto b = Connect("10.0.0.2");
  Disconnect(a);
  a.reset();
  b->writes.clear();

  screen.ShowResult(Record("10.0.0.2"), "OK");

  EXPECT_EQ(b->writes, kResultVt);
}

TEST_F(RegistryTest, WithoutAMatchingActiveConnectionTheConnectingOneGetsThePrompt) {
  auto outside = MakeConnection("10.0.0.7");  // never put in the active list

  last = ClientConnect(registry, screen, outside, active);

  EXPECT_EQ(Record("10.0.0.7").SocketIndex, -1);
  EXPECT_EQ(outside->writes, kBadgePromptVt);
}

TEST_F(RegistryTest, RecordsStayInPlaceWhileTheRegistryGrows) {
  // A blink keeps a reference to its record while other terminals connect.
  Connect("10.0.0.1");
  TRegConnection& first = registry.TerminalAt(0);
  for (int i = 2; i < 200; ++i) Connect("10.0.1." + std::to_string(i));
  first.Input = "still here";
  EXPECT_EQ(registry.TerminalAt(0).Input, "still here");
}

TEST_F(RegistryTest, BlinkEndsQuietlyWhenItsTerminalReconnectsWhileOthersArrive) {
  auto connection = Connect("10.0.0.1");
  TRegConnection& record = Record("10.0.0.1");
  bool continued = false;
  connection->writes.clear();

  screen.BlinkLed(record, Led::Red, 1, 50, [&] { continued = true; });
  for (int i = 2; i < 100; ++i) Connect("10.0.2." + std::to_string(i));
  Disconnect(connection);
  auto reconnected = Connect("10.0.0.1");
  timer.runAll();

  EXPECT_EQ(connection->writes, (Writes{"\x1B[lrl", "\x1B[01;01H"}));
  EXPECT_EQ(reconnected->writes, kBadgePromptVt);
  EXPECT_FALSE(continued);
  EXPECT_EQ(record.State, TerminalState::WaitingBadge);
}

struct LedCase {
  std::string address;
  bool hasLeds;
};

void PrintTo(const LedCase& c, std::ostream* os) {
  *os << "address \"" << c.address << "\"";
}

class LedTerminalTest : public testing::TestWithParam<LedCase> {};

TEST_P(LedTerminalTest, OnlyAnExactAddressHasLeds) {
  RegConnections registry;
  registry.SetLedTerminals({"192.168.0.10", "10.0.0.5"});
  EXPECT_EQ(registry.IsLedTerminal(GetParam().address), GetParam().hasLeds);

  auto connection = MakeConnection(GetParam().address);
  const int number = registry.RegisterTerminal(GetParam().address, {connection});
  EXPECT_EQ(registry.TerminalAt(number).HasLeds, GetParam().hasLeds);
}

INSTANTIATE_TEST_SUITE_P(Addresses, LedTerminalTest,
                         testing::Values(LedCase{"192.168.0.10", true}, LedCase{"10.0.0.5", true},
                                         LedCase{"192.168.0.010", false},
                                         LedCase{"10.0.0.05", false}, LedCase{"10.0.0.50", false},
                                         LedCase{"", false}));

TEST(LedTerminalListTest, EmptyListHasNoLedTerminalAndAChangeAppliesAtTheNextConnect) {
  RegConnections registry;
  EXPECT_FALSE(registry.IsLedTerminal("10.0.0.5"));

  auto connection = MakeConnection("10.0.0.5");
  registry.RegisterTerminal("10.0.0.5", {connection});
  EXPECT_FALSE(registry.TerminalAt(0).HasLeds);

  registry.SetLedTerminals({"10.0.0.5"});
  registry.RegisterTerminal("10.0.0.5", {connection});
  EXPECT_TRUE(registry.TerminalAt(0).HasLeds);
}

}  // namespace
}  // namespace mts
