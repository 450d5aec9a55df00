#pragma once

#include "server/ServerCore.h"
#include "server/qt/QtEventPump.h"
#include "server/qt/QtTerminalListener.h"

namespace mts {

// The server core wired to the Qt listening socket and event pump: what the
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
  QtEventPump pump_;
  QtTerminalListener listener_;
  ServerCore core_;
};

}  // namespace mts
