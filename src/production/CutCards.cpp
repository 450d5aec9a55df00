#include <string>

#include "production/CardCodeText.h"
#include "production/DateTimeText.h"
#include "production/TdmAtuProducao.h"

// Cut cards of the cutting room: each is posted once per sector, as one
// FICHA_CORTE_ATU_SETOR row.

namespace mts {

namespace {

// A date column as a timestamp; null reads as the zero timestamp, which no
// check counts as a date.
db::Timestamp dateOf(const db::Row& row, const char* column) {
  return row.isNull(column) ? db::Timestamp{} : row.timestamp(column);
}

}  // namespace

bool TdmAtuProducao::VerificarFichaCorte(std::int32_t id, const std::string& setor,
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

void TdmAtuProducao::GravarFichaCorteAtuSetor(const db::Timestamp& dataHora) {
  const TDadosAtuProducao& dados = DadosAtuProducao;
  sqlFichaCorteAtu.params()
      .set("ID_FICHA_CORTE", dados.IdFichaCorte)
      .set("SETOR", dados.Setor)
      .set("FUNCIONARIO", dados.Funcionario)
      .set("DATA_SAIDA", dataHora);
  sqlFichaCorteAtu.execute();
}

}  // namespace mts
