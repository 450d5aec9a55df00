#pragma once

namespace mts {

// The version of this build: the base version number and the commit it was
// built from ("1.2.0+181.g955b03fabc", ".dirty" appended when the tree had
// uncommitted changes). The Debian package carries the same text.
const char* BuildVersion();

}  // namespace mts
