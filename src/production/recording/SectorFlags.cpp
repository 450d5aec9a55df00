#include "production/recording/SectorFlags.h"

namespace mts {

std::string CampoDoSetor(TVNClientDataSet& cdsSetor, const std::string& setor,
                         std::string_view campo) {
  if (!cdsSetor.locate("COD_SE", db::Value(setor))) return {};
  return cdsSetor.text(campo);
}

}  // namespace mts
