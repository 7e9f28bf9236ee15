// The Windows headers for the test host, and what its files share. The host-facing desktop API
// (platform/desktop.h, namespace desktop) is implemented here on real windows: the same
// scripts, events and dumps as on the simulated desktop, read from and answered through real
// controls.
#pragma once
#include <windows.h>
#include <commctrl.h>

// Names of the desktop API that windows.h would turn into its own "A" functions.
#undef GetPrivateProfileInt
#undef GetPrivateProfileString
#undef WritePrivateProfileString

#include <optional>
#include <string>
#include <vector>

#include "host/scripted_user.h"
#include "platform/desktop.h"
#include "platform/win32/text.h"

namespace korvik {

// ---- The desktop's state (desktop.cpp)
// Reports an event to the sink, unless the script has failed: the session then stops where the
// simulated desktop stops, and what the add-in does while it winds down is not reported.
void Emit(const std::vector<std::string>& fields);
desktop::User& User();  // answers what the add-in shows (scripted_user.cpp drives it)
// A script error inside a modal loop: kept (the first one) until the host's command is done.
void Fail(const std::string& message);
bool HasFailed();

// The add-in module: its dialog templates name the dialogs it opens.
void SetAddinModule(HMODULE module);
HMODULE AddinModule();
void ForgetAddinModule();  // the module is being unloaded
int TemplateIdOf(const std::string& caption);  // -1 when no template of the module has it

// The class of the host's main window and its panes (host_windows.cpp).
inline constexpr char kHostWindowClass[] = "KorvikHostWindow";

// ---- Profiles (profile_redirect.cpp)
// A bare profile file name resolves in the profile directory, which stands in for the Windows
// directory; any other name is used as it is.
std::string ResolveProfileFile(const char* file);
std::wstring ResolveProfileFileWide(const wchar_t* file);  // the add-in's names, in UTF-16
// Points the module's imports of the profile functions at ResolveProfileFile.
void RedirectProfileCalls(HMODULE module);
// KORVIK_REAL_PROFILES=1: no redirection. The add-in's profile calls go where they go on a user's
// machine, the Windows directory; the session's profile files are moved there when the profile
// directory is set and moved back when the program ends (ReturnProfiles), one session at a time.
bool RealProfiles();
void MoveProfilesIn(const std::string& directory);
void ReturnProfiles();

// ---- The scripted user (scripted_user.cpp): watches top-level dialogs open and close, reports
// them and answers them through their controls.
void InstallScriptedUser();
// The add-in must leave the process's current directory alone: empty while it is where it was
// when the scripted user started, else what moved it where.
std::string CurrentDirectoryMoved();
std::string CurrentDirectory();
// With a person at the screen (korvik open): the queued answers are given, and what opens after
// they are used up is left to the person.
void LeaveTheRestToAPerson();
// Between two sessions of one process: the next session starts as in a fresh process.
void ForgetScriptedUser();
// The host's main window (the shown top-level window of the host's class), or null.
HWND HostMainWindow();
// The windows the scripted user answered and the progress windows that closed (template id of an
// add-in's window, else -1), with their place and owner, in order.
struct AnsweredWindow {
  int templateId = -1;
  RECT rect{};
  HWND owner = nullptr;
};
std::vector<AnsweredWindow>& AnsweredWindows();
bool& ModalClosedSinceCheck();
// Empty, or what is wrong with the host's window after a command: left disabled, or not in the
// foreground after a dialog or box of the add-in.
std::string HostWindowFault();

// ---- The add-in's windows, printed for a test (placement.cpp)
int WindowsCommand(int argc, char** argv);

// ---- Text
using platform::win32::FromWide;  // to code page 932, as the add-in converts
using platform::win32::ToWide;
std::string WindowText(HWND window);             // code page 932
std::string ClassName(HWND window);

}  // namespace korvik
