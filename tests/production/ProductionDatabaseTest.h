#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dataaccess/firebird/DatabaseError.h"
#include "dataaccess/firebird/Value.h"
#include "production/TdmAtuProducao.h"
#include "support/FactoryDatabaseTest.h"

namespace mts::test {

// Base of the production module's database tests. The suite shares one fresh
// factory database; every test starts from empty tables (CONFIG keeps its one
// row, with an empty company name) and inserts the few rows it needs.
class ProductionDatabaseTest : public FactoryDatabaseTest {
 protected:
  void SetUp() override;

  // A module on the suite's connection; errors it reports at start-up are
  // collected in startupErrors.
  std::unique_ptr<TdmAtuProducao> createModule();
  std::vector<std::string> startupErrors;

  static void setParam(const std::string& group, const std::string& name, const db::Value& value);
  static void setProductionParam(const std::string& name, const db::Value& value) {
    setParam("ATU_PRODUCAO", name, value);
  }
  static void setCompany(const std::string& name);

  static void addSector(const std::string& code, const std::string& name, int order,
                        const std::string& operationType = "P", bool inSequence = true);
  // An employee; `badge` nullopt stores a null badge; an empty `sector` links
  // him to none.
  static void addEmployee(const std::string& code, const std::string& name,
                          const std::optional<std::string>& badge, const std::string& sector,
                          const std::string& active = "S");
  // An order item of a programme card (its order is created when missing).
  static void addOrderItem(const std::string& order, const std::string& item,
                           const std::string& programme, const std::string& card);
  static void addOperationCard(int id, const std::string& programme, const std::string& card,
                               const std::string& sector, const std::string& operation);
  static void addCutCard(int id, int pairs, const db::Value& cancelled = db::Null{});
};

}  // namespace mts::test
