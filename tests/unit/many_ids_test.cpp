// The by-ID listings with more than 1000 distinct IDs, and the scan range of logs longer than 10000
// lines: logs too long to write out as scenarios, built here and listed on the simulated desktop.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/addin_state.h"
#include "host/scripted_user.h"
#include "platform/desktop.h"
#include "platform/tree_view.h"
#include "scan/listings.h"
#include "tests/unit/cp932.h"
#include "tests/unit/fake_log.h"
#include "tests/unit/listing_host.h"

namespace qor {
namespace {

using testing::FakeLog;
using testing::ListingHost;
using testing::Sjis;

struct Group {
  std::string label;
  std::vector<std::pair<int32_t, std::string>> mails;  // position and label
};

class BigLogTest : public ::testing::Test {
 protected:
  BigLogTest() : host_(desktop::CreateHostWindow(nullptr, {0, 0, 800, 600}, 4, {})) {
    desktop::SetEventSink([this](const std::vector<std::string>& fields) {
      if (fields.size() == 3 && fields[0] == "Progress") progress_ = {std::stoi(fields[1]), std::stoi(fields[2])};
    });
    state.host = &host_;
    state.tree = platform::TreeView::Create(host_.GetMainWindow());
  }
  ~BigLogTest() override {
    state = AddinState();
    desktop::Reset();
    scripted::SeatScriptedUser();
  }

  // The tree under the root: by-ID listings give groups of mails, the in-order ones mails alone.
  std::vector<Group> Groups() const {
    std::vector<Group> groups;
    for (const desktop::TreeRow& row : desktop::DumpTree(state.tree)) {
      if (row.depth == 1) groups.push_back({row.text, {}});
      if (row.depth == 2) groups.back().mails.push_back({row.param, row.text});
    }
    return groups;
  }

  ListingHost host_;
  std::pair<int, int> progress_{-1, -1};  // range and last position of the last progress window
};

std::string Id(int i) {
  char id[16];
  std::snprintf(id, sizeof id, "ID%06d", i);
  return id;
}

// A received header padded to 64 bytes: number, name (14), four blanks, ID, date and time.
std::string Header(int number, const std::string& name, const std::string& id) {
  char line[80];
  std::snprintf(line, sizeof line, "%4d%-14s    %s  26/12/06 20:15", number % 1000 + 1, name.c_str(), id.c_str());
  std::string text = line;
  text.resize(64, ' ');
  return text;
}

void AddReceived(std::vector<std::string>& log, int number, const std::string& name, const std::string& id,
                 const std::string& subject) {
  log.insert(log.end(), {Header(number, name, id), subject, "     (100)", ""});
}

void AddSent(std::vector<std::string>& log, const std::string& id, const std::string& subject) {
  log.insert(log.end(), {Sjis("＞SMAIL"), Sjis("本文を入力して下さい。終了は行頭で /E です。"), Sjis("宛先：") + id,
                         Sjis("題名：") + subject});
}

TEST_F(BigLogTest, ReceivedByIdKeepsTheFirst1000Groups) {
  std::vector<std::string> log = {"start", Sjis("＞READ NEW")};
  for (int i = 0; i <= 1000; ++i) AddReceived(log, i, "N" + Id(i), Id(i), "s" + std::to_string(i));
  AddReceived(log, 1, "again", Id(0), "again0");
  AddReceived(log, 2, "late", Id(1000), "again1000");
  AddReceived(log, 3, "late", Id(999), "again999");
  log.insert(log.end(), {Sjis("電子メール（未読0件）"), "end"});
  FakeLog fake(log);
  ListReceivedById();

  const std::vector<Group> groups = Groups();
  ASSERT_EQ(groups.size(), 1000u);
  EXPECT_EQ(groups[0].label, "N" + Id(0) + "     ");  // the first name stays
  ASSERT_EQ(groups[0].mails.size(), 2u);
  EXPECT_EQ(groups[0].mails[0], std::make_pair(3, std::string("s0")));
  EXPECT_EQ(groups[0].mails[1], std::make_pair(3 + 4 * 1001, std::string("again0")));
  EXPECT_EQ(groups[999].label, "N" + Id(999) + "     ");
  ASSERT_EQ(groups[999].mails.size(), 2u);
  EXPECT_EQ(groups[999].mails[1].second, "again999");
  for (const Group& group : groups) {
    for (const auto& mail : group.mails) {
      EXPECT_NE(mail.second, "s1000");
      EXPECT_NE(mail.second, "again1000");
    }
  }
  // Lines 1 and 2 move the bar once each; every mail but the first moves it twice (its own count
  // and the pass over its skipped lines), the first once; the closing line once more.
  EXPECT_EQ(progress_, std::make_pair(10000, 2 + 1 + 2 * 1003 + 1));
}

TEST_F(BigLogTest, SentByIdKeepsTheFirst1000Groups) {
  std::vector<std::string> log = {"start", "line"};
  for (int i = 0; i <= 1000; ++i) AddSent(log, Id(i), "s" + std::to_string(i));
  AddSent(log, Id(1000), "again1000");
  AddSent(log, Id(0), "again0");
  log.push_back("end");
  FakeLog fake(log);
  ListSentById();

  const std::vector<Group> groups = Groups();
  ASSERT_EQ(groups.size(), 1000u);
  EXPECT_EQ(groups[0].label, Id(0));
  ASSERT_EQ(groups[0].mails.size(), 2u);
  EXPECT_EQ(groups[0].mails[0], std::make_pair(3, std::string("s0")));
  EXPECT_EQ(groups[0].mails[1], std::make_pair(3 + 4 * 1002, std::string("again0")));
  EXPECT_EQ(groups[999].label, Id(999));
  EXPECT_EQ(groups[999].mails.size(), 1u);
  // Lines 1 and 3 move the bar once each (line 2 is never looked at), the first mail twice, each
  // later one three times, recorded or not.
  EXPECT_EQ(progress_, std::make_pair(10000, 2 + 2 + 3 * 1002));
}

TEST_F(BigLogTest, BothByIdKeepsTheFirst1000IdsAndNames) {
  std::vector<std::string> log = {"start", "line"};
  for (int i = 0; i < 1000; ++i) AddSent(log, Id(i), "s" + std::to_string(i));
  log.insert(log.end(), {"/E", Sjis("＞READ NEW")});
  AddReceived(log, 1, "newcomer", Id(1000), "lost");
  AddReceived(log, 2, "renamed", Id(0), "kept");
  log.insert(log.end(), {Sjis("電子メール（未読0件）"), "after", "end"});
  FakeLog fake(log);
  ListBothById();

  const std::vector<Group> groups = Groups();
  ASSERT_EQ(groups.size(), 1000u);
  const std::string renamed = "renamed       ";
  EXPECT_EQ(groups[0].label, renamed);
  ASSERT_EQ(groups[0].mails.size(), 2u);
  EXPECT_EQ(groups[0].mails[1].first, 3 + 4 * 1000 + 2 + 4);
  EXPECT_EQ(groups[0].mails[1].second, Sjis(">>受信： ") + "kept");
  ASSERT_EQ(state.idEntries.size(), 1000u);
  EXPECT_EQ(state.idEntries[0], (IdEntry{Id(0), renamed}));
  EXPECT_EQ(state.idEntries[999], (IdEntry{Id(999), Id(999)}));
}

// Lines 1 to 10011: the last 10000 lines start at position 11.
std::vector<std::string> LongLog() {
  std::vector<std::string> log;
  for (int i = 1; i <= 10011; ++i) log.push_back("line " + std::to_string(i));
  log[0] = Sjis("＞READ NEW");
  log[1] = Header(1, "early", "ABC01234");  // inside the block that line 1 opens
  log[2] = "early subject";
  const std::vector<std::string> old = {Sjis("[12:00]＞SMAIL"), Sjis("本文 /E"), Sjis("宛先：OLD00001"), Sjis("題名：old")};
  std::copy(old.begin(), old.end(), log.begin() + 4);  // positions 5 to 8: its prompt lies before the range
  const std::vector<std::string> edge = {Sjis("[12:05]＞SMAIL"), Sjis("本文 /E"), Sjis("宛先：EDG00001"), Sjis("題名：edge")};
  std::copy(edge.begin(), edge.end(), log.begin() + 9);  // positions 10 to 13: its prompt starts the range
  log[19] = Header(2, "late", "NEK77777");  // position 20, in the block only with the whole log
  log[20] = "late subject";
  return log;
}

TEST_F(BigLogTest, WithoutAllDispOnlyTheLast10000LinesAreScanned) {
  FakeLog fake(LongLog());
  ListSentInOrder();
  std::vector<Group> items = Groups();
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].label, Sjis("EDG00001　　edge"));  // the send command before the range still counts
  EXPECT_EQ(progress_.first, 10000);

  ListReceivedInOrder();  // the block opened before the range is never entered
  EXPECT_TRUE(Groups().empty());
  EXPECT_EQ(progress_, std::make_pair(10000, 10000));
}

TEST_F(BigLogTest, WithAllDispTheWholeLogIsScanned) {
  state.allDisp = true;
  FakeLog fake(LongLog());
  ListSentInOrder();
  std::vector<Group> items = Groups();
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].label, Sjis("OLD00001　　old"));
  EXPECT_EQ(items[1].label, Sjis("EDG00001　　edge"));
  EXPECT_EQ(progress_.first, 10010);

  ListReceivedInOrder();
  items = Groups();
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].label.substr(0, 5), "early");
  EXPECT_EQ(items[1].label.substr(0, 4), "late");
}

TEST_F(BigLogTest, TheRangeKeepsItsFullUpperBound) {
  state.allDisp = true;
  FakeLog fake(std::vector<std::string>(70000, "x"));
  ListReceivedInOrder();
  EXPECT_EQ(progress_, std::make_pair(69999, 69999));
}

}  // namespace
}  // namespace qor
