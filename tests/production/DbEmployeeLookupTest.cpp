#include <gtest/gtest.h>

#include <string>

#include "ProductionDatabaseTest.h"

namespace mts::test {
namespace {

class EmployeeLookupTest : public ProductionDatabaseTest {
 protected:
  struct Found {
    bool found;
    std::string code, name, sector;
  };

  Found lookUp(TdmAtuProducao& module, const std::string& badge) {
    Found result{false, "stale", "stale", "stale"};
    result.found = module.LocalizarFuncionario(badge, result.code, result.name, result.sector);
    return result;
  }
};

TEST_F(EmployeeLookupTest, FindsActiveEmployeesByTheirWholeBadge) {
  addSector("01", "CORTE", 1);
  addEmployee("001", "ANA", std::string("1001"), "01");
  addEmployee("002", "BRUNO", std::string("AB12"), "");
  auto module = createModule();

  Found ana = lookUp(*module, "1001");
  EXPECT_TRUE(ana.found);
  EXPECT_EQ(ana.code, "001");
  EXPECT_EQ(ana.name, "ANA");
  EXPECT_EQ(ana.sector, "01");

  // Without a sector link he is still found, with an empty sector.
  Found bruno = lookUp(*module, "AB12");
  EXPECT_TRUE(bruno.found);
  EXPECT_EQ(bruno.code, "002");
  EXPECT_EQ(bruno.sector, "");

  // Exact, whole, case-sensitive: the outputs are emptied when nothing matches.
  // A multi-kilobyte read from a terminal arrives as one key and can make a
  // badge far longer than any column: not found, never a database error.
  for (const std::string& other : {std::string("100"), std::string("10010"), std::string(" 1001"),
                                   std::string("1001 "), std::string("ab12"), std::string(""),
                                   std::string("1001000000000"), std::string(4096, '1')}) {
    Found none = lookUp(*module, other);
    EXPECT_FALSE(none.found) << '"' << other.substr(0, 20) << '"';
    EXPECT_EQ(none.code, "");
    EXPECT_EQ(none.name, "");
    EXPECT_EQ(none.sector, "");
  }
}

TEST_F(EmployeeLookupTest, InactiveOrBadgelessEmployeesAreFoundOnlyByCode) {
  addEmployee("001", "ANA", std::string("1001"), "", "N");
  addEmployee("002", "BRUNO", std::string(""), "");
  addEmployee("003", "CAIO", std::nullopt, "");
  addEmployee("004", "DORA", std::string("1004"), "", "s");
  auto module = createModule();

  EXPECT_FALSE(lookUp(*module, "1001").found);
  EXPECT_FALSE(lookUp(*module, "").found);
  EXPECT_FALSE(lookUp(*module, "1004").found);

  EXPECT_EQ(module->NomeFuncionario("001"), "ANA");
  EXPECT_EQ(module->NomeFuncionario("002"), "BRUNO");
  EXPECT_EQ(module->NomeFuncionario("003"), "CAIO");
  EXPECT_EQ(module->NomeFuncionario("999"), "");
}

TEST_F(EmployeeLookupTest, DuplicateBadgeGivesOneOfItsOwners) {
  addEmployee("001", "ANA", std::string("7"), "");
  addEmployee("002", "BRUNO", std::string("7"), "");
  auto module = createModule();
  Found found = lookUp(*module, "7");
  ASSERT_TRUE(found.found);
  // Code, name and sector always come from the same employee.
  EXPECT_TRUE((found.code == "001" && found.name == "ANA") ||
              (found.code == "002" && found.name == "BRUNO"))
      << found.code << " " << found.name;
}

TEST_F(EmployeeLookupTest, BadgeLookupSeesChangesAtOnceNamesAfterTheNextRefresh) {
  auto module = createModule();
  addEmployee("001", "ANA", std::string("1001"), "01");
  EXPECT_TRUE(lookUp(*module, "1001").found);

  // The name list is as fresh as the last refresh of the cached lists.
  EXPECT_EQ(module->NomeFuncionario("001"), "");
  module->AtualizarCadastros();
  EXPECT_EQ(module->NomeFuncionario("001"), "ANA");

  execute("update FUNCIONARIO set ATIVO_FU = 'N' where CODIGO_FU = '001'");
  EXPECT_FALSE(lookUp(*module, "1001").found);
}

}  // namespace
}  // namespace mts::test
