#include "host/log_cursor.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using host::LogCursor;
using host::LogStore;

TEST(LogCursor, StartsOnTheNewestLine) {
  LogStore log("a\nb\nc\n");
  LogCursor cursor(log);
  EXPECT_EQ(cursor.CurrentLine, 3);
  EXPECT_STREQ(cursor.GetLine() + 1, "c");
}

TEST(LogCursor, OrdinalsCountTheHeldLinesFromZero) {
  LogStore log("a\nb\nc\nd\n");
  LogCursor cursor(log);
  cursor.CurrentLine = 1;
  EXPECT_EQ(cursor.GetLineNumber(), 0);
  cursor.CurrentLine = 4;
  EXPECT_EQ(cursor.GetLineNumber(), 3);
  log.DiscardOldest();
  log.DiscardOldest();
  EXPECT_EQ(cursor.GetLineNumber(), 1);  // position 4 is now the second line held
}

TEST(LogCursor, PositionsNotHeldGetTheOrdinalTheyWouldHave) {
  LogStore log("a\nb\nc\n");
  LogCursor cursor(log);
  cursor.CurrentLine = 0;
  EXPECT_EQ(cursor.GetLineNumber(), -1);
  EXPECT_STREQ(cursor.GetLine(), "");
  log.DiscardOldest();
  cursor.CurrentLine = 1;  // discarded
  EXPECT_EQ(cursor.GetLineNumber(), -1);
  EXPECT_STREQ(cursor.GetLine() + 1, "");
  cursor.CurrentLine = 0;
  EXPECT_EQ(cursor.GetLineNumber(), -2);
  cursor.CurrentLine = INT32_MIN;  // far out, and still no overflow
  EXPECT_EQ(cursor.GetLineNumber(), INT32_MAX - 1);
}

TEST(LogCursor, MoveClampsAtBothEnds) {
  LogStore log("a\nb\nc\nd\ne\n");
  log.DiscardOldest();  // held: 2..5
  LogCursor cursor(log);
  cursor.CurrentLine = 3;
  cursor.Move(1);
  EXPECT_EQ(cursor.CurrentLine, 4);
  cursor.Move(-2);
  EXPECT_EQ(cursor.CurrentLine, 2);
  cursor.Move(-1);
  EXPECT_EQ(cursor.CurrentLine, 2);
  cursor.Move(10);
  EXPECT_EQ(cursor.CurrentLine, 5);
  cursor.Move(INT32_MAX);
  EXPECT_EQ(cursor.CurrentLine, 5);
  cursor.Move(INT32_MIN);
  EXPECT_EQ(cursor.CurrentLine, 2);
}

TEST(LogCursor, MoveFromAPositionNotHeldLandsOnTheNearestHeldOne) {
  LogStore log("a\nb\nc\n");
  log.DiscardOldest();
  LogCursor cursor(log);
  cursor.CurrentLine = 0;
  cursor.Move(0);
  EXPECT_EQ(cursor.CurrentLine, 2);
  cursor.CurrentLine = 1;
  cursor.Move(1);
  EXPECT_EQ(cursor.CurrentLine, 2);
  cursor.CurrentLine = 99;
  cursor.Move(-1);
  EXPECT_EQ(cursor.CurrentLine, 3);
}

TEST(LogCursor, FirstHomeAndLastFollowDiscardsAndAppends) {
  LogStore log("a\nb\nc\n");
  LogCursor cursor(log);
  log.DiscardOldest();
  cursor.MoveFirst();
  EXPECT_EQ(cursor.CurrentLine, 2);
  cursor.CurrentLine = 3;
  cursor.MoveHome();
  EXPECT_EQ(cursor.CurrentLine, 2);
  log.Append("d", 0);
  cursor.MoveLast();
  EXPECT_EQ(cursor.CurrentLine, 4);
}

TEST(HeadingModel, AttributesGiveLevelsAndAttachedHeadings) {
  struct Case {
    int attribute, level;
    bool attached;
  };
  for (Case c : {Case{0, 0, false}, {1, 0, false}, {2, 0, false}, {3, 1, false}, {9, 7, false},
                 {10, 0, true}, {17, 7, true}, {18, 0, false}, {255, 0, false}}) {
    EXPECT_EQ(host::HeadingLevel(static_cast<unsigned char>(c.attribute)), c.level) << c.attribute;
    EXPECT_EQ(host::IsAttachedHeading(c.attribute), c.attached) << c.attribute;
  }
}

TEST(HeadingModel, TheCursorReadsTheCurrentLinesHeading) {
  LogStore log("intro\nChapter\n");
  log.SetAttribute(2, 4);
  LogCursor cursor(log);
  cursor.CurrentLine = 2;
  EXPECT_EQ(cursor.GetHeadingLevel(), 2);
  EXPECT_STREQ(cursor.GetHeadingText(), "Chapter");
  cursor.CurrentLine = 0;
  EXPECT_EQ(cursor.GetHeadingLevel(), 0);
  EXPECT_STREQ(cursor.GetHeadingText(), "");
}

}  // namespace
