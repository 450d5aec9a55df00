#include "production/identification/BadgeLookup.h"

#include <cstddef>

namespace mts {

namespace {

// The width the typed badge is cast to before it is compared; no stored badge
// is longer, so a longer text is simply not found instead of failing to convert.
constexpr std::size_t kLongestComparableBadge = 1000;

std::string sqlFuncCrachaText() {
  return sqlLines({"SELECT F.CRACHA_FU, F.CODIGO_FU, F.NOME_FU,",
                   "(SELECT FIRST 1 S.SETOR_SF FROM SETOR_FUNCIONARIO S WHERE "
                   "S.FUNCIONARIO_SF = F.CODIGO_FU) SETOR_FUNC",
                   "FROM FUNCIONARIO F WHERE F.CRACHA_FU <> '' AND F.ATIVO_FU = 'S'",
                   "AND F.CRACHA_FU = CAST(:CRACHA AS VARCHAR(1000))"});
}

}  // namespace

BadgeLookup::BadgeLookup() : sqlFuncCracha(sqlFuncCrachaText()) {}

void BadgeLookup::DefinirConexao(db::Connection& connection) {
  sqlFuncCracha.setConnection(&connection);
}

bool BadgeLookup::LocalizarFuncionario(const std::string& cracha, std::string& codigo,
                                       std::string& nome, std::string& setor) {
  codigo.clear();
  nome.clear();
  setor.clear();
  if (cracha.size() > kLongestComparableBadge) return false;
  sqlFuncCracha.close();
  sqlFuncCracha.params().set("CRACHA", cracha);
  sqlFuncCracha.open();
  // The database compares with its own padding rules and collation, so it only
  // narrows the search; the badge must match byte for byte. The cast lets a
  // typed text longer than the column be compared instead of failing to convert.
  bool encontrado = false;
  for (const db::Row& funcionario : sqlFuncCracha.rows()) {
    if (funcionario.text("CRACHA_FU") != cracha) continue;
    codigo = funcionario.text("CODIGO_FU");
    nome = funcionario.text("NOME_FU");
    setor = funcionario.text("SETOR_FUNC");
    encontrado = true;
    break;
  }
  sqlFuncCracha.close();
  return encontrado;
}

std::vector<NamedStatement> BadgeLookup::Statements() {
  return {{"BadgeLookup.sqlFuncCracha", sqlFuncCrachaText()}};
}

}  // namespace mts
