#include "dataaccess/firebird/SqlLexing.h"

namespace mts::db {

std::size_t skipQuoted(std::string_view sql, std::size_t start) {
  const char quote = sql[start];
  std::size_t i = start + 1;
  while (i < sql.size()) {
    if (sql[i] == quote) {
      if (i + 1 < sql.size() && sql[i + 1] == quote) {
        i += 2;
        continue;
      }
      return i + 1;
    }
    ++i;
  }
  return sql.size();
}

std::size_t skipLineComment(std::string_view sql, std::size_t start) {
  const std::size_t end = sql.find('\n', start);
  return end == std::string_view::npos ? sql.size() : end + 1;
}

std::size_t skipBlockComment(std::string_view sql, std::size_t start) {
  const std::size_t end = sql.find("*/", start + 2);
  return end == std::string_view::npos ? sql.size() : end + 2;
}

bool startsComment(std::string_view sql, std::size_t i) {
  if (i + 1 >= sql.size()) return false;
  return (sql[i] == '-' && sql[i + 1] == '-') || (sql[i] == '/' && sql[i + 1] == '*');
}

std::size_t skipComment(std::string_view sql, std::size_t start) {
  return sql[start] == '-' ? skipLineComment(sql, start) : skipBlockComment(sql, start);
}

}  // namespace mts::db
