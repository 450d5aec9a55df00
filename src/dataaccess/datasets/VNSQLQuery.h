#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dataaccess/firebird/Params.h"
#include "dataaccess/firebird/ResultSet.h"

namespace mts::db {
class Connection;
}

namespace mts {

// An SQL query with its text kept as lines.
//
// Statement parameters (":NAME") are given through params() and sent with the
// text when the query opens. Their values survive changes of the text.
//
// The connection is borrowed: it must outlive the query (or be replaced by
// setSQLConnection(nullptr) first). A query opened runs its statement at once and
// keeps every row it returned until it is closed.
class TVNSQLQuery {
 public:
  TVNSQLQuery();
  ~TVNSQLQuery();
  TVNSQLQuery(const TVNSQLQuery&) = delete;
  TVNSQLQuery& operator=(const TVNSQLQuery&) = delete;

  // The text, one string a line.
  const std::vector<std::string>& SQL() const { return sql_; }
  // When the lines differ from the text, closes the query and takes them as the
  // new text; setting the same text keeps the query open.
  void setSQL(std::vector<std::string> lines);
  // The lines as the statement is sent: each one followed by CR LF.
  std::string SQLText() const;

  db::Connection* SQLConnection() const { return connection_; }
  void setSQLConnection(db::Connection* connection) { connection_ = connection; }

  // Values of the ":NAME" parameters of the text.
  db::Params& params() { return params_; }
  const db::Params& params() const { return params_; }
  void setParam(std::string_view name, db::Value value) { params_.set(name, std::move(value)); }

  // Runs the text with params() on the connection. Already open: nothing
  // happens. Throws DatasetError without a connection and db::DatabaseError when
  // the database refuses.
  void open();
  void close();
  bool active() const { return active_; }
  // The rows of the open query. Throws DatasetError when it is closed.
  const db::ResultSet& result() const;

 private:
  std::vector<std::string> sql_;
  db::Connection* connection_ = nullptr;
  db::Params params_;
  db::ResultSet result_;
  bool active_ = false;
};

}  // namespace mts
