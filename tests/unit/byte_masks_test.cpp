#include "detect/byte_masks.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvel {
namespace {

std::uint32_t naiveMask(const char* data, char wanted) {
  std::uint32_t mask = 0;
  for (int i = 0; i < 16; ++i) mask |= static_cast<std::uint32_t>(data[i] == wanted) << i;
  return mask;
}

// Both ways of finding a byte agree with a plain loop, also next to the
// bytes that fool the quick "any zero byte" test: the byte one above the
// wanted one, zero, and bytes with the high bit set.
TEST(BytesEqualMask, AgreesWithAPlainLoop) {
  const std::string fillers[] = {"=", "<", ";", std::string(1, '\0'), "\x80", "\xbc", "\xff", "a"};
  for (const std::string& filler : fillers) {
    for (std::uint32_t pattern : {0u, 1u, 0x8000u, 0x8001u, 0x0180u, 0x5555u, 0xAAAAu, 0xFFFFu, 0x1234u}) {
      std::string bytes;
      for (int i = 0; i < 16; ++i) bytes += (pattern >> i & 1) != 0 ? '<' : filler[0];
      EXPECT_EQ(bytesEqualMaskPortable(bytes.data(), '<'), naiveMask(bytes.data(), '<')) << pattern;
      EXPECT_EQ(bytesEqualMask(bytes.data(), '<'), naiveMask(bytes.data(), '<')) << pattern;
    }
  }
}

}  // namespace
}  // namespace quorvel
