#include <stdexcept>

#include "production/TdmAtuProducao.h"

// Stand-ins until validation and recording are in: every card is refused, and
// recording is never reached.

namespace mts {

TRetorno TdmAtuProducao::ValidaAtuProducao() {
  return {false, "VALIDACAO INDISPONIVEL"};
}

void TdmAtuProducao::GravarAtuProducao() {
  throw std::logic_error("GravarAtuProducao is not available");
}

}  // namespace mts
