#include "output/bucket_names.h"

#include "base/ascii.h"

namespace quorvel {

namespace {

std::string nameWithExtension(char bucket, bool lowerCaseNames, std::string_view extension) {
  std::string name(1, lowerCaseNames ? toAsciiLower(bucket) : bucket);
  name.push_back('.');
  for (char c : extension) name.push_back(lowerCaseNames ? toAsciiLower(c) : c);
  return name;
}

}  // namespace

int bucketIndex(char key) {
  auto c = static_cast<unsigned char>(key);
  if (isAsciiDigit(c)) return c - '0';
  if (isAsciiUpper(c)) return 10 + (c - 'A');
  if (isAsciiLower(c)) return 10 + (c - 'a');
  return -1;
}

std::string bucketFileName(char bucket, bool lowerCaseNames) {
  return nameWithExtension(bucket, lowerCaseNames, "TMP");
}

std::string sortedFileName(char bucket, bool lowerCaseNames) {
  return nameWithExtension(bucket, lowerCaseNames, "TXT");
}

std::string pageFileName(char bucket, bool lowerCaseNames) { return bucketFileName(bucket, lowerCaseNames) + ".page"; }

}  // namespace quorvel
