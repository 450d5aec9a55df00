#pragma once

#include <string_view>
#include <vector>

namespace mts {

// Splits what one read event delivered into the keys the terminal sent, in
// order. A read holds whatever had arrived: the network and a busy server join
// keys sent one by one, and a barcode reader sends its code and Enter back to
// back, so the keys are told apart by their bytes:
//   - CR (Enter), BS, DEL and 00 are each a key of their own, wherever they stand;
//   - ESC followed by "[" or "O" starts a function key (an arrow or F key of a
//     VT-100 keyboard), taken whole as one key up to its final byte (see
//     IsFunctionKey); any other ESC is the cancel key on its own;
//   - a run of bytes from blank (20 hex) up, other than DEL, is one key: a key
//     typed alone or a code scanned in one piece, as the terminal sent it;
//   - the other control bytes (01 to 1F) are no keys: they are dropped, and a
//     run ends at them.
// The views point into `read`.
std::vector<std::string_view> KeysOfRead(std::string_view read);

// Whether a key found by KeysOfRead is a function key: ESC and more.
bool IsFunctionKey(std::string_view key);

}  // namespace mts
