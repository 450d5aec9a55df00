#include "production/validation/RepeatedPosting.h"

namespace mts {

RepeatedPostingDecision DecidirBaixaRepetida(const std::vector<SectorPostingSeen>& doSetor,
                                             const PostedThing& thing, double qtde,
                                             bool baixaParcial, bool baixaSetorEntrada) {
  using Kind = RepeatedPostingDecision::Kind;
  if (doSetor.empty()) {
    return {baixaSetorEntrada && !baixaParcial ? Kind::Entry : Kind::Post, qtde, 0};
  }
  if (baixaSetorEntrada) {
    for (const SectorPostingSeen& posting : doSetor) {
      if (!posting.HasExit && posting.Thing == thing) return {Kind::Exit, qtde, 0};
    }
  }
  if (baixaParcial) {
    double postado = 0;
    for (const SectorPostingSeen& posting : doSetor) postado += posting.Qtde;
    if (postado < qtde) return {Kind::Post, qtde - postado, 0};
    return {Kind::Refuse, qtde, doSetor.size() - 1};
  }
  return {Kind::Refuse, qtde, 0};
}

}  // namespace mts
