#pragma once

#include <cstdio>
#include <string_view>

#include "quorvel/run_context.h"

namespace quorvel {

// Writes a message on the console's error stream. Progress marks still
// waiting on the out stream go first, so a terminal shows both in order.
inline void printMessage(const Console& console, std::string_view text) {
  std::fflush(console.out);
  std::fwrite(text.data(), 1, text.size(), console.err);
  std::fflush(console.err);
}

// The progress mark of the `count`-th contact: a dot for every hundredth,
// and after every 80th dot a new line.
inline void markProgress(const Console& console, long count) {
  if (count % 100 != 0) return;
  std::fputc('.', console.out);
  if (count % 8000 == 0) std::fputc('\n', console.out);
  std::fflush(console.out);
}

}  // namespace quorvel
