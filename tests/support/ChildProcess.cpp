#include "support/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace mts::test {
namespace {

std::vector<std::string> mergedEnvironment(const Environment& overrides) {
  std::map<std::string, std::string> variables;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text(*entry);
    const auto equals = text.find('=');
    if (equals != std::string::npos) variables[text.substr(0, equals)] = text.substr(equals + 1);
  }
  for (const auto& [name, value] : overrides) variables[name] = value;
  std::vector<std::string> merged;
  for (const auto& [name, value] : variables) merged.push_back(name + "=" + value);
  return merged;
}

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (auto& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

int exitCodeOf(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const Environment& environment,
                           const std::filesystem::path& outputFile) {
  std::vector<std::string> arguments = argv;
  std::vector<std::string> variables = mergedEnvironment(environment);
  std::vector<char*> argPointers = pointersTo(arguments);
  std::vector<char*> envPointers = pointersTo(variables);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputFile.c_str(),
                                   O_WRONLY | O_CREAT | O_APPEND, 0644);
  posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  const int error =
      posix_spawn(&pid_, argPointers[0], &actions, nullptr, argPointers.data(), envPointers.data());
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) {
    pid_ = -1;
    throw std::runtime_error("cannot start " + argv.front() + ": " + std::strerror(error));
  }
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, &status_, 0);
  }
}

bool ChildProcess::running() {
  if (pid_ <= 0) return false;
  const pid_t done = ::waitpid(pid_, &status_, WNOHANG);
  if (done == pid_) pid_ = -1;
  return pid_ > 0;
}

int ChildProcess::stop(int graceSeconds) {
  if (pid_ <= 0) return exitCodeOf(status_);
  ::kill(pid_, SIGTERM);
  for (int tenths = 1; tenths <= graceSeconds * 10; ++tenths) {
    if (!running()) return exitCodeOf(status_);
    // A signal that arrives while the program is still setting up its
    // handlers can be lost: ask again now and then.
    if (tenths % 20 == 0) ::kill(pid_, SIGTERM);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  ::kill(pid_, SIGKILL);
  ::waitpid(pid_, &status_, 0);
  pid_ = -1;
  return exitCodeOf(status_);
}

int ChildProcess::wait() {
  if (pid_ > 0) {
    while (::waitpid(pid_, &status_, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
  }
  return exitCodeOf(status_);
}

int runProgram(const std::vector<std::string>& argv, const Environment& environment,
               const std::filesystem::path& outputFile) {
  ChildProcess child(argv, environment, outputFile);
  return child.wait();
}

std::string readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

void writeFile(const std::filesystem::path& file, const std::string& content) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << content;
  if (!out.flush()) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace mts::test
