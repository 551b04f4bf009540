#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// Turns UTF-16 into UTF-8 piece by piece, as a log is read in blocks: a
// unit or a surrogate pair cut by the end of a piece is finished with the
// next one. What is not UTF-16 (a lone surrogate, an odd last byte)
// becomes U+FFFD, and decoding goes on.
class Utf16Decoder {
 public:
  explicit Utf16Decoder(bool bigEndian) : bigEndian_(bigEndian) {}

  // Appends the UTF-8 of `bytes`, which go on from those decoded before,
  // to `out`.
  void decode(std::string_view bytes, std::string& out);

  // Ends the input: a byte or a high surrogate still waiting becomes
  // U+FFFD.
  void finish(std::string& out);

 private:
  void takeUnit(char32_t unit, std::string& out);

  bool bigEndian_;
  int oddByte_ = -1;            // the first byte of a unit cut in two, or -1
  char32_t highSurrogate_ = 0;  // waiting for its low surrogate, or 0
};

}  // namespace quorvel
