// The harness's calls on Windows.
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>

#include "support/harness.h"

namespace quorvel::testing {

namespace {

std::wstring wide(const std::string& text) { return std::filesystem::path(std::u8string(text.begin(), text.end())); }

// `argument` quoted for the program's CommandLineToArgvW, which gives it
// back as it stands: no test passes one holding a '"' or ending in "\\".
std::wstring quoted(const std::wstring& argument) { return L"\"" + argument + L"\""; }

std::string drain(HANDLE pipe) {
  std::string text;
  char buffer[65536];
  for (DWORD got = 0; ::ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0;) text.append(buffer, got);
  ::CloseHandle(pipe);
  return text;
}

}  // namespace

bool makePipe(const std::string&) { return false; }

bool startProgramsAlone(bool alone) {
  return ::SetEnvironmentVariableW(L"QUORVEL_STARTED_ALONE", alone ? L"1" : nullptr) != 0 && alone;
}

File fileHolding(std::string_view content) {
  static const ScratchDir folder;
  std::ofstream(std::filesystem::path(wide(folder.path() + "/log")), std::ios::binary) << content;
  return openLog(folder.path() + "/log");
}

Outcome runBinary(const char* binary, const std::string& folder, const std::vector<std::string>& arguments, long,
                  bool mergeStreams) {
  std::wstring command = quoted(wide(binary));
  for (const std::string& argument : arguments) command += L" " + quoted(wide(argument));
  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE out[2], err[2];  // read end, write end
  PROCESS_INFORMATION process{};
  bool started = false;
  DWORD startError = 0;
  {
    // A child inherits every inheritable handle: one started by another
    // thread meanwhile would hold this child's pipes open, and their
    // reading would never end. The pipes are made, handed over and
    // closed here one run at a time.
    static std::mutex starting;
    const std::lock_guard<std::mutex> one(starting);
    if (!::CreatePipe(&out[0], &out[1], &inherited, 0) || !::CreatePipe(&err[0], &err[1], &inherited, 0)) std::abort();
    ::SetHandleInformation(out[0], HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(err[0], HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out[1];
    startup.hStdError = mergeStreams ? out[1] : err[1];
    // Wine, on a loaded machine, now and then fails to start a process
    // that starts at the next try; a start that keeps failing says why.
    for (int attempt = 0; attempt < 5 && !started; ++attempt) {
      if (attempt > 0) ::Sleep(200 * attempt);
      started = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, wide(folder).c_str(),
                                 &startup, &process);
      if (!started) startError = ::GetLastError();
    }
    ::CloseHandle(out[1]);
    ::CloseHandle(err[1]);
  }
  Outcome outcome;
  // Both streams are read to their ends beside the wait, so that a run
  // that hangs (a held run nobody lets go of) is ended after ten seconds,
  // as alarm() ends it on POSIX systems, and its status tells.
  std::thread reader([&] {
    outcome.out = drain(out[0]);
    outcome.err = drain(err[0]);
  });
  if (started && ::WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
    ::TerminateProcess(process.hProcess, 137);
  }
  reader.join();
  if (!started) {
    outcome.err += "the test could not start the program: Windows error " + std::to_string(startError) + "\n";
    return outcome;
  }
  ::WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 0;
  ::GetExitCodeProcess(process.hProcess, &status);
  outcome.status = static_cast<int>(status);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return outcome;
}

}  // namespace quorvel::testing
