#include "production/validation/PostingValidation.h"

namespace mts {

PostingValidation::PostingValidation(const ProductionParameters& parametros,
                                     ParameterReader& parametrosDb, CachedLists& lists,
                                     CardIdentification& identification, CutCards& cutCards,
                                     SectorOperations& operations, TDadosAtuProducao& dados)
    : grupos(lists.cdsSetor),
      sequencia(lists.cdsSetor, grupos, dados),
      ordemProducao(parametros, dados),
      tiposFicha(grupos, dados),
      regrasPostagem(
          postagens, grupos, parametros, dados,
          [&operations](const std::string& codigo) { return operations.NomeSetor(codigo); },
          [this](const std::string& codigo) { return funcionarios.NomeFuncionario(codigo); }),
      parametros_(parametros),
      parametrosDb_(parametrosDb),
      lists_(lists),
      identification_(identification),
      cutCards_(cutCards),
      operations_(operations),
      dados_(dados) {
  sequencia.UsarPostagens(postagens);
  tiposFicha.UsarPostagens(postagens);
}

void PostingValidation::DefinirConexao(db::Connection& connection) {
  relogio.DefinirConexao(connection);
  funcionarios.DefinirConexao(connection);
  grupos.DefinirConexao(connection);
  sequencia.DefinirConexao(connection);
  ordemProducao.DefinirConexao(connection);
  tiposFicha.DefinirConexao(connection);
  postagens.DefinirConexao(connection);
}

}  // namespace mts
