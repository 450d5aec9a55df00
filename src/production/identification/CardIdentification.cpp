#include "production/identification/CardIdentification.h"

#include "production/CardCodeText.h"
#include "production/ParameterConversion.h"
#include "production/identification/CardCodeWidths.h"

// Deciding from the shape of a code which kind of card it is, and filling the
// card members of the request.

namespace mts {

namespace {

// Identification starts from a clean card: everything it may fill is emptied,
// the posting members (CampoData onwards) are left as the caller passed them.
void clearCardFields(TDadosAtuProducao& dados) {
  dados.Setor.clear();
  dados.Funcionario.clear();
  dados.TipoAtualizacao.clear();
  dados.TipoOperacaoSetor.clear();
  dados.Prog.clear();
  dados.Ficha.clear();
  dados.SubFicha.clear();
  dados.Operacao.clear();
  dados.IdSubProd = 0;
  dados.IdFichaCorte = 0;
  dados.CodCxColet = 0;
  dados.PossuiSubFicha = false;
  dados.FichaCorte = false;
}

bool startsWith(const std::string& text, const char* prefix) {
  return text.rfind(prefix, 0) == 0;
}

}  // namespace

bool CardIdentification::IdentificarFicha(const std::string& codigo,
                                          const std::string& setorFuncionario,
                                          TDadosAtuProducao& dados, std::string& mensagem) {
  parametrosDb_.IniciarFicha();
  lists_.AtualizarParaFicha();
  clearCardFields(dados);
  if (IdentificarPeloFormato(codigo, setorFuncionario, dados, mensagem)) return true;
  // A refused card is not validated: what it read must not stand in for what
  // a validation that comes later reads.
  lists_.DescartarSetoresDaFicha();
  parametrosDb_.IniciarFicha();
  return false;
}

bool CardIdentification::IdentificarPeloFormato(const std::string& codigo,
                                                const std::string& setorFuncionario,
                                                TDadosAtuProducao& dados, std::string& mensagem) {
  // The shapes are tried in this order; the first that fits decides.
  const std::size_t tamanho = codigo.size();
  if (SetorBaixaFichaCorte(setorFuncionario) && tamanho == 12 && startsWith(codigo, "28")) {
    return IdentificarFichaCorte(codigo, setorFuncionario, dados, mensagem);
  }
  if (startsWith(codigo, "OP") && tamanho == 13) {
    return IdentificarFichaOpSetor(codigo, setorFuncionario, dados, mensagem);
  }
  if (tamanho == 10 || tamanho == 12) {
    if (parametrosDb_.NomeEmpresaParaFicha() == kEmpresaLumora || parametros_.BAIXA_POR_TALAO) {
      return IdentificarTalao(codigo, setorFuncionario, dados, mensagem);
    }
  }
  if (tamanho == 9) return IdentificarSubProd(codigo, setorFuncionario, dados, mensagem);
  return IdentificarFichaProducao(codigo, setorFuncionario, dados, mensagem);
}

bool CardIdentification::IdentificarFichaCorte(const std::string& codigo,
                                               const std::string& setorFuncionario,
                                               TDadosAtuProducao& dados, std::string& mensagem) {
  dados.IdFichaCorte = integerFromText(codeCharacters(codigo, 3, 12));
  if (!cutCards_.VerificarFichaCorte(dados.IdFichaCorte, setorFuncionario, mensagem)) return false;
  dados.TipoAtualizacao = "FC";
  dados.FichaCorte = true;
  return CompletarDados(dados, setorFuncionario, mensagem);
}

bool CardIdentification::IdentificarFichaOpSetor(const std::string& codigo,
                                                 const std::string& setorFuncionario,
                                                 TDadosAtuProducao& dados, std::string& mensagem) {
  const std::int32_t id = integerFromText(codeCharacters(codigo, 7, 13));
  if (!LocalizarFichaOpSetor(id, mensagem)) return false;
  const db::Row& operacao = sqlProdOpSetor.row();
  dados.TipoAtualizacao = "O";
  dados.Prog = operacao.text("PROG_IT");
  dados.Ficha = operacao.text("FICHA_IT");
  dados.SubFicha = codeCharacters(codigo, 3, 6);
  dados.Setor = operacao.text("SETOR_OS");
  dados.Operacao = operacao.text("OPERACAO_OS");
  return CompletarDados(dados, setorFuncionario, mensagem);
}

bool CardIdentification::IdentificarTalao(const std::string& codigo,
                                          const std::string& setorFuncionario,
                                          TDadosAtuProducao& dados, std::string& mensagem) {
  // The first character and the last two (the sector) are not part of the number.
  const std::size_t tamanho = codigo.size();
  dados.CodCxColet = integerFromText(codeCharacters(codigo, 2, tamanho - 2));
  const std::string setor = codeCharacters(codigo, tamanho - 1, tamanho);
  if (setor != "00") dados.Setor = setor;
  if (!LocalizarCodCxColet(dados.CodCxColet, mensagem)) return false;
  const db::Row& talao = sqlCodCxCol.row();
  dados.TipoAtualizacao = "T";
  dados.Prog = talao.text("PROG_IT");
  dados.Ficha = talao.text("FICHA_IT");
  dados.SubFicha = talao.text("TALAO_CX");
  return CompletarDados(dados, setorFuncionario, mensagem);
}

bool CardIdentification::IdentificarSubProd(const std::string& codigo,
                                            const std::string& setorFuncionario,
                                            TDadosAtuProducao& dados, std::string& mensagem) {
  dados.IdSubProd = integerFromText(codeCharacters(codigo, 2, 9));
  if (!LocalizarSubProd(dados.IdSubProd, mensagem)) return false;
  const db::Row& subProd = sqlCodSubProd.row();
  dados.TipoAtualizacao = "I";
  dados.Prog = subProd.text("prog_pr");
  dados.Ficha = subProd.text("ficha_pr");
  dados.SubFicha = subProd.text("subficha_pr");
  return CompletarDados(dados, setorFuncionario, mensagem);
}

bool CardIdentification::IdentificarFichaProducao(const std::string& codigo,
                                                  const std::string& setorFuncionario,
                                                  TDadosAtuProducao& dados, std::string& mensagem) {
  if (parametrosDb_.NomeEmpresaParaFicha() == kEmpresaFentax && codigo.size() == 13 &&
      codigo[0] == '3') {
    dados.Prog = codeCharacters(codigo, 2, 7);
    dados.Ficha = codeCharacters(codigo, 8, 10);
    dados.SubFicha = codeCharacters(codigo, 11, 12);
  } else if (!isBlankText(codigo)) {
    const ProductionParameters& p = parametros_;
    dados.Prog = normaliseProgramme(cutCodeField(codigo, p.PROG_POSINI, p.PROG_TAM));
    dados.Ficha = cutCodeField(codigo, p.FICHA_POSINI, p.FICHA_TAM);
    dados.SubFicha = cutCodeField(codigo, p.SUBFICHA_POSINI, p.SUBFICHA_TAM);
    if (p.SETOR_POSINI > 0) dados.Setor = cutCodeField(codigo, p.SETOR_POSINI, p.SETOR_TAM);
  }
  if (!CompletarDados(dados, setorFuncionario, mensagem)) return false;
  dados.TipoAtualizacao = dados.PossuiSubFicha ? "S" : "F";
  return true;
}

bool CardIdentification::CompletarDados(TDadosAtuProducao& dados,
                                        const std::string& setorFuncionario,
                                        std::string& mensagem) {
  if (dados.Setor.empty()) dados.Setor = setorFuncionario;
  // Checked before anything is looked up by these parts: a part longer than its
  // column is refused here with an answer, never sent to the database.
  dados.SubFicha = normaliseSubCard(dados.SubFicha);
  if (!CodigoCabeNasColunas(dados, mensagem)) return false;
  if (!lists_.cdsSetor.locate("COD_SE", db::Value(dados.Setor))) {
    mensagem = "Setor nao encontrado";
    return false;
  }
  dados.TipoOperacaoSetor = lists_.cdsSetor.text("TIPO_OPERACAO_SE");
  dados.PossuiSubFicha = dados.SubFicha != "0000";
  return true;
}

bool CardIdentification::SetorBaixaFichaCorte(const std::string& setor) const {
  return sectorListContains(parametros_.SETOR_BX_FICHA_CORTE, setor);
}

}  // namespace mts
