#include "readers/code_page.h"

#include <utility>

#include "base/ascii.h"

namespace quorvel {

namespace {

// Windows-1252 at 0x80-0x9F; 0 where it defines no character.
constexpr std::array<int, 32> kWindows1252High = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                                  0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Where ISO-8859-15 differs from Latin-1.
constexpr std::pair<int, int> kLatin9Changes[] = {{0xA4, 0x20AC}, {0xA6, 0x0160}, {0xA8, 0x0161}, {0xB4, 0x017D},
                                                  {0xB8, 0x017E}, {0xBC, 0x0152}, {0xBD, 0x0153}, {0xBE, 0x0178}};

bool named(std::string_view name, std::string_view upper) {
  return name.size() == upper.size() && startsWithCaseless(name, upper);
}

}  // namespace

bool codePageMap(std::string_view name, std::array<int, 256>& map) {
  const bool windows = named(name, "WINDOWS-1252") || named(name, "CP1252");
  const bool latin9 = named(name, "ISO-8859-15") || named(name, "LATIN-9");
  if (!windows && !latin9) return false;
  for (int byte = 0; byte < 256; ++byte) map[static_cast<std::size_t>(byte)] = byte;
  if (windows) {
    for (std::size_t i = 0; i < kWindows1252High.size(); ++i) {
      if (kWindows1252High[i] != 0) map[0x80 + i] = kWindows1252High[i];
    }
  } else {
    for (const auto& [byte, codePoint] : kLatin9Changes) map[static_cast<std::size_t>(byte)] = codePoint;
  }
  return true;
}

}  // namespace quorvel
