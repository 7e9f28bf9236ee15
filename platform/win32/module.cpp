// The add-in module's own file and its code page conversion.
#include "platform/module.h"

#include "platform/win32/seams.h"
#include "platform/win32/text.h"
#include "platform/win32/win32.h"

namespace platform {

const char kPathSeparator = '\\';

namespace win32 {

HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}

void InitControls() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_PROGRESS_CLASS};
    return InitCommonControlsEx(&controls) != FALSE;
  }();
  (void)done;
}

}  // namespace win32

namespace {

// The full path of QORMAIL.DLL, not of the host program, in UTF-16: the system's own spelling.
std::wstring WideModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(win32::ThisModule(), path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace

std::string ModulePath() { return win32::FromWide(WideModulePath()); }

ModuleFile win32::SplitModulePath(std::wstring_view path) {
  const std::size_t separator = path.find_last_of(L'\\');
  if (separator == std::wstring_view::npos) return {std::string(), FromWide(path)};
  return {FromWide(path.substr(0, separator + 1)), FromWide(path.substr(separator + 1))};
}

ModuleFile ThisModuleFile() { return win32::SplitModulePath(WideModulePath()); }

}  // namespace platform
