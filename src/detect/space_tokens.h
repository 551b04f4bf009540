#pragma once

#include <optional>
#include <string_view>

#include "detect/date_time.h"

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

// The columns of a blank-separated line of a column text log: its tokens,
// but for AM or PM right after a time written with a colon, which is part
// of that time ("1:05 PM"), never a column of its own.
class ColumnTokens {
 public:
  explicit ColumnTokens(std::string_view text) : tokens_(text) {}

  // Gives the next column's text; false when there is none left.
  bool next(std::string_view& token) {
    if (!tokens_.next(token)) return false;
    // Most tokens are no clock: a glance at where its colon would stand. (A
    // frequency with a dot may stand before the mode AM.)
    if (token.size() >= 4 && (token[1] == ':' || token[2] == ':')) joinMeridiem(token);
    return true;
  }

 private:
  // Makes `token`, a time, take the AM or PM after it.
  [[gnu::noinline]] void joinMeridiem(std::string_view& token) {
    SpaceTokens after = tokens_;
    std::string_view meridiem;
    if (!after.next(meridiem) || (meridiem.front() != 'A' && meridiem.front() != 'P')) return;
    const std::string_view joined(token.data(),
                                  static_cast<std::size_t>(meridiem.data() + meridiem.size() - token.data()));
    if (const std::optional<TimeRead> time = readTime(joined); time && time->notation.twelveHour) {
      token = joined;
      tokens_ = after;
    }
  }

  SpaceTokens tokens_;
};

}  // namespace quorvel
