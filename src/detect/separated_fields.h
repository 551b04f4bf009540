#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvel {

// A quoted field left open over more than this many bytes of lines is a
// stray quote, not a field: its row ends at the line end after all.
inline constexpr std::size_t kMostRowBytes = 64 * 1024;

// Cuts a row of a text log whose fields are separated by `separator` (a
// comma, a semicolon or a tab) into fields, as RFC 4180 reads CSV: an empty
// field is a field all the same, and a field in double quotes may hold the
// separator, line ends and doubled quotes. Blanks around a field go. A
// quoted field is given as it stands between its quotes, a doubled quote
// still doubled (see unquoted()). A row of a table with "|" between its
// cells may also begin and end with one, as wiki and Markdown tables do:
// those make no field.
class SeparatedFields {
 public:
  SeparatedFields(std::string_view row, char separator) : rest_(row), separator_(separator) {
    if (separator == '|') rest_ = withoutOuterPipes(rest_);
  }

  // `field` with each doubled quote made one and, where `lineEnds` says
  // its row ran over several lines, each line end made a blank, in
  // `scratch` when it holds any; else `field` itself. A value never holds
  // a line end: in a list it would break its contact's line in two.
  static std::string_view unquoted(std::string_view field, std::string& scratch, bool lineEnds) {
    if (field.find('"') == std::string_view::npos && (!lineEnds || field.find('\n') == std::string_view::npos)) {
      return field;
    }
    scratch.clear();
    for (std::size_t at = 0; at < field.size(); ++at) {
      scratch += field[at] == '\n' ? ' ' : field[at];
      if (field[at] == '"' && at + 1 < field.size() && field[at + 1] == '"') ++at;
    }
    return scratch;
  }

  // Gives the next field; false when the row has no more.
  bool next(std::string_view& field) {
    if (done_) return false;
    std::size_t at = skipBlanks(0);
    std::size_t end = 0;
    // A quote that no quote closes is a character of its field (a stray
    // one, or a row cut short at the end of its log).
    std::size_t close = rest_.size();
    if (at < rest_.size() && rest_[at] == '"' && (close = closingQuote(at + 1)) < rest_.size()) {
      field = rest_.substr(at + 1, close - at - 1);
      end = findSeparator(close);
    } else {
      end = findSeparator(at);
      field = trimEnd(rest_.substr(at, end - at));
    }
    if (end == rest_.size()) {
      done_ = true;
    } else {
      rest_.remove_prefix(end + 1);
    }
    return true;
  }

  // Whether `row` ends inside a quoted field, so that its next line
  // belongs to it.
  static bool endsInQuotes(std::string_view row, char separator) {
    // Every place is one of the cut row's: a table's outer "|" and the
    // blanks before it are gone from it.
    SeparatedFields fields(row, separator);
    const std::string_view cut = fields.rest_;
    for (std::size_t at = fields.skipBlanks(0);; at = fields.skipBlanks(at)) {
      if (at < cut.size() && cut[at] == '"') {
        at = fields.closingQuote(at + 1);
        if (at == cut.size()) return true;
      }
      at = fields.findSeparator(at);
      if (at == cut.size()) return false;
      ++at;
    }
  }

 private:
  // Where the next separator from `at` stands, or the row's end. A plain
  // loop: fields are short, and a library search costs more in its call
  // than it saves.
  std::size_t findSeparator(std::size_t at) const {
    while (at < rest_.size() && rest_[at] != separator_) ++at;
    return at;
  }
  std::size_t skipBlanks(std::size_t at) const {
    while (at < rest_.size() && rest_[at] == ' ') ++at;
    return at;
  }
  // Where the quoted field whose text starts at `at` ends: at its closing
  // quote, or at the end of the row when none closes it.
  std::size_t closingQuote(std::size_t at) const {
    for (; at < rest_.size(); ++at) {
      if (rest_[at] != '"') continue;
      if (at + 1 < rest_.size() && rest_[at + 1] == '"') {
        ++at;
      } else {
        return at;
      }
    }
    return rest_.size();
  }
  static std::string_view withoutOuterPipes(std::string_view row) {
    while (!row.empty() && row.front() == ' ') row.remove_prefix(1);
    row = trimEnd(row);
    if (!row.empty() && row.front() == '|') row.remove_prefix(1);
    if (!row.empty() && row.back() == '|') row.remove_suffix(1);
    return row;
  }
  static std::string_view trimEnd(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.remove_suffix(1);
    return text;
  }

  std::string_view rest_;
  char separator_;
  bool done_ = false;
};

}  // namespace quorvel
