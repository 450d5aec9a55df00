#include "dataaccess/datasets/VNClientDataSet.h"

#include "routines/Windows1252Text.h"

#include <algorithm>
#include <numeric>

#include "dataaccess/datasets/DatasetError.h"
#include "dataaccess/datasets/DatasetText.h"
#include "dataaccess/datasets/DatasetValues.h"
#include "dataaccess/firebird/SqlNames.h"

namespace mts {

namespace {

const std::vector<std::string> kNoFields;

DatasetError fieldNotFound(std::string_view name) {
  return DatasetError("Campo '" + std::string(name) + "' n\xE3o encontrado.");
}

}  // namespace

TVNClientDataSet::TVNClientDataSet() {
  provider_.setDataSet(&query_);
}

TVNClientDataSet::~TVNClientDataSet() = default;

void TVNClientDataSet::setKeyFields(std::vector<std::string> names) {
  keyFields_ = std::move(names);
  AtualizarProviderFlags();
}

void TVNClientDataSet::AtualizarProviderFlags() {
  for (auto& field : fields_) {
    const bool inKey =
        std::find(keyFields_.begin(), keyFields_.end(), field.name) != keyFields_.end();
    field.flags = ProviderFlags{.inUpdate = !inKey, .inWhere = false, .inKey = inKey};
  }
}

ProviderFlags TVNClientDataSet::providerFlags(std::string_view field) const {
  return fields_.at(fieldIndex(field)).flags;
}

void TVNClientDataSet::addMemoryField(std::string_view name) {
  if (active()) throw DatasetError("Campos em mem\xF3ria s\xE3o definidos com o conjunto fechado.");
  memoryFields_.push_back(db::upperName(name));
}

void TVNClientDataSet::notifyStateChanged() {
  if (onStateChanged_) onStateChanged_(*this);
}

// --- Opening ----------------------------------------------------------------

void TVNClientDataSet::DoBeforeOpen() {
  AtualizarProviderFlags();
  if (text::UpperCase(provider_.Name()) == "INTERNAL") {
    if (query_.SQLConnection() == nullptr) throw DatasetError(kMissingConnectionMessage);
    provider_.setDataSet(&query_);
  }
}

void TVNClientDataSet::open() {
  if (active()) return;
  DoBeforeOpen();
  db::ResultSet rows = provider_.fetchAll();
  try {
    load(rows);
    AtualizarProviderFlags();
    resolveIndex();
  } catch (...) {
    close();
    throw;
  }
  sortRecords();
  state_ = DataSetState::Browse;
  cursor_ = 0;
  bof_ = true;
  eof_ = records_.empty();
}

void TVNClientDataSet::load(const db::ResultSet& rows) {
  auto columns = std::make_shared<std::vector<std::string>>(rows.columns());
  for (const auto& name : memoryFields_) {
    if (std::find(columns->begin(), columns->end(), name) != columns->end()) {
      throw DatasetError("Campo '" + name + "' j\xE1 existe na consulta.");
    }
    columns->push_back(name);
  }
  columns_ = columns;

  fields_.clear();
  for (const auto& name : *columns_)
    fields_.push_back(DatasetField{.name = name, .flags = {}, .memoryOnly = false});
  for (std::size_t i = rows.columns().size(); i < fields_.size(); ++i) fields_[i].memoryOnly = true;

  records_.clear();
  records_.reserve(rows.size());
  for (const auto& row : rows) {
    std::vector<db::Value> values = row.values();
    values.resize(columns_->size(), db::Null{});
    records_.emplace_back(columns_, std::move(values));
  }
}

void TVNClientDataSet::close() {
  state_ = DataSetState::Inactive;
  records_.clear();
  order_.clear();
  pending_.clear();
  fields_.clear();
  indexColumns_.clear();
  columns_.reset();
  editRow_.reset();
  cursor_ = 0;
  bof_ = true;
  eof_ = true;
}

void TVNClientDataSet::reopen() {
  close();
  open();
}

const std::vector<std::string>& TVNClientDataSet::fieldNames() const {
  return columns_ ? *columns_ : kNoFields;
}

bool TVNClientDataSet::hasField(std::string_view name) const {
  const auto& names = fieldNames();
  return std::find(names.begin(), names.end(), db::upperName(name)) != names.end();
}

// Field names compare as db::Row compares them: the database gives them in
// capitals and only ASCII letters fold.
std::size_t TVNClientDataSet::fieldIndex(std::string_view name) const {
  const auto& names = fieldNames();
  auto it = std::find(names.begin(), names.end(), db::upperName(name));
  if (it == names.end()) throw fieldNotFound(name);
  return static_cast<std::size_t>(it - names.begin());
}

std::vector<std::size_t> TVNClientDataSet::fieldIndexes(std::string_view names) const {
  std::vector<std::size_t> indexes;
  std::size_t start = 0;
  while (start <= names.size()) {
    std::size_t end = std::min(names.find(';', start), names.size());
    std::string name(text::TrimBlanksAndControls(names.substr(start, end - start)));
    if (!name.empty()) indexes.push_back(fieldIndex(name));
    start = end + 1;
  }
  return indexes;
}

// --- Index ------------------------------------------------------------------

void TVNClientDataSet::resolveIndex() {
  indexColumns_ = fieldIndexes(indexFieldNames_);
}

void TVNClientDataSet::sortRecords() {
  order_.resize(records_.size());
  std::iota(order_.begin(), order_.end(), std::size_t{0});
  if (indexColumns_.empty()) return;
  std::stable_sort(order_.begin(), order_.end(), [this](std::size_t a, std::size_t b) {
    for (std::size_t column : indexColumns_) {
      int c = dataset_values::compare(records_[a].values()[column], records_[b].values()[column]);
      if (c != 0) return c < 0;
    }
    return false;
  });
}

void TVNClientDataSet::moveTo(std::size_t record) {
  cursor_ =
      static_cast<std::size_t>(std::find(order_.begin(), order_.end(), record) - order_.begin());
  bof_ = false;
  eof_ = false;
}

void TVNClientDataSet::setIndexFieldNames(std::string names) {
  if (!active()) {
    indexFieldNames_ = std::move(names);
    return;
  }
  postIfEditing();
  std::vector<std::size_t> columns = fieldIndexes(names);
  indexFieldNames_ = std::move(names);
  indexColumns_ = std::move(columns);
  if (order_.empty()) {
    sortRecords();
    return;
  }
  const std::size_t current = order_[cursor_];
  sortRecords();
  cursor_ =
      static_cast<std::size_t>(std::find(order_.begin(), order_.end(), current) - order_.begin());
}

// --- Moving and searching -----------------------------------------------------

void TVNClientDataSet::requireActive() const {
  if (!active()) throw DatasetError("O conjunto de dados est\xE1 fechado.");
}

void TVNClientDataSet::postIfEditing() {
  if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) post();
}

void TVNClientDataSet::first() {
  requireActive();
  postIfEditing();
  cursor_ = 0;
  bof_ = true;
  eof_ = order_.empty();
}

void TVNClientDataSet::last() {
  requireActive();
  postIfEditing();
  cursor_ = order_.empty() ? 0 : order_.size() - 1;
  bof_ = order_.empty();
  eof_ = true;
}

void TVNClientDataSet::next() {
  requireActive();
  postIfEditing();
  if (cursor_ + 1 < order_.size()) {
    ++cursor_;
    bof_ = false;
  } else {
    eof_ = true;
  }
}

void TVNClientDataSet::prior() {
  requireActive();
  postIfEditing();
  if (cursor_ > 0 && !order_.empty()) {
    --cursor_;
    eof_ = false;
  } else {
    bof_ = true;
  }
}

bool TVNClientDataSet::seek(const std::vector<std::size_t>& columns,
                            const std::vector<db::Value>& values) {
  for (std::size_t position = 0; position < order_.size(); ++position) {
    const auto& row = records_[order_[position]].values();
    bool matches = true;
    for (std::size_t k = 0; k < values.size() && matches; ++k) {
      matches = dataset_values::matchesKey(row[columns[k]], values[k]);
    }
    if (matches) {
      cursor_ = position;
      bof_ = false;
      eof_ = false;
      return true;
    }
  }
  return false;
}

bool TVNClientDataSet::findKey(const std::vector<db::Value>& keys) {
  requireActive();
  postIfEditing();
  if (indexColumns_.empty()) {
    throw DatasetError("Nenhum \xEDndice definido para a busca por chave.");
  }
  if (keys.empty() || keys.size() > indexColumns_.size()) {
    throw DatasetError("A busca por chave precisa de 1 a " + std::to_string(indexColumns_.size()) +
                       " valores.");
  }
  return seek(indexColumns_, keys);
}

bool TVNClientDataSet::locate(std::string_view fields, const std::vector<db::Value>& values) {
  requireActive();
  postIfEditing();
  std::vector<std::size_t> columns = fieldIndexes(fields);
  if (columns.empty() || columns.size() != values.size()) {
    throw DatasetError("A busca precisa de um valor para cada campo.");
  }
  return seek(columns, values);
}

const db::Row& TVNClientDataSet::currentRow() const {
  if (editRow_) return *editRow_;
  requireActive();
  if (order_.empty()) throw DatasetError("N\xE3o h\xE1 registro atual.");
  return records_[order_[cursor_]];
}

// --- Changes -------------------------------------------------------------------

void TVNClientDataSet::append() {
  requireActive();
  postIfEditing();
  editRow_.emplace(columns_, std::vector<db::Value>(columns_->size(), db::Null{}));
  assignedInEdit_.assign(columns_->size(), false);
  state_ = DataSetState::Insert;
  DoAfterInsert();
}

void TVNClientDataSet::edit() {
  requireActive();
  if (state_ != DataSetState::Browse) return;
  editRow_.emplace(currentRow());
  assignedInEdit_.assign(columns_->size(), false);
  state_ = DataSetState::Edit;
  DoAfterEdit();
}

void TVNClientDataSet::setValue(std::string_view field, db::Value value) {
  if (!editRow_) throw DatasetError("O conjunto de dados n\xE3o est\xE1 em edi\xE7\xE3o.");
  const std::size_t i = fieldIndex(field);
  std::vector<db::Value> values = editRow_->values();
  values[i] = std::move(value);
  editRow_.emplace(columns_, std::move(values));
  assignedInEdit_[i] = true;
}

TVNClientDataSet::PendingChange* TVNClientDataSet::pendingFor(std::size_t record) {
  auto it = std::find_if(pending_.begin(), pending_.end(),
                         [record](const PendingChange& change) { return change.record == record; });
  return it == pending_.end() ? nullptr : &*it;
}

void TVNClientDataSet::post() {
  if (!editRow_) return;
  std::size_t record = 0;
  if (state_ == DataSetState::Insert) {
    record = records_.size();
    records_.push_back(std::move(*editRow_));
    pending_.push_back(
        PendingChange{DatasetChange::Kind::Insert, record, std::nullopt, assignedInEdit_});
  } else {
    record = order_[cursor_];
    if (PendingChange* change = pendingFor(record)) {
      // A row appended and edited again is still one insert of its latest values.
      for (std::size_t i = 0; i < change->assigned.size(); ++i) {
        change->assigned[i] = change->assigned[i] || assignedInEdit_[i];
      }
    } else if (records_[record].values() != editRow_->values()) {
      pending_.push_back(PendingChange{DatasetChange::Kind::Modify, record, records_[record], {}});
    }
    records_[record] = std::move(*editRow_);
  }
  editRow_.reset();
  state_ = DataSetState::Browse;
  sortRecords();
  moveTo(record);
  DoAfterPost();
}

void TVNClientDataSet::cancel() {
  if (!editRow_) return;
  editRow_.reset();
  state_ = DataSetState::Browse;
  DoAfterCancel();
}

void TVNClientDataSet::applyUpdates() {
  requireActive();
  postIfEditing();
  std::vector<DatasetChange> changes;
  changes.reserve(pending_.size());
  for (const auto& change : pending_) {
    changes.push_back(DatasetChange{.kind = change.kind,
                                    .original = change.original ? &*change.original : nullptr,
                                    .current = &records_[change.record],
                                    .assigned = change.assigned});
  }
  provider_.applyUpdates(fields_, changes);
  pending_.clear();
}

}  // namespace mts
