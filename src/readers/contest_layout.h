#pragma once

namespace quorvel {

// Which token of a Cabrillo "QSO:" line, counted from 1 after "QSO:"
// (frequency 1, mode 2, date 3, time 4, sent call 5), holds the worked
// callsign; chosen from the contest name of the log's header.
struct ContestLayout {
  int callsignToken = 8;
  // The contest is named and its token known to hold the callsign. Else
  // the token is taken only when it looks like a callsign and is not the
  // sent call.
  bool named = false;
  // One of the ten contests read since the program's first version: the
  // token is taken whatever it holds, as those logs always were.
  bool takenAsItStands = false;

  bool operator==(const ContestLayout&) const = default;
};

}  // namespace quorvel
