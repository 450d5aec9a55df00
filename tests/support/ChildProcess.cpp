#include "support/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
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
  const std::string output = outputFile.string();
  const pid_t parent = ::getpid();

  pid_ = ::fork();
  if (pid_ < 0)
    throw std::runtime_error("cannot start " + argv.front() + ": " + std::strerror(errno));
  if (pid_ == 0) {
    // Only async-signal-safe calls until exec. The child dies with this
    // process, so a test that crashes leaves no server running behind it.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) ::_exit(127);
    const int in = ::open("/dev/null", O_RDONLY);
    const int out = ::open(output.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (in < 0 || out < 0) ::_exit(127);
    ::dup2(in, STDIN_FILENO);
    ::dup2(out, STDOUT_FILENO);
    ::dup2(out, STDERR_FILENO);
    // Nothing else of this process goes along: an inherited descriptor of a
    // database file would keep its lock alive in the child.
    ::close_range(3, ~0u, 0);
    ::execve(argPointers[0], argPointers.data(), envPointers.data());
    ::_exit(127);
  }
}

ChildProcess::~ChildProcess() {
  kill();
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
  ::kill(pid_, SIGCONT);  // a paused program acts on SIGTERM only once it runs
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

void ChildProcess::kill() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGKILL);
  ::waitpid(pid_, &status_, 0);
  pid_ = -1;
}

void ChildProcess::pause() {
  if (pid_ > 0) ::kill(pid_, SIGSTOP);
}

void ChildProcess::resume() {
  if (pid_ > 0) ::kill(pid_, SIGCONT);
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
