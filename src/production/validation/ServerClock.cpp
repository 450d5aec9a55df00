#include "production/validation/ServerClock.h"

namespace mts {

namespace {

std::string sqlDataHora_ServidorText() {
  return sqlLines({"select cast('now' as TIMESTAMP) as DATA_HORA", "from CONFIG"});
}

}  // namespace

ServerClock::ServerClock() : sqlDataHora_Servidor(sqlDataHora_ServidorText()) {}

void ServerClock::DefinirConexao(db::Connection& connection) {
  sqlDataHora_Servidor.setConnection(&connection);
}

db::Timestamp ServerClock::DataHoraServidor() {
  if (horaDaFicha_) return *horaDaFicha_;
  sqlDataHora_Servidor.close();
  sqlDataHora_Servidor.open();
  const db::Timestamp agora = sqlDataHora_Servidor.isEmpty()
                                  ? db::Timestamp{}
                                  : sqlDataHora_Servidor.row().timestamp("DATA_HORA");
  sqlDataHora_Servidor.close();
  return agora;
}

std::vector<NamedStatement> ServerClock::Statements() {
  return {{"ServerClock.sqlDataHora_Servidor", sqlDataHora_ServidorText()}};
}

}  // namespace mts
