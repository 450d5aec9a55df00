#include "support/DatabaseRows.h"

#include <stdexcept>

namespace mts::test {

void insertRow(db::Connection& connection, std::string_view table, ColumnValues values) {
  std::string columns;
  std::string markers;
  db::Params params;
  for (const auto& [column, value] : values) {
    if (!columns.empty()) {
      columns += ", ";
      markers += ", ";
    }
    columns += column;
    markers += ":" + column;
    params.set(column, value);
  }
  connection.execute(
      "insert into " + std::string(table) + " (" + columns + ") values (" + markers + ")", params);
}

db::Row queryOne(db::Connection& connection, std::string_view sql, const db::Params& params) {
  db::ResultSet rows = connection.query(sql, params);
  if (rows.size() != 1) {
    throw std::logic_error("expected one row, got " + std::to_string(rows.size()) +
                           " from: " + std::string(sql));
  }
  return rows.front();
}

std::int64_t countRows(db::Connection& connection, std::string_view table, std::string_view where,
                       const db::Params& params) {
  std::string sql = "select count(*) as N from " + std::string(table);
  if (!where.empty()) sql += " where " + std::string(where);
  return queryOne(connection, sql, params).bigint("N");
}

}  // namespace mts::test
