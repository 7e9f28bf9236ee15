// Popup menus: built by the add-in, read by the host.
#include "platform/sim/desktop/state.h"
#include "platform/sim/desktop_internal.h"

namespace simdesk {
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

namespace seam {

Handle CreatePopupMenu() {
  const Handle menu = detail::NewHandle();
  detail::TheDesktop().menus.emplace(menu, detail::Menu{});
  return menu;
}

void MenuAppendItem(Handle menu, int id, const std::string& text) {
  if (detail::Menu* found = FindMenu(menu)) found->rows.push_back({false, id, false, true, text});
}

void MenuAppendSeparator(Handle menu) {
  if (detail::Menu* found = FindMenu(menu)) found->rows.push_back({true, 0, false, true, ""});
}

void MenuCheck(Handle menu, int id, bool checked) {
  if (MenuRow* row = FindEntry(menu, id)) row->checked = checked;
}

void MenuEnable(Handle menu, int id, bool enabled) {
  if (MenuRow* row = FindEntry(menu, id)) row->enabled = enabled;
}

void DestroyMenu(Handle menu) { detail::TheDesktop().menus.erase(menu); }

}  // namespace seam

std::vector<MenuRow> ReadMenu(Handle menu) {
  const detail::Menu* found = FindMenu(menu);
  return found ? found->rows : std::vector<MenuRow>();
}

}  // namespace simdesk
