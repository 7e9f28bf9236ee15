// The profile directory on real Windows. A bare profile file name means a file in the Windows
// directory; the test host keeps each session's profiles in a directory of its own instead, as the
// simulated desktop does, so the add-in's profile calls are pointed there: its import table's
// entries for the three profile functions are replaced by ones that put the profile directory in
// front of a bare name. The real functions still do all the reading and writing.
#include <cstdlib>
#include <cstring>
#include <utility>

#include "host/win32/windows_api.h"

namespace korvik {
namespace {

UINT WINAPI ProfileIntInDirectory(LPCWSTR section, LPCWSTR key, INT fallback, LPCWSTR file) {
  return GetPrivateProfileIntW(section, key, fallback, ResolveProfileFileWide(file).c_str());
}

DWORD WINAPI ProfileStringInDirectory(LPCWSTR section, LPCWSTR key, LPCWSTR fallback, LPWSTR buffer, DWORD size,
                                      LPCWSTR file) {
  return GetPrivateProfileStringW(section, key, fallback, buffer, size, ResolveProfileFileWide(file).c_str());
}

BOOL WINAPI WriteProfileStringInDirectory(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR file) {
  return WritePrivateProfileStringW(section, key, value, ResolveProfileFileWide(file).c_str());
}

struct Redirection {
  const char* name;
  FARPROC replacement;
};

template <typename Function>
FARPROC AsFarProc(Function function) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(function));
}

}  // namespace

bool RealProfiles() {
  static const bool real = [] {
    const char* value = std::getenv("KORVIK_REAL_PROFILES");
    return value && *value && std::strcmp(value, "0") != 0;
  }();
  return real;
}

namespace {

// The profile files the add-in (under the module name QORMAIL) and its companion use.
constexpr const char* kProfileFiles[] = {"QORMAIL.INI", "QOR.INI"};

std::string& MovedFrom() {
  static std::string directory;
  return directory;
}

std::string WindowsDirectory() {
  char directory[MAX_PATH * 4] = "";
  const UINT length = GetWindowsDirectoryA(directory, sizeof directory);
  return length > 0 && length < sizeof directory ? directory : "C:\\windows";
}

// The file at `to` becomes a copy of the one at `from` (attributes included), or goes when there
// is none.
void Transfer(const std::string& from, const std::string& to) {
  SetFileAttributesA(to.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(to.c_str());
  if (GetFileAttributesA(from.c_str()) != INVALID_FILE_ATTRIBUTES) CopyFileA(from.c_str(), to.c_str(), FALSE);
}

}  // namespace

void MoveProfilesIn(const std::string& directory) {
  ReturnProfiles();
  MovedFrom() = directory;
  for (const char* name : kProfileFiles) Transfer(directory + "\\" + name, WindowsDirectory() + "\\" + name);
}

void ReturnProfiles() {
  const std::string directory = std::exchange(MovedFrom(), std::string());
  if (directory.empty()) return;
  const bool stillThere = GetFileAttributesA(directory.c_str()) != INVALID_FILE_ATTRIBUTES;
  for (const char* name : kProfileFiles) {
    const std::string inWindows = WindowsDirectory() + "\\" + name;
    if (stillThere) Transfer(inWindows, directory + "\\" + name);
    SetFileAttributesA(inWindows.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(inWindows.c_str());
  }
}

std::string ResolveProfileFile(const char* file) {
  const std::string name = file ? file : "";
  if (RealProfiles()) return name;
  const std::string directory = desktop::ProfileDirectoryOf(name);
  if (directory.empty() || name.find_first_of("\\/:") != std::string::npos) return name;
  return directory + "\\" + name;
}

// The profile directory is the host's own, in the system's ANSI code page like the rest of its
// command line; the file name is the add-in's, in UTF-16.
std::wstring ResolveProfileFileWide(const wchar_t* file) {
  const std::wstring name = file ? file : L"";
  const std::string cp932 = FromWide(name);
  const std::string resolved = ResolveProfileFile(cp932.c_str());
  if (resolved == cp932) return name;
  const std::string directory = resolved.substr(0, resolved.size() - cp932.size());
  return ToWide(directory, CP_ACP) + name;
}

void RedirectProfileCalls(HMODULE module) {
  const Redirection redirections[] = {
      {"GetPrivateProfileIntW", AsFarProc(&ProfileIntInDirectory)},
      {"GetPrivateProfileStringW", AsFarProc(&ProfileStringInDirectory)},
      {"WritePrivateProfileStringW", AsFarProc(&WriteProfileStringInDirectory)},
  };
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  FARPROC originals[3] = {};
  for (int i = 0; i < 3; ++i) originals[i] = GetProcAddress(kernel, redirections[i].name);

  auto* base = reinterpret_cast<unsigned char*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.VirtualAddress == 0) return;
  for (auto* library = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       library->Name != 0; ++library) {
    for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk); slot->u1.Function != 0;
         ++slot) {
      for (int i = 0; i < 3; ++i) {
        if (!originals[i] || slot->u1.Function != reinterpret_cast<ULONG_PTR>(originals[i])) continue;
        DWORD protection = 0;
        VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &protection);
        slot->u1.Function = reinterpret_cast<ULONG_PTR>(redirections[i].replacement);
        VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, protection, &protection);
      }
    }
  }
}

}  // namespace korvik
