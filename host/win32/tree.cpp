// The add-in's tree as the host and the scripts see it: read item by item from the real control,
// and clicked with the mouse messages a user's click produces.
#include <functional>

#include "host/win32/windows_api.h"

namespace korvik {
namespace {

HTREEITEM Next(HWND tree, HTREEITEM item, UINT relation) {
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

// The item's fields, the text as the control holds it (UTF-16) in code page 932, whatever the
// system's ANSI code page: what the user sees. The text buffer grows until the text fits.
bool ReadItem(HWND tree, HTREEITEM item, TVITEMW& data, std::string& text) {
  std::vector<wchar_t> buffer(512);
  for (;;) {
    data = TVITEMW{};
    data.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_STATE;
    data.hItem = item;
    data.stateMask = TVIS_EXPANDED | TVIS_SELECTED;
    data.pszText = buffer.data();
    data.cchTextMax = static_cast<int>(buffer.size());
    buffer[0] = L'\0';
    if (!SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data))) return false;
    const std::wstring wide = data.pszText ? data.pszText : L"";
    text = FromWide(wide);
    if (wide.size() + 2 < buffer.size() || buffer.size() >= (1u << 20)) return true;
    buffer.resize(buffer.size() * 4);
  }
}

UINT StateOf(HWND tree, HTREEITEM item) {
  return static_cast<UINT>(SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED));
}

// Whether a user can see the item: every item above it is expanded.
bool IsShown(HWND tree, HTREEITEM item) {
  for (HTREEITEM parent = Next(tree, item, TVGN_PARENT); parent; parent = Next(tree, parent, TVGN_PARENT)) {
    if (!(StateOf(tree, parent) & TVIS_EXPANDED)) return false;
  }
  return true;
}

void DumpChildren(HWND tree, HTREEITEM first, int depth, std::vector<desktop::TreeRow>& rows) {
  for (HTREEITEM item = first; item; item = Next(tree, item, TVGN_NEXT)) {
    TVITEMW data{};
    std::string text;
    if (!ReadItem(tree, item, data, text)) continue;
    const HTREEITEM child = Next(tree, item, TVGN_CHILD);
    desktop::TreeRow row;
    row.depth = depth;
    row.param = static_cast<int32_t>(data.lParam);
    row.image = data.iImage;
    row.selectedImage = data.iSelectedImage;
    row.children = data.cChildren != 0 || child != nullptr;
    row.expanded = (data.state & TVIS_EXPANDED) != 0;
    row.selected = (data.state & TVIS_SELECTED) != 0;
    row.text = std::move(text);
    rows.push_back(std::move(row));
    DumpChildren(tree, child, depth + 1, rows);
  }
}

// A click at a point of the tree's client area: button down and up, as the mouse sends them.
void Click(HWND tree, POINT at) {
  const LPARAM where = MAKELPARAM(at.x, at.y);
  SendMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, where);
  SendMessageA(tree, WM_LBUTTONUP, 0, where);
}

// Scrolls the shown item into view (unless `scroll` is false); false when no part of its row is in
// the client area then.
bool RowInView(HWND tree, HTREEITEM item, bool textOnly, RECT& rect, bool scroll = true) {
  if (scroll) SendMessageA(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
  *reinterpret_cast<HTREEITEM*>(&rect) = item;
  if (!SendMessageA(tree, TVM_GETITEMRECT, textOnly ? TRUE : FALSE, reinterpret_cast<LPARAM>(&rect))) return false;
  RECT client{};
  GetClientRect(tree, &client);
  RECT visible{};
  if (!IntersectRect(&visible, &rect, &client)) return false;
  rect = visible;
  return true;
}

}  // namespace
}  // namespace korvik

namespace desktop {

std::vector<TreeRow> DumpTree(Handle tree) {
  std::vector<TreeRow> rows;
  const HWND window = static_cast<HWND>(tree);
  if (::IsWindow(window)) korvik::DumpChildren(window, korvik::Next(window, nullptr, TVGN_ROOT), 0, rows);
  return rows;
}

Handle TreeItemAt(Handle tree, const std::vector<int>& path) {
  const HWND window = static_cast<HWND>(tree);
  if (!::IsWindow(window) || path.empty()) return nullptr;
  HTREEITEM item = nullptr;
  for (size_t level = 0; level < path.size(); ++level) {
    if (path[level] < 0) return nullptr;
    HTREEITEM child = level == 0 ? korvik::Next(window, nullptr, TVGN_ROOT) : korvik::Next(window, item, TVGN_CHILD);
    for (int i = 0; child && i < path[level]; ++i) child = korvik::Next(window, child, TVGN_NEXT);
    if (!child) return nullptr;
    item = child;
  }
  return item;
}

// The user clicks the item's label, or its icon where the label is too narrow to hit (an empty
// text). An item inside a collapsed one cannot be clicked; it is selected with the tree's own
// message instead, which opens what is around it the same way, and the tree takes the focus as
// after a click.
void ClickItem(Handle tree, Handle item) {
  const HWND window = static_cast<HWND>(tree);
  const auto handle = static_cast<HTREEITEM>(item);
  RECT row{}, label{};
  if (korvik::IsShown(window, handle) && korvik::RowInView(window, handle, false, row) &&
      korvik::RowInView(window, handle, true, label)) {
    const int y = (row.top + row.bottom) / 2;
    std::vector<int> xs = {(label.left + label.right) / 2};
    for (int x = label.left; x >= row.left; --x) xs.push_back(x);
    for (const int x : xs) {
      TVHITTESTINFO hit{};
      hit.pt = {x, y};
      SendMessageA(window, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
      if (hit.hItem == handle && (hit.flags & (TVHT_ONITEMLABEL | TVHT_ONITEMICON))) {
        korvik::Click(window, hit.pt);
        return;
      }
    }
  }
  SendMessageA(window, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(handle));
  SetFocus(window);
}

// The user clicks the item's expand button, found by hit-testing its row left of the label. Where
// an item shows no button the click does nothing but give the tree the focus; an item inside a
// collapsed one is toggled with the tree's own message, and the tree takes the focus.
void ClickExpandButton(Handle tree, Handle item) {
  const HWND window = static_cast<HWND>(tree);
  const auto handle = static_cast<HTREEITEM>(item);
  if (!korvik::IsShown(window, handle)) {
    SendMessageA(window, TVM_EXPAND, TVE_TOGGLE, reinterpret_cast<LPARAM>(handle));
    SetFocus(window);
    return;
  }
  // A user scrolls the item into view, then the tree back to its left edge to reach a button:
  // bringing a long label into view scrolls the control sideways (TVM_ENSUREVISIBLE does), which
  // hides the buttons on the left.
  SendMessageA(window, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(handle));
  SendMessageA(window, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
  RECT row{}, label{};
  if (!korvik::RowInView(window, handle, false, row, false) ||
      !korvik::RowInView(window, handle, true, label, false)) {
    SetFocus(window);
    return;
  }
  const int y = (row.top + row.bottom) / 2;
  for (int x = row.left; x < label.left; ++x) {
    TVHITTESTINFO hit{};
    hit.pt = {x, y};
    SendMessageA(window, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (hit.hItem == handle && (hit.flags & TVHT_ONITEMBUTTON)) {
      korvik::Click(window, hit.pt);
      return;
    }
  }
  SetFocus(window);
}

}  // namespace desktop
