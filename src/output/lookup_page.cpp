#include "output/lookup_page.h"

#include "base/files.h"
#include "base/sha256.h"
#include "output/bucket_names.h"
#include "output/lookup_page_text.h"

namespace quorvel {

namespace {

constexpr std::size_t kBlock = 256 * 1024;

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

std::string cspHash(std::string_view text) {
  const auto digest = sha256(text);
  return "sha256-" + base64(std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size()));
}

std::string pageHead() {
  std::string head(kPageHead);
  head.replace(head.find("%SCRIPT%"), 8, cspHash(kPageScript));
  head.replace(head.find("%STYLE%"), 7, cspHash(kPageStyle));
  return head;
}

// The page's file, written through a buffer.
class PageFile {
 public:
  explicit PageFile(File file) : file_(std::move(file)) {}
  std::string& buffer() { return buffer_; }
  bool write(std::string_view text) {
    buffer_.append(text);
    return drain();
  }
  // Writes the buffer once it is large.
  bool drain() {
    if (buffer_.size() < kBlock) return ok_;
    ok_ = ok_ && writeFully(file_, buffer_);
    buffer_.clear();
    return ok_;
  }
  bool close() { return ok_ && writeFully(file_, buffer_) && file_.close(); }

 private:
  File file_;
  std::string buffer_;
  bool ok_ = true;
};

// Writes the list at `path` as a JSON string; a list that is missing is
// empty.
bool writeList(const std::string& path, PageFile& page, std::string& block) {
  page.write("\"");
  File list = openForReading(path);
  JsonTextWriter text(page.buffer());
  block.resize(kBlock);
  for (std::int64_t got; list.isOpen() && (got = readSome(list, block.data(), block.size())) != 0;) {
    if (got < 0) return false;
    text.write(std::string_view(block.data(), static_cast<std::size_t>(got)));
    if (!page.drain()) return false;
  }
  text.finish();
  return page.write("\"");
}

}  // namespace

std::string lookupPageName(bool lowerCaseNames) { return lowerCaseNames ? "lookup.htm" : "LOOKUP.HTM"; }

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

Status writeLookupPage(const std::string& directory, bool lowerCaseNames, int sortColumn) {
  const std::string name = lookupPageName(lowerCaseNames);
  const std::string partPath = directory + name + ".part";
  PageFile page(createNew(partPath));
  std::string names, block;
  for (char bucket : kBucketCharacters)
    names += (names.empty() ? "\"" : ",\"") + sortedFileName(bucket, lowerCaseNames) + "\"";
  bool written = page.write(pageHead()) && page.write(kPageStyle) && page.write(kPageBody) &&
                 page.write("{\"column\":" + std::to_string(sortColumn) + ",\"names\":[" + names + "],\"lists\":[");
  for (std::size_t i = 0; written && i < kBucketCharacters.size(); ++i) {
    written = (i == 0 || page.write(",")) &&
              writeList(directory + sortedFileName(kBucketCharacters[i], lowerCaseNames), page, block);
  }
  written = written && page.write("]}") && page.write(kPageDataEnd) && page.write(kPageScript) &&
            page.write(kPageEnd) && page.close();
  if (!written || !replaceFile(partPath, directory + name)) {
    (void)removeFile(partPath);
    return Status::failure("unable to create file " + name + "\n");
  }
  return Status::ok();
}

}  // namespace quorvel
