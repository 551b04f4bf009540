#include "output/json_text.h"

namespace quorvel {

namespace {

// The length of the valid UTF-8 sequence that `lead` starts, counting the
// bytes in `bytes` after it; 0 when `lead` starts none.
std::size_t sequenceLength(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// Whether `bytes`, begun by a lead byte, is a whole valid sequence so far:
// no overlong form, surrogate or code point past U+10FFFF.
bool validSoFar(std::string_view bytes) {
  const auto lead = static_cast<unsigned char>(bytes[0]);
  for (std::size_t i = 1; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    unsigned char low = 0x80, high = 0xBF;
    if (i == 1 && lead == 0xE0) low = 0xA0;
    if (i == 1 && lead == 0xED) high = 0x9F;
    if (i == 1 && lead == 0xF0) low = 0x90;
    if (i == 1 && lead == 0xF4) high = 0x8F;
    if (c < low || c > high) return false;
  }
  return true;
}

}  // namespace

void JsonTextWriter::write(std::string_view bytes) {
  for (char byte : bytes) writeByte(static_cast<unsigned char>(byte));
}

void JsonTextWriter::writeByte(unsigned char byte) {
  if (!unfinished_.empty()) {
    unfinished_.push_back(static_cast<char>(byte));
    if (!validSoFar(unfinished_)) {
      // Its lead byte was no lead: a Latin-1 character, and the bytes
      // after it start afresh.
      std::string rest = unfinished_.substr(1);
      writeLatin1(unfinished_.substr(0, 1));
      unfinished_.clear();
      for (char c : rest) writeByte(static_cast<unsigned char>(c));
    } else if (unfinished_.size() == sequenceLength(static_cast<unsigned char>(unfinished_[0]))) {
      out_ += unfinished_;
      unfinished_.clear();
    }
    return;
  }
  if (carriageReturn_ && byte != '\n') out_ += "\\r";
  carriageReturn_ = false;
  if (byte == '\r') {
    // Lists on Windows end their lines with CR LF.
    if (newline_) out_ += "\\n";
    newline_ = false;
    carriageReturn_ = true;
    return;
  }
  if (newline_) out_ += "\\n";
  newline_ = byte == '\n';
  if (newline_) return;
  if (byte >= 0x80) {
    if (sequenceLength(byte) > 0) {
      unfinished_.push_back(static_cast<char>(byte));
    } else {
      writeLatin1(std::string_view(reinterpret_cast<const char*>(&byte), 1));
    }
  } else if (byte == '"' || byte == '\\') {
    out_ += '\\';
    out_ += static_cast<char>(byte);
  } else if (byte < 0x20 || byte == '<') {
    constexpr char kHex[] = "0123456789abcdef";
    out_ += "\\u00";
    out_ += kHex[byte >> 4];
    out_ += kHex[byte & 15];
  } else {
    out_ += static_cast<char>(byte);
  }
}

void JsonTextWriter::writeLatin1(std::string_view bytes) {
  for (unsigned char byte : bytes) {
    out_ += static_cast<char>(0xC0 | byte >> 6);
    out_ += static_cast<char>(0x80 | (byte & 0x3F));
  }
}

void JsonTextWriter::finish() {
  // A sequence cut short by the end: its lead byte is a Latin-1 character,
  // and the bytes after it are read afresh.
  while (!unfinished_.empty()) {
    const std::string rest = unfinished_.substr(1);
    writeLatin1(unfinished_.substr(0, 1));
    unfinished_.clear();
    for (char c : rest) writeByte(static_cast<unsigned char>(c));
  }
  if (carriageReturn_) out_ += (newline_ ? "\\n\\r" : "\\r");
  newline_ = carriageReturn_ = false;
}

void appendJsonString(std::string& out, std::string_view text) {
  out += '"';
  JsonTextWriter writer(out);
  writer.write(text);
  writer.finish();
  out += '"';
}

}  // namespace quorvel
