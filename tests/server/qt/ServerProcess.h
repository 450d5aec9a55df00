#pragma once

#include <signal.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "TempFolder.h"

namespace mts::testing_support {

// One mtserver process in a folder of its own.
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
    process_.setProcessEnvironment(environment);
    process_.start(MTSERVER_PATH, arguments + extra);
    ASSERT_TRUE(process_.waitForStarted());
  }

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

  const std::string& output() {
    output_ += process_.readAllStandardOutput().toStdString();
    return output_;
  }
  const std::string& errors() {
    errors_ += process_.readAllStandardError().toStdString();
    return errors_;
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
  const TempFolder& folder_;
  QProcess process_;
  std::string output_;
  std::string errors_;
};

}  // namespace mts::testing_support
