// What reaches the terminal in a message: well-formed UTF-8 as it stands, nothing a terminal would
// act on (C0 and C1 controls, the C1 CSI among them) and no malformed byte.
#include <gtest/gtest.h>

#include "cli/command_support.h"

namespace cli {
namespace {

TEST(SafeText, PassesCharactersAndEscapesControlsAndMalformedBytes) {
  EXPECT_EQ(SafeText("log \xE5\xB1\xB1.txt"), "log \xE5\xB1\xB1.txt");
  EXPECT_EQ(SafeText("a\tb\x7F"), "a\\x09b\\x7F");
  EXPECT_EQ(SafeText("\xC2\x9B" "31m"), "\\xC2\\x9B31m");  // U+009B, a terminal's CSI
  EXPECT_EQ(SafeText("\x9B"), "\\x9B");
  EXPECT_EQ(SafeText("\xE0\x80\xAF"), "\\xE0\\x80\\xAF");  // an overlong form
  EXPECT_EQ(SafeText("\xED\xA0\x80"), "\\xED\\xA0\\x80");  // a surrogate
  EXPECT_EQ(SafeText("\xE5\xB1"), "\\xE5\\xB1");           // cut short
}

}  // namespace
}  // namespace cli
