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

// The recording of a card takes its sector's rows from the whole card's rows
// that the accepting validation kept, filtered by sector, instead of reading
// them again; in every other case, and the next time, it reads them. A row
// posted after the validation shows which was done.
TEST_F(CardPostingsTest, TheRecordingReusesOnlyTheRowsAnAcceptingValidationKept) {
  struct Case {
    std::string what;
    bool accepted;                    // the validation kept its rows
    std::string prog;                 // the card recorded
    bool hasSubFicha;                 // the recording is of a sub-card
    std::vector<std::string> sector;  // "sub-card/employee" of the rows of sector 02
  };
  const std::vector<Case> cases = {
      {"kept, the same card", true, "000100", false, {"0001/", "0001/"}},
      {"not accepted", false, "000100", false, {"0000/E2", "0001/", "0001/"}},
      {"kept, another card recorded", true, "000200", false, {"0000/E3"}},
      {"kept, a sub-card recorded", true, "000100", true, {"0001/"}},
  };
  int added = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CardPostings postings(connection());
    {
      CardPostings::ValidationScope validation(postings);
      ASSERT_TRUE(postings.CarregarFichaInteira("000100", "0001", 0, false));
      if (c.accepted) validation.ManterParaGravacao();
    }
    factory.posting({.prog = c.prog,
                     .ficha = "0001",
                     .sector = "02",
                     .employee = "E" + std::to_string(++added)});
    const std::string subFicha = c.hasSubFicha ? "0001" : "0000";
    std::vector<std::string> seen;
    for (const db::Row& row : postings.PostagensDoSetor(c.prog, "0001", "02", c.hasSubFicha ? 7 : 0,
                                                        subFicha, c.hasSubFicha)) {
      EXPECT_EQ(row.text("SETOR_PS"), "02");
      seen.push_back(row.text("SUBFICHA_PS") + "/" + row.text("FUNCIONAR_PS"));
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, c.sector);
    // Kept rows serve one recording: the next one reads what is there now.
    EXPECT_EQ(postings.PostagensDoSetor(c.prog, "0001", "02", 0, "0000", false).size(),
              static_cast<std::size_t>(count(
                  "PRODUCAO_SETOR", "PROG_PS = :PROG and SETOR_PS = '02'", {{"PROG", c.prog}})));
    connection().execute("delete from PRODUCAO_SETOR where FUNCIONAR_PS starting with 'E'");
  }
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
