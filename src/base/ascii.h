#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvel {

// Character classes of the plain C locale, whatever locale the process runs
// in: bytes 128-255 are neither letters nor digits.
constexpr bool isAsciiDigit(unsigned char c) { return c >= '0' && c <= '9'; }
constexpr bool isAsciiUpper(unsigned char c) { return c >= 'A' && c <= 'Z'; }
constexpr bool isAsciiLower(unsigned char c) { return c >= 'a' && c <= 'z'; }
constexpr bool isAsciiAlpha(unsigned char c) { return isAsciiUpper(c) || isAsciiLower(c); }
constexpr bool isAsciiAlnum(unsigned char c) { return isAsciiAlpha(c) || isAsciiDigit(c); }
constexpr char toAsciiUpper(char c) {
  return isAsciiLower(static_cast<unsigned char>(c)) ? static_cast<char>(c - 'a' + 'A') : c;
}
constexpr char toAsciiLower(char c) {
  return isAsciiUpper(static_cast<unsigned char>(c)) ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether `text` is one or more digits 0-9 and nothing else.
constexpr bool allDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!isAsciiDigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

// White space as scanf's %s sees it: blank, tab, new line, vertical tab,
// form feed, carriage return.
constexpr bool isScanSpace(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Copies `size` bytes from `from` to `to` (the same place, or apart),
// letters a-z made upper case.
inline void upperCaseBytes(const char* from, char* to, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) to[i] = toAsciiUpper(from[i]);
}

// Replaces `out` with `text`, letters a-z made upper case. Reuses the
// capacity of `out`, so a reader that keeps one buffer allocates only while
// its lines grow.
inline void upperCaseInto(std::string_view text, std::string& out) {
  out.resize(text.size());
  upperCaseBytes(text.data(), out.data(), text.size());
}

// Whether `text` begins with `upperPrefix` (given in upper case), in any
// letter case.
inline bool startsWithCaseless(std::string_view text, std::string_view upperPrefix) {
  if (text.size() < upperPrefix.size()) return false;
  for (std::size_t i = 0; i < upperPrefix.size(); ++i) {
    if (toAsciiUpper(text[i]) != upperPrefix[i]) return false;
  }
  return true;
}

// Where `upperNeedle` (given in upper case, not starting with a letter)
// first stands in `text`, in any letter case; npos if nowhere.
inline std::size_t findCaseless(std::string_view text, std::string_view upperNeedle) {
  for (std::size_t at = text.find(upperNeedle.front()); at != std::string_view::npos;
       at = text.find(upperNeedle.front(), at + 1)) {
    if (startsWithCaseless(text.substr(at), upperNeedle)) return at;
  }
  return std::string_view::npos;
}

inline bool contains(std::string_view text, std::string_view needle) {
  return text.find(needle) != std::string_view::npos;
}

}  // namespace quorvel
