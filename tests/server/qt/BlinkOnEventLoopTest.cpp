// The green blink of an accepted badge on the real Qt event loop, with real
// sockets: other terminals are served during it, blinks never nest, and a
// terminal that leaves or reconnects during its blink is not logged in.
#include <gtest/gtest.h>

#include <QTcpSocket>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "QtTestHelpers.h"
#include "TempFolder.h"
#include "server/qt/ServerRuntime.h"
#include "support/DemoFactory.h"
#include "support/FreePort.h"
#include "support/ServerFakes.h"

namespace mts {
namespace {

using test::freePort;
using testing_support::TempFolder;
using testing_support::WaitUntil;
using testing_support::WriteFile;

// A terminal on the test's side of a real socket.
class Terminal {
 public:
  Terminal(const char* address, int port) {
    EXPECT_TRUE(socket_.bind(QHostAddress(QString(address)), 0)) << address;
    socket_.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
    EXPECT_TRUE(WaitFor("CRACHA:"));
  }

  // Each key in a write of its own; a key's echo is awaited before the next.
  void Type(const std::string& keys) {
    for (char key : keys) {
      const std::size_t before = Received().size();
      socket_.write(&key, 1);
      socket_.waitForBytesWritten();
      if (key != '\r') {
        EXPECT_TRUE(WaitUntil([&] { return Received().size() > before; }));
      }
    }
  }
  bool WaitFor(const std::string& text) {
    return WaitUntil([&] { return Received().find(text) != std::string::npos; });
  }
  const std::string& Received() {
    received_ += socket_.readAll().toStdString();
    return received_;
  }
  void Leave() { socket_.disconnectFromHost(); }

 private:
  QTcpSocket socket_;
  std::string received_;
};

class BlinkOnEventLoopTest : public testing::Test {
 protected:
  BlinkOnEventLoopTest() {
    WriteFile(folder_ / "mtserver.ini",
              "[SERVER-CONFIG]\nPORTA-IP=" + std::to_string(port_) +
                  "\n[CONFIG_LED]\nTEMPO_LED_VERDE=300\nQTDE_REPETICAO_LED_VERDE=2\n"
                  "[IP_TERMINAL_LED]\n1=127.0.0.1\n2=127.0.0.2\n"
                  "[BDADOS-CONFIG]\nBDADOS=" +
                  database_.path().string() + "\n");
    runtime_.core().FormCreate();
    runtime_.core().FormShow();
  }
  ~BlinkOnEventLoopTest() override { runtime_.core().FormClose(); }

  // Position of the first received-data line that holds the text; -1 when none.
  int LineOf(const std::string& text) const {
    const auto& lines = view_.received;
    auto found = std::find_if(lines.begin(), lines.end(), [&](const std::string& line) {
      return line.find(text) != std::string::npos;
    });
    return found == lines.end() ? -1 : static_cast<int>(found - lines.begin());
  }

  TempFolder folder_;
  test::DemoFactoryDatabase database_;
  int port_ = freePort();
  test::RecordingView view_;
  ServerRuntime runtime_{{folder_ / "mtserver.ini", folder_ / "log"}, view_};
};

TEST_F(BlinkOnEventLoopTest, ABlinkStartedFirstEndsFirstAndOthersAreServedMeanwhile) {
  ASSERT_TRUE(view_.errors.empty()) << view_.errors.front();
  Terminal first("127.0.0.1", port_);
  Terminal second("127.0.0.2", port_);
  Terminal third("127.0.0.3", port_);  // no LEDs

  first.Type("1001\r");
  ASSERT_TRUE(first.WaitFor("\x1B[lgl"));
  second.Type("1002\r");
  // The third terminal's whole login happens while both blinks run.
  third.Type("1004\r");
  ASSERT_TRUE(third.WaitFor("FICHA:"));
  EXPECT_EQ(LineOf("Funcionario: 1001"), -1);

  ASSERT_TRUE(first.WaitFor("FICHA:"));
  ASSERT_TRUE(second.WaitFor("FICHA:"));
  EXPECT_LT(LineOf("Terminal 2 - Funcionario: 1004"), LineOf("Terminal 0 - Funcionario: 1001"));
  EXPECT_LT(LineOf("Terminal 0 - Funcionario: 1001"), LineOf("Terminal 1 - Funcionario: 1002"));
  EXPECT_TRUE(view_.errors.empty());
}

TEST_F(BlinkOnEventLoopTest, ATerminalThatLeavesOrReconnectsDuringItsBlinkIsNotLoggedIn) {
  auto leaving = std::make_unique<Terminal>("127.0.0.1", port_);
  auto reconnecting = std::make_unique<Terminal>("127.0.0.2", port_);
  leaving->Type("1001\r");
  reconnecting->Type("1002\r");
  ASSERT_TRUE(reconnecting->WaitFor("\x1B[lgl"));
  leaving->Leave();
  reconnecting = std::make_unique<Terminal>("127.0.0.2", port_);

  // Long enough for both blinks to have ended; the server goes on serving.
  Terminal other("127.0.0.3", port_);
  other.Type("1004\r");
  ASSERT_TRUE(other.WaitFor("FICHA:"));
  QDeadlineTimer blinks(1500);
  WaitUntil([&] { return blinks.hasExpired(); }, 3000);

  EXPECT_EQ(reconnecting->Received(), std::string("\x1B[H\x1B[J\x1B[01;01H\x1B[01;01HCRACHA:"));
  EXPECT_EQ(LineOf("Funcionario: 1001"), -1);
  EXPECT_EQ(LineOf("Funcionario: 1002"), -1);
  EXPECT_TRUE(view_.errors.empty());
}

}  // namespace
}  // namespace mts
