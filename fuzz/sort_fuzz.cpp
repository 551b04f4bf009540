// The sort stage on arbitrary bucket content: the first byte chooses the
// sort column (0 to 63) and the bucket, the rest is the bucket file.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "fuzz_input.h"
#include "output/bucket_names.h"
#include "output/sort_stage.h"
#include "support/run_invariants.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvel;
  if (size == 0) return 0;
  static const std::string scratch = fuzzing::scratchDirectory();
  static std::FILE* devNull = std::fopen("/dev/null", "w");

  std::string dir = fuzzing::freshRunDirectory(scratch);
  int column = data[0] & 63;
  char bucket = kBucketCharacters[static_cast<std::size_t>(data[0] % kBucketCharacters.size())];
  std::string content(reinterpret_cast<const char*>(data + 1), size - 1);
  for (char other : kBucketCharacters) std::ofstream(dir + bucketFileName(other, false));
  std::ofstream(dir + bucketFileName(bucket, false), std::ios::binary) << content;

  Status status = sortBuckets(dir, false, column, Console{devNull, devNull});
  if (!status.isOk()) quorvel::fuzzing::fail("sort failed");
  if (fs::exists(dir + bucketFileName(bucket, false))) quorvel::fuzzing::fail("bucket file left");
  std::string sorted = testing::readFile(dir + sortedFileName(bucket, false));
  if (testing::sortedLines(sorted) != testing::sortedLines(content)) quorvel::fuzzing::fail("lines lost or invented");
  if (!sorted.empty() && sorted.back() != '\n') quorvel::fuzzing::fail("last line cut");
  std::size_t skip = column > 1 ? static_cast<std::size_t>(column - 1) : 0;
  std::string_view previous;
  bool first = true;
  for (std::string_view rest = sorted; !rest.empty();) {
    std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end + 1);
    std::string_view key = line.size() > skip ? line.substr(skip) : std::string_view();
    if (!first && key < previous) quorvel::fuzzing::fail("out of order");
    previous = key;
    first = false;
  }
  std::size_t files = 0;
  for (const auto& entry : fs::directory_iterator(dir)) files += entry.is_regular_file() ? 1 : 0;
  if (files != kBucketCharacters.size()) quorvel::fuzzing::fail("not 36 sorted files");
  return 0;
}
