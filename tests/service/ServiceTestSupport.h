#pragma once

// Helpers for tests that run the real mtserver: free ports, a blocking HTTP
// client, waiting, and one server process with its folder and INI file.

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace mts::test {

// Polls the condition every 20 ms until it holds or the time is up.
bool WaitFor(const std::function<bool()>& condition, int limitMs = 30000);

struct HttpResponse {
  int status = 0;                              // 0: no status line came back
  std::map<std::string, std::string> headers;  // names in lower case
  std::string body;
  std::string raw;
};

// Sends the bytes as they are to 127.0.0.1:port and reads until the server
// closes, the announced body is complete, or the time is up.
HttpResponse HttpExchange(int port, const std::string& request, int timeoutMs = 10000);
// GET of the path with "Connection: close".
HttpResponse HttpGet(int port, const std::string& path);

// The body of GET /status (expecting 200).
std::string StatusJson(int port);
// The JSON object of the terminal with the address, as the server writes it
// ("{"number":...}}}"), or "" when it is not there.
std::string TerminalJson(const std::string& status, const std::string& address);
// The raw JSON value of a field in the flat part of an object ("true",
// "\"2\""); "<absent>" when there is none.
std::string Field(const std::string& object, const std::string& name);

// An mtterm terminal connecting from the address and running its key script
// (after the badge prompt) in the background; its output goes to the file.
std::unique_ptr<ChildProcess> Mtterm(const std::string& from, int port, const std::string& keys,
                                     const std::filesystem::path& output);

// The factory schema followed by the demo factory, as one script in the build
// tree, for TestDatabase: the demo factory made once and copied per test.
std::filesystem::path DemoFactoryScript();

// A raw TCP client of the terminal port, as a terminal without LEDs.
class RawTerminal {
 public:
  RawTerminal(const std::string& fromAddress, int port);
  ~RawTerminal();
  RawTerminal(const RawTerminal&) = delete;
  RawTerminal& operator=(const RawTerminal&) = delete;

  // Reads until `expected` bytes have come (or the time is up).
  std::string Read(std::size_t expected, int timeoutMs = 10000);
  bool Send(const std::string& bytes);
  // True while the server has not closed the connection.
  bool Open();

 private:
  int fd_ = -1;
};

// The VT-100 badge prompt a terminal gets when it connects.
extern const std::string kBadgePrompt;

// One mtserver --headless in a folder of its own, on a free terminal port and
// (unless statusPort is -1) a free status port.
class ServerUnderTest {
 public:
  struct Options {
    std::string database = "/nao/existe.fdb";
    int terminalPort = 0;  // 0: a free one
    bool withStatus = true;
    std::string extraServerConfig;  // more SERVER-CONFIG lines
    std::string extraSections;      // whole sections after the others
    Environment environment;
    // A command that runs mtserver (whose arguments follow it), given the
    // server's folder; none by default.
    std::function<std::vector<std::string>(const std::filesystem::path&)> launcher;
  };

  explicit ServerUnderTest(Options options);
  ~ServerUnderTest();

  // For the next start: a variable added to its environment.
  void setVariable(const std::string& name, const std::string& value) {
    options_.environment.emplace_back(name, value);
  }
  // Starts the process and waits until its log says whether it listens and,
  // with a status port, until that answers.
  void Start();
  // SIGTERM and the exit code.
  int Stop();
  // The exit code once the process ends by itself (after a signal of the
  // test's own, say).
  int Wait();

  int terminalPort() const { return terminalPort_; }
  int statusPort() const { return statusPort_; }
  const std::filesystem::path& folder() const { return folder_.path(); }
  std::string Log() const;
  std::string Output() const;
  pid_t pid() const { return process_ ? process_->pid() : -1; }

 private:
  Options options_;
  TempDir folder_;
  int terminalPort_ = 0;
  int statusPort_ = 0;
  std::unique_ptr<ChildProcess> process_;
};

}  // namespace mts::test
