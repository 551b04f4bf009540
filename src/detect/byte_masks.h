#pragma once

#include <cstdint>

#include "detect/ascii.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quorvel {

// Where `wanted` stands among the 16 bytes at `data`: bit i is set when
// data[i] is `wanted`. Eight bytes at a time in plain integer arithmetic,
// for machines without the vector instructions below.
inline std::uint32_t bytesEqualMaskPortable(const char* data, char wanted) {
  constexpr std::uint64_t kOnes = 0x0101010101010101u;
  constexpr std::uint64_t kLows = 0x7F7F7F7F7F7F7F7Fu;
  std::uint32_t mask = 0;
  for (int half = 0; half < 2; ++half) {
    std::uint64_t differences = loadEightBytes(data + 8 * half) ^ (kOnes * static_cast<unsigned char>(wanted));
    // A byte gets its high bit exactly when it is zero: no borrow runs
    // from one byte into the next, unlike the quicker test for "any zero".
    std::uint64_t zeros = ~(((differences & kLows) + kLows) | differences | kLows);
    // The high bits, one per byte, gathered into the top byte in order.
    mask |= static_cast<std::uint32_t>(((zeros >> 7) * 0x0102040810204080u) >> 56) << (8 * half);
  }
  return mask;
}

inline std::uint32_t bytesEqualMask(const char* data, char wanted) {
#if defined(__SSE2__)
  __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data));
  return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(wanted))));
#else
  return bytesEqualMaskPortable(data, wanted);
#endif
}

}  // namespace quorvel
