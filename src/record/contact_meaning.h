#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/ascii.h"
#include "radio/date_time.h"

namespace quorvel {

// What a contact means, as the reader that read it understood each value.
// A list line keeps the log's notation (04/06/2024, 10, 13CMRTTY); this is
// what the notation said, which the line's text alone cannot always tell.
// Made by the reader, carried with the contact's bucket line
// (bucket_line.h), and read by the lookup page and -unique.
struct ContactMeaning {
  // YYYYMMDD where the reader read a date (a text log's column's order of
  // day and month settled over its rows); else the date as the log wrote it.
  std::string_view date;
  // HHMM in UTC where the reader read a time; else as the log wrote it.
  std::string_view time;
  int band = -1;  // an index into kBands; -1 for a band the table lacks
  // The list's band text names this band too: two lines alike in their
  // text are alike in their band.
  bool bandSaid = false;
  // The mode's finer name where the list's mode text lost it: PSK31 where
  // the list shows PSK, PSK63 under an ADIF MODE of PSK.
  std::string_view submode;
  // The date's text leaves day and month either way round (04/06/2024),
  // and the reader settled them: the list's text alone does not say it.
  bool dateSettled = false;
  bool operator==(const ContactMeaning&) const = default;
};

// Room for the texts a meaning gives that the log does not write so.
struct MeaningText {
  char date[8];
  char time[4];
};

// The meaning of a date value: YYYYMMDD where `text` reads as a date (see
// readDate; `order` settles day and month where the text leaves them
// open, and `settled`, when given, tells whether it did), written to
// `room`; else `text` as written, blanks trimmed.
std::string_view meantDate(std::string_view text, DateOrder order, MeaningText& room, bool* settled = nullptr);

// meantDate() with the last text it read remembered: a log writes the same
// date on many contacts running. Its plain twin is meantDate itself.
class DateMemo {
 public:
  std::string_view dateOf(std::string_view text, DateOrder order, bool& settled);

 private:
  std::string text_;
  DateOrder order_ = DateOrder::Unknown;
  bool known_ = false, read_ = false, settled_ = false;
  MeaningText room_;
};

// YYYYMMDD of `date`, written to `room`.
std::string_view meantDate(const CalendarDate& date, MeaningText& room);

// The meaning of a time value already in UTC: HHMM where `text` reads as
// a time of day (HHMM, HHMMSS, 18:15), written to `room`; else `text` as
// written, blanks trimmed.
std::string_view meantTime(std::string_view text, MeaningText& room);

// The band a value names in any notation logs write it in (see
// adifBandIndex: a band's name with its unit or without, a frequency in
// MHz, in kHz, in GHz with a G; and the frequencies a text log keeps
// whole as the band itself, 24.5): an index into kBands, -1 for none.
int meantBand(std::string_view text);

// meantBand() with the texts it read remembered: a log names its
// bands with a handful of texts, read once each instead of on every
// contact. Its plain twin is meantBand itself.
class BandMemo {
 public:
  int bandOf(std::string_view text) { return bandOf(text, text).band; }

  // The band `text` names, and whether `shown`, what the list shows of
  // it, names the same one: for texts the list shows as a function of
  // them alone (a text log's frequencies cut at their point).
  struct Bands {
    int band = -1;
    bool shownSame = true;
  };
  Bands bandOf(std::string_view text, std::string_view shown);

 private:
  // A text of up to 15 bytes as two numbers, zero-padded, and its length.
  struct Key {
    std::uint64_t low = 0, high = 0;
    std::size_t size = SIZE_MAX;  // none
    bool operator==(const Key&) const = default;
  };
  static Key keyOf(std::string_view text);

  std::array<Key, 64> keys_;
  std::array<Bands, 64> bands_{};
  std::size_t taken_ = 0;
};

// How a list shows a contact's mode, MODE `mode` and SUBMODE `submode` in
// ADIF's terms: ADIF 3.1 writes FT4, JS8, Q65 and their kin as MODE MFSK
// (any letter case) with the mode that says something in SUBMODE, shown;
// PSK31 is shown PSK, as the program always has; any other mode as it
// stands.
inline std::string_view shownMode(std::string_view mode, std::string_view submode) {
  if (!submode.empty() && mode.size() == 4 && startsWithCaseless(mode, "MFSK")) return submode;
  return mode.size() == 5 && startsWithCaseless(mode, "PSK31") ? std::string_view("PSK") : mode;
}

// The finer name of the mode that the list's shown mode lost (see
// ContactMeaning::submode): the submode, else the mode, where that is not
// what the list shows; empty when nothing was lost.
inline std::string_view lostModeName(std::string_view mode, std::string_view submode) {
  if (submode.empty()) return mode.size() == 5 && startsWithCaseless(mode, "PSK31") ? mode : std::string_view();
  const std::string_view shown = shownMode(mode, submode);
  bool same = shown.size() == submode.size();
  for (std::size_t i = 0; same && i < shown.size(); ++i) same = toAsciiUpper(shown[i]) == toAsciiUpper(submode[i]);
  return same ? std::string_view() : submode;
}

}  // namespace quorvel
