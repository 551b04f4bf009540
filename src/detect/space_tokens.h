#pragma once

#include <optional>
#include <string_view>

#include "base/ascii.h"
#include "radio/date_time.h"

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
// of that time ("1:05 PM"), and a date written with blanks, a day, a
// month's name and a year ("14 JUN 2025"), which is one date: never
// columns of their own.
class ColumnTokens {
 public:
  explicit ColumnTokens(std::string_view text) : tokens_(text) {}

  // Gives the next column's text; false when there is none left.
  bool next(std::string_view& token) {
    if (!tokens_.next(token)) return false;
    // Most tokens are no clock: a glance at where its colon would stand. (A
    // frequency with a dot may stand before the mode AM.)
    if (token.size() >= 4 && (token[1] == ':' || token[2] == ':')) joinMeridiem(token);
    // A day is a number of one or two digits; a month's name after it
    // begins with a letter.
    if (token.size() <= 2 && isDigit(token.front()) && (token.size() == 1 || isDigit(token[1]))) joinDate(token);
    return true;
  }

 private:
  static bool isDigit(char c) { return isAsciiDigit(static_cast<unsigned char>(c)); }

  // Makes `token`, a day, take the month's name and the year after it.
  [[gnu::noinline]] void joinDate(std::string_view& token) {
    SpaceTokens after = tokens_;
    std::string_view month, year;
    if (!after.next(month) || month.size() < 3 || isDigit(month.front()) || !after.next(year) ||
        (year.size() != 2 && year.size() != 4) || !isDigit(year.front())) {
      return;
    }
    const std::string_view joined(token.data(), static_cast<std::size_t>(year.data() + year.size() - token.data()));
    if (const std::optional<DateRead> date = readDate(joined); date && date->notation.monthNamed) {
      token = joined;
      tokens_ = after;
    }
  }

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
