#pragma once

// The program's speed tricks on bytes, each beside its plain twin: a loop
// that says what the trick computes, which a test holds the trick to.
// Callers read as if the trick were the plain loop. Each is kept because
// bench/tricks measures it worth more than about 2% of a run.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quorvel {

// Bytes that may be read past the end of every buffer of log text and of
// every line in it, so that a 16-byte load never needs a bounds check.
// What they hold is never used.
inline constexpr std::size_t kReadPadding = 16;

// --- The eight bytes at `at` as one number, the first in the lowest byte.

inline std::uint64_t loadEightBytesPlain(const char* at) {
  std::uint64_t value = 0;
  for (int i = 7; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(at[i]);
  return value;
}

// One unaligned load: memcpy of a fixed eight bytes is inlined as a single
// instruction.
inline std::uint64_t loadEightBytes(const char* at) {
  if constexpr (std::endian::native != std::endian::little) return loadEightBytesPlain(at);
  std::uint64_t value;
  std::memcpy(&value, at, 8);
  return value;
}

// --- Whether `text` holds a byte with its high bit set (one not ASCII).

inline bool anyHighBytePlain(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0x80) != 0; });
}

// Two loads that may overlap, for a text of 4 to 16 bytes (a callsign),
// and no loop: which byte holds the bit does not matter.
inline bool anyHighByte(std::string_view text) {
  const char* at = text.data();
  const std::size_t size = text.size();
  if (size < 4 || size > 16) return anyHighBytePlain(text);
  if (size >= 8) {
    std::uint64_t first, last;
    std::memcpy(&first, at, 8);
    std::memcpy(&last, at + size - 8, 8);
    return ((first | last) & 0x8080808080808080u) != 0;
  }
  std::uint32_t first, last;
  std::memcpy(&first, at, 4);
  std::memcpy(&last, at + size - 4, 4);
  return ((first | last) & 0x80808080u) != 0;
}

// --- Where `wanted` stands among the 16 bytes at `data`: bit i is set when
// data[i] is `wanted`.

inline std::uint32_t bytesEqualMaskPlain(const char* data, char wanted) {
  std::uint32_t mask = 0;
  for (int i = 0; i < 16; ++i) mask |= static_cast<std::uint32_t>(data[i] == wanted) << i;
  return mask;
}

// SSE2: one compare of all 16 bytes and one move of their high bits.
inline std::uint32_t bytesEqualMask(const char* data, char wanted) {
#if defined(__SSE2__)
  __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data));
  return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(wanted))));
#else
  return bytesEqualMaskPlain(data, wanted);
#endif
}

// --- Where `wanted` last stands in `text`; npos when nowhere.

inline std::size_t lastIndexOfPlain(std::string_view text, char wanted) { return text.rfind(wanted); }

// 16 bytes a compare, from the end: what a bucket line carries after its
// text is a few dozen bytes long at most.
inline std::size_t lastIndexOf(std::string_view text, char wanted) {
  std::size_t end = text.size();
  for (; end >= 16; end -= 16) {
    if (const std::uint32_t mask = bytesEqualMask(text.data() + end - 16, wanted); mask != 0) {
      return end - 16 + static_cast<std::size_t>(31 - std::countl_zero(mask));
    }
  }
  return lastIndexOfPlain(text.substr(0, end), wanted);
}

// --- How many of the eight bytes of `word` (read by loadEightBytes) come
// before the first byte from 0 to 32, a blank or a control character; 8
// when there is none.

inline std::size_t bytesBeforeControlPlain(std::uint64_t word) {
  for (std::size_t i = 0; i < 8; ++i) {
    if (((word >> (8 * i)) & 0xFF) <= 0x20) return i;
  }
  return 8;
}

// SWAR (SIMD within a register): a byte below 0x21 with its high bit clear
// borrows into its own high bit when 0x21 is taken from it. Borrows may
// flag bytes above the first flagged one, never below it, so the lowest
// flag is exact.
inline std::size_t bytesBeforeControl(std::uint64_t word) {
  constexpr std::uint64_t kOnes = 0x0101010101010101u;
  std::uint64_t low = (word - kOnes * 0x21) & ~word & (kOnes * 0x80);
  return low == 0 ? 8 : static_cast<std::size_t>(std::countr_zero(low)) / 8;
}

// --- Copies `count` bytes from `from` to `to`, which do not overlap.

inline void copyBytesPlain(char* to, const char* from, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) to[i] = from[i];
}

// Record lines and their fields are short, and a library call for each
// costs more than the copy: up to 64 bytes move as two fixed-size pieces,
// possibly overlapping, that the compiler writes inline.
[[gnu::always_inline]] inline void copyBytes(char* to, const char* from, std::size_t count) {
  if (count > 32 && count <= 64) {
    std::memcpy(to, from, 32);
    std::memcpy(to + count - 32, from + count - 32, 32);
  } else if (count >= 16 && count <= 32) {
    std::memcpy(to, from, 16);
    std::memcpy(to + count - 16, from + count - 16, 16);
  } else if (count >= 8 && count < 16) {
    std::memcpy(to, from, 8);
    std::memcpy(to + count - 8, from + count - 8, 8);
  } else if (count >= 4 && count < 8) {
    std::memcpy(to, from, 4);
    std::memcpy(to + count - 4, from + count - 4, 4);
  } else if (count < 4) {
    copyBytesPlain(to, from, count);
  } else {
    std::memcpy(to, from, count);
  }
}

// --- Writes `count` blanks at `out`, `count` at most kBlankPiece; may write
// blanks up to kBlankPiece bytes on, which the caller has room for.

inline constexpr std::size_t kBlankPiece = 16;

inline void putBlanksPlain(char* out, std::size_t count) { std::memset(out, ' ', count); }

// One fixed-size store instead of a call with a variable length; the bytes
// past `count` are covered by what the caller writes next.
inline void putBlanks(char* out, std::size_t /*count*/) { std::memcpy(out, "                ", kBlankPiece); }

// --- The first eight bytes of `key` as one big-endian number, zero-padded
// when the key is shorter: numbers compare as the keys' first eight bytes
// do, unsigned.

inline std::uint64_t keyPrefixPlain(std::string_view key) {
  std::uint64_t prefix = 0;
  for (std::size_t i = 0; i < 8; ++i)
    prefix = (prefix << 8) | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
  return prefix;
}

// A long key is one load and a byte swap. A short one (most: a callsign)
// is put together in a register: gathered in memory first, it would be
// read back as one word right after being stored byte by byte, which
// defeats store-to-load forwarding and stalls.
inline std::uint64_t keyPrefix(std::string_view key) {
  if (key.size() >= 8) {
    std::uint64_t word = loadEightBytes(key.data());
    return std::endian::native == std::endian::little ? __builtin_bswap64(word) : word;
  }
  std::uint64_t prefix = 0;
  for (std::size_t i = 0; i < key.size(); ++i)
    prefix |= std::uint64_t{static_cast<unsigned char>(key[i])} << (56 - 8 * i);
  return prefix;
}

// --- Whether key `a` comes before key `b`: byte by byte, unsigned, the
// shorter first where one begins the other.

inline bool keyBeforePlain(std::string_view a, std::string_view b) { return a < b; }

// Eight bytes at a time, inline: the keys compared are short and mostly
// alike in their first bytes, and a library call per comparison costs more
// than the comparison.
inline bool keyBefore(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  std::size_t at = 0;
  for (; at + 8 <= common; at += 8) {
    std::uint64_t x = loadEightBytes(a.data() + at);
    std::uint64_t y = loadEightBytes(b.data() + at);
    if (x != y) {
      int shift = std::countr_zero(x ^ y) & ~7;  // the first byte that differs
      return ((x >> shift) & 0xFF) < ((y >> shift) & 0xFF);
    }
  }
  for (; at < common; ++at) {
    if (a[at] != b[at]) return static_cast<unsigned char>(a[at]) < static_cast<unsigned char>(b[at]);
  }
  return a.size() < b.size();
}

}  // namespace quorvel
