#include <string>

#include "production/TdmAtuProducao.h"

// Operations a card must go through in a sector (PRODUCAO_OP_SETOR), each
// recorded per card or sub-card as one PRODUCAO_SETOR_OPERACAO row, and the
// sector names used in messages.

namespace mts {

void TdmAtuProducao::AbrirProdSetorOperacao() {
  const TDadosAtuProducao& dados = DadosAtuProducao;
  cdsProdSetorOperacao.close();
  cdsProdSetorOperacao.params()
      .set("PROG", dados.Prog)
      .set("FICHA", dados.Ficha)
      .set("SUBFICHA", dados.SubFicha)
      .set("SETOR", dados.Setor);
  cdsProdSetorOperacao.open();
}

void TdmAtuProducao::GravarProdSetorOperacao() {
  const TDadosAtuProducao& dados = DadosAtuProducao;
  AbrirProdSetorOperacao();
  if (cdsProdSetorOperacao.findKey(
          {dados.Prog, dados.Ficha, dados.SubFicha, dados.Setor, dados.Operacao})) {
    return;  // already recorded: never a second row
  }

  sqlInsProdSetorOperacao.params()
      .set("PROG", dados.Prog)
      .set("FICHA", dados.Ficha)
      .set("SUBFICHA", dados.SubFicha)
      .set("SETOR", dados.Setor)
      .set("OPERACAO", dados.Operacao)
      .set("FUNCIONARIO", dados.Funcionario)
      .set("DATA_ATUALIZACAO", dados.DataHora)
      .set("QTDE", dados.Qtde);
  // A row the database refuses throws here, before the list is touched, so it
  // is never counted as recorded.
  sqlInsProdSetorOperacao.execute();
  // The list is read back rather than appended to, so it holds exactly what
  // the table now holds.
  AbrirProdSetorOperacao();
}

bool TdmAtuProducao::OperacoesSetorConcluidas() {
  const TDadosAtuProducao& dados = DadosAtuProducao;
  sqlOperacaoFicha.close();
  sqlOperacaoFicha.params()
      .set("PROG", dados.Prog)
      .set("FICHA", dados.Ficha)
      .set("SETOR", dados.Setor);
  sqlOperacaoFicha.open();

  // The required operations carry no sub-card; the recorded ones do, so each
  // sub-card completes its own set.
  bool concluidas = true;
  for (const db::Row& necessaria : sqlOperacaoFicha.rows()) {
    if (!cdsProdSetorOperacao.findKey({dados.Prog, dados.Ficha, dados.SubFicha, dados.Setor,
                                       necessaria.text("OPERACAO_OS")})) {
      concluidas = false;
      break;
    }
  }
  sqlOperacaoFicha.close();
  return concluidas;
}

std::string TdmAtuProducao::NomeSetor(const std::string& codigo) {
  sqlNomeSetor.close();
  sqlNomeSetor.params().set("CODIGO", codigo);
  sqlNomeSetor.open();
  return sqlNomeSetor.isEmpty() ? std::string() : sqlNomeSetor.row().text("NOME_SE");
}

}  // namespace mts
