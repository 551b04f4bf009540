#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace quorvel {

// How the text files the program writes (bucket files, lists) end their
// lines: with CR LF on Windows, as text files there have always done, with
// "\n" elsewhere. Reading takes either.
inline constexpr bool kCrLfLineEnds = QUORVEL_WINDOWS;
inline constexpr std::string_view kLineEnd = kCrLfLineEnds ? "\r\n" : "\n";

// The operating system's files, behind the few calls the program makes
// (platform_posix.cpp, platform_win32.cpp).
// Names are UTF-8; files are always read and written as bytes. Every call
// reports failure by its result and goes on after an interrupted system
// call; none prints anything.

// Owns one open file and closes it when it goes: a descriptor on POSIX
// systems, a handle on Windows; -1 for none on both.
class File {
 public:
  File() = default;
  explicit File(std::intptr_t handle) : handle_(handle) {}
  File(File&& other) noexcept : handle_(std::exchange(other.handle_, -1)) {}
  File& operator=(File&& other) noexcept {
    if (this != &other) {
      (void)close();
      handle_ = std::exchange(other.handle_, -1);
    }
    return *this;
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  ~File() { (void)close(); }

  bool isOpen() const { return handle_ != -1; }
  std::intptr_t handle() const { return handle_; }

  // Closes the file; false when closing reports an error (for a file just
  // written, data that may not have reached the disk).
  bool close();

 private:
  std::intptr_t handle_ = -1;
};

// Opens the log `name` for reading, through links and pipes as the user
// means them; not open when it cannot be opened or is a directory.
File openLog(const std::string& name);

// The files the program writes are opened only as themselves: never through
// a symbolic link at their name, never when the name is held by anything
// but a regular file (a pipe, a device, a folder), and never so that a
// planted pipe could block the run.

// Opens the regular file at `path` for appending, creating it when missing
// and keeping what it holds; not open when the name holds anything else.
File openForAppending(const std::string& path);

// Creates a new regular file at `path` for writing. Whatever stands at the
// name but a folder (a file or link left by an interrupted run, or
// planted) is removed first, a link and not its target; the file is then
// created only if the name is still free.
File createNew(const std::string& path);

// Opens the regular file at `path` for reading; not open when it cannot be
// opened or the name holds anything else.
File openForReading(const std::string& path);

// Reads up to `size` bytes into `into`: how many were read, 0 at the end,
// -1 on an error.
std::int64_t readSome(const File& file, char* into, std::size_t size);

// Writes all of `data`; false when the file took less (disk full, a size
// limit) or the writing failed.
bool writeFully(const File& file, std::string_view data);

// The size of an open file, or -1 when it cannot be told.
std::int64_t sizeOf(const File& file);

// The size of the file at `path` (of a link itself, not of its target), or
// -1 when there is none.
std::int64_t sizeOf(const std::string& path);

// Which file an open file, or the name at a path, is: two files alike in
// both are one. A link's name is the link, not its target.
struct FileIdentity {
  std::uint64_t device = 0, index = 0;
  bool operator==(const FileIdentity&) const = default;
};

// The identity of an open file or of the name at `path`; none when it
// cannot be told (a pipe on Windows, a missing name).
std::optional<FileIdentity> identityOf(const File& file);
std::optional<FileIdentity> identityOf(const std::string& path);

// Reads the byte at `offset` of an open file; false when there is none.
bool readByteAt(const File& file, std::int64_t offset, char& byte);

// Cuts an open file back to `size` bytes.
bool truncateTo(const File& file, std::int64_t size);

// Replaces `content` with the whole content of the open `file`; false
// when it cannot be read. The string is given room for one byte more than
// the file holds.
bool readWholeFile(const File& file, std::string& content);

// Gives the file at `from` the name `to`, replacing a regular file of that
// name in one step: the name never stands for a half-written file. False,
// leaving both alone, when `to` holds anything but a regular file.
bool replaceFile(const std::string& from, const std::string& to);

// Deletes the file at `path`.
bool removeFile(const std::string& path);

// How taking a lock ended: taken, held by another open file, or refused.
enum class LockOutcome { Taken, Busy, Failed };

// Whether taking a lock held by another open file fails at once as Busy,
// or waits until the lock is free.
enum class LockWait { No, UntilFree };

// Takes the operating system's exclusive lock on the open `file` (flock on
// POSIX systems, LockFileEx on Windows), held until the file is closed or
// the process ends in any way, a kill included.
LockOutcome lockFile(const File& file, LockWait wait);

// Writes what the system still holds of an open file out to the disk, so
// that it survives a power cut; false when that fails.
bool syncFile(const File& file);

// Writes the entries of `directory` ("" for the current one, else ending
// in "/") out to the disk: a file made or renamed there then survives a
// power cut.
bool syncDirectory(const std::string& directory);

}  // namespace quorvel
