#include "dataaccess/PositionalSql.h"

#include "dataaccess/DatabaseError.h"
#include "dataaccess/SqlNames.h"

namespace mts::db {
namespace {

bool isNameStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool isNamePart(char c) {
  return isNameStart(c) || (c >= '0' && c <= '9') || c == '$';
}

// Index just past the end of the quoted text that opens at `start` with `quote`;
// a doubled quote inside stands for the quote itself. An unterminated quote runs
// to the end of the text (the database reports it when preparing).
std::size_t skipQuoted(std::string_view sql, std::size_t start, char quote) {
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

char closingDelimiter(char open) {
  switch (open) {
    case '(':
      return ')';
    case '[':
      return ']';
    case '{':
      return '}';
    case '<':
      return '>';
    default:
      return open;
  }
}

// q'<delimiter>...<closing delimiter>' literals: no doubling inside.
std::size_t skipAlternativeQuoted(std::string_view sql, std::size_t start) {
  const char close = closingDelimiter(sql[start + 2]);
  for (std::size_t i = start + 3; i + 1 < sql.size(); ++i) {
    if (sql[i] == close && sql[i + 1] == '\'') return i + 2;
  }
  return sql.size();
}

bool startsAlternativeQuoted(std::string_view sql, std::size_t i) {
  if (sql[i] != 'q' && sql[i] != 'Q') return false;
  if (i > 0 && isNamePart(sql[i - 1])) return false;
  return i + 2 < sql.size() && sql[i + 1] == '\'';
}

std::size_t skipLineComment(std::string_view sql, std::size_t start) {
  const std::size_t end = sql.find('\n', start);
  return end == std::string_view::npos ? sql.size() : end + 1;
}

std::size_t skipBlockComment(std::string_view sql, std::size_t start) {
  const std::size_t end = sql.find("*/", start + 2);
  return end == std::string_view::npos ? sql.size() : end + 2;
}

}  // namespace

PositionalSql toPositional(std::string_view sql) {
  PositionalSql result;
  result.text.reserve(sql.size());
  std::size_t i = 0;
  while (i < sql.size()) {
    const char c = sql[i];
    std::size_t next = i + 1;
    if (c == '\'' || c == '"') {
      next = skipQuoted(sql, i, c);
    } else if (startsAlternativeQuoted(sql, i)) {
      next = skipAlternativeQuoted(sql, i);
    } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
      next = skipLineComment(sql, i);
    } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
      next = skipBlockComment(sql, i);
    } else if (c == '?') {
      throw DatabaseError("Unnamed parameter '?' in the statement: pass every value as :NAME");
    } else if (c == ':' && i + 1 < sql.size() && isNameStart(sql[i + 1])) {
      std::size_t end = i + 2;
      while (end < sql.size() && isNamePart(sql[end])) ++end;
      result.names.push_back(upperName(sql.substr(i + 1, end - i - 1)));
      result.text += '?';
      i = end;
      continue;
    }
    result.text.append(sql.substr(i, next - i));
    i = next;
  }
  return result;
}

}  // namespace mts::db
