// Runs the real mtterm executable in scripted mode against a small fake terminal server.

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

struct ProcessResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs mtterm with `arguments` and collects its output and exit code.
ProcessResult runMtterm(const std::vector<std::string>& arguments) {
  std::vector<std::string> all{MTTERM_EXECUTABLE};
  all.insert(all.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);

  int outPipe[2];
  int errPipe[2];
  if (pipe(outPipe) != 0 || pipe(errPipe) != 0) ADD_FAILURE() << "pipe failed";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  for (int fd : {outPipe[0], outPipe[1], errPipe[0], errPipe[1]}) {
    posix_spawn_file_actions_addclose(&actions, fd);
  }
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(outPipe[1]);
  close(errPipe[1]);

  ProcessResult result;
  pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  std::string* sinks[2] = {&result.out, &result.err};
  int open = 2;
  while (spawned == 0 && open > 0) {
    if (poll(fds, 2, -1) < 0) break;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      char buffer[4096];
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(n));
      } else {
        fds[i].fd = -1;
        --open;
      }
    }
  }
  close(outPipe[0]);
  close(errPipe[0]);
  if (spawned != 0) {
    ADD_FAILURE() << "cannot start " << argv[0];
    return result;
  }
  int status = 0;
  waitpid(pid, &status, 0);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

// A listening socket on 127.0.0.1 with a free port; closed with the object.
class Listener {
 public:
  Listener() {
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(fd_, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(fd_, 1) != 0 ||
        getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      ADD_FAILURE() << "cannot listen on 127.0.0.1";
    }
    port_ = ntohs(address.sin_port);
  }
  ~Listener() { close(fd_); }
  int fd() const { return fd_; }
  int port() const { return port_; }

 private:
  int fd_ = -1;
  int port_ = 0;
};

// A one-connection terminal server on 127.0.0.1 (a free port): it sends `greeting` when
// the terminal connects, then answers every read with reply(read), and records what it
// received until the terminal disconnects.
class FakeServer {
 public:
  using Reply = std::function<std::string(const std::string&)>;

  FakeServer(std::string greeting, Reply reply)
      : thread_([this, greeting = std::move(greeting), reply = std::move(reply)] {
          serve(greeting, reply);
        }) {}

  ~FakeServer() { finish(); }

  int port() const { return listener_.port(); }

  // Waits for the terminal to go; then what it sent and its address are final.
  void finish() {
    if (thread_.joinable()) thread_.join();
  }
  const std::string& received() const { return received_; }
  const std::string& peerAddress() const { return peerAddress_; }

 private:
  // A terminal that never comes (a failed test) must not hang the suite.
  static constexpr int kAcceptWaitMs = 30000;

  void serve(const std::string& greeting, const Reply& reply) {
    pollfd waiting{listener_.fd(), POLLIN, 0};
    if (poll(&waiting, 1, kAcceptWaitMs) <= 0) return;
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    const int connection = accept(listener_.fd(), reinterpret_cast<sockaddr*>(&peer), &length);
    if (connection < 0) return;
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &peer.sin_addr, text, sizeof text);
    peerAddress_ = text;
    sendAll(connection, greeting);
    char buffer[256];
    for (;;) {
      const ssize_t n = recv(connection, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      const std::string read(buffer, static_cast<std::size_t>(n));
      received_ += read;
      sendAll(connection, reply(read));
    }
    close(connection);
  }

  static void sendAll(int connection, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
      const ssize_t n = send(connection, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) return;
      sent += static_cast<std::size_t>(n);
    }
  }

  // Everything the thread uses is built before it starts.
  Listener listener_;
  std::string received_;
  std::string peerAddress_;
  std::thread thread_;
};

// The server's bytes for one dialect.
struct DialectBytes {
  const char* name;
  std::string clear;
  std::function<std::string(int row, int column)> cursor;  // 0-based
  std::function<std::string(const std::string&)> text;
};

std::ostream& operator<<(std::ostream& out, const DialectBytes& d) {
  return out << d.name;
}

std::string twoDigits(int n) {
  return (n < 10 ? "0" : "") + std::to_string(n);
}

const DialectBytes kVt100{
    "vt100", "\x1B[H\x1B[J",
    [](int r, int c) { return "\x1B[" + twoDigits(r + 1) + ";" + twoDigits(c + 1) + "H"; },
    [](const std::string& t) { return t; }};
const DialectBytes kStxEtx{"stx", "\x02L\x03",
                           [](int r, int c) {
                             return "\x02"
                                    "C" +
                                    twoDigits(r) + twoDigits(c) + "\x03";
                           },
                           [](const std::string& t) {
                             return "\x02"
                                    "D" +
                                    t + "\x03";
                           }};

// Plays the badge step of a real server: echoes keys, answers Enter with the green LED and
// the card prompt.
FakeServer::Reply badgeFlow(const DialectBytes& d) {
  return [d](const std::string& read) -> std::string {
    if (read == "\b") return "\x08 \x08";
    if (read != "\r") {
      std::string echo = read;
      for (char& c : echo) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      return echo;
    }
    return "\x1B[lgl" + d.cursor(0, 0) + d.clear + d.cursor(0, 0) + d.text("MARIA") +
           d.cursor(1, 0) + d.text("FICHA:") + d.cursor(1, 6);
  };
}

std::string badgePrompt(const DialectBytes& d) {
  return d.clear + d.cursor(0, 0) + d.cursor(0, 0) + d.text("CRACHA:");
}

class ScriptedRun : public ::testing::TestWithParam<DialectBytes> {};

TEST_P(ScriptedRun, TypesTheKeysAndPrintsTheScreens) {
  const DialectBytes& d = GetParam();
  FakeServer server(badgePrompt(d), badgeFlow(d));

  // Each wait-for is a sync point, so no step depends on how fast the server answers.
  const ProcessResult run =
      runMtterm({"--dialect", d.name, "--source-address", "127.0.0.2", "--settle-ms", "100",
                 "--wait-for", "CRACHA:", "--keys",
                 "12a{bs}{wait-for:CRACHA:12 }{show}{enter}{wait-for:FICHA:}7{wait-for:FICHA:7}",
                 "127.0.0.1", std::to_string(server.port())});
  server.finish();

  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            "|CRACHA:12           |\n"
            "|                    |\n"
            "|                    |\n"
            "|                    |\n"
            "LED red=off green=off\n"
            "CURSOR row=0 col=9\n"
            "\n"
            "|MARIA               |\n"
            "|FICHA:7             |\n"
            "|                    |\n"
            "|                    |\n"
            "LED red=off green=on\n"
            "CURSOR row=1 col=7\n");
  EXPECT_EQ(run.err, "");
  // One key per read: the script's keys, as the terminal's bytes.
  EXPECT_EQ(server.received(), "12a\b\r7");
  EXPECT_EQ(server.peerAddress(), "127.0.0.2");
}

INSTANTIATE_TEST_SUITE_P(Dialects, ScriptedRun, ::testing::Values(kVt100, kStxEtx),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScriptedRunFailure, ScreenThatNeverShowsTheTextTimesOut) {
  FakeServer server(badgePrompt(kVt100), [](const std::string&) { return std::string(); });
  const ProcessResult run = runMtterm({"--settle-ms", "50", "--timeout-ms", "300", "--wait-for",
                                       "FICHA:", "127.0.0.1", std::to_string(server.port())});
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_NE(run.err.find("waiting for the screen to show \"FICHA:\""), std::string::npos)
      << run.err;
  // The screen is still printed, to show what came instead.
  EXPECT_EQ(run.out.substr(0, 23), "|CRACHA:             |\n");
}

TEST(ScriptedRunFailure, ServerThatHangsUpEndsTheRun) {
  Listener listener;
  std::thread hangUp([&listener] {
    const int connection = accept(listener.fd(), nullptr, nullptr);
    const std::string prompt = "\x1B[H\x1B[JCRACHA:";
    send(connection, prompt.data(), prompt.size(), MSG_NOSIGNAL);
    close(connection);
  });
  const ProcessResult run = runMtterm({"--settle-ms", "50", "--keys", "{wait-for:FICHA:}",
                                       "127.0.0.1", std::to_string(listener.port())});
  hangUp.join();
  EXPECT_EQ(run.exitCode, 4);
  EXPECT_NE(run.err.find("the server closed the connection"), std::string::npos) << run.err;
  EXPECT_EQ(run.out.substr(0, 23), "|CRACHA:             |\n");
}

TEST(ScriptedRunFailure, NoServerIsAConnectionFailure) {
  int port = 0;
  {
    Listener gone;
    port = gone.port();
  }
  const ProcessResult run = runMtterm({"--keys", "1", "127.0.0.1", std::to_string(port)});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("cannot connect to 127.0.0.1 port " + std::to_string(port)),
            std::string::npos)
      << run.err;
  EXPECT_EQ(run.out, "");
}

TEST(ScriptedRunFailure, BadKeyScriptIsAUsageError) {
  const ProcessResult run = runMtterm({"--keys", "12{entr}"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.err.find("position 3: unknown {entr}"), std::string::npos) << run.err;
}

}  // namespace
