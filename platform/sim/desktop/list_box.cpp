// The multiple-selection list box.
#include "platform/sim/desktop/state.h"
#include "platform/sim/desktop_internal.h"

namespace simdesk::seam {
namespace {

std::shared_ptr<detail::Window> FindList(Handle list) {
  return detail::FindWindow(list, detail::WindowKind::ListBox);
}

}  // namespace

void ListAddString(Handle list, const std::string& text) {
  if (const auto window = FindList(list)) {
    window->list.rows.push_back(text);
    window->list.selected.push_back(false);
  }
}

int ListGetCount(Handle list) {
  const auto window = FindList(list);
  return window ? static_cast<int>(window->list.rows.size()) : 0;
}

void ListSelectAll(Handle list) {
  if (const auto window = FindList(list)) window->list.selected.assign(window->list.rows.size(), true);
}

bool ListIsSelected(Handle list, int row) {
  const auto window = FindList(list);
  if (!window || row < 0 || static_cast<std::size_t>(row) >= window->list.selected.size()) return false;
  return window->list.selected[row];
}

}  // namespace simdesk::seam
