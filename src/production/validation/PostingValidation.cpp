#include "production/validation/PostingValidation.h"

#include <utility>

namespace mts {

PostingValidation::PostingValidation(db::Connection& connection, TVNClientDataSet& cdsSetor,
                                     const ProductionParameters& parametros,
                                     TDadosAtuProducao& dados, PostingRules::NameLookup nomeSetor)
    : relogio(connection),
      funcionarios(connection),
      grupos(connection, cdsSetor),
      sequencia(connection, cdsSetor, dados),
      ordemProducao(connection, parametros, dados),
      tiposFicha(connection, grupos, dados),
      postagens(connection),
      regrasPostagem(
          postagens, grupos, parametros, dados, std::move(nomeSetor),
          [this](const std::string& codigo) { return funcionarios.NomeFuncionario(codigo); }) {}

}  // namespace mts
