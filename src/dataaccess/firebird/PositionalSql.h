#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mts::db {

// A statement text with its named parameters turned into the positional "?"
// markers the database understands.
struct PositionalSql {
  std::string text;                // the statement with "?" for every ":NAME"
  std::vector<std::string> names;  // one upper-case name per "?", in order
};

// Replaces every ":NAME" (a letter or "_" after the colon, then letters, digits,
// "_" and "$") by "?". Text inside string literals ('...' and q'{...}'), quoted
// identifiers ("...") and comments (-- and /* */) is copied unchanged. The same
// name may appear several times; each occurrence becomes its own "?". A "?"
// written in the text itself throws DatabaseError: every value is passed by name.
PositionalSql toPositional(std::string_view sql);

}  // namespace mts::db
