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
  // The methods served, for the "Allow" header of a 405 reply; empty otherwise.
  std::string allow;
  // A reply to HEAD: the body is there only for its length and is not sent.
  bool headOnly = false;
};

// The status listener's answer to a request: GET or HEAD of "/" (the page),
// "/status" (JSON) and "/metrics" (Prometheus text); 404 for any other path
// and 405 for any other method. HEAD gets the reply GET would get, body
// included, for the caller to send without it. The snapshot is taken only for
// a page that is served. Nothing here changes the server.
StatusReply StatusReplyFor(std::string_view method, std::string_view path,
                           const std::function<StatusSnapshot()>& snapshot);

}  // namespace mts
