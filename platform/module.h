// The add-in module's own file, and the platform's path conventions.
#pragma once
#include <string>

namespace platform {

std::string ModulePath();            // full path of the add-in module (not the host's)
extern const char kPathSeparator;    // '\\' on Windows, '/' on the simulated desktop

}  // namespace platform
