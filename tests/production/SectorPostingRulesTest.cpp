#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "production/recording/SectorPostingRules.h"

namespace mts {
namespace {

TEST(HoraMinutoTest, CutsSecondsAndPadsToTwoDigits) {
  EXPECT_EQ(HoraMinuto({2026, 12, 10, 7, 5, 59, 9999}), "07:05");
  EXPECT_EQ(HoraMinuto({2026, 12, 10, 23, 59, 0, 0}), "23:59");
  EXPECT_EQ(HoraMinuto({2026, 12, 10, 0, 0, 0, 0}), "00:00");
}

TEST(VerificarColunasDataHoraTest, OnlyThePostingsOwnColumnsReachTheStatement) {
  EXPECT_NO_THROW(VerificarColunasDataHora("DTSAIDA_PS", "HORASAIDA_PS"));
  EXPECT_NO_THROW(VerificarColunasDataHora("DTENTRADA_PS", "HORAENTRADA_PS"));
  EXPECT_THROW(VerificarColunasDataHora("", ""), std::invalid_argument);
  EXPECT_THROW(VerificarColunasDataHora("DTSAIDA_PS", "QTDE_PS"), std::invalid_argument);
  EXPECT_THROW(VerificarColunasDataHora("DTSAIDA_PS", "HORAENTRADA_PS"), std::invalid_argument);
  EXPECT_THROW(VerificarColunasDataHora("DTSAIDA_PS=NULL, QTDE_PS", "HORASAIDA_PS"),
               std::invalid_argument);
}

TEST(EscolherAlteracaoTest, ExitCompletesTheOpenRowOfTheSameThingAndNeverOverwritesAnExit) {
  using Kind = SectorPostingChange::Kind;
  const PostedThing card{"0000"};
  const PostedThing subCard{"0001"};
  const PostedThing label{"0001", 0, 201};
  struct Case {
    const char* name;
    bool entryExitMode;
    std::string dateColumn;
    PostedThing thing;
    std::vector<LoadedSectorPosting> postings;
    Kind kind;
    int id;
  };
  const std::vector<Case> cases = {
      {"plain mode", false, "DTSAIDA_PS", card, {{7, false, card}}, Kind::AppendRow, 0},
      {"entry", true, "DTENTRADA_PS", card, {}, Kind::AppendRow, 0},
      {"exit of the open row", true, "DTSAIDA_PS", card, {{7, false, card}}, Kind::CompleteExit, 7},
      {"first open row",
       true,
       "DTSAIDA_PS",
       card,
       {{5, true, card}, {7, false, card}, {8, false, card}},
       Kind::CompleteExit,
       7},
      {"the sub-card's own open row, not its label's",
       true,
       "DTSAIDA_PS",
       subCard,
       {{5, false, label}, {6, false, subCard}},
       Kind::CompleteExit,
       6},
      {"only a label's open row: the sub-card gets a row of its own",
       true,
       "DTSAIDA_PS",
       subCard,
       {{5, false, label}},
       Kind::AppendRow,
       0},
      {"partial postings: first one", true, "DTSAIDA_PS", card, {}, Kind::AppendRow, 0},
      {"partial postings: every row has its exit",
       true,
       "DTSAIDA_PS",
       card,
       {{5, true, card}, {6, true, card}},
       Kind::AppendRow,
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SectorPostingChange change =
        EscolherAlteracao(c.entryExitMode, c.dateColumn, c.thing, c.postings);
    EXPECT_EQ(change.kind, c.kind);
    EXPECT_EQ(change.ID_PS, c.id);
  }
}

}  // namespace
}  // namespace mts
