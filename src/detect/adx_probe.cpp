#include "detect/adx_probe.h"

#include <cstddef>

#include "base/ascii.h"

namespace quorvel {

namespace {

std::string_view skipBlanks(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && isScanSpace(static_cast<unsigned char>(text[at]))) ++at;
  return text.substr(at);
}

// `text` after the first `close` in it; empty when none closes it.
std::string_view after(std::string_view text, std::string_view close) {
  std::size_t at = text.find(close);
  return at == std::string_view::npos ? std::string_view() : text.substr(at + close.size());
}

// `text` after the document type that begins it, whose internal subset in
// "[...]" may hold ">" of its own (quoted ones are not looked into: a
// document type too odd to be skipped so is no ADX here).
std::string_view afterDocumentType(std::string_view text) {
  int depth = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text[at] == '[') ++depth;
    if (text[at] == ']') --depth;
    if (text[at] == '>' && depth <= 0) return text.substr(at + 1);
  }
  return {};
}

// Whether `text` begins with the start tag of an ADX element.
bool opensAdx(std::string_view text) {
  if (text.size() < 5 || !startsWithCaseless(text.substr(1), "ADX")) return false;
  auto next = static_cast<unsigned char>(text[4]);
  return text[0] == '<' && (isScanSpace(next) || next == '>' || next == '/');
}

}  // namespace

bool probeAdx(std::string_view start) {
  start = skipBlanks(start);
  if (!start.starts_with("<?xml") && !opensAdx(start)) return false;
  // Past what may stand before the root element.
  while (!start.empty()) {
    if (start.starts_with("<?")) {
      start = after(start, "?>");
    } else if (start.starts_with("<!--")) {
      start = after(start, "-->");
    } else if (start.starts_with("<!")) {
      start = afterDocumentType(start);
    } else {
      return opensAdx(start);
    }
    start = skipBlanks(start);
  }
  return false;
}

}  // namespace quorvel
