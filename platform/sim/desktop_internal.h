// What the simulated desktop offers beyond the seam headers (platform/*.h, which it implements the
// way user32, comctl32 and kernel32 implement them on Windows): the dialog calls the module's own
// seam code makes with the templates it holds, the tree's notification record, and the files the
// desktop itself reads and writes. Hosts use desktop.h only.
//
// Every call on a handle that names no live object of the right kind does nothing and returns
// 0, false, null or empty. Calls that hand a box or dialog to the user throw ScriptError from inside the
// desktop library, so the exception's type information is the desktop's own.
#pragma once
#include <sys/stat.h>

#include <cstdint>
#include <string>

#include "platform/dialog_template.h"
#include "platform/desktop.h"
#include "platform/windows_codes.h"

namespace desktop::seam {

void ShowWindow(Handle window);  // shown without activation: the focus stays where it is
bool IsWindowVisible(Handle window);

// A modal window (dialog, message box, save-file dialog) takes the focus while it is up; once it
// has gone, the focus goes back to the window that had it, and a tree that takes it back with no
// item selected selects its first one.
class ModalFocus {
 public:
  ModalFocus();
  ~ModalFocus();
  ModalFocus(const ModalFocus&) = delete;
  ModalFocus& operator=(const ModalFocus&) = delete;

 private:
  Handle previous_;
};

// What WM_NOTIFY's second parameter points to while the tree's parent's procedure runs (the fields
// of NMTREEVIEW that the simulation keeps). `action` is the expand action of the expand
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

enum class TreeRelation { Root, Child, Next, NextVisible, Caret };
bool TreeRedraws(Handle tree);  // false while the add-in has turned the tree's redraw off

// ---- Dialogs from the templates the module hands over
Handle CreateDialogFromTemplate(const platform::DialogTemplate& dialogTemplate);  // emits "Dialog"
Handle DialogItem(Handle dialog, int controlId);  // null for id -1 and unknown ids
void EndDialog(Handle dialog, int result);
bool DialogEnded(Handle dialog, int& result);
// The modal loop: the user the host seated works the controls and presses a button, whose id (1 or
// 2) this returns.
int HandToUser(Handle dialog);
[[noreturn]] void FailScript(const std::string& message);  // throws ScriptError

// ---- Files, as the Windows seam handles them with kernel32
// The descriptor of an existing regular file opened for reading (links followed), or -1. A name
// that is no regular file (directory, FIFO, device, socket) is refused without being opened for
// reading, so the call never blocks. `opened`, when given, receives what the open file is.
int OpenRegularFile(const std::string& path, struct stat* opened = nullptr);
// Replaces the whole content of `path` through a platform::FileReplacement.
bool ReplaceFileContent(const std::string& path, const std::string& content);

}  // namespace desktop::seam
