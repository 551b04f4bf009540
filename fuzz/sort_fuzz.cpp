// The sort stage on arbitrary bucket content: the first byte chooses the
// sort column (0 to 63) or keys from record lines' callsigns on, whether
// repeated lines are dropped, and the bucket; the rest is the bucket file, whose
// list must be the one a plain sort makes (listOf), also when an odd
// length leaves the stage memory for a few lines only, to sort in runs.
#include "fuzzing.h"
#include "output/sort_stage.h"
#include "support/harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvel;
  if (size == 0) return 0;
  static std::FILE* devNull = std::fopen("/dev/null", "w");
  testing::ScratchDir dir;
  char bucket = kBucketCharacters[data[0] % kBucketCharacters.size()];
  const SortKey key =
      (data[0] & 64) != 0 ? SortKey(chooseLayout(LayoutSet::Wide, {(data[0] & 1) != 0, false})) : SortKey(data[0] & 63);
  const bool unique = (data[0] & 128) != 0;
  std::string content(reinterpret_cast<const char*>(data + 1), size - 1);
  for (char other : kBucketCharacters) dir.put(RunFolder().bucketName(other), other == bucket ? content : "");
  const SortSettings settings{key, unique, 2, size % 2 == 1 ? std::size_t{600} : WorkPlan{}.sortMemory, {}};
  const SortOutcome sorted = sortBuckets(RunFolder(dir.path() + "/"), settings, Console{devNull, devNull});
  check(deleteSortedBuckets(RunFolder(dir.path() + "/"), settings, sorted).isOk(), "sort failed");
  testing::Files files = dir.files();
  check(files.size() == kBucketCharacters.size() &&
            files[RunFolder().listName(bucket)] == testing::listOf(content, key, unique),
        "lists differ");
  return 0;
}
