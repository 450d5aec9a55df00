#pragma once

#include <cstddef>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "dataaccess/firebird/PreparedStatement.h"

namespace mts::db {

// The statements prepared on one attachment, by their exact text. Holds at most
// `capacity` statements and frees the one used least recently beyond that: some
// statement texts carry their values as literals and would otherwise pile up on
// the server for as long as the connection lives.
class StatementCache {
 public:
  explicit StatementCache(std::size_t capacity = 200) : capacity_(capacity) {}

  // The statement prepared for `sql`, or nullptr.
  PreparedStatement* find(std::string_view sql);
  PreparedStatement& add(std::string_view sql, std::unique_ptr<PreparedStatement> statement);
  // Frees every statement; call before the attachment goes.
  void clear();
  std::size_t size() const { return entries_.size(); }

 private:
  using Entry = std::pair<std::string, std::unique_ptr<PreparedStatement>>;
  std::size_t capacity_;
  std::list<Entry> entries_;  // most recently used first
  std::unordered_map<std::string_view, std::list<Entry>::iterator> index_;  // views into entries_
};

}  // namespace mts::db
