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
    // Plain loops: tokens are short, and library searches cost more in
    // calls than they save.
    const char* at = rest_.data();
    const char* end = at + rest_.size();
    while (at < end && *at == ' ') ++at;
    if (at == end) {
      rest_ = {};
      return false;
    }
    const char* stop = at;
    while (stop < end && *stop != ' ') ++stop;
    token = std::string_view(at, static_cast<std::size_t>(stop - at));
    rest_ = std::string_view(stop, static_cast<std::size_t>(end - stop));
    return true;
  }

 private:
  std::string_view rest_;
};

}  // namespace quorvel
