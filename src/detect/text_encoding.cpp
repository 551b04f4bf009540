#include "detect/text_encoding.h"

namespace quorvel {

namespace {

// Whether the two bytes of a UTF-16 unit hold an ASCII character (not a
// NUL): the high byte NUL, the low one below 0x80.
bool asciiUnit(unsigned char low, unsigned char high) { return high == 0 && low != 0 && low < 0x80; }

}  // namespace

EncodingFound detectTextEncoding(std::string_view start) {
  if (start.starts_with("\xEF\xBB\xBF")) return {TextEncoding::Bytes, 3};
  if (start.size() >= 2) {
    const auto first = static_cast<unsigned char>(start[0]), second = static_cast<unsigned char>(start[1]);
    if (first == 0xFF && second == 0xFE) return {TextEncoding::Utf16LittleEndian, 2};
    if (first == 0xFE && second == 0xFF) return {TextEncoding::Utf16BigEndian, 2};
  }
  // Without a mark: a log is mostly ASCII, so UTF-16 shows as three units
  // in four or more holding an ASCII character, the NUL always on one
  // side. A few stray NULs in an 8-bit log come nowhere near that.
  const std::size_t units = start.size() / 2;
  std::size_t little = 0, big = 0;
  for (std::size_t i = 0; i + 1 < start.size(); i += 2) {
    const auto a = static_cast<unsigned char>(start[i]), b = static_cast<unsigned char>(start[i + 1]);
    little += asciiUnit(a, b);
    big += asciiUnit(b, a);
  }
  if (units >= 2 && 4 * little >= 3 * units) return {TextEncoding::Utf16LittleEndian, 0};
  if (units >= 2 && 4 * big >= 3 * units) return {TextEncoding::Utf16BigEndian, 0};
  return {};
}

bool endsLinesWithCr(std::string_view start) {
  start = start.substr(0, kEncodingProbeSize);
  return start.find('\n') == std::string_view::npos && start.find('\r') != std::string_view::npos;
}

}  // namespace quorvel
