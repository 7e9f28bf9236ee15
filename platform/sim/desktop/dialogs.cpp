// Dialogs from templates, and the scripted user who answers the modal ones.
#include <cstring>
#include <string>

#include "platform/sim/desktop/state.h"
#include "platform/sim/desktop_internal.h"
#include "res/dialog_templates.h"

namespace simdesk {
namespace {

// Dialog units to pixels with base units 6 x 12; the frame and caption the desktop draws.
int32_t DluX(int x) { return x * 6 / 4; }
int32_t DluY(int y) { return y * 12 / 8; }
constexpr int32_t kFrame = 3;
constexpr int32_t kCaption = 20;
constexpr uint32_t kVisibleStyle = 0x10000000;

detail::WindowKind KindOf(const char* windowClass) {
  struct Entry {
    const char* name;
    detail::WindowKind kind;
  };
  static constexpr Entry kClasses[] = {
      {"BUTTON", detail::WindowKind::Button},
      {"STATIC", detail::WindowKind::Static},
      {"COMBOBOX", detail::WindowKind::ComboBox},
      {"LISTBOX", detail::WindowKind::ListBox},
      {"msctls_progress32", detail::WindowKind::ProgressBar},
  };
  for (const Entry& entry : kClasses) {
    if (std::strcmp(entry.name, windowClass) == 0) return entry.kind;
  }
  return detail::WindowKind::Other;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string DialogName(const detail::Window& dialog) {
  return "dialog " + std::to_string(dialog.dialog.templateId) + " " + Quoted(dialog.text);
}

std::shared_ptr<detail::Window> Control(const detail::Window& dialog, int controlId,
                                        detail::WindowKind kind) {
  return detail::FindWindow(seam::DialogItem(dialog.handle, controlId), kind);
}

[[noreturn]] void DoesNotFit(const detail::Window& dialog, const UserAction& action) {
  detail::Fail("queued action '" + detail::Describe(action) + "' does not fit " + DialogName(dialog));
}

// Search dialog: type a text, or pick a history entry, and press the search button; or cancel.
int PlaySearch(const detail::Window& dialog, const UserAction& action) {
  const auto combo = Control(dialog, res::kComboBoxControl, detail::WindowKind::ComboBox);
  if (!combo) detail::Fail(DialogName(dialog) + " has no combo box");
  switch (action.kind) {
    case UserAction::Kind::Search:
      combo->combo.edit = action.text;
      combo->combo.selected = -1;
      return 1;
    case UserAction::Kind::SearchPick: {
      const auto& entries = combo->combo.entries;
      if (action.index < 0 || static_cast<std::size_t>(action.index) >= entries.size()) {
        detail::Fail("queued action '" + detail::Describe(action) + "': " + DialogName(dialog) + " has " +
                     std::to_string(entries.size()) + " history entries");
      }
      combo->combo.edit = entries[action.index];
      combo->combo.selected = action.index;
      return 1;
    }
    case UserAction::Kind::SearchCancel: return 2;
    default: DoesNotFit(dialog, action);
  }
}

// ID selection dialog: leave exactly the given rows selected and press OK; or cancel.
int PlayIdSelect(const detail::Window& dialog, const UserAction& action) {
  if (action.kind != UserAction::Kind::IdSelect) DoesNotFit(dialog, action);
  if (action.cancel) return 2;
  const auto list = Control(dialog, res::kListBoxControl, detail::WindowKind::ListBox);
  if (!list) detail::Fail(DialogName(dialog) + " has no list box");
  std::vector<bool>& selected = list->list.selected;
  for (const int row : action.rows) {
    if (row < 0 || static_cast<std::size_t>(row) >= selected.size()) {
      detail::Fail("queued action '" + detail::Describe(action) + "': row " + std::to_string(row) +
                   " is not in the list of " + std::to_string(selected.size()) + " rows");
    }
  }
  selected.assign(selected.size(), action.allRows);
  for (const int row : action.rows) selected[row] = true;
  return 1;
}

int PlayClose(const detail::Window& dialog, const UserAction& action) {
  if (action.kind != UserAction::Kind::Close || (action.answer != 1 && action.answer != 2)) {
    DoesNotFit(dialog, action);
  }
  return action.answer;
}

}  // namespace

namespace seam {

Handle CreateDialogFromTemplate(const res::DialogTemplate& dialogTemplate) {
  const Rect rect{0, 0, DluX(dialogTemplate.width) + 2 * kFrame,
                  DluY(dialogTemplate.height) + 2 * kFrame + kCaption};
  const auto dialog = detail::AddWindow(detail::WindowKind::Dialog, nullptr, rect,
                                        {kFrame, kFrame + kCaption, kFrame, kFrame});
  dialog->text = dialogTemplate.caption;
  dialog->visible = (dialogTemplate.style & kVisibleStyle) != 0;
  dialog->dialog.templateId = dialogTemplate.id;
  for (const res::DialogControl& control : dialogTemplate.controls) {
    const Rect controlRect{DluX(control.x), DluY(control.y), DluX(control.x) + DluX(control.width),
                           DluY(control.y) + DluY(control.height)};
    const auto window = detail::AddWindow(KindOf(control.kind), dialog->handle, controlRect, {});
    window->controlId = control.id;
    window->text = control.text;
    window->visible = (control.style & kVisibleStyle) != 0;
  }
  detail::Emit({"Dialog", std::to_string(dialogTemplate.id), dialogTemplate.caption});
  if (dialog->visible) detail::TakeFocusAway();  // shown as it is created
  return dialog->handle;
}

Handle DialogItem(Handle dialog, int controlId) {
  const auto window = detail::FindWindow(dialog, detail::WindowKind::Dialog);
  if (!window || controlId == -1) return nullptr;
  for (const Handle child : window->children) {
    const auto control = detail::FindWindow(child);
    if (control && control->controlId == controlId) return child;
  }
  return nullptr;
}

void EndDialog(Handle dialog, int result) {
  const auto window = detail::FindWindow(dialog, detail::WindowKind::Dialog);
  if (!window) return;
  window->dialog.ended = true;
  window->dialog.result = result;
  window->visible = false;
}

bool DialogEnded(Handle dialog, int& result) {
  const auto window = detail::FindWindow(dialog, detail::WindowKind::Dialog);
  if (!window || !window->dialog.ended) return false;
  result = window->dialog.result;
  return true;
}

int PlayScriptedUser(Handle dialog) {
  const auto window = detail::FindWindow(dialog, detail::WindowKind::Dialog);
  if (!window) detail::Fail("the dialog the user should answer is gone");
  detail::TakeFocusAway();  // the modal loop shows the dialog
  const std::optional<UserAction> action = detail::TakeUserAction();
  if (!action) detail::Fail(DialogName(*window) + " has no queued action");
  switch (window->dialog.templateId) {
    case res::kSubjectSearchTemplate: return PlaySearch(*window, *action);
    case res::kIdSelectTemplate: return PlayIdSelect(*window, *action);
    default: return PlayClose(*window, *action);
  }
}

void FailScript(const std::string& message) { detail::Fail(message); }

}  // namespace seam
}  // namespace simdesk
