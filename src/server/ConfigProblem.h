#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace mts {

// One place where the settings file says something the server cannot use as
// written: what was read, what is wrong with it and what the server does
// instead.
struct ConfigProblem {
  enum class Severity {
    // The server runs with the replacement.
    Warning,
    // A server without a window refuses to start on it: no settings file, no
    // database, or a terminal port that cannot be used.
    Error,
  };

  Severity severity = Severity::Warning;
  std::string section;  // empty when the problem is the file itself
  std::string key;      // empty when the problem is a whole section or line
  int line = 0;         // the line it is on, when that is all that names it
  bool hasValue = false;
  std::string valueRead;  // as written in the file (Windows-1252 bytes)
  std::string problem;    // what is wrong
  std::string used;       // what the server does instead
};

// "warning: FILE [SECTION] KEY="VALUE": PROBLEM; USED" (or "error: ..."), one
// line naming everything an administrator needs to find and fix it.
std::string DescribeConfigProblem(const std::filesystem::path& file, const ConfigProblem& problem);

bool HasConfigError(const std::vector<ConfigProblem>& problems);

}  // namespace mts
