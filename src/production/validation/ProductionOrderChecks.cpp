#include "production/validation/ProductionOrderChecks.h"

#include <vector>

#include "production/DateTimeText.h"

namespace mts {

namespace {

std::string sqlFichaOpSetorText() {
  return sqlLines({"select count(*) QTDE_REG", "from PRODUCAO_OP_SETOR P",
                   "where P.PROG_OS = :PROG and", "P.FICHA_OS = :FICHA and",
                   "P.SETOR_OS = :SETOR and", "(select count(*)", "from PRODUCAO_SETOR_OPERACAO SO",
                   "where SO.PROG_SO = P.PROG_OS and", "SO.FICHA_SO = P.FICHA_OS and",
                   "SO.SETOR_SO = P.SETOR_OS and", "SO.OPERACAO_SO = P.OPERACAO_OS) = 0"});
}

std::string sqlProgEncerradaText() {
  return sqlLines({"SELECT ENCERRADA_PO", "FROM PROGRAMACAO", "WHERE NUM_PO = :PROG"});
}

std::string sqlBxReqSetorMpText() {
  return sqlLines({"SELECT COUNT(*) QTDE_REG", "FROM REQUISICAO_PRODUCAO_FICHA F",
                   "INNER JOIN REQUISICAO_PRODUCAO R ON R.ID_RP = F.ID_REQUISICAO_PRODUCAO_RF",
                   "INNER JOIN MPRIMA MP ON MP.COD_MP = R.MPRIMA_RP", "WHERE R.PROG_RP = :PROG",
                   "AND F.FICHA_RF = :FICHA", "AND MP.SETOR_MP = :SETOR_MP", "AND F.CONSUMO_RF > 0",
                   "AND (F.CONSUMO_RF - F.QTDE_SAIDA_RF + F.QTDE_RETORNO_RF) > 0"});
}

// Ordered pairs of a sub-card, and of a whole card.
std::string sqlTotParesSubFichaText() {
  return "SELECT SUM(QTDE_PR) TOT_PARES FROM SUBPROD WHERE PROG_PR = :PROG AND FICHA_PR = :FICHA "
         "AND SUBFICHA_PR = :SUBFICHA";
}

std::string sqlTotParesFichaText() {
  return "select sum (G.QTPED_IT) TOT_PARES from ITENSPV I left join ITENSPVGRADE G on "
         "G.PEDIDO_IT = I.PEDIDO_IT and G.ITEM_IT = I.ITEM_IT where I.PROG_IT = :PROG and "
         "I.FICHA_IT = :FICHA";
}

}  // namespace

ProductionOrderChecks::ProductionOrderChecks(const ProductionParameters& parametros,
                                             TDadosAtuProducao& dados)
    : parametros_(parametros),
      dados_(dados),
      sqlFichaOpSetor(sqlFichaOpSetorText()),
      sqlProgEncerrada(sqlProgEncerradaText()),
      sqlBxReqSetorMp(sqlBxReqSetorMpText()),
      sqlTotPares("") {}

void ProductionOrderChecks::DefinirConexao(db::Connection& connection) {
  for (ModuleQuery* query : {&sqlFichaOpSetor, &sqlProgEncerrada, &sqlBxReqSetorMp, &sqlTotPares})
    query->setConnection(&connection);
}

TRetorno ProductionOrderChecks::VerificarFichaOpSetor(const std::string& prog,
                                                      const std::string& ficha,
                                                      const std::string& setor) {
  sqlFichaOpSetor.close();
  sqlFichaOpSetor.params().set("PROG", prog).set("FICHA", ficha).set("SETOR", setor);
  sqlFichaOpSetor.open();
  const int pendentes = sqlFichaOpSetor.isEmpty() ? 0 : sqlFichaOpSetor.row().integer("QTDE_REG");
  if (pendentes <= 0) {
    return {true, "N\xE3o possui ficha de opera\xE7\xE3o por setor gerada/n\xE3o atualizada"};
  }
  return {false, "Possui ficha de opera\xE7\xE3o por setor gerada/n\xE3o atualizada"};
}

bool ProductionOrderChecks::ProgEncerrada(const std::string& prog, std::string& mensagem) {
  if (!parametros_.BLOQUEAR_ATU_PROG_ENCERRADA) return false;
  sqlProgEncerrada.close();
  sqlProgEncerrada.params().set("PROG", prog);
  sqlProgEncerrada.open();
  const bool encerrada =
      !sqlProgEncerrada.isEmpty() && sqlProgEncerrada.row().text("ENCERRADA_PO") == "S";
  sqlProgEncerrada.close();
  if (encerrada) mensagem = "Programa\xE7\xE3o Encerrada.";
  return encerrada;
}

bool ProductionOrderChecks::ValidarBxReqMPrima(const std::string& setor, const std::string& prog,
                                               const std::string& ficha, std::string& mensagem) {
  const std::string& setorMPrima = parametros_.VALIDA_BX_REQ_MP_COD_SETOR_MP;
  if (parametros_.VALIDA_BX_REQ_MP_COD_SETOR_ATU != setor || setorMPrima.empty()) return true;

  sqlBxReqSetorMp.close();
  sqlBxReqSetorMp.params().set("PROG", prog).set("FICHA", ficha).set("SETOR_MP", setorMPrima);
  sqlBxReqSetorMp.open();
  const int pendentes = sqlBxReqSetorMp.isEmpty() ? 0 : sqlBxReqSetorMp.row().integer("QTDE_REG");
  if (pendentes == 0) return true;
  mensagem = "Existe Bx. Req. M.Prima Pendente no Setor \"" + setorMPrima + "\".";
  return false;
}

bool ProductionOrderChecks::ValidarFichaOperacao(TVNClientDataSet& operacoes,
                                                 std::string& mensagem) {
  const std::vector<db::Value> chave = {dados_.Prog, dados_.Ficha, dados_.SubFicha, dados_.Setor,
                                        dados_.Operacao};
  if (operacoes.active() && operacoes.findKey(chave)) {
    const db::Timestamp quando = operacoes.isNull("DATA_ATUALIZACAO_SO")
                                     ? db::Timestamp{}
                                     : operacoes.timestamp("DATA_ATUALIZACAO_SO");
    mensagem = "Ficha de Opera\xE7\xE3o j\xE1 atualizada em " + formatDateTime(quando) + ".";
    return false;
  }
  dados_.Qtde = TotalParesFicha();
  return true;
}

double ProductionOrderChecks::TotalParesFicha() {
  // The values go as parameters: a quote in a programme or card number is
  // plain data.
  if (dados_.PossuiSubFicha) {
    sqlTotPares.setSql(sqlTotParesSubFichaText());
    sqlTotPares.params().set("SUBFICHA", dados_.SubFicha);
  } else {
    sqlTotPares.setSql(sqlTotParesFichaText());
  }
  sqlTotPares.params().set("PROG", dados_.Prog).set("FICHA", dados_.Ficha);
  sqlTotPares.open();
  const double pares = sqlTotPares.isEmpty() ? 0 : sqlTotPares.row().number("TOT_PARES");
  sqlTotPares.close();
  return pares;
}

std::vector<NamedStatement> ProductionOrderChecks::Statements() {
  return {{"ProductionOrderChecks.sqlFichaOpSetor", sqlFichaOpSetorText()},
          {"ProductionOrderChecks.sqlProgEncerrada", sqlProgEncerradaText()},
          {"ProductionOrderChecks.sqlBxReqSetorMp", sqlBxReqSetorMpText()},
          {"ProductionOrderChecks.sqlTotPares subcard", sqlTotParesSubFichaText()},
          {"ProductionOrderChecks.sqlTotPares card", sqlTotParesFichaText()}};
}

}  // namespace mts
