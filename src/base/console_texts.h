#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "base/console.h"

namespace quorvel {

inline constexpr std::string_view kWritingMessage = "\nEach dot is 100 QSOs. Writing logs\n";
inline constexpr std::string_view kSortingMessage = "\nSorting logs....\n";

// The count a reader prints at its normal end: "\n\n%ld QSOs processed\n"
// (ADIF and Cabrillo) or "\n\n%ld QSOs read\n" (column text).
inline void printCount(const Console& console, long count, std::string_view verb) {
  std::string message = "\n\n" + std::to_string(count) + " QSOs ";
  message.append(verb).push_back('\n');
  printMessage(console, message);
}

// The progress mark of the `count`-th contact: a dot for every hundredth,
// and after every 80th dot a new line. The caller flushes the marks of a
// batch of contacts at once: a write for each dot would cost more than
// reading its hundred contacts.
inline void markProgress(const Console& console, long count) {
  if (count % 100 != 0) return;
  std::fputc('.', console.out);
  if (count % 8000 == 0) std::fputc('\n', console.out);
}

}  // namespace quorvel
