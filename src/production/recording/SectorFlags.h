#pragma once

#include <string>
#include <string_view>

#include "dataaccess/VNClientDataSet.h"

namespace mts {

// A column of the sector in the cached sector list; empty when the sector is
// not in the list. Moves the list's current row to the sector found.
std::string CampoDoSetor(TVNClientDataSet& cdsSetor, const std::string& setor,
                         std::string_view campo);

}  // namespace mts
