#pragma once

#include <optional>

#include "driver/run_options.h"
#include "output/line_sort.h"
#include "record/record_line.h"

namespace quorvel {

// The kinds of log a reader reads.
enum class LogFormat { Adx, Adif, Cabrillo, Edi, ColumnText };

// How a run writes the record lines of all its logs, beside what its
// options say.
struct RunLines {
  // A text log's record lines get the narrow band field, or the wide one of
  // ADIF and Cabrillo logs, so that they can share lists with theirs.
  bool wideTextLogs = false;
  // How much of its contact's meaning each bucket line carries, for the
  // lookup page or -unique (see bucket_line.h).
  Meanings meanings = Meanings::None;
};

// The record line layouts of a run, decided here alone: each log's, chosen
// as its reader is picked, and the run's, which is the last log's. The
// run's layout finds each list line's callsign for the sort and splits a
// leftover line for the page.
class RunLayout {
 public:
  RunLayout(const RunOptions& options, const RunLines& lines) : options_(options), lines_(lines) {}

  // The layout of the record lines of a log of `format`, whose reader is
  // about to read it: ADIF and Cabrillo lines have a wide band field, for
  // frequencies; text logs a narrow one, unless they share their lists with
  // logs of the other kinds. It is the run's layout from now on.
  RecordLayout forLog(LogFormat format);

  // The run's layout, once any log's reader was picked: a run with none
  // sorts nothing.
  const std::optional<RecordLayout>& chosen() const { return last_; }

  // The sort key of the run's lists: every line from its callsign on,
  // wherever a value wider than its field (a Cabrillo date, a long
  // frequency or mode) put it; whole lines when this run wrote none, and
  // only leftover bucket lines are sorted. Only once chosen().
  SortKey sortKey(bool wroteLines) const { return wroteLines ? SortKey(*last_) : SortKey(0); }

  // The layout the lookup page splits leftover lines by: the run's, with
  // the comment field under -comment, whichever log came last. Only once
  // chosen().
  RecordLayout forPage() const;

 private:
  RunOptions options_;
  RunLines lines_;
  std::optional<RecordLayout> last_;
};

}  // namespace quorvel
