#include "server/FailureWords.h"

#include "dataaccess/firebird/DatabaseError.h"

namespace mts {

std::string FailureWords(const std::exception& error) {
  const auto* database = dynamic_cast<const db::DatabaseError*>(&error);
  if (database == nullptr) return error.what();
  if (database->outcomeUnknown()) {
    return "Sem resposta ao gravar: pode ter sido atualizada. Passe a ficha de novo.";
  }
  switch (database->cause()) {
    case db::DatabaseError::Cause::Conflict:
      return "Registro em uso por outro usu\xE1rio. Tente novamente.";
    case db::DatabaseError::Cause::ConnectionLost:
      return "Banco de dados fora de alcance. Tente novamente.";
    case db::DatabaseError::Cause::Cancelled:
      return "Banco de dados sem resposta. Tente novamente.";
    case db::DatabaseError::Cause::Other:
      break;
  }
  return "Erro no banco de dados: " + FailureDetail(error);
}

bool OutcomeUnknown(const std::exception& error) {
  const auto* database = dynamic_cast<const db::DatabaseError*>(&error);
  return database != nullptr && database->outcomeUnknown();
}

std::string FailureDetail(const std::exception& error) {
  std::string line;
  for (const char c : std::string(error.what())) {
    if (c == '\r') continue;
    line += c == '\n' ? ' ' : c;
  }
  return line;
}

}  // namespace mts
