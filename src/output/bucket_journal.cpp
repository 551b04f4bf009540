#include "output/bucket_journal.h"

#include <algorithm>

#include "base/ascii.h"
#include "base/files.h"

namespace quorvel {

namespace {

constexpr std::string_view kHeader = "quorvel bucket sizes before the run\n";
constexpr std::string_view kEnd = "end\n";
constexpr std::string_view kMark = "lists written, deleting ";
// A journal is a few hundred bytes: anything much larger at its name is
// not one, and is not read into memory.
constexpr std::int64_t kMostJournalBytes = 64 * 1024;
constexpr std::size_t kMostSizeDigits = 18;
// What a user can do when the journal `name` cannot be trusted: nothing is
// changed until they have looked.
std::string wayOut(const std::string& name) { return ";\ncheck the lists, then delete " + name + " to go on\n"; }

std::string markLine(std::string_view deleting) { return std::string(kMark).append(deleting).append("\n"); }

// Takes the line at the start of `text` (without its new line) into
// `line`; false when no whole line is left.
bool takeLine(std::string_view& text, std::string_view& line) {
  const std::size_t end = text.find('\n');
  if (end == std::string_view::npos) return false;
  line = text.substr(0, end);
  text.remove_prefix(end + 1);
  return true;
}

std::optional<std::int64_t> parseSize(std::string_view digits) {
  if (digits.empty() || digits.size() > kMostSizeDigits) return std::nullopt;
  std::int64_t size = 0;
  for (unsigned char c : digits) {
    if (!isAsciiDigit(c)) return std::nullopt;
    size = size * 10 + (c - '0');
  }
  return size;
}

}  // namespace

// An empty bucket file, or a missing one, has no line of its own: the
// journal names only the buckets that hold lines.
std::string formatJournal(const JournalRecord& record, const RunFolder& folder) {
  std::string text(kHeader);
  for (std::size_t i = 0; i < kBucketCharacters.size(); ++i) {
    if (record.sizes[i] == 0) continue;
    text += folder.bucketName(kBucketCharacters[i]) + " " + std::to_string(record.sizes[i]) + "\n";
  }
  text += kEnd;
  if (record.deleting) text += markLine(*record.deleting);
  return text;
}

std::optional<JournalRecord> parseJournal(std::string_view text) {
  if (!text.starts_with(kHeader)) return std::nullopt;
  text.remove_prefix(kHeader.size());
  JournalRecord record;
  std::string_view line;
  for (std::size_t next = 0; !text.starts_with(kEnd); ++next) {
    // "K.TMP 1234", the buckets in order. The names are read in any
    // letter case: on Windows "k.tmp" is K.TMP.
    while (next < kBucketCharacters.size() &&
           !startsWithCaseless(text, RunFolder().bucketName(kBucketCharacters[next]) + " "))
      ++next;
    if (next == kBucketCharacters.size() || !takeLine(text, line)) return std::nullopt;
    std::optional<std::int64_t> size =
        parseSize(line.substr(RunFolder().bucketName(kBucketCharacters[next]).size() + 1));
    if (!size || *size == 0) return std::nullopt;
    record.sizes[next] = *size;
  }
  text.remove_prefix(kEnd.size());
  if (!takeLine(text, line)) return record;  // no mark, or one cut short
  if (!line.starts_with(kMark) || !text.empty()) return std::nullopt;
  line.remove_prefix(kMark.size());
  if (line.find_first_not_of(kBucketCharacters) != std::string_view::npos) return std::nullopt;
  record.deleting = std::string(line);
  return record;
}

BucketJournal::BucketJournal(RunFolder folder) : folder_(std::move(folder)), name_(folder_.journalName()) {}

std::string BucketJournal::bucketPath(std::size_t index) const {
  return folder_.path(folder_.bucketName(kBucketCharacters[index]));
}

Status BucketJournal::recover(const Console& console) const {
  const std::string path = folder_.path(name_);
  const std::int64_t size = sizeOf(path);
  if (size < 0) return Status::ok();  // the last run ended
  std::optional<JournalRecord> record;
  if (File file = openForReading(path); size <= kMostJournalBytes && file.isOpen()) {
    std::string text;
    if (readWholeFile(file, text)) record = parseJournal(text);
  }
  if (!record) {
    return Status::failure("unable to read file " + name_ + ": it is no journal of an interrupted run" + wayOut(name_));
  }
  if (Status put = record->deleting ? finish(*record) : undo(*record); !put.isOk()) return put;
  if (!removeFile(path)) return folder_.failure("delete", name_);
  printMessage(console, record->deleting ? "an interrupted run was finished\n" : "an interrupted run was undone\n");
  return Status::ok();
}

// Every bucket is measured before one is cut, so that a journal that does
// not fit changes nothing. The cuts reach the disk before the journal goes.
Status BucketJournal::undo(const JournalRecord& record) const {
  std::array<std::int64_t, kBucketCharacters.size()> sizes{};
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    // A bucket file that is missing never had a line.
    sizes[i] = std::max<std::int64_t>(sizeOf(bucketPath(i)), 0);
    if (sizes[i] < record.sizes[i]) {
      return Status::failure("unable to undo an interrupted run: " + folder_.bucketName(kBucketCharacters[i]) +
                             " is shorter than " + name_ + " says, so the bucket files no longer match it" +
                             wayOut(name_));
    }
  }
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    if (sizes[i] == record.sizes[i]) continue;
    if (Status cut = cutBack(i, record.sizes[i], "undo an interrupted run"); !cut.isOk()) return cut;
  }
  return Status::ok();
}

Status BucketJournal::cutBack(std::size_t index, std::int64_t size, std::string_view failing) const {
  File bucket = openForAppending(bucketPath(index));
  if (!bucket.isOpen() || !truncateTo(bucket, size) || !syncFile(bucket) || !bucket.close()) {
    const SystemError error = lastSystemError();
    return Status::failure("unable to " + std::string(failing) + ": " + folder_.bucketName(kBucketCharacters[index]) +
                           " cannot be cut back: " + error.reason + "\n");
  }
  return Status::ok();
}

TakenBack BucketJournal::takeBack(std::string_view listed) const {
  TakenBack taken;
  for (std::size_t i = 0; i < kBucketCharacters.size(); ++i) {
    if (listed.find(kBucketCharacters[i]) != std::string_view::npos) continue;
    if (sizeOf(bucketPath(i)) <= record_.sizes[i]) continue;
    // The run being undone is this one, which failed.
    if (Status cut = cutBack(i, record_.sizes[i], "take this run's contacts out of the bucket files again");
        !cut.isOk()) {
      taken.status = cut;
      return taken;
    }
    taken.any = true;
  }
  return taken;
}

// The lists were written whole: what is left is the deletion of their
// buckets, which would otherwise be sorted into the lists a second time.
Status BucketJournal::finish(const JournalRecord& record) const {
  for (char bucket : *record.deleting) {
    const std::string name = folder_.bucketName(bucket);
    if (sizeOf(folder_.path(name)) >= 0 && !removeFile(folder_.path(name))) return folder_.failure("delete", name);
  }
  (void)syncDirectory(folder_.directory());
  return Status::ok();
}

Status BucketJournal::begin() {
  for (std::size_t i = 0; i < record_.sizes.size(); ++i) {
    record_.sizes[i] = std::max<std::int64_t>(sizeOf(bucketPath(i)), 0);
  }
  return writeOut(formatJournal(record_, folder_));
}

// Written whole or not at all, and out to the disk, the rename with it,
// before it returns.
Status BucketJournal::writeOut(const std::string& text) const {
  std::optional<WholeFileFailure> failed = folder_.writeWhole(name_, [&text](const std::string& passingPath) {
    File file = createNew(passingPath);
    return file.isOpen() && writeFully(file, text) && syncFile(file) && file.close();
  });
  if (failed) return folder_.failure("create", name_, failed->error);
  if (!syncDirectory(folder_.directory())) return folder_.failure("create", name_);
  return Status::ok();
}

Status BucketJournal::markDeleting(std::string_view deleting) const {
  File file = openForAppending(folder_.path(name_));
  const bool marked = file.isOpen() && writeFully(file, markLine(deleting)) && syncFile(file) && file.close();
  return marked ? Status::ok() : folder_.failure("create", name_);
}

Status BucketJournal::end() const {
  const std::string path = folder_.path(name_);
  if (sizeOf(path) >= 0 && !removeFile(path)) return folder_.failure("delete", name_);
  return Status::ok();
}

}  // namespace quorvel
