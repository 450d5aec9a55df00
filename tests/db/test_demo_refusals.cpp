// Every refusal of the posting checks that db/README.md promises on the demo
// factory, produced the way a terminal produces it: badge, card code,
// identification, validation.

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "DemoDatabase.h"
#include "dataaccess/firebird/Connection.h"
#include "production/TdmAtuProducao.h"

namespace mts::schematest {
namespace {

const char* const kAccepted = "(accepted)";

class DemoRefusals : public ::testing::Test {
 protected:
  void SetUp() override {
    try {
      database_ = std::make_unique<DemoDatabase>();
      connection_ = std::make_unique<db::Connection>(database_->settings());
    } catch (const std::exception& error) {
      FAIL() << "the demo database could not be made: " << error.what();
    }
  }

  std::unique_ptr<TdmAtuProducao> module() {
    return std::make_unique<TdmAtuProducao>(
        *connection_, [](const std::string& message) { ADD_FAILURE() << message; });
  }

  // What the terminal's detail line would show for the code typed after the
  // badge; kAccepted when validation lets the card through.
  static std::string scan(TdmAtuProducao& module, const std::string& badge,
                          const std::string& code) {
    std::string employee, name, sector, message;
    if (!module.LocalizarFuncionario(badge, employee, name, sector)) return "FUNC. NAO LOCALIZADO";
    TDadosAtuProducao dados;
    if (!module.IdentificarFicha(code, sector, dados, message)) return message;
    dados.Funcionario = employee;
    module.DadosAtuProducao = dados;
    const TRetorno answer = module.ValidaAtuProducao();
    return answer.Sucesso ? kAccepted : answer.Mensagem;
  }

  // A posting the walk-through of the README would have recorded.
  void posted(const std::string& prog, const std::string& ficha, const std::string& subFicha,
              const std::string& sector, const std::string& employee) {
    connection_->execute(
        "insert into PRODUCAO_SETOR (ID_PS, PROG_PS, FICHA_PS, SUBFICHA_PS, SETOR_PS, DTSAIDA_PS, "
        "HORASAIDA_PS, FUNCIONAR_PS, QTDE_PS) values (0, :P, :F, :S, :SE, '2025-03-10 10:00:00', "
        "'10:00', :E, 12)",
        {{"P", prog}, {"F", ficha}, {"S", subFicha}, {"SE", sector}, {"E", employee}});
  }

  // A scan that the server records when validation accepts it.
  static std::string post(TdmAtuProducao& module, const std::string& badge,
                          const std::string& code) {
    const std::string detail = scan(module, badge, code);
    if (detail == kAccepted) module.GravarAtuProducao();
    return detail;
  }

  void switchOn(const std::string& parameter) {
    connection_->execute(
        "UPDATE PARAM SET VALOR_PA = 'S' WHERE GRUPO_PA = 'ATU_PRODUCAO' AND PARAM_PA = :P",
        {{"P", parameter}});
  }

  // "card/sub-card sector kind pairs box label entry exit" of every posting
  // after the demo's own (ids 1 to 8); entry and exit say whether each is set.
  std::vector<std::string> newPostings() {
    std::vector<std::string> rows;
    for (const db::Row& row :
         connection_->query("select * from PRODUCAO_SETOR where ID_PS > 8 order by ID_PS")) {
      rows.push_back(row.text("FICHA_PS") + "/" + row.text("SUBFICHA_PS") + " " +
                     row.text("SETOR_PS") + " " + row.text("TIPO_ATUALIZACAO_PS") + " " +
                     row.text("QTDE_PS") + " " + row.text("CODCXCOLET_PS") + " " +
                     row.text("ID_SUBPROD_PS") + (row.isNull("DTENTRADA_PS") ? " -" : " in") +
                     (row.isNull("DTSAIDA_PS") ? " -" : " out"));
    }
    return rows;
  }

  std::string itemStatus(const std::string& order, const std::string& item) {
    return connection_
        ->query("select SIT_IT from ITENSPV where PEDIDO_IT = :P and ITEM_IT = :I",
                {{"P", order}, {"I", item}})
        .front()
        .text("SIT_IT");
  }

  struct Scan {
    std::string badge, code, detail;
  };
  void expectPostings(TdmAtuProducao& module, const std::vector<Scan>& scans) {
    for (const Scan& s : scans) {
      SCOPED_TRACE(s.badge + " " + s.code);
      EXPECT_EQ(post(module, s.badge, s.code), s.detail);
    }
  }
  void expectScans(TdmAtuProducao& module, const std::vector<Scan>& scans) {
    for (const Scan& s : scans) {
      SCOPED_TRACE(s.badge + " " + s.code);
      EXPECT_EQ(scan(module, s.badge, s.code), s.detail);
    }
  }

  // A label, then its sub-card, then the other sub-card: the sector ends with
  // the card's 24 pairs exactly, each posting a row with its exit (also with
  // entry/exit mode on: partial postings have no separate entry).
  void partialPostingWalk(TdmAtuProducao& demo) {
    expectPostings(demo, {
                             {"1002", "100000203", kAccepted},
                             {"1002", "00010100020002", kAccepted},
                             {"1002", "00010100020002",
                              "Ficha j\xE1 atualizada no setor \"PESP. INTERNO\". Func: MARIA "
                              "APARECIDA SOUZA"},
                         });
    EXPECT_EQ(itemStatus("00004501", "002"), "P");
    EXPECT_EQ(post(demo, "1002", "00010100020001"), kAccepted);
    EXPECT_EQ(newPostings(), (std::vector<std::string>{"0002/0002 21 I 6 0 203 - out",
                                                       "0002/0002 21 S 6 0 0 - out",
                                                       "0002/0001 21 S 12 0 0 - out"}));
    EXPECT_EQ(itemStatus("00004501", "002"), "E");
  }

  std::unique_ptr<DemoDatabase> database_;
  std::unique_ptr<db::Connection> connection_;
};

TEST_F(DemoRefusals, FromTheFreshDemo) {
  auto demo = module();
  expectScans(
      *demo,
      {
          {"1001", "00010100010000",
           "Ficha j\xE1 atualizada no setor \"CORTE\". Func: JO\xC3O BATISTA DA SILVA"},
          {"1003", "00010100010000",
           "Ficha j\xE1 atualizada em outro setor do mesmo grupo. Func: MARIA APARECIDA SOUZA"},
          {"1010", "00010100010000",
           "Ficha atualizada no setor \"PESP. INTERNO\" desse Agrupamento Func: MARIA APARECIDA "
           "SOUZA"},
          {"1002", "0001010001000030", "Setor \"30\" inv\xE1lido para o Funcionario."},
          {"1001", "00010100020001", "Tipo de Atualiza\xE7\xE3o Inv\xE1lida para o Setor."},
          {"1002", "00010100030000", "Produto n\xE3o atualiza no setor \"21\"."},
          {"1005", "00010100020000", "O setor \"MONTAGEM\" n\xE3o foi atualizado."},
          {"1004", "00010200020000",
           "Os setores do agrupamento \"PESPONTO\"  n\xE3o foram atualizados."},
          {"1001", "00010100050000", "O setor possui ordem inferior ao setor inicial."},
          {"1001", "00010200010000", "Existe Bx. Req. M.Prima Pendente no Setor \"90\"."},
          {"1001", "00009900010000", "Programa\xE7\xE3o Encerrada."},
          {"1001", "00010100090000", "Prog./Ficha n\xE3o encontrada."},
          {"1004", "00010100040000",
           "Ficha Opera\xE7\xE3o Setor gerada/n\xE3o atualizada, n\xE3o \xE9 poss\xEDvel "
           "atualizar a ficha."},
          {"1002", "00010100010001",
           "A ficha principal j\xE1 foi baixada Func: MARIA APARECIDA SOUZA"},
          {"1003", "00010100010001",
           "Ficha Principal Atualizada no Setor \"21\" desse Agrupamento Func: MARIA APARECIDA "
           "SOUZA"},
          {"1002", "00010100020003", "SubFicha n\xE3o encontrada."},
          {"1004", "1000030530", "Tal\xE3o inv\xE1lido ou n\xE3o gerado."},
          {"1012", "00010100050000", "Setor anterior \"95\" inv\xE1lido."},
          {"1006", "1000030400",
           "C\xF3"
           "d. Cx Colet. \"304\" n\xE3o localizado."},
      });
}

TEST_F(DemoRefusals, AfterTheWalkThrough) {
  posted("000101", "0002", "0001", "21", "002");
  posted("000102", "0002", "0000", "10", "001");
  posted("000101", "0001", "0000", "30", "004");
  posted("000101", "0001", "0000", "40", "005");
  posted("000101", "0001", "0000", "50", "006");
  auto demo = module();
  expectScans(*demo, {
                         {"1002", "100000201",
                          "SubFicha Principal j\xE1 baixada. Func: MARIA APARECIDA SOUZA"},
                         {"1010", "00010200020000", kAccepted},
                     });
  posted("000102", "0002", "0000", "20", "010");
  expectScans(
      *demo, {
                 {"1002", "00010200020000",
                  "Ficha j\xE1 atualizada no setor de Agrupamento. Func: MARCOS VIN\xCD"
                  "CIUS ROCHA"},
                 {"1004", "00010200020000",
                  "Os setores do agrupamento \"PESPONTO\"  n\xE3o foram atualizados."},
                 {"1006", "00010100010000",
                  "Ficha j\xE1 atualizada no setor \"EXPEDI\xC7\xC3O\". Func: FRANCISCA DAS CHAGAS "
                  "CONCEI\xC7\xC3O"},
             });
}

TEST_F(DemoRefusals, Switches) {
  connection_->execute("UPDATE CONFIG SET NOME_EMPRESA = 'FENTAX'");
  auto demo = module();
  EXPECT_EQ(scan(*demo, "1001", "3000103001000"), kAccepted);
  posted("000103", "001", "0000", "10", "001");
  EXPECT_EQ(scan(*demo, "1002", "3000103001010"), kAccepted);
  EXPECT_EQ(demo->DadosAtuProducao.Qtde, 12);

  connection_->execute(
      "UPDATE PARAM SET VALOR_PA = 'S' WHERE GRUPO_PA = 'ATU_PRODUCAO' AND PARAM_PA = "
      "'BAIXA_POR_SUBFICHA'");
  connection_->execute("UPDATE CONFIG SET NOME_EMPRESA = 'BRISAL'");
  demo = module();
  EXPECT_EQ(scan(*demo, "1002", "00010100020000"), "Prog./Ficha possui subfichas.");
  EXPECT_EQ(scan(*demo, "1004", "00010100010000"), kAccepted);
  EXPECT_EQ(demo->DadosAtuProducao.CampoData, "DTENTRADA_PS");
}

TEST_F(DemoRefusals, EntryExitRecordsEachLabelsExitOnItsOwnRow) {
  switchOn("BAIXA_SETOR_ENTRADA");
  auto demo = module();
  const std::string labelPosted =
      "C\xF3"
      "d. Cx Colet. ou C\xF3"
      "d. SubFicha j\xE1 baixado. Func: ";
  expectPostings(
      *demo, {
                 {"1006", "1000030100", kAccepted},
                 {"1006", "1000030100", kAccepted},
                 {"1006", "1000030100", labelPosted + "FRANCISCA DAS CHAGAS CONCEI\xC7\xC3O"},
                 {"1002", "100000201", kAccepted},
                 {"1002", "00010100020001",
                  "Ficha j\xE1 atualizada no setor \"PESP. INTERNO\". Func: MARIA APARECIDA SOUZA"},
                 {"1002", "100000201", kAccepted},
                 {"1002", "100000201", labelPosted + "MARIA APARECIDA SOUZA"},
                 {"1002", "00010100020002", kAccepted},
                 {"1002", "00010100020002", kAccepted},
                 {"1002", "00010100020002",
                  "Ficha j\xE1 atualizada no setor \"PESP. INTERNO\". Func: MARIA APARECIDA SOUZA"},
             });
  EXPECT_EQ(newPostings(), (std::vector<std::string>{"0003/0001 50 T 12 301 0 in out",
                                                     "0002/0001 21 I 6 0 201 in out",
                                                     "0002/0002 21 S 12 0 0 in out"}));
}

TEST_F(DemoRefusals, PartialPostingCompletesTheCardExactly) {
  switchOn("BAIXA_PARCIAL");
  connection_->execute("UPDATE SETOR SET ATU_SIT_ITEM_ESTOQUE_SE = 'S' WHERE COD_SE = '21'");
  auto demo = module();
  partialPostingWalk(*demo);
}

TEST_F(DemoRefusals, PartialPostingWithEntryExitCompletesTheCardExactly) {
  switchOn("BAIXA_PARCIAL");
  switchOn("BAIXA_SETOR_ENTRADA");
  connection_->execute("UPDATE SETOR SET ATU_SIT_ITEM_ESTOQUE_SE = 'S' WHERE COD_SE = '21'");
  auto demo = module();
  partialPostingWalk(*demo);
  // The label's row has its exit and its whole sub-card is posted.
  EXPECT_EQ(post(*demo, "1002", "100000203"),
            "SubFicha Principal j\xE1 baixada. Func: MARIA APARECIDA SOUZA");
}

TEST_F(DemoRefusals, AStockSizeStarEntersOnce) {
  connection_->execute("INSERT INTO ITENSPVGRADE VALUES ('00004501', '001', '*', 2)");
  connection_->execute("UPDATE SETOR SET LIBERAR_SE = 'S' WHERE COD_SE = '40'");
  auto demo = module();
  expectPostings(*demo, {
                            {"1004", "00010100010000", kAccepted},
                            {"1005", "00010100010000", kAccepted},
                            {"1006", "00010100010000", kAccepted},
                        });
  std::vector<std::string> entries;
  for (const db::Row& row : connection_->query(
           "select TAMANHO_EMP, sum(QTDE_EMP) as PARES, count(*) as N from ENTRADAMP where "
           "PROG_EMP = '000101' and FICHA_EMP = '0001' group by TAMANHO_EMP order by 1")) {
    entries.push_back("[" + row.text("TAMANHO_EMP") + "] " + row.text("PARES") + " in " +
                      row.text("N"));
  }
  EXPECT_EQ(entries,
            (std::vector<std::string>{"[] 2 in 1", "[38] 4 in 1", "[39] 4 in 1", "[40] 4 in 1"}));
}

}  // namespace
}  // namespace mts::schematest
