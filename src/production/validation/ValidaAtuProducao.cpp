#include <string>

#include "production/TdmAtuProducao.h"

// The pipeline that decides whether a card may be posted in a sector now. The
// checks run in a fixed order and the first refusal ends it; cut cards and
// operation cards take a short path of their own.

namespace mts {

TRetorno TdmAtuProducao::ValidaAtuProducao() {
  TDadosAtuProducao& dados = DadosAtuProducao;

  // Sectors are few and every check reads them, so they are reloaded whole;
  // employee names are read by key when a message needs one, which answers as
  // a fresh employee list would at a cost that does not grow with the staff.
  cdsSetor.close();
  cdsSetor.open();

  TRetorno retorno;
  dados.Qtde = 0;
  dados.CampoData = "DTSAIDA_PS";
  dados.CampoHora = "HORASAIDA_PS";
  dados.BaixaSetorEntrada = NomeEmpresa() == kEmpresaBrisal || parametros_.BAIXA_SETOR_ENTRADA;
  dados.DataHora = DataHoraServidor();
  dados.FilialEstoque = parametros_.FILIAL_ESTOQUE;
  dados.VerificaLiberacaoItemTalao = parametros_.VERIFICA_LIBERACAO_ITEM_TALAO;
  const std::string grupo = SetorAgrupamento(dados.Setor);

  std::string& mensagem = retorno.Mensagem;
  if (!ValidarSetorFuncionario(mensagem)) return retorno;

  if (dados.TipoAtualizacao == "FC") {
    if (!VerificarFichaCorte(dados.IdFichaCorte, dados.Setor, mensagem)) return retorno;
    dados.Qtde = sqlFichaCorte.row().number("QTDE_TOT_FC");
    retorno.Sucesso = true;
    return retorno;
  }
  if (dados.TipoAtualizacao == "O") {
    retorno.Sucesso = ValidarFichaOperacao(mensagem);
    return retorno;
  }

  if (!VerificarFichaOpSetor(dados.Prog, dados.Ficha, dados.Setor).Sucesso) {
    mensagem =
        "Ficha Opera\xE7\xE3o Setor gerada/n\xE3o atualizada, n\xE3o \xE9 poss\xEDvel atualizar a "
        "ficha.";
    return retorno;
  }
  if (ProgEncerrada(dados.Prog, mensagem)) return retorno;
  if (!ValidarTipoAtuSetor(mensagem)) return retorno;
  if (!ValidarBxReqMPrima(dados.Setor, dados.Prog, dados.Ficha, mensagem)) return retorno;
  AbrirItemFicha();
  if (!ValidarSetorProduto(validacao_.sequencia.ProdutoItem(), mensagem)) return retorno;
  if (!ValidarSetoresAnteriores(mensagem)) return retorno;
  if (!ValidarTipoFicha(grupo, mensagem)) return retorno;

  AbrirProdSetor(dados.Prog, dados.Ficha, std::string(), dados.IdSubProd, dados.SubFicha);
  if (!ValidarAgrupamento(grupo, mensagem)) return retorno;
  if (!ValidarBaixaRepetida(mensagem)) return retorno;
  retorno.Sucesso = true;
  return retorno;
}

bool TdmAtuProducao::ValidarTipoFicha(const std::string& grupo, std::string& mensagem) {
  const std::string& tipo = DadosAtuProducao.TipoAtualizacao;
  if (tipo == "F") {
    if (!ValidarProgFicha(mensagem)) return false;
    if (SubfichasBaixadas(mensagem)) return false;
    return !(parametros_.BAIXA_POR_SUBFICHA && PossuiSubfichas(mensagem));
  }
  if (FichaPrincipalBaixada(grupo, mensagem)) return false;
  if (tipo == "T") return ValidarCodCxColet(mensagem);
  if (tipo == "I") return ValidarCodSubProd(mensagem);
  if (tipo == "S") return ValidarSubFicha(mensagem);
  return true;
}

bool TdmAtuProducao::ValidarFichaOperacao(std::string& mensagem) {
  AbrirProdSetorOperacao();
  return validacao_.ordemProducao.ValidarFichaOperacao(cdsProdSetorOperacao, mensagem);
}

bool TdmAtuProducao::ValidarCodCxColet(std::string& mensagem) {
  if (!LocalizarCodCxColet(DadosAtuProducao.CodCxColet, mensagem)) return false;
  return validacao_.tiposFicha.ValidarCaixa(sqlCodCxCol.row(), mensagem);
}

bool TdmAtuProducao::ValidarCodSubProd(std::string& mensagem) {
  if (!LocalizarSubProd(DadosAtuProducao.IdSubProd, mensagem)) return false;
  return validacao_.tiposFicha.ValidarSubProducao(sqlCodSubProd.row(), mensagem);
}

}  // namespace mts
