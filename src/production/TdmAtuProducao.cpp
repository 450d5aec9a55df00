#include "production/TdmAtuProducao.h"

#include <exception>

#include "production/stock/StockEntryRules.h"

namespace mts {

const char* const kParametrosNaoCarregados =
    "Par\xE2metros de produ\xE7\xE3o n\xE3o carregados: banco de dados indispon\xEDvel.";

TdmAtuProducao::TdmAtuProducao(db::Connection& connection, StartupErrorReporter reportError) {
  unidade_.DefinirRelogio(validation_.relogio);
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
  badges_.DefinirConexao(connection);
  cutCards_.DefinirConexao(connection);
  identification_.DefinirConexao(connection);
  operations_.DefinirConexao(connection);
  validation_.DefinirConexao(connection);
  stockPosting_.DefinirConexao(connection);
  itemRelease_.DefinirConexao(connection);
  sectorPostings_.DefinirConexao(connection);
  recording_.DefinirConexao(connection);
  unidade_.DefinirConexao(connection);
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
  ProductionParameters lidos;
  parametrosDb_.CarregarParametros(lidos);
  parametros_ = lidos;
  parametrosCarregados_ = true;
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
  if (!parametrosCarregados_) {
    // The database was out of reach when the module started. A failure here
    // is the card's answer; the database error itself is reported by the
    // next statement that needs the database.
    try {
      CarregarParametros();
    } catch (const std::exception& error) {
      mensagem = std::string(kParametrosNaoCarregados) + " (" + error.what() + ")";
      return false;
    }
  }
  return identification_.IdentificarFicha(codigo, setorFuncionario, dados, mensagem);
}

TRetorno TdmAtuProducao::ExecutarFicha(const TDadosAtuProducao& ficha,
                                       const CardUnitOfWork::Work& work) {
  // The box's order item is read before the unit starts: its lock must be
  // among the first statements.
  const std::optional<BoxLabelOrderItem> item =
      ficha.TipoAtualizacao == "T" ? ItemDoTalao(ficha.CodCxColet) : std::nullopt;
  return unidade_.Executar(CardLockKeys(ficha, item), work);
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

TRetorno TdmAtuProducao::ValidaAtuProducao() {
  return validation_.ValidaAtuProducao();
}

bool TdmAtuProducao::ValidarCodCxColet(std::string& mensagem) {
  return validation_.ValidarCodCxColet(mensagem);
}

bool TdmAtuProducao::ValidarCodSubProd(std::string& mensagem) {
  return validation_.ValidarCodSubProd(mensagem);
}

bool TdmAtuProducao::ValidarFichaOperacao(std::string& mensagem) {
  return validation_.ValidarFichaOperacao(mensagem);
}

db::Timestamp TdmAtuProducao::DataHoraServidor() {
  return validation_.relogio.DataHoraServidor();
}

bool TdmAtuProducao::ValidarSetorFuncionario(std::string& mensagem) {
  return validation_.sequencia.ValidarSetorFuncionario(mensagem);
}

bool TdmAtuProducao::ValidarTipoAtuSetor(std::string& mensagem) {
  return validation_.sequencia.ValidarTipoAtuSetor(mensagem);
}

void TdmAtuProducao::AbrirItemFicha() {
  validation_.sequencia.AbrirItemFicha();
}

bool TdmAtuProducao::ValidarSetorProduto(const std::string& produto, std::string& mensagem) {
  return validation_.sequencia.ValidarSetorProduto(produto, mensagem);
}

bool TdmAtuProducao::ValidarSetoresAnteriores(std::string& mensagem) {
  return validation_.sequencia.ValidarSetoresAnteriores(mensagem);
}

std::string TdmAtuProducao::FiltrarSetoresAnteriores(const std::string& setoresAnteriores) {
  return validation_.sequencia.FiltrarSetoresAnteriores(setoresAnteriores);
}

bool TdmAtuProducao::SetorAnteriorAtualizado(const std::string& setor, std::string& mensagem) {
  return validation_.sequencia.SetorAnteriorAtualizado(setor, mensagem);
}

bool TdmAtuProducao::AgrupamentoAtualizado(const std::string& setor, std::string& mensagem) {
  return validation_.sequencia.AgrupamentoAtualizado(setor, mensagem);
}

TRetorno TdmAtuProducao::VerificarFichaOpSetor(const std::string& prog, const std::string& ficha,
                                               const std::string& setor) {
  return validation_.ordemProducao.VerificarFichaOpSetor(prog, ficha, setor);
}

bool TdmAtuProducao::ProgEncerrada(const std::string& prog, std::string& mensagem) {
  return validation_.ordemProducao.ProgEncerrada(prog, mensagem);
}

bool TdmAtuProducao::ValidarBxReqMPrima(const std::string& setor, const std::string& prog,
                                        const std::string& ficha, std::string& mensagem) {
  return validation_.ordemProducao.ValidarBxReqMPrima(setor, prog, ficha, mensagem);
}

double TdmAtuProducao::TotalParesFicha() {
  return validation_.ordemProducao.TotalParesFicha();
}

bool TdmAtuProducao::ValidarProgFicha(std::string& mensagem) {
  return validation_.tiposFicha.ValidarProgFicha(mensagem);
}

bool TdmAtuProducao::SubfichasBaixadas(std::string& mensagem) {
  return validation_.tiposFicha.SubfichasBaixadas(mensagem);
}

bool TdmAtuProducao::PossuiSubfichas(std::string& mensagem) {
  return validation_.tiposFicha.PossuiSubfichas(mensagem);
}

bool TdmAtuProducao::FichaPrincipalBaixada(const std::string& grupo, std::string& mensagem) {
  return validation_.tiposFicha.FichaPrincipalBaixada(grupo, mensagem);
}

bool TdmAtuProducao::SubfichaJaBaixada(std::string& mensagem) {
  return validation_.tiposFicha.SubfichaJaBaixada(mensagem);
}

bool TdmAtuProducao::ValidarSubFicha(std::string& mensagem) {
  return validation_.tiposFicha.ValidarSubFicha(mensagem);
}

std::string TdmAtuProducao::SetorAgrupamento(const std::string& setor) {
  return validation_.grupos.SetorAgrupamento(setor);
}

bool TdmAtuProducao::AbrirSetoresAgrupamento(const std::string& setor) {
  return validation_.grupos.AbrirSetoresAgrupamento(setor);
}

void TdmAtuProducao::AbrirProdSetor(const std::string& prog, const std::string& ficha,
                                    const std::string& setor, std::int32_t idSubProd,
                                    const std::string& subFicha) {
  validation_.postagens.AbrirProdSetor(prog, ficha, setor, idSubProd, subFicha,
                                       DadosAtuProducao.PossuiSubFicha);
}

TVNClientDataSet& TdmAtuProducao::cdsProdSetor() {
  return validation_.postagens.cdsProdSetor();
}

bool TdmAtuProducao::ValidarAgrupamento(const std::string& grupo, std::string& mensagem) {
  return validation_.regrasPostagem.ValidarAgrupamento(grupo, mensagem);
}

bool TdmAtuProducao::ValidarBaixaRepetida(std::string& mensagem) {
  return validation_.regrasPostagem.ValidarBaixaRepetida(mensagem);
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
