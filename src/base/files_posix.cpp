// The file calls of base/files.h on POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "base/files.h"

namespace quorvel {

bool File::close() {
  if (descriptor_ < 0) return true;
  return ::close(std::exchange(descriptor_, -1)) == 0;
}

File openLog(const std::string& name) {
  File log(::open(name.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (!log.isOpen() || ::fstat(log.descriptor(), &info) != 0 || S_ISDIR(info.st_mode)) return File();
  return log;
}

File openForAppending(const std::string& path) {
  return File(::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
}

File createForWriting(const std::string& path) {
  return File(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
}

std::int64_t readSome(const File& file, char* into, std::size_t size) {
  for (;;) {
    ssize_t got = ::read(file.descriptor(), into, size);
    if (got >= 0 || errno != EINTR) return got;
  }
}

bool writeFully(const File& file, std::string_view data) {
  std::size_t written = 0;
  while (written < data.size()) {
    ssize_t got = ::write(file.descriptor(), data.data() + written, data.size() - written);
    if (got > 0) {
      written += static_cast<std::size_t>(got);
    } else if (got < 0 && errno == EINTR) {
      continue;
    } else {
      return false;
    }
  }
  return true;
}

std::int64_t sizeOf(const File& file) {
  struct stat info {};
  return ::fstat(file.descriptor(), &info) == 0 ? info.st_size : -1;
}

std::int64_t sizeOf(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? info.st_size : -1;
}

bool readByteAt(const File& file, std::int64_t offset, char& byte) {
  return ::pread(file.descriptor(), &byte, 1, offset) == 1;
}

bool truncateTo(const File& file, std::int64_t size) { return ::ftruncate(file.descriptor(), size) == 0; }

bool readWholeFile(const std::string& path, std::string& content) {
  File file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!file.isOpen()) return false;
  struct stat info {};
  if (::fstat(file.descriptor(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  // One byte more than the file holds: the read that finds its end needs
  // no more room, nor does a new line added after it.
  content.resize(static_cast<std::size_t>(info.st_size) + 1);
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

bool replaceFile(const std::string& from, const std::string& to) { return ::rename(from.c_str(), to.c_str()) == 0; }

bool removeFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

}  // namespace quorvel
