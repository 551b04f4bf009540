#pragma once

#include <cstddef>
#include <string_view>

namespace quorvel {

// How much of the start of a log tells its encoding.
inline constexpr std::size_t kEncodingProbeSize = 64 * 1024;

// How the characters of a log are stored.
enum class TextEncoding {
  Bytes,              // ASCII, UTF-8 or any 8-bit code: read as it stands
  Utf16LittleEndian,  // as Windows tools save "Unicode" text
  Utf16BigEndian,
};

struct EncodingFound {
  TextEncoding encoding = TextEncoding::Bytes;
  std::size_t markLength = 0;  // the byte-order mark to skip
};

// Tells the encoding of a log from `start`, its first kEncodingProbeSize
// bytes (or all of a shorter log): a UTF-16 byte-order mark ("FF FE" or
// "FE FF") says it; without one, a start that reads as mostly ASCII text
// with a NUL in every other byte is UTF-16 of that byte order. A UTF-8
// mark ("EF BB BF", as Notepad writes it) is to be skipped too, the log
// read as it stands after it.
EncodingFound detectTextEncoding(std::string_view start);

// Whether a log ends its lines with CR alone, as classic Mac OS and the
// "CSV (Macintosh)" exports write them: `start`, its first
// kEncodingProbeSize bytes of text (after UTF-16 is decoded), holds a CR
// and no LF. A log with LF or CR LF line ends keeps a lone CR inside a
// line as data.
bool endsLinesWithCr(std::string_view start);

}  // namespace quorvel
