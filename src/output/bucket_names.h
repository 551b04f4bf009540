#pragma once

#include <string_view>

namespace quorvel {

// The 36 bucket characters in the order the files are made and sorted.
inline constexpr std::string_view kBucketCharacters = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// The index into kBucketCharacters of the bucket `key` selects (a-z select
// the buckets of A-Z), or -1 for a key that is neither letter nor digit.
int bucketIndex(char key);

}  // namespace quorvel
