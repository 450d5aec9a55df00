#pragma once

#include <cstddef>
#include <string_view>

namespace mts::db {

// Small scanners over SQL text, shared by everything that has to step over
// literals and comments without understanding the statement. Each returns the
// index just past what it skipped; text that never closes runs to the end (the
// database reports it when preparing).

// The quoted text that opens at `start` with the quote found there (' or ");
// a doubled quote inside stands for the quote itself.
std::size_t skipQuoted(std::string_view sql, std::size_t start);

// "-- ..." up to and including the line end.
std::size_t skipLineComment(std::string_view sql, std::size_t start);

// "/* ... */".
std::size_t skipBlockComment(std::string_view sql, std::size_t start);

// True when a comment of either kind opens at i.
bool startsComment(std::string_view sql, std::size_t i);

// Either kind of comment that opens at `start`.
std::size_t skipComment(std::string_view sql, std::size_t start);

}  // namespace mts::db
