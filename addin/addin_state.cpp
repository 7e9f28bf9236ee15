#include "addin/addin_state.h"

#include "addin/sjis.h"
#include "platform/module.h"

namespace qor {

AddinState state;

int Image(ImageSlot slot) { return state.imageIndexes[slot]; }

std::string ModuleBaseName() {
  const std::string path = platform::ModulePath();
  const std::size_t separator = FindLastCharacter(path, platform::kPathSeparator);
  std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
  const std::size_t dot = FindLastCharacter(name, '.');
  if (dot != std::string::npos) name.resize(dot);
  return name;
}

std::string ProfileName() { return ModuleBaseName() + ".INI"; }

}  // namespace qor
