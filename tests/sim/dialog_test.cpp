// Dialogs, message boxes and the save-file dialog, answered by the scripted user.
#include "platform/dialog.h"
#include "platform/file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "host/scripted_user.h"
#include "platform/desktop.h"
#include "platform/message_box.h"
#include "platform/sim/desktop_internal.h"
#include "platform/window.h"
#include "res/dialog_templates.h"
#include "res/texts.h"

namespace {

using Events = std::vector<std::vector<std::string>>;
using Kind = scripted::UserAction::Kind;

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    desktop::Reset();
    scripted::SeatScriptedUser();
    desktop::SetEventSink([this](const std::vector<std::string>& fields) { events.push_back(fields); });
  }
  void TearDown() override { desktop::Reset(); }

  static void Queue(Kind kind, int answer = 0, const std::string& text = "") {
    scripted::UserAction action;
    action.kind = kind;
    action.answer = action.index = answer;
    action.text = text;
    scripted::QueueUserAction(action);
  }

  Events events;
};

// A dialog whose handlers a test fills in.
class TestDialog : public platform::Dialog {
 public:
  using Dialog::Dialog;
  std::function<void(TestDialog&)> onInit;
  std::function<void(TestDialog&)> onOk;
  bool endOnCancel = true;

 protected:
  bool OnInit() override {
    if (onInit) onInit(*this);
    return true;
  }
  void OnOk() override { onOk ? onOk(*this) : End(platform::kIdOk); }
  void OnCancel() override {
    if (endOnCancel) End(platform::kIdCancel);
  }
};

TEST_F(DialogTest, AboutBoxOpensAndClosesWithTheGivenButton) {
  Queue(Kind::Close, 2);
  TestDialog about(res::kAboutBoxTemplate);
  platform::WindowHandle seen = nullptr;
  platform::Rect rect, client;
  about.onInit = [&](TestDialog& dialog) {
    seen = dialog.Handle();
    rect = platform::Window(dialog.Handle()).GetWindowRect();
    client = platform::Window(dialog.Handle()).GetClientRect();
  };
  EXPECT_EQ(about.RunModal(), 2);
  EXPECT_EQ(events, (Events{{"Dialog", "129", res::kAboutCaption}}));
  // 187 x 117 dialog units, base units 6 x 12, frame 3, caption 20, at 0,0.
  EXPECT_EQ(rect.right, 187 * 6 / 4 + 6);
  EXPECT_EQ(rect.bottom, 117 * 12 / 8 + 26);
  EXPECT_EQ(client.right, 187 * 6 / 4);
  EXPECT_EQ(client.bottom, 117 * 12 / 8);
  EXPECT_FALSE(desktop::IsWindow(seen));  // gone once the dialog returns
}

TEST_F(DialogTest, ModelessDialogLivesAsLongAsItsObject) {
  platform::WindowHandle window = nullptr;
  {
    TestDialog about(res::kAboutBoxTemplate);
    bool initialised = false;
    about.onInit = [&](TestDialog&) { initialised = true; };
    ASSERT_TRUE(about.CreateModeless());
    EXPECT_TRUE(initialised);
    window = about.Handle();
    EXPECT_NE(about.Item(platform::kIdOk), nullptr);
    EXPECT_EQ(about.Item(-1), nullptr);  // the statics exist but have no id
    EXPECT_EQ(about.Item(4711), nullptr);
  }
  EXPECT_FALSE(desktop::IsWindow(window));
  EXPECT_EQ(events.size(), 1u);
}

TEST_F(DialogTest, SearchDialogTypesOrPicksFromHistory) {
  const auto run = [](std::string& text, int& selected) {
    TestDialog search(res::kSubjectSearchTemplate);
    search.onInit = [](TestDialog& dialog) {
      platform::ComboBox history(dialog.Item(res::kComboBoxControl));
      history.AddString("first");
      history.AddString("second");
    };
    search.onOk = [&](TestDialog& dialog) {
      const platform::ComboBox combo(dialog.Item(res::kComboBoxControl));
      text = combo.GetText();
      selected = combo.GetCurSel();
      dialog.End(platform::kIdOk);
    };
    return search.RunModal();
  };
  std::string text;
  int selected = 0;
  Queue(Kind::Search, 0, "typed");
  EXPECT_EQ(run(text, selected), 1);
  EXPECT_EQ(text, "typed");
  EXPECT_EQ(selected, -1);
  Queue(Kind::SearchPick, 1);
  EXPECT_EQ(run(text, selected), 1);
  EXPECT_EQ(text, "second");
  EXPECT_EQ(selected, 1);
  Queue(Kind::SearchCancel);
  EXPECT_EQ(run(text, selected), 2);
  Queue(Kind::SearchPick, 2);
  EXPECT_THROW(run(text, selected), desktop::ScriptError);
}

TEST_F(DialogTest, IdSelectionKeepsExactlyTheGivenRows) {
  const auto run = [](const scripted::UserAction& action) {
    scripted::QueueUserAction(action);
    std::vector<bool> kept;
    TestDialog select(res::kIdSelectTemplate);
    select.onInit = [](TestDialog& dialog) {
      platform::ListBox list(dialog.Item(res::kListBoxControl));
      for (const char* name : {"a", "b", "c"}) list.AddString(name);
      list.SelectAll();
    };
    select.onOk = [&](TestDialog& dialog) {
      const platform::ListBox list(dialog.Item(res::kListBoxControl));
      for (int row = 0; row < list.GetCount(); ++row) kept.push_back(list.IsSelected(row));
      dialog.End(platform::kIdOk);
    };
    const int result = select.RunModal();
    return std::make_pair(result, kept);
  };
  scripted::UserAction action;
  action.kind = Kind::IdSelect;
  action.rows = {0, 2};
  EXPECT_EQ(run(action), std::make_pair(1, std::vector<bool>{true, false, true}));
  action.rows = {};
  EXPECT_EQ(run(action).second, (std::vector<bool>{false, false, false}));
  action.allRows = true;
  EXPECT_EQ(run(action).second, (std::vector<bool>{true, true, true}));
  action.cancel = true;
  EXPECT_EQ(run(action).first, 2);
  action = {};
  action.kind = Kind::IdSelect;
  action.rows = {3};
  EXPECT_THROW(run(action), desktop::ScriptError);
}

TEST_F(DialogTest, ScriptFaultsStopTheSession) {
  TestDialog about(res::kAboutBoxTemplate);
  EXPECT_THROW(about.RunModal(), desktop::ScriptError);  // nothing queued
  Queue(Kind::Search, 0, "x");
  EXPECT_THROW(about.RunModal(), desktop::ScriptError);  // wrong kind for the About box
  Queue(Kind::Close, 1);
  Queue(Kind::Close, 2);
  TestDialog stubborn(res::kAboutBoxTemplate);
  stubborn.endOnCancel = false;
  EXPECT_EQ(stubborn.RunModal(), 1);
  try {
    stubborn.RunModal();
    FAIL() << "a dialog that did not end ran on";
  } catch (const desktop::ScriptError& error) {
    EXPECT_STREQ(error.what(), "dialog 129 did not end");
  }
}

TEST_F(DialogTest, DialogEndedWhileStartingNeedsNoUser) {
  TestDialog about(res::kAboutBoxTemplate);
  about.onInit = [](TestDialog& dialog) { dialog.End(7); };
  EXPECT_EQ(about.RunModal(), 7);
  EXPECT_TRUE(scripted::UnusedUserActions().empty());
}

TEST_F(DialogTest, ProgressWindowReportsItsBarWhenItCloses) {
  {
    TestDialog progress(res::kScanProgressTemplate);
    ASSERT_TRUE(progress.CreateModeless());
    EXPECT_FALSE(desktop::seam::IsWindowVisible(progress.Handle()));  // its template is not visible
    progress.Show();
    EXPECT_TRUE(desktop::seam::IsWindowVisible(progress.Handle()));
    platform::ProgressBar bar(progress.Item(res::kProgressBarControl));
    bar.SetRange(0, 2147483647);
    bar.SetPosition(1000);
    bar.SetPosition(2000000000);
  }
  {
    TestDialog unused(res::kScanProgressTemplate);
    unused.CreateModeless();
  }
  EXPECT_EQ(events, (Events{{"Dialog", "131", res::kProgressCaption},
                            {"Progress", "2147483647", "2000000000"},
                            {"Dialog", "131", res::kProgressCaption},
                            {"Progress", "100", "0"}}));
}

TEST_F(DialogTest, ProgressBarKeepsItsPositionInsideItsRange) {
  {
    TestDialog progress(res::kScanProgressTemplate);
    ASSERT_TRUE(progress.CreateModeless());
    platform::ProgressBar bar(progress.Item(res::kProgressBarControl));
    bar.SetRange(0, 0);
    bar.SetPosition(1);  // past the end: shows, and reads back, as the end
  }
  {
    TestDialog progress(res::kScanProgressTemplate);
    ASSERT_TRUE(progress.CreateModeless());
    platform::ProgressBar bar(progress.Item(res::kProgressBarControl));
    bar.SetPosition(-5);
  }
  EXPECT_EQ(events, (Events{{"Dialog", "131", res::kProgressCaption},
                            {"Progress", "0", "0"},
                            {"Dialog", "131", res::kProgressCaption},
                            {"Progress", "100", "0"}}));
}

TEST_F(DialogTest, MessageBoxShowsItsIconAndTakesAFittingAnswer) {
  Queue(Kind::Answer, 7);
  Queue(Kind::Answer, 1);
  EXPECT_EQ(platform::ShowMessageBox("QORMAIL", "sure?", platform::Buttons::YesNo, platform::Icon::Question),
            platform::Answer::No);
  EXPECT_EQ(platform::ShowMessageBox("QORMAIL", res::kNotFound, platform::Buttons::Ok, platform::Icon::Exclamation),
            platform::Answer::Ok);
  EXPECT_EQ(events, (Events{{"MessageBox", "QORMAIL", "YESNO", "QUESTION", "sure?"},
                            {"MessageBox", "QORMAIL", "OK", "EXCLAMATION", res::kNotFound}}));

  scripted::UserAction yes;
  yes.answer = 6;
  yes.description = "answer yes";
  scripted::QueueUserAction(yes);
  try {
    platform::ShowMessageBox("QORMAIL", "done", platform::Buttons::Ok, platform::Icon::Exclamation);
    FAIL() << "a Yes answered an OK box";
  } catch (const desktop::ScriptError& error) {
    EXPECT_STREQ(error.what(), "queued answer 'answer yes' does not fit an OK box");
  }
  try {
    platform::ShowMessageBox("QORMAIL", "done", platform::Buttons::OkCancel, platform::Icon::Exclamation);
    FAIL() << "a box without an answer returned";
  } catch (const desktop::ScriptError& error) {
    EXPECT_STREQ(error.what(), "message box \"done\" has no queued answer");
  }
  Queue(Kind::Close, 1);
  EXPECT_THROW(platform::ShowMessageBox("Q", "t", platform::Buttons::OkCancel, platform::Icon::Exclamation),
               desktop::ScriptError);
}

TEST_F(DialogTest, SaveFileDialogAndReplace) {
  scripted::UserAction save;
  save.kind = Kind::SaveFile;
  save.text = "/tmp/out.csv";
  scripted::QueueUserAction(save);
  save.cancel = true;
  scripted::QueueUserAction(save);
  std::string path;
  EXPECT_TRUE(platform::AskSaveFilePath(path));
  EXPECT_EQ(path, "/tmp/out.csv");
  EXPECT_FALSE(platform::AskSaveFilePath(path));
  Queue(Kind::Answer, 1);
  EXPECT_THROW(platform::AskSaveFilePath(path), desktop::ScriptError);
  EXPECT_TRUE(events.empty());

  const auto dir = std::filesystem::temp_directory_path() / ("sim_replace_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir / "sub");
  std::ofstream(dir / "new") << "new";
  std::ofstream(dir / "old") << "old";
  {
    platform::FileReplacement replacement;
    EXPECT_TRUE(replacement.Begin((dir / "old").string()));
    EXPECT_TRUE(replacement.Write("new", 3));
    EXPECT_TRUE(replacement.Commit());
  }
  std::ifstream in(dir / "old");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "new");
  platform::FileReplacement overDirectory;
  EXPECT_FALSE(overDirectory.Begin((dir / "sub").string()));
  EXPECT_TRUE(std::filesystem::is_directory(dir / "sub"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 3);  // new, old, sub
  std::filesystem::remove_all(dir);
}

}  // namespace
