#include "version/BuildVersion.h"

#include "BuildVersionText.h"

namespace mts {

const char* BuildVersion() {
  return MTS_BUILD_VERSION_TEXT;
}

}  // namespace mts
