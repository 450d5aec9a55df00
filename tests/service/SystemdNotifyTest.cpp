// The real server under a fake service manager: NOTIFY_SOCKET is a datagram
// socket of the test's, so every notification can be read back.
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "ServiceTestSupport.h"
#include "support/FreePort.h"
#include "support/SilentLink.h"

namespace mts::test {
namespace {

class FakeNotifySocket {
 public:
  explicit FakeNotifySocket(const std::filesystem::path& path) : path_(path) {
    fd_ = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    if (::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
      throw std::runtime_error("cannot bind " + path.string());
    }
  }
  ~FakeNotifySocket() { ::close(fd_); }

  // The next datagram, or "" when none comes in time.
  std::string Receive(int timeoutMs = 10000) {
    pollfd ready{fd_, POLLIN, 0};
    if (::poll(&ready, 1, timeoutMs) <= 0) return "";
    char buffer[4096];
    const ssize_t got = ::recv(fd_, buffer, sizeof buffer, 0);
    return got > 0 ? std::string(buffer, static_cast<std::size_t>(got)) : "";
  }

  // Datagrams until one equals `wanted` (true) or none comes in time (false);
  // the others are kept in `skipped`.
  bool ReceiveUntil(const std::string& wanted, std::vector<std::string>& skipped) {
    for (std::string message = Receive(); !message.empty(); message = Receive()) {
      if (message == wanted) return true;
      skipped.push_back(message);
    }
    return false;
  }

 private:
  std::filesystem::path path_;
  int fd_ = -1;
};

TEST(SystemdNotifications, ReadyOnceListeningWatchdogPetsThenStopping) {
  TempDir folder("notify");
  FakeNotifySocket manager(folder / "notify.sock");
  ServerUnderTest::Options options;
  options.environment = {{"NOTIFY_SOCKET", (folder / "notify.sock").string()},
                         {"WATCHDOG_USEC", "200000"}};
  ServerUnderTest server(options);
  server.Start();

  std::vector<std::string> before;
  const std::string ready =
      "READY=1\nSTATUS=Escutando terminais na porta " + std::to_string(server.terminalPort());
  ASSERT_TRUE(manager.ReceiveUntil(ready, before)) << server.Output();
  // Nothing but watchdog pets may come before ready, and once ready the port
  // takes terminals.
  for (const std::string& message : before) EXPECT_EQ(message, "WATCHDOG=1");
  RawTerminal terminal("127.0.0.1", server.terminalPort());
  EXPECT_EQ(terminal.Read(kBadgePrompt.size()), kBadgePrompt);

  // Petted at half the 200 ms interval.
  for (int pet = 0; pet < 3; ++pet) EXPECT_EQ(manager.Receive(1000), "WATCHDOG=1");

  ::kill(server.pid(), SIGTERM);
  std::vector<std::string> pets;
  EXPECT_TRUE(manager.ReceiveUntil("STOPPING=1", pets));
  for (const std::string& message : pets) EXPECT_EQ(message, "WATCHDOG=1");
  EXPECT_EQ(server.Wait(), 0) << server.Output();
  // The watchdog stops with the shutdown, and nothing else is said.
  EXPECT_EQ(manager.Receive(500), "");
}

// A database host that accepts the connection and never answers (a hung host):
// the server does not wait for it. It says it is ready, terminals get their
// prompt, and a badge is answered as the database being out of reach, on its
// own terminal, once the attach has given up.
TEST(SystemdNotifications, ReadyAtOnceWhenTheDatabaseNeverAnswers) {
  TempDir folder("notify");
  FakeNotifySocket manager(folder / "notify.sock");
  SilentLink silent;
  ServerUnderTest::Options options;
  options.database = "127.0.0.1/" + std::to_string(silent.port()) + ":/dados/fabrica.fdb";
  options.withStatus = false;
  options.environment = {{"NOTIFY_SOCKET", (folder / "notify.sock").string()}};
  ServerUnderTest server(options);
  const auto started = std::chrono::steady_clock::now();
  server.Start();

  std::vector<std::string> before;
  ASSERT_TRUE(manager.ReceiveUntil(
      "READY=1\nSTATUS=Escutando terminais na porta " + std::to_string(server.terminalPort()),
      before))
      << server.Output();
  // Ready before the attach could even have given up (5 s): it was not waited for.
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(4));
  RawTerminal terminal("127.0.0.1", server.terminalPort());
  ASSERT_EQ(terminal.Read(kBadgePrompt.size()), kBadgePrompt);

  ASSERT_TRUE(terminal.Send("1004\r"));
  std::string answer;
  for (int reads = 0; reads < 40 && answer.find("FUNC. NAO VERIFICADO") == std::string::npos;
       ++reads) {
    answer += terminal.Read(1, 1000);
  }
  EXPECT_NE(answer.find("FUNC. NAO VERIFICADO"), std::string::npos) << answer;
  ASSERT_TRUE(terminal.Send(","));
  std::string words;
  for (int reads = 0; reads < 10 && words.find("FORA DE ALCANCE") == std::string::npos; ++reads) {
    words += terminal.Read(1, 1000);
  }
  EXPECT_NE(words.find("BANCO DE DADOS FORA DE ALCANCE"), std::string::npos) << words;
  EXPECT_EQ(server.Stop(), 0) << server.Output();
}

// A taken terminal port ends the headless server (status 78, which the unit
// does not retry) before it ever says it is ready.
TEST(SystemdNotifications, NeverReadyWhenTheTerminalPortIsTaken) {
  TempDir folder("notify");
  FakeNotifySocket manager(folder / "notify.sock");
  const int taken = freePort();
  const int holder = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in where{};
  where.sin_family = AF_INET;
  where.sin_port = htons(static_cast<std::uint16_t>(taken));
  ASSERT_EQ(::bind(holder, reinterpret_cast<sockaddr*>(&where), sizeof where), 0);
  ASSERT_EQ(::listen(holder, 1), 0);

  ServerUnderTest::Options options;
  options.terminalPort = taken;
  options.withStatus = false;
  options.environment = {{"NOTIFY_SOCKET", (folder / "notify.sock").string()}};
  ServerUnderTest server(options);
  server.Start();
  EXPECT_EQ(server.Wait(), 78) << server.Output();
  EXPECT_EQ(manager.Receive(500), "");
  ::close(holder);
}

}  // namespace
}  // namespace mts::test
