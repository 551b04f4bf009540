#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
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

// A directory of this fuzzing process's own, made once.
inline std::string scratchDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-fuzz-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) std::abort();
  return pattern;
}

// An empty directory in `scratch` for one run, its path ending in "/".
inline std::string freshRunDirectory(const std::string& scratch) {
  std::string dir = scratch + "/run/";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directory(dir);
  return dir;
}

// Stops the fuzzer on a broken invariant, with `what` on standard error.
[[noreturn]] inline void fail(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

}  // namespace quorvel::fuzzing
