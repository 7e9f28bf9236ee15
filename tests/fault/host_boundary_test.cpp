// The add-in's boundary with its host: no exception reaches the host (the add-in stays usable),
// the host's calls that come while a command runs wait or are ignored, both forms of the tree's
// notifications are understood, and attaching again leaves one set of windows behind.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <new>
#include <sstream>

#include "addin/dispatch.h"
#include "base/addin_state.h"
#include "base/mail_tree.h"
#include "host/host_base.h"
#include "host/scripted_user.h"
#include "platform/sim/desktop_internal.h"
#include "res/texts.h"
#include "tests/fault/log_text.h"
#include "tests/unit/fake_log.h"

namespace qortest {
namespace {

using qor::LinePosition;

// A log whose host misbehaves on demand: heading texts that are null, or memory that runs out
// after a number of line reads.
class HostileLog final : public qor::testing::FakeLog {
 public:
  using FakeLog::FakeLog;
  const char* GetHeadingText() override { return nullHeadings ? nullptr : FakeLog::GetHeadingText(); }
  const char* GetLine() override {
    if (readsLeft >= 0 && readsLeft-- == 0) throw std::bad_alloc();
    return FakeLog::GetLine();
  }
  bool nullHeadings = false;
  int readsLeft = -1;  // -1: never runs out
};

// A host that passes the tree's notifications to the registered callback, as a real one does,
// and records the lines it is asked to show.
class TestHost final : public host::HostBase {
 public:
  explicit TestHost(HostileLog& log) : log_(log) {
    main_ = desktop::CreateHostWindow(nullptr, {0, 0, 800, 600}, 4,
                                      [this](desktop::Handle window, unsigned message, uintptr_t first, intptr_t second) {
                                        return message == qor::kWmNotify && callback_ ? callback_(window, message, first, second) : 0;
                                      });
  }
  platform::WindowHandle GetMainWindow() override { return main_; }
  platform::WindowHandle GetPaneParent() override { return main_; }
  qor::LogBuffer* GetLogBuffer() override { return &log_; }
  const unsigned char* GetLineAttributes() override { return qor::state.attributes; }
  int RegisterPane(platform::WindowHandle pane, const char*, qor::PaneCallbackFunction callback,
                   platform::MenuHandle menu) override {
    pane_ = pane;
    menu_ = menu;
    callback_ = callback;
    return 1;
  }
  int UnregisterPane(platform::WindowHandle) override {
    callback_ = nullptr;
    return 1;
  }
  void GetViewLines(LinePosition* first, LinePosition* second) override { *first = *second = view; }
  int ShowPosition(const qor::ViewRequest* request, int) override { return shown.push_back(request->line), 1; }
  int ShowLine(LinePosition line) override { return shown.push_back(line), 1; }
  platform::WindowHandle GetActivePane() override { return nullptr; }
  int GetLogTitle(char* buffer, int size) override { return std::snprintf(buffer, size, "log"); }
  int IsAttachedAttribute(int attribute) override { return attribute >= 10 && attribute <= 17; }

  // What the pane hears; sent straight to PaneCallback, also after the host let the pane go.
  void Send(unsigned message, uintptr_t first, intptr_t second = 0) { qor::PaneCallback(pane_, message, first, second); }

  platform::WindowHandle pane_ = nullptr;
  platform::MenuHandle menu_ = nullptr;
  LinePosition view = 1;
  std::vector<LinePosition> shown;

 private:
  HostileLog& log_;
  desktop::Handle main_ = nullptr;
  qor::PaneCallbackFunction callback_ = nullptr;
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class HostBoundary : public ::testing::Test {
 protected:
  HostBoundary() {
    qor::state = qor::AddinState{};
    desktop::Reset();
    scripted::SeatScriptedUser();
    desktop::SetProfileDirectory(directory_.Path());
    desktop::SetEventSink([this](const std::vector<std::string>& fields) {
      events_.push_back(fields);
      if (fields[0] == "MessageBox" && insideBox_) std::exchange(insideBox_, nullptr)();
    });
  }
  ~HostBoundary() override {
    EXPECT_NO_THROW(desktop::ThrowPendingScriptError());
    EXPECT_TRUE(scripted::UnusedUserActions().empty());
    host_.reset();
    log_.reset();
    qor::state = qor::AddinState{};
    desktop::Reset();
    scripted::SeatScriptedUser();
  }

  // Attached over a log of two received mails and two more lines, the first listing built.
  void Start() {
    log_ = std::make_unique<HostileLog>(
        Lines(ReceivedBlock(ReceivedMail(1, Sjis("山田太郎"), "ABC01234", "one") +
                            ReceivedMail(2, Sjis("佐藤花子"), "KJP55021", "two")) +
              "first heading\nsecond heading\n"),
        1);
    host_ = std::make_unique<TestHost>(*log_);
    ASSERT_EQ(GiveAddinInterface(host_.get()), 1);
    host_->Send(qor::kActivationNotice, 1);
  }
  std::vector<desktop::TreeRow> Dump() const { return desktop::DumpTree(qor::state.tree); }
  std::vector<std::vector<std::string>> Named(const std::string& name) const {
    std::vector<std::vector<std::string>> found;
    for (const auto& event : events_) {
      if (event[0] == name) found.push_back(event);
    }
    return found;
  }
  std::vector<std::string> FailureBox(const std::string& text) const {
    return {"MessageBox", qor::ModuleBaseName(), "OK", "EXCLAMATION", text};
  }

  ScratchDirectory directory_;
  std::vector<std::vector<std::string>> events_;
  std::function<void()> insideBox_;  // run once, while the next message box is up
  std::unique_ptr<HostileLog> log_;
  std::unique_ptr<TestHost> host_;
};

constexpr LinePosition kFirstMail = 2, kSecondMail = 6, kFirstHeading = 11, kSecondHeading = 12;

TEST_F(HostBoundary, AFailureStopsOnlyTheCallItCameIn) {
  Start();
  ASSERT_EQ(Dump().size(), 3u);

  // A heading whose text the host gives as null.
  log_->SetAttribute(kFirstHeading, 2);
  log_->nullHeadings = true;
  InProcessAddin::Answer(1);
  host_->Send(qor::kHeadingNotice, kFirstHeading);
  EXPECT_EQ(events_.back(), FailureBox(std::string(res::kFailedWork) + res::kUnexpectedError));
  EXPECT_EQ(Dump().size(), 3u);
  log_->nullHeadings = false;
  host_->Send(qor::kHeadingNotice, kFirstHeading);
  EXPECT_EQ(Dump().back().text, "first heading");

  // Memory runs out half-way through a listing: it is dropped, with the lists it was making, the
  // progress window closes, the tree redraws again, and the view is not stored.
  log_->readsLeft = 3;
  InProcessAddin::Answer(1);
  host_->Send(qor::kWmCommand, qor::kViewBothById);
  EXPECT_EQ(events_.back(), FailureBox(std::string(res::kFailedNameOpen) + res::kMenuBothById + res::kFailedNameClose +
                                       res::kOutOfMemory));
  EXPECT_EQ(events_[events_.size() - 2][0], "Progress");
  EXPECT_TRUE(Dump().empty());
  EXPECT_TRUE(desktop::seam::TreeRedraws(qor::state.tree));
  EXPECT_TRUE(qor::state.idEntries.empty());
  EXPECT_EQ(desktop::GetPrivateProfileInt("SYSTEM", "PREVMODE", 0, qor::ProfileName().c_str()), 1);

  log_->readsLeft = -1;
  host_->Send(qor::kWmCommand, qor::kViewBothById);
  EXPECT_EQ(Dump().size(), 5u);
  EXPECT_EQ(qor::state.idEntries.size(), 2u);
  EXPECT_FALSE(qor::state.selectionSync);
}

TEST_F(HostBoundary, HostCallsFromInsideAMessageBoxAreIgnoredOrHeldUntilTheCommandEnds) {
  Start();
  log_->SetAttribute(kFirstHeading, 2);
  log_->SetAttribute(kSecondHeading, 2);
  const std::size_t shownBefore = host_->shown.size();
  std::size_t rowsInsideBox = 0;
  insideBox_ = [&] {
    host_->Send(qor::kWmCommand, qor::kViewSentInOrder);
    host_->Send(qor::kActivationNotice, 1);
    host_->Send(qor::kWmSize, 0);
    host_->Send(qor::kDiscardNotice, kFirstMail);
    host_->Send(qor::kHeadingNotice, kSecondHeading);
    host_->Send(qor::kHeadingNotice, kFirstHeading);
    rowsInsideBox = Dump().size();
  };
  InProcessAddin::Search("nowhere");
  InProcessAddin::Answer(1);
  host_->Send(qor::kWmCommand, qor::kSubjectSearch);  // finds nothing: a box

  EXPECT_EQ(rowsInsideBox, 3u);                 // nothing changed while the box was up
  EXPECT_EQ(Named("Dialog").size(), 2u);        // the first listing's progress and the search
  EXPECT_EQ(host_->shown.size(), shownBefore);  // nor did the view move
  EXPECT_EQ(qor::state.viewMode, 1);
  std::vector<std::string> labels;
  for (const desktop::TreeRow& row : Dump()) labels.push_back(row.text);
  ASSERT_EQ(labels.size(), 4u);  // the first mail is gone, the headings came in the order they were sent
  EXPECT_EQ(labels[2], "second heading");
  EXPECT_EQ(labels[3], "first heading");

  // Now that the command is over, the host's calls are handled again.
  host_->Send(qor::kDiscardNotice, kSecondMail);
  EXPECT_EQ(Dump().size(), 3u);
}

TEST_F(HostBoundary, ADetachFromInsideAMessageBoxLetsTheCommandEndWithoutTheHost) {
  Start();
  int attachInside = -1;
  insideBox_ = [&] {
    EXPECT_EQ(GiveAddinInterface(host_.get()), 1);  // detached
    host_->Send(qor::kHeadingNotice, kFirstHeading);
    attachInside = GiveAddinInterface(host_.get());  // the command is still on the stack
  };
  InProcessAddin::Search("nowhere");
  InProcessAddin::Answer(1);
  host_->Send(qor::kWmCommand, qor::kSubjectSearch);
  EXPECT_EQ(attachInside, 0);
  EXPECT_EQ(qor::state.host, nullptr);
  host_->Send(qor::kActivationNotice, 1);
  EXPECT_EQ(Named("Dialog").size(), 2u);
  ASSERT_EQ(GiveAddinInterface(host_.get()), 1);
  host_->Send(qor::kActivationNotice, 1);
  EXPECT_EQ(Named("Dialog").size(), 3u);
}

TEST_F(HostBoundary, UnicodeTreeNotificationsWorkAsTheAnsiOnes) {
  Start();
  desktop::seam::TreeNotify record;
  record.code = platform::kTVN_SELCHANGEDW;
  record.itemNew = desktop::TreeItemAt(qor::state.tree, {0, 1});
  host_->Send(qor::kWmNotify, 0, reinterpret_cast<intptr_t>(&record));
  ASSERT_FALSE(host_->shown.empty());
  EXPECT_EQ(host_->shown.back(), kSecondMail);

  // A top heading with its group below it, opened through the Unicode code: filled; collapsing
  // it fills nothing.
  log_->SetAttribute(kFirstHeading, 2);
  log_->SetAttribute(kSecondHeading, 3);
  const platform::TreeItem top = qor::InsertHeading(nullptr, "top", kFirstHeading);
  qor::Tree().SetItemChildren(top, 1);
  record.code = platform::kTVN_ITEMEXPANDINGW;
  record.itemNew = top;
  record.action = 1;
  host_->Send(qor::kWmNotify, 0, reinterpret_cast<intptr_t>(&record));
  EXPECT_EQ(qor::Tree().GetChild(top), nullptr);
  record.action = 2;
  host_->Send(qor::kWmNotify, 0, reinterpret_cast<intptr_t>(&record));
  const platform::TreeItem filled = qor::Tree().GetChild(top);
  ASSERT_NE(filled, nullptr);
  EXPECT_EQ(qor::Tree().GetItemText(filled), "second heading");
}

TEST_F(HostBoundary, AttachingAgainLeavesOneTreeAndADetachedAddinDoesNothing) {
  Start();
  std::vector<desktop::Handle> trees{qor::state.tree}, menus{host_->menu_};
  const std::size_t shownBefore = host_->shown.size();
  for (int cycle = 0; cycle < 10; ++cycle) {
    ASSERT_EQ(GiveAddinInterface(host_.get()), 1);  // detach
    ASSERT_EQ(GiveAddinInterface(host_.get()), 1);  // attach
    trees.push_back(qor::state.tree);
    menus.push_back(host_->menu_);
  }
  ASSERT_EQ(GiveAddinInterface(host_.get()), 1);  // detached at the end
  for (std::size_t i = 0; i + 1 < trees.size(); ++i) {
    EXPECT_FALSE(desktop::IsWindow(trees[i])) << "tree of attachment " << i;
    EXPECT_TRUE(desktop::ReadMenu(menus[i]).empty()) << "menu of attachment " << i;
  }
  EXPECT_TRUE(desktop::IsWindow(trees.back()));  // the host may still hold the last one

  const std::size_t eventsBefore = events_.size();
  desktop::seam::TreeNotify record;
  record.code = platform::kTVN_SELCHANGEDA;
  record.itemNew = desktop::TreeItemAt(trees.back(), {0});
  host_->Send(qor::kWmNotify, 0, reinterpret_cast<intptr_t>(&record));
  host_->Send(qor::kWmCommand, qor::kViewReceivedInOrder);
  host_->Send(qor::kActivationNotice, 1);
  host_->Send(qor::kDiscardNotice, kFirstMail);
  host_->Send(qor::kHeadingNotice, kFirstHeading);
  EXPECT_EQ(events_.size(), eventsBefore);
  EXPECT_EQ(host_->shown.size(), shownBefore);
}

}  // namespace
}  // namespace qortest
