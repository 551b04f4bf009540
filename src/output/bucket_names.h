#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// The 36 bucket characters in the order the files are made and sorted.
inline constexpr std::string_view kBucketCharacters = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// The index into kBucketCharacters of the bucket `key` selects (a-z select
// the buckets of A-Z), or -1 for a key that is neither letter nor digit.
int bucketIndex(char key);

// "A.TMP", or "a.tmp" with -lower: where a bucket collects its record lines.
std::string bucketFileName(char bucket, bool lowerCaseNames);

// "A.TXT", or "a.txt" with -lower: the bucket's sorted file.
std::string sortedFileName(char bucket, bool lowerCaseNames);

// "A.TMP.page", or "a.tmp.page" with -lower: the sorted file's lines as
// the bucket held them, with what they carry, while the lookup page is
// made from them.
std::string pageFileName(char bucket, bool lowerCaseNames);

}  // namespace quorvel
