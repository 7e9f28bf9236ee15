// The combo box: a drop-down list of entries and an edit field.
#include "platform/sim/desktop/state.h"
#include "platform/sim/desktop_internal.h"

namespace simdesk::seam {
namespace {

std::shared_ptr<detail::Window> FindCombo(Handle combo) {
  return detail::FindWindow(combo, detail::WindowKind::ComboBox);
}

}  // namespace

void ComboAddString(Handle combo, const std::string& text) {
  if (const auto window = FindCombo(combo)) window->combo.entries.push_back(text);
}

std::string ComboGetText(Handle combo) {
  const auto window = FindCombo(combo);
  return window ? window->combo.edit : std::string();
}

int ComboGetCurSel(Handle combo) {
  const auto window = FindCombo(combo);
  return window ? window->combo.selected : -1;
}

}  // namespace simdesk::seam
