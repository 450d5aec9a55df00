#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "FactoryBuilder.h"
#include "ProductionDatabaseTest.h"
#include "production/validation/CardPostings.h"

namespace mts::test {
namespace {

// Card 000100/0001 posted whole in sector 01, as sub-card 0001 in 02 (once
// whole, once by sub-production 7) and as sub-card 0002 in 03; sector 02
// belongs to group 09. Another card is posted in 01.
class CardPostingsTest : public ProductionDatabaseTest {
 protected:
  void SetUp() override {
    ProductionDatabaseTest::SetUp();
    if (HasFatalFailure()) return;
    factory.clear();
    factory.sector({.code = "01", .name = "CORTE", .order = 1});
    factory.sector({.code = "02", .name = "COSTURA", .order = 2, .group = "09"});
    factory.sector({.code = "09", .name = "GRUPO", .order = 9});
    factory.posting({.prog = "000100", .ficha = "0001", .sector = "01", .employee = "001"});
    factory.posting({.prog = "000100", .ficha = "0001", .subFicha = "0001", .sector = "02"});
    factory.posting({.prog = "000100",
                     .ficha = "0001",
                     .subFicha = "0001",
                     .sector = "02",
                     .subProduction = 7});
    factory.posting({.prog = "000100", .ficha = "0001", .subFicha = "0002", .sector = "03"});
    factory.posting({.prog = "000200", .ficha = "0001", .sector = "01"});
  }

  // "sector/sub-card/sub-production" of every loaded row, sorted.
  static std::vector<std::string> loaded(TVNClientDataSet& rows) {
    std::vector<std::string> found;
    for (rows.first(); !rows.eof(); rows.next()) {
      found.push_back(rows.text("SETOR_PS") + "/" + rows.text("SUBFICHA_PS") + "/" +
                      rows.text("ID_SUBPROD_PS"));
    }
    std::sort(found.begin(), found.end());
    return found;
  }

  FactoryBuilder factory{connection()};
};

TEST_F(CardPostingsTest, LoadsTheRowsTheFiltersSelect) {
  struct Case {
    std::string what;
    std::string sector;
    int subProduction;
    std::string subFicha;
    bool hasSubFicha;
    std::vector<std::string> rows;
  };
  const std::vector<Case> cases = {
      {"main card, every sector",
       "",
       0,
       "0000",
       false,
       {"01/0000/0", "02/0001/0", "02/0001/7", "03/0002/0"}},
      {"sub-card, every sector", "", 0, "0001", true, {"02/0001/0", "02/0001/7"}},
      {"sub-production in its sector", "02", 7, "0001", true, {"02/0001/7"}},
      {"main card in one sector", "01", 0, "0000", false, {"01/0000/0"}},
      {"a sub-card that has none", "", 0, "0003", true, {}},
      // Loaded again without the narrower filters of the case before.
      {"main card after a narrow load",
       "",
       0,
       "0000",
       false,
       {"01/0000/0", "02/0001/0", "02/0001/7", "03/0002/0"}},
  };
  CardPostings postings(connection());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    postings.AbrirProdSetor("000100", "0001", c.sector, c.subProduction, c.subFicha, c.hasSubFicha);
    EXPECT_EQ(loaded(postings.cdsProdSetor()), c.rows);
  }
}

TEST_F(CardPostingsTest, RowsCarryTheirSectorsGroupAndAreSearchedBySector) {
  CardPostings postings(connection());
  postings.AbrirProdSetor("000100", "0001", "", 0, "0000", false);
  TVNClientDataSet& rows = postings.cdsProdSetor();

  ASSERT_TRUE(postings.LocalizarSetor("02"));
  EXPECT_EQ(rows.text("SETOR_AGRUP"), "09");
  ASSERT_TRUE(postings.LocalizarSetor("01"));
  EXPECT_EQ(rows.text("SETOR_AGRUP"), "");
  EXPECT_EQ(rows.text("FUNCIONAR_PS"), "001");
  EXPECT_FALSE(postings.LocalizarSetor("04"));
  EXPECT_EQ(rows.text("SETOR_PS"), "01");
}

TEST_F(CardPostingsTest, AnEditedRowIsWrittenBackByItsKeyAlone) {
  CardPostings postings(connection());
  postings.AbrirProdSetor("000100", "0001", "02", 7, "0001", true);
  TVNClientDataSet& rows = postings.cdsProdSetor();
  ASSERT_EQ(rows.recordCount(), 1u);
  const int id = rows.integer("ID_PS");

  rows.edit();
  rows.setValue("HORASAIDA_PS", std::string("07:05"));
  rows.post();
  rows.applyUpdates();

  EXPECT_EQ(count("PRODUCAO_SETOR", "HORASAIDA_PS = '07:05'"), 1);
  EXPECT_EQ(queryOne("select HORASAIDA_PS from PRODUCAO_SETOR where ID_PS = :ID", {{"ID", id}})
                .text("HORASAIDA_PS"),
            "07:05");
}

}  // namespace
}  // namespace mts::test
