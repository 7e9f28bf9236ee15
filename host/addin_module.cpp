#include "host/addin_module.h"

#include <dlfcn.h>

#include <filesystem>
#include <stdexcept>

namespace host {

// Opened by its full path, as the real host does: the add-in finds its own directory from it, and
// a bare name is not looked for along the library path. The module stays loaded until the process
// ends: the desktop keeps window procedures and items that point into its code.
AddinModule::AddinModule(const std::string& path) {
  std::error_code error;
  std::string fullPath = std::filesystem::absolute(path, error).lexically_normal().string();
  if (error) fullPath = path;
  void* module = dlopen(fullPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!module) throw std::runtime_error("cannot load add-in module: " + std::string(dlerror()));
  void* entry = dlsym(module, qor::kEntryPointName);
  if (!entry) {
    dlclose(module);
    throw std::runtime_error("add-in module " + path + " does not export " +
                             qor::kEntryPointName);
  }
  entry_ = reinterpret_cast<qor::GiveAddinInterfaceFunction>(entry);
}

std::string DefaultAddinPath() {
  std::error_code error;
  std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return "QORMAIL.so";
  return (program.parent_path() / "QORMAIL.so").string();
}

}  // namespace host
