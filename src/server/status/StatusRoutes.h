#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "server/status/StatusSnapshot.h"

namespace mts {

// One response of the status listener.
struct StatusReply {
  int status = 200;
  std::string contentType;
  std::string body;
  // 405 replies name the one method served ("Allow: GET").
  bool allowGetOnly = false;
};

// The status listener's answer to a request: GET of "/" (the page),
// "/status" (JSON) and "/metrics" (Prometheus text); 404 for any other path
// and 405 for any other method. The snapshot is taken only for a page that is
// served. Nothing here changes the server.
StatusReply StatusReplyFor(std::string_view method, std::string_view path,
                           const std::function<StatusSnapshot()>& snapshot);

}  // namespace mts
