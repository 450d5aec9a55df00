#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ValidationDatabaseTest.h"

namespace mts::test {
namespace {

class PostingRulesTest : public ValidationDatabaseTest {
 protected:
  // Card 000400/0001 of 100 pairs, for partial postings.
  static void card100(FactoryBuilder& f) {
    f.card({.prog = "000400", .ficha = "0001", .pairs = 100, .item = "004"});
  }
  static FactoryBuilder::Posting posted100(const std::string& sector, double pairs,
                                           const std::string& employee = "001") {
    return {
        .prog = "000400", .ficha = "0001", .sector = sector, .employee = employee, .pairs = pairs};
  }
  static FactoryBuilder::Posting entryOnly(const std::string& sector) {
    FactoryBuilder::Posting posting = posted(sector);
    posting.entry = db::Timestamp{2024, 5, 6, 8, 0, 0, 0};
    posting.exit.reset();
    return posting;
  }
  static void partial(FactoryBuilder& f) { f.param("BAIXA_PARCIAL", "S"); }
  static void entryExit(FactoryBuilder& f) { f.param("BAIXA_SETOR_ENTRADA", "S"); }

  static Check columns(const std::string& date, const std::string& hour) {
    return [date, hour](const TDadosAtuProducao& dados) {
      EXPECT_EQ(dados.CampoData, date);
      EXPECT_EQ(dados.CampoHora, hour);
    };
  }
};

TEST_F(PostingRulesTest, GroupingRules) {
  std::vector<Case> cases = {
      {.what = "a grouping sector after one of its members",
       .state = [](FactoryBuilder& f) { f.posting(posted("06")); },
       .request = mainCard("07"),
       .message = "Ficha atualizada no setor \"PESPONTO B\" desse Agrupamento Func: ANA",
       .quantity = 12},
      {.what = "a member after its sibling",
       .state =
           [](FactoryBuilder& f) {
             FactoryBuilder::Posting posting = posted("06");
             posting.employee = "002";
             f.posting(posting);
           },
       .request = mainCard("05"),
       .message = "Ficha j\xE1 atualizada em outro setor do mesmo grupo. Func: BRUNO",
       .quantity = 12},
      {.what = "a member after the grouping sector itself",
       .state = [](FactoryBuilder& f) { f.posting(posted("07")); },
       .request = mainCard("05"),
       .message = "Ficha j\xE1 atualizada no setor de Agrupamento. Func: ANA",
       .quantity = 12},
      {.what = "a member when only sectors outside the group posted",
       .state = [](FactoryBuilder& f) { f.posting(posted("01")); },
       .request = mainCard("05"),
       .accepted = true,
       .quantity = 12},
      {.what = "a sub-card in a member when its sibling posted another sub-card",
       .state =
           [](FactoryBuilder& f) {
             f.subCard(
                 {.id = 1, .prog = "000100", .ficha = "0001", .subFicha = "0002", .pairs = 4});
             f.posting(posted("06", "0003"));
           },
       .request = subCard("05", "0002"),
       .accepted = true,
       .quantity = 4},
  };
  runCases(cases);
}

TEST_F(PostingRulesTest, RepeatedPostings) {
  const std::string costuraPosted = "Ficha j\xE1 atualizada no setor \"CORTE\". Func: ANA";
  std::vector<Case> cases = {
      {.what = "default mode: the second scan in the sector",
       .state = [](FactoryBuilder& f) { f.posting(posted("01")); },
       .request = mainCard("01"),
       .message = costuraPosted,
       .quantity = 12},
      {.what = "default mode: an earlier posting by nobody known",
       .state =
           [](FactoryBuilder& f) {
             FactoryBuilder::Posting posting = posted("01");
             posting.employee = "";
             f.posting(posting);
           },
       .request = mainCard("01"),
       .message = "Ficha j\xE1 atualizada no setor \"CORTE\".",
       .quantity = 12},
      {.what = "default mode: a whole sub-card after one of its boxes",
       .state =
           [](FactoryBuilder& f) {
             f.subCard(
                 {.id = 1, .prog = "000100", .ficha = "0001", .subFicha = "0002", .pairs = 4});
             FactoryBuilder::Posting posting = posted("01", "0002");
             posting.box = 70;
             f.posting(posting);
           },
       .request = subCard("01", "0002"),
       .message = costuraPosted,
       .quantity = 4},
      {.what = "entry/exit: the first scan records the entry",
       .state = entryExit,
       .request = mainCard("01"),
       .accepted = true,
       .quantity = 12,
       .check = columns("DTENTRADA_PS", "HORAENTRADA_PS")},
      {.what = "entry/exit: the second scan records the exit",
       .state =
           [](FactoryBuilder& f) {
             entryExit(f);
             f.posting(entryOnly("01"));
           },
       .request = mainCard("01"),
       .accepted = true,
       .quantity = 12,
       .check = columns("DTSAIDA_PS", "HORASAIDA_PS")},
      {.what = "entry/exit: the third scan is refused",
       .state =
           [](FactoryBuilder& f) {
             entryExit(f);
             FactoryBuilder::Posting posting = entryOnly("01");
             posting.exit = db::Timestamp{2024, 5, 6, 9, 0, 0, 0};
             f.posting(posting);
           },
       .request = mainCard("01"),
       .message = costuraPosted,
       .quantity = 12},
      {.what = "BRISAL: entry/exit without the parameter",
       .state =
           [](FactoryBuilder& f) {
             f.company("BRISAL");
             f.posting(entryOnly("01"));
           },
       .request = mainCard("01"),
       .accepted = true,
       .quantity = 12,
       .check = columns("DTSAIDA_PS", "HORASAIDA_PS")},
      {.what = "partial: 40 of 100 posted in the sector, the 60 missing are posted",
       .state =
           [](FactoryBuilder& f) {
             partial(f);
             card100(f);
             f.posting(posted100("01", 40));
           },
       .request = mainCard("01", "000400"),
       .accepted = true,
       .quantity = 60},
      {.what = "partial: 100 of 100 posted in the sector names whoever posted it there",
       .state =
           [](FactoryBuilder& f) {
             partial(f);
             card100(f);
             f.posting(posted100("01", 60, "002"));
             f.posting(posted100("01", 40, "002"));
             f.posting(posted100("02", 10, "001"));
           },
       .request = mainCard("01", "000400"),
       .message = "Ficha j\xE1 atualizada no setor \"CORTE\". Func: BRUNO",
       .quantity = 100},
      {.what = "partial: 100 posted in another sector do not count, 40 here do",
       .state =
           [](FactoryBuilder& f) {
             partial(f);
             card100(f);
             f.posting(posted100("01", 100));
             f.posting(posted100("02", 40));
           },
       .request = mainCard("02", "000400"),
       .accepted = true,
       .quantity = 60},
      {.what = "partial with entry/exit: exit columns from the first posting",
       .state =
           [](FactoryBuilder& f) {
             partial(f);
             entryExit(f);
           },
       .request = mainCard("01"),
       .accepted = true,
       .quantity = 12,
       .check = columns("DTSAIDA_PS", "HORASAIDA_PS")},
  };
  runCases(cases);
}

}  // namespace
}  // namespace mts::test
