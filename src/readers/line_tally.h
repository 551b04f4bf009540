#pragma once

#include <array>
#include <cstddef>

namespace quorvel {

// Line numbers for a LogBody that is read in blocks: the number of the
// line read last, and for each of two marks (two things the body may
// find to report) the first line marked, 0 for none. A block's copy
// counts from its block's start and takes the lines before it in
// carryOver.
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
  void mark(std::size_t which = 0) {
    if (marked_[which] == 0) marked_[which] = current_;
  }
  std::size_t marked(std::size_t which = 0) const { return marked_[which]; }

  void carryOver(const LineTally& before) {
    for (std::size_t i = 0; i < marked_.size(); ++i) {
      marked_[i] = before.marked_[i] != 0 ? before.marked_[i] : marked_[i] != 0 ? marked_[i] + before.ended_ : 0;
    }
    current_ = current_ != 0 ? current_ + before.ended_ : before.current_;
    ended_ += before.ended_;
  }

 private:
  std::size_t ended_ = 0;
  std::size_t current_ = 0;
  std::array<std::size_t, 2> marked_{};
};

}  // namespace quorvel
