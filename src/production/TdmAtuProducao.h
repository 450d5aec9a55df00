#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "dataaccess/firebird/Connection.h"
#include "dataaccess/firebird/Value.h"
#include "production/CardPath.h"
#include "production/CardUnitOfWork.h"
#include "production/ProductionParameters.h"
#include "production/TDadosAtuProducao.h"
#include "production/TRetorno.h"
#include "production/cards/CutCards.h"
#include "production/cards/SectorOperations.h"
#include "production/identification/BadgeLookup.h"
#include "production/identification/CardIdentification.h"
#include "production/lists/CachedLists.h"
#include "production/parameters/ParameterReader.h"
#include "production/recording/CardRecording.h"
#include "production/recording/ItemRelease.h"
#include "production/recording/SectorPostingRecorder.h"
#include "production/recording/StockPosting.h"
#include "production/stock/TdmEstoqueProducao.h"
#include "production/validation/PostingValidation.h"

namespace mts {

// The card refusal while the production parameters could not be read.
extern const char* const kParametrosNaoCarregados;

// Reports an error that the module caught while starting (for example an
// unreachable database): the server shows it in an error message box, or on
// standard error when it runs headless.
using StartupErrorReporter = std::function<void(const std::string& message)>;

// The production data module: prepares, validates and records the production
// postings of the terminals. Each instance serves one request at a time, on
// the thread that uses its connection.
//
// This header is the index of the module's operations, grouped by area. Each
// operation hands the work to the class of its area (named in the group's
// heading), which owns that area's statements and documents the contract; the
// module owns the areas, the current request, the parameters and the cached
// lists.
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
  // parameters not read by then keep their defaults, and the cached lists stay
  // closed until the next AtualizarCadastros.
  TdmAtuProducao(db::Connection& connection, StartupErrorReporter reportError);
  // Binds every statement to the connection and reads nothing: the caller
  // runs DataModuleCreate when it chooses, and gets its error thrown.
  explicit TdmAtuProducao(db::Connection& connection);
  ~TdmAtuProducao();
  TdmAtuProducao(const TdmAtuProducao&) = delete;
  TdmAtuProducao& operator=(const TdmAtuProducao&) = delete;

  // The request being validated or recorded. The card path (PostCard) copies
  // its request in before validation and reads it back after it.
  TDadosAtuProducao DadosAtuProducao;

  // --- The system's two requests (CardPath) -----------------------------------
  // The employee behind a badge (identification/BadgeLookup); a database
  // error comes back in the outcome's failure.
  BadgeOutcome LookUpBadge(const std::string& cracha);
  // A card's whole path (see PostCard in CardPath.h) in this module; an error
  // comes back in the outcome's failure, with nothing of the card recorded.
  CardOutcome PostCard(const CardRequest& request);

  // --- Employee badge (identification/BadgeLookup) ---------------------------
  bool LocalizarFuncionario(const std::string& cracha, std::string& codigo, std::string& nome,
                            std::string& setor);

  // --- Creation, parameters and cached lists (parameters/, lists/) ----------
  void DefinirConexao(db::Connection& connection);
  // Reads the production parameters and then opens the cached lists.
  void DataModuleCreate();
  // Reads every production parameter and replaces the ones in force only
  // when all were read; throws the database error otherwise.
  void CarregarParametros();
  const ProductionParameters& Parametros() const { return parametros_; }
  // False until the parameters have been read once: while false the defaults
  // would cut codes at position 0 and turn stock posting off, so cards are
  // refused and each new card tries to read them again.
  bool ParametrosCarregados() const { return parametrosCarregados_; }
  std::string NomeEmpresa();
  std::string LerParametro(const std::string& grupo, const std::string& parametro);
  std::int32_t LerParametroInt(const std::string& grupo, const std::string& parametro);
  void AtualizarCadastros();
  std::string NomeFuncionario(const std::string& codigo);

  // --- Card identification (identification/CardIdentification) --------------
  bool IdentificarFicha(const std::string& codigo, const std::string& setorFuncionario,
                        TDadosAtuProducao& dados, std::string& mensagem);

  // --- A card as one unit of work (CardUnitOfWork, CardLock) -----------------
  // Runs the identified card's checks and recording (`work`) in one
  // transaction whose first statements lock what identifies the card, so that
  // no other writer of the same card can split or double it; a conflict runs
  // the work again from the start. Answers what the work answered.
  TRetorno ExecutarFicha(const TDadosAtuProducao& ficha, const CardUnitOfWork::Work& work);

  // --- Cut cards (cards/CutCards) --------------------------------------------
  bool VerificarFichaCorte(std::int32_t id, const std::string& setor, std::string& mensagem);
  void GravarFichaCorteAtuSetor(const db::Timestamp& dataHora);

  // --- Operation-by-sector cards and sector names (cards/SectorOperations) ---
  void AbrirProdSetorOperacao();
  void GravarProdSetorOperacao();
  bool OperacoesSetorConcluidas();
  std::string NomeSetor(const std::string& codigo);

  // --- Posting validation (validation/PostingValidation) ---------------------
  TRetorno ValidaAtuProducao();

  // --- Server time (validation/ServerClock) ----------------------------------
  db::Timestamp DataHoraServidor();

  // --- Sector sequence and card kinds (validation/SectorSequence, CardKindChecks)
  bool SetorAnteriorAtualizado(const std::string& setor, std::string& mensagem);
  bool SubfichasBaixadas(std::string& mensagem);

  // --- Recording (recording/CardRecording) -----------------------------------
  void GravarAtuProducao();

  // --- Item status and stock (recording/ItemRelease, stock/TdmEstoqueProducao)
  bool FichaCompletaNoSetor(const std::string& prog, const std::string& ficha,
                            const std::string& setor);
  // The stock module; nullptr until the first stock posting creates it.
  TdmEstoqueProducao* EstoqueProducao() const;

 private:
  // The order item of a box label, through LocalizarCodCxColet.
  std::optional<BoxLabelOrderItem> ItemDoTalao(std::int32_t codigo);
  // The module's own operations as the steps of a card's path.
  class Steps;

  ProductionParameters parametros_;
  bool parametrosCarregados_ = false;
  ParameterReader parametrosDb_;
  CachedLists lists_;
  BadgeLookup badges_;
  CutCards cutCards_;
  CardIdentification identification_{parametros_, parametrosDb_, lists_, cutCards_};
  SectorOperations operations_;
  PostingValidation validation_{
      parametros_, parametrosDb_, lists_, identification_, cutCards_, operations_, DadosAtuProducao,
  };
  StockPosting stockPosting_{lists_.cdsSetor};
  ItemRelease itemRelease_{lists_.cdsSetor, stockPosting_,
                           [this](std::int32_t codigo) { return ItemDoTalao(codigo); }};
  SectorPostingRecorder sectorPostings_{validation_.postagens};
  CardRecording recording_{sectorPostings_, itemRelease_, stockPosting_};
  CardUnitOfWork unidade_;
};

}  // namespace mts
