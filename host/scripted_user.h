// The scripted user: a person who knows this add-in and answers its message boxes and dialogs with
// the actions a script queued, first in first out. It decides which answer fits which box or
// dialog and how each dialog is played; a driver shows it what is on the screen and works the
// controls: the simulated desktop's (platform/sim/desktop/) or real windows (host/win32/).
#pragma once
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "platform/desktop.h"

namespace scripted {

using desktop::UserAction;

// The add-in's dialogs, known by their templates.
inline constexpr int kSearchDialog = 132;
inline constexpr int kIdSelectDialog = 137;

// The button ids of boxes and dialogs.
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kYes = 6;
inline constexpr int kNo = 7;

// A dialog's controls, as the driver works them. Counts are -1 when the dialog has no such control.
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

// What the user does at the end of a turn: press a button, or stop the script with a message.
struct Turn {
  int button = 0;
  std::string failure;  // empty when the action fit
};

class ScriptedUser {
 public:
  void Queue(UserAction action) { actions_.push_back(std::move(action)); }
  bool HasActions() const { return !actions_.empty(); }
  std::vector<std::string> Unused() const;  // descriptions, in queue order
  void Clear() { actions_.clear(); }

  // A message box showing `buttons` (button ids, any order) and `text`.
  Turn AnswerMessageBox(const std::vector<int>& buttons, const std::string& text);
  // A dialog from the template `templateId` with its caption: sets the controls, names the button.
  Turn PlayDialog(int templateId, const std::string& caption, DialogControls& controls);
  // The save-file dialog: the path the user types (as written: the driver makes it full), or
  // Cancel.
  Turn ChooseSaveFile(std::string& path);

 private:
  std::deque<UserAction> actions_;
};

// The script's words for an action, or a made-up description.
std::string Describe(const UserAction& action);
// "OK", "OKCANCEL", "YESNO", "YESNOCANCEL" for the sets a message box can show, else "OTHER".
std::string ButtonSetName(const std::vector<int>& buttons);

}  // namespace scripted
