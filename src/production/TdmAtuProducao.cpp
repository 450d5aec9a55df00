#include "production/TdmAtuProducao.h"

#include <exception>

#include "production/stock/StockEntryRules.h"

namespace mts {

const char* const kParametrosNaoCarregados =
    "Par\xE2metros de produ\xE7\xE3o n\xE3o carregados: banco de dados indispon\xEDvel.";

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

TdmAtuProducao::TdmAtuProducao(db::Connection& connection) {
  DefinirConexao(connection);
}

TdmAtuProducao::~TdmAtuProducao() = default;

void TdmAtuProducao::DefinirConexao(db::Connection& connection) {
  // Inside a card's unit of work the validation's clock reads the time its
  // lock was taken: however the module is built, no statement is spent on it.
  unidade_.DefinirRelogio(validation_.relogio);
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

class TdmAtuProducao::Steps final : public CardSteps {
 public:
  explicit Steps(TdmAtuProducao& module) : module_(module) {}

  bool IdentificarFicha(const std::string& codigo, const std::string& setorFuncionario,
                        TDadosAtuProducao& dados, std::string& mensagem) override {
    return module_.IdentificarFicha(codigo, setorFuncionario, dados, mensagem);
  }
  TRetorno ExecutarFicha(const TDadosAtuProducao& ficha,
                         const std::function<TRetorno()>& checksAndRecording) override {
    return module_.ExecutarFicha(ficha, checksAndRecording);
  }
  TRetorno ValidaAtuProducao() override { return module_.ValidaAtuProducao(); }
  void GravarAtuProducao() override { module_.GravarAtuProducao(); }
  void GravarFichaCorteAtuSetor(const db::Timestamp& dataHora) override {
    module_.GravarFichaCorteAtuSetor(dataHora);
  }
  void GravarProdSetorOperacao() override { module_.GravarProdSetorOperacao(); }
  bool OperacoesSetorConcluidas() override { return module_.OperacoesSetorConcluidas(); }
  TDadosAtuProducao& CurrentRequest() override { return module_.DadosAtuProducao; }

 private:
  TdmAtuProducao& module_;
};

BadgeOutcome TdmAtuProducao::LookUpBadge(const std::string& cracha) {
  BadgeOutcome outcome;
  try {
    outcome.found =
        badges_.LocalizarFuncionario(cracha, outcome.code, outcome.name, outcome.sector);
  } catch (const std::exception&) {
    outcome = {};
    outcome.failure = std::current_exception();
  }
  return outcome;
}

CardOutcome TdmAtuProducao::PostCard(const CardRequest& request) {
  Steps steps(*this);
  return mts::PostCard(steps, request);
}

void TdmAtuProducao::DataModuleCreate() {
  CarregarParametros();
  AtualizarCadastros();
}

void TdmAtuProducao::CarregarParametros() {
  ProductionParameters lidos;
  parametrosDb_.CarregarParametros(lidos);
  parametros_ = lidos;
  parametrosCarregados_ = true;
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

void TdmAtuProducao::GravarFichaCorteAtuSetor(const db::Timestamp& dataHora) {
  cutCards_.GravarFichaCorteAtuSetor(DadosAtuProducao, dataHora);
}

void TdmAtuProducao::GravarProdSetorOperacao() {
  operations_.GravarProdSetorOperacao(DadosAtuProducao);
}

bool TdmAtuProducao::OperacoesSetorConcluidas() {
  return operations_.OperacoesSetorConcluidas(DadosAtuProducao);
}

TRetorno TdmAtuProducao::ValidaAtuProducao() {
  return validation_.ValidaAtuProducao();
}

db::Timestamp TdmAtuProducao::DataHoraServidor() {
  return validation_.relogio.DataHoraServidor();
}

void TdmAtuProducao::GravarAtuProducao() {
  recording_.GravarAtuProducao(DadosAtuProducao);
}

void TdmAtuProducao::AbrirProdSetorOperacao() {
  operations_.AbrirProdSetorOperacao(DadosAtuProducao);
}

TdmEstoqueProducao* TdmAtuProducao::EstoqueProducao() const {
  return stockPosting_.estoque();
}

bool TdmAtuProducao::FichaCompletaNoSetor(const std::string& prog, const std::string& ficha,
                                          const std::string& setor) {
  return itemRelease_.FichaCompletaNoSetor(prog, ficha, setor);
}

std::string TdmAtuProducao::LerParametro(const std::string& grupo, const std::string& parametro) {
  return parametrosDb_.LerParametro(grupo, parametro);
}

std::int32_t TdmAtuProducao::LerParametroInt(const std::string& grupo,
                                             const std::string& parametro) {
  return parametrosDb_.LerParametroInt(grupo, parametro);
}

bool TdmAtuProducao::LocalizarFuncionario(const std::string& cracha, std::string& codigo,
                                          std::string& nome, std::string& setor) {
  return badges_.LocalizarFuncionario(cracha, codigo, nome, setor);
}

std::string TdmAtuProducao::NomeSetor(const std::string& codigo) {
  return operations_.NomeSetor(codigo);
}

bool TdmAtuProducao::SetorAnteriorAtualizado(const std::string& setor, std::string& mensagem) {
  return validation_.sequencia.SetorAnteriorAtualizado(setor, mensagem);
}

bool TdmAtuProducao::SubfichasBaixadas(std::string& mensagem) {
  return validation_.tiposFicha.SubfichasBaixadas(mensagem);
}

bool TdmAtuProducao::VerificarFichaCorte(std::int32_t id, const std::string& setor,
                                         std::string& mensagem) {
  return cutCards_.VerificarFichaCorte(id, setor, mensagem);
}

}  // namespace mts
