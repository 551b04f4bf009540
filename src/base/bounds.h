#pragma once

#include <cstddef>
#include <string_view>

namespace quorvel {

// How much of one value any reader keeps (a COMMENT, an ADX field): far
// above any real log's longest value, which is a few hundred bytes, and
// small enough that a damaged export or a binary file costs a few MiB.
inline constexpr std::size_t kMostValueBytes = std::size_t{1} << 20;
// How much of one line any reader keeps: room for a value at the bound
// and the rest of its record around it. The rest of a longer line is read
// past, not stored.
inline constexpr std::size_t kMostLineBytes = 4 * kMostValueBytes;
// The two bounds as the run's notice names them.
inline constexpr std::string_view kMostValueText = "1 MiB";
inline constexpr std::string_view kMostLineText = "4 MiB";

// The length of the longest start of `text` no longer than `most` that
// ends at a UTF-8 character boundary: a cut never splits a character.
inline std::size_t cutAtCharacter(std::string_view text, std::size_t most) {
  if (text.size() <= most) return text.size();
  std::size_t length = most;
  for (int back = 0; back < 3 && length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80; ++back) {
    --length;
  }
  return length;
}

}  // namespace quorvel
