// The split of the module's path on the simulated desktop, where the tests reach it.
#pragma once
#include <string_view>

#include "platform/module.h"

namespace platform::sim {

ModuleFile SplitModulePath(std::string_view utf8);  // at the last '/', then to code page 932

}  // namespace platform::sim
