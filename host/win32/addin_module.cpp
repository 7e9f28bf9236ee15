// The add-in module on Windows, loaded as the real host loads it: LoadLibrary with its full path,
// then GetProcAddress for GiveAddinInterface. The test host then learns the module's dialog
// templates and points its profile calls at the session's profile directory.
#include "host/addin_module.h"

#include <cstdlib>
#include <stdexcept>

#include "host/cp932_text.h"
#include "host/win32/windows_api.h"

namespace host {
namespace {

// The system's text for the last error, as UTF-8 like every message of the front end (the system
// writes it in its ANSI code page).
std::string LastErrorText() {
  const DWORD error = GetLastError();
  char* text = nullptr;
  FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, error, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
  std::string message = text ? text : "error " + std::to_string(error);
  LocalFree(text);
  message = AnsiToUtf8(message);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
    message.pop_back();
  }
  return message;
}

// KORVIK_PRELOAD=DLL: a module loaded before the add-in, as another add-in or a hook in a real
// host would be (for example libgcc_s_dw2-1.dll, which changes where a 32-bit MinGW module's
// unwind tables are registered).
void LoadPreloadedModule() {
  const char* name = std::getenv("KORVIK_PRELOAD");
  if (!name || !*name) return;
  if (!LoadLibraryA(name)) {
    throw std::runtime_error(std::string("cannot load the module KORVIK_PRELOAD names: ") + name + ": " + LastErrorText());
  }
}

}  // namespace

// The module stays loaded until the process ends, as on the simulated desktop.
AddinModule::AddinModule(const std::string& path) {
  LoadPreloadedModule();
  char full[MAX_PATH * 4] = "";
  const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  const std::string fullPath = length > 0 && length < sizeof full ? full : path;
  HMODULE module = LoadLibraryA(fullPath.c_str());
  if (!module) throw std::runtime_error("cannot load add-in module: " + AnsiToUtf8(fullPath) + ": " + LastErrorText());
  FARPROC entry = GetProcAddress(module, qor::kEntryPointName);
  if (!entry) {
    FreeLibrary(module);
    throw std::runtime_error("add-in module " + AnsiToUtf8(path) + " does not export " + qor::kEntryPointName);
  }
  entry_ = reinterpret_cast<qor::GiveAddinInterfaceFunction>(reinterpret_cast<void*>(entry));
  korvik::SetAddinModule(module);
  if (!korvik::RealProfiles()) korvik::RedirectProfileCalls(module);
}

// QORMAIL.DLL beside the running program.
std::string DefaultAddinPath() {
  char program[MAX_PATH * 4] = "";
  const DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
  std::string path(program, length);
  const size_t separator = path.find_last_of("\\/");
  return (separator == std::string::npos ? std::string() : path.substr(0, separator + 1)) + "QORMAIL.DLL";
}

}  // namespace host
