#include <gtest/gtest.h>

#include <string>

#include "ProductionDatabaseTest.h"

namespace mts::test {
namespace {

class CutCardTest : public ProductionDatabaseTest {
 protected:
  void SetUp() override {
    ProductionDatabaseTest::SetUp();
    if (HasFatalFailure()) return;
    addSector("01", "CORTE", 1);
    addSector("02", "COSTURA", 2);
    addEmployee("001", "ANA", std::string("1001"), "01");
    addCutCard(123, 40);
  }

  // Posts cut card 123 as the module does after validation.
  void post(TdmAtuProducao& module, const std::string& sector, const std::string& employee,
            const db::Timestamp& when) {
    module.DadosAtuProducao = {};
    module.DadosAtuProducao.IdFichaCorte = 123;
    module.DadosAtuProducao.Setor = sector;
    module.DadosAtuProducao.Funcionario = employee;
    module.DadosAtuProducao.DataHora = when;
    module.GravarFichaCorteAtuSetor(when);
  }

  bool verify(TdmAtuProducao& module, int id, const std::string& sector, std::string& message) {
    message = "untouched";
    return module.VerificarFichaCorte(id, sector, message);
  }
};

TEST_F(CutCardTest, IsPostedOncePerSector) {
  auto module = createModule();
  std::string message;
  ASSERT_TRUE(verify(*module, 123, "01", message));
  EXPECT_EQ(message, "untouched");

  post(*module, "01", "001", {2024, 3, 7, 8, 5, 9, 0});

  const db::Row row = queryOne(
      "select ID_FS, ID_FICHA_CORTE_FS, SETOR_FS, FUNCIONARIO_FS, DATA_SAIDA_FS "
      "from FICHA_CORTE_ATU_SETOR");
  EXPECT_GT(row.integer("ID_FS"), 0);
  EXPECT_EQ(row.integer("ID_FICHA_CORTE_FS"), 123);
  EXPECT_EQ(row.text("SETOR_FS"), "01");
  EXPECT_EQ(row.text("FUNCIONARIO_FS"), "001");
  EXPECT_EQ(row.timestamp("DATA_SAIDA_FS"), (db::Timestamp{2024, 3, 7, 8, 5, 9, 0}));

  EXPECT_FALSE(verify(*module, 123, "01", message));
  EXPECT_EQ(message, "Ficha j\xE1 atualizada em 07/03/2024 08:05:09. Func: ANA");
  // Another sector may still post it, once.
  EXPECT_TRUE(verify(*module, 123, "02", message));
  post(*module, "02", "", {2024, 3, 8, 14, 0, 0, 0});
  EXPECT_FALSE(verify(*module, 123, "02", message));
  // Without a known employee the message has no " Func: ".
  EXPECT_EQ(message, "Ficha j\xE1 atualizada em 08/03/2024 14:00:00.");
  EXPECT_EQ(count("FICHA_CORTE_ATU_SETOR"), 2);
  EXPECT_EQ(count("PRODUCAO_SETOR"), 0);
}

TEST_F(CutCardTest, MissingCardNamesItsTwelveDigitCode) {
  auto module = createModule();
  std::string message;
  EXPECT_FALSE(verify(*module, 124, "01", message));
  EXPECT_EQ(message, "Ficha 280000000124 n\xE3o encontrada.");
}

TEST_F(CutCardTest, DatesUpToTheStartOf2000DoNotCount) {
  addCutCard(200, 10, db::Timestamp{2000, 1, 1, 0, 0, 0, 0});
  insert("FICHA_CORTE_ATU_SETOR", {{"ID_FS", 0},
                                   {"ID_FICHA_CORTE_FS", 200},
                                   {"SETOR_FS", std::string("01")},
                                   {"FUNCIONARIO_FS", std::string("001")},
                                   {"DATA_SAIDA_FS", db::Timestamp{1999, 12, 31, 23, 0, 0, 0}}});
  auto module = createModule();
  std::string message;
  EXPECT_TRUE(verify(*module, 200, "01", message));
  EXPECT_EQ(message, "untouched");
}

TEST_F(CutCardTest, CancelledCardIsRefusedUnlessAlreadyPostedInTheSector) {
  addCutCard(300, 10, db::Timestamp{2024, 12, 31, 23, 59, 58, 0});
  auto module = createModule();
  std::string message;
  EXPECT_FALSE(verify(*module, 300, "02", message));
  EXPECT_EQ(message, "Ficha Cancelada em 31/12/2024 23:59:58.");

  // A posting in the sector is reported before the cancellation.
  insert("FICHA_CORTE_ATU_SETOR", {{"ID_FS", 0},
                                   {"ID_FICHA_CORTE_FS", 300},
                                   {"SETOR_FS", std::string("02")},
                                   {"DATA_SAIDA_FS", db::Timestamp{2024, 12, 1, 6, 0, 0, 0}}});
  EXPECT_FALSE(verify(*module, 300, "02", message));
  EXPECT_EQ(message, "Ficha j\xE1 atualizada em 01/12/2024 06:00:00.");
}

TEST_F(CutCardTest, RefusedPostingRaisesTheDatabaseError) {
  auto module = createModule();
  // FUNCIONARIO_FS holds three characters.
  const db::Timestamp when{2024, 3, 7, 8, 5, 9, 0};
  EXPECT_THROW(post(*module, "01", "1234", when), db::DatabaseError);
  EXPECT_EQ(count("FICHA_CORTE_ATU_SETOR"), 0);
  std::string message;
  EXPECT_TRUE(verify(*module, 123, "01", message));
}

}  // namespace
}  // namespace mts::test
