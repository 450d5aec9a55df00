#include <string>

#include "production/TdmAtuProducao.h"

// Look-ups of the card kinds that are found by number. Each leaves its query
// open on the row found, for the caller to read.

namespace mts {

namespace {

bool lookUp(ModuleQuery& query, const char* parameter, std::int32_t number,
            const std::string& prefix, std::string& mensagem) {
  query.close();
  query.params().set(parameter, number);
  query.open();
  if (!query.isEmpty()) return true;
  mensagem = prefix + std::to_string(number) + "\" n\xE3o localizado.";
  return false;
}

}  // namespace

bool TdmAtuProducao::LocalizarCodCxColet(std::int32_t codigo, std::string& mensagem) {
  return lookUp(sqlCodCxCol, "COD", codigo,
                "C\xF3"
                "d. Cx Colet. \"",
                mensagem);
}

bool TdmAtuProducao::LocalizarSubProd(std::int32_t id, std::string& mensagem) {
  return lookUp(sqlCodSubProd, "COD", id,
                "C\xF3"
                "d. Sub Prod. \"",
                mensagem);
}

bool TdmAtuProducao::LocalizarFichaOpSetor(std::int32_t id, std::string& mensagem) {
  return lookUp(sqlProdOpSetor, "ID_PROD_OP_SETOR", id,
                "C\xF3"
                "d. Ficha Op. Setor \"",
                mensagem);
}

}  // namespace mts
