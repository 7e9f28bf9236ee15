// Profiles in memory and the tree item look-up for the fuzz targets (platform/sim/fuzz_hooks.h).
#include "platform/sim/fuzz_hooks.h"

#include "platform/sim/desktop/state.h"

namespace desktop {
namespace {

// Outside the Desktop state, so that Reset() keeps them.
bool keepInMemory = false;

}  // namespace

namespace detail {

std::map<std::string, std::string>* MemoryProfiles() { return keepInMemory ? &ProfilesInMemory() : nullptr; }

}  // namespace detail

void KeepProfilesInMemory(bool keep) { keepInMemory = keep; }

std::map<std::string, std::string>& ProfilesInMemory() {
  static std::map<std::string, std::string> files;
  return files;
}

bool IsTreeItem(Handle tree, Handle item) {
  const auto window = detail::FindWindow(tree, detail::WindowKind::Tree);
  return window && window->tree->Holds(item);
}

}  // namespace desktop
