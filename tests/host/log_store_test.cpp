#include "host/log_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using host::LogStore;

std::vector<std::string> HeldTexts(LogStore& log) {
  std::vector<std::string> texts;
  for (auto p = log.FirstPosition(); p <= log.LastPosition(); ++p) texts.emplace_back(log.Text(p));
  return texts;
}

std::vector<std::string> Lines(std::string_view bytes) {
  LogStore log(bytes);
  return HeldTexts(log);
}

using Texts = std::vector<std::string>;

TEST(LogLoading, SplitsOnLineFeedsAndDropsTheCarriageReturnBeforeOne) {
  EXPECT_EQ(Lines("a\nb\n"), (Texts{"a", "b"}));
  EXPECT_EQ(Lines("a\r\nb\r\n"), (Texts{"a", "b"}));
  EXPECT_EQ(Lines("a\rb\n"), (Texts{"a\rb"}));     // a CR elsewhere is text
  EXPECT_EQ(Lines("a\r\r\n"), (Texts{"a\r"}));     // only the one CR right before the LF goes
  EXPECT_EQ(Lines("a\n\n\nb\n"), (Texts{"a", "", "", "b"}));
}

TEST(LogLoading, TextAfterTheLastLineFeedIsALineOnlyWhenNotEmpty) {
  EXPECT_EQ(Lines("a\nb"), (Texts{"a", "b"}));
  EXPECT_EQ(Lines("a\n"), (Texts{"a"}));
  EXPECT_EQ(Lines("a\n\r"), (Texts{"a", "\r"}));
}

TEST(LogLoading, AnEmptyFileHoldsOneEmptyLine) {
  EXPECT_EQ(Lines(""), (Texts{""}));
  EXPECT_EQ(Lines("\n"), (Texts{""}));
}

TEST(LogLoading, ANulEndsTheLinesText) {
  using namespace std::string_literals;
  EXPECT_EQ(Lines("ab\0cd\nef\n"s), (Texts{"ab", "ef"}));
  EXPECT_EQ(Lines("\0x\r\n\0"s), (Texts{"", ""}));
}

TEST(LogLoading, KeepsCodePage932BytesAsTheyAre) {
  EXPECT_EQ(Lines("\x83\x5C\x81\x5C\n"), (Texts{"\x83\x5C\x81\x5C"}));  // trail bytes 0x5C stay
}

TEST(LogStore, PositionsCountFromOneInArrivalOrder) {
  LogStore log("a\nb\nc\n");
  EXPECT_EQ(log.FirstPosition(), 1);
  EXPECT_EQ(log.LastPosition(), 3);
  EXPECT_EQ(std::string(log.Text(2)), "b");
  EXPECT_FALSE(log.Holds(0));
  EXPECT_FALSE(log.Holds(4));
}

TEST(LogStore, TheStoredLineCarriesItsAttributeBeforeTheText) {
  LogStore log("title\nbody\n");
  log.SetAttribute(1, 3);
  const char* line = log.StoredLine(1);
  EXPECT_EQ(static_cast<unsigned char>(line[0]), 3);
  EXPECT_STREQ(line + 1, "title");
  EXPECT_EQ(log.StoredLine(2)[0], 0);
}

TEST(LogStore, APositionNotHeldGivesAnEmptyLineWithAttributeZero) {
  LogStore log("a\nb\n");
  for (qor::LinePosition p : {0, 3, -5}) {
    EXPECT_STREQ(log.StoredLine(p), "") << p;
    EXPECT_STREQ(log.Text(p), "") << p;
    EXPECT_EQ(log.Attribute(p), 0) << p;
  }
}

TEST(LogStore, DiscardKeepsPositionsAndClearsTheDroppedAttribute) {
  LogStore log("a\nb\nc\n");
  log.SetAttribute(1, 5);
  EXPECT_EQ(log.DiscardOldest(), 1);
  EXPECT_EQ(log.FirstPosition(), 2);
  EXPECT_EQ(log.HeldCount(), 2u);
  EXPECT_STREQ(log.Text(1), "");
  EXPECT_EQ(log.Attributes()[1], 0);
  EXPECT_STREQ(log.Text(2), "b");
  EXPECT_EQ(log.DiscardOldest(), 2);
  EXPECT_THROW(log.DiscardOldest(), std::logic_error);  // the log keeps its last line
  EXPECT_STREQ(log.Text(3), "c");
}

TEST(LogStore, AppendGrowsTheAttributesIndexedByPosition) {
  LogStore log("a\n");
  EXPECT_EQ(log.Append("heading", 2), 2);
  EXPECT_EQ(log.Append("x\0y", 0), 3);
  const unsigned char* attributes = log.Attributes();
  EXPECT_EQ(attributes[0], 0);  // position 0 has a place too
  EXPECT_EQ(attributes[2], 2);
  EXPECT_EQ(attributes[3], 0);
  EXPECT_STREQ(log.Text(2), "heading");
  EXPECT_STREQ(log.Text(3), "x");
  log.DiscardOldest();
  EXPECT_EQ(log.Append("d", 1), 4);  // positions go on after a discard
}

TEST(LogStore, TheAttributeTableNeverMovesAndAppendsStopWhenItIsFull) {
  LogStore log("a\n");
  const unsigned char* table = log.Attributes();
  for (size_t i = 0; i < LogStore::kAppendRoom; ++i) log.Append("x", 2);
  EXPECT_EQ(log.Attributes(), table);  // the add-in keeps the pointer it got at attach
  EXPECT_EQ(table[LogStore::kAppendRoom + 1], 2);
  EXPECT_FALSE(log.CanAppend());
  EXPECT_THROW(log.Append("y", 0), std::length_error);
  EXPECT_EQ(log.LastPosition(), static_cast<qor::LinePosition>(LogStore::kAppendRoom + 1));
}

TEST(LogStore, SetAttributeIgnoresPositionsNotHeld) {
  LogStore log("a\n");
  log.SetAttribute(0, 9);
  log.SetAttribute(2, 9);
  EXPECT_EQ(log.Attributes()[0], 0);
}

TEST(LogLoading, AMissingFileNamesItselfInTheError) {
  try {
    host::LoadLogFile("/nonexistent/log.txt");
    FAIL();
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find("/nonexistent/log.txt"), std::string::npos);
  }
  EXPECT_THROW(host::LoadLogFile("/"), std::runtime_error);  // a directory is no log
}

TEST(LogLoading, AMillionLinesLoadInOnePass) {
  std::string bytes;
  for (int i = 0; i < 1000000; ++i) bytes += "line " + std::to_string(i) + "\r\n";
  LogStore log(bytes);
  EXPECT_EQ(log.LastPosition(), 1000000);
  EXPECT_STREQ(log.Text(1000000), "line 999999");
}

}  // namespace
