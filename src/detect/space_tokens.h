#pragma once

#include <string_view>

namespace quorvel {

// Cuts a line into tokens at blanks: one or more blanks separate two tokens,
// blanks at either end give none. Only the blank separates; a tab is part of
// a token, as in the printed column logs this reads.
class SpaceTokens {
 public:
  explicit SpaceTokens(std::string_view text) : rest_(text) {}

  // Gives the next token; false when there is none left.
  bool next(std::string_view& token) {
    std::size_t start = rest_.find_first_not_of(' ');
    if (start == std::string_view::npos) {
      rest_ = {};
      return false;
    }
    rest_.remove_prefix(start);
    std::size_t end = rest_.find(' ');
    if (end == std::string_view::npos) end = rest_.size();
    token = rest_.substr(0, end);
    rest_.remove_prefix(end);
    return true;
  }

 private:
  std::string_view rest_;
};

}  // namespace quorvel
