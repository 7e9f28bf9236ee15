#include "host/script.h"

#include <charconv>
#include <limits>
#include <map>
#include <optional>

#include "host/cp932_text.h"

namespace host {
namespace {

using Kind = ScriptCommand::Kind;
using ActionKind = scripted::UserAction::Kind;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::optional<int64_t> ParseInteger(std::string_view word, int64_t least, int64_t most) {
  int64_t value = 0;
  const char* end = word.data() + word.size();
  auto [stop, error] = std::from_chars(word.data(), end, value);
  if (word.empty() || error != std::errc() || stop != end) return std::nullopt;
  if (value < least || value > most) return std::nullopt;
  return value;
}

// Reads one line's arguments, word by word, and reports what is wrong with them.
class LineReader {
 public:
  LineReader(int line, std::string_view name, std::string_view rest, std::string_view usage)
      : line_(line), name_(name), rest_(rest), usage_(usage) {}

  bool AtEnd() const { return rest_.find_first_not_of(" \t") == std::string_view::npos; }

  std::string_view Word(std::string_view what) {
    std::optional<std::string_view> word = OptionalWord();
    if (!word) Fail("missing " + std::string(what));
    return *word;
  }

  std::optional<std::string_view> OptionalWord() {
    size_t start = rest_.find_first_not_of(" \t");
    if (start == std::string_view::npos) return std::nullopt;
    size_t end = start;
    while (end < rest_.size() && !IsBlank(rest_[end])) ++end;
    std::string_view word = rest_.substr(start, end - start);
    rest_ = rest_.substr(end);
    return word;
  }

  // The rest of the line after one blank, as written (may be empty or hold blanks).
  std::string_view Rest() {
    std::string_view rest = rest_.empty() ? rest_ : rest_.substr(1);
    rest_ = {};
    return rest;
  }

  int64_t Integer(std::string_view what, int64_t least, int64_t most) {
    return IntegerOf(Word(what), what, least, most);
  }

  int64_t IntegerOf(std::string_view word, std::string_view what, int64_t least, int64_t most) {
    std::optional<int64_t> value = ParseInteger(word, least, most);
    if (!value) Bad(what, word);
    return *value;
  }

  std::string Cp932(std::string_view what, std::string_view utf8) {
    std::optional<std::string> text = Utf8ToCp932(utf8);
    if (!text) Fail(std::string(what) + " is not UTF-8 text that code page 932 can hold");
    return *text;
  }

  void End() {
    if (!AtEnd()) Fail("unexpected '" + std::string(*OptionalWord()) + "'");
  }

  [[noreturn]] void Bad(std::string_view what, std::string_view word) {
    Fail("bad " + std::string(what) + " '" + std::string(word) + "'");
  }

  [[noreturn]] void Fail(const std::string& problem) {
    throw ScriptInputError(line_, std::string(name_) + ": " + problem + " (usage: " +
                                      std::string(usage_) + ")");
  }

 private:
  int line_;
  std::string_view name_;
  std::string_view rest_;
  std::string_view usage_;
};

constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();
constexpr int64_t kInt64Min = std::numeric_limits<int64_t>::min();
constexpr int64_t kInt64Max = std::numeric_limits<int64_t>::max();

std::vector<int> ParsePath(LineReader& reader) {
  std::string_view word = reader.Word("PATH");
  std::vector<int> path;
  size_t start = 0;
  while (true) {
    size_t dot = word.find('.', start);
    std::string_view part = word.substr(start, dot == std::string_view::npos ? dot : dot - start);
    std::optional<int64_t> index = ParseInteger(part, 0, kInt32Max);
    if (!index) reader.Bad("PATH", word);
    path.push_back(static_cast<int>(*index));
    if (dot == std::string_view::npos) break;
    start = dot + 1;
  }
  return path;
}

scripted::UserAction QueuedAnswer(LineReader& reader) {
  static const std::map<std::string_view, int> kAnswers = {
      {"ok", 1}, {"cancel", 2}, {"yes", 6}, {"no", 7}};
  std::string_view word = reader.Word("answer");
  auto found = kAnswers.find(word);
  if (found == kAnswers.end()) reader.Bad("answer", word);
  scripted::UserAction action;
  action.kind = ActionKind::Answer;
  action.answer = found->second;
  return action;
}

scripted::UserAction QueuedIdSelect(LineReader& reader) {
  std::string_view word = reader.Word("rows");
  scripted::UserAction action;
  action.kind = ActionKind::IdSelect;
  if (word == "cancel") {
    action.cancel = true;
  } else if (word == "all") {
    action.allRows = true;
  } else if (word != "none") {
    size_t start = 0;
    while (true) {
      size_t comma = word.find(',', start);
      std::string_view part =
          word.substr(start, comma == std::string_view::npos ? comma : comma - start);
      std::optional<int64_t> row = ParseInteger(part, 0, kInt32Max);
      if (!row) reader.Bad("rows", word);
      action.rows.push_back(static_cast<int>(*row));
      if (comma == std::string_view::npos) break;
      start = comma + 1;
    }
  }
  return action;
}

// Fills in the command's arguments from the rest of its line.
void ParseArguments(ScriptCommand& command, LineReader& reader) {
  const std::string& name = command.name;
  if (name == "activate") {
    command.message = qor::kActivationNotice;
    std::optional<std::string_view> count = reader.OptionalWord();
    command.first = count ? reader.IntegerOf(*count, "N", kInt64Min, kInt64Max) : 1;
  } else if (name == "notify") {
    std::string_view notice = reader.Word("NOTICE");
    command.message = static_cast<unsigned>(
        reader.IntegerOf(notice, "NOTICE", qor::kActivationNotice, qor::kHeadingNotice));
    command.first = reader.Integer("PARAM", kInt64Min, kInt64Max);
  } else if (name == "command") {
    command.message = qor::kWmCommand;
    command.first = reader.Integer("ID", kInt64Min, kInt64Max);
  } else if (name == "size") {
    command.message = qor::kWmSize;
  } else if (name == "view") {
    command.position = static_cast<qor::LinePosition>(reader.Integer("POS", kInt32Min, kInt32Max));
    std::optional<std::string_view> second = reader.OptionalWord();
    command.position2 = second ? static_cast<qor::LinePosition>(
                                     reader.IntegerOf(*second, "POS2", kInt32Min, kInt32Max))
                               : command.position;
  } else if (name == "select" || name == "expand") {
    command.path = ParsePath(reader);
  } else if (name == "mark") {
    command.position = static_cast<qor::LinePosition>(reader.Integer("POS", kInt32Min, kInt32Max));
    command.attribute = static_cast<int>(reader.Integer("ATTR", 0, 255));
  } else if (name == "append") {
    command.attribute = static_cast<int>(reader.Integer("ATTR", 0, 255));
    command.text = reader.Cp932("TEXT", reader.Rest());
  } else if (name == "pane") {
    std::string_view which = reader.Word("pane");
    if (which != "tree" && which != "other") reader.Bad("pane", which);
    command.treeActive = which == "tree";
  } else if (name == "answer") {
    command.action = QueuedAnswer(reader);
  } else if (name == "search") {
    command.action.kind = ActionKind::Search;
    command.action.text = reader.Cp932("TEXT", reader.Rest());
  } else if (name == "search-pick") {
    command.action.kind = ActionKind::SearchPick;
    command.action.index = static_cast<int>(reader.Integer("N", 0, kInt32Max));
  } else if (name == "search-cancel") {
    command.action.kind = ActionKind::SearchCancel;
  } else if (name == "idselect") {
    command.action = QueuedIdSelect(reader);
  } else if (name == "savefile") {
    command.action.kind = ActionKind::SaveFile;
    std::string_view path = reader.Rest();
    if (path.empty()) reader.Fail("missing PATH");
    command.action.cancel = path == "cancel";
    if (!command.action.cancel) command.action.text = std::string(path);
  } else if (name == "close") {
    std::string_view button = reader.Word("button");
    if (button != "ok" && button != "cancel") reader.Bad("button", button);
    command.action.kind = ActionKind::Close;
    command.action.answer = button == "ok" ? 1 : 2;
  } else if (name == "profile") {
    command.text = reader.Cp932("KEY", reader.Word("KEY"));
    if (command.text.find_first_of("=[]") != std::string::npos) reader.Bad("KEY", command.text);
    command.value = reader.Cp932("VALUE", reader.Rest());
  }
  reader.End();
}

struct CommandInfo {
  Kind kind;
  std::string_view usage;
};

const std::map<std::string_view, CommandInfo>& Commands() {
  static const std::map<std::string_view, CommandInfo> kCommands = {
      {"attach", {Kind::Attach, "attach"}},
      {"detach", {Kind::Detach, "detach"}},
      {"activate", {Kind::Message, "activate [N]"}},
      {"notify", {Kind::Message, "notify 1024|1025|1026 PARAM"}},
      {"command", {Kind::Message, "command ID"}},
      {"size", {Kind::Message, "size"}},
      {"view", {Kind::View, "view POS [POS2]"}},
      {"select", {Kind::Select, "select PATH"}},
      {"expand", {Kind::Expand, "expand PATH"}},
      {"mark", {Kind::Mark, "mark POS ATTR"}},
      {"append", {Kind::Append, "append ATTR TEXT"}},
      {"discard", {Kind::Discard, "discard"}},
      {"pane", {Kind::Pane, "pane tree|other"}},
      {"answer", {Kind::Queue, "answer yes|no|cancel|ok"}},
      {"search", {Kind::Queue, "search TEXT"}},
      {"search-pick", {Kind::Queue, "search-pick N"}},
      {"search-cancel", {Kind::Queue, "search-cancel"}},
      {"idselect", {Kind::Queue, "idselect all|none|cancel|I,J,..."}},
      {"savefile", {Kind::Queue, "savefile PATH|cancel"}},
      {"close", {Kind::Queue, "close ok|cancel"}},
      {"profile", {Kind::Profile, "profile KEY VALUE"}},
      {"dump", {Kind::Dump, "dump"}},
      {"menu", {Kind::Menu, "menu"}},
      {"null-heading-text", {Kind::NullHeadingText, "null-heading-text"}},
  };
  return kCommands;
}

}  // namespace

std::vector<ScriptCommand> ParseScript(std::string_view script) {
  std::vector<ScriptCommand> commands;
  int lineNumber = 0;
  size_t start = 0;
  while (start < script.size()) {
    size_t end = script.find('\n', start);
    if (end == std::string_view::npos) end = script.size();
    std::string_view line = script.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos || line[first] == '#') continue;
    line.remove_prefix(first);

    size_t nameEnd = 0;
    while (nameEnd < line.size() && !IsBlank(line[nameEnd])) ++nameEnd;
    std::string_view name = line.substr(0, nameEnd);
    auto found = Commands().find(name);
    if (found == Commands().end()) {
      throw ScriptInputError(lineNumber, "unknown command '" + std::string(name) + "'");
    }

    ScriptCommand command;
    command.kind = found->second.kind;
    command.line = lineNumber;
    command.name = std::string(name);
    command.written = std::string(line);
    LineReader reader(lineNumber, name, line.substr(nameEnd), found->second.usage);
    ParseArguments(command, reader);
    command.action.description = command.written;
    commands.push_back(std::move(command));
  }
  return commands;
}

bool NeedsPane(const ScriptCommand& command) {
  switch (command.kind) {
    case Kind::Message:
    case Kind::Select:
    case Kind::Expand:
    case Kind::Dump:
    case Kind::Menu:
      return true;
    default:
      return false;
  }
}

}  // namespace host
