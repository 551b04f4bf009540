#pragma once

#include <cstddef>

namespace quorvel {

// Line numbers for a LogBody that is read in blocks: the number of the
// line read last, and of the first line marked (where the body found
// something to report), 0 for none. A block's copy counts from its
// block's start and takes the lines before it in carryOver.
class LineTally {
 public:
  LineTally() = default;
  // `before` lines, each with its line end, came before the first line.
  explicit LineTally(std::size_t before) : ended_(before), current_(before) {}

  // A line was read; `ended` when a line end closed it (a piece of a long
  // line that was cut has none).
  void read(bool ended) {
    current_ = ended_ + 1;
    ended_ += ended ? 1 : 0;
  }
  std::size_t current() const { return current_; }
  void mark() {
    if (marked_ == 0) marked_ = current_;
  }
  std::size_t marked() const { return marked_; }

  void carryOver(const LineTally& before) {
    marked_ = before.marked_ != 0 ? before.marked_ : marked_ != 0 ? marked_ + before.ended_ : 0;
    current_ = current_ != 0 ? current_ + before.ended_ : before.current_;
    ended_ += before.ended_;
  }

 private:
  std::size_t ended_ = 0;
  std::size_t current_ = 0;
  std::size_t marked_ = 0;
};

}  // namespace quorvel
