#pragma once

#include <string_view>

namespace quorvel {

// Why a file is no log of contacts at all, told by its first bytes: a
// compressed file or an archive (a download kept as .adi.gz, a TQSL .tq8,
// a .zip), a binary file, or the decode record a digital-mode program
// keeps beside its log (every signal it decoded, one a row). Empty for a
// file that may be a log: the readers then decide.
//
// `start` is the first kAdifProbeSize bytes of the file as the readers see
// them (after UTF-16 is decoded), or all of a shorter file. The reason
// reads on from "no contact read from file NAME: ".
std::string_view noLogReason(std::string_view start);

// Whether `row` is a row of a decode record: a stamp of date and time
// joined by "_" (250614_101500, 20250614_101500), and, within the next
// few tokens, a signal report in dB, a time offset in seconds and an audio
// offset in Hz (-12 0.3 1520), as every row of such a record has, received
// or sent.
bool isDecodeRow(std::string_view row);

}  // namespace quorvel
