#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dataaccess/firebird/Value.h"

namespace mts::db {

// One fetched row. Columns are found by name without regard to letter case
// (the alias when the statement gives one). Asking for a column the row does
// not have throws DatabaseError naming the column.
//
// Readers convert as a reader of a report would expect:
//  - text(): CHAR values keep their trailing blanks; numbers as decimal text
//    ("12", "3.5"; exact decimals without trailing fraction zeros); timestamps
//    as "dd/mm/yyyy hh:nn:ss" (a time of day, from a TIME column, as
//    "hh:nn:ss"); null as "".
//  - integer()/bigint(): integers as they are, exact decimals and doubles
//    truncated toward zero, text parsed as a decimal integer (throws when it is
//    not one); null as 0.
//  - number(): any numeric as double; text parsed; null as 0.
//  - timestamp(): timestamps only (throws otherwise), null included: no value
//    stands for a missing date, so ask isNull() first, or copy value() as it is.
class Row {
 public:
  Row(std::shared_ptr<const std::vector<std::string>> columns, std::vector<Value> values);

  bool has(std::string_view column) const;
  bool isNull(std::string_view column) const;
  const Value& value(std::string_view column) const;
  std::string text(std::string_view column) const;
  std::int32_t integer(std::string_view column) const;
  std::int64_t bigint(std::string_view column) const;
  double number(std::string_view column) const;
  Timestamp timestamp(std::string_view column) const;

  const std::vector<std::string>& columns() const { return *columns_; }
  const std::vector<Value>& values() const { return values_; }

 private:
  std::size_t indexOf(std::string_view column) const;

  std::shared_ptr<const std::vector<std::string>> columns_;  // upper case, shared by all rows
  std::vector<Value> values_;
};

// Every row a query returned, fetched at once. Column names are known even when
// there are no rows.
class ResultSet {
 public:
  ResultSet() = default;
  ResultSet(std::shared_ptr<const std::vector<std::string>> columns, std::vector<Row> rows);

  const std::vector<std::string>& columns() const;
  bool empty() const { return rows_.empty(); }
  std::size_t size() const { return rows_.size(); }
  const Row& operator[](std::size_t i) const { return rows_.at(i); }
  const Row& front() const { return rows_.at(0); }
  std::vector<Row>::const_iterator begin() const { return rows_.begin(); }
  std::vector<Row>::const_iterator end() const { return rows_.end(); }

 private:
  std::shared_ptr<const std::vector<std::string>> columns_;
  std::vector<Row> rows_;
};

}  // namespace mts::db
