#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace mts::schematest {

// One entry of factory_statements.sql: a statement the server sends to the
// factory database.
struct FactoryStatement {
  std::string name;      // "TdmAtuProducao.sqlSetAntAtu subcard": the comment up to its ':'
  std::string testName;  // the name as a test name: "TdmAtuProducao_sqlSetAntAtu_subcard"
  std::string sql;       // the statement's lines joined by '\n', as the component holds them
};

// Reads the entries of a statements file (format described at the top of
// factory_statements.sql). Entries without SQL lines are skipped. Throws
// std::runtime_error when the file cannot be read or an entry has no name.
std::vector<FactoryStatement> readFactoryStatements(const std::string& path);

// The entry with exactly this name; throws std::out_of_range when there is none.
const FactoryStatement& statementNamed(const std::vector<FactoryStatement>& statements,
                                       std::string_view name);

// The statement of this name in the project's factory_statements.sql (read once).
const FactoryStatement& factoryStatement(std::string_view name);

void PrintTo(const FactoryStatement& statement, std::ostream* out);

}  // namespace mts::schematest
