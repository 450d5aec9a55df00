#include "production/recording/CardRecording.h"

#include <stdexcept>
#include <string>

#include "dataaccess/firebird/TransactionScope.h"

namespace mts {

CardRecording::CardRecording(SectorPostingRecorder& producaoSetor, ItemRelease& liberacao,
                             StockPosting& estoque)
    : producaoSetor_(producaoSetor), liberacao_(liberacao), estoque_(estoque) {}

void CardRecording::GravarAtuProducao(const TDadosAtuProducao& dados) {
  // One transaction for the whole card: a card posted in the sector without
  // its stock entries could never be posted again (the repeated-posting check
  // refuses it), so its pairs would never reach stock.
  if (connection_ == nullptr) throw std::logic_error("card recording has no connection");
  db::TransactionScope transacao(*connection_);
  if (producaoSetor_.GravarProducaoSetor(dados)) {
    // An exit only times the row its entry made: the entry already took the
    // pairs to stock and released the item, so running those again would log
    // the same release once more at every exit.
    transacao.commit();
    return;
  }

  const std::string usuario = "FUNC:" + dados.Funcionario;
  if (dados.TipoAtualizacao == "T" && dados.VerificaLiberacaoItemTalao) {
    liberacao_.LiberarItemTalao(dados.CodCxColet, dados.FilialEstoque, dados.DataHora, usuario,
                                dados.Setor);
  } else {
    estoque_.LancarEstoqueProducao(dados.FilialEstoque, dados.Setor, dados.DataHora, usuario,
                                   dados.SubFicha, dados.Ficha, dados.Prog, "", "");
  }
  liberacao_.AtualizarSitItemEstoque(dados.Prog, dados.Ficha, dados.Setor);
  transacao.commit();
}

}  // namespace mts
