#include "detect/row_kind.h"

#include <algorithm>

#include "base/ascii.h"
#include "detect/column_names.h"
#include "detect/header_row.h"
#include "radio/recognisers.h"

namespace quorvel {

namespace {

constexpr std::size_t kLeastSeparatedFields = 3;
// Characters no callsign between blanks holds, though isCallsign() lets
// them by beside a "/": those of CSV's separators (VE3AAA,27/06/2025 is a
// row of CSV) and of markup (500</BODY> is a web page's).
constexpr std::string_view kNoCallsignCharacters = "\t;,|<>";

bool holdsDigit(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return isAsciiDigit(static_cast<unsigned char>(c)); });
}

bool blankSeparatedCallsign(std::string_view word) {
  if (!isCallsign(word)) return false;
  // A plain loop: a word is short, and a search of the set for each of
  // its characters would be a call apiece on every row.
  for (char c : word) {
    for (char no : kNoCallsignCharacters) {
      if (c == no) return false;
    }
  }
  return true;
}

// A printed log's page break: a form feed, or a first word PAGE alone or
// before a number (Page 3).
bool pageBreak(std::string_view row, const std::vector<RowField>& fields) {
  if (row.find('\f') != std::string_view::npos) return true;
  return !fields.empty() && fields[0].text == "PAGE" && (fields.size() == 1 || holdsDigit(fields[1].text));
}

bool rulerField(std::string_view text) {
  return !text.empty() && text.find_first_not_of("-=_:+|") == std::string_view::npos;
}

// A callsign in the column the log keeps them in: a field that starts with
// a letter or digit and is no heading's name (the header row repeated).
bool contactCallsign(std::string_view field) {
  if (field.empty() || !isAsciiAlnum(static_cast<unsigned char>(field.front()))) return false;
  return holdsDigit(field) || !roleNamed(field);
}

}  // namespace

RowKind rowKind(std::string_view row, const std::vector<RowField>& fields, char separator, int callsignColumn) {
  // Between blanks no field is empty.
  if (separator == ' ' ? fields.empty() : std::all_of(fields.begin(), fields.end(), [](const RowField& field) {
        return field.text.empty();
      })) {
    return RowKind::Blank;
  }
  // Most rows are contacts: told first, at their callsign.
  bool callsign = false;
  if (separator != ' ' && callsignColumn >= 0) {
    const auto column = static_cast<std::size_t>(callsignColumn);
    callsign = column < fields.size() && contactCallsign(fields[column].text);
  } else {
    auto holdsCallsign = [separator](const RowField& field) {
      return separator == ' ' ? blankSeparatedCallsign(field.text) : isCallsign(field.text);
    };
    // Between blanks a value may stand off its column, so any field will
    // do; the one in the callsign's column is asked first, as nearly every
    // row has its callsign there.
    const auto column = static_cast<std::size_t>(callsignColumn);
    callsign = (callsignColumn >= 0 && column < fields.size() && holdsCallsign(fields[column])) ||
               std::any_of(fields.begin(), fields.end(), holdsCallsign);
  }
  if (callsign) {
    return separator != ' ' && callsignColumn < 0 && fields.size() < kLeastSeparatedFields ? RowKind::Title
                                                                                           : RowKind::Data;
  }
  if (fields.front().text.starts_with("START-OF-LOG:")) return RowKind::Cabrillo;
  if (row.find("<EOH>") != std::string_view::npos) return RowKind::Adif;
  if (separator == ' ' && pageBreak(row, fields)) return RowKind::Heading;
  if (std::all_of(fields.begin(), fields.end(), [](const RowField& field) { return rulerField(field.text); })) {
    return RowKind::Ruler;
  }
  return callsignColumn < 0 && headerRoleCount(row, separator) >= 2 ? RowKind::Heading : RowKind::Other;
}

}  // namespace quorvel
