#include "page/json_text.h"

#include "base/utf8.h"

namespace quorvel {

void JsonTextWriter::write(std::string_view bytes) {
  for (char byte : bytes) writeByte(static_cast<unsigned char>(byte));
}

void JsonTextWriter::writeByte(unsigned char byte) {
  if (!unfinished_.empty()) {
    unfinished_.push_back(static_cast<char>(byte));
    if (!utf8ValidSoFar(unfinished_)) {
      // Its lead byte was no lead: a Latin-1 character, and the bytes
      // after it start afresh.
      std::string rest = unfinished_.substr(1);
      writeLatin1(unfinished_.substr(0, 1));
      unfinished_.clear();
      for (char c : rest) writeByte(static_cast<unsigned char>(c));
    } else if (unfinished_.size() == utf8SequenceLength(static_cast<unsigned char>(unfinished_[0]))) {
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
    if (utf8SequenceLength(byte) > 0) {
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
