// Popup menus: built by the add-in, read by the host.
#include "platform/popup_menu.h"
#include "platform/sim/desktop/state.h"

namespace desktop {
namespace {

detail::Menu* FindMenu(Handle menu) {
  auto& menus = detail::TheDesktop().menus;
  const auto found = menus.find(menu);
  return found == menus.end() ? nullptr : &found->second;
}

// The first entry with the id, as the menu functions of Windows find it.
MenuRow* FindEntry(Handle menu, int id) {
  detail::Menu* found = FindMenu(menu);
  if (!found) return nullptr;
  for (MenuRow& row : found->rows) {
    if (!row.separator && row.id == id) return &row;
  }
  return nullptr;
}

}  // namespace

std::vector<MenuRow> ReadMenu(Handle menu) {
  const detail::Menu* found = FindMenu(menu);
  return found ? found->rows : std::vector<MenuRow>();
}

}  // namespace desktop

namespace platform {

MenuHandle PopupMenu::Create() {
  const MenuHandle menu = desktop::detail::NewHandle();
  desktop::detail::TheDesktop().menus.emplace(menu, desktop::detail::Menu{});
  return menu;
}

void PopupMenu::Destroy() { desktop::detail::TheDesktop().menus.erase(handle_); }

void PopupMenu::AppendItem(int id, const char* text) {
  if (desktop::detail::Menu* found = desktop::FindMenu(handle_)) {
    found->rows.push_back({false, id, false, true, text ? text : ""});
  }
}

void PopupMenu::AppendSeparator() {
  if (desktop::detail::Menu* found = desktop::FindMenu(handle_)) found->rows.push_back({true, 0, false, true, ""});
}

void PopupMenu::Check(int id, bool checked) {
  if (desktop::MenuRow* row = desktop::FindEntry(handle_, id)) row->checked = checked;
}

void PopupMenu::Enable(int id, bool enabled) {
  if (desktop::MenuRow* row = desktop::FindEntry(handle_, id)) row->enabled = enabled;
}

}  // namespace platform
