#pragma once

namespace quorvel {

// The switches of the command line, all off unless given.
struct RunOptions {
  bool noDate = false;          // -nodate: record lines carry no date field
  bool noTime = false;          // -notime: record lines carry no time field
  bool keepComments = false;    // -comment: ADIF comments follow the callsign
  bool lowerCaseNames = false;  // -lower: bucket and sorted files get lower-case names
  bool unique = false;          // -unique: a line that stands more than once in a list is written once
  bool html = false;            // -html: the lookup page is written beside the lists
};

}  // namespace quorvel
