// The tree view control: one message for each operation.
#include "platform/tree_view.h"

#include <vector>

#include "platform/win32/text.h"
#include "platform/win32/win32.h"

namespace platform {

using win32::Hitem;
using win32::Hwnd;

// The shared table of Windows codes agrees with the Windows headers.
#define QOR_CHECK_UNSIGNED(name, value) static_assert(k##name == static_cast<unsigned>(name), #name);
#define QOR_CHECK_INT(name, value) static_assert(k##name == static_cast<int>(name), #name);
QOR_WINDOWS_MESSAGES(QOR_CHECK_UNSIGNED)
QOR_WINDOWS_NOTIFICATIONS(QOR_CHECK_INT)
QOR_WINDOWS_TREE_FLAGS(QOR_CHECK_UNSIGNED)
#undef QOR_CHECK_UNSIGNED
#undef QOR_CHECK_INT
static_assert(kI_CHILDRENCALLBACK == I_CHILDRENCALLBACK, "I_CHILDRENCALLBACK");

TreeNotification ReadTreeNotification(intptr_t lparam) {
  const auto* header = reinterpret_cast<const NMHDR*>(lparam);
  if (!header) return {};
  TreeNotification notification;
  notification.event = TreeEventOf(static_cast<int>(header->code));
  if (notification.event != TreeEvent::Other) {  // both carry an NMTREEVIEW record
    const auto* record = reinterpret_cast<const NMTREEVIEWA*>(lparam);
    notification.action = static_cast<ExpandAction>(record->action);
    notification.item = record->itemNew.hItem;
  }
  return notification;
}

WindowHandle TreeView::Create(WindowHandle parent) {
  win32::InitControls();
  constexpr DWORD kStyle = WS_CHILD | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                           TVS_DISABLEDRAGDROP | TVS_SHOWSELALWAYS;  // 0x40800037, not visible
  return CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"", kStyle, 0, 0, 0, 0, Hwnd(parent), nullptr,
                         nullptr, nullptr);
}

void TreeView::SetImageList(ImageListHandle images) {
  SendMessageA(Hwnd(handle_), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
}

TreeItem TreeView::InsertLast(TreeItem parent, const NewTreeItem& item) {
  std::wstring text = win32::ToWide(item.text ? item.text : "");
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent ? Hitem(parent) : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  TVITEMW& data = insert.item;
  data.mask = TVIF_TEXT | TVIF_PARAM;
  data.pszText = text.data();
  data.lParam = item.param;
  if (item.withImages) {
    data.mask |= TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    data.iImage = item.image;
    data.iSelectedImage = item.selectedImage;
  }
  if (item.withChildren) {
    data.mask |= TVIF_CHILDREN;
    data.cChildren = item.children;
  }
  return reinterpret_cast<TreeItem>(
      SendMessageW(Hwnd(handle_), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

bool TreeView::DeleteAllItems() {
  return SendMessageA(Hwnd(handle_), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)) != 0;
}

// A null item deletes every item, as the message does.
bool TreeView::DeleteItem(TreeItem item) {
  const HTREEITEM target = item ? Hitem(item) : TVI_ROOT;
  return SendMessageA(Hwnd(handle_), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(target)) != 0;
}

bool TreeView::Expand(TreeItem item, ExpandAction action) {
  return SendMessageA(Hwnd(handle_), TVM_EXPAND, static_cast<WPARAM>(action), reinterpret_cast<LPARAM>(item)) !=
         0;
}

bool TreeView::SelectItem(TreeItem item) {
  return SendMessageA(Hwnd(handle_), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != 0;
}

void TreeView::SetRedraw(bool redraw) { SendMessageA(Hwnd(handle_), WM_SETREDRAW, redraw ? TRUE : FALSE, 0); }

namespace {

TreeItem NextItem(WindowHandle tree, TreeItem item, UINT relation) {
  return reinterpret_cast<TreeItem>(
      SendMessageA(Hwnd(tree), TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

bool GetItem(WindowHandle tree, TVITEMW& data) {
  return SendMessageW(Hwnd(tree), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data)) != 0;
}

}  // namespace

TreeItem TreeView::GetRoot() const { return NextItem(handle_, nullptr, TVGN_ROOT); }

TreeItem TreeView::GetChild(TreeItem item) const { return NextItem(handle_, item, TVGN_CHILD); }

TreeItem TreeView::GetNextSibling(TreeItem item) const { return NextItem(handle_, item, TVGN_NEXT); }

TreeItem TreeView::GetNextVisible(TreeItem item) const { return NextItem(handle_, item, TVGN_NEXTVISIBLE); }

TreeItem TreeView::GetSelection() const { return NextItem(handle_, nullptr, TVGN_CARET); }

// The control copies at most the buffer it is given: the buffer grows until the text fits.
std::string TreeView::GetItemText(TreeItem item) const {
  std::vector<wchar_t> buffer(512);
  for (;;) {
    TVITEMW data{};
    data.mask = TVIF_TEXT | TVIF_HANDLE;
    data.hItem = Hitem(item);
    data.pszText = buffer.data();
    data.cchTextMax = static_cast<int>(buffer.size());
    buffer[0] = L'\0';
    if (!GetItem(handle_, data)) return {};
    const std::wstring_view text(data.pszText ? data.pszText : L"");
    if (text.size() + 2 < buffer.size() || buffer.size() >= (1u << 20)) return win32::FromWide(text);
    buffer.resize(buffer.size() * 4);
  }
}

int32_t TreeView::GetItemParam(TreeItem item) const {
  TVITEMW data{};
  data.mask = TVIF_PARAM | TVIF_HANDLE;
  data.hItem = Hitem(item);
  return GetItem(handle_, data) ? static_cast<int32_t>(data.lParam) : 0;
}

int TreeView::GetItemChildren(TreeItem item) const {
  TVITEMW data{};
  data.mask = TVIF_CHILDREN | TVIF_HANDLE;
  data.hItem = Hitem(item);
  return GetItem(handle_, data) ? data.cChildren : 0;
}

void TreeView::SetItemChildren(TreeItem item, int children) {
  TVITEMW data{};
  data.mask = TVIF_CHILDREN | TVIF_HANDLE;
  data.hItem = Hitem(item);
  data.cChildren = children;
  SendMessageW(Hwnd(handle_), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&data));
}

}  // namespace platform
