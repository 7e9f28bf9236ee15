// The add-in module's own file, and the platform's path conventions.
#pragma once
#include <string>

namespace platform {

std::string ModulePath();            // full path of the add-in module (not the host's)
extern const char kPathSeparator;    // '\\' on Windows, '/' on the simulated desktop
std::string WideToAnsi(const char16_t* text, std::size_t length);  // UTF-16 LE to code page 932

}  // namespace platform
