#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "quorvel/run_options.h"

namespace quorvel::fuzzing {

// The run options a fuzz input's first byte chooses.
inline RunOptions optionsFrom(std::uint8_t byte) {
  RunOptions options;
  options.noDate = byte & 1;
  options.noTime = byte & 2;
  options.keepComments = byte & 4;
  options.lowerCaseNames = byte & 8;
  return options;
}

// An in-memory file holding `bytes`, positioned at its start; -1 if none
// could be made.
inline int memoryFile(std::string_view bytes) {
  int fd = ::memfd_create("log", 0);
  if (fd < 0) return -1;
  std::size_t written = 0;
  while (written < bytes.size()) {
    ssize_t got = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (got <= 0) std::abort();
    written += static_cast<std::size_t>(got);
  }
  ::lseek(fd, 0, SEEK_SET);
  return fd;
}

// Stops the fuzzer on a broken invariant, with `what` on standard error.
[[noreturn]] void fail(const char* what);

}  // namespace quorvel::fuzzing
