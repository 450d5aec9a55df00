#include "dataaccess/datasets/DatasetProvider.h"

#include "routines/Windows1252Text.h"

#include <cctype>

#include "dataaccess/datasets/DatasetError.h"
#include "dataaccess/datasets/DatasetText.h"
#include "dataaccess/datasets/VNSQLQuery.h"
#include "dataaccess/firebird/Connection.h"
#include "dataaccess/firebird/DatabaseError.h"
#include "dataaccess/firebird/SqlLexing.h"
#include "dataaccess/firebird/TransactionScope.h"

namespace mts {

namespace {

bool isWordChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$';
}

class StatementBuilder {
 public:
  std::string placeholder(const db::Value& value) {
    std::string name = "P" + std::to_string(++count_);
    params_.set(name, value);
    return ":" + name;
  }
  const db::Params& params() const { return params_; }

 private:
  int count_ = 0;
  db::Params params_;
};

void applyInsert(db::Connection& connection, const std::string& table,
                 const std::vector<DatasetField>& fields, const DatasetChange& change) {
  StatementBuilder builder;
  std::string columns;
  std::string values;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (fields[i].memoryOnly || !change.assigned.at(i)) continue;
    if (!columns.empty()) {
      columns += ", ";
      values += ", ";
    }
    columns += fields[i].name;
    values += builder.placeholder(change.current->values().at(i));
  }
  std::string sql = columns.empty()
                        ? "insert into " + table + " default values"
                        : "insert into " + table + " (" + columns + ") values (" + values + ")";
  connection.execute(sql, builder.params());
}

void applyModify(db::Connection& connection, const std::string& table,
                 const std::vector<DatasetField>& fields, const DatasetChange& change) {
  StatementBuilder builder;
  std::string assignments;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const db::Value& now = change.current->values().at(i);
    if (fields[i].memoryOnly || change.original->values().at(i) == now) continue;
    if (!assignments.empty()) assignments += ", ";
    assignments += fields[i].name + " = " + builder.placeholder(now);
  }
  if (assignments.empty()) return;

  std::string condition;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (fields[i].memoryOnly || !fields[i].flags.inKey) continue;
    const db::Value& was = change.original->values().at(i);
    if (!condition.empty()) condition += " and ";
    condition += fields[i].name;
    condition +=
        std::holds_alternative<db::Null>(was) ? " is null" : " = " + builder.placeholder(was);
  }
  if (condition.empty()) {
    throw DatasetError("Nenhum campo chave definido para atualizar a tabela " + table + ".");
  }

  int changed = connection.execute(
      "update " + table + " set " + assignments + " where " + condition, builder.params());
  if (changed == 0) {
    throw DatasetError("Registro n\xE3o encontrado ou alterado por outro usu\xE1rio.");
  }
  if (changed > 1) {
    throw DatasetError("A chave de atualiza\xE7\xE3o encontrou mais de um registro na tabela " +
                       table + ".");
  }
}

}  // namespace

db::ResultSet DatasetProvider::fetchAll() {
  if (query_ == nullptr) throw DatasetError("O provider " + name_ + " n\xE3o tem consulta.");
  const bool openedHere = !query_->active();
  query_->open();
  db::ResultSet rows = query_->result();
  fetchedTable_ = TableNameFromSQL(query_->SQLText());
  if (openedHere) query_->close();
  return rows;
}

void DatasetProvider::applyUpdates(const std::vector<DatasetField>& fields,
                                   const std::vector<DatasetChange>& changes) {
  if (changes.empty()) return;
  db::Connection* connection = query_ == nullptr ? nullptr : query_->SQLConnection();
  if (connection == nullptr) throw DatasetError(kMissingConnectionMessage);
  const std::string& table = fetchedTable_;
  if (table.empty()) {
    throw DatasetError("N\xE3o foi poss\xEDvel identificar a tabela a atualizar.");
  }

  db::TransactionScope transaction(*connection);
  for (const auto& change : changes) {
    if (change.kind == DatasetChange::Kind::Insert) {
      applyInsert(*connection, table, fields, change);
    } else {
      applyModify(*connection, table, fields, change);
    }
  }
  transaction.commit();
}

std::string DatasetProvider::TableNameFromSQL(std::string_view sql) {
  int depth = 0;
  bool tableNext = false;
  std::size_t i = 0;
  while (i < sql.size()) {
    const char c = sql[i];
    if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
    } else if (db::startsComment(sql, i)) {
      i = db::skipComment(sql, i);
    } else if (c == '"') {
      std::size_t end = db::skipQuoted(sql, i);
      if (tableNext) return std::string(sql.substr(i, end - i));
      i = end;
    } else if (isWordChar(c)) {
      std::size_t end = i;
      while (end < sql.size() && isWordChar(sql[end])) ++end;
      std::string_view word = sql.substr(i, end - i);
      if (tableNext) return std::string(word);
      tableNext = depth == 0 && text::EqualsIgnoringCase(word, "FROM");
      i = end;
    } else {
      if (c == '\'') {
        i = db::skipQuoted(sql, i);
      } else {
        if (c == '(') ++depth;
        if (c == ')') --depth;
        ++i;
      }
      tableNext = false;
    }
  }
  return {};
}

}  // namespace mts
