// Session scripts: one command a line; blank lines and lines starting with # are ignored. The
// whole script is parsed before anything runs, so a malformed line stops it before it starts.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/host_abi.h"
#include "host/scripted_user.h"
#include "platform/desktop.h"

namespace host {

// Bad input in a script line: it does not parse, or the session cannot carry it out.
struct ScriptInputError : std::runtime_error {
  ScriptInputError(int line, const std::string& message)
      : std::runtime_error(message), line(line) {}
  int line;
};

struct ScriptCommand {
  enum class Kind {
    Attach, Detach,
    Message,   // a window message or notice to the pane: activate, notify, command, size
    View, Select, Expand, Mark, Append, Discard, Pane,
    Queue,     // the user's next action in a message box or dialog
    Profile, Dump, Menu,
    NullHeadingText,  // the host answers null heading texts from now on
  };
  Kind kind = Kind::Attach;
  int line = 0;
  std::string name;              // the command word
  std::string written;           // the whole line, for messages
  unsigned message = 0;          // Message
  int64_t first = 0;             // Message: first parameter (WM_SIZE: computed by the host)
  qor::LinePosition position = 0;   // View, Mark
  qor::LinePosition position2 = 0;  // View
  int attribute = 0;             // Mark, Append
  std::vector<int> path;         // Select, Expand
  std::string text;              // Append: code page 932; Profile: the key
  std::string value;             // Profile
  bool treeActive = true;        // Pane
  scripted::UserAction action;    // Queue
};

// Throws ScriptInputError naming the first bad line.
std::vector<ScriptCommand> ParseScript(std::string_view script);

// Commands that talk to the registered pane need an attached add-in.
bool NeedsPane(const ScriptCommand& command);

}  // namespace host
