#include "host/scripted_user.h"

#include <algorithm>
#include <optional>

namespace scripted {
namespace {

using Kind = UserAction::Kind;

struct ButtonSet {
  const char* article;
  std::vector<int> buttons;  // ascending
};

const ButtonSet kButtonSets[] = {
    {"an", {kOk}},
    {"an", {kOk, kCancel}},
    {"a", {kYes, kNo}},
    {"a", {kCancel, kYes, kNo}},
};

const ButtonSet* ButtonSetOf(std::vector<int> buttons) {
  std::sort(buttons.begin(), buttons.end());
  for (const ButtonSet& set : kButtonSets) {
    if (set.buttons == buttons) return &set;
  }
  return nullptr;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

Turn Press(int button) { return {button, {}}; }
Turn Stop(std::string message) { return {0, std::move(message)}; }

std::optional<UserAction> Take(std::deque<UserAction>& actions) {
  if (actions.empty()) return std::nullopt;
  UserAction action = std::move(actions.front());
  actions.pop_front();
  return action;
}

std::string DialogName(int templateId, const std::string& caption) {
  return "dialog " + std::to_string(templateId) + " " + Quoted(caption);
}

Turn DoesNotFit(const std::string& dialog, const UserAction& action) {
  return Stop("queued action '" + Describe(action) + "' does not fit " + dialog);
}

// Search dialog: type a text, or pick a history entry, and press the search button; or cancel.
Turn PlaySearch(const std::string& dialog, const UserAction& action, DialogControls& controls) {
  const int entries = controls.HistoryEntries();
  if (entries < 0) return Stop(dialog + " has no combo box");
  switch (action.kind) {
    case Kind::Search: controls.TypeSearchText(action.text); return Press(kOk);
    case Kind::SearchPick:
      if (action.index < 0 || action.index >= entries) {
        return Stop("queued action '" + Describe(action) + "': " + dialog + " has " + std::to_string(entries) +
                    " history entries");
      }
      controls.PickHistoryEntry(action.index);
      return Press(kOk);
    case Kind::SearchCancel: return Press(kCancel);
    default: return DoesNotFit(dialog, action);
  }
}

// ID selection dialog: leave exactly the given rows selected and press OK; or cancel.
Turn PlayIdSelect(const std::string& dialog, const UserAction& action, DialogControls& controls) {
  if (action.kind != Kind::IdSelect) return DoesNotFit(dialog, action);
  if (action.cancel) return Press(kCancel);
  const int rows = controls.ListRows();
  if (rows < 0) return Stop(dialog + " has no list box");
  for (const int row : action.rows) {
    if (row < 0 || row >= rows) {
      return Stop("queued action '" + Describe(action) + "': row " + std::to_string(row) + " is not in the list of " +
                  std::to_string(rows) + " rows");
    }
  }
  controls.KeepRowsSelected(action.allRows, action.rows);
  return Press(kOk);
}

// A plain dialog such as the About box: OK or Cancel.
Turn PlayClose(const std::string& dialog, const UserAction& action) {
  if (action.kind != Kind::Close || (action.answer != kOk && action.answer != kCancel)) {
    return DoesNotFit(dialog, action);
  }
  return Press(action.answer);
}

}  // namespace

std::vector<std::string> ScriptedUser::Unused() const {
  std::vector<std::string> descriptions;
  for (const UserAction& action : actions_) descriptions.push_back(Describe(action));
  return descriptions;
}

Turn ScriptedUser::AnswerMessageBox(const std::vector<int>& buttons, const std::string& text) {
  const std::string box = "message box " + Quoted(text);
  const std::optional<UserAction> action = Take(actions_);
  if (!action) return Stop(box + " has no queued answer");
  if (action->kind != Kind::Answer) return Stop("queued action '" + Describe(*action) + "' is no answer to " + box);
  const ButtonSet* set = ButtonSetOf(buttons);
  if (!set || std::find(set->buttons.begin(), set->buttons.end(), action->answer) == set->buttons.end()) {
    return Stop("queued answer '" + Describe(*action) + "' does not fit " + (set ? set->article : "a") + " " +
                desktop::ButtonSetName(buttons) + " box");
  }
  return Press(action->answer);
}

Turn ScriptedUser::PlayDialog(int templateId, const std::string& caption, DialogControls& controls) {
  const std::string dialog = DialogName(templateId, caption);
  const std::optional<UserAction> action = Take(actions_);
  if (!action) return Stop(dialog + " has no queued action");
  switch (templateId) {
    case kSearchDialog: return PlaySearch(dialog, *action, controls);
    case kIdSelectDialog: return PlayIdSelect(dialog, *action, controls);
    default: return PlayClose(dialog, *action);
  }
}

Turn ScriptedUser::ChooseSaveFile(std::string& path) {
  const std::optional<UserAction> action = Take(actions_);
  if (!action) return Stop("the save-file dialog has no queued answer");
  if (action->kind != Kind::SaveFile) {
    return Stop("queued action '" + Describe(*action) + "' does not fit the save-file dialog");
  }
  if (action->cancel) return Press(kCancel);
  path = action->text;
  return Press(kOk);
}

std::string Describe(const UserAction& action) {
  if (!action.description.empty()) return action.description;
  switch (action.kind) {
    case Kind::Answer: return "answer " + std::to_string(action.answer);
    case Kind::Search: return "search " + action.text;
    case Kind::SearchPick: return "search-pick " + std::to_string(action.index);
    case Kind::SearchCancel: return "search-cancel";
    case Kind::IdSelect: return "idselect";
    case Kind::SaveFile: return action.cancel ? "savefile cancel" : "savefile " + action.text;
    case Kind::Close: return "close " + std::to_string(action.answer);
  }
  return "action";
}

ScriptedUser& TheScriptedUser() {
  static ScriptedUser user;
  return user;
}

void SeatScriptedUser() {
  TheScriptedUser().Clear();
  desktop::SetUser(&TheScriptedUser());
}

}  // namespace scripted
