#include "production/TdmAtuProducao.h"

// Stand-in until validation is in: every card is refused.

namespace mts {

TRetorno TdmAtuProducao::ValidaAtuProducao() {
  return {false, "VALIDACAO INDISPONIVEL"};
}

}  // namespace mts
