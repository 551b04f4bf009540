// The calls of base/files.h and base/arguments.h on Windows. Names are
// UTF-8 inside the program and UTF-16 for Windows; files are opened in
// binary, so nothing translates line ends.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "base/arguments.h"
#include "base/console.h"
#include "base/files.h"
#include "base/system_error.h"

namespace quorvel {

namespace {

std::wstring wide(const std::string& text) {
  if (text.empty()) return {};
  const int size = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring result(static_cast<std::size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size);
  return result;
}

std::string narrow(const wchar_t* text) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<std::size_t>(std::max(size, 1)), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
  result.resize(result.size() - 1);  // its terminating NUL
  return result;
}

HANDLE handleOf(const File& file) { return reinterpret_cast<HANDLE>(file.handle()); }

// The error code of a name the program refused to write through: a
// link, a folder, a device. Bit 29 marks a code as an application's own.
constexpr DWORD kNotRegularFile = 0x20000001;
// A folder where a file was meant: Windows itself mostly calls that
// "access denied".
constexpr DWORD kFolder = 0x20000002;

// A closed file, with the reason it was refused: `file` is closed first,
// so that closing it cannot replace the reason.
File refused(File file, DWORD reason) {
  (void)file.close();
  ::SetLastError(reason);
  return File();
}

// The system's words for `code`, without the line end FormatMessage adds.
std::string systemWords(DWORD code) {
  wchar_t words[512];
  const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        words, sizeof words / sizeof words[0], nullptr);
  if (length == 0) return "Windows error " + std::to_string(code);
  std::string text = narrow(words);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

// Whether `handle` is a console, not a file or a pipe.
bool isConsole(HANDLE handle) {
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && handle != nullptr && ::GetConsoleMode(handle, &mode) != 0;
}

File fileOf(HANDLE handle) {
  return File(handle == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<std::intptr_t>(handle));
}

// Files are shared as POSIX files are: others may read, write, rename and
// delete them meanwhile.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Whether attributes are those of a plain file: no folder, device or
// reparse point (a symbolic link or a junction).
bool plainFile(DWORD attributes) {
  return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
}

// The attributes of the name itself, a link not followed; false when
// nothing stands there.
bool attributesOf(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
  return ::GetFileAttributesExW(wide(path).c_str(), GetFileExInfoStandard, &data) != 0;
}

// `file` when it is open on a plain disk file, else a closed file. Files
// the program writes are opened on a link itself (FILE_FLAG_OPEN_REPARSE_
// POINT), so a link shows here and is refused.
File onlyRegular(File file) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file.isOpen()) return File();
  if (::GetFileType(handleOf(file)) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handleOf(file), &info) ||
      !plainFile(info.dwFileAttributes)) {
    return refused(std::move(file), kNotRegularFile);
  }
  return file;
}

File openOwn(const std::string& path, DWORD access, DWORD disposition) {
  return onlyRegular(fileOf(::CreateFileW(wide(path).c_str(), access, kShareAll, nullptr, disposition,
                                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr)));
}

bool seekToEnd(const File& file) {
  LARGE_INTEGER none{};
  return ::SetFilePointerEx(handleOf(file), none, nullptr, FILE_END) != 0;
}

// Adds to `arguments` the names `pattern` matches in its folder, in the
// order of their bytes, or the pattern itself when none does.
void expandWildcards(const std::wstring& pattern, std::vector<std::string>& arguments) {
  const std::size_t slash = pattern.find_last_of(L"\\/:");
  std::wstring folder;
  if (slash != std::wstring::npos) folder = pattern.substr(0, slash + 1);
  std::vector<std::string> names;
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW(pattern.c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        names.push_back(narrow((folder + found.cFileName).c_str()));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
  }
  if (names.empty()) names.push_back(narrow(pattern.c_str()));
  std::sort(names.begin(), names.end());
  arguments.insert(arguments.end(), names.begin(), names.end());
}

}  // namespace

SystemError lastSystemError() {
  const DWORD code = ::GetLastError();
  if (code == kNotRegularFile) return {"not a regular file"};
  if (code == kFolder) return {"Is a directory"};
  return {systemWords(code), code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION};
}

std::string nameInMessages(const std::string& directory, const std::string& name) {
  const std::wstring path = wide(directory + name);
  wchar_t full[32768];
  const DWORD length = ::GetFullPathNameW(path.c_str(), sizeof full / sizeof full[0], full, nullptr);
  return length == 0 || length >= sizeof full / sizeof full[0] ? directory + name : narrow(full);
}

bool startedOnItsOwn() {
  // The tests' seam: they start the program as Explorer would.
  if (const char* forced = std::getenv("QUORVEL_STARTED_ALONE"); forced != nullptr && forced == std::string("1")) {
    return true;
  }
  // A console window made for the program alone: a shell that started it
  // would share it.
  DWORD processes[2];
  return ::GetConsoleWindow() != nullptr && ::GetConsoleProcessList(processes, 2) == 1;
}

void waitForEnter() {
  if (!isConsole(::GetStdHandle(STD_INPUT_HANDLE))) return;
  for (int c = std::getchar(); c != EOF && c != '\n';) c = std::getchar();
}

void writeToStream(std::FILE* stream, std::string_view text) {
  std::fflush(stream);
  const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream)));
  if (!isConsole(handle)) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
    return;
  }
  const std::wstring characters = wide(std::string(text));
  for (std::size_t done = 0; done < characters.size();) {
    DWORD put = 0;
    const auto most = static_cast<DWORD>(std::min<std::size_t>(characters.size() - done, 8192));
    if (!::WriteConsoleW(handle, characters.data() + done, most, &put, nullptr) || put == 0) return;
    done += put;
  }
}

std::vector<std::string> commandLineArguments(int, char**) {
  // Progress marks and messages as bytes, "\n" not made "\r\n".
  (void)::_setmode(::_fileno(stdout), _O_BINARY);
  (void)::_setmode(::_fileno(stderr), _O_BINARY);
  int count = 0;
  LPWSTR* words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; words != nullptr && i < count; ++i) {
    const std::wstring word = words[i];
    // "/?" asks for the usage, as in every Windows program.
    if (word.find_first_of(L"*?") != std::wstring::npos && word[0] != L'-' && word != L"/?") {
      expandWildcards(word, arguments);
    } else {
      arguments.push_back(narrow(word.c_str()));
    }
  }
  ::LocalFree(words);
  return arguments;
}

bool File::close() {
  if (handle_ == -1) return true;
  return ::CloseHandle(reinterpret_cast<HANDLE>(std::exchange(handle_, -1))) != 0;
}

File openLog(const std::string& name) {
  // Opened as the user means it: through links, and a pipe too. A folder
  // does not open without FILE_FLAG_BACKUP_SEMANTICS.
  File log = fileOf(::CreateFileW(wide(name).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!log.isOpen() && ::GetLastError() == ERROR_ACCESS_DENIED && attributesOf(name, data) &&
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    ::SetLastError(kFolder);
  }
  return log;
}

File openForAppending(const std::string& path) {
  File file = openOwn(path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS);
  return file.isOpen() && seekToEnd(file) ? std::move(file) : File();
}

File createNew(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (attributesOf(path, data) && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    (void)::DeleteFileW(wide(path).c_str());  // a link itself, not its target
  }
  return openOwn(path, GENERIC_WRITE, CREATE_NEW);
}

File openForReading(const std::string& path) { return openOwn(path, GENERIC_READ, OPEN_EXISTING); }

std::int64_t readSome(const File& file, char* into, std::size_t size) {
  DWORD got = 0;
  const auto most = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
  if (::ReadFile(handleOf(file), into, most, &got, nullptr)) return got;
  // The writer of a pipe has closed it: the end of the log.
  return ::GetLastError() == ERROR_BROKEN_PIPE ? 0 : -1;
}

bool writeFully(const File& file, std::string_view data) {
  std::size_t written = 0;
  while (written < data.size()) {
    DWORD put = 0;
    const auto most = static_cast<DWORD>(std::min<std::size_t>(data.size() - written, 1u << 30));
    if (!::WriteFile(handleOf(file), data.data() + written, most, &put, nullptr) || put == 0) return false;
    written += put;
  }
  return true;
}

std::int64_t sizeOf(const File& file) {
  LARGE_INTEGER size{};
  return ::GetFileSizeEx(handleOf(file), &size) ? size.QuadPart : -1;
}

std::int64_t sizeOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!attributesOf(path, data)) return -1;
  return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::optional<FileIdentity> identityOf(const File& file) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(handleOf(file), &info)) return std::nullopt;
  return FileIdentity{info.dwVolumeSerialNumber, (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

std::optional<FileIdentity> identityOf(const std::string& path) {
  // Opened for no access at all, a folder or a link itself as well as a file.
  const File name = fileOf(::CreateFileW(wide(path).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  return name.isOpen() ? identityOf(name) : std::nullopt;
}

bool readByteAt(const File& file, std::int64_t offset, char& byte) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD got = 0;
  const bool read = ::ReadFile(handleOf(file), &byte, 1, &got, &at) && got == 1;
  // A read at an offset moves the file pointer; appending goes on at the end.
  return seekToEnd(file) && read;
}

bool truncateTo(const File& file, std::int64_t size) {
  LARGE_INTEGER at{};
  at.QuadPart = size;
  return ::SetFilePointerEx(handleOf(file), at, nullptr, FILE_BEGIN) && ::SetEndOfFile(handleOf(file));
}

bool replaceFile(const std::string& from, const std::string& to) {
  // Unlike rename(2), a plain MoveFile fails when `to` exists: the list
  // replaces its earlier self in one step, never through a link.
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (attributesOf(to, data) && !plainFile(data.dwFileAttributes)) {
    ::SetLastError((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? kFolder : kNotRegularFile);
    return false;
  }
  if (::MoveFileExW(wide(from).c_str(), wide(to).c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
  // A file another program holds open without letting it go (a
  // spreadsheet showing a list) refuses the move as "access denied":
  // asking for the file alone tells that from a lack of rights.
  const DWORD reason = ::GetLastError();
  const HANDLE probe =
      ::CreateFileW(wide(to).c_str(), DELETE, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  const DWORD probed = probe == INVALID_HANDLE_VALUE ? ::GetLastError() : ERROR_SUCCESS;
  if (probe != INVALID_HANDLE_VALUE) ::CloseHandle(probe);
  ::SetLastError(probed == ERROR_SHARING_VIOLATION ? probed : reason);
  return false;
}

bool removeFile(const std::string& path) { return ::DeleteFileW(wide(path).c_str()) != 0; }

LockOutcome lockFile(const File& file, LockWait waiting) {
  const bool wait = waiting == LockWait::UntilFree;
  // The first byte, whether or not the file holds one: the lock is all
  // that the file is for.
  OVERLAPPED at{};
  const DWORD flags = LOCKFILE_EXCLUSIVE_LOCK | (wait ? 0 : LOCKFILE_FAIL_IMMEDIATELY);
  if (::LockFileEx(handleOf(file), flags, 0, 1, 0, &at)) return LockOutcome::Taken;
  return !wait && ::GetLastError() == ERROR_LOCK_VIOLATION ? LockOutcome::Busy : LockOutcome::Failed;
}

bool syncFile(const File& file) { return ::FlushFileBuffers(handleOf(file)) != 0; }

// Windows gives a program no flush of a folder's entries: NTFS keeps them
// in a log of its own, which it writes out by itself.
bool syncDirectory(const std::string&) { return true; }

}  // namespace quorvel
