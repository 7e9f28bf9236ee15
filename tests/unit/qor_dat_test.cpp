#include "idexport/qor_dat.h"

#include <gtest/gtest.h>

#include <string>

#include "fuzz/memory_bytes.h"

namespace qor {
namespace {

bool Read(const std::string& bytes) {
  qorfuzz::MemoryBytes source(bytes);
  return ReadQorStrings(source);
}

TEST(QorData, TwoEmptyStrings) { EXPECT_TRUE(Read(std::string("\0\0", 2))); }

// Each form is read to its exact end: one byte less for the second string fails.
TEST(QorData, EveryLengthPrefixForm) {
  const std::string longText(300, 'L');
  const std::string bytes = "\x03" "abc" "\xFF\x2C\x01" + longText;  // one-byte and 16-bit lengths
  EXPECT_TRUE(Read(bytes + "trailing bytes"));
  EXPECT_TRUE(Read(bytes));
  EXPECT_FALSE(Read(bytes.substr(0, bytes.size() - 1)));

  const std::string wordy = std::string("\xFF\xFF\xFF\x02\x00\x00\x00", 7) + "hi";  // 32-bit length
  EXPECT_TRUE(Read(wordy + std::string("\x00", 1)));
  EXPECT_FALSE(Read(wordy));
}

// A wide string's length counts UTF-16 units, two bytes each.
TEST(QorData, WideTextIsConvertedToCodePage932) {
  const std::string first = std::string("\xFF\xFE\xFF\x02I\0D\0", 8);  // "ID"
  const std::string second = std::string("\xFF\xFE\xFF\x01\xE1\x30", 6);  // "メ" (U+30E1)
  EXPECT_TRUE(Read(first + second));
  EXPECT_FALSE(Read(first + second.substr(0, 5)));
}

TEST(QorData, TruncatedOrOverlongFilesCountAsAbsent) {
  EXPECT_FALSE(Read(""));
  EXPECT_FALSE(Read("\x05" "abc"));
  EXPECT_FALSE(Read("\x01" "a"));                  // the second string is missing
  EXPECT_FALSE(Read("\xFF\xFF\xFF\xFF\xFF\xFF\xFF" "abc"));  // claims 4 GiB
  EXPECT_FALSE(Read("\xFF\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF" "ab"));  // wide, 8 GiB of bytes
  EXPECT_FALSE(Read(std::string(100000, '\xFF')));  // endless markers end with the file
}

}  // namespace
}  // namespace qor
