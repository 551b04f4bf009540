#pragma once

#include <cstdio>
#include <string_view>

namespace quorvel {

// Where a run's console output goes: progress marks on `out`, messages on
// `err`.
struct Console {
  std::FILE* out = stdout;
  std::FILE* err = stderr;
};

// Writes a message on the console's error stream. Progress marks still
// waiting on the out stream go first, so a terminal shows both in order.
inline void printMessage(const Console& console, std::string_view text) {
  std::fflush(console.out);
  std::fwrite(text.data(), 1, text.size(), console.err);
  std::fflush(console.err);
}

// Writes `text` on the console's out stream, where what a user asked for
// goes (--help, --version).
inline void printOutput(const Console& console, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), console.out);
  std::fflush(console.out);
}

}  // namespace quorvel
