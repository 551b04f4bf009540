// The byte tricks against their plain twins, a log's bytes quoted on the
// console, and SHA-256.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "base/bytes.h"
#include "base/sha256.h"
#include "base/visible_text.h"

namespace quorvel {
namespace {

// Every byte trick against its plain twin, on bytes that fool tricks of
// their kind: the byte one above or below the one wanted, zero, bytes with
// the high bit set.
TEST(Bytes, EveryTrickAgreesWithItsPlainTwin) {
  const std::string alphabet("<;=\0 !\x1f\x7f\x80\xbc\xff", 11);
  std::uint64_t state = 88172645463325252u;
  for (int round = 0; round < 20000; ++round) {
    std::string bytes(80, ' '), copied(80, '#'), plain(80, '#');
    for (char& c : bytes) c = alphabet[(state ^= state << 13, state ^= state >> 7, state ^= state << 17) % 11];
    ASSERT_EQ(loadEightBytes(bytes.data()), loadEightBytesPlain(bytes.data()));
    ASSERT_EQ(bytesEqualMask(bytes.data(), '<'), bytesEqualMaskPlain(bytes.data(), '<'));
    const std::string_view some(bytes.data(), state % 81);
    ASSERT_EQ(lastIndexOf(some, '\x1f'), lastIndexOfPlain(some, '\x1f')) << some;
    std::uint64_t word = loadEightBytes(bytes.data());
    ASSERT_EQ(bytesBeforeControl(word), bytesBeforeControlPlain(word));
    std::string_view a(bytes.data(), state % 20), b(bytes.data() + 40, state / 20 % 20);
    ASSERT_EQ(keyPrefix(a), keyPrefixPlain(a));
    ASSERT_EQ(anyHighByte(a), anyHighBytePlain(a)) << a;
    ASSERT_EQ(keyBefore(a, b), keyBeforePlain(a, b)) << a << " " << b;
    copyBytes(copied.data(), bytes.data(), state % 80);
    copyBytesPlain(plain.data(), bytes.data(), state % 80);
    ASSERT_EQ(copied, plain);
  }
}

// A log's bytes quoted on the console: controls escaped, the rest as it
// stands, a long token cut.
TEST(VisibleText, EscapesControlsAndCutsLongTokens) {
  const std::pair<std::string, std::string> cases[] = {
      {"22-JUN-02", "22-JUN-02"},
      {"\x1B[2J-1\a", "\\x1B[2J-1\\x07"},
      {"A\tB\x7F\r", "A\\x09B\\x7F\\x0D"},
      {"STR\xC3\xB6M", "STR\xC3\xB6M"},                                                  // UTF-8 kept
      {"\xE6\x97\xA5\xED\x9F\xBF\xEF\xBC\x81", "\xE6\x97\xA5\xED\x9F\xBF\xEF\xBC\x81"},  // U+D7FF, U+FF01
      {"STR\xF6M\xF5\x80\x80\x80", "STR\xF6M\xF5\\x80\\x80\\x80"},  // Latin-1 letters kept; F5 leads no UTF-8
      {"\x9B-K\xC2\x9B", "\\x9B-K\\xC2\\x9B"},                      // C1, lone or in UTF-8
      {"\xE6\x97-\xED\xA0\x80-\xE0\x80\xAF",
       "\xE6\\x97-\xED\xA0\\x80-\xE0\\x80\xAF"},  // a cut letter, a surrogate, overlong
      {"\xE6\x97\x1B", "\xE6\\x97\\x1B"},         // no letter ends in a control
      {std::string(41, 'K'), std::string(40, 'K') + "..."},
      {std::string(40, 'K'), std::string(40, 'K')},
      {std::string(37, 'K') + "\x1B", std::string(37, 'K') + "..."},
  };
  for (const auto& [bytes, shown] : cases) EXPECT_EQ(visibleText(bytes), shown) << bytes;
}

// SHA-256 and base64, as the page's content security policy names its
// script and style.
TEST(Sha256, DigestsInBase64) {
  for (const auto& [text, hash] : {std::pair{"abc", "ungWv48Bz+pBQUDeXa4iI7ADYaOWF3qctBD/YfIAFa0="},
                                   std::pair{"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
                                             "JI1qYdIGOLjlwCaTDD5gOaM85Flk/yFn9uzt1BnbBsE="}}) {
    const auto digest = sha256(text);
    EXPECT_EQ(base64(std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size())), hash);
  }
  EXPECT_EQ(base64("f") + base64("fo") + base64("foo"), "Zg==Zm8=Zm9v");
}

}  // namespace
}  // namespace quorvel
