#pragma once

#include "server/ServerCore.h"
#include "server/qt/QtEventTimer.h"
#include "server/qt/QtTerminalListener.h"

namespace mts {

// The server core wired to the Qt listening socket and event timer: what the
// window and the headless run have in common. The view must outlive it.
class ServerRuntime {
 public:
  ServerRuntime(ServerPaths paths, ServerView& view);
  ~ServerRuntime();
  ServerRuntime(const ServerRuntime&) = delete;
  ServerRuntime& operator=(const ServerRuntime&) = delete;

  ServerCore& core() { return core_; }
  QtTerminalListener& listener() { return listener_; }

  // Runs an event handler of ours; what escapes it goes to the core's error
  // handler.
  void Guarded(const std::function<void()>& work);

 private:
  // Constructed before the core, which keeps a reference to it. Its pending
  // calls go with it; none runs while the runtime is being destroyed.
  QtEventTimer timer_;
  QtTerminalListener listener_;
  ServerCore core_;
};

}  // namespace mts
