#pragma once

#include <string>

#include "server/ProductionOperations.h"

namespace mts {

class TdmAtuProducao;

// The production operations on the server's production module. Until a module
// is attached (start-up did not get that far) every operation throws
// std::runtime_error, which the server's error handler reports.
class ProductionModuleOperations final : public ProductionOperations {
 public:
  // The module is the server's; it must outlive the attachment (attach nullptr
  // before it goes).
  void Attach(TdmAtuProducao* module) { module_ = module; }

  bool LocalizarFuncionario(const std::string& cracha, std::string& codigo, std::string& nome,
                            std::string& setor) override;
  bool IdentificarFicha(const std::string& codigo, const std::string& setorFuncionario,
                        TDadosAtuProducao& dados, std::string& mensagem) override;
  TRetorno ExecutarFicha(const TDadosAtuProducao& ficha,
                         const std::function<TRetorno()>& checksAndRecording) override;
  TRetorno ValidaAtuProducao() override;
  void GravarAtuProducao() override;
  void GravarFichaCorteAtuSetor(const db::Timestamp& dataHora) override;
  void GravarProdSetorOperacao() override;
  bool OperacoesSetorConcluidas() override;
  TDadosAtuProducao& CurrentRequest() override;

 private:
  TdmAtuProducao& Module();

  TdmAtuProducao* module_ = nullptr;
};

}  // namespace mts
