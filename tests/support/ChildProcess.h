#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace mts::test {

// Environment variables to set (or replace) for a child; the rest of this
// process's environment is passed on.
using Environment = std::vector<std::pair<std::string, std::string>>;

// A program started by a test: standard input from /dev/null, standard output
// and error appended to `outputFile`. The destructor kills it (SIGKILL) and
// waits, when it is still running.
class ChildProcess {
 public:
  ChildProcess(const std::vector<std::string>& argv, const Environment& environment,
               const std::filesystem::path& outputFile);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t pid() const { return pid_; }
  // True while the program runs (reaps it when it has ended).
  bool running();
  // SIGTERM, then waits up to `graceSeconds` before SIGKILL. Returns the exit
  // code as wait() does.
  int stop(int graceSeconds = 30);
  // SIGKILL and wait: the program ends at once, as in a crash.
  void kill();
  // SIGSTOP / SIGCONT: the program freezes, as a hung host does (its sockets
  // stay open and the kernel keeps accepting connections for it), and goes on.
  void pause();
  void resume();
  // Waits for the program to end by itself; returns its exit code (128 + signal
  // number when a signal ended it).
  int wait();

 private:
  pid_t pid_ = -1;
  int status_ = 0;
};

// Runs a program to its end; returns its exit code. Its output is appended to
// `outputFile`.
int runProgram(const std::vector<std::string>& argv, const Environment& environment,
               const std::filesystem::path& outputFile);

std::string readFile(const std::filesystem::path& file);
void writeFile(const std::filesystem::path& file, const std::string& content);

}  // namespace mts::test
