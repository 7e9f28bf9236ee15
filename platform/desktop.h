// The desktop as a host sees it: windows with a procedure, reading and clicking the tree, reading
// the menu, the scripted user's answers, the event sink and the profile directory. Two
// implementations: the simulated desktop on Linux (platform/sim/desktop/, one shared library used
// by the add-in through the seam and by the substitute host through these functions, the way both
// share the operating system on Windows), and the Windows test host over the real controls
// (host/win32/desktop.cpp). The add-in never includes this header.
#pragma once
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

// ---- The scripted user: one queue, first in first out, for message boxes and dialogs alike.
struct UserAction {
  enum class Kind {
    Answer,        // message box: answer is 1 OK, 2 Cancel, 6 Yes, 7 No
    Search,        // search dialog: type text (may be empty), press the search button
    SearchPick,    // search dialog: pick history entry `index`, press the search button
    SearchCancel,  // search dialog: cancel
    IdSelect,      // ID selection dialog: keep `rows` selected and press OK; or cancel
    SaveFile,      // save-file dialog: choose `text` as the path; or cancel
    Close,         // a plain dialog (About box): press OK (answer 1) or Cancel (answer 2)
  };
  Kind kind = Kind::Answer;
  int answer = 0;
  int index = 0;
  std::string text;        // code page 932
  bool cancel = false;     // IdSelect, SaveFile
  bool allRows = false;    // IdSelect: every row stays selected
  std::vector<int> rows;   // IdSelect: the rows that stay selected (none when empty and !allRows)
  std::string description; // how the script wrote it, for error messages
};
void QueueUserAction(UserAction action);
std::vector<std::string> UnusedUserActions();  // descriptions, in queue order
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

// Forget every window, menu, queued action and the event sink (tests start afresh).
void Reset();

}  // namespace desktop
