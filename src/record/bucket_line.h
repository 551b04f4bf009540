#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "record/contact_meaning.h"
#include "record/record_line.h"

namespace quorvel {

// A line of a bucket file (without its line end): the list line's text,
// and after it, for a line the run wrote, what the run knew of its
// contact: where its callsign starts, last, and before it as much of the
// contact's meaning as the run needs (Meanings): for -unique, what two
// lines alike in their text may still mean differently (a band its text
// does not name, the submode, a date whose text leaves day and month
// open); for the page, all of it and the list texts of its band and mode.
// A line of this run that would carry its callsign's place alone, the
// same place as the run's line before it in the bucket, carries nothing
// (BucketPlaces): its place is that one. A line an earlier run left carries
// nothing either (the sort tells the two apart by where they stand in the
// bucket), and is the only one read back from its text. The sort, the
// merge and the page read what a line carries from here.
//
//   text
//   text US callsignAt
//   text US band TAB submode TAB date TAB callsignAt
//   text US date TAB time TAB band TAB bandText TAB mode TAB submode TAB callsignAt
struct BucketLine {
  std::string_view text;
  // Where the callsign starts in `text`; npos for a line that carries
  // nothing.
  std::size_t callsignAt = std::string_view::npos;
  std::string_view meaning;  // the meaning's values, parted by tabs; empty for none

  bool carriesCallsign() const { return callsignAt != std::string_view::npos; }
};

// The byte that parts a bucket line's text from what it carries: a
// control that no value of a line the run writes holds.
inline constexpr char kCarriedMark = '\x1F';

// Reads `line`, a bucket line without its line end. A line whose text
// holds the mark and what follows it reads as carrying it only when that
// is well formed and its callsign position lies within the text.
BucketLine readBucketLine(std::string_view line);

// Whether `line` may carry something: it ends with one to seven digits
// after the mark or a TAB. Most lines carry nothing, and end with a
// callsign's letter or a comment's word or number: the sort asks this of
// every line before it reads one whole.
inline bool mayCarry(std::string_view line) {
  const std::size_t least = line.size() > 7 ? line.size() - 7 : 0;
  std::size_t digits = line.size();
  while (digits > least && static_cast<unsigned char>(line[digits - 1] - '0') <= 9) --digits;
  return digits != line.size() && digits > 0 && (line[digits - 1] == kCarriedMark || line[digits - 1] == '\t');
}

// The meaning a bucket line carries for the page, with the list texts of
// its band and its mode; nothing for a line that carries less.
struct CarriedMeaning {
  ContactMeaning meaning;
  std::string_view bandText;
  std::string_view mode;
};
std::optional<CarriedMeaning> carriedMeaning(const BucketLine& line);

// What the run writes after a record line's text, whose callsign starts
// at `callsignAt`, when it carries as much of `meaning` (with the band and
// mode texts of `fields`) as `meanings` asks and its text does not say:
// the mark, that meaning, and the callsign's place; nothing for a line
// whose meaning its text says (the bucket tells its place, BucketPlaces).
// A meaning one of whose values may not stand there (one holding a
// control byte, as a tab) is left out. The texts it is made of must
// outlive it.
class CarriedText {
 public:
  CarriedText(std::size_t callsignAt, const RecordFields& fields, const ContactMeaning& meaning, Meanings meanings);
  std::size_t size() const { return size_; }
  // Writes it at `out`, which has room for size() bytes; returns the end.
  char* write(char* out) const;

 private:
  // The `i`-th of the meaning's values it writes.
  std::string_view part(std::size_t i) const;

  std::size_t callsignAt_;
  std::size_t digits_;
  std::size_t size_;
  const RecordFields& fields_;
  const ContactMeaning& meaning_;
  std::size_t partCount_ = 0;  // 0 when it carries no meaning
};

// Where the callsigns of the lines a run appends to one bucket stand, so
// that a line tells its callsign's place only where it differs from the
// run's line before it in the bucket; the sort reads the bucket in the
// same order (OwnLines).
class BucketPlaces {
 public:
  // What to write after the text `text` (a bucket line of this run, its
  // line end left out) whose callsign starts at `untold`, or, for a line
  // that carries its place itself, npos: the mark and the place, or
  // nothing. A line whose text would read as carrying something tells its
  // place all the same.
  std::string_view tell(std::string_view text, std::size_t untold) { return tell(text, untold, mayCarry(text)); }
  // The same, with mayCarry(text) found already by the line's writer.
  std::string_view tell(std::string_view text, std::size_t untold, bool lineMayCarry) {
    // Nearly every line: its callsign where the line before had it.
    if (untold == last_ && !lineMayCarry) return {};
    return tellSlowly(text, untold);
  }

 private:
  std::string_view tellSlowly(std::string_view text, std::size_t untold);

  std::size_t last_ = std::string_view::npos;
  char told_[24];
};

// Where two bucket lines of equal keys stand: by their texts, then by the
// meanings they carry, so that lines of equal texts that mean different
// contacts stay apart.
int compareBucketLines(const BucketLine& a, const BucketLine& b);

}  // namespace quorvel
