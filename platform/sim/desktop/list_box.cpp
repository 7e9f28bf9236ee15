// The multiple-selection list box.
#include "platform/dialog.h"
#include "platform/sim/desktop/state.h"

namespace platform {
namespace {

std::shared_ptr<desktop::detail::Window> FindList(WindowHandle list) {
  return desktop::detail::FindWindow(list, desktop::detail::WindowKind::ListBox);
}

}  // namespace

void ListBox::AddString(const std::string& text) {
  if (const auto window = FindList(handle_)) {
    window->list.rows.push_back(text);
    window->list.selected.push_back(false);
  }
}

int ListBox::GetCount() const {
  const auto window = FindList(handle_);
  return window ? static_cast<int>(window->list.rows.size()) : 0;
}

void ListBox::SelectAll() {
  if (const auto window = FindList(handle_)) window->list.selected.assign(window->list.rows.size(), true);
}

bool ListBox::IsSelected(int row) const {
  const auto window = FindList(handle_);
  if (!window || row < 0 || static_cast<std::size_t>(row) >= window->list.selected.size()) return false;
  return window->list.selected[row];
}

}  // namespace platform
