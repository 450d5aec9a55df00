#pragma once

#include <functional>
#include <string>

#include "dataaccess/firebird/Value.h"
#include "production/TDadosAtuProducao.h"
#include "production/TRetorno.h"

namespace mts {

// What the badge and card flow asks of the production module: the badge
// look-up, card identification, validation and the three writers, plus the
// module's current request, which validation and recording work on. The
// server uses the production module through ProductionModuleOperations;
// tests use a fake.
//
// Look-ups and checks answer with a boolean (or TRetorno) and a message when
// they refuse; writers throw when they fail.
class ProductionOperations {
 public:
  virtual ~ProductionOperations() = default;

  // Found: true with the employee's code, name (whole) and sector.
  virtual bool LocalizarFuncionario(const std::string& cracha, std::string& codigo,
                                    std::string& nome, std::string& setor) = 0;
  // Fills the card members of `dados` from the code; false with a message
  // when the code names no card that may be posted.
  virtual bool IdentificarFicha(const std::string& codigo, const std::string& setorFuncionario,
                                TDadosAtuProducao& dados, std::string& mensagem) = 0;
  // Runs `checksAndRecording` for the identified card as one unit of work that
  // no other writer of the same card can split or double (one transaction
  // under a lock on the card; conflicts run it again). Answers what it
  // answered; its exceptions go on to the caller with nothing recorded.
  virtual TRetorno ExecutarFicha(const TDadosAtuProducao& ficha,
                                 const std::function<TRetorno()>& checksAndRecording) = 0;
  // Validates the current request and completes it for recording.
  virtual TRetorno ValidaAtuProducao() = 0;
  // Records the current request.
  virtual void GravarAtuProducao() = 0;
  // Records the current request's cut card in its sector at that time.
  virtual void GravarFichaCorteAtuSetor(const db::Timestamp& dataHora) = 0;
  // Records the current request's operation.
  virtual void GravarProdSetorOperacao() = 0;
  // True when every operation of the current request's card in its sector is
  // recorded.
  virtual bool OperacoesSetorConcluidas() = 0;

  // The module's current request: copied in before validation, back after it.
  virtual TDadosAtuProducao& CurrentRequest() = 0;
};

}  // namespace mts
