#include "production/cards/CutCards.h"

#include "production/CardCodeText.h"
#include "production/DateTimeText.h"

namespace mts {

namespace {

// A date column as a timestamp; null reads as the zero timestamp, which no
// check counts as a date.
db::Timestamp dateOf(const db::Row& row, const char* column) {
  return row.isNull(column) ? db::Timestamp{} : row.timestamp(column);
}

std::string sqlFichaCorteText() {
  return sqlLines(
      {"select ID_FC, MPRIMA_FC, COR_FC, FACA_FC, QTDE_TOT_FC, DATA_CANCELAMENTO_FC,",
       "(select DESC_MP from MPRIMA MP where MP.COD_MP = FC.MPRIMA_FC) as DESC_MPRIMA,",
       "(select DESC_TA from TABELA TA where TA.NUM_TA = '23' and TA.COD_TA = FC.COR_FC) as "
       "DESC_COR,",
       "(select DESCRICAO_FC from FACA FA where FA.COD_FC = FC.FACA_FC) as DESC_FACA,",
       "(SELECT F.NOME_FU FROM FUNCIONARIO F WHERE F.CODIGO_FU = ATU.FUNCIONARIO_FS) "
       "NOME_FUNC,",
       "ATU.DATA_SAIDA_FS  DATA_ATU", "from FICHA_CORTE FC",
       "left join FICHA_CORTE_ATU_SETOR ATU on ATU.ID_FICHA_CORTE_FS = FC.ID_FC and "
       "ATU.SETOR_FS "
       "= :SETOR",
       "where ID_FC=:ID_FICHA"});
}

std::string sqlFichaCorteAtuText() {
  return sqlLines({"insert into FICHA_CORTE_ATU_SETOR (", "ID_FS,", "ID_FICHA_CORTE_FS,",
                   "SETOR_FS,", "FUNCIONARIO_FS,", "DATA_SAIDA_FS)", "", "values (", "0,",
                   ":ID_FICHA_CORTE,", ":SETOR,", ":FUNCIONARIO,", ":DATA_SAIDA)"});
}

}  // namespace

CutCards::CutCards()
    : sqlFichaCorte(sqlFichaCorteText()), sqlFichaCorteAtu(sqlFichaCorteAtuText()) {}

void CutCards::DefinirConexao(db::Connection& connection) {
  sqlFichaCorte.setConnection(&connection);
  sqlFichaCorteAtu.setConnection(&connection);
}

bool CutCards::VerificarFichaCorte(std::int32_t id, const std::string& setor,
                                   std::string& mensagem) {
  sqlFichaCorte.close();
  sqlFichaCorte.params().set("ID_FICHA", id).set("SETOR", setor);
  sqlFichaCorte.open();
  if (sqlFichaCorte.isEmpty()) {
    mensagem = "Ficha " + cutCardCode(id) + " n\xE3o encontrada.";
    return false;
  }

  const db::Row& ficha = sqlFichaCorte.row();
  // Dates up to the start of 2000 are placeholders of old data, not postings.
  const db::Timestamp atualizada = dateOf(ficha, "DATA_ATU");
  if (isAfterYear2000Start(atualizada)) {
    mensagem = "Ficha j\xE1 atualizada em " + formatDateTime(atualizada) + ".";
    const std::string funcionario = ficha.text("NOME_FUNC");
    if (!funcionario.empty()) mensagem += " Func: " + funcionario;
    return false;
  }
  const db::Timestamp cancelada = dateOf(ficha, "DATA_CANCELAMENTO_FC");
  if (isAfterYear2000Start(cancelada)) {
    mensagem = "Ficha Cancelada em " + formatDateTime(cancelada) + ".";
    return false;
  }
  return true;
}

void CutCards::GravarFichaCorteAtuSetor(const TDadosAtuProducao& dados,
                                        const db::Timestamp& dataHora) {
  sqlFichaCorteAtu.params()
      .set("ID_FICHA_CORTE", dados.IdFichaCorte)
      .set("SETOR", dados.Setor)
      .set("FUNCIONARIO", dados.Funcionario)
      .set("DATA_SAIDA", dataHora);
  sqlFichaCorteAtu.execute();
}

std::vector<NamedStatement> CutCards::Statements() {
  return {{"CutCards.sqlFichaCorte", sqlFichaCorteText()},
          {"CutCards.sqlFichaCorteAtu", sqlFichaCorteAtuText()}};
}

}  // namespace mts
