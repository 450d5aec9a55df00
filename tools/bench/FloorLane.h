#pragma once

#include <chrono>
#include <memory>

#include "BenchFactory.h"
#include "SqlFloor.h"
#include "dataaccess/firebird/Connection.h"
#include "support/PrivateFirebirdServer.h"
#include "support/TempDir.h"

namespace mts::bench {

// The SQL floor a card at a time: its own copy of a generated factory behind
// its own private Firebird server, every statement prepared beforehand.
class FloorLane {
 public:
  FloorLane(FactorySize size, int cards, FloorMode mode = FloorMode::OneTransaction);

  // Posts generated card number `c` and returns its latency.
  std::chrono::nanoseconds post(int c);
  pid_t databasePid() const { return firebird_.pid(); }

 private:
  test::TempDir folder_;
  test::PrivateFirebirdServer firebird_;
  std::unique_ptr<db::Connection> connection_;
  FloorMode mode_;
};

}  // namespace mts::bench
