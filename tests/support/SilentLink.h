#pragma once

#include <atomic>
#include <thread>

namespace mts::test {

// A port on 127.0.0.1 whose connections go silent, for clients that must not
// wait for ever on a database server that stops answering.
//
//   SilentLink hung;              // accepts every connection and never answers
//   SilentLink stalled(server);   // relays to the server at that port, passing
//                                 // the client's bytes on but only the
//                                 // server's first answer back ...
//   stalled.release();            // ... until now: what was held and all that
//                                 // follows goes through
//
// Connections stay open until the destructor, which closes them all.
class SilentLink {
 public:
  SilentLink();
  explicit SilentLink(int serverPort);
  ~SilentLink();
  SilentLink(const SilentLink&) = delete;
  SilentLink& operator=(const SilentLink&) = delete;

  int port() const { return port_; }
  void release() { released_ = true; }

 private:
  void run();

  int serverPort_ = 0;  // 0: nothing to relay to
  int listener_ = -1;
  int port_ = 0;
  int wake_[2] = {-1, -1};  // a pipe that ends run()
  std::atomic<bool> released_{false};
  std::thread thread_;
};

}  // namespace mts::test
