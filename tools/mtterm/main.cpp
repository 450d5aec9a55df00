// mtterm: a micro terminal simulator for trying a terminal server without the hardware.

#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "mtterm/CommandLine.h"
#include "mtterm/ExitCode.h"
#include "mtterm/InteractiveSession.h"
#include "mtterm/KeyScript.h"
#include "mtterm/ScriptedSession.h"
#include "routines/Windows1252Unicode.h"
#include "version/BuildVersion.h"

using namespace mts::termsim;

namespace {

int usageError(const std::string& message) {
  std::cerr << "mtterm: " << message << "\n(mtterm --help describes the options)\n";
  return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  std::string error;
  if (!parseCommandLine(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
    return usageError(error);
  }
  if (options.help) {
    std::cout << helpText();
    return kExitOk;
  }
  if (options.version) {
    std::cout << "mtterm " << mts::BuildVersion() << "\n";
    return kExitOk;
  }

  std::vector<KeyStep> steps;
  if (options.keys && !parseKeyScript(*options.keys, steps, error)) return usageError(error);
  ScriptedSession::Settings settings;
  if (options.waitFor) {
    settings.waitFor = mts::text::Windows1252FromUtf8(*options.waitFor);
    if (!settings.waitFor) return usageError("--wait-for text is not valid Windows-1252 text");
  }
  settings.settle = std::chrono::milliseconds(options.settleMs);
  settings.timeout = std::chrono::milliseconds(options.timeoutMs);

  std::ofstream rawFile;
  std::unique_ptr<RawTrace> trace;
  if (options.raw) {
    if (!options.rawFile.empty()) {
      rawFile.open(options.rawFile, std::ios::out | std::ios::trunc);
      if (!rawFile) return usageError("cannot write the raw trace to " + options.rawFile);
    }
    trace = std::make_unique<RawTrace>(options.rawFile.empty() ? std::cerr : rawFile);
  }

  TcpClient client;
  switch (
      client.connect(options.host, options.port, options.sourceAddress, settings.timeout, error)) {
    case TcpClient::ConnectResult::Connected:
      break;
    case TcpClient::ConnectResult::Failed:
      std::cerr << "mtterm: " << error << "\n";
      return kExitConnectFailed;
    case TcpClient::ConnectResult::TimedOut:
      std::cerr << "mtterm: " << error << "\n";
      return kExitTimeout;
  }

  ProtocolInterpreter interpreter(options.dialect);
  ServerLink link(client, interpreter, trace.get());
  if (options.scripted()) {
    return ScriptedSession(link, interpreter, settings, std::cout, std::cerr).run(steps);
  }
  std::string title = " mtterm  " + options.host + " port " + std::to_string(options.port) + "  " +
                      std::string(dialectName(options.dialect));
  if (!options.sourceAddress.empty()) title += "  from " + options.sourceAddress;
  return runInteractive(link, interpreter, client.fd(), title, std::cerr);
}
