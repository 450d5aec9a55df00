#pragma once

#include <optional>
#include <string>
#include <vector>

#include "mtterm/Dialect.h"

namespace mts::termsim {

// What the user asked mtterm to do.
struct Options {
  std::string host = "127.0.0.1";
  int port = 1001;
  Dialect dialect = Dialect::Vt100;
  std::string sourceAddress;           // empty: let the system choose
  std::optional<std::string> keys;     // the key script, UTF-8 as typed
  std::optional<std::string> waitFor;  // UTF-8 as typed
  int settleMs = 500;
  int timeoutMs = 10000;
  bool raw = false;
  std::string rawFile;  // empty: the raw trace goes to stderr
  bool help = false;
  bool version = false;  // --version: print the version and stop

  // Scripted when there are keys or a text to wait for; interactive otherwise.
  bool scripted() const { return keys.has_value() || waitFor.has_value(); }
};

// Reads the arguments (without the program name). Returns false and a message for an
// unknown option, a missing or bad value, or too many positional arguments.
bool parseCommandLine(const std::vector<std::string>& arguments, Options& options,
                      std::string& error);

std::string helpText();

}  // namespace mts::termsim
