#include "base/visible_text.h"

#include "base/utf8.h"

namespace quorvel {

namespace {

constexpr std::string_view kCut = "...";

bool isControl(unsigned char c) { return c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F); }

void appendEscaped(std::string& out, std::string_view bytes) {
  constexpr char kHex[] = "0123456789ABCDEF";
  for (unsigned char c : bytes) {
    out += "\\x";
    out += kHex[c >> 4];
    out += kHex[c & 0xF];
  }
}

}  // namespace

std::string visibleText(std::string_view bytes, std::size_t width) {
  std::string out;
  std::size_t shown = 0;
  for (std::size_t at = 0; at < bytes.size();) {
    std::size_t length = utf8Length(bytes.substr(at));
    // A C1 control written in UTF-8 (U+0080-U+009F) is a control to a
    // UTF-8 terminal, as its lone byte is to an 8-bit one.
    bool control = length == 2 ? bytes[at] == '\xC2' && isControl(static_cast<unsigned char>(bytes[at + 1]))
                               : length == 0 && isControl(static_cast<unsigned char>(bytes[at]));
    if (length == 0) length = 1;
    std::size_t cost = control ? 4 * length : 1;
    if (shown + cost > width) {
      out += kCut;
      break;
    }
    if (control) {
      appendEscaped(out, bytes.substr(at, length));
    } else {
      out.append(bytes.substr(at, length));
    }
    shown += cost;
    at += length;
  }
  return out;
}

}  // namespace quorvel
