// The scripted user: a person who knows this add-in and answers its message boxes and dialogs with
// the actions a script queued, first in first out. It decides which answer fits which box or
// dialog and how each dialog is played. The hosts seat it at the desktop's screen
// (desktop::SetUser): the simulated desktop (platform/sim/desktop/) hands it each box and dialog
// with its controls, and so does korvik.exe's driver of real windows (host/win32/).
#pragma once
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "platform/desktop.h"
#include "res/dialog_templates.h"

namespace scripted {

// What the script asks the user to do: one queue, first in first out, for message boxes and
// dialogs alike.
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

using desktop::DialogControls;
using desktop::Turn;
using desktop::kCancel;
using desktop::kNo;
using desktop::kOk;
using desktop::kYes;

// The add-in's dialogs, known by their templates.
inline constexpr int kSearchDialog = res::kSubjectSearchTemplate;
inline constexpr int kIdSelectDialog = res::kIdSelectTemplate;

class ScriptedUser : public desktop::User {
 public:
  void Queue(UserAction action) { actions_.push_back(std::move(action)); }
  bool HasActions() const { return !actions_.empty(); }
  std::vector<std::string> Unused() const;  // descriptions, in queue order
  void Clear() { actions_.clear(); }

  Turn AnswerMessageBox(const std::vector<int>& buttons, const std::string& text) override;
  Turn PlayDialog(int templateId, const std::string& caption, DialogControls& controls) override;
  Turn ChooseSaveFile(std::string& path) override;

 private:
  std::deque<UserAction> actions_;
};

// The script's words for an action, or a made-up description.
std::string Describe(const UserAction& action);

// The process's one scripted user, whom the host seats at the desktop's screen.
ScriptedUser& TheScriptedUser();
// Seats the scripted user at the desktop's screen with an empty queue (after desktop::Reset).
void SeatScriptedUser();
inline void QueueUserAction(UserAction action) { TheScriptedUser().Queue(std::move(action)); }
inline std::vector<std::string> UnusedUserActions() { return TheScriptedUser().Unused(); }  // descriptions

}  // namespace scripted
