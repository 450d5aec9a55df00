#include "dataaccess/firebird/Value.h"

#include <cmath>

namespace mts::db {

double Decimal::toDouble() const {
  return static_cast<double>(unscaled) / std::pow(10.0, scale);
}

}  // namespace mts::db
