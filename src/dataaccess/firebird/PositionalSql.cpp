#include "dataaccess/firebird/PositionalSql.h"

#include "dataaccess/firebird/DatabaseError.h"
#include "dataaccess/firebird/SqlLexing.h"
#include "dataaccess/firebird/SqlNames.h"

namespace mts::db {
namespace {

bool isNameStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool isNamePart(char c) {
  return isNameStart(c) || (c >= '0' && c <= '9') || c == '$';
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

}  // namespace

PositionalSql toPositional(std::string_view sql) {
  PositionalSql result;
  result.text.reserve(sql.size());
  std::size_t i = 0;
  while (i < sql.size()) {
    const char c = sql[i];
    std::size_t next = i + 1;
    if (c == '\'' || c == '"') {
      next = skipQuoted(sql, i);
    } else if (startsAlternativeQuoted(sql, i)) {
      next = skipAlternativeQuoted(sql, i);
    } else if (startsComment(sql, i)) {
      next = skipComment(sql, i);
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
