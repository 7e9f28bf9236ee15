// The simulated desktop's calls for the platform seam (platform_sim): what user32 and comctl32 are
// to the Windows seam. Hosts use desktop.h only.
//
// Every call on a handle that names no live object of the right kind does nothing and returns
// 0, false, null or empty. Calls that play the scripted user throw ScriptError from inside the
// desktop library, so the exception's type information is the desktop's own.
#pragma once
#include <cstdint>
#include <string>

#include "platform/dialog_template.h"
#include "platform/sim/desktop.h"
#include "platform/windows_codes.h"

namespace simdesk::seam {

// ---- Windows (any kind: host windows, trees, dialogs, controls)
bool GetWindowRect(Handle window, Rect& rect);  // outer rectangle, screen coordinates
bool GetClientRect(Handle window, Rect& rect);  // left = top = 0
bool ClientToScreen(Handle window, int32_t& x, int32_t& y);
// x, y in the parent's client coordinates (screen coordinates for a top-level window).
bool MoveWindow(Handle window, int32_t x, int32_t y, int32_t width, int32_t height);
void ShowWindow(Handle window);
bool IsWindowVisible(Handle window);

// ---- The tree control
// It notifies its parent with WM_NOTIFY and the ANSI TVN_ codes of platform/windows_codes.h.

// What WM_NOTIFY's second parameter points to while the parent's procedure runs (the fields of
// NMTREEVIEW that the simulation keeps). `action` is the expand action of the expand
// notifications and the cause of the selection notifications.
struct TreeNotify {
  Handle from = nullptr;  // the tree window
  int code = 0;
  unsigned action = 0;
  Handle itemOld = nullptr;
  Handle itemNew = nullptr;
  int32_t paramOld = 0;
  int32_t paramNew = 0;
};

// An item to insert as the last child of its parent; images and children flag only when given.
struct NewTreeItem {
  std::string text;  // code page 932
  int32_t param = 0;
  bool withImages = false;
  int image = 0;
  int selectedImage = 0;
  bool withChildren = false;
  int children = 0;
};

enum class TreeRelation { Root, Child, Next, NextVisible, Caret };

Handle CreateTree(Handle parent);  // child of parent, which receives its notifications
void TreeSetImageList(Handle tree, Handle images);
Handle TreeInsertLast(Handle tree, Handle parent, const NewTreeItem& item);  // parent null: top level
bool TreeDeleteItem(Handle tree, Handle item);                               // item null: every item
bool TreeExpand(Handle tree, Handle item, unsigned action);
bool TreeSelectItem(Handle tree, Handle item);  // caret selection; null selects none
Handle TreeGetNextItem(Handle tree, Handle item, TreeRelation relation);
std::string TreeGetItemText(Handle tree, Handle item);
int32_t TreeGetItemParam(Handle tree, Handle item);
int TreeGetItemChildren(Handle tree, Handle item);
bool TreeSetItemChildren(Handle tree, Handle item, int children);

// ---- Dialogs built from the module's templates
Handle CreateDialogFromTemplate(const platform::DialogTemplate& dialogTemplate);  // emits "Dialog"
Handle DialogItem(Handle dialog, int controlId);                             // null for id -1 and unknown ids
void EndDialog(Handle dialog, int result);
bool DialogEnded(Handle dialog, int& result);
// The scripted user's turn in a modal dialog: takes the next queued action, applies it to the
// controls and returns the id of the button it pressed (1 or 2).
int PlayScriptedUser(Handle dialog);
[[noreturn]] void FailScript(const std::string& message);  // throws ScriptError

// ---- Controls
void ComboAddString(Handle combo, const std::string& text);
std::string ComboGetText(Handle combo);
int ComboGetCurSel(Handle combo);
void ListAddString(Handle list, const std::string& text);
int ListGetCount(Handle list);
void ListSelectAll(Handle list);
bool ListIsSelected(Handle list, int row);
void ProgressSetRange(Handle bar, int32_t lower, int32_t upper);
void ProgressSetPos(Handle bar, int32_t position);
// The classic bar's fill: the client area less a one-pixel frame, in blocks two thirds of its
// height wide with a 2-pixel gap. Length 0 for no bar.
struct ProgressGeometry {
  int32_t length = 0;
  int32_t chunk = 1;
};
ProgressGeometry ProgressFill(Handle bar);

// ---- Menus and image lists
Handle CreatePopupMenu();
void MenuAppendItem(Handle menu, int id, const std::string& text);
void MenuAppendSeparator(Handle menu);
void MenuCheck(Handle menu, int id, bool checked);
void MenuEnable(Handle menu, int id, bool enabled);
void DestroyMenu(Handle menu);
Handle CreateImageList(int width, int height, int initial, int grow);
int ImageListAdd(Handle images);  // index of the new image, -1 for no image list
void DestroyImageList(Handle images);

// ---- Message boxes and the save-file dialog, answered by the scripted user
enum class BoxButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class BoxIcon { None, Exclamation, Question };
int MessageBox(const std::string& caption, const std::string& text, BoxButtons buttons,
               BoxIcon icon);  // the button pressed: 1, 2, 6 or 7
bool AskSaveFile(std::string& path);

// ---- Files, as the Windows seam handles them with kernel32
// The descriptor of an existing regular file opened for reading (links followed), or -1. A name
// that is no regular file (directory, FIFO, device, socket) is refused without being opened for
// reading, so the call never blocks.
int OpenRegularFile(const std::string& path);

// A file's new content, written into a temporary file beside the file and put in its place only
// when complete, so a failure leaves the old file as it was. A link is followed: the file it names
// is replaced, the link stays. The temporary file is created exclusively, with a name nobody can
// predict, never through a link. The file keeps its mode and owner (as far as the process may set
// them); a file with several hard links is written in place instead, so its links keep sharing it.
class FileReplacement {
 public:
  FileReplacement() = default;
  ~FileReplacement();  // without Commit, the temporary file is removed
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // False when the target is there but no regular file, is a link to nothing, or no temporary
  // file can be made beside it.
  bool Begin(const std::string& target);
  bool Write(const void* bytes, std::size_t count);
  bool Commit();

 private:
  bool CopyInPlace();
  std::string target_;     // the file itself, links resolved
  std::string temporary_;  // empty when there is none
  int fd_ = -1;
};

// Replaces the whole content of `path` through a FileReplacement.
bool ReplaceFileContent(const std::string& path, const std::string& content);

// The lock that one program holds while it reads, changes and writes a profile file, so that two
// programs never interleave their changes. The lock is on the directory that holds the file (a
// link followed), so it leaves no file behind. -1 when it could not be had within `seconds`.
int LockProfile(const char* file, int seconds);
void UnlockProfile(int lock);

}  // namespace simdesk::seam
