#include "production/TdmAtuProducao.h"

#include <exception>

#include "production/stock/StockEntryRules.h"

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
  stockPosting_.DefinirConexao(connection);
  itemRelease_.DefinirConexao(connection);
  sectorPostings_.DefinirConexao(connection);
  recording_.DefinirConexao(connection);
}

std::optional<BoxLabelOrderItem> TdmAtuProducao::ItemDoTalao(std::int32_t codigo) {
  std::string mensagem;  // a label not found is no error for the release
  if (!identification_.LocalizarCodCxColet(codigo, mensagem)) return std::nullopt;
  const db::Row& talao = identification_.CodCxCol().row();
  return BoxLabelOrderItem{talao.text("PEDIDO_CX"), talao.text("ITEMPED_CX")};
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

void TdmAtuProducao::GravarAtuProducao() {
  recording_.GravarAtuProducao(DadosAtuProducao);
}

void TdmAtuProducao::GravarProducaoSetor() {
  sectorPostings_.GravarProducaoSetor(DadosAtuProducao);
}

void TdmAtuProducao::LiberarItemTalao(std::int32_t codCxColet, std::int32_t filial,
                                      const db::Timestamp& dataHora, const std::string& usuario,
                                      const std::string& setor) {
  itemRelease_.LiberarItemTalao(codCxColet, filial, dataHora, usuario, setor);
}

void TdmAtuProducao::AtualizarSitItemEstoque(const std::string& prog, const std::string& ficha,
                                             const std::string& setor) {
  itemRelease_.AtualizarSitItemEstoque(prog, ficha, setor);
}

bool TdmAtuProducao::FichaCompletaNoSetor(const std::string& prog, const std::string& ficha,
                                          const std::string& setor) {
  return itemRelease_.FichaCompletaNoSetor(prog, ficha, setor);
}

void TdmAtuProducao::LancarEstoqueProducao(std::int32_t filial, const std::string& setor,
                                           const db::Timestamp& dataHora,
                                           const std::string& usuario, const std::string& subFicha,
                                           const std::string& ficha, const std::string& prog,
                                           const std::string& pedido, const std::string& itemPed) {
  stockPosting_.LancarEstoqueProducao(filial, setor, dataHora, usuario, subFicha, ficha, prog,
                                      pedido, itemPed);
}

db::Timestamp TdmAtuProducao::SomenteData(const db::Timestamp& dataHora) {
  return mts::SomenteData(dataHora);
}

TdmEstoqueProducao* TdmAtuProducao::EstoqueProducao() const {
  return stockPosting_.estoque();
}

}  // namespace mts
