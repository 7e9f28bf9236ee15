// The rules of the subject search: where in a label a search text may match, and the order in
// which the search and search next walk the tree.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/addin_state.h"
#include "base/mail_tree.h"
#include "host/scripted_user.h"
#include "platform/desktop.h"
#include "search/label_match.h"
#include "search/subject_search.h"
#include "tests/unit/cp932.h"
#include "tests/unit/listing_host.h"

namespace qor {
namespace {

using testing::Sjis;

struct MatchRow {
  const char* label;  // UTF-8
  const char* text;
  bool found;
  const char* why;
};

TEST(LabelContainsTest, MatchesStartOnlyOnCharacters) {
  const MatchRow rows[] = {
      {"アイス", "A", false, "ア (83 41) ends in the byte of A: no match starts on a trail byte"},
      {"アA", "A", true, "a later A that is a character of its own matches"},
      {"漓", "A", false, "lead bytes from E0 on make double-byte characters too (E0 41)"},
      {"ｱA", "A", true, "a half-width katakana (B1) is one byte: the next byte is a character"},
      {"ャA", "ア", false, "the bytes of ア (83 41) straddle ャ (83 83) and A"},
      {"忘年会の写真", "写真", true, "a match that ends the label"},
      {"写真", "写真の件", false, "a text longer than the rest of the label"},
      {"abc", "ABC", false, "case-sensitive"},
      {"ＡＢＣ", "ABC", false, "full-width and half-width forms differ"},
      {"x", "", true, "an empty text occurs in a label that is not empty"},
      {"", "", false, "but not in an empty one"},
  };
  for (const MatchRow& row : rows) {
    EXPECT_EQ(LabelContains(Sjis(row.label), Sjis(row.text)), row.found) << row.why;
  }
}

// A by-ID tree: groups under the root, mails under the groups.
class SearchWalkTest : public ::testing::Test {
 protected:
  SearchWalkTest() : host_(desktop::CreateHostWindow(nullptr, {0, 0, 800, 600}, 4, {})) {
    scripted::SeatScriptedUser();
    desktop::SetEventSink([this](const std::vector<std::string>& fields) {
      if (fields[0] == "MessageBox") notFound_ = true;
    });
    state.host = &host_;
    state.tree = platform::TreeView::Create(host_.GetMainWindow());
    const platform::TreeItem root = InsertRoot();  // "log": never tested
    const std::vector<std::pair<const char*, std::vector<const char*>>> groups = {
        {"ABC01234", {"忘年会の日程", "忘年会の写真", "写真"}},
        {"NEK77777 忘年会", {"忘年会へ"}},
        {"XYZ00001", {"写真の件", "また忘年会"}},
    };
    LinePosition position = 1;
    for (const auto& [label, mails] : groups) {
      const platform::TreeItem group = InsertGroup(Sjis(label));
      for (const char* mail : mails) InsertMail(group, Sjis(mail), position++, MailImages::Received);
    }
    Tree().Expand(root, platform::ExpandAction::Expand);
  }
  ~SearchWalkTest() override {
    state = AddinState();
    desktop::Reset();
  }

  // The labels selected by a subject search and then by search next, up to the first miss.
  std::vector<std::string> Matches(const char* text) {
    scripted::UserAction search;
    search.kind = scripted::UserAction::Kind::Search;
    search.text = Sjis(text);
    scripted::QueueUserAction(search);
    scripted::UserAction ok;
    ok.answer = 1;  // for the message that ends the run
    scripted::QueueUserAction(ok);
    std::vector<std::string> found;
    notFound_ = false;
    SubjectSearch();
    for (int guard = 0; !notFound_ && guard < 10; ++guard) {
      found.push_back(Tree().GetItemText(Tree().GetSelection()));
      SearchNext();
    }
    return found;
  }

  testing::ListingHost host_;
  bool notFound_ = false;
};

TEST_F(SearchWalkTest, WalksDownInDisplayOrderAndNeverBackToTheTop) {
  const struct {
    const char* text;
    std::vector<const char*> found;
    const char* why;
  } rows[] = {
      {"忘年会", {"忘年会の日程", "忘年会の写真", "NEK77777 忘年会", "また忘年会"},
       "into each group in turn; a matching group is taken before its mails, which are then skipped"},
      {"写真", {"忘年会の写真", "写真"}, "after the last mail of a group nothing is visited, not even later groups"},
      {"ABC", {"ABC01234"}, "search next goes on at the next group and finds nothing above"},
      {"log", {}, "the root is never tested"},
  };
  for (const auto& row : rows) {
    std::vector<std::string> expected;
    for (const char* label : row.found) expected.push_back(Sjis(label));
    EXPECT_EQ(Matches(row.text), expected) << row.why;
    EXPECT_TRUE(state.searchText.empty() && state.lastFound == nullptr) << "a miss forgets the search";
  }
}

}  // namespace
}  // namespace qor
