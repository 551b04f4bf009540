#include "e2e/scratch_run.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace quorvel::testing {

namespace fs = std::filesystem;

namespace {
constexpr const char* kDigitsAndLetters = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

std::string lowered(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::map<std::string, std::string> emptyFiles(bool lowerCase, const std::string& extension) {
  std::map<std::string, std::string> files;
  for (const char* c = kDigitsAndLetters; *c != '\0'; ++c) {
    std::string name = std::string(1, *c) + "." + extension;
    files[lowerCase ? lowered(name) : name] = "";
  }
  return files;
}
}  // namespace

ScratchDir::ScratchDir() {
  std::string pattern = (fs::temp_directory_path() / "quorvel-e2e-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
  work_ = root_ + "/work";
  fs::create_directory(work_);
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

void ScratchDir::write(const std::string& name, const std::string& content) const {
  std::ofstream file(work_ + "/" + name, std::ios::binary);
  file << content;
}

void ScratchDir::makeDirectory(const std::string& name) const { fs::create_directory(work_ + "/" + name); }

std::map<std::string, std::string> ScratchDir::files() const {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(work_)) {
    std::string name = entry.path().filename().string();
    files[name] = entry.is_directory() ? "<dir>" : readFile(entry.path().string());
  }
  return files;
}

namespace {

// Reads both pipes to their ends at once, so neither child stream can fill
// its pipe and stall the child.
void drain(int outFd, int errFd, std::string& out, std::string& err) {
  struct pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
  std::string* sinks[2] = {&out, &err};
  int open = 2;
  char buffer[65536];
  while (open > 0) {
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      ssize_t got = ::read(fds[i].fd, buffer, sizeof buffer);
      if (got > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(got));
      } else if (got == 0 || errno != EINTR) {
        ::close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
}

}  // namespace

RunResult runQuorvel(const ScratchDir& dir, const std::vector<std::string>& arguments, RunLimits limits) {
  std::vector<char*> argv;
  std::string program = QUORVEL_BINARY;
  argv.push_back(program.data());
  std::vector<std::string> copies = arguments;
  for (std::string& argument : copies) argv.push_back(argument.data());
  argv.push_back(nullptr);

  int outPipe[2];
  int errPipe[2];
  if (::pipe(outPipe) != 0 || ::pipe(errPipe) != 0) throw std::runtime_error("pipe failed");
  pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    // Pipes, unlike files, are not held to the file-size limit below.
    if (::dup2(outPipe[1], 1) < 0 || ::dup2(limits.mergeStreams ? outPipe[1] : errPipe[1], 2) < 0 ||
        ::chdir(dir.work().c_str()) != 0) {
      ::_exit(127);
    }
    ::close(outPipe[0]);
    ::close(errPipe[0]);
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    if (limits.fileSizeBytes) {
      ::signal(SIGXFSZ, SIG_IGN);
      struct rlimit limit {};
      limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(*limits.fileSizeBytes);
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(outPipe[1]);
  ::close(errPipe[1]);
  RunResult result;
  drain(outPipe[0], errPipe[0], result.out, result.err);
  int status = 0;
  ::waitpid(child, &status, 0);
  result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

std::map<std::string, std::string> emptySortedFiles(bool lowerCase) { return emptyFiles(lowerCase, "TXT"); }
std::map<std::string, std::string> emptyBucketFiles(bool lowerCase) { return emptyFiles(lowerCase, "TMP"); }

LogRun runOnLog(const std::string& log, const std::vector<std::string>& arguments) {
  ScratchDir dir;
  dir.write("log", log);
  std::vector<std::string> all = arguments;
  all.push_back("log");
  LogRun run;
  run.result = runQuorvel(dir, all);
  run.files = dir.files();
  return run;
}

std::map<std::string, std::string> filesAfterRun(const std::string& log,
                                                 const std::map<std::string, std::string>& sorted, bool lowerCase) {
  std::map<std::string, std::string> files = emptySortedFiles(lowerCase);
  for (const auto& [name, content] : sorted) files[name] = content;
  files["log"] = log;
  return files;
}

void expectCompletedRun(const CompletedRun& expected) {
  LogRun run = runOnLog(expected.log, expected.options);
  EXPECT_EQ(run.result.exitStatus, 0) << expected.name;
  EXPECT_EQ(run.result.out, bucketRow()) << expected.name;
  EXPECT_EQ(run.result.err, expected.err) << expected.name;
  EXPECT_EQ(run.files, filesAfterRun(expected.log, expected.sorted)) << expected.name;
}

std::string bucketRow(bool lowerCase) {
  std::string row = kDigitsAndLetters;
  return (lowerCase ? lowered(row) : row) + "\n";
}

}  // namespace quorvel::testing
