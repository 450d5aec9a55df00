#include "server/status/HttpRequestGuard.h"

#include <algorithm>
#include <cctype>

namespace mts {
namespace {

constexpr std::string_view kHeadEnd = "\r\n\r\n";
// Longer targets than this are not anything the listener serves.
constexpr std::size_t kTargetLimit = 2048;

std::string Lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool IsToken(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) {
    return std::isupper(c) || c == '-' || c == '_';
  });
}

}  // namespace

bool HttpRequestGuard::feed(std::string_view bytes) {
  while (!refused() && !bytes.empty()) {
    // Blank lines between requests are allowed and skipped.
    if (head_.empty()) {
      while (!bytes.empty() && (bytes.front() == '\r' || bytes.front() == '\n')) {
        bytes.remove_prefix(1);
      }
      if (bytes.empty()) break;
    }
    // Only what can still hold the end of the head is looked at: the last
    // three bytes kept plus the new ones.
    const std::size_t searchFrom = head_.size() < 3 ? 0 : head_.size() - 3;
    const std::size_t room = headLimit_ + kHeadEnd.size() - head_.size();
    const std::size_t take = std::min(bytes.size(), room);
    head_.append(bytes.substr(0, take));
    const std::size_t end = head_.find(kHeadEnd, searchFrom);
    if (end == std::string::npos) {
      if (head_.size() >= headLimit_ + kHeadEnd.size()) {
        // The request line alone overran the limit: its target is too long.
        if (head_.find("\r\n") == std::string::npos) {
          Refuse(414, "URI Too Long");
        } else {
          Refuse(431, "Request Header Fields Too Large");
        }
      }
      break;
    }
    // Bytes after the head belong to the next request.
    const std::size_t used = end + kHeadEnd.size();
    const std::size_t consumedOfBytes = take - (head_.size() - used);
    head_.resize(end);
    CheckHead();
    head_.clear();
    if (refused()) break;
    ++requests_;
    bytes.remove_prefix(consumedOfBytes);
  }
  return !refused();
}

void HttpRequestGuard::CheckHead() {
  const std::size_t lineEnd = head_.find("\r\n");
  const std::string_view requestLine =
      std::string_view(head_).substr(0, lineEnd == std::string::npos ? head_.size() : lineEnd);
  const std::size_t firstSpace = requestLine.find(' ');
  const std::size_t lastSpace = requestLine.rfind(' ');
  if (firstSpace == std::string_view::npos || firstSpace == lastSpace) {
    Refuse(400, "Bad Request");
    return;
  }
  const std::string_view method = requestLine.substr(0, firstSpace);
  const std::string_view target = requestLine.substr(firstSpace + 1, lastSpace - firstSpace - 1);
  const std::string_view version = requestLine.substr(lastSpace + 1);
  if (!IsToken(method) || target.empty() || target.front() != '/' ||
      target.find(' ') != std::string_view::npos ||
      (version != "HTTP/1.1" && version != "HTTP/1.0")) {
    Refuse(400, "Bad Request");
    return;
  }
  if (target.size() > kTargetLimit) {
    Refuse(414, "URI Too Long");
    return;
  }

  std::string_view rest = lineEnd == std::string::npos
                              ? std::string_view()
                              : std::string_view(head_).substr(lineEnd + 2);
  while (!rest.empty()) {
    const std::size_t next = rest.find("\r\n");
    const std::string_view line = rest.substr(0, next);
    rest = next == std::string_view::npos ? std::string_view() : rest.substr(next + 2);
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || colon == 0) {
      Refuse(400, "Bad Request");
      return;
    }
    const std::string name = Lower(Trim(line.substr(0, colon)));
    const std::string_view value = Trim(line.substr(colon + 1));
    if (name == "transfer-encoding" || (name == "content-length" && value != "0")) {
      Refuse(413, "Content Too Large");
      return;
    }
  }
}

void HttpRequestGuard::Refuse(int status, std::string reason) {
  refusal_ = {status, std::move(reason)};
  head_.clear();
}

std::string HttpRequestGuard::RefusalResponse(const Refusal& refusal) {
  const std::string body = std::to_string(refusal.status) + " " + refusal.reason + "\n";
  return "HTTP/1.1 " + std::to_string(refusal.status) + " " + refusal.reason +
         "\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Length: " +
         std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

}  // namespace mts
