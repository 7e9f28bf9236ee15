// The texts of `mailzolka --help` and of each command's --help.
#pragma once
#include <string>

namespace cli {

extern const char kUsage[];
extern const char kShortUsage[];
// A command's own help; null for no such command.
const char* CommandHelp(const std::string& command);

}  // namespace cli
