#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dataaccess/Connection.h"
#include "dataaccess/Params.h"
#include "dataaccess/ResultSet.h"

namespace mts {

// An in-memory list of rows read by one SQL statement, refreshed by closing and
// opening it again, with a current row that searches move.
//
// keyFields name the index the list is searched by (findKey). Rows with equal
// keys keep the order the database returned them in, so findKey finds the first
// of them. Searches compare the fields' text exactly (case-sensitive, nothing
// trimmed) and leave the current row where it was when nothing matches.
//
// The connection is borrowed and must outlive the list.
class CachedList {
 public:
  CachedList(std::string sql, std::vector<std::string> keyFields)
      : sql_(std::move(sql)), keyFields_(std::move(keyFields)) {}

  const std::string& sql() const { return sql_; }
  const std::vector<std::string>& keyFields() const { return keyFields_; }
  void setConnection(db::Connection* connection) { connection_ = connection; }

  // Parameters of the statement for the next open(); kept across close().
  db::Params& params() { return params_; }

  // Fetches every row; the current row is the first. Database errors propagate.
  void open();
  void close();
  bool isOpen() const { return rows_.has_value(); }
  bool isEmpty() const { return !rows_ || rows_->empty(); }

  // Searches the index for the key values (one per key field). A closed list
  // finds nothing.
  bool findKey(const std::vector<std::string>& values);
  // Searches the rows in order for the first whose field equals the value.
  bool locate(std::string_view field, std::string_view value);

  // The current row; throws std::logic_error when the list is closed or empty.
  const db::Row& row() const;
  const db::ResultSet& rows() const;

 private:
  std::string sql_;
  std::vector<std::string> keyFields_;
  db::Connection* connection_ = nullptr;
  db::Params params_;
  std::optional<db::ResultSet> rows_;
  std::size_t current_ = 0;
};

}  // namespace mts
