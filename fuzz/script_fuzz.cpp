// The session script reader over arbitrary bytes. A script either parses or is refused with a
// ScriptInputError naming a line of it; no other exception and no crash. What parses is stable:
// each command's own line, read alone, gives a command of the same kind and name.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/common.h"
#include "host/script.h"

namespace {

int LineCount(std::string_view script) {
  int lines = 0;
  for (std::size_t start = 0; start < script.size(); ++lines) {
    const std::size_t end = script.find('\n', start);
    start = end == std::string_view::npos ? script.size() : end + 1;
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view script(reinterpret_cast<const char*>(data), size);
  std::vector<host::ScriptCommand> commands;
  try {
    commands = host::ParseScript(script);
  } catch (const host::ScriptInputError& error) {
    qorfuzz::Check(error.line >= 1 && error.line <= LineCount(script), "a refusal names no line of the script",
                   "line " + std::to_string(error.line));
    qorfuzz::Check(error.what()[0] != '\0', "a refusal says nothing");
    return 0;
  }
  int previousLine = 0;
  for (const host::ScriptCommand& command : commands) {
    qorfuzz::Check(command.line > previousLine && command.line <= LineCount(script), "commands are out of line order");
    previousLine = command.line;
    qorfuzz::Check(command.written.find('\n') == std::string::npos, "a command spans lines");
    host::NeedsPane(command);
    std::vector<host::ScriptCommand> again;
    try {
      // The written line lost its line end, and with it one CR: give it back.
      again = host::ParseScript(command.written + "\r\n");
    } catch (const host::ScriptInputError&) {
      qorfuzz::Fail("a command that parsed in its script is refused alone", qorfuzz::Escaped(command.written));
    }
    qorfuzz::Check(again.size() == 1 && again[0].kind == command.kind && again[0].name == command.name &&
                       again[0].text == command.text && again[0].position == command.position &&
                       again[0].first == command.first && again[0].path == command.path,
                   "a command reads differently alone", qorfuzz::Escaped(command.written));
  }
  return 0;
}
