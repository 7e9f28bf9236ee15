// The desktop's state on real windows: events, the user at the screen, the profile functions,
// the host's windows and the menu as the host shows it.
#include <algorithm>
#include <map>
#include <utility>

#include "host/win32/dialog_resources.h"
#include "host/win32/windows_api.h"
#include "platform/profile_places.h"

namespace korvik {
namespace {

struct Desktop {
  desktop::EventSink sink;
  desktop::User* user = nullptr;  // seated by the host (desktop::SetUser)
  desktop::ProfilePlaces profiles;
  std::optional<std::string> failure;
  HMODULE addin = nullptr;
  std::map<std::string, int> templates;  // caption -> template id
};

Desktop& TheDesktop() {
  static Desktop desktop;
  return desktop;
}

}  // namespace

void Emit(const std::vector<std::string>& fields) {
  const desktop::EventSink sink = TheDesktop().sink;  // a copy: the sink may replace itself
  if (sink && !HasFailed()) sink(fields);
}

desktop::User& User() { return TheDesktop().user ? *TheDesktop().user : scripted::TheScriptedUser(); }

void Fail(const std::string& message) {
  if (!TheDesktop().failure) TheDesktop().failure = message;
}

bool HasFailed() { return TheDesktop().failure.has_value(); }

void SetAddinModule(HMODULE module) {
  TheDesktop().addin = module;
  TheDesktop().templates.clear();
  for (const DialogResource& dialog : ReadDialogResources(module)) {
    TheDesktop().templates.emplace(dialog.caption, dialog.id);
  }
}

HMODULE AddinModule() { return TheDesktop().addin; }

void ForgetAddinModule() {
  TheDesktop().addin = nullptr;
  TheDesktop().templates.clear();
}

int TemplateIdOf(const std::string& caption) {
  const auto found = TheDesktop().templates.find(caption);
  return found == TheDesktop().templates.end() ? -1 : found->second;
}

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return FromWide(text);
}

std::string ClassName(HWND window) {
  char name[256] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

}  // namespace korvik

namespace desktop {

// A session reports events: from then on the scripted user watches the dialogs that open.
void SetEventSink(EventSink sink) {
  if (sink) korvik::InstallScriptedUser();
  korvik::TheDesktop().sink = std::move(sink);
}

void SetUser(User* user) { korvik::TheDesktop().user = user; }

void ThrowPendingScriptError() {
  std::optional<std::string> failure = std::exchange(korvik::TheDesktop().failure, std::nullopt);
  if (failure) throw ScriptError(*failure);
  if (const std::string moved = korvik::CurrentDirectoryMoved(); !moved.empty()) throw ScriptError(moved);
  if (const std::string fault = korvik::HostWindowFault(); !fault.empty()) throw ScriptError(fault);
}

namespace {

// A relative directory is made absolute now: the save-file dialog may change the current one.
std::string FullPath(const std::string& directory) {
  char full[MAX_PATH * 4] = "";
  const DWORD length = GetFullPathNameA(directory.c_str(), sizeof full, full, nullptr);
  return length > 0 && length < sizeof full ? full : directory;
}

}  // namespace

void SetProfileDirectory(const std::string& directory) {
  korvik::TheDesktop().profiles.SetDirectory(FullPath(directory));
  if (korvik::RealProfiles()) korvik::MoveProfilesIn(ProfileDirectory());
}

std::string ProfileDirectory() { return korvik::TheDesktop().profiles.Directory(); }

void SetProfileFileDirectory(const std::string& file, const std::string& directory) {
  korvik::TheDesktop().profiles.SetFileDirectory(file, directory.empty() ? directory : FullPath(directory));
}

const std::string& ProfileDirectoryOf(const std::string& file) { return korvik::TheDesktop().profiles.DirectoryOf(file); }

// Through the Unicode functions with code page 932 named, as the add-in reads and writes them, so
// that both see the same text on a system of any ANSI code page.
namespace {

std::optional<std::wstring> WideArgument(const char* text) {
  return text ? std::optional<std::wstring>(korvik::ToWide(text)) : std::nullopt;
}

const wchar_t* Pointer(const std::optional<std::wstring>& text) { return text ? text->c_str() : nullptr; }

}  // namespace

int GetPrivateProfileInt(const char* section, const char* key, int fallback, const char* file) {
  return static_cast<int>(GetPrivateProfileIntW(Pointer(WideArgument(section)), Pointer(WideArgument(key)), fallback,
                                                korvik::ResolveProfileFileWide(Pointer(WideArgument(file))).c_str()));
}

std::size_t GetPrivateProfileString(const char* section, const char* key, const char* fallback, char* buffer,
                                    std::size_t size, const char* file) {
  if (!buffer || size == 0) return 0;
  std::wstring wide(size, L'\0');
  const DWORD units = GetPrivateProfileStringW(Pointer(WideArgument(section)), Pointer(WideArgument(key)),
                                               Pointer(WideArgument(fallback)), wide.data(), static_cast<DWORD>(size),
                                               korvik::ResolveProfileFileWide(Pointer(WideArgument(file))).c_str());
  const std::string text = korvik::FromWide(wide.substr(0, units));
  const std::size_t copied = std::min(text.size(), size - 1);
  text.copy(buffer, copied);
  buffer[copied] = '\0';
  return copied;
}

bool WritePrivateProfileString(const char* section, const char* key, const char* value, const char* file) {
  return WritePrivateProfileStringW(Pointer(WideArgument(section)), Pointer(WideArgument(key)),
                                    Pointer(WideArgument(value)),
                                    korvik::ResolveProfileFileWide(Pointer(WideArgument(file))).c_str()) != FALSE;
}

std::vector<MenuRow> ReadMenu(Handle menu) {
  std::vector<MenuRow> rows;
  const HMENU handle = static_cast<HMENU>(menu);
  const int count = GetMenuItemCount(handle);
  for (int i = 0; i < count; ++i) {
    wchar_t text[512] = L"";
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_STRING;
    item.dwTypeData = text;
    item.cch = sizeof text / sizeof text[0];
    if (!GetMenuItemInfoW(handle, static_cast<UINT>(i), TRUE, &item)) continue;
    MenuRow row;
    row.separator = (item.fType & MFT_SEPARATOR) != 0;
    row.id = row.separator ? 0 : static_cast<int>(item.wID);
    row.checked = (item.fState & MFS_CHECKED) != 0;
    row.enabled = (item.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
    row.text = row.separator ? "" : korvik::FromWide(text);
    rows.push_back(row);
  }
  return rows;
}

void Reset() {
  korvik::TheDesktop().user = nullptr;
  korvik::TheDesktop().sink = nullptr;
  korvik::TheDesktop().failure.reset();
}

}  // namespace desktop
