#include "server/status/StatusRoutes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mts {
namespace {

TEST(StatusRoutes, ServesThreeReadOnlyPagesToGetAndHeadAndRefusesTheRest) {
  struct Row {
    const char* method;
    const char* path;
    int status;
    const char* contentType;  // its start
    bool snapshotTaken;
  };
  const std::vector<Row> rows{
      {"GET", "/", 200, "text/html; charset=utf-8", true},
      {"GET", "/status", 200, "application/json", true},
      {"GET", "/metrics", 200, "text/plain; version=0.0.4", true},
      {"HEAD", "/", 200, "text/html; charset=utf-8", true},
      {"HEAD", "/status", 200, "application/json", true},
      {"HEAD", "/metrics", 200, "text/plain; version=0.0.4", true},
      {"GET", "/status/", 404, "text/plain", false},
      {"GET", "/index.html", 404, "text/plain", false},
      {"GET", "/../etc/passwd", 404, "text/plain", false},
      {"GET", "/STATUS", 404, "text/plain", false},
      {"HEAD", "/nothing", 404, "text/plain", false},
      {"POST", "/status", 405, "text/plain", false},
      {"PUT", "/", 405, "text/plain", false},
      {"DELETE", "/metrics", 405, "text/plain", false},
      {"OPTIONS", "/", 405, "text/plain", false},
      {"head", "/", 405, "text/plain", false},
      {"POST", "/nothing", 404, "text/plain", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.method) + " " + row.path);
    int snapshots = 0;
    const StatusReply reply = StatusReplyFor(row.method, row.path, [&] {
      ++snapshots;
      return StatusSnapshot{};
    });
    EXPECT_EQ(reply.status, row.status);
    EXPECT_EQ(reply.contentType.rfind(row.contentType, 0), 0u) << reply.contentType;
    EXPECT_EQ(snapshots, row.snapshotTaken ? 1 : 0);
    EXPECT_EQ(reply.allow, row.status == 405 ? "GET, HEAD" : "");
    // HEAD keeps the body GET would send, for its length, and marks it unsent.
    EXPECT_EQ(reply.headOnly, std::string(row.method) == "HEAD");
    EXPECT_FALSE(reply.body.empty());
  }
  // What HEAD announces is exactly what GET sends.
  const auto snapshot = [] { return StatusSnapshot{}; };
  for (const char* path : {"/", "/status", "/metrics", "/x"}) {
    EXPECT_EQ(StatusReplyFor("HEAD", path, snapshot).body,
              StatusReplyFor("GET", path, snapshot).body)
        << path;
  }
}

}  // namespace
}  // namespace mts
