#include "production/TdmAtuProducao.h"

#include <exception>

namespace mts {

TdmAtuProducao::TdmAtuProducao(db::Connection& connection, StartupErrorReporter reportError) {
  DefinirConexao(connection);
  // A database that cannot be reached at start-up must not stop the server:
  // the error is reported and the module lives on with what it read so far.
  try {
    DataModuleCreate();
  } catch (const std::exception& error) {
    if (reportError) reportError(error.what());
  }
}

TdmAtuProducao::~TdmAtuProducao() = default;

void TdmAtuProducao::DefinirConexao(db::Connection& connection) {
  parametrosDb_.DefinirConexao(connection);
  lists_.DefinirConexao(connection);
  cutCards_.DefinirConexao(connection);
  identification_.DefinirConexao(connection);
  operations_.DefinirConexao(connection);
}

void TdmAtuProducao::DataModuleCreate() {
  CarregarParametros();
  AtualizarCadastros();
}

// Each operation belongs to the class of its area.

void TdmAtuProducao::CarregarParametros() {
  parametrosDb_.CarregarParametros(parametros_);
}

std::string TdmAtuProducao::LerParametro(const std::string& grupo, const std::string& parametro) {
  return parametrosDb_.LerParametro(grupo, parametro);
}

std::int32_t TdmAtuProducao::LerParametroInt(const std::string& grupo,
                                             const std::string& parametro) {
  return parametrosDb_.LerParametroInt(grupo, parametro);
}

std::string TdmAtuProducao::NomeEmpresa() {
  return parametrosDb_.NomeEmpresa();
}

void TdmAtuProducao::AtualizarCadastros() {
  lists_.AtualizarCadastros();
}

std::string TdmAtuProducao::NomeFuncionario(const std::string& codigo) {
  return lists_.NomeFuncionario(codigo);
}

bool TdmAtuProducao::LocalizarFuncionario(const std::string& cracha, std::string& codigo,
                                          std::string& nome, std::string& setor) {
  return badges_.LocalizarFuncionario(cracha, codigo, nome, setor);
}

bool TdmAtuProducao::IdentificarFicha(const std::string& codigo,
                                      const std::string& setorFuncionario, TDadosAtuProducao& dados,
                                      std::string& mensagem) {
  return identification_.IdentificarFicha(codigo, setorFuncionario, dados, mensagem);
}

bool TdmAtuProducao::SetorBaixaFichaCorte(const std::string& setor) const {
  return identification_.SetorBaixaFichaCorte(setor);
}

bool TdmAtuProducao::LocalizarCodCxColet(std::int32_t codigo, std::string& mensagem) {
  return identification_.LocalizarCodCxColet(codigo, mensagem);
}

bool TdmAtuProducao::LocalizarSubProd(std::int32_t id, std::string& mensagem) {
  return identification_.LocalizarSubProd(id, mensagem);
}

bool TdmAtuProducao::LocalizarFichaOpSetor(std::int32_t id, std::string& mensagem) {
  return identification_.LocalizarFichaOpSetor(id, mensagem);
}

bool TdmAtuProducao::VerificarFichaCorte(std::int32_t id, const std::string& setor,
                                         std::string& mensagem) {
  return cutCards_.VerificarFichaCorte(id, setor, mensagem);
}

void TdmAtuProducao::GravarFichaCorteAtuSetor(const db::Timestamp& dataHora) {
  cutCards_.GravarFichaCorteAtuSetor(DadosAtuProducao, dataHora);
}

void TdmAtuProducao::AbrirProdSetorOperacao() {
  operations_.AbrirProdSetorOperacao(DadosAtuProducao);
}

void TdmAtuProducao::GravarProdSetorOperacao() {
  operations_.GravarProdSetorOperacao(DadosAtuProducao);
}

bool TdmAtuProducao::OperacoesSetorConcluidas() {
  return operations_.OperacoesSetorConcluidas(DadosAtuProducao);
}

std::string TdmAtuProducao::NomeSetor(const std::string& codigo) {
  return operations_.NomeSetor(codigo);
}

}  // namespace mts
