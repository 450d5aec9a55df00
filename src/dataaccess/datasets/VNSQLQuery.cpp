#include "dataaccess/datasets/VNSQLQuery.h"

#include "dataaccess/datasets/DatasetError.h"
#include "dataaccess/datasets/DatasetText.h"
#include "dataaccess/firebird/Connection.h"

namespace mts {

TVNSQLQuery::TVNSQLQuery() = default;
TVNSQLQuery::~TVNSQLQuery() = default;

void TVNSQLQuery::setSQL(std::vector<std::string> lines) {
  if (dataset_text::joinLines(lines) == SQLText()) return;
  close();
  sql_ = std::move(lines);
}

std::string TVNSQLQuery::SQLText() const {
  return dataset_text::joinLines(sql_);
}

void TVNSQLQuery::open() {
  if (active_) return;
  if (connection_ == nullptr) {
    throw DatasetError("A consulta n\xE3o tem conex\xE3o com o banco de dados (SQLConnection).");
  }
  result_ = connection_->query(SQLText(), params_);
  active_ = true;
}

void TVNSQLQuery::close() {
  active_ = false;
  result_ = db::ResultSet();
}

const db::ResultSet& TVNSQLQuery::result() const {
  if (!active_) throw DatasetError("A consulta est\xE1 fechada.");
  return result_;
}

}  // namespace mts
