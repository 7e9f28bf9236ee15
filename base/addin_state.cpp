#include "base/addin_state.h"

#include "base/sjis.h"
#include "platform/module.h"

namespace qor {

AddinState state;

int Image(ImageSlot slot) { return state.imageIndexes[slot]; }

// The module keeps the name it was loaded under: it is found once, not on every settings write
// (finding it resolves the module's path on the file system).
std::string ModuleBaseName() {
  static const std::string name = [] {
    std::string base = platform::ThisModuleFile().name;
    const std::size_t dot = FindLastCharacter(base, '.');
    if (dot != std::string::npos) base.resize(dot);
    return base;
  }();
  return name;
}

std::string ProfileName() { return ModuleBaseName() + ".INI"; }

platform::Answer ShowBox(const std::string& text, platform::Buttons buttons, platform::Icon icon) {
  return platform::ShowMessageBox(ModuleBaseName().c_str(), text.c_str(), buttons, icon);
}

}  // namespace qor
