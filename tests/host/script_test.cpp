#include "host/script.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using host::ParseScript;
using host::ScriptCommand;
using host::ScriptInputError;
using ActionKind = scripted::UserAction::Kind;

// The line and message of the error a script raises; line 0 when it parses.
std::pair<int, std::string> ErrorOf(std::string_view script) {
  try {
    ParseScript(script);
  } catch (const ScriptInputError& error) {
    return {error.line, error.what()};
  }
  return {0, ""};
}

ScriptCommand ParseOne(std::string_view line) {
  std::vector<ScriptCommand> commands = ParseScript(line);
  EXPECT_EQ(commands.size(), 1u) << line;
  return commands.empty() ? ScriptCommand{} : commands.front();
}

TEST(ScriptParsing, LineNumbersCountBlankAndCommentLines) {
  auto [line, message] =
      ErrorOf("attach\n\n# a comment\n   \r\n  # indented comment\nfrobnicate 3\n");
  EXPECT_EQ(line, 6);
  EXPECT_EQ(message, "unknown command 'frobnicate'");
  EXPECT_EQ(ErrorOf("attach\r\ndump\r\nDump\r\n").first, 3);  // command words are exact
}

TEST(ScriptParsing, MalformedArgumentsNameTheCommandAndItsUsage) {
  EXPECT_EQ(ErrorOf("activate x").second, "activate: bad N 'x' (usage: activate [N])");
  EXPECT_EQ(ErrorOf("mark 3").second, "mark: missing ATTR (usage: mark POS ATTR)");
  EXPECT_EQ(ErrorOf("size 1").second, "size: unexpected '1' (usage: size)");
}

TEST(ScriptParsing, RejectsEachKindOfBadArgument) {
  for (const char* line : {
           "attach now", "activate 1 2", "activate 1x", "activate +1", "notify 1027 0",
           "notify 1023 0", "notify 1024", "notify 1025 x", "command", "command 0x10",
           "view", "view 1 2 3", "view 99999999999", "select", "select a", "select 0.",
           "select .1", "select 0..1", "select -1", "expand 0.x", "mark 1 256", "mark 1 -1",
           "mark x 1", "append", "append 300 text", "append x text", "discard 1", "pane",
           "pane both", "answer", "answer maybe", "answer YES", "search-pick", "search-pick -1",
           "search-cancel now", "idselect", "idselect 1,,2", "idselect 1,", "idselect a",
           "idselect 1 2", "savefile", "close", "close later", "profile", "profile A=B 1",
           "dump tree", "menu 1",
       }) {
    EXPECT_EQ(ErrorOf(line).first, 1) << line;
  }
}

TEST(ScriptParsing, TextThatIsNoUtf8OrHasNoCodePageCharacterIsBadInput) {
  EXPECT_EQ(ErrorOf("append 0 \xFF").first, 1);
  EXPECT_EQ(ErrorOf("attach\nsearch 😀").first, 2);
}

TEST(ScriptParsing, NoticesAndMessagesCarryTheirParameters) {
  ScriptCommand activate = ParseOne("activate");
  EXPECT_EQ(activate.kind, ScriptCommand::Kind::Message);
  EXPECT_EQ(activate.message, qor::kActivationNotice);
  EXPECT_EQ(activate.first, 1);
  EXPECT_EQ(ParseOne("activate 0").first, 0);
  ScriptCommand notify = ParseOne("notify 1026 -7");
  EXPECT_EQ(notify.message, qor::kHeadingNotice);
  EXPECT_EQ(notify.first, -7);
  EXPECT_EQ(ParseOne("command 40003").message, qor::kWmCommand);
  EXPECT_EQ(ParseOne("size").message, qor::kWmSize);
}

TEST(ScriptParsing, ViewDefaultsTheSecondPositionToTheFirst) {
  ScriptCommand one = ParseOne("view 12");
  EXPECT_EQ(one.position, 12);
  EXPECT_EQ(one.position2, 12);
  ScriptCommand two = ParseOne("view\t12  30");
  EXPECT_EQ(two.position2, 30);
}

TEST(ScriptParsing, PathsAreDottedChildIndexes) {
  EXPECT_EQ(ParseOne("select 0").path, (std::vector<int>{0}));
  EXPECT_EQ(ParseOne("expand 0.2.11").path, (std::vector<int>{0, 2, 11}));
}

TEST(ScriptParsing, TextArgumentsAreTheRestOfTheLineAfterOneBlank) {
  EXPECT_EQ(ParseOne("search").action.text, "");
  EXPECT_EQ(ParseOne("search ").action.text, "");
  EXPECT_EQ(ParseOne("search  two words ").action.text, " two words ");
  ScriptCommand append = ParseOne("append 3 山田 太郎");
  EXPECT_EQ(append.attribute, 3);
  EXPECT_EQ(append.text, "\x8E\x52\x93\x63 \x91\xBE\x98\x59");
  EXPECT_EQ(ParseOne("append 0").text, "");
  ScriptCommand profile = ParseOne("profile PREVMODE 2 3");
  EXPECT_EQ(profile.text, "PREVMODE");
  EXPECT_EQ(profile.value, "2 3");
  EXPECT_EQ(ParseOne("savefile out dir/a.csv").action.text, "out dir/a.csv");
}

TEST(ScriptParsing, QueuedActionsTakeTheUsersChoice) {
  EXPECT_EQ(ParseOne("answer yes").action.answer, 6);
  EXPECT_EQ(ParseOne("answer no").action.answer, 7);
  EXPECT_EQ(ParseOne("answer cancel").action.answer, 2);
  EXPECT_EQ(ParseOne("answer ok").action.answer, 1);
  EXPECT_EQ(ParseOne("search-pick 2").action.index, 2);
  EXPECT_EQ(ParseOne("search-cancel").action.kind, ActionKind::SearchCancel);
  EXPECT_TRUE(ParseOne("idselect all").action.allRows);
  EXPECT_TRUE(ParseOne("idselect cancel").action.cancel);
  ScriptCommand none = ParseOne("idselect none");
  EXPECT_FALSE(none.action.allRows || none.action.cancel);
  EXPECT_TRUE(none.action.rows.empty());
  EXPECT_EQ(ParseOne("idselect 0,3,1").action.rows, (std::vector<int>{0, 3, 1}));
  EXPECT_TRUE(ParseOne("savefile cancel").action.cancel);
  EXPECT_EQ(ParseOne("close cancel").action.answer, 2);
  EXPECT_EQ(ParseOne("  answer yes").action.description, "answer yes");
}

}  // namespace
