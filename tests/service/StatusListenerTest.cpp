// The status listener of the real server: what it reports about terminals
// driven by mtterm, that it is off without its port, and that nothing a
// client sends to it disturbs the terminals.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ServiceTestSupport.h"
#include "support/TestDatabase.h"

namespace mts::test {
namespace {

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The TCP ports the process listens on, with their local address in the
// kernel's hexadecimal form ("0100007F" is 127.0.0.1, 32 zeros is "::"): the
// process's socket inodes matched against the listening sockets of
// /proc/net/tcp and tcp6.
std::set<std::pair<std::string, int>> ListeningPorts(pid_t pid) {
  std::set<std::string> inodes;
  const std::filesystem::path fds = "/proc/" + std::to_string(pid) + "/fd";
  for (const auto& entry : std::filesystem::directory_iterator(fds)) {
    std::error_code error;
    const std::string target = std::filesystem::read_symlink(entry.path(), error).string();
    if (target.rfind("socket:[", 0) == 0) inodes.insert(target.substr(8, target.size() - 9));
  }
  std::set<std::pair<std::string, int>> ports;
  for (const char* file : {"/proc/net/tcp", "/proc/net/tcp6"}) {
    std::ifstream table(file);
    std::string line;
    std::getline(table, line);  // header
    while (std::getline(table, line)) {
      std::istringstream fields(line);
      std::string slot, local, remote, state, queues, timer, retransmits, uid, timeout, inode;
      fields >> slot >> local >> remote >> state >> queues >> timer >> retransmits >> uid >>
          timeout >> inode;
      if (state != "0A" || !inodes.count(inode)) continue;  // 0A: LISTEN
      const std::size_t colon = local.find(':');
      ports.insert({local.substr(0, colon), std::stoi(local.substr(colon + 1), nullptr, 16)});
    }
  }
  return ports;
}

const std::string kAnyIpv6(32, '0');
const std::string kAnyIpv4 = "00000000";
const std::string kLoopback = "0100007F";

TEST(StatusListener, OffWithoutItsPortAndOnLoopbackByDefault) {
  ServerUnderTest::Options off;
  off.withStatus = false;
  ServerUnderTest server(off);
  server.Start();
  EXPECT_EQ(ListeningPorts(server.pid()),
            (std::set<std::pair<std::string, int>>{{kAnyIpv6, server.terminalPort()}}));
  EXPECT_EQ(server.Stop(), 0) << server.Output();

  ServerUnderTest::Options on;
  on.extraServerConfig = "ENDERECO-STATUS=0.0.0.0\r\n";
  ServerUnderTest everywhere(on);
  everywhere.Start();
  EXPECT_TRUE(ListeningPorts(everywhere.pid()).count({kAnyIpv4, everywhere.statusPort()}));

  ServerUnderTest loopback({});
  loopback.Start();
  EXPECT_TRUE(ListeningPorts(loopback.pid()).count({kLoopback, loopback.statusPort()}));
}

TEST(StatusListener, ATakenStatusPortIsReportedAndTheTerminalsAreServed) {
  ServerUnderTest first({});
  first.Start();
  ServerUnderTest::Options clash;
  clash.extraServerConfig = "PORTA-STATUS=" + std::to_string(first.statusPort()) + "\r\n";
  clash.withStatus = false;
  ServerUnderTest second(clash);
  second.Start();
  ASSERT_TRUE(WaitFor([&] { return Has(second.Output(), "porta de status"); }));
  EXPECT_TRUE(
      Has(second.Output(), "mtserver: N\xC3\xA3o foi poss\xC3\xADvel abrir a porta de status " +
                               std::to_string(first.statusPort())))
      << second.Output();
  RawTerminal terminal("127.0.0.1", second.terminalPort());
  EXPECT_EQ(terminal.Read(kBadgePrompt.size()), kBadgePrompt);
}

TEST(StatusListener, ReportsTerminalsKeysAndDatabaseOfTheRealServer) {
  TestDatabase database(factorySchema());
  ServerUnderTest::Options options;
  options.database = database.path().string();
  // One terminal that will come is named, and one that never will.
  options.extraSections =
      "[TERMINAIS]\r\n127.0.0.2=Montagem 1;Linha 2\r\n127.0.0.9=Corte 1;Galp\xE3o B\r\n";
  ServerUnderTest server(options);
  server.Start();
  const int port = server.statusPort();

  // The workers attach in the background and report the database once they have.
  std::string status;
  EXPECT_TRUE(WaitFor([&] {
    status = StatusJson(port);
    return Has(status, "\"database\":{\"reachable\":true,");
  })) << status;
  EXPECT_TRUE(Has(
      status, "\"terminalPort\":" + std::to_string(server.terminalPort()) + ",\"listening\":true,"))
      << status;
  EXPECT_EQ(Field(TerminalJson(status, "127.0.0.2"), "number"), "null") << status;
  EXPECT_EQ(Field(TerminalJson(status, "127.0.0.9"), "place"), "\"Galp\xC3\xA3o B\"") << status;

  // Two terminals type and stay connected for a while; a third comes and goes.
  auto first =
      Mtterm("127.0.0.2", server.terminalPort(), "12{wait:20000}", server.folder() / "first.txt");
  auto second = Mtterm("127.0.0.3", server.terminalPort(), "{esc}{wait:20000}",
                       server.folder() / "second.txt");
  auto third = Mtterm("127.0.0.4", server.terminalPort(), "7", server.folder() / "third.txt");
  EXPECT_EQ(third->wait(), 0);
  ASSERT_TRUE(WaitFor([&] {
    status = StatusJson(port);
    return Field(TerminalJson(status, "127.0.0.2"), "lastKey") == "\"2\"" &&
           Field(TerminalJson(status, "127.0.0.3"), "lastKey") == "\"Esc\"" &&
           Field(TerminalJson(status, "127.0.0.4"), "connected") == "false";
  })) << status;

  const std::string t2 = TerminalJson(status, "127.0.0.2");
  EXPECT_EQ(Field(t2, "connected"), "true");
  EXPECT_EQ(Field(t2, "leds"), "false");
  EXPECT_EQ(Field(t2, "state"), "\"badge\"");
  EXPECT_NE(Field(t2, "connectedSince"), "null");
  EXPECT_NE(Field(t2, "lastKeyAt"), "null");
  EXPECT_EQ(Field(t2, "name"), "\"Montagem 1\"");
  EXPECT_NE(Field(t2, "number"), "null");
  const std::string t4 = TerminalJson(status, "127.0.0.4");
  EXPECT_EQ(Field(t4, "lastKey"), "\"7\"");
  EXPECT_NE(Field(t4, "disconnectedSince"), "null") << t4;
  EXPECT_EQ(Field(TerminalJson(status, "127.0.0.9"), "connected"), "false");

  const HttpResponse metrics = HttpGet(port, "/metrics");
  EXPECT_EQ(metrics.status, 200);
  EXPECT_EQ(metrics.headers.at("content-type"), "text/plain; version=0.0.4; charset=utf-8");
  for (const char* line : {"mtserver_terminals_connected 2\n",
                           "mtserver_terminal_connected{address=\"127.0.0.2\"} 1\n",
                           "mtserver_terminal_connected{address=\"127.0.0.4\"} 0\n",
                           "mtserver_terminal_connected{address=\"127.0.0.9\"} 0\n",
                           "mtserver_terminal_info{address=\"127.0.0.9\",name=\"Corte 1\","
                           "place=\"Galp\xC3\xA3o B\"} 1\n",
                           "mtserver_database_up 1\n", "mtserver_listener_restarts_total 0\n"}) {
    EXPECT_TRUE(Has(metrics.body, line)) << line << metrics.body;
  }
  // The process's own figures, as the system sees the server process: it
  // started (before start-up had the clock read) a moment before the server
  // did, not at boot or at the epoch.
  auto sample = [&](const std::string& name) {
    const std::size_t at = metrics.body.find("\n" + name + " ");
    return at == std::string::npos ? -1.0 : std::stod(metrics.body.substr(at + name.size() + 2));
  };
  EXPECT_GT(sample("process_resident_memory_bytes"), 1e6) << metrics.body;
  EXPECT_GE(sample("process_open_fds"), 5);
  EXPECT_NEAR(sample("process_start_time_seconds"), sample("mtserver_start_time_seconds"), 120);

  const HttpResponse page = HttpGet(port, "/");
  EXPECT_EQ(page.status, 200);
  EXPECT_TRUE(Has(page.body, "Terminais: 2 de 4 conectados")) << page.body;
  EXPECT_TRUE(Has(page.body, "127.0.0.3"));
  EXPECT_TRUE(Has(page.body, "2 terminais desconectados: 127.0.0.4 h\xC3\xA1 ")) << page.body;
  EXPECT_TRUE(Has(page.body, "Corte 1 (127.0.0.9) nunca conectou."));

  first->kill();
  second->kill();
  ASSERT_TRUE(WaitFor(
      [&] { return Has(HttpGet(port, "/metrics").body, "mtserver_terminals_connected 0\n"); }));
  // The window's own output is what it always was.
  EXPECT_EQ(server.Stop(), 0) << server.Output();
  const std::string output = server.Output();
  for (const char* address : {"127.0.0.2", "127.0.0.3", "127.0.0.4"}) {
    const std::size_t entry = output.find(std::string(" - ") + address + "\n");
    ASSERT_NE(entry, std::string::npos) << output;
    EXPECT_EQ(output.rfind("Terminais Conectados: ", entry), output.rfind('\n', entry) + 1);
  }
  EXPECT_FALSE(Has(server.Output(), "status"));
}

TEST(StatusListener, BadRequestsGetHttpErrorsAndNeverDisturbTheTerminals) {
  ServerUnderTest server({});
  server.Start();
  const int port = server.statusPort();
  RawTerminal terminal("127.0.0.2", server.terminalPort());
  ASSERT_EQ(terminal.Read(kBadgePrompt.size()), kBadgePrompt);

  struct Row {
    const char* name;
    std::string request;
    int status;
  };
  const std::vector<Row> rows{
      {"unknown path", "GET /admin HTTP/1.1\r\nHost: x\r\n\r\n", 404},
      {"post", "POST /status HTTP/1.1\r\nHost: x\r\nContent-Length: 2\r\n\r\n{}", 413},
      {"post without body", "POST /status HTTP/1.1\r\nHost: x\r\n\r\n", 405},
      {"delete", "DELETE / HTTP/1.1\r\nHost: x\r\n\r\n", 405},
      {"options", "OPTIONS / HTTP/1.1\r\nHost: x\r\n\r\n", 405},
      {"huge header",
       "GET /status HTTP/1.1\r\nHost: x\r\nCookie: " + std::string(1 << 20, 'c') + "\r\n\r\n", 431},
      {"huge path", "GET /" + std::string(100000, 'p') + " HTTP/1.1\r\n\r\n", 414},
      {"garbage", "\x16\x03\x01 hello\r\n\r\n", 400},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const HttpResponse response = HttpExchange(port, row.request);
    EXPECT_EQ(response.status, row.status) << response.raw.substr(0, 200);
    if (row.status == 405) {
      ASSERT_TRUE(response.headers.count("allow"));
      EXPECT_EQ(response.headers.at("allow"), "GET, HEAD");
    }
  }

  // HEAD gets GET's status and headers, the length of its body included, and
  // no body.
  const HttpResponse get = HttpGet(port, "/status");
  const HttpResponse head = HttpExchange(port, "HEAD /status HTTP/1.1\r\nHost: x\r\n\r\n");
  EXPECT_EQ(head.status, 200) << head.raw;
  EXPECT_EQ(head.headers.at("content-type"), get.headers.at("content-type"));
  EXPECT_EQ(head.headers.at("content-length"), std::to_string(get.body.size()));
  EXPECT_EQ(head.body, "");

  // Many connections at once: some may be turned away (503), none hangs, and
  // all of them together leave the server as it was.
  std::vector<int> crowd;
  for (int i = 0; i < 200; ++i) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in where{};
    where.sin_family = AF_INET;
    where.sin_port = htons(static_cast<std::uint16_t>(port));
    where.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&where), sizeof where), 0);
    crowd.push_back(fd);
  }
  const HttpResponse whileCrowded = HttpGet(port, "/status");
  EXPECT_TRUE(whileCrowded.status == 503 || whileCrowded.status == 200) << whileCrowded.raw;
  for (int fd : crowd) ::close(fd);
  ASSERT_TRUE(WaitFor([&] { return HttpGet(port, "/status").status == 200; }));

  // A client that opens a request and stalls is cut off.
  const HttpResponse stalled = HttpExchange(port, "GET /status HTTP/1.1\r\nHo", 15000);
  EXPECT_EQ(stalled.status, 408);

  // The terminal was never dropped, a new one is served, and the listener
  // was never restarted.
  EXPECT_TRUE(terminal.Open());
  RawTerminal another("127.0.0.3", server.terminalPort());
  EXPECT_EQ(another.Read(kBadgePrompt.size()), kBadgePrompt);
  EXPECT_TRUE(Has(HttpGet(port, "/metrics").body, "mtserver_terminals_connected 2\n"));
  EXPECT_FALSE(Has(server.Log(), "servidor desativado."));
  EXPECT_EQ(server.Stop(), 0) << server.Output();
}

}  // namespace
}  // namespace mts::test
