#include "support/PrivateFirebirdServer.h"

#include <arpa/inet.h>
#include <firebird/Interface.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "support/FreePort.h"
#include "support/SchemaDatabase.h"

#ifndef MTS_FIREBIRD_SERVER
#define MTS_FIREBIRD_SERVER "/usr/sbin/firebird"
#endif
#ifndef MTS_ISQL
#define MTS_ISQL "isql-fb"
#endif

namespace mts::test {
namespace {

constexpr int kStartAttempts = 5;
constexpr auto kStartTimeout = std::chrono::seconds(60);

// The inode of the socket listening on 127.0.0.1:<port>, or an empty text.
std::string listenerInode(int port) {
  std::ifstream table("/proc/net/tcp");
  char local[32];
  std::snprintf(local, sizeof local, "0100007F:%04X", port);
  std::string line;
  std::getline(table, line);  // the heading
  while (std::getline(table, line)) {
    std::istringstream fields(line);
    std::string slot, localAddress, remoteAddress, state, queues, timer, retransmits, uid, timeout,
        inode;
    fields >> slot >> localAddress >> remoteAddress >> state >> queues >> timer >> retransmits >>
        uid >> timeout >> inode;
    if (localAddress == local && state == "0A") return inode;  // 0A: LISTEN
  }
  return {};
}

bool ownsSocket(pid_t pid, const std::string& inode) {
  const std::string target = "socket:[" + inode + "]";
  std::error_code error;
  for (const auto& fd :
       std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
    std::error_code ignored;
    if (std::filesystem::read_symlink(fd.path(), ignored).string() == target) return true;
  }
  return false;
}

std::string randomPassword() {
  std::random_device random;
  static constexpr char kLetters[] = "abcdefghijkmnpqrstuvwxyz23456789";
  std::string password = "mts";
  for (int i = 0; i < 9; ++i) password += kLetters[random() % (sizeof kLetters - 1)];
  return password;
}

std::filesystem::path clientRoot() {
  return Firebird::fb_get_master_interface()->getConfigManager()->getRootDirectory();
}

// A real copy: the engine refuses character sets whose module is reached
// through a symbolic link.
void copyResolved(const std::filesystem::path& from, const std::filesystem::path& to) {
  std::filesystem::copy_file(std::filesystem::canonical(from), to,
                             std::filesystem::copy_options::overwrite_existing);
}

}  // namespace

PrivateFirebirdServer::PrivateFirebirdServer() : root_("fbserver"), password_(randomPassword()) {
  prepareRoot();
  for (int attempt = 0; attempt < kStartAttempts; ++attempt) {
    port_ = freePort();
    writeConfig();
    if (launch()) return;
  }
  throw std::runtime_error("the private Firebird server did not start:\n" +
                           readFile(root() / "server.log"));
}

PrivateFirebirdServer::~PrivateFirebirdServer() {
  stop();
}

void PrivateFirebirdServer::prepareRoot() {
  const auto source = clientRoot();
  std::filesystem::create_directories(root() / "intl");
  std::filesystem::create_directories(root() / "lock");
  copyResolved(source / "firebird.msg", root() / "firebird.msg");
  copyResolved(source / "plugins.conf", root() / "plugins.conf");
  copyResolved(source / "intl" / "libfbintl.so", root() / "intl" / "libfbintl.so");
  copyResolved(source / "intl" / "fbintl.conf", root() / "intl" / "fbintl.conf");
  writeConfig();

  // The security database, made by the embedded engine under this root.
  const auto security = root() / "security3.fdb";
  writeFile(root() / "security.sql", "CREATE DATABASE " + sqlStringLiteral(security.string()) +
                                         " USER 'SYSDBA';\n"
                                         "CREATE USER SYSDBA PASSWORD " +
                                         sqlStringLiteral(password_) +
                                         " USING PLUGIN Srp;\n"
                                         "COMMIT;\n");
  const int exitCode = runProgram({MTS_ISQL, "-q", "-b", "-i", (root() / "security.sql").string()},
                                  environment(), root() / "security.log");
  if (exitCode != 0) {
    throw std::runtime_error("cannot create the private server's security database:\n" +
                             readFile(root() / "security.log"));
  }
}

void PrivateFirebirdServer::writeConfig() const {
  writeFile(root() / "firebird.conf",
            "RemoteServicePort = " + std::to_string(port_) + "\n" +
                "RemoteBindAddress = 127.0.0.1\n" +
                "SecurityDatabase = " + (root() / "security3.fdb").string() + "\n");
}

Environment PrivateFirebirdServer::environment() const {
  return {{"FIREBIRD", root().string()}, {"FIREBIRD_LOCK", (root() / "lock").string()}};
}

bool PrivateFirebirdServer::launch() {
  process_ = std::make_unique<ChildProcess>(std::vector<std::string>{MTS_FIREBIRD_SERVER},
                                            environment(), root() / "server.log");
  // Ready once the port listens and the listening socket is this server's: a
  // server that finds its port taken says nothing and keeps running.
  const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
  while (std::chrono::steady_clock::now() < deadline && process_->running()) {
    const std::string inode = listenerInode(port_);
    if (!inode.empty()) {
      if (ownsSocket(process_->pid(), inode)) return true;
      break;  // another process holds the port
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  process_->stop();
  process_.reset();
  return false;
}

bool PrivateFirebirdServer::running() {
  return process_ && process_->running();
}

void PrivateFirebirdServer::stop() {
  if (!process_) return;
  // The server ends on SIGTERM after closing its attachments, usually within a
  // fraction of a second; now and then it ignores the signal, and is killed.
  process_->stop(3);
  process_.reset();
}

void PrivateFirebirdServer::kill() {
  if (!process_) return;
  process_->kill();
  process_.reset();
}

void PrivateFirebirdServer::start() {
  if (running()) return;
  if (!launch()) {
    throw std::runtime_error("the private Firebird server did not start again on port " +
                             std::to_string(port_) + ":\n" + readFile(root() / "server.log"));
  }
}

pid_t PrivateFirebirdServer::pid() const {
  return process_ ? process_->pid() : -1;
}

void PrivateFirebirdServer::pause() {
  if (process_) process_->pause();
}

void PrivateFirebirdServer::resume() {
  if (process_) process_->resume();
}

std::string PrivateFirebirdServer::connectionString(const std::filesystem::path& database) const {
  return "127.0.0.1/" + std::to_string(port_) + ":" + database.string();
}

db::ConnectionSettings PrivateFirebirdServer::settings(
    const std::filesystem::path& database) const {
  db::ConnectionSettings settings;
  settings.database = connectionString(database);
  settings.user = "SYSDBA";
  settings.password = password_;
  return settings;
}

std::string PrivateFirebirdServer::isql(const std::filesystem::path& database,
                                        const std::string& script) const {
  TempDir work("isql");
  writeFile(work / "script.sql", script);
  const auto output = work / "isql.out";
  const int exitCode =
      runProgram({MTS_ISQL, "-q", "-b", "-ch", "WIN1252", "-user", "SYSDBA", "-password", password_,
                  "-i", (work / "script.sql").string(), connectionString(database)},
                 {}, output);
  std::string text = readFile(output);
  if (exitCode != 0) {
    throw std::runtime_error("isql failed (exit " + std::to_string(exitCode) + "):\n" + text);
  }
  return text;
}

}  // namespace mts::test
