#pragma once

#include <cstdio>
#include <cstdlib>

// Stops the fuzzer on a broken invariant, with `what` on standard error.
inline void check(bool holds, const char* what) {
  if (!holds) std::fprintf(stderr, "invariant broken: %s\n", what), std::abort();
}
