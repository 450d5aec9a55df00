#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dataaccess/datasets/Criteria.h"
#include "dataaccess/datasets/StringParams.h"
#include "dataaccess/firebird/Params.h"
#include "dataaccess/firebird/ResultSet.h"

namespace mts::db {
class Connection;
}

namespace mts {

// An SQL query whose text is a template.
//
// The template (SQL) is kept apart from the text that is executed (ExecutedSQL):
// only ExpandirSQL writes the executed text, by putting the values of the
// StringParams in place of their "[Name]" placeholders and splicing the enabled
// Criteria into the WHERE clause. The template, the string parameters and the
// criteria belong to the query.
//
// Statement parameters (":NAME") are separate from the string placeholders: they
// are given through params() and sent with the executed text when the query
// opens. Their values survive changes of the template.
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

  // The template, one string a line.
  const std::vector<std::string>& SQL() const { return sql_; }
  // Clears the string parameters; when the lines differ from the template, closes
  // the query and takes them as the new template; then ExtrairStringParams. Setting
  // the same text therefore keeps the query open but empties every value.
  void setSQL(std::vector<std::string> lines);

  TStringParams& StringParams() { return stringParams_; }
  const TStringParams& StringParams() const { return stringParams_; }

  TCriteria& Criteria() { return criteria_; }
  const TCriteria& Criteria() const { return criteria_; }
  void setCriteria(const TCriteria& criteria);

  // The text that runs when the query opens, as ExpandirSQL last built it.
  const std::vector<std::string>& ExecutedSQL() const { return executedSql_; }
  std::string ExecutedSQLText() const;

  // For code that fills the template and criteria in place and then declares
  // them complete: clears the string parameters and collects them again.
  void Loaded();

  // Adds, with an empty value, every "[Name]" of the template and then of each
  // criterion (in order) that has no string parameter yet. A "[" with no "]"
  // after it ends the scan of that text.
  void ExtrairStringParams();
  // Builds the executed SQL from the template, the string parameters and the
  // enabled criteria.
  void ExpandirSQL();
  // A new collection (owned by nobody) with copies of the enabled criteria.
  TCriteria CopiarCriteriosAtivos() const;
  // Index (from 0) of the first line that contains the keyword ignoring letter
  // case; -1 when none does.
  static int LinhaContendo(const std::vector<std::string>& lines, std::string_view keyword);
  // The text with a line break (CR LF) put before the first occurrence of the
  // keyword (case-sensitive) unless it already starts a line.
  static std::string QuebrarAntes(std::string_view text, std::string_view keyword);

  db::Connection* SQLConnection() const { return connection_; }
  void setSQLConnection(db::Connection* connection) { connection_ = connection; }

  // Values of the ":NAME" parameters of the executed text.
  db::Params& params() { return params_; }
  const db::Params& params() const { return params_; }
  void setParam(std::string_view name, db::Value value) { params_.set(name, std::move(value)); }

  // Builds the executed text when it has to (see DoBeforeOpen) and runs it with
  // params() on the connection. Already open: nothing happens. Throws DatasetError
  // without a connection and db::DatabaseError when the database refuses.
  void open();
  void close();
  bool active() const { return active_; }
  // The rows of the open query. Throws DatasetError when it is closed.
  const db::ResultSet& result() const;

 private:
  // Without criteria the executed text is rebuilt at every opening. With criteria
  // it is used as last built, so whoever changes their values calls ExpandirSQL;
  // it is built here only when the template or the criteria were replaced since.
  void DoBeforeOpen();
  std::string substituteStringParams(std::string_view text) const;

  std::vector<std::string> sql_;
  std::vector<std::string> executedSql_;
  bool executedSqlCurrent_ = false;
  TStringParams stringParams_{this};
  TCriteria criteria_{this};
  db::Connection* connection_ = nullptr;
  db::Params params_;
  db::ResultSet result_;
  bool active_ = false;
};

}  // namespace mts
