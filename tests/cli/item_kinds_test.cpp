// The kinds list --json gives the tree's items, read off the tree the add-in built: in an ID view a
// level-1 heading hangs under the last group beside that group's mails, and stays a heading.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/command_support.h"
#include "cli/json_output.h"
#include "cli/log_input.h"
#include "platform/desktop.h"

namespace cli {
namespace {

TEST(ItemKinds, AHeadingUnderTheLastGroupOfTheSentByIdViewIsNoMail) {
  const std::filesystem::path profiles = std::filesystem::temp_directory_path() / "item_kinds_test";
  std::filesystem::create_directories(profiles);
  desktop::SetProfileDirectory(profiles.string());
  const host::AddinModule addin(ADDIN_MODULE);
  const std::string logPath = std::string(SCENARIO_LOGS) + "/sent2-meeting.txt";
  cli::Run run(addin, LoadLog(logPath, logPath, Encoding::Utf8), logPath, [](const std::vector<std::string>&) {});
  RunScript(run, "attach\nactivate\ncommand 104\nappend 3 \xE8\xA6\x8B\xE5\x87\xBA\xE3\x81\x97\n");
  run.session->Finish();

  const std::vector<desktop::TreeRow> rows = desktop::DumpTree(run.substitute->PaneWindow());
  const std::vector<ItemKind> kinds = KindsOf(rows, run.substitute->Log());
  EXPECT_EQ(kinds, (std::vector<ItemKind>{ItemKind::Root, ItemKind::Group, ItemKind::SentMail, ItemKind::Group,
                                          ItemKind::SentMail, ItemKind::Heading}));
  EXPECT_NE(TreeItemJson(logPath, 4, rows.back(), kinds.back()).find("\"kind\":\"heading\""), std::string::npos);
  desktop::Reset();
  std::filesystem::remove_all(profiles);
}

}  // namespace
}  // namespace cli
