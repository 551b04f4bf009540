// The lookup page's pieces: its JSON text and the order its script
// searches in.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "page/json_text.h"
#include "page/script_order.h"

namespace quorvel {
namespace {

TEST(LookupPage, ListsBecomeJsonText) {
  const std::pair<std::string, std::string> cases[] = {
      {"A 1\nB 2\n", "A 1\\nB 2"},
      {"A 1\r\nB 2\r\n\n", "A 1\\nB 2\\n"},  // Windows line ends; an empty last line
      {"x\"\\</script>\t\r", "x\\\"\\\\\\u003c/script>\\u0009\\r"},
      {"CAF\xE9 STR\xC3\xB6M \xE6\x97\xA5", "CAF\xC3\xA9 STR\xC3\xB6M \xE6\x97\xA5"},  // Latin-1, UTF-8
      {"\xED\xA0\x80 \xE6\x97", "\xC3\xAD\xC2\xA0\xC2\x80 \xC3\xA6\xC2\x97"},          // a surrogate, a cut letter
  };
  for (const auto& [list, json] : cases) {
    std::string whole, pieces;
    JsonTextWriter once(whole), byByte(pieces);
    once.write(list);
    once.finish();
    for (char c : list) byByte.write(std::string_view(&c, 1));
    byByte.finish();
    EXPECT_EQ(whole, json) << list;
    EXPECT_EQ(pieces, json) << list;
  }
  // The page's script halves only lists in an order its `<` agrees with.
  EXPECT_TRUE(keepsScriptOrder("K1/A", "K10") && keepsScriptOrder("K1A", "K1A") && keepsScriptOrder("", "K1A"));
  EXPECT_FALSE(keepsScriptOrder("K1B", "K1A") || keepsScriptOrder("", "K\xC3\x98Z") || keepsScriptOrder("", "K\t1"));
}

}  // namespace
}  // namespace quorvel
