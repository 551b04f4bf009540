#include "record/bucket_line.h"

#include <array>

#include "base/ascii.h"
#include "base/bytes.h"
#include "radio/band_table.h"

namespace quorvel {

namespace {

constexpr char kPart = '\t';
constexpr std::size_t kPageParts = 6;    // date, time, band, band text, mode, submode
constexpr std::size_t kRepeatParts = 3;  // band, submode, a date in doubt

// Whether `value` may stand among what a line carries: no control byte,
// the TAB that parts the values and the mark among them.
bool carriable(std::string_view value) {
  for (char c : value) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  }
  return true;
}

std::string_view bandName(int band) {
  return band >= 0 && static_cast<std::size_t>(band) < kBands.size() ? kBands[static_cast<std::size_t>(band)].name
                                                                     : std::string_view();
}

int bandNamed(std::string_view name) {
  for (std::size_t i = 0; i < kBands.size() && !name.empty(); ++i) {
    if (kBands[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

std::size_t digitsOf(std::size_t number) {
  if (number < 100) return number < 10 ? 1 : 2;
  std::size_t digits = 1;
  for (; number >= 10; number /= 10) ++digits;
  return digits;
}

}  // namespace

BucketLine readBucketLine(std::string_view line) {
  BucketLine read{line, std::string_view::npos, {}};
  // The callsign's place, last: a handful of digits.
  std::size_t digits = line.size();
  std::size_t callsignAt = 0, scale = 1;
  for (; digits > 0 && line.size() - digits < 7 && isAsciiDigit(static_cast<unsigned char>(line[digits - 1]));
       --digits, scale *= 10) {
    callsignAt += static_cast<std::size_t>(line[digits - 1] - '0') * scale;
  }
  if (digits == line.size() || digits == 0) return read;
  std::size_t mark = digits - 1;
  if (line[mark] == kPart) {
    mark = lastIndexOf(line.substr(0, mark), kCarriedMark);
    if (mark == std::string_view::npos) return read;
  } else if (line[mark] != kCarriedMark) {
    return read;
  }
  if (callsignAt >= mark) return read;
  read.text = line.substr(0, mark);
  read.callsignAt = callsignAt;
  if (mark + 1 < digits) read.meaning = line.substr(mark + 1, digits - 1 - (mark + 1));
  return read;
}

std::optional<CarriedMeaning> carriedMeaning(const BucketLine& line) {
  if (line.meaning.empty()) return std::nullopt;
  std::array<std::string_view, kPageParts> parts;
  std::string_view rest = line.meaning;
  for (std::size_t i = 0; i < kPageParts; ++i) {
    const std::size_t end = i + 1 < kPageParts ? rest.find(kPart) : rest.size();
    if (end == std::string_view::npos || (i + 1 == kPageParts && rest.find(kPart) != std::string_view::npos)) {
      return std::nullopt;
    }
    parts[i] = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  const int band = bandNamed(parts[2]);
  if (band < 0 && !parts[2].empty()) return std::nullopt;
  CarriedMeaning carried{{}, parts[3], parts[4]};
  carried.meaning.date = parts[0];
  carried.meaning.time = parts[1];
  carried.meaning.band = band;
  carried.meaning.submode = parts[5];
  return carried;
}

CarriedText::CarriedText(std::size_t callsignAt, const RecordFields& fields, const ContactMeaning& meaning,
                         Meanings meanings)
    : callsignAt_(callsignAt),
      digits_(0),
      size_(0),
      fields_(fields),
      meaning_(meaning),
      partCount_(meanings == Meanings::ForPage      ? kPageParts
                 : meanings == Meanings::ForRepeats ? kRepeatParts
                                                    : 0) {
  // For -unique, a meaning the text says is no meaning to carry.
  if (partCount_ == kRepeatParts && meaning.bandSaid && meaning.submode.empty() && !meaning.dateSettled) partCount_ = 0;
  if (partCount_ == 0) return;
  digits_ = digitsOf(callsignAt);
  std::size_t size = 1 + digits_;
  for (std::size_t i = 0; i < partCount_; ++i) {
    const std::string_view value = part(i);
    if (!carriable(value)) {
      partCount_ = 0;
      return;
    }
    size += value.size() + 1;
  }
  size_ = size;
}

std::string_view CarriedText::part(std::size_t i) const {
  if (partCount_ == kRepeatParts) {
    if (i == 0) return meaning_.bandSaid ? std::string_view() : bandName(meaning_.band);
    return i == 1 ? meaning_.submode : meaning_.dateSettled ? meaning_.date : std::string_view();
  }
  switch (i) {
    case 0: return meaning_.date;
    case 1: return meaning_.time;
    case 2: return bandName(meaning_.band);
    case 3: return fields_.band;
    case 4: return fields_.mode;
    default: return meaning_.submode;
  }
}

char* CarriedText::write(char* out) const {
  if (size_ == 0) return out;
  *out++ = kCarriedMark;
  for (std::size_t i = 0; i < partCount_; ++i) {
    const std::string_view value = part(i);
    copyBytes(out, value.data(), value.size());
    out += value.size();
    *out++ = kPart;
  }
  if (digits_ == 2) {  // nearly every line: a callsign after the date, time, band and mode
    out[0] = static_cast<char>('0' + callsignAt_ / 10);
    out[1] = static_cast<char>('0' + callsignAt_ % 10);
    return out + 2;
  }
  std::size_t number = callsignAt_;
  for (std::size_t i = digits_; i-- > 0; number /= 10) out[i] = static_cast<char>('0' + number % 10);
  return out + digits_;
}

std::string_view BucketPlaces::tellSlowly(std::string_view text, std::size_t untold) {
  if (untold == std::string_view::npos) {
    // A line this run wrote with its place told: the digits it ends with.
    std::size_t place = 0, scale = 1;
    for (std::size_t i = text.size(); i > 0 && isAsciiDigit(static_cast<unsigned char>(text[i - 1]));
         --i, scale *= 10) {
      place += static_cast<std::size_t>(text[i - 1] - '0') * scale;
    }
    if (mayCarry(text)) last_ = place;
    return {};
  }
  const std::size_t before = last_;
  last_ = untold;
  if (untold == before && !(mayCarry(text) && readBucketLine(text).carriesCallsign())) return {};
  told_[0] = kCarriedMark;
  const std::size_t digits = digitsOf(untold);
  for (std::size_t i = digits; i > 0; untold /= 10) told_[i--] = static_cast<char>('0' + untold % 10);
  return std::string_view(told_, digits + 1);
}

int compareBucketLines(const BucketLine& a, const BucketLine& b) {
  if (const int texts = a.text.compare(b.text); texts != 0) return texts;
  return a.meaning.compare(b.meaning);
}

}  // namespace quorvel
