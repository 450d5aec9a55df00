#pragma once

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dataaccess/Connection.h"
#include "dataaccess/Params.h"
#include "dataaccess/ResultSet.h"

namespace mts {

// The SQL text of a statement written as lines, joined the way they are sent.
std::string sqlLines(std::initializer_list<std::string_view> lines);
// The same for a text built line by line at each use.
std::string joinSqlLines(const std::vector<std::string>& lines);

// One named statement of a data module: a fixed SQL text with ":NAME"
// parameters, the connection it runs on, and the rows of its last opening.
//
// A query is closed, given new parameters and opened again at each use, and it
// stays open on its current row afterwards, so that whoever looked a row up can
// read it. Opening fetches every row at once; the current row starts at the
// first. Database errors propagate as db::DatabaseError.
//
// The connection is borrowed (set by the owning module) and must outlive the
// query.
class ModuleQuery {
 public:
  explicit ModuleQuery(std::string sql) : sql_(std::move(sql)) {}

  const std::string& sql() const { return sql_; }
  // Replaces the text of a query built for each use; closes it first and keeps
  // the parameter values already set.
  void setSql(std::string sql) {
    close();
    sql_ = std::move(sql);
  }
  void setConnection(db::Connection* connection) { connection_ = connection; }

  // Parameters for the next open() or execute(); kept across close().
  db::Params& params() { return params_; }

  void open();
  void close();
  bool isOpen() const { return rows_.has_value(); }

  // Open with no rows, or moved past the last one.
  bool eof() const;
  // Open without any row.
  bool isEmpty() const;
  void next();
  // The current row. Throws std::logic_error when closed or past the end.
  const db::Row& row() const;
  // Every row of the last opening (empty when closed).
  const db::ResultSet& rows() const;

  // Runs the statement for its effect; returns the number of rows changed.
  int execute();

 private:
  db::Connection& connection() const;

  std::string sql_;
  db::Connection* connection_ = nullptr;
  db::Params params_;
  std::optional<db::ResultSet> rows_;
  std::size_t current_ = 0;
};

}  // namespace mts
