#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvel {

// Writes `data` to `fd`, going on after short writes. Returns how many bytes
// reached the file: all of them, or fewer when the file could take no more
// (disk full, file-size limit) or another error stopped the writing.
std::size_t writeFully(int fd, std::string_view data);

// Replaces `content` with the whole content of the regular file `path`.
// Returns false when the file cannot be opened or read, or is no regular file.
bool readWholeFile(const std::string& path, std::string& content);

}  // namespace quorvel
