#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorvel {

// The SHA-256 digest of `data` (FIPS 180-4).
std::array<std::uint8_t, 32> sha256(std::string_view data);

// `bytes` in base64 (RFC 4648), padded with "=".
std::string base64(std::string_view bytes);

}  // namespace quorvel
