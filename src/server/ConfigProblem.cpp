#include "server/ConfigProblem.h"

#include <algorithm>

namespace mts {

std::string DescribeConfigProblem(const std::filesystem::path& file, const ConfigProblem& problem) {
  std::string text = problem.severity == ConfigProblem::Severity::Error ? "error: " : "warning: ";
  text += file.string();
  if (problem.line > 0) text += " line " + std::to_string(problem.line);
  if (!problem.section.empty()) text += " [" + problem.section + "]";
  if (!problem.key.empty()) text += " " + problem.key;
  if (problem.hasValue) text += (problem.key.empty() ? " \"" : "=\"") + problem.valueRead + "\"";
  text += ": " + problem.problem;
  if (!problem.used.empty()) text += "; " + problem.used;
  return text;
}

bool HasConfigError(const std::vector<ConfigProblem>& problems) {
  return std::any_of(problems.begin(), problems.end(), [](const ConfigProblem& problem) {
    return problem.severity == ConfigProblem::Severity::Error;
  });
}

}  // namespace mts
