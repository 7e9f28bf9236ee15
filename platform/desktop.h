// The desktop as a host sees it: windows with a procedure, reading and clicking the tree, reading
// the menu, the user at the screen, the event sink and the profile directory. Two
// implementations: the simulated desktop on Linux (platform/sim/desktop/, one shared library used
// by the add-in through the seam and by the substitute host through these functions, the way both
// share the operating system on Windows), and the Windows test host over the real controls
// (host/win32/desktop.cpp). The add-in never includes this header.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace desktop {

using Handle = void*;

using Rect = platform::Rect;

// A script asked for something the desktop cannot do (no queued answer, an answer of the wrong
// kind, an answer the box has no button for). The session stops with this message.
struct ScriptError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// ---- Events. Fields are code page 932 bytes, the event's name first:
//   {"MessageBox", caption, "OK"|"OKCANCEL"|"YESNO"|"YESNOCANCEL", "EXCLAMATION"|"QUESTION"|"NONE", text}
//   {"Dialog", template id, caption}          when a dialog from a template opens
//   {"Progress", upper, last}                 when a window with a progress bar closes
using EventSink = std::function<void(const std::vector<std::string>& fields)>;
void SetEventSink(EventSink sink);

// How often the last progress bar that closed was painted: the bar repaints at once whenever it is
// sent a position other than the one it holds, as the real one does. Its fill spans fillLength
// pixels when full, drawn in blocks of chunk pixels (a block and its gap).
struct ProgressPaints {
  int64_t repaints = 0;
  int32_t fillLength = 0;
  int32_t chunk = 1;
};
ProgressPaints LastProgressPaints();

// ---- The person at the screen. The desktop hands each message box, dialog and save-file dialog it
// shows to the user the host installs (SetUser; none until then, and none after Reset), and does
// what the user's turn says. Without a user at the screen a box stops the session.
// The button ids of boxes and dialogs.
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kYes = 6;
inline constexpr int kNo = 7;

// "OK", "OKCANCEL", "YESNO", "YESNOCANCEL" for the sets a message box can show (button ids, any
// order), else "OTHER": the name a MessageBox event gives them.
inline std::string ButtonSetName(std::vector<int> buttons) {
  std::sort(buttons.begin(), buttons.end());
  if (buttons == std::vector<int>{kOk}) return "OK";
  if (buttons == std::vector<int>{kOk, kCancel}) return "OKCANCEL";
  if (buttons == std::vector<int>{kYes, kNo}) return "YESNO";
  if (buttons == std::vector<int>{kCancel, kYes, kNo}) return "YESNOCANCEL";
  return "OTHER";
}

// A dialog's controls, as the user works them. Counts are -1 when the dialog has no such control.
class DialogControls {
 public:
  virtual ~DialogControls() = default;
  virtual int HistoryEntries() = 0;  // the search dialog's combo box
  virtual void TypeSearchText(const std::string& text) = 0;
  virtual void PickHistoryEntry(int index) = 0;
  virtual int ListRows() = 0;  // the ID selection dialog's list box
  // Exactly these rows selected afterwards (every row when `all`, plus `rows`).
  virtual void KeepRowsSelected(bool all, const std::vector<int>& rows) = 0;
};

// What the user does at the end of a turn: press a button, or stop the session with a message.
struct Turn {
  int button = 0;
  std::string failure;  // empty when the user could answer
};

class User {
 public:
  virtual ~User() = default;
  // A message box showing `buttons` (button ids, any order) and `text`.
  virtual Turn AnswerMessageBox(const std::vector<int>& buttons, const std::string& text) = 0;
  // A dialog from the template `templateId` with its caption: sets the controls, names the button.
  virtual Turn PlayDialog(int templateId, const std::string& caption, DialogControls& controls) = 0;
  // The save-file dialog: the path the user types (as written: the desktop makes it full), or
  // Cancel.
  virtual Turn ChooseSaveFile(std::string& path) = 0;
};
void SetUser(User* user);

// Throws the ScriptError that the scripted user raised while the add-in was running, if any, and
// forgets it. The add-in stops every exception at its boundary, so the error is held until the
// host's call is done (the simulated desktop also throws it at once, for code that calls it
// directly); until then no further events are reported.
void ThrowPendingScriptError();

// ---- Profiles: the directory that stands in for the Windows directory.
void SetProfileDirectory(const std::string& directory);
std::string ProfileDirectory();
// One profile file kept in a directory of its own (the name matched without regard to ASCII case);
// an empty directory puts it back. mailzolka register keeps the add-in's settings out of the
// user's profile directory this way.
void SetProfileFileDirectory(const std::string& file, const std::string& directory);
// Where a bare profile file name resolves: its own directory, or the profile directory (valid
// until the next change of either).
const std::string& ProfileDirectoryOf(const std::string& file);
// The profile functions as the desktop offers them to every program (the add-in reaches them
// through the seam's platform/profile.h, the host calls them directly). Bare file names resolve in
// the profile directory.
int GetPrivateProfileInt(const char* section, const char* key, int fallback, const char* file);
std::size_t GetPrivateProfileString(const char* section, const char* key, const char* fallback,
                                    char* buffer, std::size_t size, const char* file);
bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const char* file);

// ---- Windows. A window gets its messages through its procedure (may be empty).
using WindowProc = std::function<intptr_t(Handle window, unsigned message, uintptr_t first,
                                          intptr_t second)>;
// A top-level (parent null) or child window; rect in screen coordinates, client rect inset by
// `frame` on every side.
Handle CreateHostWindow(Handle parent, Rect rect, int32_t frame, WindowProc proc);
void DestroyWindow(Handle window);
bool IsWindow(Handle window);

// ---- The tree, as the host and the scripts see it.
struct TreeRow {
  int depth = 0;
  int32_t param = 0;
  int image = 0;
  int selectedImage = 0;
  bool children = false;  // children flag nonzero, or child items present
  bool expanded = false;
  bool selected = false;
  std::string text;       // code page 932
};
std::vector<TreeRow> DumpTree(Handle tree);  // display order, children of collapsed items included
Handle TreeItemAt(Handle tree, const std::vector<int>& path);  // null when the path names no item
void ClickItem(Handle tree, Handle item);         // the user clicks the item's label
void ClickExpandButton(Handle tree, Handle item); // the user clicks the expand button of an item

// ---- The popup menu, as the host shows it.
struct MenuRow {
  bool separator = false;
  int id = 0;
  bool checked = false;
  bool enabled = true;
  std::string text;  // code page 932
};
std::vector<MenuRow> ReadMenu(Handle menu);

// Forget every window, menu, the user and the event sink (tests start afresh).
void Reset();

}  // namespace desktop
