#include "host/substitute_host.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using host::LogStore;
using host::SubstituteHost;

struct Received {
  void* window;
  unsigned message;
  uintptr_t first;
  intptr_t second;
  bool operator==(const Received&) const = default;
};
std::vector<Received> received;

intptr_t RecordingPane(void* window, unsigned message, uintptr_t first, intptr_t second) {
  received.push_back({window, message, first, second});
  return 0;
}

class SubstituteHostTest : public testing::Test {
 protected:
  SubstituteHostTest() { received.clear(); }
  ~SubstituteHostTest() override {
    host_.reset();
    desktop::Reset();
  }

  SubstituteHost& MakeHost(std::string_view bytes, std::string title = "log.txt") {
    host_.emplace(LogStore(bytes), std::move(title),
                  [this](const std::vector<std::string>& fields) { events_.push_back(fields); });
    return *host_;
  }
  // A pane window of the add-in's, as it creates its tree under the pane parent.
  void* Attach(SubstituteHost& h) {
    void* pane = desktop::CreateHostWindow(h.GetPaneParent(), {0, 0, 0, 0}, 0, {});
    EXPECT_EQ(h.RegisterPane(pane, "pane", RecordingPane, nullptr), 1);
    return pane;
  }

  std::optional<SubstituteHost> host_;
  std::vector<std::vector<std::string>> events_;
};

TEST_F(SubstituteHostTest, LogTitleIsCutToTheBuffer) {
  SubstituteHost& h = MakeHost("a\n", "mail.log");
  char buffer[16];
  EXPECT_EQ(h.GetLogTitle(buffer, sizeof buffer), 8);
  EXPECT_STREQ(buffer, "mail.log");
  char small[5] = "xxxx";
  h.GetLogTitle(small, sizeof small);
  EXPECT_STREQ(small, "mail");
  char none[1] = {'x'};
  h.GetLogTitle(none, 0);
  EXPECT_EQ(none[0], 'x');
}

TEST_F(SubstituteHostTest, TheViewFollowsTheNewestLineUntilSet) {
  SubstituteHost& h = MakeHost("a\nb\n");
  qor::LinePosition first = 0, second = 0;
  h.GetViewLines(&first, &second);
  EXPECT_EQ(first, 2);
  EXPECT_EQ(second, 2);
  h.AppendLine("c", 0);
  h.GetViewLines(&first, &second);
  EXPECT_EQ(first, 3);
  h.SetViewLines(1, 2);
  h.AppendLine("d", 0);
  h.GetViewLines(&first, &second);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 2);
  h.DiscardOldestLine();  // position 1 goes: that view line moves to the oldest line held
  h.GetViewLines(&first, &second);
  EXPECT_EQ(first, 2);
  EXPECT_EQ(second, 2);
}

TEST_F(SubstituteHostTest, NoticesReachTheRegisteredPaneWithThePosition) {
  SubstituteHost& h = MakeHost("a\nb\n");
  h.AppendLine("before attach", 2);  // no pane yet: nobody to tell
  void* pane = Attach(h);
  h.AppendLine("plain", 1);
  h.AppendLine("heading", 2);
  h.AppendLine("attached", 12);
  EXPECT_TRUE(h.DiscardOldestLine());
  EXPECT_EQ(received, (std::vector<Received>{{pane, qor::kHeadingNotice, 5, 0},
                                             {pane, qor::kHeadingNotice, 6, 0},
                                             {pane, qor::kDiscardNotice, 1, 0}}));
  EXPECT_EQ(h.GetLineAttributes()[5], 2);
  EXPECT_EQ(h.GetLineAttributes()[6], 12);
}

TEST_F(SubstituteHostTest, TheLastLineIsNeverDiscarded) {
  SubstituteHost& h = MakeHost("only\n");
  Attach(h);
  EXPECT_FALSE(h.DiscardOldestLine());
  EXPECT_TRUE(received.empty());
  EXPECT_STREQ(h.GetLogBuffer()->GetLine() + 1, "only");
}

TEST_F(SubstituteHostTest, UnregisterForgetsOnlyTheRegisteredPane) {
  SubstituteHost& h = MakeHost("a\n");
  void* pane = Attach(h);
  EXPECT_EQ(h.UnregisterPane(h.GetMainWindow()), 0);
  EXPECT_TRUE(h.HasPane());
  EXPECT_EQ(h.UnregisterPane(pane), 1);
  EXPECT_FALSE(h.HasPane());
  EXPECT_EQ(h.SendToPane(qor::kActivationNotice, 1, 0), 0);
  EXPECT_TRUE(received.empty());
}

TEST_F(SubstituteHostTest, TheActivePaneIsTheTreeUntilTheUserLooksElsewhere) {
  SubstituteHost& h = MakeHost("a\n");
  void* pane = Attach(h);
  EXPECT_EQ(h.GetActivePane(), pane);
  h.SetTreeActive(false);
  void* other = h.GetActivePane();
  EXPECT_NE(other, nullptr);
  EXPECT_NE(other, pane);
  EXPECT_NE(other, h.GetMainWindow());
  EXPECT_NE(other, h.GetPaneParent());
  EXPECT_TRUE(desktop::IsWindow(other));
  h.SetTreeActive(true);
  EXPECT_EQ(h.GetActivePane(), pane);
}

TEST_F(SubstituteHostTest, WindowsAreTheHostsOwn) {
  SubstituteHost& h = MakeHost("a\n");
  EXPECT_TRUE(desktop::IsWindow(h.GetMainWindow()));
  EXPECT_TRUE(desktop::IsWindow(h.GetPaneParent()));
  EXPECT_NE(h.GetMainWindow(), h.GetPaneParent());
  void* parent = h.GetPaneParent();
  host_.reset();
  EXPECT_FALSE(desktop::IsWindow(parent));
}

TEST_F(SubstituteHostTest, ShowRequestsBecomeEvents) {
  SubstituteHost& h = MakeHost("a\n");
  qor::ViewRequest request{42, -1};
  h.ShowPosition(&request, 0);
  h.ShowLine(7);
  EXPECT_EQ(events_, (std::vector<std::vector<std::string>>{{"ShowPosition", "42", "-1"},
                                                            {"ShowLine", "7"}}));
}

TEST_F(SubstituteHostTest, AttachedAttributesAreTenToSeventeen) {
  SubstituteHost& h = MakeHost("a\n");
  EXPECT_EQ(h.IsAttachedAttribute(9), 0);
  EXPECT_NE(h.IsAttachedAttribute(10), 0);
  EXPECT_NE(h.IsAttachedAttribute(17), 0);
  EXPECT_EQ(h.IsAttachedAttribute(18), 0);
}

}  // namespace
