#include "server/ProductionModuleOperations.h"

#include <stdexcept>

#include "production/TdmAtuProducao.h"

namespace mts {

TdmAtuProducao& ProductionModuleOperations::Module() {
  if (module_ == nullptr) {
    throw std::runtime_error(
        "M\xF3"
        "dulo de produ\xE7\xE3o n\xE3o iniciado.");
  }
  return *module_;
}

bool ProductionModuleOperations::LocalizarFuncionario(const std::string& cracha,
                                                      std::string& codigo, std::string& nome,
                                                      std::string& setor) {
  return Module().LocalizarFuncionario(cracha, codigo, nome, setor);
}

bool ProductionModuleOperations::IdentificarFicha(const std::string& codigo,
                                                  const std::string& setorFuncionario,
                                                  TDadosAtuProducao& dados, std::string& mensagem) {
  return Module().IdentificarFicha(codigo, setorFuncionario, dados, mensagem);
}

TRetorno ProductionModuleOperations::ExecutarFicha(
    const TDadosAtuProducao& ficha, const std::function<TRetorno()>& checksAndRecording) {
  return Module().ExecutarFicha(ficha, checksAndRecording);
}

TRetorno ProductionModuleOperations::ValidaAtuProducao() {
  return Module().ValidaAtuProducao();
}

void ProductionModuleOperations::GravarAtuProducao() {
  Module().GravarAtuProducao();
}

void ProductionModuleOperations::GravarFichaCorteAtuSetor(const db::Timestamp& dataHora) {
  Module().GravarFichaCorteAtuSetor(dataHora);
}

void ProductionModuleOperations::GravarProdSetorOperacao() {
  Module().GravarProdSetorOperacao();
}

bool ProductionModuleOperations::OperacoesSetorConcluidas() {
  return Module().OperacoesSetorConcluidas();
}

TDadosAtuProducao& ProductionModuleOperations::CurrentRequest() {
  return Module().DadosAtuProducao;
}

}  // namespace mts
