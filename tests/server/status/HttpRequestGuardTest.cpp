#include "server/status/HttpRequestGuard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mts {
namespace {

const std::string kGet = "GET /status HTTP/1.1\r\nHost: 127.0.0.1\r\nAccept: */*\r\n\r\n";

TEST(HttpRequestGuard, PassesWellFormedRequestsAndStopsTheRest) {
  struct Row {
    const char* name;
    std::vector<std::string> chunks;
    int refusedWith;  // 0: passes
    int requests;     // complete heads seen
  };
  const std::string bigHeader = "X-Big: " + std::string(20000, 'a') + "\r\n";
  const std::string manyHeaders = [] {
    std::string lines;
    for (int i = 0; i < 2000; ++i) lines += "H" + std::to_string(i) + ": v\r\n";
    return lines;
  }();
  const std::vector<Row> rows{
      {"one request", {kGet}, 0, 1},
      {"byte by byte",
       [] {
         std::vector<std::string> bytes;
         for (char c : kGet) bytes.emplace_back(1, c);
         return bytes;
       }(),
       0, 1},
      {"end split across reads", {"GET / HTTP/1.0\r\n\r", "\n"}, 0, 1},
      {"pipelined requests", {kGet + kGet + "GET /metrics HTTP/1.1\r\n\r\n"}, 0, 3},
      {"blank lines between requests", {kGet + "\r\n" + kGet}, 0, 2},
      {"head not finished yet", {"GET /status HTTP/1.1\r\nHost: x\r\n"}, 0, 0},
      {"one huge header", {"GET / HTTP/1.1\r\n" + bigHeader + "\r\n"}, 431, 0},
      {"huge header in pieces",
       {"GET / HTTP/1.1\r\n", bigHeader.substr(0, 9000), bigHeader.substr(9000)},
       431,
       0},
      {"many headers", {"GET / HTTP/1.1\r\n" + manyHeaders + "\r\n"}, 431, 0},
      {"huge target", {"GET /" + std::string(20000, 'a') + " HTTP/1.1\r\n\r\n"}, 414, 0},
      {"long target within the head limit",
       {"GET /" + std::string(3000, 'a') + " HTTP/1.1\r\n\r\n"},
       414,
       0},
      {"garbage", {"garbage\r\n\r\n"}, 400, 0},
      {"binary noise",
       {std::string("\x16\x03\x01\x02\x00\x01\x00\x01\xfc\x03\x03", 11) + "\r\n\r\n"},
       400,
       0},
      {"lower-case method", {"get / HTTP/1.1\r\n\r\n"}, 400, 0},
      {"target without slash", {"GET status HTTP/1.1\r\n\r\n"}, 400, 0},
      {"unknown protocol", {"GET / HTTP/2.0\r\n\r\n"}, 400, 0},
      {"header without colon", {"GET / HTTP/1.1\r\nHost\r\n\r\n"}, 400, 0},
      {"body announced", {"POST /status HTTP/1.1\r\nContent-Length: 5\r\n\r\nhello"}, 413, 0},
      {"chunked body", {"POST / HTTP/1.1\r\ntransfer-encoding: chunked\r\n\r\n"}, 413, 0},
      {"zero-length body is none", {"GET / HTTP/1.1\r\nContent-Length: 0\r\n\r\n"}, 0, 1},
      {"good request then a bad one", {kGet, "garbage\r\n\r\n"}, 400, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    HttpRequestGuard guard;
    bool passing = true;
    for (const std::string& chunk : row.chunks) passing = guard.feed(chunk);
    EXPECT_EQ(passing, row.refusedWith == 0);
    EXPECT_EQ(guard.refusal().status, row.refusedWith);
    EXPECT_EQ(guard.requests(), row.requests);
    // Once refused, nothing passes any more.
    if (row.refusedWith != 0) {
      EXPECT_FALSE(guard.feed(kGet));
    }
  }
}

TEST(HttpRequestGuard, KnowsWhenARequestIsHalfWay) {
  HttpRequestGuard guard;
  EXPECT_FALSE(guard.inRequest());
  guard.feed("GET / HT");
  EXPECT_TRUE(guard.inRequest());
  guard.feed("TP/1.1\r\n\r\n");
  EXPECT_FALSE(guard.inRequest());
}

TEST(HttpRequestGuard, RefusalIsACompleteResponseThatClosesTheConnection) {
  EXPECT_EQ(HttpRequestGuard::RefusalResponse({431, "Request Header Fields Too Large"}),
            "HTTP/1.1 431 Request Header Fields Too Large\r\n"
            "Content-Type: text/plain; charset=utf-8\r\nContent-Length: 36\r\n"
            "Connection: close\r\n\r\n431 Request Header Fields Too Large\n");
}

}  // namespace
}  // namespace mts
