#include "production/TdmAtuProducao.h"

namespace mts {

TdmAtuProducao::TdmAtuProducao(db::Connection& connection, StartupErrorReporter reportError)
    : connection_(&connection) {
  (void)reportError;
}

TdmAtuProducao::~TdmAtuProducao() = default;

}  // namespace mts
