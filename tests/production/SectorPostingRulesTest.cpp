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

TEST(EscolherAlteracaoTest, ExitCompletesTheFirstOpenRowAndNeverOverwritesAnExit) {
  using Kind = SectorPostingChange::Kind;
  struct Case {
    const char* name;
    bool entryExitMode;
    std::string dateColumn;
    std::vector<LoadedSectorPosting> postings;
    Kind kind;
    int id;
  };
  const std::vector<Case> cases = {
      {"plain mode", false, "DTSAIDA_PS", {{7, false}}, Kind::AppendRow, 0},
      {"entry", true, "DTENTRADA_PS", {}, Kind::AppendRow, 0},
      {"exit of the open row", true, "DTSAIDA_PS", {{7, false}}, Kind::CompleteExit, 7},
      {"first open row",
       true,
       "DTSAIDA_PS",
       {{5, true}, {7, false}, {8, false}},
       Kind::CompleteExit,
       7},
      {"partial postings: first one", true, "DTSAIDA_PS", {}, Kind::AppendRow, 0},
      {"partial postings: every row has its exit",
       true,
       "DTSAIDA_PS",
       {{5, true}, {6, true}},
       Kind::AppendRow,
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SectorPostingChange change = EscolherAlteracao(c.entryExitMode, c.dateColumn, c.postings);
    EXPECT_EQ(change.kind, c.kind);
    EXPECT_EQ(change.ID_PS, c.id);
  }
}

}  // namespace
}  // namespace mts
