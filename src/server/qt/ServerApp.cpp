#include "server/qt/ServerApp.h"

#include <sysexits.h>

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "dataaccess/firebird/DatabaseClient.h"
#include "server/qt/CheckConfigCommand.h"
#include "server/qt/ConsoleView.h"
#include "server/qt/HandlerGuard.h"
#include "server/qt/JournalStream.h"
#include "server/qt/ServerOptions.h"
#include "server/qt/ServerRuntime.h"
#include "server/qt/ServerSignals.h"
#include "server/qt/ServiceMonitoring.h"
#include "server/qt/TfrmMtServer.h"
#include "version/BuildVersion.h"

namespace mts {
namespace {

// Decided before any Qt object exists: a QApplication without a display
// aborts the process.
bool WantsConsole(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--headless" || argument == "--help" || argument == "-h" ||
        argument == "--check-config" || argument == "--version") {
      return true;
    }
  }
  return !DisplayAvailable();
}

int RunHeadless(QCoreApplication& app, const ServerPaths& paths) {
  ConsoleView view(stdout, stderr, {StreamIsJournal(stdout), StreamIsJournal(stderr)});
  ServerRuntime* running = nullptr;
  ServiceMonitoring* monitored = nullptr;
  ServerSignals serverSignals(
      [&] {
        if (monitored) monitored->stopping();
        RunGuarded([&](const std::string& message) { view.showError(message); },
                   [&] {
                     if (running) running->core().FormClose();
                   });
        app.quit();
      },
      [&] {
        if (running) running->Guarded([&] { running->core().ReopenLog(); });
      });
  ServerRuntime runtime(paths, view);
  running = &runtime;
  ServiceMonitoring monitoring(runtime);
  monitored = &monitoring;
  // Nobody is there to read an error box: settings the server cannot serve
  // with end the process, with a status the service manager does not retry.
  runtime.core().setRefuseSettingsErrors(true);
  runtime.core().FormCreate();
  if (runtime.core().SettingsUnusable()) {
    RunGuarded([&](const std::string& message) { view.showError(message); },
               [&] { runtime.core().FormClose(); });
    return EX_CONFIG;
  }
  runtime.core().FormShow();
  monitoring.started();
  const int status = app.exec();
  monitoring.stopping();
  return status;
}

int RunWithWindow(QApplication& app, const ServerPaths& paths) {
  QGuiApplication::setApplicationDisplayName(kServerTitle);
  TfrmMtServer* window = nullptr;
  ServiceMonitoring* monitored = nullptr;
  bool closeRequested = false;
  ServerSignals serverSignals(
      [&] {
        closeRequested = true;
        if (monitored) monitored->stopping();
        // An error box still open (one shown during start-up, say) would keep
        // the close waiting for a person: it goes first.
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        if (window) window->close();
      },
      [&] {
        if (window) window->runtime().Guarded([&] { window->core().ReopenLog(); });
      });
  TfrmMtServer frmMtServer(paths);
  window = &frmMtServer;
  if (closeRequested) {
    frmMtServer.close();
    return 0;
  }
  ServiceMonitoring monitoring(frmMtServer.runtime());
  monitored = &monitoring;
  monitoring.started();
  frmMtServer.show();
  const int status = app.exec();
  monitoring.stopping();
  return status;
}

}  // namespace

int RunServer(int& argc, char** argv) {
  // Before Qt or the database client start any thread. Among the signals it
  // ignores is SIGPIPE: a terminal that vanishes mid-write must not kill the
  // server.
  ServerSignals::BlockInEveryThread();
  const bool console = WantsConsole(argc, argv);
  std::unique_ptr<QCoreApplication> app;
  if (console) {
    app = std::make_unique<QCoreApplication>(argc, argv);
  } else {
    app = std::make_unique<QApplication>(argc, argv);
  }
  QCoreApplication::setApplicationName("mtserver");

  ServerOptions options;
  try {
    // Qt has taken its own options (-platform ...) out of argv by now.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const QByteArray executable = QFile::encodeName(QCoreApplication::applicationFilePath());
    options = ParseServerOptions(arguments, executable.toStdString());
  } catch (const std::invalid_argument& error) {
    std::fprintf(stderr, "mtserver: %s\n%s", error.what(), ServerUsage().c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(ServerUsage().c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("mtserver %s\n", BuildVersion());
    return 0;
  }
  if (options.checkConfig) return CheckConfigCommand(options.iniFile, stdout);

  int status = 1;
  try {
    const ServerPaths paths{options.iniFile, options.logFolder};
    status =
        console ? RunHeadless(*app, paths) : RunWithWindow(static_cast<QApplication&>(*app), paths);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "mtserver: %s\n", error.what());
  }
  // The server, and with it every database object, is gone: the client library
  // stops now, while the process is still whole, not during exit.
  if (!db::shutdownDatabaseClient()) {
    std::fprintf(stderr, "mtserver: the database client did not stop in time\n");
  }
  return status;
}

}  // namespace mts
