#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dataaccess/ResultSet.h"

namespace mts {

class TVNSQLQuery;

// How a field takes part in the statements that apply a dataset's changes:
// fields in the key identify the row in the WHERE clause of an UPDATE.
struct ProviderFlags {
  bool inUpdate = true;
  bool inWhere = true;
  bool inKey = false;

  friend bool operator==(const ProviderFlags&, const ProviderFlags&) = default;
};

// A field of the dataset as the provider sees it. Memory-only fields exist in the
// dataset alone and are never sent to the database.
struct DatasetField {
  std::string name;
  ProviderFlags flags;
  bool memoryOnly = false;
};

// One posted change of a dataset row, waiting to be applied.
//  - Insert: `current` is the new row; `assigned` marks the fields that were given
//    a value (only those are inserted, so the others take the table's defaults).
//  - Modify: `original` is the row as the database last had it, `current` the row
//    as posted; the fields whose values differ are updated.
struct DatasetChange {
  enum class Kind { Insert, Modify };
  Kind kind = Kind::Insert;
  const db::Row* original = nullptr;
  const db::Row* current = nullptr;
  std::vector<bool> assigned;
};

// Feeds a client dataset from a query and writes its changes back: the plain C++
// form of a dataset provider. It does not own its query; the dataset that owns
// both wires them together.
//
// Changes are written to one table: UpdateTableName() when set, otherwise the
// first table after FROM in the text the query ran at the last fetchAll(). An
// UPDATE names only the key fields in its WHERE clause (their values as fetched),
// and sets the fields whose values changed.
class DatasetProvider {
 public:
  explicit DatasetProvider(std::string name) : name_(std::move(name)) {}

  const std::string& Name() const { return name_; }
  TVNSQLQuery* DataSet() const { return query_; }
  void setDataSet(TVNSQLQuery* query) { query_ = query; }

  const std::string& UpdateTableName() const { return updateTableName_; }
  void setUpdateTableName(std::string table) { updateTableName_ = std::move(table); }

  // Every row of the query. Opens it when it is closed (and then closes it again);
  // database errors propagate.
  db::ResultSet fetchAll();

  // Sends the changes, in order, on the query's connection, all in one
  // transaction: its own, committed at the end, when none is open; otherwise the
  // caller's, which it neither commits nor rolls back, but which a failure here
  // leaves unable to commit. The first failure stops the work (rolling back its
  // own transaction) and is raised: db::DatabaseError with
  // the database's message, or DatasetError when an UPDATE finds no row (or more
  // than one) by its key, there is no key to find it by, or the table is unknown.
  void applyUpdates(const std::vector<DatasetField>& fields,
                    const std::vector<DatasetChange>& changes);

  // The first table named after a FROM outside parentheses, string literals and
  // comments; empty when there is none.
  static std::string TableNameFromSQL(std::string_view sql);

 private:
  std::string tableToUpdate() const;

  std::string name_;
  TVNSQLQuery* query_ = nullptr;
  std::string updateTableName_;
  std::string fetchedTable_;
};

}  // namespace mts
