#include "production/validation/CardKindChecks.h"

#include <vector>

#include "production/CardCodeText.h"
#include "production/validation/ValidationText.h"

namespace mts {

namespace {

std::string sqlProgText() {
  return sqlLines({"select PROG_PR, FICHA_PR, QTDE_PR", "from PRODUCAO", "where PROG_PR=:PROG",
                   "and FICHA_PR=:FICHA"});
}

std::string sqlSubFichaProdSetorText() {
  return sqlLines(
      {"select count(*) as NumReg from producao_setor ps where ps.prog_ps = :prog",
       "and ps.ficha_ps = :ficha and ps.setor_ps = :setor and ps.subficha_ps <> '0000'"});
}

std::string sqlSubFichaText() {
  return sqlLines({"select * from subprod s where s.prog_pr = :PROG and s.ficha_pr = :FICHA"});
}

std::string sqlFichaProdSetorText() {
  return sqlLines(
      {"SELECT COUNT(*) AS NUMREG, (SELECT F.NOME_FU FROM FUNCIONARIO F WHERE F.CODIGO_FU = "
       "PS.FUNCIONAR_PS) NOME_FUNC",
       "FROM PRODUCAO_SETOR PS",
       "WHERE PS.PROG_PS = :PROG AND PS.FICHA_PS = :FICHA AND PS.SETOR_PS = :SETOR AND "
       "PS.SUBFICHA_PS = '0000'",
       "GROUP BY PS.FUNCIONAR_PS"});
}

std::string sqlSubPText() {
  return sqlLines({"select PROG_PR, FICHA_PR, SUBFICHA_PR, sum(QTDE_PR) as QTDE", "from SUBPROD",
                   "where PROG_PR=:PROG", "and FICHA_PR=:FICHA", "and SUBFICHA_PR=:SUBFICHA",
                   "group by PROG_PR, FICHA_PR, SUBFICHA_PR"});
}

// The postings of the sub-card in the sector, with the employee's name; the
// last line chooses which of them count.
std::string sqlSubProdText(const std::string& filtro) {
  return joinSqlLines(
      {"select p.*, (SELECT F.NOME_FU FROM FUNCIONARIO F WHERE F.CODIGO_FU = P.FUNCIONAR_PS) "
       "NOME_FUNC",
       "from PRODUCAO_SETOR p where p.PROG_PS = :PROG",
       "and p.FICHA_PS = :FICHA and p.SUBFICHA_PS = :SUBFICHA and p.SETOR_PS = :SETOR", filtro});
}

// The label's own row, entered and not yet left.
constexpr const char* kSaidaPendenteTalao =
    "and (p.CODCXCOLET_PS = :CODCXCOLET) and (p.DTSAIDA_PS is null)";
constexpr const char* kSaidaPendenteSubProducao =
    "and (p.ID_SUBPROD_PS = :IDSUBPROD) and (p.DTSAIDA_PS is null)";
// The whole sub-card, posted without a label.
constexpr const char* kSubFichaInteira =
    "and ((p.ID_SUBPROD_PS = 0) or (p.ID_SUBPROD_PS is null)) and ((p.CODCXCOLET_PS = 0) or "
    "(p.CODCXCOLET_PS is null)) and ((p.SUBPROD_MPRIMA_ID_PS = 0) or (p.SUBPROD_MPRIMA_ID_PS is "
    "null))";
// The label itself, or a label of the other kind of the same sub-card.
constexpr const char* kTalaoOuSubProducao =
    "and ((p.CODCXCOLET_PS = :CODCXCOLET) or (p.ID_SUBPROD_PS > 0) or "
    "(p.SUBPROD_MPRIMA_ID_PS > 0))";
constexpr const char* kSubProducaoOuTalao =
    "and ((p.ID_SUBPROD_PS = :IDSUBPROD) or (p.CODCXCOLET_PS > 0) or "
    "(p.SUBPROD_MPRIMA_ID_PS > 0))";

}  // namespace

CardKindChecks::CardKindChecks(SectorGroups& grupos, TDadosAtuProducao& dados)
    : grupos_(grupos),
      dados_(dados),
      sqlProg(sqlProgText()),
      sqlSubFichaProdSetor(sqlSubFichaProdSetorText()),
      sqlSubFicha(sqlSubFichaText()),
      sqlFichaProdSetor(sqlFichaProdSetorText()),
      sqlSubP(sqlSubPText()),
      sqlSubProd("") {}

void CardKindChecks::DefinirConexao(db::Connection& connection) {
  for (ModuleQuery* query :
       {&sqlProg, &sqlSubFichaProdSetor, &sqlSubFicha, &sqlFichaProdSetor, &sqlSubP, &sqlSubProd})
    query->setConnection(&connection);
}

bool CardKindChecks::ValidarProgFicha(std::string& mensagem) {
  sqlProg.close();
  sqlProg.params().set("PROG", dados_.Prog).set("FICHA", dados_.Ficha);
  sqlProg.open();
  dados_.Qtde = sqlProg.isEmpty() ? 0 : sqlProg.row().number("QTDE_PR");
  const bool encontrada = !sqlProg.isEmpty();
  sqlProg.close();
  if (!encontrada) mensagem = "Prog./Ficha n\xE3o encontrada.";
  return encontrada;
}

bool CardKindChecks::SubfichasBaixadas(std::string& mensagem) {
  if (postagens_ != nullptr &&
      postagens_->CarregarFichaInteira(dados_.Prog, dados_.Ficha, dados_.IdSubProd,
                                       dados_.PossuiSubFicha)) {
    const bool baixadas = postagens_->SubfichasNoSetor(dados_.Setor) > 0;
    if (baixadas) mensagem = "Prog./Ficha possui subfichas baixadas.";
    return baixadas;
  }
  sqlSubFichaProdSetor.close();
  sqlSubFichaProdSetor.params()
      .set("prog", dados_.Prog)
      .set("ficha", dados_.Ficha)
      .set("setor", dados_.Setor);
  sqlSubFichaProdSetor.open();
  const bool baixadas =
      !sqlSubFichaProdSetor.isEmpty() && sqlSubFichaProdSetor.row().integer("NumReg") > 0;
  sqlSubFichaProdSetor.close();
  if (baixadas) mensagem = "Prog./Ficha possui subfichas baixadas.";
  return baixadas;
}

bool CardKindChecks::PossuiSubfichas(std::string& mensagem) {
  sqlSubFicha.close();
  sqlSubFicha.params().set("PROG", dados_.Prog).set("FICHA", dados_.Ficha);
  sqlSubFicha.open();
  const bool possui = !sqlSubFicha.isEmpty();
  sqlSubFicha.close();
  if (possui) mensagem = "Prog./Ficha possui subfichas.";
  return possui;
}

bool CardKindChecks::fichaPrincipalBaixadaNoSetor(const std::string& setor,
                                                  std::string& funcionario) {
  sqlFichaProdSetor.close();
  sqlFichaProdSetor.params()
      .set("prog", dados_.Prog)
      .set("ficha", dados_.Ficha)
      .set("setor", setor);
  sqlFichaProdSetor.open();
  if (sqlFichaProdSetor.isEmpty() || sqlFichaProdSetor.row().integer("NUMREG") <= 0) return false;
  funcionario = sqlFichaProdSetor.row().text("NOME_FUNC");
  return true;
}

bool CardKindChecks::FichaPrincipalBaixada(const std::string& grupo, std::string& mensagem) {
  std::string funcionario;
  bool baixada = fichaPrincipalBaixadaNoSetor(dados_.Setor, funcionario);
  if (baixada) {
    mensagem = withEmployee("A ficha principal j\xE1 foi baixada", funcionario);
  } else if (grupos_.AbrirSetoresAgrupamento(dados_.Setor) ||
             grupos_.AbrirSetoresAgrupamento(grupo)) {
    for (const db::Row& membro : grupos_.Membros()) {
      const std::string setor = membro.text("COD_SE");
      if (fichaPrincipalBaixadaNoSetor(setor, funcionario)) {
        mensagem = withEmployee(
            "Ficha Principal Atualizada no Setor \"" + setor + "\" desse Agrupamento", funcionario);
        baixada = true;
        break;
      }
    }
  }
  sqlFichaProdSetor.close();
  return baixada;
}

bool CardKindChecks::ValidarCaixa(const db::Row& caixa, std::string& mensagem) {
  if (isBlankText(caixa.text("TALAO_CX"))) {
    mensagem = "Tal\xE3o inv\xE1lido ou n\xE3o gerado.";
    return false;
  }
  if (isBlankText(caixa.text("PEDIDO_CX"))) {
    const db::Timestamp cancelada =
        caixa.isNull("DATA_CANC_CX") ? db::Timestamp{} : caixa.timestamp("DATA_CANC_CX");
    mensagem = "Cx Colet. CANCELADA em " + formatDayMonthTime(cancelada) + ".";
    return false;
  }
  if (SubfichaJaBaixada(mensagem)) return false;
  dados_.Qtde = caixa.number("QTDEPAR_CX");
  return true;
}

bool CardKindChecks::ValidarSubProducao(const db::Row& subProducao, std::string& mensagem) {
  if (SubfichaJaBaixada(mensagem)) return false;
  dados_.Qtde = subProducao.number("qtde_pr");
  return true;
}

void CardKindChecks::abrirPostagensSubFicha(const std::string& filtro) {
  sqlSubProd.setSql(sqlSubProdText(filtro));
  sqlSubProd.params()
      .set("PROG", dados_.Prog)
      .set("FICHA", dados_.Ficha)
      .set("SUBFICHA", dados_.SubFicha)
      .set("SETOR", dados_.Setor);
  sqlSubProd.open();
}

bool CardKindChecks::SaidaPendente() {
  if (dados_.TipoAtualizacao == "T") {
    sqlSubProd.params().set("CODCXCOLET", dados_.CodCxColet);
    abrirPostagensSubFicha(kSaidaPendenteTalao);
  } else {
    sqlSubProd.params().set("IDSUBPROD", dados_.IdSubProd);
    abrirPostagensSubFicha(kSaidaPendenteSubProducao);
  }
  const bool pendente = !sqlSubProd.isEmpty();
  sqlSubProd.close();
  return pendente;
}

bool CardKindChecks::SubfichaJaBaixada(std::string& mensagem) {
  // Entry/exit mode: the label's own row with its entry and no exit is the
  // row this posting completes, whatever else of the sub-card was posted
  // since (the repeated-posting rule takes it as the exit).
  if (dados_.BaixaSetorEntrada && SaidaPendente()) return false;
  abrirPostagensSubFicha(kSubFichaInteira);
  std::string refusal;
  if (!sqlSubProd.isEmpty()) {
    refusal = "SubFicha Principal j\xE1 baixada.";
  } else {
    if (dados_.TipoAtualizacao == "T") {
      sqlSubProd.params().set("CODCXCOLET", dados_.CodCxColet);
      abrirPostagensSubFicha(kTalaoOuSubProducao);
    } else {
      sqlSubProd.params().set("IDSUBPROD", dados_.IdSubProd);
      abrirPostagensSubFicha(kSubProducaoOuTalao);
    }
    if (!sqlSubProd.isEmpty()) {
      refusal =
          "C\xF3"
          "d. Cx Colet. ou C\xF3"
          "d. SubFicha j\xE1 baixado.";
    }
  }
  const bool baixada = !refusal.empty();
  if (baixada) mensagem = withEmployee(refusal, sqlSubProd.row().text("NOME_FUNC"));
  sqlSubProd.close();
  return baixada;
}

bool CardKindChecks::ValidarSubFicha(std::string& mensagem) {
  sqlSubP.close();
  sqlSubP.params()
      .set("PROG", dados_.Prog)
      .set("FICHA", dados_.Ficha)
      .set("SUBFICHA", dados_.SubFicha);
  sqlSubP.open();
  dados_.Qtde = sqlSubP.isEmpty() ? 0 : sqlSubP.row().number("QTDE");
  const bool encontrada = !sqlSubP.isEmpty();
  sqlSubP.close();
  if (!encontrada) mensagem = "SubFicha n\xE3o encontrada.";
  return encontrada;
}

std::vector<NamedStatement> CardKindChecks::Statements() {
  return {{"CardKindChecks.sqlProg", sqlProgText()},
          {"CardKindChecks.sqlSubFichaProdSetor", sqlSubFichaProdSetorText()},
          {"CardKindChecks.sqlSubFicha", sqlSubFichaText()},
          {"CardKindChecks.sqlFichaProdSetor", sqlFichaProdSetorText()},
          {"CardKindChecks.sqlSubP", sqlSubPText()},
          {"CardKindChecks.sqlSubProd whole subcard", sqlSubProdText(kSubFichaInteira)},
          {"CardKindChecks.sqlSubProd box label", sqlSubProdText(kTalaoOuSubProducao)},
          {"CardKindChecks.sqlSubProd subproduction label", sqlSubProdText(kSubProducaoOuTalao)},
          {"CardKindChecks.sqlSubProd box label exit", sqlSubProdText(kSaidaPendenteTalao)},
          {"CardKindChecks.sqlSubProd subproduction label exit",
           sqlSubProdText(kSaidaPendenteSubProducao)}};
}

}  // namespace mts
