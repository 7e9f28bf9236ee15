#include "base/line_cursor.h"

#include <gtest/gtest.h>

#include "tests/unit/fake_log.h"

namespace qor {
namespace {

using testing::FakeLog;

std::vector<std::string> Lines(int count) {
  std::vector<std::string> lines;
  for (int i = 1; i <= count; ++i) lines.push_back("line " + std::to_string(i));
  return lines;
}

TEST(LineCursor, MovesClampAtBothEnds) {
  FakeLog log(Lines(500));
  LineCursor cursor;
  cursor.Last();
  EXPECT_EQ(cursor.Position(), 500);
  cursor.Back(10000);
  EXPECT_EQ(cursor.Position(), 1);
  EXPECT_TRUE(cursor.IsFirst());
  cursor.Previous();
  EXPECT_EQ(cursor.Position(), 1);
  cursor.Last();
  cursor.Next();
  EXPECT_EQ(cursor.Position(), 500);
  EXPECT_TRUE(cursor.IsLast());
}

TEST(LineCursor, OneLineLogIsFirstAndLastAtOnce) {
  FakeLog log({"only"});
  LineCursor first, last;
  first.First();
  last.Last();
  EXPECT_TRUE(first.Equals(last.Position()));
  EXPECT_TRUE(first.IsLast());
  EXPECT_TRUE(first.IsFirst());
}

TEST(LineCursor, DistanceIsOrdinalDifferenceAndEqualsComparesPositions) {
  FakeLog log(Lines(10), 101);  // positions 101..110: ordinals and positions differ
  const LineCursor a(103), b(107);
  EXPECT_EQ(b.Distance(a), 4);
  EXPECT_EQ(a.Distance(b), -4);
  EXPECT_EQ(a.Distance(LineCursor(103)), 0);
  EXPECT_EQ(a.LineNumber(), 2);
  EXPECT_TRUE(a.Equals(103));
  EXPECT_FALSE(a.Equals(2));
}

TEST(LineCursor, EachOperationWritesItsOwnPositionFirst) {
  FakeLog log({"one", "two", "three"});
  log.SetAttribute(1, 7);
  const LineCursor one(1), three(3);
  log.CurrentLine = 2;
  const int callsBefore = log.calls;
  EXPECT_EQ(one.Attribute(), 7u);  // no LogBuffer call, CurrentLine untouched
  EXPECT_EQ(log.calls, callsBefore);
  EXPECT_EQ(log.CurrentLine, 2);
  EXPECT_STREQ(three.Text(), "three");
  EXPECT_STREQ(one.Text(), "one");
  EXPECT_EQ(log.CurrentLine, 1);
}

TEST(ScanFrame, StartsTenThousandLinesAboveTheLastUnlessAllLines) {
  FakeLog log(Lines(10500));
  EXPECT_EQ(ScanStart(false).Position(), 500);
  EXPECT_EQ(ScanStart(true).Position(), 1);
  EXPECT_EQ(ScanRange(false), 10000);
  EXPECT_EQ(ScanRange(true), 10499);
}

TEST(ScanFrame, ShortLogStartsOnItsFirstLine) {
  FakeLog log(Lines(20));
  EXPECT_EQ(ScanStart(false).Position(), 1);
  FakeLog single({"x"});
  EXPECT_EQ(ScanRange(true), 0);
}

}  // namespace
}  // namespace qor
