#include "production/identification/CardIdentification.h"

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

std::string sqlCodCxColText() {
  return sqlLines(
      {"select CX.PEDIDO_CX, CX.ITEMPED_CX, IT.PROG_IT, IT.FICHA_IT, CX.TALAO_CX, QTDEPAR_CX, "
       "IT.PROD_IT, IT.PADRON_IT,",
       "CX.DATA_CANC_CX,", "(select DESC_PR", "from PRODUTO PR",
       "where PR.COD_PR = IT.PROD_IT) as DESC_PROD,", "(select PA.DESC_PP",
       "from PADRONIZ_PRODUTO PA", "where PA.PROD_PP = IT.PROD_IT and",
       "PA.PADRONIZ_PP = IT.PADRON_IT) as DESC_PAD, CX.NUMERACAO_CX, CX.QTPARES_CX, P.TIPO_PV, "
       "P.CODCLI_PV",
       "from CODCXCOLET CX",
       "inner join ITENSPV IT on IT.PEDIDO_IT = CX.PEDIDO_CX and IT.ITEM_IT = CX.ITEMPED_CX",
       "inner join PEDVENDA P on P.NUM_PV = IT.PEDIDO_IT", "where CODIGO_CX = :COD"});
}

std::string sqlCodSubProdText() {
  return sqlLines(
      {"select DISTINCT SP.prog_pr, SP.ficha_pr, sp.subficha_pr, SP.qtde_pr, IT.PROD_IT, "
       "IT.PADRON_IT,",
       "(select DESC_PR from PRODUTO PR where PR.COD_PR = IT.PROD_IT) as DESC_PROD,",
       "(select max(DESC_PA) from PADRONIZ PA where PA.PROD_PA = IT.PROD_IT and PA.CODIGO_PA = "
       "IT.PADRON_IT) as DESC_PAD",
       "from SUBPROD SP",
       "left join ITENSPV IT on IT.prog_it = SP.prog_pr and IT.ficha_it = SP.ficha_pr",
       "where SP.id_pr=:COD"});
}

std::string sqlProdOpSetorText() {
  return sqlLines(
      {"SELECT P.SETOR_OS, P.OPERACAO_OS, IT.PROG_IT, IT.FICHA_IT, IT.PROD_IT, IT.PADRON_IT,",
       "(SELECT DESC_PR FROM PRODUTO PR WHERE PR.COD_PR = IT.PROD_IT) AS DESC_PROD,",
       "(SELECT PA.DESC_PP FROM PADRONIZ_PRODUTO PA WHERE PA.PROD_PP = IT.PROD_IT AND "
       "PA.PADRONIZ_PP = IT.PADRON_IT) AS DESC_PAD,",
       "(SELECT DESC_TA FROM TABELA WHERE NUM_TA = 'OP' AND COD_TA = P.OPERACAO_OS) "
       "DESC_OPERACAO",
       "FROM PRODUCAO_OP_SETOR P",
       "INNER JOIN ITENSPV IT ON IT.PROG_IT = P.PROG_OS AND IT.FICHA_IT = P.FICHA_OS",
       "INNER JOIN PEDVENDA PD ON PD.NUM_PV = IT.PEDIDO_IT", "WHERE P.ID_OS = :ID_PROD_OP_SETOR"});
}

}  // namespace

CardIdentification::CardIdentification(const ProductionParameters& parametros,
                                       ParameterReader& parametrosDb, CachedLists& lists,
                                       CutCards& cutCards)
    : parametros_(parametros),
      parametrosDb_(parametrosDb),
      lists_(lists),
      cutCards_(cutCards),
      sqlCodCxCol(sqlCodCxColText()),
      sqlCodSubProd(sqlCodSubProdText()),
      sqlProdOpSetor(sqlProdOpSetorText()) {}

void CardIdentification::DefinirConexao(db::Connection& connection) {
  for (ModuleQuery* query : {&sqlCodCxCol, &sqlCodSubProd, &sqlProdOpSetor}) {
    query->setConnection(&connection);
  }
}

bool CardIdentification::LocalizarCodCxColet(std::int32_t codigo, std::string& mensagem) {
  return lookUp(sqlCodCxCol, "COD", codigo,
                "C\xF3"
                "d. Cx Colet. \"",
                mensagem);
}

bool CardIdentification::LocalizarSubProd(std::int32_t id, std::string& mensagem) {
  return lookUp(sqlCodSubProd, "COD", id,
                "C\xF3"
                "d. Sub Prod. \"",
                mensagem);
}

bool CardIdentification::LocalizarFichaOpSetor(std::int32_t id, std::string& mensagem) {
  return lookUp(sqlProdOpSetor, "ID_PROD_OP_SETOR", id,
                "C\xF3"
                "d. Ficha Op. Setor \"",
                mensagem);
}

std::vector<NamedStatement> CardIdentification::Statements() {
  return {{"CardIdentification.sqlCodCxCol", sqlCodCxColText()},
          {"CardIdentification.sqlCodSubProd", sqlCodSubProdText()},
          {"CardIdentification.sqlProdOpSetor", sqlProdOpSetorText()}};
}

}  // namespace mts
