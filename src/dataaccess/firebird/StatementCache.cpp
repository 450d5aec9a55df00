#include "dataaccess/firebird/StatementCache.h"

namespace mts::db {

PreparedStatement* StatementCache::find(std::string_view sql) {
  const auto found = index_.find(sql);
  if (found == index_.end()) return nullptr;
  entries_.splice(entries_.begin(), entries_, found->second);
  return found->second->second.get();
}

PreparedStatement& StatementCache::add(std::string_view sql,
                                       std::unique_ptr<PreparedStatement> statement) {
  entries_.emplace_front(std::string(sql), std::move(statement));
  index_[entries_.front().first] = entries_.begin();
  while (entries_.size() > capacity_) {
    index_.erase(entries_.back().first);
    entries_.pop_back();
  }
  return *entries_.front().second;
}

void StatementCache::clear() {
  index_.clear();
  entries_.clear();
}

}  // namespace mts::db
