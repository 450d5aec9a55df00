#include "production/validation/PostingRules.h"

#include <utility>

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
  if (!postings_.LocalizarSetor(dados_.Setor)) {
    if (!parametros_.BAIXA_PARCIAL && dados_.BaixaSetorEntrada) {
      dados_.CampoData = "DTENTRADA_PS";
      dados_.CampoHora = "HORAENTRADA_PS";
    }
    return true;
  }

  if (parametros_.BAIXA_PARCIAL) {
    // The sector may post again until the pairs it posted reach the card's.
    double total = 0;
    db::Value ultimaDoSetor;
    for (postagens.first(); !postagens.eof(); postagens.next()) {
      if (postagens.text("SETOR_PS") != dados_.Setor) continue;
      total += postagens.number("QTDE_PS");
      ultimaDoSetor = postagens.value("ID_PS");
    }
    if (total < dados_.Qtde) return true;
    // The refusal names whoever made the sector's last posting.
    postagens.locate("ID_PS", ultimaDoSetor);
    mensagem = alreadyPostedInSector();
    return false;
  }

  // Entry/exit mode: the row found holds the entry; the next posting records
  // its exit, and a row with its exit is complete.
  if (dados_.BaixaSetorEntrada && postagens.isNull("DTSAIDA_PS")) return true;
  mensagem = alreadyPostedInSector();
  return false;
}

}  // namespace mts
