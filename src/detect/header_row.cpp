#include "detect/header_row.h"

#include <algorithm>

#include "base/ascii.h"
#include "base/utf8.h"
#include "detect/separated_fields.h"
#include "detect/space_tokens.h"
#include "radio/date_time.h"
#include "radio/field_shapes.h"
#include "radio/recognisers.h"

namespace quorvel {

namespace {

// A name or a token of a blank-separated row, and where it stands: its
// bytes, and the characters it stands over on the screen.
struct Span {
  std::size_t begin, end;  // bytes
  std::optional<NamedRole> role;
  std::size_t left = 0, right = 0;  // characters
};

// The character each byte of `row` begins, and one past its end: a UTF-8
// sequence is one character (Opérateur is nine), every other byte one, as
// Latin-1 and Windows-1252 write letters.
std::vector<std::size_t> characterPlaces(std::string_view row) {
  std::vector<std::size_t> places(row.size() + 1);
  std::size_t character = 0;
  for (std::size_t at = 0; at < row.size();) {
    const std::size_t length = std::max<std::size_t>(utf8Length(row.substr(at)), 1);
    for (std::size_t i = 0; i < length; ++i) places[at + i] = character;
    at += length;
    ++character;
  }
  places[row.size()] = character;
  return places;
}

// The columns of a blank-separated row, as the column reader cuts them.
std::vector<Span> wordsOf(std::string_view row) {
  std::vector<Span> words;
  const std::vector<std::size_t> places = characterPlaces(row);
  ColumnTokens tokens(row);
  for (std::string_view token; tokens.next(token);) {
    const auto begin = static_cast<std::size_t>(token.data() - row.data());
    words.push_back({begin, begin + token.size(), std::nullopt, places[begin], places[begin + token.size()]});
  }
  return words;
}

std::size_t overlap(const Span& a, const Span& b) {
  const std::size_t left = std::max(a.left, b.left);
  const std::size_t right = std::min(a.right, b.right);
  return right > left ? right - left : 0;
}

// The token of `tokens` that `name` stands over most; tokens.size() for none.
std::size_t tokenBelow(const Span& name, const std::vector<Span>& tokens) {
  std::size_t below = tokens.size();
  std::size_t most = 0;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (overlap(name, tokens[i]) > most) below = i, most = overlap(name, tokens[i]);
  }
  return below;
}

// The words of a blank-separated header row, a name of several words
// taken whole ("Call worked") before its first word alone.
std::vector<Span> namesOf(std::string_view row) {
  constexpr std::size_t kMostWords = 3;
  std::vector<Span> words = wordsOf(row);
  std::vector<Span> names;
  for (std::size_t i = 0; i < words.size();) {
    std::size_t taken = 1;
    names.push_back(words[i]);
    // Words of one name stand a blank apart; wider gaps part columns.
    std::size_t most = 1;
    while (most < kMostWords && i + most < words.size() && words[i + most].begin == words[i + most - 1].end + 1) ++most;
    for (std::size_t count = most; count > 0; --count) {
      const Span& last = words[i + count - 1];
      if (auto role = roleNamed(row.substr(words[i].begin, last.end - words[i].begin))) {
        names.back() = {words[i].begin, last.end, role, words[i].left, last.right};
        taken = count;
        break;
      }
    }
    i += taken;
  }
  return names;
}

// Whether a name stands over a token as a printed table stands it: at its
// left edge or its right, or within a wider value ("Date" over
// "19-Oct-03"). A name that only runs into a token ("BAND" half over
// "1432"), or over a shorter one, was typed, not aligned.
bool standsOver(const Span& name, const Span& token) {
  const bool within = name.left >= token.left && name.right <= token.right;
  return name.left == token.left || name.right == token.right || within;
}

bool holdsDigit(std::string_view value) {
  return std::any_of(value.begin(), value.end(), [](char c) { return isAsciiDigit(static_cast<unsigned char>(c)); });
}
bool holdsLetter(std::string_view value) {
  return std::any_of(value.begin(), value.end(), [](char c) { return isAsciiAlpha(static_cast<unsigned char>(c)); });
}

// Whether `value` can be what a header names `role`. A value plainly of
// another kind (a time below "Call", a callsign below "Band", a band below
// "Mode") says the name stands over another column than its own, as in a
// header typed out of line with the columns below it.
bool canHold(NamedRole role, std::string_view value) {
  // A placeholder ("-", "?") says nothing of its column.
  if (!holdsDigit(value) && !holdsLetter(value)) return true;
  const std::optional<TimeRead> time = readTime(value);
  const bool dated = value.find_first_of("-/") != std::string_view::npos || (value.size() == 8 && readDate(value));
  const bool otherKind = looksLikeCallsign(value) || (time && time->notation.separator == ':');
  switch (role) {
    case NamedRole::Callsign:
    case NamedRole::OwnCall: return isCallsign(value) && !isModeName(value);
    case NamedRole::Date: return holdsDigit(value) && !otherKind && !isModeName(value);
    case NamedRole::Time: return holdsDigit(value) && !looksLikeCallsign(value) && !dated && !isModeName(value);
    case NamedRole::Band:
    case NamedRole::Frequency:
      return (holdsDigit(value) || value == "SAT") && !otherKind && !dated &&
             (gluedBandLength(value) > 0 || !isModeName(value));
    case NamedRole::Mode:
    case NamedRole::Submode: return holdsLetter(value) && !otherKind;
  }
  return false;
}

}  // namespace

int headerRoleCount(std::string_view row, char separator) {
  std::vector<std::optional<NamedRole>> names;
  if (separator != ' ') return namedRoleCount(namesOfColumns(row, separator, {}));
  for (const Span& name : namesOf(row)) names.push_back(name.role);
  return namedRoleCount(names);
}

std::vector<std::optional<NamedRole>> namesOfColumns(std::string_view headerRow, char separator,
                                                     std::string_view dataRow) {
  std::vector<std::optional<NamedRole>> names;
  if (separator != ' ') {
    SeparatedFields fields(headerRow, separator);
    for (std::string_view field; fields.next(field);) names.push_back(roleNamed(field));
    return names;
  }
  // A printed table stands each name above its column, a typed one only
  // in the same order: a column is taken as named when both ways agree.
  const std::vector<Span> tokens = wordsOf(dataRow);
  const std::vector<Span> header = namesOf(headerRow);
  names.resize(tokens.size());
  // A header whose words all stand a single blank apart was typed, not
  // laid out over its columns: where a name stands says nothing.
  const std::vector<Span> words = wordsOf(headerRow);
  const bool typed =
      words.size() >= 2 && std::adjacent_find(words.begin(), words.end(), [](const Span& a, const Span& b) {
                             return b.begin != a.end + 1;
                           }) == words.end();
  if (typed) return names;
  int roles = 0, standing = 0;
  for (std::size_t k = 0; k < header.size() && k < tokens.size(); ++k) {
    const Span& name = header[k];
    roles += name.role ? 1 : 0;
    const std::string_view value = dataRow.substr(tokens[k].begin, tokens[k].end - tokens[k].begin);
    if (tokenBelow(name, tokens) == k && standsOver(name, tokens[k]) && (!name.role || canHold(*name.role, value))) {
      names[k] = name.role;
      standing += name.role ? 1 : 0;
    }
  }
  // A typed header stands a name over its column now and then by chance
  // ("MODE" ending over "14"): unless most of its names stand over values
  // they can name, it names none of them, and the values' shapes decide.
  if (2 * standing <= roles) std::fill(names.begin(), names.end(), std::nullopt);
  return names;
}

int namedRoleCount(const std::vector<std::optional<NamedRole>>& names) {
  std::vector<NamedRole> roles;
  for (const auto& name : names) {
    if (name && std::find(roles.begin(), roles.end(), *name) == roles.end()) roles.push_back(*name);
  }
  return static_cast<int>(roles.size());
}

std::vector<std::optional<ColumnRole>> rolesOfColumns(const std::vector<std::optional<NamedRole>>& names) {
  auto has = [&names](NamedRole role) { return std::find(names.begin(), names.end(), role) != names.end(); };
  std::vector<std::optional<ColumnRole>> roles(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (!names[i]) continue;
    switch (*names[i]) {
      case NamedRole::Date: roles[i] = ColumnRole::Date; break;
      case NamedRole::Time: roles[i] = ColumnRole::Time; break;
      case NamedRole::Band: roles[i] = ColumnRole::Band; break;
      case NamedRole::Frequency:
        if (!has(NamedRole::Band)) roles[i] = ColumnRole::Band;
        break;
      case NamedRole::Mode: roles[i] = ColumnRole::Mode; break;
      case NamedRole::Submode:
        if (!has(NamedRole::Mode)) roles[i] = ColumnRole::Mode;
        break;
      case NamedRole::Callsign: roles[i] = ColumnRole::Callsign; break;
      case NamedRole::OwnCall: roles[i] = ColumnRole::OwnCall; break;
    }
  }
  return roles;
}

int submodeColumnOf(const std::vector<std::optional<NamedRole>>& names) {
  const auto submode = std::find(names.begin(), names.end(), NamedRole::Submode);
  if (submode == names.end() || std::find(names.begin(), names.end(), NamedRole::Mode) == names.end()) {
    return ColumnMap::kUnassigned;
  }
  return static_cast<int>(submode - names.begin());
}

}  // namespace quorvel
