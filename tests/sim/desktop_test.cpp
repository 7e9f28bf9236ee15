// Windows, menus, image lists and Reset of the simulated desktop.
#include "platform/desktop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/scripted_user.h"
#include "platform/image_list.h"
#include "platform/message_box.h"
#include "platform/popup_menu.h"
#include "platform/tree_view.h"
#include "platform/window.h"
#include "res/texts.h"

namespace platform {
static bool operator==(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
}  // namespace platform

namespace {

class DesktopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    desktop::Reset();
    scripted::SeatScriptedUser();
  }
  void TearDown() override { desktop::Reset(); }
};

TEST_F(DesktopTest, WindowRectanglesFollowParentsAndFrames) {
  const desktop::Handle main = desktop::CreateHostWindow(nullptr, {100, 100, 900, 700}, 4, nullptr);
  const desktop::Handle pane = desktop::CreateHostWindow(main, {110, 120, 310, 420}, 2, nullptr);
  const platform::Window mainWindow(main), paneWindow(pane);
  EXPECT_EQ(mainWindow.GetWindowRect(), (platform::Rect{100, 100, 900, 700}));
  EXPECT_EQ(mainWindow.GetClientRect(), (platform::Rect{0, 0, 792, 592}));
  EXPECT_EQ(paneWindow.GetClientRect(), (platform::Rect{0, 0, 196, 296}));
  const platform::Point corner = paneWindow.ClientToScreen({1, 1});
  EXPECT_EQ(corner.x, 113);
  EXPECT_EQ(corner.y, 123);

  // A child moves within its parent's client area, and with its parent.
  platform::Window tree(platform::TreeView::Create(pane));
  tree.Move(0, 0, 196, 296, true);
  EXPECT_EQ(tree.GetWindowRect(), (platform::Rect{112, 122, 308, 418}));
  platform::Window(main).Move(0, 0, 800, 600, true);
  EXPECT_EQ(tree.GetWindowRect(), (platform::Rect{12, 22, 208, 318}));
}

TEST_F(DesktopTest, DestroyedWindowsAreGoneWithTheirChildren) {
  const desktop::Handle main = desktop::CreateHostWindow(nullptr, {0, 0, 10, 10}, 0, nullptr);
  const desktop::Handle child = desktop::CreateHostWindow(main, {0, 0, 5, 5}, 0, nullptr);
  EXPECT_EQ(desktop::CreateHostWindow(reinterpret_cast<desktop::Handle>(0x7), {}, 0, nullptr), nullptr);
  EXPECT_EQ(platform::TreeView::Create(nullptr), nullptr);
  platform::Window window(main);
  EXPECT_TRUE(window.IsValid());
  window.Destroy();
  EXPECT_FALSE(window.IsValid());
  EXPECT_FALSE(desktop::IsWindow(child));
  EXPECT_EQ(window.GetWindowRect(), platform::Rect{});
  window.Move(1, 2, 3, 4, true);
  window.Destroy();
  EXPECT_EQ(window.ClientToScreen({5, 6}).x, 5);
}

TEST_F(DesktopTest, MenuListsEntriesInOrder) {
  platform::PopupMenu menu(platform::PopupMenu::Create());
  menu.AppendItem(101, res::kMenuReceivedInOrder);
  menu.AppendSeparator();
  menu.AppendItem(1000, res::kMenuAbout);
  menu.Check(101, true);
  menu.Enable(1000, false);
  menu.Check(999, true);  // not in the menu: nothing
  const auto rows = desktop::ReadMenu(menu.Handle());
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].id, 101);
  EXPECT_TRUE(rows[0].checked);
  EXPECT_TRUE(rows[0].enabled);
  EXPECT_EQ(rows[0].text, res::kMenuReceivedInOrder);
  EXPECT_TRUE(rows[1].separator);
  EXPECT_FALSE(rows[2].enabled);
  EXPECT_FALSE(rows[2].checked);
  EXPECT_TRUE(desktop::ReadMenu(nullptr).empty());
}

TEST_F(DesktopTest, ImageListHandsOutIndexesInOrder) {
  const platform::ImageListHandle images = platform::CreateImageList(16, 16, 5, 0);
  std::vector<int> indexes;
  for (const int bitmap : {231, 232, 234, 235, 236})
    indexes.push_back(platform::AddBitmapResource(images, bitmap));
  EXPECT_EQ(indexes, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(platform::AddBitmapResource(nullptr, 231), -1);
}

TEST_F(DesktopTest, ResetForgetsEverything) {
  int events = 0;
  desktop::SetEventSink([&](const std::vector<std::string>&) { ++events; });
  desktop::SetProfileDirectory("/tmp");
  scripted::QueueUserAction({});
  const desktop::Handle window = desktop::CreateHostWindow(nullptr, {}, 0, nullptr);
  const platform::MenuHandle menu = platform::PopupMenu::Create();
  platform::PopupMenu(menu).AppendSeparator();
  desktop::Reset();
  EXPECT_FALSE(desktop::IsWindow(window));
  EXPECT_TRUE(desktop::ReadMenu(menu).empty());
  EXPECT_EQ(desktop::ProfileDirectory(), "");
  EXPECT_NE(desktop::CreateHostWindow(nullptr, {}, 0, nullptr), window);  // handles never repeat
  // Nobody at the screen: the user the host seated is forgotten with the rest.
  EXPECT_THROW(platform::ShowMessageBox("Q", "t", platform::Buttons::Ok, platform::Icon::Exclamation),
               desktop::ScriptError);
  desktop::Reset();
  scripted::SeatScriptedUser();
  EXPECT_TRUE(scripted::UnusedUserActions().empty());
  scripted::UserAction answer;
  answer.answer = 1;
  scripted::QueueUserAction(answer);
  EXPECT_EQ(scripted::UnusedUserActions(), (std::vector<std::string>{"answer 1"}));
  platform::ShowMessageBox("Q", "t", platform::Buttons::Ok, platform::Icon::Exclamation);
  EXPECT_EQ(events, 0);
}

}  // namespace
