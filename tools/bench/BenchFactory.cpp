#include "BenchFactory.h"

#include <string>

#include "dataaccess/firebird/Connection.h"
#include "support/DemoFactory.h"

namespace mts::bench {

namespace {

// Employee codes are three characters; 62 symbols give room for far more than
// the sizes asked, away from the demo's numeric codes since the first symbol is
// a letter.
std::string employeeCode(int number) {
  static const std::string symbols =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  return {symbols[(number / 3844) % 52], symbols[(number / 62) % 62], symbols[number % 62]};
}

std::string padded(int number, std::size_t width) {
  std::string text = std::to_string(number);
  return std::string(width > text.size() ? width - text.size() : 0, '0') + text;
}

void addEmployees(db::Connection& connection, int count) {
  const std::string insert =
      "INSERT INTO FUNCIONARIO (CODIGO_FU, NOME_FU, CRACHA_FU, ATIVO_FU) "
      "VALUES (:CODIGO, :NOME, :CRACHA, 'S')";
  const std::string link =
      "INSERT INTO SETOR_FUNCIONARIO (SETOR_SF, FUNCIONARIO_SF) VALUES ('30', :CODIGO)";
  for (int i = 0; i < count; ++i) {
    db::Params row;
    row.set("CODIGO", employeeCode(i));
    row.set("NOME", "FUNCIONARIO " + std::to_string(i));
    row.set("CRACHA", "9" + padded(i, 7));
    connection.execute(insert, row);
    if (i % 10 == 0) connection.execute(link, row);
  }
}

// Programmes 9xxxxx are never used by the demo's cards. The identifier 0
// lets the database number them, as it numbers the server's own postings.
void addPostings(db::Connection& connection, int count) {
  const std::string insert =
      "INSERT INTO PRODUCAO_SETOR (ID_PS, PROG_PS, FICHA_PS, SUBFICHA_PS, SETOR_PS, "
      "DTSAIDA_PS, HORASAIDA_PS, FUNCIONAR_PS, QTDE_PS, TIPO_ATUALIZACAO_PS) "
      "VALUES (0, :PROG, :FICHA, '0000', :SETOR, CURRENT_TIMESTAMP, '08:00', '001', 12, 'F')";
  for (int i = 0; i < count; ++i) {
    db::Params row;
    row.set("PROG", "9" + padded((i / 8000) % 99999, 5));
    row.set("FICHA", padded((i / 8) % 1000, 4));
    row.set("SETOR", padded(10 * (1 + i % 8), 2));
    connection.execute(insert, row);
  }
}

}  // namespace

void generateFactory(const std::filesystem::path& database, const FactorySize& size) {
  std::filesystem::copy_file(test::demoFactoryTemplate(), database,
                             std::filesystem::copy_options::overwrite_existing);
  db::ConnectionSettings settings;
  settings.database = database.string();
  db::Connection connection(settings);
  // One transaction: the statements are prepared once and nothing is forced
  // to disk before the commit.
  connection.startTransaction();
  addEmployees(connection, size.employees);
  addPostings(connection, size.postings);
  connection.commit();
}

}  // namespace mts::bench
