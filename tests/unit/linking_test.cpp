// Filling a top heading when it opens: the heading lines of its group, in levels, below it.
#include <gtest/gtest.h>

#include "addin/linking.h"
#include "base/mail_tree.h"
#include "host/scripted_user.h"
#include "platform/desktop.h"
#include "tests/unit/fake_log.h"
#include "tests/unit/listing_host.h"

namespace qor {
namespace {

using testing::FakeLog;
using testing::ListingHost;

class FillOnExpandTest : public ::testing::Test {
 protected:
  FillOnExpandTest() : host_(desktop::CreateHostWindow(nullptr, {0, 0, 800, 600}, 4, {})) {
    state.host = &host_;
    state.tree = platform::TreeView::Create(host_.GetMainWindow());
  }
  ~FillOnExpandTest() override {
    state = AddinState();
    desktop::Reset();
    scripted::SeatScriptedUser();
  }

  // A top heading item for the line, with the children flag a listing would give it.
  platform::TreeItem TopHeading(LinePosition position) {
    const platform::TreeItem item = InsertHeading(nullptr, "top", position);
    Tree().SetItemChildren(item, 1);
    return item;
  }

  // depth and label of every item, in display order
  std::vector<std::string> Outline() const {
    std::vector<std::string> rows;
    for (const desktop::TreeRow& row : desktop::DumpTree(state.tree)) rows.push_back(std::to_string(row.depth) + " " + row.text);
    return rows;
  }

  ListingHost host_;
};

TEST_F(FillOnExpandTest, InsertsTheGroupsHeadingsByLevelUpToTheNextTopHeading) {
  FakeLog log({"top", "sub", "plain", "subsub", "note", "second top", "other"});
  log.SetAttribute(1, 2);
  log.SetAttribute(2, 3);   // level 1
  log.SetAttribute(4, 4);   // level 2
  log.SetAttribute(5, 11);  // attached: under the latest item of the current level
  log.SetAttribute(6, 2);
  log.SetAttribute(7, 3);
  const platform::TreeItem top = TopHeading(1);
  FillOnExpand(top);
  EXPECT_EQ(Outline(), (std::vector<std::string>{"0 top", "1 sub", "2 subsub", "3 note"}));
  FillOnExpand(top);  // an item that already has children gets nothing more
  EXPECT_EQ(Outline().size(), 4u);
}

TEST_F(FillOnExpandTest, AnEmptyGroupLosesItsExpandButton) {
  FakeLog log({"top", "plain", "next top"});
  log.SetAttribute(1, 2);
  log.SetAttribute(3, 2);
  const platform::TreeItem top = TopHeading(1);
  FillOnExpand(top);
  EXPECT_EQ(Tree().GetItemChildren(top), 0);
  EXPECT_EQ(Outline(), (std::vector<std::string>{"0 top"}));
}

TEST_F(FillOnExpandTest, AHeadingOnTheLastLineIsInserted) {
  FakeLog log({"top", "plain", "last"});
  log.SetAttribute(1, 2);
  log.SetAttribute(3, 3);
  FillOnExpand(TopHeading(1));
  EXPECT_EQ(Outline(), (std::vector<std::string>{"0 top", "1 last"}));
}

TEST_F(FillOnExpandTest, LevelsOutsideTheAnchorTableAreClamped) {
  FakeLog log({"top", "level zero", "level nine", "attached"});
  log.SetAttribute(1, 2);
  log.SetAttribute(2, 10);  // attached at level 0: under the item being filled
  log.SetAttribute(3, 30);  // level 28: placed at level 7, whose parent anchor is none (top level)
  log.SetAttribute(4, 17);  // attached at level 7
  FillOnExpand(TopHeading(1));
  EXPECT_EQ(Outline(), (std::vector<std::string>{"0 top", "1 level zero", "0 level nine", "1 attached"}));
}

TEST_F(FillOnExpandTest, OnlyTopHeadingsWithTheChildrenFlagAreFilled) {
  FakeLog log({"top", "sub"});
  log.SetAttribute(1, 2);
  log.SetAttribute(2, 3);
  const platform::TreeItem withoutFlag = InsertHeading(nullptr, "top", 1);
  FillOnExpand(withoutFlag);
  const platform::TreeItem group = InsertGroup("group");  // parameter 0: no heading line
  FillOnExpand(group);
  EXPECT_EQ(Outline().size(), 2u);
}

}  // namespace
}  // namespace qor
