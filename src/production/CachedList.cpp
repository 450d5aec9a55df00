#include "production/CachedList.h"

#include <stdexcept>

namespace mts {

void CachedList::open() {
  if (connection_ == nullptr) throw std::logic_error("list has no connection: " + sql_);
  close();
  rows_ = connection_->query(sql_, params_);
  current_ = 0;
}

void CachedList::close() {
  rows_.reset();
  current_ = 0;
}

bool CachedList::findKey(const std::vector<std::string>& values) {
  if (values.size() != keyFields_.size()) {
    throw std::logic_error("key search with the wrong number of values: " + sql_);
  }
  if (!rows_) return false;
  for (std::size_t i = 0; i < rows_->size(); ++i) {
    const db::Row& candidate = (*rows_)[i];
    bool matches = true;
    for (std::size_t k = 0; k < keyFields_.size() && matches; ++k) {
      matches = candidate.text(keyFields_[k]) == values[k];
    }
    if (matches) {
      current_ = i;
      return true;
    }
  }
  return false;
}

bool CachedList::locate(std::string_view field, std::string_view value) {
  if (!rows_) return false;
  for (std::size_t i = 0; i < rows_->size(); ++i) {
    if ((*rows_)[i].text(field) == value) {
      current_ = i;
      return true;
    }
  }
  return false;
}

const db::Row& CachedList::row() const {
  if (isEmpty()) throw std::logic_error("list has no current row: " + sql_);
  return (*rows_)[current_];
}

const db::ResultSet& CachedList::rows() const {
  static const db::ResultSet none;
  return rows_ ? *rows_ : none;
}

}  // namespace mts
