#pragma once

#include <cstddef>
#include <cstring>

namespace quorvel {

// Copies `count` bytes from `from` to `to`, which do not overlap. Record
// lines and their fields are short, and a library call for each of them
// costs more than the copy: up to 64 bytes are moved as two fixed-size,
// possibly overlapping pieces the compiler writes out inline.
inline void copyBytes(char* to, const char* from, std::size_t count) {
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
    for (std::size_t i = 0; i < count; ++i) to[i] = from[i];
  } else {
    std::memcpy(to, from, count);
  }
}

}  // namespace quorvel
