#include "production/validation/PostingRules.h"

#include <utility>
#include <vector>

#include "production/validation/RepeatedPosting.h"
#include "production/validation/ValidationText.h"

namespace mts {

PostingRules::PostingRules(CardPostings& postings, SectorGroups& grupos,
                           const ProductionParameters& parametros, TDadosAtuProducao& dados,
                           NameLookup nomeSetor, NameLookup nomeFuncionario)
    : postings_(postings),
      grupos_(grupos),
      parametros_(parametros),
      dados_(dados),
      nomeSetor_(std::move(nomeSetor)),
      nomeFuncionario_(std::move(nomeFuncionario)) {}

std::string PostingRules::withPostingEmployee(const std::string& message) {
  return withEmployee(message, nomeFuncionario_(postings_.cdsProdSetor().text("FUNCIONAR_PS")));
}

std::string PostingRules::alreadyPostedInSector() {
  return withPostingEmployee("Ficha j\xE1 atualizada no setor \"" + nomeSetor_(dados_.Setor) +
                             "\".");
}

bool PostingRules::ValidarAgrupamento(const std::string& grupo, std::string& mensagem) {
  TVNClientDataSet& postagens = postings_.cdsProdSetor();

  // A grouping sector may not post a card that one of its members posted.
  if (grupos_.AbrirSetoresAgrupamento(dados_.Setor)) {
    for (const db::Row& membro : grupos_.Membros()) {
      const std::string setor = membro.text("COD_SE");
      if (postings_.LocalizarSetor(setor)) {
        mensagem = withPostingEmployee("Ficha atualizada no setor \"" + nomeSetor_(setor) +
                                       "\" desse Agrupamento");
        return false;
      }
    }
  }
  if (grupo.empty()) return true;

  // A member may not post a card that a sibling posted first; only the group's
  // first posting in load order is compared.
  if (postagens.locate("SETOR_AGRUP", db::Value(grupo)) &&
      postagens.text("SETOR_PS") != dados_.Setor) {
    mensagem = withPostingEmployee("Ficha j\xE1 atualizada em outro setor do mesmo grupo.");
    return false;
  }
  if (postings_.LocalizarSetor(grupo)) {
    mensagem = withPostingEmployee("Ficha j\xE1 atualizada no setor de Agrupamento.");
    return false;
  }
  return true;
}

bool PostingRules::ValidarBaixaRepetida(std::string& mensagem) {
  TVNClientDataSet& postagens = postings_.cdsProdSetor();
  std::vector<SectorPostingSeen> doSetor;
  std::vector<db::Value> ids;
  for (postagens.first(); !postagens.eof(); postagens.next()) {
    if (postagens.text("SETOR_PS") != dados_.Setor) continue;
    doSetor.push_back({PostedThing::OfRow(postagens.currentRow()), !postagens.isNull("DTSAIDA_PS"),
                       postagens.number("QTDE_PS")});
    ids.push_back(postagens.value("ID_PS"));
  }

  const RepeatedPostingDecision decisao =
      DecidirBaixaRepetida(doSetor, PostedThing::OfRequest(dados_), dados_.Qtde,
                           parametros_.BAIXA_PARCIAL, dados_.BaixaSetorEntrada);
  switch (decisao.kind) {
    case RepeatedPostingDecision::Kind::Entry:
      dados_.CampoData = "DTENTRADA_PS";
      dados_.CampoHora = "HORAENTRADA_PS";
      return true;
    case RepeatedPostingDecision::Kind::Exit:
      return true;
    case RepeatedPostingDecision::Kind::Post:
      // A partial posting records what the sector still misses, not the whole.
      dados_.Qtde = decisao.Qtde;
      return true;
    case RepeatedPostingDecision::Kind::Refuse:
      break;
  }
  postagens.locate("ID_PS", ids.at(decisao.NamedRow));
  mensagem = alreadyPostedInSector();
  return false;
}

}  // namespace mts
