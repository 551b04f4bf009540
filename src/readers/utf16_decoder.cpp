#include "readers/utf16_decoder.h"

namespace quorvel {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void appendUtf8(char32_t c, std::string& out) {
  auto put = [&out](char32_t byte) { out.push_back(static_cast<char>(byte)); };
  if (c < 0x80) {
    put(c);
  } else if (c < 0x800) {
    put(0xC0 | (c >> 6)), put(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    put(0xE0 | (c >> 12)), put(0x80 | ((c >> 6) & 0x3F)), put(0x80 | (c & 0x3F));
  } else {
    put(0xF0 | (c >> 18)), put(0x80 | ((c >> 12) & 0x3F)), put(0x80 | ((c >> 6) & 0x3F)), put(0x80 | (c & 0x3F));
  }
}

}  // namespace

void Utf16Decoder::takeUnit(char32_t unit, std::string& out) {
  if (highSurrogate_ != 0) {
    if (isLowSurrogate(unit)) {
      appendUtf8(0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00), out);
      highSurrogate_ = 0;
      return;
    }
    appendUtf8(kReplacement, out);
    highSurrogate_ = 0;
  }
  if (isHighSurrogate(unit)) {
    highSurrogate_ = unit;
  } else {
    appendUtf8(isLowSurrogate(unit) ? kReplacement : unit, out);
  }
}

void Utf16Decoder::decode(std::string_view bytes, std::string& out) {
  auto unitOf = [this](unsigned char first, unsigned char second) {
    return bigEndian_ ? (char32_t{first} << 8) | second : (char32_t{second} << 8) | first;
  };
  std::size_t at = 0;
  if (oddByte_ >= 0 && !bytes.empty()) {
    takeUnit(unitOf(static_cast<unsigned char>(oddByte_), static_cast<unsigned char>(bytes[0])), out);
    oddByte_ = -1;
    at = 1;
  }
  for (; at + 1 < bytes.size(); at += 2) {
    takeUnit(unitOf(static_cast<unsigned char>(bytes[at]), static_cast<unsigned char>(bytes[at + 1])), out);
  }
  if (at < bytes.size()) oddByte_ = static_cast<unsigned char>(bytes[at]);
}

void Utf16Decoder::finish(std::string& out) {
  if (highSurrogate_ != 0) appendUtf8(kReplacement, out);
  if (oddByte_ >= 0) appendUtf8(kReplacement, out);
  highSurrogate_ = 0;
  oddByte_ = -1;
}

}  // namespace quorvel
