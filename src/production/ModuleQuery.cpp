#include "production/ModuleQuery.h"

#include <stdexcept>

namespace mts {

std::string sqlLines(std::initializer_list<std::string_view> lines) {
  std::string text;
  bool first = true;
  for (std::string_view line : lines) {
    if (!first) text += '\n';
    text += line;
    first = false;
  }
  return text;
}

std::string joinSqlLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\n';
    text += lines[i];
  }
  return text;
}

db::Connection& ModuleQuery::connection() const {
  if (connection_ == nullptr) throw std::logic_error("query has no connection: " + sql_);
  return *connection_;
}

void ModuleQuery::open() {
  close();
  rows_ = connection().query(sql_, params_);
  current_ = 0;
}

void ModuleQuery::close() {
  rows_.reset();
  current_ = 0;
}

bool ModuleQuery::eof() const {
  return !rows_ || current_ >= rows_->size();
}

bool ModuleQuery::isEmpty() const {
  return !rows_ || rows_->empty();
}

void ModuleQuery::next() {
  if (!eof()) ++current_;
}

const db::Row& ModuleQuery::row() const {
  if (eof()) throw std::logic_error("query has no current row: " + sql_);
  return (*rows_)[current_];
}

const db::ResultSet& ModuleQuery::rows() const {
  static const db::ResultSet none;
  return rows_ ? *rows_ : none;
}

int ModuleQuery::execute() {
  close();
  return connection().execute(sql_, params_);
}

}  // namespace mts
