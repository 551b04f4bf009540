#pragma once

#include <string>
#include <utility>

namespace quorvel {

// The outcome of an operation that can stop the run. A failure carries the
// exact text to print on standard error (new line included); the driver
// prints it and ends the run with status 1. Nothing below the driver ends
// the process itself.
class [[nodiscard]] Status {
 public:
  static Status ok() { return Status(); }
  static Status failure(std::string message) { return Status(std::move(message)); }
  // A failure whose message the console has shown already, where it
  // happened: the run ends in failure with nothing more to say for it.
  static Status reported() { return Status(std::string(), true); }

  bool isOk() const { return !failed_; }
  // Failed with its message shown already (reported()), and with no other.
  bool wasReported() const { return reported_ && message_.empty(); }
  const std::string& message() const { return message_; }

  // Keeps the first failure and appends the message of any later one, so a
  // stage that goes on after an error can report every error at the end.
  void absorb(const Status& other) {
    if (other.isOk()) return;
    failed_ = true;
    message_ += other.message_;
  }

 private:
  Status() = default;
  explicit Status(std::string message, bool reported = false)
      : failed_(true), reported_(reported), message_(std::move(message)) {}

  bool failed_ = false;
  bool reported_ = false;
  std::string message_;
};

}  // namespace quorvel
