// The harness's calls on POSIX systems.
#include <signal.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "support/harness.h"

namespace quorvel::testing {

bool makePipe(const std::string& path) { return ::mkfifo(path.c_str(), 0666) == 0; }

bool startProgramsAlone(bool) { return false; }

File fileHolding(std::string_view content) {
  // In memory, not on disk: the fuzz targets read a log thousands of times a second.
  File file(::memfd_create("log", 0));
  const int descriptor = static_cast<int>(file.handle());
  if (::write(descriptor, content.data(), content.size()) != static_cast<ssize_t>(content.size())) std::abort();
  ::lseek(descriptor, 0, SEEK_SET);
  return file;
}

Outcome runBinary(const char* binary, const std::string& folder, const std::vector<std::string>& arguments,
                  long fileSizeLimit, bool mergeStreams) {
  std::vector<char*> argv = {const_cast<char*>(binary)};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  int out[2], err[2];
  if (::pipe(out) != 0 || ::pipe(err) != 0) std::abort();
  pid_t child = ::fork();
  if (child == 0) {
    // Pipes, unlike files, are not held to the file-size limit.
    ::dup2(out[1], 1);
    ::dup2(mergeStreams ? out[1] : err[1], 2);
    for (int fd : {out[0], out[1], err[0], err[1]}) ::close(fd);
    struct rlimit limit {};
    limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(fileSizeLimit);
    if (fileSizeLimit > 0) ::signal(SIGXFSZ, SIG_IGN), ::setrlimit(RLIMIT_FSIZE, &limit);
    ::alarm(10);  // a run that hangs is killed, and its status tells
    if (::chdir(folder.c_str()) == 0) ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(out[1]);
  ::close(err[1]);
  // Standard output to its end first: the program writes far less on
  // standard error than a pipe holds.
  Outcome outcome;
  for (auto [fd, text] : {std::pair{out[0], &outcome.out}, std::pair{err[0], &outcome.err}}) {
    char buffer[65536];
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;)
      text->append(buffer, static_cast<std::size_t>(got));
    ::close(fd);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return outcome;
}

}  // namespace quorvel::testing
