#include "ServiceTestSupport.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "support/FreePort.h"

namespace mts::test {
namespace {

sockaddr_in Loopback(int port, const char* address = "127.0.0.1") {
  sockaddr_in where{};
  where.sin_family = AF_INET;
  where.sin_port = htons(static_cast<std::uint16_t>(port));
  ::inet_pton(AF_INET, address, &where.sin_addr);
  return where;
}

int ConnectTo(int port, const char* from = nullptr) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (from) {
    sockaddr_in local = Loopback(0, from);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
      ::close(fd);
      return -1;
    }
  }
  sockaddr_in where = Loopback(port);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&where), sizeof where) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Reads what is available within the wait; false once the peer has closed.
bool ReadSome(int fd, std::string& into, int waitMs) {
  pollfd ready{fd, POLLIN, 0};
  if (::poll(&ready, 1, waitMs) <= 0) return true;
  char buffer[65536];
  const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
  if (got <= 0) return false;
  into.append(buffer, static_cast<std::size_t>(got));
  return true;
}

bool SendAll(int fd, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

// Parses what has arrived; true once the response is complete.
bool ParseResponse(HttpResponse& response) {
  const std::size_t headEnd = response.raw.find("\r\n\r\n");
  if (headEnd == std::string::npos) return false;
  const std::string head = response.raw.substr(0, headEnd);
  response.status = std::stoi(head.substr(9, 3));
  response.headers.clear();
  std::size_t line = head.find("\r\n");
  while (line != std::string::npos) {
    const std::size_t next = head.find("\r\n", line + 2);
    const std::string text =
        head.substr(line + 2, next == std::string::npos ? std::string::npos : next - line - 2);
    const std::size_t colon = text.find(':');
    if (colon != std::string::npos) {
      std::string name = text.substr(0, colon);
      std::transform(name.begin(), name.end(), name.begin(),
                     [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
      response.headers[name] = text.substr(text.find_first_not_of(' ', colon + 1));
    }
    line = next;
  }
  response.body = response.raw.substr(headEnd + 4);
  const auto length = response.headers.find("content-length");
  return length != response.headers.end() && response.body.size() >= std::stoul(length->second);
}

}  // namespace

const std::string kBadgePrompt =
    "\x1B[H\x1B[J"
    "\x1B[01;01H"
    "\x1B[01;01H"
    "CRACHA:";

bool WaitFor(const std::function<bool()>& condition, int limitMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

HttpResponse HttpExchange(int port, const std::string& request, int timeoutMs) {
  HttpResponse response;
  const int fd = ConnectTo(port);
  if (fd < 0) return response;
  SendAll(fd, request);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  bool complete = false;
  while (!complete && std::chrono::steady_clock::now() < deadline) {
    if (!ReadSome(fd, response.raw, 50)) {
      ParseResponse(response);
      break;
    }
    complete = ParseResponse(response);
  }
  ::close(fd);
  return response;
}

HttpResponse HttpGet(int port, const std::string& path) {
  return HttpExchange(port,
                      "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
}

std::string StatusJson(int port) {
  const HttpResponse response = HttpGet(port, "/status");
  EXPECT_EQ(response.status, 200) << response.raw;
  return response.body;
}

std::string TerminalJson(const std::string& status, const std::string& address) {
  const std::size_t at = status.find("\"address\":\"" + address + "\"");
  if (at == std::string::npos) return "";
  const std::size_t start = status.rfind("{\"number\":", at);
  const std::size_t end = status.find("}}}", at);
  return status.substr(start, end + 3 - start);
}

std::string Field(const std::string& object, const std::string& name) {
  const std::string key = "\"" + name + "\":";
  const std::size_t at = object.find(key);
  if (at == std::string::npos) return "<absent>";
  const std::size_t start = at + key.size();
  const std::size_t end =
      object.find_first_of(",}", object[start] == '"' ? object.find('"', start + 1) : start);
  return object.substr(start, end - start);
}

std::unique_ptr<ChildProcess> Mtterm(const std::string& from, int port, const std::string& keys,
                                     const std::filesystem::path& output) {
  return std::make_unique<ChildProcess>(
      std::vector<std::string>{MTTERM_PATH, "--source-address", from, "--settle-ms", "100",
                               "--wait-for", "CRACHA:", "--keys", keys, "127.0.0.1",
                               std::to_string(port)},
      Environment{}, output);
}

std::filesystem::path DemoFactoryScript() {
  const std::filesystem::path source = MTS_SOURCE_DIR;
  const std::string text =
      readFile(source / "db/schema.sql") + "\n" + readFile(source / "db/demo.sql");
  const std::filesystem::path script = std::filesystem::path(TEST_BINARY_DIR) / "demo-factory.sql";
  if (!std::filesystem::exists(script) || readFile(script) != text) {
    // Written aside and renamed: test processes running at once never read a
    // half-written script.
    const std::filesystem::path partial =
        script.string() + "." + std::to_string(::getpid()) + ".part";
    writeFile(partial, text);
    std::filesystem::rename(partial, script);
  }
  return script;
}

RawTerminal::RawTerminal(const std::string& fromAddress, int port)
    : fd_(ConnectTo(port, fromAddress.c_str())) {
  if (fd_ < 0) throw std::runtime_error("terminal cannot connect from " + fromAddress);
}

RawTerminal::~RawTerminal() {
  if (fd_ >= 0) ::close(fd_);
}

std::string RawTerminal::Read(std::size_t expected, int timeoutMs) {
  std::string received;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (received.size() < expected && std::chrono::steady_clock::now() < deadline) {
    if (!ReadSome(fd_, received, 50)) break;
  }
  return received;
}

bool RawTerminal::Send(const std::string& bytes) {
  return SendAll(fd_, bytes);
}

bool RawTerminal::Open() {
  pollfd ready{fd_, POLLIN, 0};
  if (::poll(&ready, 1, 0) <= 0) return true;
  char byte;
  return ::recv(fd_, &byte, 1, MSG_PEEK | MSG_DONTWAIT) != 0;
}

ServerUnderTest::ServerUnderTest(Options options)
    : options_(std::move(options)), folder_("service") {
  terminalPort_ = options_.terminalPort != 0 ? options_.terminalPort : freePort();
  if (options_.withStatus) statusPort_ = freePort();
  std::string ini = "[SERVER-CONFIG]\r\nPORTA-IP=" + std::to_string(terminalPort_) + "\r\n";
  if (options_.withStatus) ini += "PORTA-STATUS=" + std::to_string(statusPort_) + "\r\n";
  ini += options_.extraServerConfig;
  ini += "[BDADOS-CONFIG]\r\nBDADOS=" + options_.database + "\r\n";
  ini += options_.extraSections;
  writeFile(folder_ / "mtserver.ini", ini);
}

ServerUnderTest::~ServerUnderTest() = default;

void ServerUnderTest::Start() {
  Environment environment = options_.environment;
  // The embedded engine's threads can crash LeakSanitizer's scan at exit;
  // leaks are checked in-process by the core's own tests.
  environment.emplace_back("LSAN_OPTIONS", "detect_leaks=0");
  std::vector<std::string> argv;
  if (options_.launcher) argv = options_.launcher(folder_.path());
  for (const std::string& argument : {std::string(MTSERVER_PATH), std::string("--headless"),
                                      std::string("--ini"), (folder_ / "mtserver.ini").string(),
                                      std::string("--log-dir"), (folder_ / "log").string()}) {
    argv.push_back(argument);
  }
  process_ = std::make_unique<ChildProcess>(argv, environment, folder_ / "output.txt");
  if (!WaitFor([&] { return Log().find("AtivarServer:") != std::string::npos; })) {
    throw std::runtime_error("mtserver did not start: " + Output());
  }
  // The status listener opens once start-up is over, after that log line.
  if (statusPort_ != 0 &&
      !WaitFor([&] { return HttpGet(statusPort_, "/metrics").status == 200; })) {
    throw std::runtime_error("mtserver's status listener did not open: " + Output());
  }
}

int ServerUnderTest::Stop() {
  return process_ ? process_->stop() : -1;
}

int ServerUnderTest::Wait() {
  return process_ ? process_->wait() : -1;
}

std::string ServerUnderTest::Log() const {
  std::string all;
  if (!std::filesystem::exists(folder_ / "log")) return all;
  for (const auto& entry : std::filesystem::directory_iterator(folder_ / "log")) {
    all += readFile(entry.path());
  }
  return all;
}

std::string ServerUnderTest::Output() const {
  return std::filesystem::exists(folder_ / "output.txt") ? readFile(folder_ / "output.txt") : "";
}

}  // namespace mts::test
