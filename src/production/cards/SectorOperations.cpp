#include "production/cards/SectorOperations.h"

#include <vector>

#include "dataaccess/datasets/DatasetText.h"

namespace mts {

namespace {

std::vector<db::Value> operationKey(const TDadosAtuProducao& dados, const std::string& operacao) {
  return {dados.Prog, dados.Ficha, dados.SubFicha, dados.Setor, operacao};
}

std::string sqlOperacaoFichaText() {
  return sqlLines(
      {"SELECT * FROM PRODUCAO_OP_SETOR O WHERE O.PROG_OS = :PROG AND O.FICHA_OS = "
       ":FICHA AND O.SETOR_OS = :SETOR"});
}

std::string sqlNomeSetorText() {
  return sqlLines({"select S.NOME_SE", "from SETOR S", "where S.COD_SE = :CODIGO"});
}

std::vector<std::string> cdsProdSetorOperacaoLines() {
  return {"SELECT * FROM PRODUCAO_SETOR_OPERACAO SO",
          "WHERE SO.PROG_SO = :PROG AND SO.FICHA_SO = :FICHA",
          "AND SO.SUBFICHA_SO = :SUBFICHA AND SO.SETOR_SO = :SETOR"};
}

}  // namespace

SectorOperations::SectorOperations()
    : sqlOperacaoFicha(sqlOperacaoFichaText()), sqlNomeSetor(sqlNomeSetorText()) {
  cdsProdSetorOperacao.setSQL(cdsProdSetorOperacaoLines());
  cdsProdSetorOperacao.setIndexFieldNames("PROG_SO;FICHA_SO;SUBFICHA_SO;SETOR_SO;OPERACAO_SO");
}

void SectorOperations::DefinirConexao(db::Connection& connection) {
  sqlOperacaoFicha.setConnection(&connection);
  sqlNomeSetor.setConnection(&connection);
  cdsProdSetorOperacao.setSQLConnection(&connection);
}

void SectorOperations::AbrirProdSetorOperacao(const TDadosAtuProducao& dados) {
  cdsProdSetorOperacao.close();
  cdsProdSetorOperacao.params()
      .set("PROG", dados.Prog)
      .set("FICHA", dados.Ficha)
      .set("SUBFICHA", dados.SubFicha)
      .set("SETOR", dados.Setor);
  cdsProdSetorOperacao.open();
}

void SectorOperations::GravarProdSetorOperacao(const TDadosAtuProducao& dados) {
  AbrirProdSetorOperacao(dados);
  if (cdsProdSetorOperacao.findKey(operationKey(dados, dados.Operacao))) {
    return;  // already recorded: never a second row
  }

  cdsProdSetorOperacao.append();
  cdsProdSetorOperacao.setValue("ID_SO", 0);
  cdsProdSetorOperacao.setValue("PROG_SO", dados.Prog);
  cdsProdSetorOperacao.setValue("FICHA_SO", dados.Ficha);
  cdsProdSetorOperacao.setValue("SUBFICHA_SO", dados.SubFicha);
  cdsProdSetorOperacao.setValue("SETOR_SO", dados.Setor);
  cdsProdSetorOperacao.setValue("OPERACAO_SO", dados.Operacao);
  cdsProdSetorOperacao.setValue("FUNCIONARIO_SO", dados.Funcionario);
  cdsProdSetorOperacao.setValue("DATA_ATUALIZACAO_SO", dados.DataHora);
  cdsProdSetorOperacao.setValue("QTDE_SO", dados.Qtde);
  cdsProdSetorOperacao.post();
  try {
    cdsProdSetorOperacao.applyUpdates();
  } catch (...) {
    // The refused row must not stay in the list, where it would count as
    // recorded; closing drops it. The error goes on to the caller.
    cdsProdSetorOperacao.close();
    throw;
  }
}

bool SectorOperations::OperacoesSetorConcluidas(const TDadosAtuProducao& dados) {
  sqlOperacaoFicha.close();
  sqlOperacaoFicha.params()
      .set("PROG", dados.Prog)
      .set("FICHA", dados.Ficha)
      .set("SETOR", dados.Setor);
  sqlOperacaoFicha.open();

  // The required operations carry no sub-card; the recorded ones do, so each
  // sub-card completes its own set. Nothing loaded means nothing recorded.
  bool concluidas = true;
  for (const db::Row& necessaria : sqlOperacaoFicha.rows()) {
    if (!cdsProdSetorOperacao.active() ||
        !cdsProdSetorOperacao.findKey(operationKey(dados, necessaria.text("OPERACAO_OS")))) {
      concluidas = false;
      break;
    }
  }
  sqlOperacaoFicha.close();
  return concluidas;
}

std::string SectorOperations::NomeSetor(const std::string& codigo) {
  sqlNomeSetor.close();
  sqlNomeSetor.params().set("CODIGO", codigo);
  sqlNomeSetor.open();
  return sqlNomeSetor.isEmpty() ? std::string() : sqlNomeSetor.row().text("NOME_SE");
}

std::vector<NamedStatement> SectorOperations::Statements() {
  return {{"SectorOperations.sqlOperacaoFicha", sqlOperacaoFichaText()},
          {"SectorOperations.sqlNomeSetor", sqlNomeSetorText()},
          {"SectorOperations.cdsProdSetorOperacao",
           dataset_text::joinLines(cdsProdSetorOperacaoLines())}};
}

}  // namespace mts
