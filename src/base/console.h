#pragma once

#include <cstdio>
#include <string_view>

namespace quorvel {

// Where a run's console output goes: progress marks on `out`, messages on
// `err`. `ownWindow` when the program was started on its own, in a
// console window of its own (a double-click or a log dropped on it on
// Windows), rather than from a shell.
struct Console {
  std::FILE* out = stdout;
  std::FILE* err = stderr;
  bool ownWindow = false;
};

// The console calls that differ between systems (platform_posix.cpp,
// platform_win32.cpp).

// Writes `text`, UTF-8, on `stream`, after what the stream still holds.
// On a Windows console it is written as characters (WriteConsoleW), so
// names in any script show as they are whatever the console's code page;
// to a file or a pipe, and on POSIX systems, as its bytes.
void writeToStream(std::FILE* stream, std::string_view text);

// Whether the program is the only process of its console window: on
// Windows, what a double-click or a drop in Explorer gives; never on
// POSIX systems.
bool startedOnItsOwn();

// Waits until Enter is pressed, so that a window of the program's own
// stays open to be read; at once when standard input is no console.
void waitForEnter();

// Writes a message on the console's error stream. Progress marks still
// waiting on the out stream go first, so a terminal shows both in order.
inline void printMessage(const Console& console, std::string_view text) {
  std::fflush(console.out);
  writeToStream(console.err, text);
}

// Writes `text` on the console's out stream, where what a user asked for
// goes (--help, --version).
inline void printOutput(const Console& console, std::string_view text) { writeToStream(console.out, text); }

}  // namespace quorvel
