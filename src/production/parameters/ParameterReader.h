#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dataaccess/datasets/ModuleQuery.h"
#include "dataaccess/datasets/NamedStatement.h"
#include "dataaccess/firebird/Connection.h"
#include "production/ProductionParameters.h"

namespace mts {

// Reads the production parameters (PARAM) and the company name (CONFIG).
// Owns its two statements; the connection is borrowed and must outlive it.
class ParameterReader {
 public:
  ParameterReader();
  // The statements it sends, by name (see NamedStatement).
  static std::vector<NamedStatement> Statements();

  void DefinirConexao(db::Connection& connection);

  // VALOR_PA of (group, name) as stored; empty when there is no row or it is null.
  std::string LerParametro(const std::string& grupo, const std::string& parametro);
  // LerParametro converted as integerFromText does.
  std::int32_t LerParametroInt(const std::string& grupo, const std::string& parametro);
  // Reads the eighteen production parameters into `parametros`, in a fixed
  // order, keeping each as soon as it is read: when the database fails
  // halfway, the ones read before the failure stay in force.
  void CarregarParametros(ProductionParameters& parametros);
  // CONFIG.NOME_EMPRESA as it is now; empty when CONFIG has no row.
  std::string NomeEmpresa();

  // The company name read once per card: identification reads it with
  // NomeEmpresaParaFicha and keeps it; the validation right after takes it
  // with NomeEmpresaDaFicha instead of reading it again (nothing is written in
  // between). A validation that finds none kept reads it now, and taking it
  // drops it, so a later validation reads afresh. IniciarFicha drops it too:
  // at a new card, and when an identified card will not be validated.
  void IniciarFicha() { nomeEmpresaDaFicha_.reset(); }
  std::string NomeEmpresaParaFicha();
  std::string NomeEmpresaDaFicha();

 private:
  std::optional<std::string> nomeEmpresaDaFicha_;
  ModuleQuery sqlParam;
  ModuleQuery sqlConfig;
};

}  // namespace mts
