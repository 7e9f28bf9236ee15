// The combo box: a drop-down list of entries and an edit field.
#include "platform/dialog.h"
#include "platform/sim/desktop/state.h"

namespace platform {
namespace {

std::shared_ptr<desktop::detail::Window> FindCombo(WindowHandle combo) {
  return desktop::detail::FindWindow(combo, desktop::detail::WindowKind::ComboBox);
}

}  // namespace

void ComboBox::AddString(const std::string& text) {
  if (const auto window = FindCombo(handle_)) window->combo.entries.push_back(text);
}

std::string ComboBox::GetText() const {
  const auto window = FindCombo(handle_);
  return window ? window->combo.edit : std::string();
}

int ComboBox::GetCurSel() const {
  const auto window = FindCombo(handle_);
  return window ? window->combo.selected : -1;
}

}  // namespace platform
