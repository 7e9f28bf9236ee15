// A value of QOR's ID registry (QOR.INI, section ID): "ID,name,". Read by the ID registration
// and, to tell which values it wrote, by the front end's register command.
#pragma once
#include <string>

#include "base/addin_state.h"

namespace qor {

// The first field and the second of a registry value (runs of commas are one separator, leading
// commas are skipped); the name is empty when there is no second field.
IdEntry SplitRegistryValue(const std::string& value);

}  // namespace qor
