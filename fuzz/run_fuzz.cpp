// The whole program on an arbitrary log in a scratch folder, with the
// options the first byte chooses and, when the second byte says so, a
// leftover bucket file. Each list must hold the leftover lines and the
// lines reading the log in this process hands over, in the order of their
// callsigns where the reading put them.
#include <filesystem>

#include "driver/run.h"
#include "fuzzing.h"
#include "output/run_folder.h"
#include "support/harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvel;
  if (size < 2) return 0;
  static std::FILE* devNull = std::fopen("/dev/null", "w");
  testing::ScratchDir dir;
  std::string log(reinterpret_cast<const char*>(data + 2), size - 2);
  std::string leftover = data[1] & 1 ? log.substr(0, log.size() / 3) : "";
  dir.put("log", log);
  if (!leftover.empty()) dir.put("K.TMP", leftover);
  RunOptions options{(data[0] & 1) != 0, (data[0] & 2) != 0, (data[0] & 4) != 0, false};
  std::vector<std::string> arguments = {options.noDate ? "-nodate" : "-", options.noTime ? "-notime" : "-",
                                        options.keepComments ? "-comment" : "-", "log"};
  testing::ReadTrace trace = testing::traceRead(log, options, WorkPlan{});
  std::filesystem::path back = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  ExitStatus status = runQuorvel(arguments, Console{devNull, devNull});
  std::filesystem::current_path(back);
  check((status == ExitStatus::Success) == trace.failure.empty(), "exit status differs from the reading");
  if (status != ExitStatus::Success || !trace.accepted) return 0;
  testing::Files files = dir.files();
  check(files.size() == kBucketCharacters.size() + 1, "not the log and 36 lists");
  for (char bucket : kBucketCharacters) {
    std::string content = bucket == 'K' ? leftover : "";
    if (!content.empty() && content.back() != '\n') content.push_back('\n');
    // The lines the reading hands over, each with its callsign's place told.
    for (std::size_t i = 0; i < trace.lines.size(); ++i) {
      const std::string& line = trace.lines[i];
      if (bucketIndex(line[0]) != bucketIndex(bucket)) continue;
      const std::string& carried = trace.carried[i];
      content += line.substr(1, line.size() - 2) + (carried[0] == '@' ? "\x1F" + carried.substr(1) : carried) + "\n";
    }
    const SortKey key = trace.layout ? SortKey(*trace.layout) : SortKey(0);
    check(files[RunFolder().listName(bucket)] == testing::listOf(content, key), "list differs");
  }
  return 0;
}
