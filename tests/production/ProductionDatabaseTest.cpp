#include "ProductionDatabaseTest.h"

namespace mts::test {

void ProductionDatabaseTest::SetUp() {
  FactoryDatabaseTest::SetUp();
  if (HasFatalFailure()) return;
  for (const char* table :
       {"PARAM", "SETOR", "FUNCIONARIO", "SETOR_FUNCIONARIO", "PEDVENDA", "ITENSPV", "PRODUTO",
        "CODCXCOLET", "SUBPROD", "FICHA_CORTE", "FICHA_CORTE_ATU_SETOR", "PRODUCAO_OP_SETOR",
        "PRODUCAO_SETOR_OPERACAO"}) {
    execute(std::string("delete from ") + table);
  }
  setCompany("");
}

std::unique_ptr<TdmAtuProducao> ProductionDatabaseTest::createModule() {
  return std::make_unique<TdmAtuProducao>(
      connection(), [this](const std::string& message) { startupErrors.push_back(message); });
}

void ProductionDatabaseTest::setParam(const std::string& group, const std::string& name,
                                      const db::Value& value) {
  execute(
      "update or insert into PARAM (GRUPO_PA, PARAM_PA, VALOR_PA) values (:G, :P, :V) "
      "matching (GRUPO_PA, PARAM_PA)",
      {{"G", group}, {"P", name}, {"V", value}});
}

void ProductionDatabaseTest::setCompany(const std::string& name) {
  execute(
      "update or insert into CONFIG (ID_CONFIG, NOME_EMPRESA) values (1, :N) matching "
      "(ID_CONFIG)",
      {{"N", name}});
}

void ProductionDatabaseTest::addSector(const std::string& code, const std::string& name, int order,
                                       const std::string& operationType, bool inSequence) {
  insert("SETOR", {{"COD_SE", code},
                   {"NOME_SE", name},
                   {"SEQPROD_SE", std::string(inSequence ? "S" : "N")},
                   {"ORDEM_SE", order},
                   {"TIPO_OPERACAO_SE", operationType}});
}

void ProductionDatabaseTest::addEmployee(const std::string& code, const std::string& name,
                                         const std::optional<std::string>& badge,
                                         const std::string& sector, const std::string& active) {
  insert("FUNCIONARIO", {{"CODIGO_FU", code},
                         {"NOME_FU", name},
                         {"CRACHA_FU", badge ? db::Value(*badge) : db::Value(db::Null{})},
                         {"ATIVO_FU", active}});
  if (!sector.empty())
    insert("SETOR_FUNCIONARIO", {{"SETOR_SF", sector}, {"FUNCIONARIO_SF", code}});
}

void ProductionDatabaseTest::addOrderItem(const std::string& order, const std::string& item,
                                          const std::string& programme, const std::string& card) {
  if (count("PEDVENDA", "NUM_PV = :N", {{"N", order}}) == 0) {
    insert("PEDVENDA", {{"NUM_PV", order}, {"TIPO_PV", std::string("N")}, {"CODCLI_PV", 1}});
  }
  insert("ITENSPV", {{"PEDIDO_IT", order},
                     {"ITEM_IT", item},
                     {"PROD_IT", std::string("PR01")},
                     {"PADRON_IT", std::string("01")},
                     {"PROG_IT", programme},
                     {"FICHA_IT", card}});
}

void ProductionDatabaseTest::addOperationCard(int id, const std::string& programme,
                                              const std::string& card, const std::string& sector,
                                              const std::string& operation) {
  insert("PRODUCAO_OP_SETOR", {{"ID_OS", id},
                               {"PROG_OS", programme},
                               {"FICHA_OS", card},
                               {"SETOR_OS", sector},
                               {"OPERACAO_OS", operation}});
}

void ProductionDatabaseTest::addCutCard(int id, int pairs, const db::Value& cancelled) {
  insert("FICHA_CORTE",
         {{"ID_FC", id}, {"QTDE_TOT_FC", pairs}, {"DATA_CANCELAMENTO_FC", cancelled}});
}

}  // namespace mts::test
