#pragma once

#include <string>

namespace quorvel {

// Why this thread's last call on the operating system failed, in the
// system's own words (strerror on POSIX systems, FormatMessage on
// Windows), for the end of a failure message. Taken straight after the
// call that failed, before any other call can replace it.
struct SystemError {
  std::string reason;          // "No such file or directory": no full stop added, no line end
  bool heldByAnother = false;  // Windows: another program has the file open (a sharing violation)
};
SystemError lastSystemError();

// How a failure message names the file `name` in `directory` (the run's
// folder, "" for the current one, else ending in a separator): as it
// stands on POSIX systems; by its full path on Windows, where a log
// dropped on the program makes the folder it works in unclear.
std::string nameInMessages(const std::string& directory, const std::string& name);

}  // namespace quorvel
