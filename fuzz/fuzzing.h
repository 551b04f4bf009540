#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "output/line_sort.h"

// Stops the fuzzer on a broken invariant, with `what` on standard error.
inline void check(bool holds, const char* what) {
  if (!holds) std::fprintf(stderr, "invariant broken: %s\n", what), std::abort();
}

// The list the sort stage is to make of a bucket holding `content`: its
// lines, a last one without a new line given one, ordered by the line sort.
inline std::string listOf(std::string content, int sortColumn) {
  if (!content.empty() && content.back() != '\n') content.push_back('\n');
  std::vector<std::string_view> lines;
  for (std::string_view rest = content; !rest.empty(); rest.remove_prefix(lines.back().size() + 1)) {
    lines.push_back(rest.substr(0, rest.find('\n')));
  }
  quorvel::sortLinesByColumn(lines, sortColumn);
  std::string list;
  for (std::string_view line : lines) list.append(line).push_back('\n');
  return list;
}
