#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "dataaccess/firebird/Connection.h"

namespace mts::test {

using ColumnValues = std::initializer_list<std::pair<std::string, db::Value>>;

// Inserts one row: "insert into TABLE (A, B) values (:A, :B)". Columns left out
// take their defaults (or null).
void insertRow(db::Connection& connection, std::string_view table, ColumnValues values);

// The one row `sql` returns; throws std::logic_error (naming the statement)
// when it returns none or several.
db::Row queryOne(db::Connection& connection, std::string_view sql, const db::Params& params = {});

// count(*) of a table, optionally restricted by a WHERE condition with parameters.
std::int64_t countRows(db::Connection& connection, std::string_view table,
                       std::string_view where = {}, const db::Params& params = {});

}  // namespace mts::test
