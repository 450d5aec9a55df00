#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "dataaccess/firebird/FirebirdApi.h"

namespace mts::db {

// An attach to a remote database that the caller waits for at most a given
// time.
//
// The client library bounds only the wait for the server's answer to its
// connect packet; once the server has answered, the rest of the handshake and
// the attach itself wait for as long as the link stays up, however silent the
// server. So the attach runs on a thread of its own, and the caller stops
// waiting after its timeout or when cancel() is called. An attach given up
// that completes later is detached by its thread; the thread ends when the
// library returns, which a server that hangs mid-handshake can delay
// indefinitely.
class BoundedAttach {
 public:
  // Starts attaching to `database` with parameter block `dpb`.
  BoundedAttach(std::string database, std::vector<unsigned char> dpb);
  ~BoundedAttach();  // gives the attach up when wait() has not taken it
  BoundedAttach(const BoundedAttach&) = delete;
  BoundedAttach& operator=(const BoundedAttach&) = delete;

  // The attachment, once made within `timeout`. Throws the library's error
  // when the attach failed, a connection-lost DatabaseError when the time ran
  // out and a cancelled one after cancel(). Call once.
  Firebird::IAttachment* wait(std::chrono::milliseconds timeout);
  // Makes wait() give up now. Any thread.
  void cancel();

 private:
  struct State;
  // The attach thread's body.
  static void attach(const std::shared_ptr<State>& state, const std::string& database,
                     const std::vector<unsigned char>& dpb);
  std::shared_ptr<State> state_;
};

// Attach threads of this process still running, given up ones included.
std::size_t attachesInFlight();
// Waits until no attach thread runs, for at most `timeout`; false when some still do.
bool waitForAttachesInFlight(std::chrono::milliseconds timeout);

}  // namespace mts::db
