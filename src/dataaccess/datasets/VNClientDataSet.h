#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dataaccess/datasets/DatasetProvider.h"
#include "dataaccess/datasets/VNSQLQuery.h"
#include "dataaccess/firebird/Params.h"
#include "dataaccess/firebird/ResultSet.h"

namespace mts::db {
class Connection;
}

namespace mts {

enum class DataSetState { Inactive, Browse, Edit, Insert };

// An in-memory table filled by its own SQL query: one object per cached list.
//
// Ownership: the dataset owns its query (a TVNSQLQuery holding the SQL text and
// the ":NAME" parameter values) and its provider, named
// "internal", which fetches the rows and writes changes back. The connection is
// borrowed: it must outlive the dataset, or be replaced first.
//
// Opening runs the query and keeps every row in memory; closing drops the rows
// and any change not applied; reopen() fetches the current rows again. Nothing
// is read from the database between those two points.
//
// Rows are visited in the order of the index (setIndexFieldNames), or in the order
// the database returned them when there is none; equal keys keep that order.
// Searches (findKey on the index, locate on any fields) stop at the first match in
// that order and make it the current row; a failed search leaves the current row
// where it was. Field values are read from the current row by name, ignoring
// letter case, with the readers of db::Row.
//
// Changes: append() or edit(), setValue(), then post() keeps the row in memory
// and records the change; cancel() drops it instead. applyUpdates() sends every
// recorded change to the database (see DatasetProvider). Moving or searching while
// a row is being edited posts it first. Changes never applied are lost on close.
//
// Errors: misuse (closed dataset, no current row, not editing, unknown field in
// an index, search or setValue) raises DatasetError; database failures propagate
// as db::DatabaseError with the database's message; reading an unknown field
// raises what db::Row raises.
class TVNClientDataSet {
 public:
  // Called after cancel(), edit(), append() (insertion) and post() change the state.
  using StateChangedHandler = std::function<void(TVNClientDataSet& sender)>;

  TVNClientDataSet();
  ~TVNClientDataSet();
  TVNClientDataSet(const TVNClientDataSet&) = delete;
  TVNClientDataSet& operator=(const TVNClientDataSet&) = delete;

  // --- The query and its provider -------------------------------------------
  const std::vector<std::string>& SQL() const { return query_.SQL(); }
  void setSQL(std::vector<std::string> lines) { query_.setSQL(std::move(lines)); }
  db::Connection* SQLConnection() const { return query_.SQLConnection(); }
  void setSQLConnection(db::Connection* connection) { query_.setSQLConnection(connection); }
  // Values of the query's ":NAME" parameters, used at the next open.
  db::Params& params() { return query_.params(); }
  void setParam(std::string_view name, db::Value value) { query_.setParam(name, std::move(value)); }

  // Names of the fields that identify a row when changes are applied (exact,
  // case-sensitive field names: the database gives them in capitals).
  const std::vector<std::string>& KeyFields() const { return keyFields_; }
  void setKeyFields(std::vector<std::string> names);

  DatasetProvider& InternalProvider() { return provider_; }
  const DatasetProvider& InternalProvider() const { return provider_; }
  const std::string& ProviderName() const { return provider_.Name(); }

  // Key fields get the in-key flag alone, every other field the in-update flag
  // alone. Runs before every open, after the fields are known and when the key
  // fields change.
  void AtualizarProviderFlags();
  // The flags of an open dataset's field; DatasetError when it has no such field.
  ProviderFlags providerFlags(std::string_view field) const;

  const StateChangedHandler& OnStateChanged() const { return onStateChanged_; }
  void setOnStateChanged(StateChangedHandler handler) { onStateChanged_ = std::move(handler); }

  // A field that exists only in memory (null after every open, never sent to the
  // database). Declared while closed.
  void addMemoryField(std::string_view name);

  // --- Opening --------------------------------------------------------------
  // Fetches every row (already open: nothing happens). DatasetError with the
  // message of kMissingConnectionMessage when there is no connection.
  void open();
  void close();
  void reopen();
  bool active() const { return state_ != DataSetState::Inactive; }
  DataSetState state() const { return state_; }

  // The fields of the open dataset (query columns, then memory fields), in
  // capitals; empty while closed.
  const std::vector<std::string>& fieldNames() const;
  bool hasField(std::string_view name) const;

  // --- Moving ----------------------------------------------------------------
  std::size_t recordCount() const { return records_.size(); }
  bool isEmpty() const { return records_.empty(); }
  void first();
  void last();
  // At the last row, sets eof() and stays on that row.
  void next();
  void prior();
  bool eof() const { return eof_; }
  bool bof() const { return bof_; }

  // --- Index and searches ------------------------------------------------------
  // Field names separated by ";" (e.g. "PROG_SO;FICHA_SO"); empty for fetch
  // order. Changing it keeps the current row.
  const std::string& indexFieldNames() const { return indexFieldNames_; }
  void setIndexFieldNames(std::string names);
  // The first row in index order whose first keys.size() index fields match the
  // keys (see dataset_values::matchesKey). True when found.
  // findKey(code), findKey({prog, ficha}) and findKey(vectorOfKeys) all work.
  bool findKey(const std::vector<db::Value>& keys);
  bool findKey(std::initializer_list<db::Value> keys) {
    return findKey(std::vector<db::Value>(keys));
  }
  bool findKey(const db::Value& key) { return findKey(std::vector<db::Value>{key}); }
  // The same on any fields ("A;B" with one value each), in the current order.
  bool locate(std::string_view fields, const std::vector<db::Value>& values);
  bool locate(std::string_view fields, std::initializer_list<db::Value> values) {
    return locate(fields, std::vector<db::Value>(values));
  }
  bool locate(std::string_view field, const db::Value& value) {
    return locate(field, std::vector<db::Value>{value});
  }

  // --- The current row (the row being edited while editing) -------------------
  // DatasetError when closed or empty.
  const db::Row& currentRow() const;
  bool isNull(std::string_view field) const { return currentRow().isNull(field); }
  const db::Value& value(std::string_view field) const { return currentRow().value(field); }
  std::string text(std::string_view field) const { return currentRow().text(field); }
  std::int32_t integer(std::string_view field) const { return currentRow().integer(field); }
  std::int64_t bigint(std::string_view field) const { return currentRow().bigint(field); }
  double number(std::string_view field) const { return currentRow().number(field); }
  db::Timestamp timestamp(std::string_view field) const { return currentRow().timestamp(field); }

  // --- Changes -----------------------------------------------------------------
  // A new row, every field null, placed by the index when posted.
  void append();
  // Starts editing the current row (already editing: nothing happens).
  void edit();
  void setValue(std::string_view field, db::Value value);
  void setNull(std::string_view field) { setValue(field, db::Null{}); }
  // Keeps the edited row in memory and records the change; the posted row
  // becomes the current row. Not editing: nothing happens.
  void post();
  // Drops the row being edited or appended. Not editing: nothing happens.
  void cancel();
  // Rows with changes not yet applied.
  std::size_t changeCount() const { return pending_.size(); }
  // Sends the recorded changes through the provider; when it raises, they stay
  // recorded (and in memory) and nothing of this call is committed.
  void applyUpdates();

 private:
  struct PendingChange {
    DatasetChange::Kind kind;
    std::size_t record;
    std::optional<db::Row> original;  // Modify: the row as the database has it
    std::vector<bool> assigned;       // Insert: fields given a value
  };

  void DoBeforeOpen();
  void DoAfterCancel() { notifyStateChanged(); }
  void DoAfterEdit() { notifyStateChanged(); }
  void DoAfterInsert() { notifyStateChanged(); }
  void DoAfterPost() { notifyStateChanged(); }
  void notifyStateChanged();

  void load(const db::ResultSet& rows);
  void resolveIndex();
  void sortRecords();
  void moveTo(std::size_t record);
  void requireActive() const;
  void postIfEditing();
  std::size_t fieldIndex(std::string_view name) const;
  std::vector<std::size_t> fieldIndexes(std::string_view names) const;
  bool seek(const std::vector<std::size_t>& columns, const std::vector<db::Value>& values);
  PendingChange* pendingFor(std::size_t record);

  TVNSQLQuery query_;
  DatasetProvider provider_{"internal"};
  std::vector<std::string> keyFields_;
  StateChangedHandler onStateChanged_;
  std::vector<std::string> memoryFields_;
  std::string indexFieldNames_;

  DataSetState state_ = DataSetState::Inactive;
  std::shared_ptr<const std::vector<std::string>> columns_;
  std::vector<DatasetField> fields_;
  std::vector<db::Row> records_;    // fetch order, then appended rows
  std::vector<std::size_t> order_;  // records_ indexes in index order
  std::vector<std::size_t> indexColumns_;
  std::size_t cursor_ = 0;  // position in order_
  bool bof_ = true;
  bool eof_ = true;

  std::optional<db::Row> editRow_;
  std::vector<bool> assignedInEdit_;
  std::vector<PendingChange> pending_;
};

}  // namespace mts
