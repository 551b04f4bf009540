#include "output/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "quorvel/unique_fd.h"

namespace quorvel {

std::size_t writeFully(int fd, std::string_view data) {
  std::size_t written = 0;
  while (written < data.size()) {
    ssize_t got = ::write(fd, data.data() + written, data.size() - written);
    if (got > 0) {
      written += static_cast<std::size_t>(got);
    } else if (got < 0 && errno == EINTR) {
      continue;
    } else {
      break;
    }
  }
  return written;
}

bool readWholeFile(const std::string& path, std::string& content) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) return false;
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  // Room for one byte more than the file holds, so the read that finds its
  // end needs no more, nor does a new line added after it.
  content.resize(static_cast<std::size_t>(info.st_size) + 1);
  std::size_t have = 0;
  for (;;) {
    if (have == content.size()) content.resize(content.size() + 64 * 1024);
    ssize_t got = ::read(fd.get(), content.data() + have, content.size() - have);
    if (got > 0) {
      have += static_cast<std::size_t>(got);
    } else if (got == 0) {
      break;
    } else if (errno != EINTR) {
      return false;
    }
  }
  content.resize(have);
  return true;
}

}  // namespace quorvel
