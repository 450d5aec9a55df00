#pragma once

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <filesystem>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "TempFolder.h"

namespace mts::testing_support {

// One mtserver process in a folder of its own; what it writes on standard
// output and error goes to files there.
class ServerProcess {
 public:
  explicit ServerProcess(const TempFolder& folder) : folder_(folder) {}
  ~ServerProcess() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished();
    }
  }

  // Starts mtserver with its log in the folder and the folder's mtserver.ini
  // (or an INI file that does not exist), with further arguments.
  void start(bool withIni = true, QStringList extra = {"--headless"},
             QProcessEnvironment environment = QProcessEnvironment::systemEnvironment()) {
    const std::string ini = withIni ? "mtserver.ini" : "absent.ini";
    QStringList arguments{"--log-dir", QString::fromStdString((folder_ / "log").string()), "--ini",
                          QString::fromStdString((folder_ / ini).string())};
    for (const auto& [name, value] : variables_) environment.insert(name, value);
    process_.setProcessEnvironment(environment);
    if (descriptorLimit_ > 0) {
      const rlim_t descriptors = descriptorLimit_;
      process_.setChildProcessModifier([descriptors] {
        const rlimit limit{descriptors, descriptors};
        if (::setrlimit(RLIMIT_NOFILE, &limit) != 0) ::_exit(126);
      });
    }
    // Files, not pipes: nothing here reads a pipe while a test runs, and a
    // full one would stop the server in the middle of writing a line.
    process_.setStandardOutputFile(QString::fromStdString(outputFile().string()),
                                   QIODevice::Append);
    process_.setStandardErrorFile(QString::fromStdString(errorFile().string()), QIODevice::Append);
    process_.start(MTSERVER_PATH, arguments + extra);
    ASSERT_TRUE(process_.waitForStarted());
  }

  // For the next start: a variable added to its environment, and the most
  // descriptors it may open (0: as inherited).
  void setVariable(const QString& name, const QString& value) { variables_[name] = value; }
  void setDescriptorLimit(rlim_t descriptors) { descriptorLimit_ = descriptors; }

  qint64 pid() const { return process_.processId(); }
  bool running() const { return process_.state() == QProcess::Running; }

  std::string log() const {
    std::string all;
    if (!std::filesystem::exists(folder_ / "log")) return all;
    for (const auto& entry : std::filesystem::directory_iterator(folder_ / "log")) {
      all += ReadFile(entry.path());
    }
    return all;
  }
  bool logHas(const std::string& text) const { return log().find(text) != std::string::npos; }

  // Everything the server has written to standard output (error) so far.
  const std::string& output() {
    output_ = ReadFile(outputFile());
    return output_;
  }
  const std::string& errors() {
    errors_ = ReadFile(errorFile());
    return errors_;
  }

  // The exit status once the process ends by itself (-1 when it is still
  // running after the time, or did not end normally).
  int waitForExit(int milliseconds = 60000) {
    if (!process_.waitForFinished(milliseconds)) return -1;
    output();
    errors();
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
  }

  // SIGTERM (or the given signal), then the exit status (-1 when it did not
  // end normally).
  int terminate(int signal = SIGTERM) {
    ::kill(static_cast<pid_t>(process_.processId()), signal);
    if (!process_.waitForFinished(60000)) return -1;
    output();
    errors();
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
  }

 private:
  std::filesystem::path outputFile() const { return folder_ / "mtserver-stdout.txt"; }
  std::filesystem::path errorFile() const { return folder_ / "mtserver-stderr.txt"; }

  const TempFolder& folder_;
  QProcess process_;
  std::string output_;
  std::string errors_;
  std::map<QString, QString> variables_;
  rlim_t descriptorLimit_ = 0;
};

}  // namespace mts::testing_support
