#include "output/bucket_names.h"

#include "base/ascii.h"

namespace quorvel {

int bucketIndex(char key) {
  auto c = static_cast<unsigned char>(key);
  if (isAsciiDigit(c)) return c - '0';
  if (isAsciiUpper(c)) return 10 + (c - 'A');
  if (isAsciiLower(c)) return 10 + (c - 'a');
  return -1;
}

}  // namespace quorvel
