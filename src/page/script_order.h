#pragma once

#include <string_view>

namespace quorvel {

// Whether the page's script may find a callsign in a list by halving it:
// the program decides, and the script trusts it (lookup.js, `matches`).
// The lists are in the order of their bytes; the script compares
// callsigns as JavaScript strings, by UTF-16 code units. The two orders
// are one for printable ASCII, so a list may be halved when each of its
// callsigns is printable ASCII and none comes before the one above it.
// Whether `callsign`, below `above` in a list whose callsigns so far
// allow halving, still does.
inline bool keepsScriptOrder(std::string_view above, std::string_view callsign) {
  for (char c : callsign) {
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return above <= callsign;
}

}  // namespace quorvel
