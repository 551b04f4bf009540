#pragma once

#include <unistd.h>

#include <utility>

namespace quorvel {

// Owns one open file descriptor and closes it when it goes.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
      reset();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { reset(); }

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }

  // Closes the descriptor; returns false when close reports an error (for a
  // file just written, data that may not have reached the disk).
  bool reset() {
    if (fd_ < 0) return true;
    int fd = std::exchange(fd_, -1);
    return ::close(fd) == 0;
  }

 private:
  int fd_ = -1;
};

}  // namespace quorvel
