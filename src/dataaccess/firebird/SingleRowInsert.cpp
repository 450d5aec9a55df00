#include "dataaccess/firebird/SingleRowInsert.h"

#include <cctype>
#include <string>

#include "dataaccess/firebird/SqlLexing.h"
#include "dataaccess/firebird/SqlNames.h"

namespace mts::db {

namespace {

bool isWordChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  return std::isalnum(u) != 0 || c == '_' || c == '$';
}

// The words of the statement outside literals, quoted names, comments and
// parentheses, in upper case, handed one by one to `visit` until it says stop.
template <typename Visit>
void topLevelWords(std::string_view sql, Visit visit) {
  int depth = 0;
  std::size_t i = 0;
  while (i < sql.size()) {
    const char c = sql[i];
    if (c == '\'' || c == '"') {
      i = skipQuoted(sql, i);
    } else if (startsComment(sql, i)) {
      i = skipComment(sql, i);
    } else if (c == '(') {
      ++depth;
      ++i;
    } else if (c == ')') {
      --depth;
      ++i;
    } else if (isWordChar(c)) {
      const std::size_t start = i;
      while (i < sql.size() && isWordChar(sql[i])) ++i;
      if (depth == 0 && !visit(upperName(sql.substr(start, i - start)))) return;
    } else {
      ++i;
    }
  }
}

}  // namespace

bool insertsOneRow(std::string_view sql) {
  bool first = true;
  bool insert = false;
  bool values = false;
  topLevelWords(sql, [&](const std::string& word) {
    if (first) {
      first = false;
      insert = word == "INSERT";
      return insert;
    }
    if (word == "SELECT") return false;
    if (word == "VALUES") {
      values = true;
      return false;
    }
    return true;
  });
  return insert && values;
}

}  // namespace mts::db
