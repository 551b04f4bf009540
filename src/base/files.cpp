// The file calls of base/files.h made of the platform's own.
#include "base/files.h"

namespace quorvel {

bool readWholeFile(const File& file, std::string& content) {
  const std::int64_t size = sizeOf(file);
  if (size < 0) return false;
  // One byte more than the file holds: the read that finds its end needs
  // no more room, nor does a new line added after it.
  content.resize(static_cast<std::size_t>(size) + 1);
  std::size_t have = 0;
  for (;;) {
    if (have == content.size()) content.resize(content.size() + 64 * 1024);
    std::int64_t got = readSome(file, content.data() + have, content.size() - have);
    if (got < 0) return false;
    if (got == 0) break;
    have += static_cast<std::size_t>(got);
  }
  content.resize(have);
  return true;
}

}  // namespace quorvel
