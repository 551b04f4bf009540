#pragma once

namespace quorvel {

// Which token of a Cabrillo "QSO:" line holds the worked callsign; chosen from
// the contest name of the log's header.
enum class ContestLayout {
  Standard = 0,
  RsgbIota = 1,
  ArrlVhfSep = 2,
  CqWwRtty = 3,
  ArrlSsCw = 4,
  Iaru = 5,
  ApSprint = 6,
  Arrl10 = 7,
  Arrl160 = 8,
  ArrlDx = 9,
  CqWpx = 10,
};

}  // namespace quorvel
