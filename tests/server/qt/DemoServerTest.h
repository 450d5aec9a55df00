#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <ostream>
#include <string>
#include <vector>

#include "QtTestHelpers.h"
#include "ServerProcess.h"
#include "TempFolder.h"
#include "dataaccess/firebird/Connection.h"
#include "support/DatabaseRows.h"
#include "support/DemoFactory.h"
#include "support/FreePort.h"

namespace mts::testing_support {

struct Dialect {
  const char* protocol;  // PROTOCOLO-TERMINAL
  const char* mtterm;    // mtterm --dialect
};

inline void PrintTo(const Dialect& d, std::ostream* out) {
  *out << d.protocol;
}

// The demo factory served by mtserver on a free port; terminal 127.0.0.1 has
// LEDs, with a short green blink.
class DemoServerTest : public testing::TestWithParam<Dialect> {
 protected:
  void SetUp() override {
    WriteFile(folder_ / "mtserver.ini",
              std::string("[SERVER-CONFIG]\nPROTOCOLO-TERMINAL=") + GetParam().protocol +
                  "\nPORTA-IP=" + std::to_string(port_) +
                  "\n[IP_TERMINAL_LED]\n1=127.0.0.1\n[CONFIG_LED]\nTEMPO_LED_VERDE=100\n"
                  "[BDADOS-CONFIG]\nBDADOS=" +
                  database_.path().string() + "\nVersaoFirebird=3\n");
    server_.start();
    ASSERT_TRUE(WaitUntil([&] { return server_.logHas("AtivarServer:"); })) << server_.errors();
    ASSERT_TRUE(server_.logHas("AtivarServer: servidor ativo\n")) << server_.log();
  }

  // Runs mtterm from the address with the key script; its standard output.
  std::string Terminal(const char* address, const std::string& keys) {
    QProcess mtterm;
    mtterm.start(MTTERM_PATH, {"--dialect", GetParam().mtterm, "--source-address", address,
                               "--settle-ms", "400", "--wait-for", "CRACHA:", "--keys",
                               QString::fromStdString(keys), "127.0.0.1", QString::number(port_)});
    EXPECT_TRUE(mtterm.waitForFinished(120000));
    EXPECT_EQ(mtterm.exitCode(), 0) << mtterm.readAllStandardError().toStdString();
    return mtterm.readAllStandardOutput().toStdString();
  }

  // The rows of the database that the condition selects, counted after the
  // server has stopped (it holds the file meanwhile).
  int Count(const std::string& table, const std::string& where) {
    db::Connection connection(database_.settings());
    return static_cast<int>(mts::test::countRows(connection, table, where));
  }

  TempFolder folder_;
  mts::test::DemoFactoryDatabase database_;
  int port_ = test::freePort();
  ServerProcess server_{folder_};
};

// The blocks mtterm printed ({show} and the final one), each split in lines.
inline std::vector<std::vector<std::string>> ScreenBlocks(const std::string& output) {
  std::vector<std::vector<std::string>> blocks(1);
  std::size_t start = 0;
  while (start < output.size()) {
    const std::size_t end = output.find('\n', start);
    const std::string line = output.substr(start, end - start);
    if (line.empty()) {
      blocks.emplace_back();
    } else {
      blocks.back().push_back(line);
    }
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return blocks;
}

inline const Dialect kDialects[] = {{"VT-100", "vt100"}, {"STX-ETX", "stx"}};
inline std::string DialectName(const testing::TestParamInfo<Dialect>& info) {
  return info.param.mtterm[0] == 'v' ? "Vt100" : "StxEtx";
}

}  // namespace mts::testing_support
