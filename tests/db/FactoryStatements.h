#pragma once

#include <ostream>
#include <string_view>
#include <vector>

#include "dataaccess/datasets/NamedStatement.h"

namespace mts::schematest {

// Every statement the server sends to the factory database, each area of
// production listing its own.
const std::vector<NamedStatement>& factoryStatements();

// The statement of this name ("SectorSequence.sqlSetorFunc"); throws
// std::out_of_range when there is none.
const NamedStatement& factoryStatement(std::string_view name);

}  // namespace mts::schematest

namespace mts {
// A failing case prints the statement's name rather than its bytes.
void PrintTo(const NamedStatement& statement, std::ostream* out);
}  // namespace mts
