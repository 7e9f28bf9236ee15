// The add-in module's own file, and the platform's path conventions.
#pragma once
#include <string>

namespace platform {

// The full path of the add-in module (not the host's) as a code page 932 system gives it: a
// character the code page lacks becomes what the system makes of it (a look-alike or '?').
std::string ModulePath();
extern const char kPathSeparator;    // '\\' on Windows, '/' on the simulated desktop

// The module's path split at its last separator, in code page 932. The split is made where no
// separator can be the second byte of a double-byte character (in UTF-16 on Windows, in UTF-8 on
// the simulated desktop), whatever the system's code page, and on the whole path, however long.
struct ModuleFile {
  std::string directory;  // up to and including the last separator; empty when there is none
  std::string name;       // the file's name
};
ModuleFile ThisModuleFile();

}  // namespace platform
