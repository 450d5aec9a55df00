#include "FactoryBuilder.h"

#include "support/DatabaseRows.h"

namespace mts::test {

namespace {

db::Value optionalTimestamp(const std::optional<db::Timestamp>& moment) {
  return moment ? db::Value(*moment) : db::Value(db::Null{});
}

}  // namespace

void FactoryBuilder::clear() {
  for (const char* table : {"PARAM",
                            "SETOR",
                            "FUNCIONARIO",
                            "SETOR_FUNCIONARIO",
                            "PRODUTO",
                            "PRODUTO_SETOR",
                            "PADRONIZ_PRODUTO",
                            "PEDVENDA",
                            "ITENSPV",
                            "ITENSPVGRADE",
                            "PROGRAMACAO",
                            "PRODUCAO",
                            "SUBPROD",
                            "CODCXCOLET",
                            "MPRIMA",
                            "FICHA_CORTE",
                            "FICHA_CORTE_ATU_SETOR",
                            "REQUISICAO_PRODUCAO",
                            "REQUISICAO_PRODUCAO_FICHA",
                            "PRODUCAO_OP_SETOR",
                            "PRODUCAO_SETOR",
                            "PRODUCAO_SETOR_OPERACAO"}) {
    connection_.execute(std::string("delete from ") + table);
  }
  company("");
}

void FactoryBuilder::company(const std::string& name) {
  connection_.execute(
      "update or insert into CONFIG (ID_CONFIG, NOME_EMPRESA) values (1, :N) matching "
      "(ID_CONFIG)",
      {{"N", name}});
}

void FactoryBuilder::param(const std::string& name, const std::string& value,
                           const std::string& group) {
  connection_.execute(
      "update or insert into PARAM (GRUPO_PA, PARAM_PA, VALOR_PA) values (:G, :P, :V) "
      "matching (GRUPO_PA, PARAM_PA)",
      {{"G", group}, {"P", name}, {"V", value}});
}

void FactoryBuilder::sector(const Sector& sector) {
  insertRow(connection_, "SETOR",
            {{"COD_SE", sector.code},
             {"NOME_SE", sector.name},
             {"SEQPROD_SE", std::string(sector.inSequence ? "S" : "N")},
             {"ORDEM_SE", sector.order},
             {"SETORANT_SE", sector.previous},
             {"SETOR_AGRUP_SE", sector.group},
             {"TIPO_OPERACAO_SE", sector.operationType},
             {"TIPO_ATU_PRODUCAO_SETOR_SE", sector.updateType}});
}

void FactoryBuilder::changeSector(const std::string& code, const std::string& column,
                                  const db::Value& value) {
  connection_.execute("update SETOR set " + column + " = :V where COD_SE = :C",
                      {{"V", value}, {"C", code}});
}

void FactoryBuilder::employee(const std::string& code, const std::string& name,
                              const std::vector<std::string>& sectors) {
  insertRow(connection_, "FUNCIONARIO",
            {{"CODIGO_FU", code},
             {"NOME_FU", name},
             {"CRACHA_FU", "9" + code},
             {"ATIVO_FU", std::string("S")}});
  for (const std::string& sector : sectors) {
    insertRow(connection_, "SETOR_FUNCIONARIO", {{"SETOR_SF", sector}, {"FUNCIONARIO_SF", code}});
  }
}

void FactoryBuilder::product(const Product& product) {
  insertRow(connection_, "PRODUTO",
            {{"COD_PR", product.code},
             {"DESC_PR", "PRODUTO " + product.code},
             {"SETORINICIAL_PR", product.initialSector}});
  for (const std::string& sector : product.sectors) {
    insertRow(connection_, "PRODUTO_SETOR",
              {{"CODIGO_PRODUTO_PS", product.code}, {"CODIGO_SETOR_PS", sector}});
  }
}

void FactoryBuilder::programme(const std::string& number, bool closed) {
  insertRow(connection_, "PROGRAMACAO",
            {{"NUM_PO", number}, {"ENCERRADA_PO", std::string(closed ? "S" : "N")}});
}

void FactoryBuilder::card(const Card& card) {
  if (!card.noProductionRow) {
    insertRow(connection_, "PRODUCAO",
              {{"PROG_PR", card.prog}, {"FICHA_PR", card.ficha}, {"QTDE_PR", card.pairs}});
  }
  if (countRows(connection_, "PEDVENDA", "NUM_PV = :N", {{"N", card.order}}) == 0) {
    insertRow(connection_, "PEDVENDA",
              {{"NUM_PV", card.order}, {"TIPO_PV", std::string("N")}, {"CODCLI_PV", 1}});
  }
  insertRow(connection_, "ITENSPV",
            {{"PEDIDO_IT", card.order},
             {"ITEM_IT", card.item},
             {"PROD_IT", card.product},
             {"PADRON_IT", std::string("01")},
             {"PROG_IT", card.prog},
             {"FICHA_IT", card.ficha}});
  if (card.noGrade) return;
  const std::vector<std::pair<std::string, int>> sizes =
      card.sizes.empty() ? std::vector<std::pair<std::string, int>>{{"37", card.pairs}}
                         : card.sizes;
  for (const auto& [size, pairs] : sizes) {
    insertRow(
        connection_, "ITENSPVGRADE",
        {{"PEDIDO_IT", card.order}, {"ITEM_IT", card.item}, {"TAM_IT", size}, {"QTPED_IT", pairs}});
  }
}

void FactoryBuilder::subCard(const SubCardRow& row) {
  insertRow(connection_, "SUBPROD",
            {{"ID_PR", row.id},
             {"PROG_PR", row.prog},
             {"FICHA_PR", row.ficha},
             {"SUBFICHA_PR", row.subFicha},
             {"TAMA_PR", row.size},
             {"QTDE_PR", row.pairs}});
}

void FactoryBuilder::box(const Box& box) {
  insertRow(connection_, "CODCXCOLET",
            {{"CODIGO_CX", box.code},
             {"PEDIDO_CX", box.orderNumber.value_or(box.order)},
             {"ITEMPED_CX", box.item},
             {"TALAO_CX", box.talao},
             {"QTDEPAR_CX", box.pairs},
             {"DATA_CANC_CX", box.cancelled}});
}

void FactoryBuilder::posting(const Posting& posting) {
  insertRow(connection_, "PRODUCAO_SETOR",
            {{"ID_PS", 0},
             {"PROG_PS", posting.prog},
             {"FICHA_PS", posting.ficha},
             {"SUBFICHA_PS", posting.subFicha},
             {"SETOR_PS", posting.sector},
             {"FUNCIONAR_PS", posting.employee},
             {"QTDE_PS", posting.pairs},
             {"CODCXCOLET_PS", posting.box},
             {"ID_SUBPROD_PS", posting.subProduction},
             {"SUBPROD_MPRIMA_ID_PS", posting.rawMaterialSubProduction},
             {"DTENTRADA_PS", optionalTimestamp(posting.entry)},
             {"DTSAIDA_PS", optionalTimestamp(posting.exit)}});
}

void FactoryBuilder::operationCard(int id, const std::string& prog, const std::string& ficha,
                                   const std::string& sector, const std::string& operation) {
  insertRow(connection_, "PRODUCAO_OP_SETOR",
            {{"ID_OS", id},
             {"PROG_OS", prog},
             {"FICHA_OS", ficha},
             {"SETOR_OS", sector},
             {"OPERACAO_OS", operation}});
}

void FactoryBuilder::postedOperation(const std::string& prog, const std::string& ficha,
                                     const std::string& subFicha, const std::string& sector,
                                     const std::string& operation, const db::Timestamp& when) {
  insertRow(connection_, "PRODUCAO_SETOR_OPERACAO",
            {{"ID_SO", 0},
             {"PROG_SO", prog},
             {"FICHA_SO", ficha},
             {"SUBFICHA_SO", subFicha},
             {"SETOR_SO", sector},
             {"OPERACAO_SO", operation},
             {"DATA_ATUALIZACAO_SO", when}});
}

void FactoryBuilder::requisition(const Requisition& requisition) {
  if (countRows(connection_, "MPRIMA", "COD_MP = :C", {{"C", requisition.material}}) == 0) {
    insertRow(connection_, "MPRIMA",
              {{"COD_MP", requisition.material},
               {"DESC_MP", std::string("MATERIAL")},
               {"SETOR_MP", requisition.materialSector}});
  }
  insertRow(connection_, "REQUISICAO_PRODUCAO",
            {{"ID_RP", requisition.id},
             {"PROG_RP", requisition.prog},
             {"MPRIMA_RP", requisition.material}});
  insertRow(connection_, "REQUISICAO_PRODUCAO_FICHA",
            {{"ID_REQUISICAO_PRODUCAO_RF", requisition.id},
             {"FICHA_RF", requisition.ficha},
             {"CONSUMO_RF", requisition.consumption},
             {"QTDE_SAIDA_RF", requisition.issued},
             {"QTDE_RETORNO_RF", requisition.returned}});
}

void FactoryBuilder::cutCard(int id, int pairs) {
  insertRow(connection_, "FICHA_CORTE", {{"ID_FC", id}, {"QTDE_TOT_FC", pairs}});
}

}  // namespace mts::test
