#include "StatementFile.h"

#include <cctype>
#include <fstream>
#include <stdexcept>

namespace mts::schematest {
namespace {

constexpr std::string_view kSeparator = ";;";
constexpr std::string_view kCommentStart = "--";

std::string nameFromComment(std::string_view comment) {
  comment.remove_prefix(kCommentStart.size());
  while (!comment.empty() && comment.front() == ' ') comment.remove_prefix(1);
  return std::string(comment.substr(0, comment.find(':')));
}

// Letters and digits stay; every run of other characters becomes one '_'.
std::string testNameFrom(std::string_view name) {
  std::string result;
  for (char c : name) {
    if (std::isalnum(static_cast<unsigned char>(c))) {
      result += c;
    } else if (!result.empty() && result.back() != '_') {
      result += '_';
    }
  }
  while (!result.empty() && result.back() == '_') result.pop_back();
  return result;
}

// Collects the lines of one entry and turns them into a statement.
class EntryBuilder {
 public:
  void addLine(const std::string& line) {
    if (line.starts_with(kCommentStart)) {
      if (name_.empty() && sqlLines_.empty()) name_ = nameFromComment(line);
      return;
    }
    if (sqlLines_.empty() && line.empty()) return;  // blank lines before the statement
    sqlLines_.push_back(line);
  }

  // Appends the finished entry (when it has SQL) and starts a new one.
  void finish(std::vector<FactoryStatement>& out) {
    while (!sqlLines_.empty() && sqlLines_.back().empty()) sqlLines_.pop_back();
    if (!sqlLines_.empty()) {
      if (name_.empty()) throw std::runtime_error("statement without a name: " + sqlLines_.front());
      std::string sql;
      for (const auto& line : sqlLines_) sql += (sql.empty() ? "" : "\n") + line;
      out.push_back({name_, testNameFrom(name_), sql});
    }
    name_.clear();
    sqlLines_.clear();
  }

 private:
  std::string name_;
  std::vector<std::string> sqlLines_;
};

}  // namespace

std::vector<FactoryStatement> readFactoryStatements(const std::string& path) {
  std::ifstream file(path);
  if (!file) throw std::runtime_error("cannot read " + path);
  std::vector<FactoryStatement> statements;
  EntryBuilder entry;
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line == kSeparator) {
      entry.finish(statements);
    } else {
      entry.addLine(line);
    }
  }
  entry.finish(statements);
  return statements;
}

const FactoryStatement& statementNamed(const std::vector<FactoryStatement>& statements,
                                       std::string_view name) {
  for (const auto& statement : statements) {
    if (statement.name == name) return statement;
  }
  throw std::out_of_range("no statement named " + std::string(name));
}

const FactoryStatement& factoryStatement(std::string_view name) {
  static const std::vector<FactoryStatement> statements =
      readFactoryStatements(MTS_FACTORY_STATEMENTS);
  return statementNamed(statements, name);
}

void PrintTo(const FactoryStatement& statement, std::ostream* out) {
  *out << statement.name;
}

}  // namespace mts::schematest
