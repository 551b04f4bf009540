#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// Appends bytes of a list to `out` as the text of a JSON string, a few
// bytes at a time, as they come: a new line as "\n" except the last one's,
// a CR before a new line dropped, quotes, backslashes, controls and "<" (so
// that nothing in it can end the page's data block) escaped, valid UTF-8 as
// it stands and every other byte as the Latin-1 character it is in old logs.
class JsonTextWriter {
 public:
  explicit JsonTextWriter(std::string& out) : out_(out) {}
  void write(std::string_view bytes);
  // Writes out a UTF-8 sequence left unfinished; the last new line goes.
  void finish();

 private:
  void writeByte(unsigned char byte);
  void writeLatin1(std::string_view bytes);

  std::string& out_;
  std::string unfinished_;  // the start of a UTF-8 sequence cut by a block's end
  bool newline_ = false;    // a new line not yet written: it may be the last
  bool carriageReturn_ = false;
};

// Appends `text` to `out` as a whole JSON string, quotes and all, written
// as JsonTextWriter writes it.
void appendJsonString(std::string& out, std::string_view text);

}  // namespace quorvel
