// Dialogs from the templates they are handed, and the modal loop, in which the user at the screen
// (the user the host seated) works the controls and presses a button.
#include <cstring>
#include <string>

#include "platform/sim/desktop/state.h"
#include "platform/sim/desktop_internal.h"

namespace desktop {
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

// The user's hands on a dialog's combo box and list box (the add-in's dialogs have at most
// one of each).
class SimulatedControls : public DialogControls {
 public:
  explicit SimulatedControls(const detail::Window& dialog)
      : combo_(Find(dialog, detail::WindowKind::ComboBox)), list_(Find(dialog, detail::WindowKind::ListBox)) {}

  int HistoryEntries() override { return combo_ ? static_cast<int>(combo_->combo.entries.size()) : -1; }
  void TypeSearchText(const std::string& text) override {
    combo_->combo.edit = text;
    combo_->combo.selected = -1;
  }
  void PickHistoryEntry(int index) override {
    combo_->combo.edit = combo_->combo.entries[index];
    combo_->combo.selected = index;
  }
  int ListRows() override { return list_ ? static_cast<int>(list_->list.selected.size()) : -1; }
  void KeepRowsSelected(bool all, const std::vector<int>& rows) override {
    std::vector<bool>& selected = list_->list.selected;
    selected.assign(selected.size(), all);
    for (const int row : rows) selected[row] = true;
  }

 private:
  static std::shared_ptr<detail::Window> Find(const detail::Window& dialog, detail::WindowKind kind) {
    for (const Handle child : dialog.children) {
      if (auto control = detail::FindWindow(child, kind)) return control;
    }
    return nullptr;
  }

  std::shared_ptr<detail::Window> combo_;
  std::shared_ptr<detail::Window> list_;
};

}  // namespace

namespace seam {

Handle CreateDialogFromTemplate(const platform::DialogTemplate& dialogTemplate) {
  const Rect rect{0, 0, DluX(dialogTemplate.width) + 2 * kFrame,
                  DluY(dialogTemplate.height) + 2 * kFrame + kCaption};
  const auto dialog = detail::AddWindow(detail::WindowKind::Dialog, nullptr, rect,
                                        {kFrame, kFrame + kCaption, kFrame, kFrame});
  dialog->text = dialogTemplate.caption;
  dialog->visible = (dialogTemplate.style & kVisibleStyle) != 0;
  dialog->dialog.templateId = dialogTemplate.id;
  for (const platform::DialogControl& control : dialogTemplate.controls) {
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

int HandToUser(Handle dialog) {
  const auto window = detail::FindWindow(dialog, detail::WindowKind::Dialog);
  if (!window) detail::Fail("the dialog the user should answer is gone");
  detail::TakeFocusAway();  // the modal loop shows the dialog
  SimulatedControls controls(*window);
  const Turn turn = detail::TheUser().PlayDialog(window->dialog.templateId, window->text, controls);
  if (!turn.failure.empty()) detail::Fail(turn.failure);
  return turn.button;
}

void FailScript(const std::string& message) { detail::Fail(message); }

}  // namespace seam
}  // namespace desktop
