#include "host/cp932_text.h"

#include <gtest/gtest.h>

namespace {

using host::RenderCp932;
using host::Utf8ToCp932;

TEST(RenderCp932, PrintableAsciiStaysAndBackslashIsDoubled) {
  EXPECT_EQ(RenderCp932("Mail 1-2 ~{}"), "Mail 1-2 ~{}");
  EXPECT_EQ(RenderCp932("C:\\log"), "C:\\\\log");
}

TEST(RenderCp932, ALeadAndTrailPairBecomesItsCharacter) {
  EXPECT_EQ(RenderCp932("\x8E\x52\x93\x63"), "山田");
  EXPECT_EQ(RenderCp932("\x83\x5C"), "ソ");          // trail byte 0x5C is no backslash here
  EXPECT_EQ(RenderCp932("\x81\x5F"), "＼");
  EXPECT_EQ(RenderCp932("\x87\x40\xFA\x40"), "①ⅰ");  // the code page's own extensions
}

TEST(RenderCp932, HalfWidthKatakanaAreComputed) {
  EXPECT_EQ(RenderCp932("\xA1\xB1\xDF"), "｡ｱﾟ");
  EXPECT_EQ(RenderCp932("\xB6\xDE"), "ｶﾞ");
}

TEST(RenderCp932, OtherBytesAreEscapedAndTheWalkGoesOn) {
  EXPECT_EQ(RenderCp932("a\tb\x01\x7F"), "a\\x09b\\x01\\x7F");
  EXPECT_EQ(RenderCp932("\x80\xA0\xFD\xFE\xFF"), "\\x80\\xA0\\xFD\\xFE\\xFF");
  // A lead byte whose pair is no character: escaped alone, the next byte read on its own.
  EXPECT_EQ(RenderCp932("\x82" "A"), "\\x82A");
  EXPECT_EQ(RenderCp932("\x81\x7F"), "\\x81\\x7F");
  EXPECT_EQ(RenderCp932("\x81\xB1"), "\\x81ｱ");
  EXPECT_EQ(RenderCp932("\x85\x82\xA0"), "\\x85あ");  // row 0x85 holds no characters
}

TEST(RenderCp932, ALeadByteAtTheEndIsEscaped) {
  EXPECT_EQ(RenderCp932("ab\x82"), "ab\\x82");
  EXPECT_EQ(RenderCp932(std::string_view("\x82\x00", 2)), "\\x82\\x00");
}

TEST(Utf8ToCp932, ConvertsWhatTheCodePageHolds) {
  EXPECT_EQ(Utf8ToCp932("山田 abc"), std::optional<std::string>("\x8E\x52\x93\x63 abc"));
  EXPECT_EQ(Utf8ToCp932("ｱ①～"), std::optional<std::string>("\xB1\x87\x40\x81\x60"));
  EXPECT_EQ(Utf8ToCp932(""), std::optional<std::string>(""));
  EXPECT_EQ(Utf8ToCp932("\xE5\xB1"), std::nullopt);  // cut UTF-8
  EXPECT_EQ(Utf8ToCp932("😀"), std::nullopt);         // no such character in the code page
}

TEST(FormatFields, RendersEachFieldAndJoinsWithTabs) {
  EXPECT_EQ(host::FormatFields({"Dialog", "131", "\x83\x81\x81[\x83\x8B"}),
            "Dialog\t131\tメール");
  EXPECT_EQ(host::FormatFields({"a\tb", ""}), "a\\x09b\t");
}

}  // namespace
