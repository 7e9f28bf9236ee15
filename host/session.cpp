#include "host/session.h"

#include <utility>

#include "host/scripted_user.h"

namespace host {

using Kind = ScriptCommand::Kind;

Session::Session(SubstituteHost& host, const AddinModule& addin, EventOutput output)
    : host_(host), addin_(addin), output_(std::move(output)) {}

void Session::Run(const ScriptCommand& command) {
  if (NeedsPane(command) && !host_.HasPane()) {
    throw ScriptInputError(command.line, command.name + ": no pane is registered (attach first)");
  }
  switch (command.kind) {
    case Kind::Attach:
    case Kind::Detach:
      addin_.GiveInterface(&host_);
      break;
    case Kind::Message: {
      intptr_t second = command.message == qor::kWmSize ? host_.PaneClientSize() : 0;
      host_.SendToPane(command.message, static_cast<uintptr_t>(command.first), second);
      break;
    }
    case Kind::View:
      host_.SetViewLines(command.position, command.position2);
      break;
    case Kind::Select:
      desktop::ClickItem(host_.PaneWindow(), ItemAt(command));
      break;
    case Kind::Expand:
      desktop::ClickExpandButton(host_.PaneWindow(), ItemAt(command));
      break;
    case Kind::Mark:
      if (!host_.Log().Holds(command.position)) {
        throw ScriptInputError(command.line, "mark: the log holds no line at position " +
                                                 std::to_string(command.position));
      }
      host_.Log().SetAttribute(command.position, static_cast<unsigned char>(command.attribute));
      break;
    case Kind::Append:
      if (!host_.AppendLine(command.text, static_cast<unsigned char>(command.attribute))) {
        throw ScriptInputError(command.line, "append: the log has no room for another line");
      }
      break;
    case Kind::Discard:
      if (!host_.DiscardOldestLine()) {
        throw ScriptInputError(command.line, "discard: the log's last line cannot be discarded");
      }
      break;
    case Kind::Pane:
      host_.SetTreeActive(command.treeActive);
      break;
    case Kind::Queue:
      queued_.push_back({command.line, command.written});
      scripted::QueueUserAction(command.action);
      break;
    case Kind::Profile:
      if (!desktop::WritePrivateProfileString("SYSTEM", command.text.c_str(),
                                              command.value.c_str(), "QORMAIL.INI")) {
        throw ScriptInputError(command.line, "profile: cannot write QORMAIL.INI in " +
                                                 desktop::ProfileDirectory());
      }
      break;
    case Kind::Dump:
      Dump();
      break;
    case Kind::Menu:
      PrintMenu();
      break;
    case Kind::NullHeadingText:
      host_.AnswerNullHeadingTexts();
      break;
  }
  desktop::ThrowPendingScriptError();
}

void Session::Finish() const {
  std::vector<std::string> unused = scripted::UnusedUserActions();
  if (unused.empty()) return;
  // One queue, first in first out: what is left is the tail of what the script queued.
  size_t firstUnused = queued_.size() >= unused.size() ? queued_.size() - unused.size() : 0;
  int line = firstUnused < queued_.size() ? queued_[firstUnused].line : 0;
  std::string message = "'" + unused.front() + "' was queued but never used";
  if (unused.size() > 1) message += " (and " + std::to_string(unused.size() - 1) + " more)";
  throw ScriptInputError(line, message);
}

desktop::Handle Session::ItemAt(const ScriptCommand& command) const {
  desktop::Handle item = desktop::TreeItemAt(host_.PaneWindow(), command.path);
  if (!item) {
    std::string path;
    for (int index : command.path) path += (path.empty() ? "" : ".") + std::to_string(index);
    throw ScriptInputError(command.line, command.name + ": no tree item at path " + path);
  }
  return item;
}

std::vector<std::string> TreeRowFields(const desktop::TreeRow& row) {
  return {std::to_string(row.depth),         std::to_string(row.param),
          std::to_string(row.image),         std::to_string(row.selectedImage),
          row.children ? "1" : "0",          row.expanded ? "1" : "0",
          row.selected ? "1" : "0",          row.text};
}

void Session::Dump() const {
  for (const desktop::TreeRow& row : desktop::DumpTree(host_.PaneWindow())) {
    output_(TreeRowFields(row));
  }
}

void Session::PrintMenu() const {
  for (const desktop::MenuRow& row : desktop::ReadMenu(host_.PaneMenu())) {
    if (row.separator) {
      output_({"-"});
    } else {
      output_({std::to_string(row.id), row.checked ? "1" : "0", row.enabled ? "1" : "0", row.text});
    }
  }
}

}  // namespace host
