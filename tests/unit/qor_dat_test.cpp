#include "idexport/qor_dat.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace qor {
namespace {

// Runs the reader over the bytes as a file would hold them.
bool Read(const std::string& bytes, std::string (&strings)[2]) {
  std::FILE* file = std::tmpfile();
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::rewind(file);
  const bool read = ReadQorStrings(file, strings);
  std::fclose(file);
  return read;
}

TEST(QorData, TwoEmptyStrings) {
  std::string strings[2] = {"x", "y"};
  EXPECT_TRUE(Read(std::string("\0\0", 2), strings));
  EXPECT_EQ(strings[0], "");
  EXPECT_EQ(strings[1], "");
}

TEST(QorData, EveryLengthPrefixForm) {
  std::string strings[2];
  const std::string longText(300, 'L');
  std::string bytes = "\x03" "abc" "\xFF\x2C\x01" + longText;  // one-byte and 16-bit lengths
  ASSERT_TRUE(Read(bytes + "trailing bytes", strings));
  EXPECT_EQ(strings[0], "abc");
  EXPECT_EQ(strings[1], longText);

  bytes = std::string("\xFF\xFF\xFF\x02\x00\x00\x00", 7) + "hi" + std::string("\x00", 1);  // 32-bit length
  ASSERT_TRUE(Read(bytes, strings));
  EXPECT_EQ(strings[0], "hi");
}

TEST(QorData, WideTextIsConvertedToCodePage932) {
  std::string strings[2];
  // 0xFF 0xFFFE marks UTF-16; then a one-byte length of 2 units: "ID" ; then "メ" (U+30E1).
  const std::string bytes = std::string("\xFF\xFE\xFF\x02I\0D\0", 8) + std::string("\xFF\xFE\xFF\x01\xE1\x30", 6);
  ASSERT_TRUE(Read(bytes, strings));
  EXPECT_EQ(strings[0], "ID");
  EXPECT_EQ(strings[1], "\x83\x81");
}

TEST(QorData, TruncatedOrOverlongFilesCountAsAbsent) {
  std::string strings[2];
  EXPECT_FALSE(Read("", strings));
  EXPECT_FALSE(Read("\x05" "abc", strings));
  EXPECT_FALSE(Read("\x01" "a", strings));                  // the second string is missing
  EXPECT_FALSE(Read("\xFF\xFF\xFF\xFF\xFF\xFF\xFF" "abc", strings));  // claims 4 GiB
  EXPECT_FALSE(Read("\xFF\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF" "ab", strings));  // wide, 8 GiB of bytes
  EXPECT_FALSE(Read(std::string(100000, '\xFF'), strings));  // endless markers end with the file
}

}  // namespace
}  // namespace qor
