// The calls of base/files.h and base/arguments.h on POSIX systems.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/arguments.h"
#include "base/console.h"
#include "base/files.h"
#include "base/system_error.h"

namespace quorvel {

namespace {

int descriptorOf(const File& file) { return static_cast<int>(file.handle()); }

// The errno of a name the program refused to write through: a link, a
// pipe, a device. No errno of the system's has this value.
constexpr int kNotRegularFile = 0x7fff0001;

// A closed file, with the reason it was refused.
File refused(int reason) {
  errno = reason;
  return File();
}

}  // namespace

SystemError lastSystemError() {
  const int code = errno;
  if (code == kNotRegularFile) return {"not a regular file"};
  return {std::strerror(code)};
}

std::string nameInMessages(const std::string&, const std::string& name) { return name; }

bool startedOnItsOwn() { return false; }

void waitForEnter() {}

void writeToStream(std::FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

std::vector<std::string> commandLineArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

bool File::close() {
  if (handle_ < 0) return true;
  return ::close(static_cast<int>(std::exchange(handle_, -1))) == 0;
}

File openLog(const std::string& name) {
  File log(::open(name.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (!log.isOpen() || ::fstat(descriptorOf(log), &info) != 0) return File();
  return S_ISDIR(info.st_mode) ? refused(EISDIR) : std::move(log);
}

namespace {

// `file` when it is open on a regular file, ready for blocking writes;
// else a closed file. It was opened without blocking, so that a pipe at
// its name could not stall the open.
File onlyRegular(File file) {
  struct stat info {};
  // O_NOFOLLOW refuses a link at the name with ELOOP.
  if (!file.isOpen()) return errno == ELOOP ? refused(kNotRegularFile) : File();
  if (::fstat(descriptorOf(file), &info) != 0) return File();
  if (!S_ISREG(info.st_mode)) return refused(S_ISDIR(info.st_mode) ? EISDIR : kNotRegularFile);
  int flags = ::fcntl(descriptorOf(file), F_GETFL);
  if (flags < 0 || ::fcntl(descriptorOf(file), F_SETFL, flags & ~O_NONBLOCK) != 0) return File();
  return file;
}

constexpr int kOwnFile = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;

}  // namespace

File openForAppending(const std::string& path) {
  return onlyRegular(File(::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | kOwnFile, 0666)));
}

File createNew(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode)) (void)::unlink(path.c_str());
  return onlyRegular(File(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | kOwnFile, 0666)));
}

std::int64_t readSome(const File& file, char* into, std::size_t size) {
  for (;;) {
    ssize_t got = ::read(descriptorOf(file), into, size);
    if (got >= 0 || errno != EINTR) return got;
  }
}

bool writeFully(const File& file, std::string_view data) {
  std::size_t written = 0;
  while (written < data.size()) {
    ssize_t got = ::write(descriptorOf(file), data.data() + written, data.size() - written);
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
  return ::fstat(descriptorOf(file), &info) == 0 ? info.st_size : -1;
}

namespace {

FileIdentity identityIn(const struct stat& info) {
  return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

}  // namespace

std::optional<FileIdentity> identityOf(const File& file) {
  struct stat info {};
  if (::fstat(descriptorOf(file), &info) != 0) return std::nullopt;
  return identityIn(info);
}

std::optional<FileIdentity> identityOf(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return std::nullopt;
  return identityIn(info);
}

std::int64_t sizeOf(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 ? info.st_size : -1;
}

bool readByteAt(const File& file, std::int64_t offset, char& byte) {
  return ::pread(descriptorOf(file), &byte, 1, offset) == 1;
}

bool truncateTo(const File& file, std::int64_t size) { return ::ftruncate(descriptorOf(file), size) == 0; }

File openForReading(const std::string& path) { return onlyRegular(File(::open(path.c_str(), O_RDONLY | kOwnFile))); }

bool replaceFile(const std::string& from, const std::string& to) {
  // The check and the rename are two steps, but rename never follows a
  // link: a link planted between them is replaced, its target untouched.
  struct stat info {};
  if (::lstat(to.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    errno = S_ISDIR(info.st_mode) ? EISDIR : kNotRegularFile;
    return false;
  }
  return ::rename(from.c_str(), to.c_str()) == 0;
}

bool removeFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

LockOutcome lockFile(const File& file, LockWait waiting) {
  const bool wait = waiting == LockWait::UntilFree;
  // flock, not fcntl: its lock belongs to this open file, not to the
  // process, so no other descriptor of the file can drop it by closing.
  for (;;) {
    if (::flock(descriptorOf(file), LOCK_EX | (wait ? 0 : LOCK_NB)) == 0) return LockOutcome::Taken;
    if (errno == EWOULDBLOCK && !wait) return LockOutcome::Busy;
    if (errno != EINTR) return LockOutcome::Failed;
  }
}

bool syncFile(const File& file) { return ::fsync(descriptorOf(file)) == 0; }

bool syncDirectory(const std::string& directory) {
  File folder(::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return folder.isOpen() && ::fsync(descriptorOf(folder)) == 0;
}

}  // namespace quorvel
