#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "FactoryBuilder.h"
#include "ProductionDatabaseTest.h"

namespace mts::test {

// Base of the validation tests: a small factory every case starts from, the
// requests a terminal would send, and a runner for tables of cases.
//
// The factory: sectors 01 CORTE, 02 COSTURA (after 01) and 03 MONTAGEM (after
// 02); group 07 ACABAMENTO with members 05 PESPONTO A and 06 PESPONTO B;
// employees 001 ANA and 002 BRUNO; programme card 000100/0001 of 12 pairs on
// order item PV000001/001 of product PR01 (no sector list).
class ValidationDatabaseTest : public ProductionDatabaseTest {
 protected:
  using State = std::function<void(FactoryBuilder&)>;
  using Check = std::function<void(const TDadosAtuProducao&)>;

  // One row of a table: the factory beyond the base, the request, and the
  // answer. `quantity` is compared with Qtde after every validation, refused or
  // not; `check` looks at anything else the request should hold.
  struct Case {
    std::string what{};
    State state{};
    TDadosAtuProducao request{};
    bool accepted = false;
    std::string message{};
    double quantity = 0;
    Check check{};
  };

  void SetUp() override {
    ProductionDatabaseTest::SetUp();
    if (HasFatalFailure()) return;
    resetFactory();
  }

  void resetFactory() {
    factory.clear();
    factory.sector({.code = "01", .name = "CORTE", .order = 1});
    factory.sector({.code = "02", .name = "COSTURA", .order = 2, .previous = "01"});
    factory.sector({.code = "03", .name = "MONTAGEM", .order = 3, .previous = "02"});
    factory.sector({.code = "05", .name = "PESPONTO A", .order = 5, .group = "07"});
    factory.sector({.code = "06", .name = "PESPONTO B", .order = 6, .group = "07"});
    factory.sector({.code = "07", .name = "ACABAMENTO", .order = 7});
    factory.employee("001", "ANA");
    factory.employee("002", "BRUNO");
    factory.product({});
    factory.card({.prog = "000100", .ficha = "0001", .pairs = 12});
  }

  // Validates one request on a module created now (so that it reads the
  // parameters of the case) and checks that nothing was written.
  TRetorno validate(TdmAtuProducao& module, const TDadosAtuProducao& request) {
    const std::int64_t postings = count("PRODUCAO_SETOR");
    const std::int64_t operations = count("PRODUCAO_SETOR_OPERACAO");
    const std::int64_t cutPostings = count("FICHA_CORTE_ATU_SETOR");
    module.DadosAtuProducao = request;
    TRetorno answer = module.ValidaAtuProducao();
    EXPECT_EQ(count("PRODUCAO_SETOR"), postings);
    EXPECT_EQ(count("PRODUCAO_SETOR_OPERACAO"), operations);
    EXPECT_EQ(count("FICHA_CORTE_ATU_SETOR"), cutPostings);
    return answer;
  }

  void runCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.what);
      resetFactory();
      if (c.state) c.state(factory);
      auto module = createModule();
      ASSERT_TRUE(startupErrors.empty());
      const TRetorno answer = validate(*module, c.request);
      EXPECT_EQ(answer.Sucesso, c.accepted);
      EXPECT_EQ(answer.Mensagem, c.message);
      EXPECT_EQ(module->DadosAtuProducao.Qtde, c.quantity);
      if (c.check) c.check(module->DadosAtuProducao);
    }
  }

  // --- Requests as identification leaves them, employee 001 at the terminal.

  static TDadosAtuProducao mainCard(const std::string& sector, const std::string& prog = "000100",
                                    const std::string& ficha = "0001") {
    TDadosAtuProducao dados;
    dados.Setor = sector;
    dados.Funcionario = "001";
    dados.TipoAtualizacao = "F";
    dados.Prog = prog;
    dados.Ficha = ficha;
    dados.SubFicha = "0000";
    return dados;
  }
  static TDadosAtuProducao subCard(const std::string& sector, const std::string& subFicha) {
    TDadosAtuProducao dados = mainCard(sector);
    dados.TipoAtualizacao = "S";
    dados.SubFicha = subFicha;
    dados.PossuiSubFicha = true;
    return dados;
  }
  static TDadosAtuProducao boxLabel(const std::string& sector, int code, const std::string& talao) {
    TDadosAtuProducao dados = subCard(sector, talao);
    dados.TipoAtualizacao = "T";
    dados.CodCxColet = code;
    return dados;
  }
  static TDadosAtuProducao subProduction(const std::string& sector, int id,
                                         const std::string& subFicha) {
    TDadosAtuProducao dados = subCard(sector, subFicha);
    dados.TipoAtualizacao = "I";
    dados.IdSubProd = id;
    return dados;
  }
  static TDadosAtuProducao cutCard(const std::string& sector, int id) {
    TDadosAtuProducao dados;
    dados.Setor = sector;
    dados.Funcionario = "001";
    dados.TipoAtualizacao = "FC";
    dados.IdFichaCorte = id;
    dados.FichaCorte = true;
    return dados;
  }
  static TDadosAtuProducao operation(const std::string& sector, const std::string& subFicha,
                                     const std::string& code) {
    TDadosAtuProducao dados = mainCard(sector);
    dados.TipoAtualizacao = "O";
    dados.SubFicha = subFicha;
    dados.PossuiSubFicha = subFicha != "0000";
    dados.Operacao = code;
    return dados;
  }
  static TDadosAtuProducao withEmployee(TDadosAtuProducao dados, const std::string& employee) {
    dados.Funcionario = employee;
    return dados;
  }
  static TDadosAtuProducao withSector(TDadosAtuProducao dados, const std::string& sector) {
    dados.Setor = sector;
    return dados;
  }

  // A posting of the main card by employee 001.
  static FactoryBuilder::Posting posted(const std::string& sector,
                                        const std::string& subFicha = "0000") {
    return {.prog = "000100",
            .ficha = "0001",
            .subFicha = subFicha,
            .sector = sector,
            .employee = "001"};
  }

  FactoryBuilder factory{connection()};
};

}  // namespace mts::test
