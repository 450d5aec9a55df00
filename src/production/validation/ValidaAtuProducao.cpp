#include <string>

#include "production/validation/PostingValidation.h"

// The pipeline that decides whether a card may be posted in a sector now. The
// checks run in a fixed order and the first refusal ends it; cut cards and
// operation cards take a short path of their own.

namespace mts {

TRetorno PostingValidation::ValidaAtuProducao() {
  TDadosAtuProducao& dados = dados_;

  // Sectors are few and every check reads them, so they are reloaded whole
  // (once per card: identification has usually just done it). Employee names
  // are read by key when a message needs one: the same answers as a fresh
  // employee list, at a cost that does not grow with the staff.
  lists_.AtualizarSetoresParaValidacao();
  // The card's postings and the sectors' groups may serve several checks of
  // this validation only.
  CardPostings::ValidationScope escopo(postagens);
  const SectorGroups::ValidationScope escopoGrupos(grupos);

  TRetorno retorno;
  dados.Qtde = 0;
  dados.CampoData = "DTSAIDA_PS";
  dados.CampoHora = "HORASAIDA_PS";
  dados.BaixaSetorEntrada =
      parametrosDb_.NomeEmpresaDaFicha() == kEmpresaBrisal || parametros_.BAIXA_SETOR_ENTRADA;
  dados.DataHora = relogio.DataHoraServidor();
  dados.FilialEstoque = parametros_.FILIAL_ESTOQUE;
  dados.VerificaLiberacaoItemTalao = parametros_.VERIFICA_LIBERACAO_ITEM_TALAO;
  const std::string grupo = grupos.SetorAgrupamento(dados.Setor);

  std::string& mensagem = retorno.Mensagem;
  if (!sequencia.ValidarSetorFuncionario(mensagem)) return retorno;

  if (dados.TipoAtualizacao == "FC") {
    if (!cutCards_.VerificarFichaCorte(dados.IdFichaCorte, dados.Setor, mensagem)) return retorno;
    dados.Qtde = cutCards_.FichaCorte().row().number("QTDE_TOT_FC");
    retorno.Sucesso = true;
    return retorno;
  }
  if (dados.TipoAtualizacao == "O") {
    retorno.Sucesso = ValidarFichaOperacao(mensagem);
    return retorno;
  }

  if (!ordemProducao.VerificarFichaOpSetor(dados.Prog, dados.Ficha, dados.Setor).Sucesso) {
    mensagem =
        "Ficha Opera\xE7\xE3o Setor gerada/n\xE3o atualizada, n\xE3o \xE9 poss\xEDvel atualizar a "
        "ficha.";
    return retorno;
  }
  if (ordemProducao.ProgEncerrada(dados.Prog, mensagem)) return retorno;
  if (!sequencia.ValidarTipoAtuSetor(mensagem)) return retorno;
  if (!ordemProducao.ValidarBxReqMPrima(dados.Setor, dados.Prog, dados.Ficha, mensagem)) {
    return retorno;
  }
  sequencia.AbrirItemFicha();
  if (!sequencia.ValidarSetorProduto(sequencia.ProdutoItem(), mensagem)) return retorno;
  if (!sequencia.ValidarSetoresAnteriores(mensagem)) return retorno;
  if (!ValidarTipoFicha(grupo, mensagem)) return retorno;

  // A whole card's rows may be loaded already, for the checks above.
  if (!postagens.CarregarFichaInteira(dados.Prog, dados.Ficha, dados.IdSubProd,
                                      dados.PossuiSubFicha)) {
    postagens.AbrirProdSetor(dados.Prog, dados.Ficha, std::string(), dados.IdSubProd,
                             dados.SubFicha, dados.PossuiSubFicha);
  }
  if (!regrasPostagem.ValidarAgrupamento(grupo, mensagem)) return retorno;
  if (!regrasPostagem.ValidarBaixaRepetida(mensagem)) return retorno;
  escopo.ManterParaGravacao();
  retorno.Sucesso = true;
  return retorno;
}

bool PostingValidation::ValidarTipoFicha(const std::string& grupo, std::string& mensagem) {
  const std::string& tipo = dados_.TipoAtualizacao;
  if (tipo == "F") {
    if (!tiposFicha.ValidarProgFicha(mensagem)) return false;
    if (tiposFicha.SubfichasBaixadas(mensagem)) return false;
    return !(parametros_.BAIXA_POR_SUBFICHA && tiposFicha.PossuiSubfichas(mensagem));
  }
  if (tiposFicha.FichaPrincipalBaixada(grupo, mensagem)) return false;
  if (tipo == "T") return ValidarCodCxColet(mensagem);
  if (tipo == "I") return ValidarCodSubProd(mensagem);
  if (tipo == "S") return tiposFicha.ValidarSubFicha(mensagem);
  return true;
}

bool PostingValidation::ValidarFichaOperacao(std::string& mensagem) {
  operations_.AbrirProdSetorOperacao(dados_);
  return ordemProducao.ValidarFichaOperacao(operations_.ProdSetorOperacao(), mensagem);
}

bool PostingValidation::ValidarCodCxColet(std::string& mensagem) {
  if (!identification_.LocalizarCodCxColet(dados_.CodCxColet, mensagem)) return false;
  return tiposFicha.ValidarCaixa(identification_.CodCxCol().row(), mensagem);
}

bool PostingValidation::ValidarCodSubProd(std::string& mensagem) {
  if (!identification_.LocalizarSubProd(dados_.IdSubProd, mensagem)) return false;
  return tiposFicha.ValidarSubProducao(identification_.CodSubProd().row(), mensagem);
}

}  // namespace mts
