#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "dataaccess/Connection.h"
#include "dataaccess/VNClientDataSet.h"
#include "dataaccess/Value.h"
#include "production/ModuleQuery.h"
#include "production/ProductionParameters.h"
#include "production/TDadosAtuProducao.h"
#include "production/TRetorno.h"

namespace mts {

// Reports an error that the module caught while starting (for example an
// unreachable database): the server shows it in an error message box, or on
// standard error when it runs headless.
using StartupErrorReporter = std::function<void(const std::string& message)>;

// The production data module: prepares, validates and records the production
// postings of every terminal. One instance lives as long as the server and
// serves all terminals, one request at a time, on the server's single thread.
//
// The connection is the server's; the module uses it and never owns it. It
// must outlive the module.
//
// Look-ups and checks return a boolean and write their message only when they
// refuse. Writers and database errors throw (db::DatabaseError); nothing here
// catches them, except the creation handler at start-up.
class TdmAtuProducao {
 public:
  // Binds every statement to the connection (DefinirConexao), then runs the
  // creation handler (DataModuleCreate). An error inside the creation handler
  // is passed to reportError once and the module is created all the same: the
  // parameters not read by then keep their defaults for the module's whole
  // life, and the cached lists stay closed until the next AtualizarCadastros.
  TdmAtuProducao(db::Connection& connection, StartupErrorReporter reportError);
  ~TdmAtuProducao();
  TdmAtuProducao(const TdmAtuProducao&) = delete;
  TdmAtuProducao& operator=(const TdmAtuProducao&) = delete;

  // The request being validated or recorded. The card submission copies its own
  // request in before validation and back after it.
  TDadosAtuProducao DadosAtuProducao;

  // --- Creation, parameters and cached lists -------------------------------

  // Makes every statement and cached list of the module run on the connection.
  void DefinirConexao(db::Connection& connection);
  // Reads the production parameters and then opens the cached lists.
  void DataModuleCreate();
  // Reads the eighteen production parameters from PARAM, in a fixed order,
  // keeping each as soon as it is read.
  void CarregarParametros();
  const ProductionParameters& Parametros() const { return parametros_; }

  // VALOR_PA of (group, name) as stored; empty when there is no row or it is null.
  std::string LerParametro(const std::string& grupo, const std::string& parametro);
  // LerParametro converted as integerFromText does.
  std::int32_t LerParametroInt(const std::string& grupo, const std::string& parametro);

  // CONFIG.NOME_EMPRESA as it is now (read afresh at each call); empty when
  // CONFIG has no row.
  std::string NomeEmpresa();

  // Reopens cdsSetor, cdsFuncCracha and cdsFunc, in that order.
  void AtualizarCadastros();

  // --- Employee badge -------------------------------------------------------

  // Finds the active employee whose badge is exactly `cracha` (reopening the
  // badge list first). Found: true with his code, name and sector (empty when he
  // has none). Not found: false with the three outputs emptied.
  bool LocalizarFuncionario(const std::string& cracha, std::string& codigo, std::string& nome,
                            std::string& setor);
  // Name of the employee with that code, active or not; empty when none. Uses
  // the list as of the last AtualizarCadastros.
  std::string NomeFuncionario(const std::string& codigo);

  // --- Card identification --------------------------------------------------

  // Turns a code typed or scanned at the card prompt into a request: fills the
  // card members of `dados` (Setor to FichaCorte; the others are left alone)
  // and returns true, or returns false with `mensagem` set; `dados` then holds
  // what was filled before the refusal. `setorFuncionario` is the sector of the
  // employee at the terminal, used when the code names none.
  bool IdentificarFicha(const std::string& codigo, const std::string& setorFuncionario,
                        TDadosAtuProducao& dados, std::string& mensagem);
  // True when the sector is listed in SETOR_BX_FICHA_CORTE.
  bool SetorBaixaFichaCorte(const std::string& setor) const;
  // Box label (CODCXCOLET) look-up; sqlCodCxCol stays open on the row found.
  bool LocalizarCodCxColet(std::int32_t codigo, std::string& mensagem);
  // Sub-production label (SUBPROD) look-up; sqlCodSubProd stays open on it.
  bool LocalizarSubProd(std::int32_t id, std::string& mensagem);
  // Operation-by-sector card (PRODUCAO_OP_SETOR) look-up; sqlProdOpSetor stays
  // open on it.
  bool LocalizarFichaOpSetor(std::int32_t id, std::string& mensagem);

  // --- Validation and recording ---------------------------------------------

  // Decides whether DadosAtuProducao may be posted now and completes it for recording.
  TRetorno ValidaAtuProducao();
  // Records the validated DadosAtuProducao; throws when it cannot.
  void GravarAtuProducao();

  // --- Cut cards and operation-by-sector cards ------------------------------

  // True when the cut card exists, is not posted in the sector yet and is not
  // cancelled; sqlFichaCorte stays open on its row (QTDE_TOT_FC).
  bool VerificarFichaCorte(std::int32_t id, const std::string& setor, std::string& mensagem);
  // Writes the FICHA_CORTE_ATU_SETOR row of DadosAtuProducao, committed on its own.
  void GravarFichaCorteAtuSetor(const db::Timestamp& dataHora);
  // Loads the recorded operations of DadosAtuProducao's card (or sub-card) in
  // its sector into cdsProdSetorOperacao.
  void AbrirProdSetorOperacao();
  // Records the operation of DadosAtuProducao, committed on its own, unless it
  // is already recorded. A row the database refuses throws and is not counted
  // as recorded.
  void GravarProdSetorOperacao();
  // True when every operation the card needs in the sector is among the
  // operations loaded by the last AbrirProdSetorOperacao.
  bool OperacoesSetorConcluidas();
  // NOME_SE of the sector; empty when there is no such sector.
  std::string NomeSetor(const std::string& codigo);

 private:
  bool CompletarDados(TDadosAtuProducao& dados, const std::string& setorFuncionario,
                      std::string& mensagem);
  bool IdentificarFichaCorte(const std::string& codigo, const std::string& setorFuncionario,
                             TDadosAtuProducao& dados, std::string& mensagem);
  bool IdentificarFichaOpSetor(const std::string& codigo, const std::string& setorFuncionario,
                               TDadosAtuProducao& dados, std::string& mensagem);
  bool IdentificarTalao(const std::string& codigo, const std::string& setorFuncionario,
                        TDadosAtuProducao& dados, std::string& mensagem);
  bool IdentificarSubProd(const std::string& codigo, const std::string& setorFuncionario,
                          TDadosAtuProducao& dados, std::string& mensagem);
  bool IdentificarFichaProducao(const std::string& codigo, const std::string& setorFuncionario,
                                TDadosAtuProducao& dados, std::string& mensagem);

  db::Connection* connection_ = nullptr;
  ProductionParameters parametros_;

  // Parameters and company name.
  ModuleQuery sqlParam;
  ModuleQuery sqlConfig;

  // Cached lists, reopened by AtualizarCadastros.
  TVNClientDataSet cdsSetor;       // production-sequence sectors, by ORDEM_SE
  TVNClientDataSet cdsFuncCracha;  // active employees with a badge, index CRACHA_FU
  TVNClientDataSet cdsFunc;        // every employee, index CODIGO_FU

  // Card look-ups.
  ModuleQuery sqlCodCxCol;
  ModuleQuery sqlCodSubProd;
  ModuleQuery sqlProdOpSetor;

  // Cut cards, operations by sector and sector names.
  ModuleQuery sqlFichaCorte;
  ModuleQuery sqlFichaCorteAtu;
  TVNClientDataSet cdsProdSetorOperacao;  // the card's recorded operations in its sector
  ModuleQuery sqlOperacaoFicha;
  ModuleQuery sqlNomeSetor;
};

}  // namespace mts
