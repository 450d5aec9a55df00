#pragma once

#include <string_view>

namespace mts::db {

// True for an INSERT that names its one row (INSERT ... VALUES, or DEFAULT
// VALUES): when it succeeds it has inserted exactly that row into its table
// (a trigger can refuse the row only by raising an error), so its row count
// need not be asked of the server, a round trip. A view whose triggers write
// elsewhere is not what this program inserts into. An INSERT ... SELECT, an
// UPDATE OR INSERT or anything else is false. Words inside literals, quoted
// names, comments or parentheses do not count.
bool insertsOneRow(std::string_view sql);

}  // namespace mts::db
