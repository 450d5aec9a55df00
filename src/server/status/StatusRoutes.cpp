#include "server/status/StatusRoutes.h"

#include "server/status/StatusJson.h"
#include "server/status/StatusMetrics.h"
#include "server/status/StatusPage.h"

namespace mts {
namespace {

StatusReply PlainText(int status, std::string body) {
  return {status, "text/plain; charset=utf-8", std::move(body), "", false};
}

StatusReply Page(std::string_view path, const std::function<StatusSnapshot()>& snapshot) {
  if (path == "/status") return {200, "application/json", StatusJson(snapshot()), "", false};
  if (path == "/metrics") {
    return {200, "text/plain; version=0.0.4; charset=utf-8", StatusMetrics(snapshot()), "", false};
  }
  return {200, "text/html; charset=utf-8", StatusPage(snapshot()), "", false};
}

}  // namespace

StatusReply StatusReplyFor(std::string_view method, std::string_view path,
                           const std::function<StatusSnapshot()>& snapshot) {
  const bool head = method == "HEAD";
  StatusReply reply;
  if (path != "/" && path != "/status" && path != "/metrics") {
    reply = PlainText(404, "not found\n");
  } else if (method != "GET" && !head) {
    reply = PlainText(405, "method not allowed: this page is read-only\n");
    reply.allow = "GET, HEAD";
  } else {
    reply = Page(path, snapshot);
  }
  reply.headOnly = head;
  return reply;
}

}  // namespace mts
