#pragma once

#include <cstddef>
#include <string_view>

namespace quorvel {

// UTF-8 as the console and the lookup page take it: a sequence is valid
// when its lead byte starts one and it writes no overlong form, no
// surrogate and no code point past U+10FFFF. Bytes of old logs that are no
// such sequence are Latin-1 characters to the page and escaped on the
// console.

// How many bytes the sequence `lead` starts has: 2 to 4, or 0 when it
// starts none.
constexpr std::size_t utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// Whether `bytes`, begun by a lead byte, is valid so far: each byte after
// the lead lies in the range its place allows.
constexpr bool utf8ValidSoFar(std::string_view bytes) {
  const auto lead = static_cast<unsigned char>(bytes[0]);
  for (std::size_t i = 1; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    unsigned char low = 0x80, high = 0xBF;
    if (i == 1 && lead == 0xE0) low = 0xA0;   // overlong
    if (i == 1 && lead == 0xED) high = 0x9F;  // surrogates
    if (i == 1 && lead == 0xF0) low = 0x90;   // overlong
    if (i == 1 && lead == 0xF4) high = 0x8F;  // past U+10FFFF
    if (c < low || c > high) return false;
  }
  return true;
}

// The length of the valid sequence at the start of `bytes`, or 0 when
// none starts there.
constexpr std::size_t utf8Length(std::string_view bytes) {
  const std::size_t length = bytes.empty() ? 0 : utf8SequenceLength(static_cast<unsigned char>(bytes[0]));
  return length != 0 && bytes.size() >= length && utf8ValidSoFar(bytes.substr(0, length)) ? length : 0;
}

}  // namespace quorvel
