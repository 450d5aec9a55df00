#include "production/recording/SectorPostingRecorder.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "dataaccess/datasets/ModuleQuery.h"
#include "production/recording/SectorPostingRules.h"
#include "production/stock/StockQuantity.h"

namespace mts {

namespace {

std::string rowChangeFailed(const TDadosAtuProducao& dados) {
  return "A produ\xE7\xE3o da ficha " + dados.Prog + "/" + dados.Ficha + " no setor " +
         dados.Setor + " n\xE3o foi gravada.";
}

// The new row names the date and hour columns being filled; the other pair
// stays null. The names were checked by VerificarColunasDataHora.
std::string insertSql(const std::string& campoData, const std::string& campoHora) {
  return sqlLines(
      {"insert into PRODUCAO_SETOR (PROG_PS, FICHA_PS, SUBFICHA_PS, SETOR_PS, "
       "FUNCIONAR_PS,",
       "TIPO_OPERACAO_SETOR_PS, TIPO_ATUALIZACAO_PS, QTDE_PS, CODCXCOLET_PS, "
       "ID_SUBPROD_PS, ID_PS,",
       "DATA_BAIXA_MANUAL_PS, " + campoData + ", " + campoHora + ")",
       "values (:PROG_PS, :FICHA_PS, :SUBFICHA_PS, :SETOR_PS, :FUNCIONAR_PS,",
       ":TIPO_OPERACAO_SETOR_PS, :TIPO_ATUALIZACAO_PS, :QTDE_PS, :CODCXCOLET_PS, "
       ":ID_SUBPROD_PS, :ID_PS,",
       ":DATA_BAIXA_MANUAL_PS, :" + campoData + ", :" + campoHora + ")"});
}

// The row is found by its key alone: the other values it holds are not compared.
std::string updateExitSql(const std::string& campoData, const std::string& campoHora) {
  return sqlLines({"update PRODUCAO_SETOR set " + campoData + " = :" + campoData + ", " +
                       campoHora + " = :" + campoHora,
                   "where ID_PS = :ID_PS"});
}

}  // namespace

db::Connection& SectorPostingRecorder::conexao() const {
  if (connection_ == nullptr) throw std::logic_error("sector posting recorder has no connection");
  return *connection_;
}

bool SectorPostingRecorder::GravarProducaoSetor(const TDadosAtuProducao& dados) {
  VerificarColunasDataHora(dados.CampoData, dados.CampoHora);
  std::vector<LoadedSectorPosting> postings;
  for (const db::Row& row :
       postings_.PostagensDoSetor(dados.Prog, dados.Ficha, dados.Setor, dados.IdSubProd,
                                  dados.SubFicha, dados.PossuiSubFicha)) {
    postings.push_back({row.integer("ID_PS"), !row.isNull("DTSAIDA_PS"), PostedThing::OfRow(row)});
  }
  const SectorPostingChange change = EscolherAlteracao(dados.BaixaSetorEntrada, dados.CampoData,
                                                       PostedThing::OfRequest(dados), postings);

  int changed = 0;
  if (change.kind == SectorPostingChange::Kind::CompleteExit) {
    changed = conexao().execute(updateExitSql(dados.CampoData, dados.CampoHora),
                                {{dados.CampoData, dados.DataHora},
                                 {dados.CampoHora, HoraMinuto(dados.DataHora)},
                                 {"ID_PS", change.ID_PS}});
  } else {
    changed = conexao().execute(insertSql(dados.CampoData, dados.CampoHora),
                                {{"PROG_PS", dados.Prog},
                                 {"FICHA_PS", dados.Ficha},
                                 {"SUBFICHA_PS", dados.SubFicha},
                                 {"SETOR_PS", dados.Setor},
                                 {"FUNCIONAR_PS", dados.Funcionario},
                                 {"TIPO_OPERACAO_SETOR_PS", dados.TipoOperacaoSetor},
                                 {"TIPO_ATUALIZACAO_PS", dados.TipoAtualizacao},
                                 {"QTDE_PS", Arredondar(dados.Qtde, 0)},
                                 {"CODCXCOLET_PS", dados.CodCxColet},
                                 {"ID_SUBPROD_PS", dados.IdSubProd},
                                 {"ID_PS", 0},
                                 {"DATA_BAIXA_MANUAL_PS", "N"},
                                 {dados.CampoData, dados.DataHora},
                                 {dados.CampoHora, HoraMinuto(dados.DataHora)}});
  }
  // Nothing after this may run as if the row were written when it was not.
  if (changed != 1) throw std::runtime_error(rowChangeFailed(dados));
  return change.kind == SectorPostingChange::Kind::CompleteExit;
}

std::vector<NamedStatement> SectorPostingRecorder::Statements() {
  return {{"SectorPostingRecorder.insert exit", insertSql("DTSAIDA_PS", "HORASAIDA_PS")},
          {"SectorPostingRecorder.insert entry", insertSql("DTENTRADA_PS", "HORAENTRADA_PS")},
          {"SectorPostingRecorder.update exit", updateExitSql("DTSAIDA_PS", "HORASAIDA_PS")}};
}

}  // namespace mts
