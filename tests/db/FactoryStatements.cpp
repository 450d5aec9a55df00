#include "FactoryStatements.h"

#include <stdexcept>
#include <string>

#include "production/CardLock.h"
#include "production/cards/CutCards.h"
#include "production/cards/SectorOperations.h"
#include "production/identification/BadgeLookup.h"
#include "production/identification/CardIdentification.h"
#include "production/lists/CachedLists.h"
#include "production/parameters/ParameterReader.h"
#include "production/recording/ItemRelease.h"
#include "production/recording/SectorPostingRecorder.h"
#include "production/stock/TdmEstoqueProducao.h"
#include "production/validation/CardKindChecks.h"
#include "production/validation/CardPostings.h"
#include "production/validation/EmployeeNames.h"
#include "production/validation/ProductionOrderChecks.h"
#include "production/validation/SectorGroups.h"
#include "production/validation/SectorSequence.h"
#include "production/validation/ServerClock.h"

namespace mts::schematest {

const std::vector<NamedStatement>& factoryStatements() {
  static const std::vector<NamedStatement> all = [] {
    std::vector<NamedStatement> statements;
    for (auto&& area :
         {ParameterReader::Statements(), CachedLists::Statements(), BadgeLookup::Statements(),
          CardIdentification::Statements(), CutCards::Statements(), SectorOperations::Statements(),
          ServerClock::Statements(), SectorSequence::Statements(), SectorGroups::Statements(),
          ProductionOrderChecks::Statements(), CardKindChecks::Statements(),
          CardPostings::Statements(), EmployeeNames::Statements(), CardLock::Statements(),
          SectorPostingRecorder::Statements(), ItemRelease::Statements(),
          TdmEstoqueProducao::Statements()}) {
      statements.insert(statements.end(), area.begin(), area.end());
    }
    return statements;
  }();
  return all;
}

const NamedStatement& factoryStatement(std::string_view name) {
  for (const NamedStatement& statement : factoryStatements()) {
    if (statement.name == name) return statement;
  }
  throw std::out_of_range("no statement named " + std::string(name));
}

}  // namespace mts::schematest

namespace mts {

void PrintTo(const NamedStatement& statement, std::ostream* out) {
  *out << statement.name;
}

}  // namespace mts
