#include "server/qt/ServerRuntime.h"

#include <utility>

#include "server/qt/HandlerGuard.h"

namespace mts {

ServerRuntime::ServerRuntime(ServerPaths paths, ServerView& view)
    : timer_([this](const std::string& message) { core_.HandleError(message); }),
      core_(std::move(paths), view, listener_, timer_) {
  listener_.setEvents(&core_);
}

ServerRuntime::~ServerRuntime() {
  listener_.setEvents(nullptr);
}

void ServerRuntime::Guarded(const std::function<void()>& work) {
  RunGuarded([this](const std::string& message) { core_.HandleError(message); }, work);
}

}  // namespace mts
